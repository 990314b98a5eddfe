// brenvik-cli to-loop: a normal wave becomes a Repeater loop through the same operations the
// ".WAV to Repeater" window runs, so every check and message is the window's own.
#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "FreeLoopSearch.h"
#include "LoopWriting.h"
#include "Messages.h"
#include "Numbers.h"
#include "ToLoopOptions.h"
#include "WaveOpening.h"

namespace brenvik::cli {

namespace {

constexpr const char* kToLoopUsage =
    "usage: brenvik-cli to-loop SOURCE... --dest DIR [--loop TEXT] [--beats N] [--beats-per-bar B]\n"
    "       [--track K] [--right-track K] [--pan P] [--pitch S] [--right-pan P] [--right-pitch S]\n"
    "       [--overwrite]\n"
    "       Several SOURCEs go into the next free loop numbers, one by one (not with --loop).\n";

// The settings the options give for this wave, or nothing after telling err why they do not fit
// it (bad usage). Without --beats the loop keeps the window's default position.
std::optional<LoopSettings> settingsFor(const OpenedWave& wave, const ToLoopOptions& options, std::ostream& err) {
    const int highest = wave.maxBeats + 1;
    const int beats = options.beats.value_or(wave.defaultTempoPosition() + 1);
    if (beats < 1 || beats > highest) {
        err << "brenvik-cli to-loop: --beats must lie between 1 and " << highest << " for this wave\n";
        return std::nullopt;
    }
    if (beats % options.beatsPerBar != 0) {
        err << "brenvik-cli to-loop: " << options.beatsPerBar << " beats per bar do not divide " << beats
            << " beats\n";
        return std::nullopt;
    }
    LoopSettings settings;
    settings.beatCount = beats;
    settings.beatsPerBar = static_cast<int16_t>(options.beatsPerBar);
    settings.division = divisionFor(settings.beatsPerBar);
    settings.left = {options.track, options.pan, options.pitch};
    settings.right = {options.rightTrack, options.rightPan, options.rightPitch};
    return settings;
}

// One source into its loop: the exit status of that save. Of several sources, every refusal names
// the one refused below its message.
int convert(const std::string& source, const ToLoopOptions& options, Files& files, ConsoleInteraction& ui,
            std::ostream& out, std::ostream& err) {
    const bool several = options.sources.size() > 1;
    const auto detail = [&](const std::string& reason) {
        if (!several) return reason;
        return reason.empty() ? source : source + ": " + reason;
    };
    std::string loopNumber;
    if (options.loop) {
        loopNumber = *options.loop;
    } else if (const auto free = firstFreeLoop(files, options.dest)) {
        loopNumber = intToText(*free);
    } else {
        err << "brenvik-cli to-loop: no free loop number in " << options.dest << " (LOOP1 to LOOP999 all exist)\n"
            << reasonLine(detail({}));
        return kFailed;
    }

    const WaveOpenResult opened = openWave(source, files);
    if (!opened.accepted()) {
        ui.message(opened.message, MessageButtons::Ok, opened.icon, detail(opened.reason));
        return kFailed;
    }
    const std::optional<LoopSettings> settings = settingsFor(opened.wave, options, err);
    if (!settings) return kUsage;

    LoopWriteRequest request;
    request.sourcePath = opened.wave.path;
    request.destination = options.dest;
    request.loopNumberText = loopNumber;
    request.mode = opened.layout;
    request.settings = *settings;
    request.tempoTable = opened.wave.tempoTable;
    const OverwritePolicy mayReplace = askBeforeReplacing(ui, [](const std::string&) { return message::kLoopExists; });
    const LoopWriteResult result = writeLoop(request, files, mayReplace, ui.progress());
    switch (result.outcome) {
    case LoopWriteResult::Outcome::Written:
        ui.message(message::kWriteSucceeded);
        out << result.loopFolder << '\n';
        return kOk;
    case LoopWriteResult::Outcome::Kept:
    case LoopWriteResult::Outcome::Cancelled: err << reasonLine(several ? source : ""); return kFailed;
    case LoopWriteResult::Outcome::Refused:
    case LoopWriteResult::Outcome::Failed: break;
    }
    ui.message(result.message, MessageButtons::Ok, result.icon, detail(result.reason));
    return kFailed;
}

}  // namespace

int runToLoop(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (asksForHelp(args)) {
        out << kToLoopUsage;
        return kOk;
    }
    const std::optional<ToLoopOptions> options = parseToLoopOptions(args, err);
    if (!options) {
        err << kToLoopUsage;
        return kUsage;
    }
    Files files;
    ConsoleInteraction ui(err, errIsTerminal);
    // Without --overwrite an existing loop is left as it is, as Cancel leaves it.
    ui.setQuestionAnswer(options->overwrite ? MessageAnswer::Yes : MessageAnswer::Cancel);
    // The first refusal ends the run; the loops written before it stay.
    for (const std::string& source : options->sources)
        if (const int status = convert(source, *options, files, ui, out, err); status != kOk) return status;
    return kOk;
}

}  // namespace brenvik::cli
