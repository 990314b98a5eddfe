// brenvik-cli to-wave: the Repeater-to-wave window's open and save operations driven by
// arguments. One track gives a mono wave, two give a stereo wave (left, right).
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "Cli.h"
#include "ConsolePlatform.h"
#include "Messages.h"
#include "PathsToTarget.h"
#include "TrackOpening.h"
#include "WaveSaving.h"

namespace brenvik::cli {

namespace {

constexpr const char* kToWaveUsage =
    "usage: brenvik-cli to-wave TRACK [RIGHT_TRACK] --output OUT [--overwrite]\n";

// Opens one track as the window's open command does; the opener's own message goes to the error
// stream when it refuses, and a track that cannot be read is named.
std::optional<OpenedTrack> openTrackFile(ConsolePlatform& platform, const std::string& path, std::ostream& err) {
    const TrackOpenResult result = openTrack(path, platform);
    if (result.outcome == TrackOpenResult::Outcome::Opened) return result.track;
    if (result.outcome == TrackOpenResult::Outcome::Failed)
        err << path << ": cannot be read as a Repeater track\n";
    else
        platform.message(result.message, MessageButtons::Ok, result.icon);
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
    ConsolePlatform platform(err, errIsTerminal);

    // The file dialogs return absolute paths; the opener finds loopinfo.ldf beside the track.
    std::vector<std::string> tracks;
    std::string output;
    try {
        for (const std::string& track : parsed->paths) tracks.push_back(platform.absolutePath(track));
        output = platform.absolutePath(parsed->target);
    } catch (const std::exception&) {
        err << "to-wave: cannot resolve the paths given\n";
        return kFailed;
    }

    WaveSaveRequest request;
    request.outputPath = output;
    request.mode = tracks.size() == 2 ? ChannelMode::Stereo : ChannelMode::Mono;
    const std::optional<OpenedTrack> left = openTrackFile(platform, tracks[0], err);
    if (!left) return kFailed;
    request.left = audioOf(*left);
    if (request.mode == ChannelMode::Stereo) {
        const std::optional<OpenedTrack> right = openTrackFile(platform, tracks[1], err);
        if (!right) return kFailed;
        request.right = audioOf(*right);
    }

    // Without --overwrite an existing output is kept: the question is answered Cancel.
    platform.setQuestionAnswer(parsed->overwrite ? MessageAnswer::Yes : MessageAnswer::Cancel);
    const WaveSaveResult result =
        saveWave(request, platform, [&platform](float done, float total) { platform.showProgress(done, total); });
    switch (result.outcome) {
    case WaveSaveResult::Outcome::Written:
        platform.message(message::kWriteSucceeded, MessageButtons::Ok, MessageIcon::None);
        out << output << '\n';
        return kOk;
    case WaveSaveResult::Outcome::Cancelled:
        err << output << " was left as it is (--overwrite replaces it)\n";
        return kFailed;
    case WaveSaveResult::Outcome::Failed: break;
    }
    platform.message(message::kSaveFailed, MessageButtons::Ok, MessageIcon::Critical);
    return kFailed;
}

}  // namespace brenvik::cli
