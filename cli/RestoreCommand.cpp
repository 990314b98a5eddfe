// brenvik-cli restore: loops from a backup (a whole-card backup or one of the backup store) back
// onto a card, after the backup was checked against its manifest.
#include <signal.h>

#include <cstdlib>
#include <exception>

#include "Arguments.h"
#include "ArrangementUndo.h"
#include "CardOpening.h"
#include "Cli.h"
#include "CommandHelp.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LoopFolderName.h"
#include "Messages.h"
#include "Restore.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

int runRestore(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    backup::RestoreRequest request;
    request.backup = args.positionals()[0];
    request.card = args.positionals()[1];
    request.loops = args.numbers("--loop");
    request.overwrite = args.given("--overwrite");
    request.as = args.number("--as");
    request.readBack = !args.given("--no-verify");
    if (request.as && request.loops.size() != 1)
        return badUsage(err, kRestoreCommand, message::kAsNeedsOneLoop);
#ifdef BRENVIK_TEST_SEAMS
    // Tests stop the program here, every check passed and the card held, to change the backup
    // or to find the card busy.
    if (std::getenv("BRENVIK_TEST_STOP_BEFORE_WRITING")) request.beforeWriting = [] { ::raise(SIGSTOP); };
#endif
    Files files;
    ConsoleInteraction ui(err);
    backup::RestoreResult result;
    try {
        backup::BackupStore store(files);
        result = card::restoreUndoably(request, store, files);
    } catch (const std::exception&) {
        result.message = message::restoreNotStarted(request.card);
        result.reason = caughtReason();
    }
    sayRecovered(result.recovered, err);
    for (const std::string& folder : result.loopFolders) out << folder << '\n';
    if (!result.restored) {
        ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
        return kFailed;
    }
    // The loops are back all the same; only `undo` cannot take them back.
    if (!result.notUndoable.empty())
        ui.message(message::arrangementNotRecorded(request.card), MessageButtons::Ok, MessageIcon::None,
                   result.notUndoable);
    return kOk;
}

constexpr Positional kPositionals[] = {{"BACKUP", Count::One, "a card backup, or a backup from the backup store"},
                                       {"CARD", Count::One, "the card folder the loops go to"}};
constexpr Option kOptions[] = {
    Option::number("--loop", "N", loop::kLowestLoop, loop::kHighestLoop,
                   "restores only loop N; may be given again")
        .mayRepeat(),
    Option::number("--as", "M", loop::kLowestLoop, loop::kHighestLoop,
                   "puts the one loop given with --loop into loop M on the card"),
    Option::flag("--overwrite",
                 "replaces loops the card holds, each backed up into the backup store first"),
    kNoVerify};

}  // namespace

constinit const Command kRestoreCommand{
    "restore",
    "Puts the loops of a backup back onto a card and prints each loop folder restored. Every check comes first "
    "(the backup against its manifest, the loops asked for, the loops the card holds, the free space): a refusal "
    "writes nothing. Every loop is copied into the card's staging folder, verified and read back from the card, and "
    "all of them take their numbers in one change: a failure or a kill leaves the card's loops as they were.",
    kPositionals, kOptions, runRestore};

}  // namespace brenvik::cli
