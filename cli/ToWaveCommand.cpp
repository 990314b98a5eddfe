// brenvik-cli to-wave: the Repeater-to-wave window's open and save operations driven by
// arguments. One track gives a mono wave, two give a stereo wave (left, right).
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsolePlatform.h"
#include "Messages.h"
#include "TrackOpening.h"
#include "WaveSaving.h"

namespace brenvik::cli {

namespace {

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

int runToWave(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    ConsolePlatform platform(err, errIsTerminal);

    // The file dialogs return absolute paths; the opener finds loopinfo.ldf beside the track.
    std::vector<std::string> tracks;
    std::string output;
    try {
        for (const std::string& track : args.positionals()) tracks.push_back(platform.absolutePath(track));
        output = platform.absolutePath(*args.text("--output"));
    } catch (const std::exception&) {
        err << "brenvik-cli to-wave: cannot resolve the paths given\n";
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
    platform.setQuestionAnswer(args.given("--overwrite") ? MessageAnswer::Yes : MessageAnswer::Cancel);
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
