// brenvik-cli backup: every loop of a card copied into a new folder below DEST, with a SHA-256
// manifest, and the copy checked against it.
#include "Arguments.h"
#include "CardBackup.h"
#include "CardOpening.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"

namespace brenvik::cli {

namespace {

int runBackup(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    Files files;
    ConsoleInteraction ui(err);
    if (files.folderExists(args.positionals()[0])) openCard(files, args.positionals()[0], err);
    const backup::CardBackupResult result =
        backup::backUpCard(args.positionals()[0], args.positionals()[1], files);
    if (result.folder.empty()) {
        ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
        return kFailed;
    }
    out << result.folder << '\n';
    return kOk;
}

constexpr Positional kPositionals[] = {{"CARD", Count::One, "the card folder"},
                                       {"DEST", Count::One, "the folder the backup is made in"}};

}  // namespace

constinit const Command kBackupCommand{
    "backup",
    "Copies every LOOPn folder's loopinfo.ldf and track files into a new folder in DEST named after the card and "
    "the UTC time, with a SHA-256 manifest, reads the copy back against it and prints the folder.",
    kPositionals, {}, runBackup};

}  // namespace brenvik::cli
