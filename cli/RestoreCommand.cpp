// brenvik-cli restore: loops from a backup (a whole-card backup or one of the backup store) back
// onto a card, after the backup was checked against its manifest.
#include <charconv>

#include "Cli.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LoopFolderName.h"
#include "Restore.h"

namespace brenvik::cli {

namespace {

constexpr const char* kRestoreUsage =
    "usage: brenvik-cli restore BACKUP CARD [--loop N]... [--overwrite]\n"
    "       --loop N restores only loop N (may be given again); --overwrite replaces loops the card\n"
    "       holds, each backed up into the backup store first\n";

std::optional<int> loopNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !loop::isLoopNumber(value)) return std::nullopt;
    return value;
}

// The request, or nothing for bad usage.
std::optional<backup::RestoreRequest> parse(const std::vector<std::string>& args) {
    backup::RestoreRequest request;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--overwrite") {
            request.overwrite = true;
        } else if (args[i] == "--loop") {
            const std::optional<int> number = i + 1 < args.size() ? loopNumber(args[++i]) : std::nullopt;
            if (!number) return std::nullopt;
            request.loops.push_back(*number);
        } else if (args[i].starts_with("-")) {
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return std::nullopt;
    request.backup = positional[0];
    request.card = positional[1];
    return request;
}

}  // namespace

int runRestore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (asksForHelp(args)) {
        out << kRestoreUsage;
        return kOk;
    }
    const std::optional<backup::RestoreRequest> request = parse(args);
    if (!request) {
        err << kRestoreUsage;
        return kUsage;
    }
    Files files;
    ConsoleInteraction ui(err);
    backup::BackupStore store(files);
    const backup::RestoreResult result = backup::restoreBackup(*request, store, files);
    for (const std::string& folder : result.loopFolders) out << folder << '\n';
    if (!result.restored) {
        ui.message(result.message, MessageButtons::Ok, MessageIcon::Critical, result.reason);
        return kFailed;
    }
    return kOk;
}

}  // namespace brenvik::cli
