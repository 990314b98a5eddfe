// brenvik-cli move, copy, swap, delete, renumber, undo and redo: the loops of a card arranged, each
// change all or nothing, every loop moved away, replaced or deleted kept in the backup store first.
#include <exception>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ArgumentReader.h"
#include "Arguments.h"
#include "ArrangementRequests.h"
#include "ArrangementUndo.h"
#include "BackupStore.h"
#include "CardOpening.h"
#include "Cli.h"
#include "CommandHelp.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "InfoReport.h"
#include "LibraryUse.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "NumberText.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

// A loop number the command line gives; nothing after telling err why it is none (bad usage).
std::optional<int> loopNumber(const Command& command, const std::string& name, const std::string& text,
                              std::ostream& err) {
    const std::optional<int64_t> number = readNumber(text, 0);
    if (number && loop::isLoopNumber(*number)) return static_cast<int>(*number);
    badUsage(err, command, message::optionSays(name, message::notALoopNumber(quoted(text))));
    return std::nullopt;
}

// Several loop numbers, none twice.
std::optional<std::vector<int>> loopNumbers(const Command& command, const std::string& name,
                                            const std::vector<std::string>& texts, std::ostream& err) {
    std::vector<int> numbers;
    std::set<int> seen;
    for (const std::string& text : texts) {
        const std::optional<int> number = loopNumber(command, name, text, err);
        if (!number) return std::nullopt;
        if (!seen.insert(*number).second) {
            badUsage(err, command, message::optionSays(name, message::givenTwice(text)));
            return std::nullopt;
        }
        numbers.push_back(*number);
    }
    return numbers;
}

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    for (size_t at = 0;;) {
        const size_t comma = text.find(',', at);
        parts.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
        if (comma == std::string::npos) return parts;
        at = comma + 1;
    }
}

const char* actionName(card::ArrangeStep::Action action) {
    using enum card::ArrangeStep::Action;
    switch (action) {
    case BackUp: return "back up";
    case Move: return "move";
    case Copy: return "copy";
    case Restore: return "restore";
    case Delete: return "delete";
    }
    return "";
}

// The plan (or what was done) on standard output, one step a line or as JSON; the message on the
// error stream. Status 0 only when everything was done and nothing is left to tell.
int report(const card::ArrangeResult& result, const Arguments& args, std::ostream& out, std::ostream& err) {
    for (const std::string& line : result.recovered) sayRecovered(line, err);
    if (args.given("--json")) {
        InfoNode steps = InfoNode::list();
        for (const card::ArrangeStep& step : result.plan) {
            InfoNode node = InfoNode::object();
            node.set("action", InfoNode::text(actionName(step.action))).set("from", InfoNode::text(step.from));
            node.set("to", step.to.empty() ? InfoNode() : InfoNode::text(step.to));
            steps.push(std::move(node));
        }
        InfoNode backups = InfoNode::list();
        for (const std::string& folder : result.backups) backups.push(InfoNode::text(folder));
        InfoNode node = InfoNode::object();
        node.set("done", InfoNode::flag(result.done)).set("dryRun", InfoNode::flag(args.given("--dry-run")));
        node.set("steps", std::move(steps)).set("backups", std::move(backups));
        node.set("message", result.message.empty() ? InfoNode() : InfoNode::text(result.message));
        node.set("reason", result.reason.empty() ? InfoNode() : InfoNode::text(result.reason));
        node.writeJson(out);
    } else {
        for (const card::ArrangeStep& step : result.plan) out << step.text() << '\n';
    }
    if (!result.message.empty()) ConsoleInteraction(err).message(result.message, MessageButtons::Ok,
                                                                 MessageIcon::Critical, result.reason);
    return result.done && result.message.empty() ? kOk : kFailed;
}

// A flag the command may lack: not given, then.
bool flagged(const Command& command, const Arguments& args, std::string_view flag) {
    for (const Option& option : command.options)
        if (option.name == flag) return args.given(flag);
    return false;
}

int arrangeAndReport(const Command& command, card::ArrangeRequest request, const Arguments& args, std::ostream& out,
                     std::ostream& err) {
    request.dryRun = args.given("--dry-run");
    request.force = flagged(command, args, "--force");
    request.overwrite = flagged(command, args, "--overwrite");
    request.readBack = !flagged(command, args, "--no-verify");
    Files files;
    backup::BackupStore store(files);
    const int status = report(card::arrange(request, store, files), args, out, err);
    sayLibraryTrouble(files, err);
    return status;
}

int runMove(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const auto& p = args.positionals();
    const std::optional<int> from = loopNumber(kMoveCommand, "N", p[1], err);
    const std::optional<int> to = from ? loopNumber(kMoveCommand, "M", p[2], err) : std::nullopt;
    if (!to) return kUsage;
    const card::ArrangeRequest request =
        card::moveRequest(p[0], *from, *to, args.text("--to").value_or(""), loopNamerOf(Files(), p[0]));
    return arrangeAndReport(kMoveCommand, request, args, out, err);
}

int runCopy(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const auto& p = args.positionals();
    const std::optional<int> from = loopNumber(kCopyCommand, "N", p[1], err);
    if (!from) return kUsage;
    // Without M the copy keeps its number.
    const std::optional<int> to = p.size() > 3 ? loopNumber(kCopyCommand, "M", p[3], err) : from;
    if (!to) return kUsage;
    return arrangeAndReport(kCopyCommand, card::copyRequest(p[0], *from, p[2], *to, loopNamerOf(Files(), p[0])), args, out, err);
}

int runSwap(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const auto& p = args.positionals();
    const std::optional<std::vector<int>> numbers = loopNumbers(kSwapCommand, "N M", {p[1], p[2]}, err);
    if (!numbers) return kUsage;
    return arrangeAndReport(kSwapCommand, card::swapRequest(p[0], (*numbers)[0], (*numbers)[1], loopNamerOf(Files(), p[0])), args, out, err);
}

int runDelete(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const auto& p = args.positionals();
    const std::optional<std::vector<int>> numbers =
        loopNumbers(kDeleteCommand, "N", std::vector<std::string>(p.begin() + 1, p.end()), err);
    if (!numbers) return kUsage;
    return arrangeAndReport(kDeleteCommand, card::deleteRequest(p[0], *numbers, loopNamerOf(Files(), p[0])), args, out, err);
}

int runRenumber(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const std::string& cardPath = args.positionals()[0];
    const std::optional<std::string> order = args.text("--order");
    if (order.has_value() == args.given("--close-gaps"))
        return badUsage(err, kRenumberCommand, message::kOrderOrCloseGaps);
    if (order) {
        const std::optional<std::vector<int>> numbers =
            loopNumbers(kRenumberCommand, "--order", splitAtCommas(*order), err);
        if (!numbers) return kUsage;
        return arrangeAndReport(kRenumberCommand, card::orderRequest(cardPath, *numbers), args, out, err);
    }
    const Files files;
    try {
        return arrangeAndReport(kRenumberCommand, card::closeGapsRequest(cardPath, files), args, out, err);
    } catch (const std::exception&) {
        card::ArrangeResult refused;
        refused.message = message::notArranged(cardPath);
        refused.reason = caughtReason();
        return report(refused, args, out, err);
    }
}

int runUndo(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    Files files;
    backup::BackupStore store(files);
    return report(card::undoArrangement(args.positionals()[0], args.given("--dry-run"), store, files), args, out,
                  err);
}

int runRedo(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    Files files;
    backup::BackupStore store(files);
    return report(card::redoArrangement(args.positionals()[0], args.given("--dry-run"), store, files), args, out,
                  err);
}

constexpr Option kDryRun = Option::flag("--dry-run", "prints the plan and changes nothing");
constexpr Option kJson = Option::flag("--json", "prints the plan or what was done as JSON");
constexpr Option kForce = Option::flag("--force", "takes a loop that check finds broken");
constexpr Option kOverwrite =
    Option::flag("--overwrite", "replaces a loop at the target, backing it up into the backup store first");

constexpr Positional kMovePositionals[] = {{"CARD", Count::One, "the card folder"},
                                           {"N", Count::One, "the loop to move"},
                                           {"M", Count::One, "its new number"}};
constexpr Option kMoveOptions[] = {
    Option::path("--to", "CARD2", "moves the loop onto another card (copied there, then deleted here)"), kDryRun,
    kJson, kForce, kOverwrite, kNoVerify};
constexpr Positional kCopyPositionals[] = {{"SRC_CARD", Count::One, "the card folder of the loop"},
                                           {"N", Count::One, "the loop to copy"},
                                           {"DEST_CARD", Count::One, "the card folder it is copied to (may be SRC_CARD)"},
                                           {"M", Count::Optional, "its number there; default N"}};
constexpr Option kCopyOptions[] = {kDryRun, kJson, kForce, kOverwrite, kNoVerify};
constexpr Positional kSwapPositionals[] = {{"CARD", Count::One, "the card folder"},
                                           {"N", Count::One, "a loop"},
                                           {"M", Count::One, "the loop it trades numbers with"}};
constexpr Option kSwapOptions[] = {kDryRun, kJson, kForce};
constexpr Positional kDeletePositionals[] = {{"CARD", Count::One, "the card folder"},
                                             {"N", Count::Many, "a loop to delete"}};
constexpr Option kDeleteOptions[] = {kDryRun, kJson};
constexpr Positional kCardPositional[] = {{"CARD", Count::One, "the card folder"}};
constexpr Option kRenumberOptions[] = {
    Option::text("--order", "N,N,...", 0,
                 "the loops named take the numbers they hold, lowest first, in the order given"),
    Option::flag("--close-gaps", "every loop, in its order, takes the numbers from 1 on"), kDryRun, kJson, kForce};
constexpr Option kUndoOptions[] = {kDryRun, kJson};

}  // namespace

constinit const Command kMoveCommand{
    "move",
    "Gives loop N of a card the number M (or moves it to M of another card). The loop folder stays byte for byte "
    "what it was; it is backed up into the backup store first.",
    kMovePositionals, kMoveOptions, runMove};

constinit const Command kCopyCommand{
    "copy", "Copies loop N of a card whole as loop M of a card.", kCopyPositionals, kCopyOptions, runCopy};

constinit const Command kSwapCommand{
    "swap", "Loops N and M trade numbers; both are backed up into the backup store first.", kSwapPositionals,
    kSwapOptions, runSwap};

constinit const Command kDeleteCommand{
    "delete", "Deletes loops, each backed up into the backup store first.", kDeletePositionals, kDeleteOptions,
    runDelete};

constinit const Command kRenumberCommand{
    "renumber",
    "Renumbers loops: in the order given (--order 5,2,9 puts loop 5 at 2, loop 2 at 5, loop 9 stays), or all of "
    "them from 1 on without gaps. Every loop renumbered is backed up into the backup store first.",
    kCardPositional, kRenumberOptions, runRenumber};

constinit const Command kUndoCommand{
    "undo",
    "Undoes the last move, swap, delete or renumber of a card (or a restore made in the Card window) from the "
    "backup store, while the loops it changed are still as it left them. Repeated, it undoes the ones before.",
    kCardPositional, kUndoOptions, runUndo};

constinit const Command kRedoCommand{
    "redo",
    "Makes again what undo took back on a card, the latest undone first, while the loops are still as the undo "
    "left them. Another arrangement of the card ends what can be redone.",
    kCardPositional, kUndoOptions, runRedo};

}  // namespace brenvik::cli
