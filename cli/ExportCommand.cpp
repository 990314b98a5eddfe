// brenvik-cli export PATH... --to DIR [--overwrite] [--numbers-only]: every loop of the paths (a
// loop folder or a whole card) written as waves through the Repeater-to-wave save: LOOPn.wav for a
// stereo pair, LOOPn-trackK.wav for any other chosen track, with the loop's name behind the
// number when it has one ("LOOP3 Intro groove.wav").
#include <exception>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "CardNames.h"
#include "CardOpening.h"
#include "CardFolder.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LibraryUse.h"
#include "LoopContents.h"
#include "LoopExport.h"
#include "Messages.h"
#include "RoutineError.h"
#include "UserLibrary.h"

namespace brenvik::cli {

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int runExport(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    const std::string target = *args.text("--to");
    const bool overwrite = args.given("--overwrite");
    const bool force = args.given("--force");
    const bool numbersOnly = args.given("--numbers-only");
    Files files;
    if (!files.folderExists(target)) {
        err << message::commandSays("export", message::notAFolder(target)) << '\n';
        return kFailed;
    }
    ConsoleInteraction ui(err, errIsTerminal);
    const OverwritePolicy mayReplace = [overwrite](const std::string&) {
        return overwrite ? ReplaceChoice::Replace : ReplaceChoice::Keep;
    };
    bool allWritten = true;
    for (const std::string& path : args.positionals()) {
        std::vector<std::string> loops;
        try {
            if (!files.folderExists(path)) throw RoutineError(message::isNotAFolder(path));
            openCard(files, path, err);
            for (const card::LoopFolder& folder : card::loopFoldersOf(files, path)) loops.push_back(folder.path);
        } catch (const std::exception&) {
            err << message::commandSays("export", message::notLoopOrCard(path)) << '\n'
                << reasonLine(caughtReason());
            allWritten = false;
            continue;
        }
        // The loops of one path lie in one folder: a card, or the folder of the one loop given.
        std::map<std::string, library::NamedLoop> named;
        if (!numbersOnly && !loops.empty()) {
            library::CardNames names(library::userLibrary(files), Files::parentOf(loops.front()));
            named = names.all(loops);
            sayLibraryTrouble(files, err);
        }
        for (const std::string& loop : loops) {
            const std::vector<card::ExportOutcome> outcomes = card::exportLoop(
                loop, target, files, mayReplace, ui.progress(),
                [force](const std::string&, const std::string&) { return force; },
                named[loop].name());
            if (outcomes.empty()) {
                err << message::commandSays("export", message::noTrackToExport(loop)) << '\n';
                allWritten = false;
            }
            for (const card::ExportOutcome& outcome : outcomes) {
                using Result = card::ExportOutcome::Result;
                switch (outcome.result) {
                case Result::Written: out << outcome.outputPath << '\n'; break;
                case Result::Kept:
                    err << message::outputKept(outcome.outputPath) << '\n';
                    break;
                case Result::Refused:
                    err << loop << ": " << outcome.message << '\n' << reasonLine(outcome.reason);
                    break;
                case Result::Failed:  // as the Card window says it: the file, and why
                    err << outcome.message << '\n' << reasonLine(outcome.reason);
                    break;
                case Result::Damaged:
                    err << loop << ": " << outcome.message << '\n';
                    for (const std::string& line : linesOf(outcome.reason)) err << reasonLine(line);
                    err << reasonLine(message::kForceExports);
                    break;
                }
                allWritten = allWritten && outcome.result == Result::Written;
            }
        }
    }
    return allWritten ? kOk : kFailed;
}

constexpr Positional kPositionals[] = {{"PATH", Count::Many, "a loop folder, or a card folder for all its loops"}};
constexpr Option kOptions[] = {
    Option::path("--to", "DIR", "the folder the waves are written into; it must exist").mustBeGiven(),
    Option::flag("--overwrite", "replaces waves of the same names"),
    Option::flag("--force", "exports a loop with a damaged track all the same (its missing audio as silence)"),
    Option::flag("--numbers-only", "names the waves by loop number alone, without the loops' names")};

}  // namespace

constinit const Command kExportCommand{
    "export",
    "Writes every loop as waves: two chosen tracks of equal length as one stereo LOOPn.wav (the lower track left), "
    "any other chosen track as its own LOOPn-trackK.wav; a loop with a name has it behind the number (\"LOOP3 Intro "
    "groove.wav\", characters a card cannot hold as \"_\"). A loop with a damaged track is refused (not with --force).",
    kPositionals, kOptions, runExport};

}  // namespace brenvik::cli
