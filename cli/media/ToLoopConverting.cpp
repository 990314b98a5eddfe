// brenvik-cli to-loop --convert: each source that needs converting is converted into the cache
// folder first, and the converted wave is written into its loop as any wave is, so every check
// and message after the conversion is the loop writer's own. A source too long for a loop is
// refused before anything is converted. Without --convert, to-loop runs as in brenvik-cli.
#include <exception>
#include <optional>

#include "AudioImport.h"
#include "Cli.h"
#include "ConvertedCache.h"
#include "LevelReport.h"
#include "MediaCommands.h"
#include "Messages.h"
#include "RoutineError.h"
#include "ToLoopRun.h"
#include "WaveTempo.h"

namespace brenvik::cli::media {

namespace {

// The wave to write for `source`: the source itself when it needs no converting (or when the
// converter cannot read it, so that the wave opener refuses it in its own words), or its copy
// converted into the cache folder. Nothing, after saying why, when it is too long for a loop or
// its conversion fails.
std::optional<std::string> waveFor(const std::string& source, ToLoopRun& run) {
    const AudioImport examined = examineImport(source);
    if (examined.unreadable() || examined.outcome == AudioImport::Outcome::AsItIs) return source;
    ConsoleInteraction& ui = run.ui();
    if (examined.outcome == AudioImport::Outcome::Refused) {
        ui.message(examined.message, MessageButtons::Ok, MessageIcon::Critical);
        return std::nullopt;
    }
    const ConvertedCache cache(run.files());
    std::string target;
    try {
        run.files().createFolders(cache.folder());
        target = cache.targetFor(run.files().absolutePath(source));
    } catch (const std::exception&) {
        ui.message(message::cacheUnusable(cache.folder()), MessageButtons::Ok, MessageIcon::Critical,
                   caughtReason());
        return std::nullopt;
    }
    cache.removeOld(target);
    const AudioImport converted = convertImportTo(examined, target, run.files(), ui.progress());
    if (converted.outcome != AudioImport::Outcome::Converted) {
        ui.message(converted.reason, MessageButtons::Ok, MessageIcon::Critical);
        return std::nullopt;
    }
    reportLevel(converted, ui);
    return target;
}

}  // namespace

int runToLoop(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    ToLoopRun run(args, out, err, errIsTerminal);
    if (const int status = run.checkUsage(); status != kOk) return status;
    run.setTempoFinder(tempo::estimateWaveTempo);
    // One source after the other, as brenvik-cli writes them: the first refusal ends the run.
    for (const std::string& source : args.positionals()) {
        const std::optional<std::string> wave = args.given("--convert") ? waveFor(source, run) : source;
        if (!wave) return kFailed;
        if (const int status = run.write(source, *wave); status != kOk) return status;
    }
    return kOk;
}

}  // namespace brenvik::cli::media
