// brenvik-cli recover: finishes or takes back a change of a card that a program left half-done
// (killed, or the card pulled), as every command that opens the card does first.
#include <exception>
#include <optional>

#include "Arguments.h"
#include "CardTransaction.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "FolderLock.h"
#include "Files.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

int runRecover(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    const std::string& cardPath = args.positionals()[0];
    Files files;
    ConsoleInteraction ui(err);
    if (!files.folderExists(cardPath)) {
        ui.message(message::destinationMissing(cardPath), MessageButtons::Ok, MessageIcon::Critical);
        return kFailed;
    }
    std::optional<FolderLock> lock;
    std::string card;
    try {
        card = files.absolutePath(cardPath);
        lock = FolderLock::take(card, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
    } catch (const std::exception&) {
        ui.message(message::interruptedChangeLeft(cardPath, "change"), MessageButtons::Ok, MessageIcon::Critical,
                   caughtReason());
        return kFailed;
    }
    if (!lock) {
        ui.message(message::cardBusy(cardPath), MessageButtons::Ok, MessageIcon::Critical);
        return kFailed;
    }
    const card::Recovery recovery = card::recoverCard(files, card, args.given("--dry-run"));
    if (recovery.failed()) {
        ui.message(recovery.line, MessageButtons::Ok, MessageIcon::Critical, recovery.reason);
        return kFailed;
    }
    out << (recovery.line.empty() ? message::nothingToRecover(card) : recovery.line) << '\n';
    return kOk;
}

constexpr Positional kPositionals[] = {{"CARD", Count::One, "the card folder"}};
constexpr Option kOptions[] = {Option::flag("--dry-run", "says what it would do and changes nothing")};

}  // namespace

constinit const Command kRecoverCommand{
    "recover",
    "Finishes a change of the card that was interrupted (a program killed, the card pulled) when it had been "
    "committed, or takes it back when it had not, and says which; every command that opens the card does this "
    "first.",
    kPositionals, kOptions, runRecover};

}  // namespace brenvik::cli
