// brenvik-cli backup: every loop of a card copied into a new folder below DEST, with a SHA-256
// manifest, and the copy checked against it.
#include "Arguments.h"
#include "CardBackup.h"
#include "CardOpening.h"
#include "Cli.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "Messages.h"

namespace brenvik::cli {

namespace {

// One line per loop folder or file the backup left out, each with why.
void writeLeftOut(std::ostream& err, const std::vector<card::LeftOut>& leftOut) {
    for (const card::LeftOut& item : leftOut) err << "  " << item.path << ": " << item.reason << '\n';
}

int runBackup(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    Files files;
    ConsoleInteraction ui(err);
    if (files.folderExists(args.positionals()[0])) openCard(files, args.positionals()[0], err);
    const card::CardBackupResult result = card::backUpCard(args.positionals()[0], args.positionals()[1], files);
    if (result.folder.empty()) {
        ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
        writeLeftOut(err, result.leftOut);
        return kFailed;
    }
    out << result.folder << '\n';
    if (result.leftOut.empty()) return kOk;
    // The backup holds what it could take; what it could not is no less missing for that.
    err << message::cardBackupLeavesOut(result.folder) << '\n';
    writeLeftOut(err, result.leftOut);
    return kFailed;
}

constexpr Positional kPositionals[] = {{"CARD", Count::One, "the card folder"},
                                       {"DEST", Count::One, "the folder the backup is made in"}};

}  // namespace

constinit const Command kBackupCommand{
    "backup",
    "Copies every LOOPn folder's loopinfo.ldf and track files into a new folder in DEST named after the card and "
    "the UTC time, with a SHA-256 manifest, reads the copy back against it and prints the folder. A loop folder or "
    "file it cannot take (a link, a folder that cannot be read, two names of one loop) is named with why, and the "
    "exit status is 1.",
    kPositionals, {}, runBackup};

}  // namespace brenvik::cli
