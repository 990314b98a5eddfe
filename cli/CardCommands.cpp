// brenvik-cli list CARD and check PATH...: the loops of a card at a glance, and whether each is
// intact. Both only read, and only the descriptions and track headers, never the audio.
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "CardFolder.h"
#include "CardListing.h"
#include "CardReport.h"
#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

constexpr const char* kListUsage = "usage: brenvik-cli list CARD [--json]\n";
constexpr const char* kCheckUsage = "usage: brenvik-cli check PATH... [--json]\n";

struct PathsArgs {
    std::vector<std::string> paths;
    bool json = false;
};

std::optional<PathsArgs> parsePathsArgs(const std::vector<std::string>& args) {
    PathsArgs parsed;
    for (const std::string& arg : args) {
        if (arg == "--json" && !parsed.json)
            parsed.json = true;
        else if (arg.empty() || arg.rfind("--", 0) == 0)
            return std::nullopt;
        else
            parsed.paths.push_back(arg);
    }
    if (parsed.paths.empty()) return std::nullopt;
    return parsed;
}

}  // namespace

int runList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (asksForHelp(args)) {
        out << kListUsage;
        return kOk;
    }
    const std::optional<PathsArgs> parsed = parsePathsArgs(args);
    if (!parsed || parsed->paths.size() != 1) {
        err << kListUsage;
        return kUsage;
    }
    const std::string& cardPath = parsed->paths[0];
    const Files files;
    if (!files.folderExists(cardPath)) {
        err << "brenvik-cli list: " << cardPath << ": not a folder\n";
        return kFailed;
    }
    try {
        const card::CardListing listing = card::listCard(cardPath, files);
        if (parsed->json)
            listingNode(listing).writeJson(out);
        else
            writeListingTable(out, listing);
        return kOk;
    } catch (const std::exception&) {
        err << "brenvik-cli list: " << cardPath << ": cannot be read\n" << reasonLine(caughtReason());
        return kFailed;
    }
}

int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (asksForHelp(args)) {
        out << kCheckUsage;
        return kOk;
    }
    const std::optional<PathsArgs> parsed = parsePathsArgs(args);
    if (!parsed) {
        err << kCheckUsage;
        return kUsage;
    }
    bool allIntact = true;
    InfoNode loops = InfoNode::list();
    const Files files;
    for (const std::string& path : parsed->paths) {
        if (!files.folderExists(path)) {
            err << "brenvik-cli check: " << path << ": not a folder\n";
            allIntact = false;
            continue;
        }
        std::vector<std::string> folders;
        try {
            folders = card::loopFoldersOf(files, path);
        } catch (const std::exception&) {
            err << "brenvik-cli check: " << path << ": cannot be read\n" << reasonLine(caughtReason());
            allIntact = false;
            continue;
        }
        for (const std::string& folder : folders) {
            card::LoopSummary loop = card::summarizeLoopFolder(files, folder);
            loop.name = folder;  // the loop as the command line reached it
            allIntact = allIntact && loop.intact();
            if (parsed->json) {
                loops.push(loopNode(loop));
            } else {
                for (const std::string& line : loop.problemLines()) out << line << '\n';
                if (loop.intact()) out << folder << ": ok\n";
            }
        }
    }
    if (parsed->json) {
        InfoNode report = InfoNode::object();
        report.set("intact", InfoNode::flag(allIntact)).set("loops", std::move(loops));
        report.writeJson(out);
    }
    return allIntact ? kOk : kFailed;
}

}  // namespace brenvik::cli
