// brenvik-cli list CARD and check PATH...: the loops of a card at a glance, and whether each is
// intact. Both only read, and only the descriptions and track headers, never the audio.
#include <exception>
#include <string>
#include <vector>

#include "Arguments.h"
#include "CardFolder.h"
#include "CardListing.h"
#include "CardReport.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

int runList(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const std::string& cardPath = args.positionals()[0];
    const Files files;
    if (!files.folderExists(cardPath)) {
        err << "brenvik-cli list: " << cardPath << ": not a folder\n";
        return kFailed;
    }
    try {
        const card::CardListing listing = card::listCard(cardPath, files);
        if (args.given("--json"))
            listingNode(listing).writeJson(out);
        else
            writeListingTable(out, listing);
        return kOk;
    } catch (const std::exception&) {
        err << "brenvik-cli list: " << cardPath << ": cannot be read\n" << reasonLine(caughtReason());
        return kFailed;
    }
}

int runCheck(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const bool json = args.given("--json");
    bool allIntact = true;
    InfoNode loops = InfoNode::list();
    const Files files;
    for (const std::string& path : args.positionals()) {
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
            if (json) {
                loops.push(loopNode(loop));
            } else {
                for (const std::string& line : loop.problemLines()) out << line << '\n';
                if (loop.intact()) out << folder << ": ok\n";
            }
        }
    }
    if (json) {
        InfoNode report = InfoNode::object();
        report.set("intact", InfoNode::flag(allIntact)).set("loops", std::move(loops));
        report.writeJson(out);
    }
    return allIntact ? kOk : kFailed;
}

constexpr Positional kListPositionals[] = {{"CARD", Count::One, "the card folder"}};
constexpr Positional kCheckPositionals[] = {{"PATH", Count::Many, "a loop folder, or a card folder for all its loops"}};
constexpr Option kJsonOption[] = {Option::flag("--json", "prints the report as JSON")};

}  // namespace

constinit const Command kListCommand{
    "list",
    "Lists every loop of a card: tempo, bars, beats, division, length, channels, track files, bytes and whether it "
    "is intact; then the free loop numbers and the free space. It reads only descriptions and track headers.",
    kListPositionals, kJsonOption, runList};

constinit const Command kCheckCommand{
    "check", "Says for each loop whether it is intact, or names each problem: the loop, the file and the field.",
    kCheckPositionals, kJsonOption, runCheck};

}  // namespace brenvik::cli
