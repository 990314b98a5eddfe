// brenvik-cli export PATH... --to DIR [--overwrite]: every loop of the paths (a loop folder or a
// whole card) written as waves through the Repeater-to-wave save: LOOPn.wav for a stereo pair,
// LOOPn-trackK.wav for any other chosen track.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "CardFolder.h"
#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LoopContents.h"
#include "LoopExport.h"
#include "PathsToTarget.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

constexpr const char* kExportUsage = "usage: brenvik-cli export PATH... --to DIR [--overwrite]\n";

}  // namespace

int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal) {
    if (asksForHelp(args)) {
        out << kExportUsage;
        return kOk;
    }
    const std::optional<PathsToTarget> parsed = parsePathsToTarget(args, "--to", 1, SIZE_MAX);
    if (!parsed) {
        err << kExportUsage;
        return kUsage;
    }
    Files files;
    if (!files.folderExists(parsed->target)) {
        err << "brenvik-cli export: " << parsed->target << ": not a folder\n";
        return kFailed;
    }
    ConsoleInteraction ui(err, errIsTerminal);
    const OverwritePolicy mayReplace = [&parsed](const std::string&) {
        return parsed->overwrite ? ReplaceChoice::Replace : ReplaceChoice::Keep;
    };
    bool allWritten = true;
    for (const std::string& path : parsed->paths) {
        std::vector<std::string> loops;
        try {
            if (!files.folderExists(path)) throw RoutineError(path + " is not a folder");
            loops = card::loopFoldersOf(files, path);
        } catch (const std::exception&) {
            err << "brenvik-cli export: " << path << ": not a loop folder or card that can be read\n"
                << reasonLine(caughtReason());
            allWritten = false;
            continue;
        }
        for (const std::string& loop : loops) {
            std::vector<card::ExportOutcome> outcomes;
            try {
                outcomes = card::exportLoop(loop, parsed->target, files, mayReplace, ui.progress());
            } catch (const std::exception&) {
                err << "brenvik-cli export: " << loop << ": cannot be read\n" << reasonLine(caughtReason());
            }
            if (outcomes.empty()) {
                err << "brenvik-cli export: " << loop << ": no track to export\n";
                allWritten = false;
            }
            for (const card::ExportOutcome& outcome : outcomes) {
                using Result = card::ExportOutcome::Result;
                switch (outcome.result) {
                case Result::Written: out << outcome.outputPath << '\n'; break;
                case Result::Kept:
                    err << outcome.outputPath << " was left as it is (--overwrite replaces it)\n";
                    break;
                case Result::Refused:
                case Result::Failed: err << loop << ": " << outcome.message << '\n' << reasonLine(outcome.reason); break;
                }
                allWritten = allWritten && outcome.result == Result::Written;
            }
        }
    }
    return allWritten ? kOk : kFailed;
}

}  // namespace brenvik::cli
