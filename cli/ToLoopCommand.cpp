// brenvik-cli to-loop: a normal wave becomes a Repeater loop through the same window model the
// ".WAV to Repeater" window runs, so every check and message is the window's own.
#include "AppGlobals.h"
#include "Cli.h"
#include "ConsolePlatform.h"
#include "ToLoopOptions.h"
#include "ToLoopParameters.h"
#include "Wav2Rep.h"

namespace brenvik::cli {

int runToLoop(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    const std::optional<ToLoopOptions> options = parseToLoopOptions(args, err);
    if (!options) {
        err << "usage: brenvik-cli to-loop SOURCE --dest DIR [--loop TEXT] [--beats N] [--beats-per-bar B]\n"
               "       [--track K] [--right-track K] [--pan P] [--pitch S] [--right-pan P] [--right-pitch S]\n"
               "       [--overwrite]\n";
        return kUsage;
    }
    ConsolePlatform platform(err, errIsTerminal);
    // Without --overwrite an existing loop is left as it is, as Cancel leaves it.
    platform.setQuestionAnswer(options->overwrite ? MessageAnswer::Yes : MessageAnswer::Cancel);
    AppGlobals globals;
    globals.initLoopDir = options->dest;
    globals.autoIncrement = 1;
    Wav2Rep window(globals, platform);
    window.Form_Load();
    // The finder leaves the number as it was when every loop exists.
    if (!options->loop &&
        platform.folderExists(options->dest + Platform::separator() + "LOOP" + window.loopNumber.text)) {
        err << "brenvik-cli to-loop: no free loop number in " << options->dest << " (LOOP1 to LOOP999 all exist)\n";
        return kFailed;
    }

    platform.queueFileChoice(options->source);
    window.openWave_Click();
    if (window.LoopFile.text.empty()) return kFailed;  // the opener has said why
    if (!applyLoopParameters(window, *options, err)) return kUsage;
    if (options->loop) window.loopNumber.text = *options->loop;

    window.saveLoop_Click();
    if (!window.lastSave.written) return kFailed;
    out << window.lastSave.loopFolder << '\n';
    return kOk;
}

}  // namespace brenvik::cli
