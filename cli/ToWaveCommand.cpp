// brenvik-cli to-wave: the Repeater-to-wave window's open and save commands driven by
// arguments. One track gives a mono wave, two give a stereo wave (left, right).
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "Cli.h"
#include "ConsolePlatform.h"
#include "Rep2Wav.h"
#include "Rep2WavMessages.h"

namespace brenvik::cli {

namespace {

constexpr const char* kToWaveUsage =
    "usage: brenvik-cli to-wave TRACK [RIGHT_TRACK] --output OUT [--overwrite]\n";

struct ToWaveArgs {
    std::vector<std::string> tracks;
    std::string output;
    bool overwrite = false;
};

std::optional<ToWaveArgs> parseToWaveArgs(const std::vector<std::string>& args) {
    ToWaveArgs parsed;
    bool haveOutput = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--overwrite") {
            parsed.overwrite = true;
        } else if (arg == "--output") {
            if (haveOutput || i + 1 >= args.size() || args[i + 1].empty()) return std::nullopt;
            parsed.output = args[++i];
            haveOutput = true;
        } else if (arg.rfind("--", 0) == 0 || arg.empty()) {
            return std::nullopt;
        } else {
            parsed.tracks.push_back(arg);
        }
    }
    if (!haveOutput || parsed.tracks.empty() || parsed.tracks.size() > 2) return std::nullopt;
    return parsed;
}

// Opens one track into a channel as the window's open command does; the opener's own messages
// are already on the error stream when it refuses. True when the channel holds the track.
bool openTrack(Rep2Wav& window, ConsolePlatform& platform, Channel channel,
               const std::string& path, std::ostream& err) {
    platform.setChannel(channel);
    platform.queueFileChoice(path);
    const size_t messagesBefore = platform.messagesShown().size();
    window.Toolbar1_ButtonClick(Rep2Wav::kOpenButton);
    const ChannelSlot& slot = channel == Channel::Left ? window.left : window.right;
    if (slot.loaded() && slot.File.text == path) return true;
    // The open command ends silently when a file cannot be read or a size does not fit.
    if (platform.messagesShown().size() == messagesBefore)
        err << path << ": cannot be read as a Repeater track\n";
    return false;
}

}  // namespace

int runToWave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal) {
    std::optional<ToWaveArgs> parsed = parseToWaveArgs(args);
    if (!parsed) {
        err << kToWaveUsage;
        return kUsage;
    }
    ConsolePlatform platform(err, errIsTerminal);
    AppGlobals globals;
    Rep2Wav window(globals, platform);

    // The file dialogs return absolute paths; the opener finds loopinfo.ldf beside the track.
    std::vector<std::string> tracks;
    std::string output;
    try {
        for (const std::string& track : parsed->tracks) tracks.push_back(platform.absolutePath(track));
        output = platform.absolutePath(parsed->output);
    } catch (const std::exception&) {
        err << "to-wave: cannot resolve the paths given\n";
        return kFailed;
    }

    const bool stereo = tracks.size() == 2;
    if (stereo) window.Toolbar1_ButtonClick(Rep2Wav::kStereoButton);
    if (!openTrack(window, platform, Channel::Left, tracks[0], err)) return kFailed;
    if (stereo && !openTrack(window, platform, Channel::Right, tracks[1], err)) return kFailed;

    // Without --overwrite an existing output is kept: the question is answered Cancel.
    platform.setQuestionAnswer(parsed->overwrite ? MessageAnswer::Yes : MessageAnswer::Cancel);
    platform.queueFileChoice(output);
    window.Toolbar1_ButtonClick(Rep2Wav::kSaveButton);
    if (!platform.saw(r2w::kWriteSucceeded)) {
        if (platform.saw(r2w::kOverwriteQuestion) && !parsed->overwrite)
            err << output << " was left as it is (--overwrite replaces it)\n";
        return kFailed;
    }
    out << output << '\n';
    return kOk;
}

}  // namespace brenvik::cli
