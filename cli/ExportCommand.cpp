// brenvik-cli export PATH... --to DIR [--overwrite]: every loop of the paths (a loop folder or a
// whole card) written as waves through the Repeater-to-wave save: LOOPn.wav for a stereo pair,
// LOOPn-trackK.wav for any other chosen track.
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CardFolder.h"
#include "Cli.h"
#include "ConsolePlatform.h"
#include "LoopContents.h"
#include "LoopExport.h"
#include "PathsToTarget.h"

namespace brenvik::cli {

namespace {

namespace fs = std::filesystem;

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
    std::error_code ec;
    if (!fs::is_directory(parsed->target, ec)) {
        err << "brenvik-cli export: " << parsed->target << ": not a folder\n";
        return kFailed;
    }
    ConsolePlatform platform(err, errIsTerminal);
    const card::ReplaceQuestion mayReplace = [&parsed](const std::string&) { return parsed->overwrite; };
    bool allWritten = true;
    for (const std::string& path : parsed->paths) {
        std::vector<std::string> loops;
        try {
            if (!fs::is_directory(path, ec)) throw std::runtime_error("not a folder");
            loops = card::loopFoldersOf(path);
        } catch (const std::exception&) {
            err << "brenvik-cli export: " << path << ": not a loop folder or card that can be read\n";
            allWritten = false;
            continue;
        }
        for (const std::string& loop : loops) {
            std::vector<card::ExportOutcome> outcomes;
            try {
                outcomes = card::exportLoop(loop, parsed->target, platform, mayReplace);
            } catch (const std::exception&) {
                err << "brenvik-cli export: " << loop << ": cannot be read\n";
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
                case Result::Failed: err << loop << ": " << outcome.message << '\n'; break;
                }
                allWritten = allWritten && outcome.result == Result::Written;
            }
        }
    }
    return allWritten ? kOk : kFailed;
}

}  // namespace brenvik::cli
