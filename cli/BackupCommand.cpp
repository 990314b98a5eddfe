// brenvik-cli backup: every loop of a card copied into a new folder below DEST, with a SHA-256
// manifest, and the copy checked against it.
#include "CardBackup.h"
#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Files.h"

namespace brenvik::cli {

namespace {

constexpr const char* kBackupUsage =
    "usage: brenvik-cli backup CARD DEST\n"
    "       copies every LOOPn folder's loopinfo.ldf and track files into DEST/<card name>-<UTC time>/\n";

}  // namespace

int runBackup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (asksForHelp(args)) {
        out << kBackupUsage;
        return kOk;
    }
    if (args.size() != 2 || args[0].starts_with("-") || args[1].starts_with("-")) {
        err << kBackupUsage;
        return kUsage;
    }
    Files files;
    ConsoleInteraction ui(err);
    const backup::CardBackupResult result = backup::backUpCard(args[0], args[1], files);
    if (result.folder.empty()) {
        ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
        return kFailed;
    }
    out << result.folder << '\n';
    return kOk;
}

}  // namespace brenvik::cli
