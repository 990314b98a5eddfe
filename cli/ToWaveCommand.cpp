// brenvik-cli to-wave: the Repeater-to-wave window's open and save operations driven by
// arguments. One track gives a mono wave, two give a stereo wave (left, right).
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "Messages.h"
#include "RoutineError.h"
#include "TrackOpen.h"
#include "WaveSaving.h"

namespace brenvik::cli {

namespace {

int runToWave(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    Files files;
    ConsoleInteraction ui(err, errIsTerminal);

    // The file dialogs return absolute paths; the opener finds loopinfo.ldf beside the track.
    std::vector<std::string> tracks;
    std::string output;
    try {
        for (const std::string& track : args.positionals())
            tracks.push_back(files.absolutePath(track));
        output = files.absolutePath(*args.text("--output"));
    } catch (const std::exception&) {
        err << message::commandSays("to-wave", message::kPathsUnresolved) << '\n'
            << reasonLine(caughtReason());
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

    // Without --overwrite an existing output is kept: the question is answered Cancel. With it
    // nothing is asked.
    const OverwritePolicy mayReplace =
        args.given("--overwrite")
            ? OverwritePolicy([](const std::string&) { return ReplaceChoice::Replace; })
            : askBeforeReplacing(ui, [](const std::string&) { return message::kFileExists; });
    const WaveSaveResult result = saveWave(request, files, mayReplace, ui.progress());
    switch (result.outcome) {
    case WaveSaveResult::Outcome::Written:
        ui.message(message::kWriteSucceeded);
        out << output << '\n';
        return kOk;
    case WaveSaveResult::Outcome::Kept:
    case WaveSaveResult::Outcome::Cancelled:
        err << message::outputKept(output) << '\n';
        return kFailed;
    case WaveSaveResult::Outcome::Failed:
    case WaveSaveResult::Outcome::NotBackedUp:
    case WaveSaveResult::Outcome::IsInput: break;
    }
    ui.message(failureMessage(result), MessageButtons::Ok, MessageIcon::Critical, result.reason);
    return kFailed;
}

constexpr Positional kPositionals[] = {
    {"TRACK", Count::One, "a track file in its loop folder: the mono wave, or the left channel of a stereo one"},
    {"RIGHT_TRACK", Count::Optional, "a second track file: the right channel of a stereo wave"}};
constexpr Option kOptions[] = {Option::path("--output", "OUT", "the wave file to write").mustBeGiven(),
                               Option::flag("--overwrite", "replaces an existing OUT")};

}  // namespace

constinit const Command kToWaveCommand{
    "to-wave", "Turns a loop's track back into a wave without the buffers: one track a mono wave, two a stereo wave.",
    kPositionals, kOptions, runToWave};

}  // namespace brenvik::cli
