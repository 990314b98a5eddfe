// brenvik-cli list CARD and check PATH...: the loops of a card at a glance, and whether each is
// intact. Both only read, and only the descriptions and track headers, never the audio.
#include <exception>
#include <string>
#include <vector>

#include "Arguments.h"
#include "CardFolder.h"
#include "CardOpening.h"
#include "CardListing.h"
#include "CardNames.h"
#include "CardReport.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LibraryUse.h"
#include "Messages.h"
#include "RoutineError.h"
#include "UserLibrary.h"

namespace brenvik::cli {

namespace {

// The names of the listed loops: those not read since they last changed are read now, with
// progress on the error stream when a person watches it there.
LoopNames namesOf(const Files& files, const card::CardListing& listing, std::ostream& err, bool errIsTerminal) {
    std::vector<library::SeenFolder> folders;
    for (const card::LoopSummary& loop : listing.loops) folders.push_back({loop.folder, loop.fingerprint});
    bool drawn = false;
    const auto progress = [&](int done, int total) {
        if (!errIsTerminal) return;
        err << '\r' << message::readingLoops(done, total) << std::flush;
        drawn = true;
    };
    LoopNames names = library::CardNames(library::userLibrary(files), listing.card).all(folders, progress);
    if (drawn) err << '\n';
    sayLibraryTrouble(files, err);
    return names;
}

int runList(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    const std::string& cardPath = args.positionals()[0];
    Files files;
    if (!files.folderExists(cardPath)) {
        err << message::commandSays("list", message::notAFolder(cardPath)) << '\n';
        return kFailed;
    }
    const bool recovered = !openCard(files, cardPath, err).failed();
    try {
        const card::CardListing listing = card::listCard(cardPath, files);
        const LoopNames names = namesOf(files, listing, err, errIsTerminal);
        if (args.given("--json"))
            listingNode(listing, names).writeJson(out);
        else
            writeListingTable(out, listing, names);
        // Problems and warnings are listed, not failed, unless --strict asks for a clean card.
        if (args.given("--strict"))
            for (const card::LoopSummary& loop : listing.loops)
                if (!loop.intact() || !loop.warnings.empty()) return kFailed;
        return recovered || !args.given("--strict") ? kOk : kFailed;
    } catch (const std::exception&) {
        err << message::commandSays("list", message::cannotBeRead(cardPath)) << '\n'
            << reasonLine(caughtReason());
        return kFailed;
    }
}

int runCheck(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const bool json = args.given("--json");
    const bool strict = args.given("--strict");
    bool allIntact = true, anyWarning = false;
    InfoNode loops = InfoNode::list();
    Files files;
    for (const std::string& path : args.positionals()) {
        if (!files.folderExists(path)) {
            err << message::commandSays("check", message::notAFolder(path)) << '\n';
            allIntact = false;
            continue;
        }
        // A change that could not be finished leaves the card neither as it was nor as it was
        // meant to be: that is a problem of the card until it has run.
        if (openCard(files, path, err).failed()) allIntact = false;
        std::vector<card::LoopFolder> folders;
        try {
            folders = card::loopFoldersOf(files, path);
        } catch (const std::exception&) {
            err << message::commandSays("check", message::cannotBeRead(path)) << '\n'
                << reasonLine(caughtReason());
            allIntact = false;
            continue;
        }
        // A path without loops is no card: nothing in it can be called intact.
        if (folders.empty()) {
            err << message::commandSays("check", message::noLoopsFound(path)) << '\n';
            allIntact = false;
        }
        for (const card::LoopFolder& folder : folders) {
            const card::LoopSummary loop = card::summarizeLoopFolder(files, folder);
            allIntact = allIntact && loop.intact();
            anyWarning = anyWarning || !loop.warnings.empty();
            if (json) {
                loops.push(loopNode(loop));
                continue;
            }
            // The loop as the command line reached it.
            for (const card::LoopProblem& problem : loop.problems) out << problem.line(folder.path) << '\n';
            for (const card::LoopProblem& warning : loop.warnings)
                out << folder.path << ": " << message::warningLine(warning.text()) << '\n';
            if (loop.intact()) out << folder.path << ": ok\n";
        }
    }
    if (json) {
        InfoNode report = InfoNode::object();
        report.set("intact", InfoNode::flag(allIntact)).set("loops", std::move(loops));
        report.writeJson(out);
    }
    return allIntact && !(strict && anyWarning) ? kOk : kFailed;
}

constexpr Positional kListPositionals[] = {{"CARD", Count::One, "the card folder"}};
constexpr Positional kCheckPositionals[] = {{"PATH", Count::Many, "a loop folder, or a card folder for all its loops"}};
constexpr Option kReportOptions[] = {
    Option::flag("--json", "prints the report as JSON"),
    Option::flag("--strict", "fails (exit status 1) on warnings too, and in list on problems")};

}  // namespace

constinit const Command kListCommand{
    "list",
    "Lists every loop of a card: tempo, bars, beats, division, length, channels, track files, bytes, whether it "
    "is intact, with its problems and warnings, and its name; then the free loop numbers and the free space. "
    "Besides the names, kept in the loop library, it reads only descriptions and track headers, and the audio of "
    "loops it has not read since they last changed.",
    kListPositionals, kReportOptions, runList};

constinit const Command kCheckCommand{
    "check",
    "Says for each loop whether it is intact, or names each problem: the loop, the file, the field, what it means "
    "for the music and what to do; then its warnings (a tempo or beat count the loop does not make). A path "
    "without loops fails.",
    kCheckPositionals, kReportOptions, runCheck};

}  // namespace brenvik::cli
