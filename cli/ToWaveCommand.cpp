// brenvik-cli to-wave: the Repeater-to-wave window's open and save operations driven by
// arguments. One track gives a mono wave, two give a stereo wave (left, right).
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "Messages.h"
#include "PathsToTarget.h"
#include "RoutineError.h"
#include "TrackOpening.h"
#include "WaveSaving.h"

namespace brenvik::cli {

namespace {

constexpr const char* kToWaveUsage =
    "usage: brenvik-cli to-wave TRACK [RIGHT_TRACK] --output OUT [--overwrite]\n";

// Opens one track as the window's open command does; the opener's own message goes to the error
// stream when it refuses, and a track that cannot be read is named. The reason follows either.
std::optional<OpenedTrack> openTrackFile(const Files& files, ConsoleInteraction& ui, const std::string& path) {
    const TrackOpenResult result = openTrack(path, files);
    if (result.outcome == TrackOpenResult::Outcome::Opened) return result.track;
    const bool failed = result.outcome == TrackOpenResult::Outcome::Failed;
    ui.message(failed ? message::trackUnreadable(path) : result.message, MessageButtons::Ok, result.icon, result.reason);
    return std::nullopt;
}

}  // namespace

int runToWave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal) {
    if (asksForHelp(args)) {
        out << kToWaveUsage;
        return kOk;
    }
    const std::optional<PathsToTarget> parsed = parsePathsToTarget(args, "--output", 1, 2);
    if (!parsed) {
        err << kToWaveUsage;
        return kUsage;
    }
    Files files;
    ConsoleInteraction ui(err, errIsTerminal);

    // The file dialogs return absolute paths; the opener finds loopinfo.ldf beside the track.
    std::vector<std::string> tracks;
    std::string output;
    try {
        for (const std::string& track : parsed->paths) tracks.push_back(files.absolutePath(track));
        output = files.absolutePath(parsed->target);
    } catch (const std::exception&) {
        err << "to-wave: cannot resolve the paths given\n" << reasonLine(caughtReason());
        return kFailed;
    }

    WaveSaveRequest request;
    request.outputPath = output;
    request.mode = tracks.size() == 2 ? ChannelMode::Stereo : ChannelMode::Mono;
    const std::optional<OpenedTrack> left = openTrackFile(files, ui, tracks[0]);
    if (!left) return kFailed;
    request.left = audioOf(*left);
    if (request.mode == ChannelMode::Stereo) {
        const std::optional<OpenedTrack> right = openTrackFile(files, ui, tracks[1]);
        if (!right) return kFailed;
        request.right = audioOf(*right);
    }

    // Without --overwrite an existing output is kept: the question is answered Cancel.
    ui.setQuestionAnswer(parsed->overwrite ? MessageAnswer::Yes : MessageAnswer::Cancel);
    const OverwritePolicy mayReplace = askBeforeReplacing(ui, [](const std::string&) { return message::kFileExists; });
    const WaveSaveResult result = saveWave(request, files, mayReplace, ui.progress());
    switch (result.outcome) {
    case WaveSaveResult::Outcome::Written:
        ui.message(message::kWriteSucceeded);
        out << output << '\n';
        return kOk;
    case WaveSaveResult::Outcome::Kept:
    case WaveSaveResult::Outcome::Cancelled:
        err << output << " was left as it is (--overwrite replaces it)\n";
        return kFailed;
    case WaveSaveResult::Outcome::Failed: break;
    }
    ui.message(message::kSaveFailed, MessageButtons::Ok, MessageIcon::Critical, result.reason);
    return kFailed;
}

}  // namespace brenvik::cli
