#include "BackupCheck.h"

#include <exception>

#include "BackupNames.h"
#include "Files.h"
#include "HashedCopy.h"
#include "Messages.h"

namespace brenvik::backup {

BackupCheck checkBackup(const Files& files, const std::string& folder) {
    BackupCheck check;
    if (!files.folderExists(folder)) {
        check.refusal = message::backupUnreadable(folder);
        return check;
    }
    if (const auto link = files.firstLinkBelow(folder)) {
        check.refusal = message::backupHoldsLink(*link);
        return check;
    }
    const std::optional<std::string> text =
        readSmallText(Files::joinPath(folder, kManifestName), kLargestManifest);
    std::optional<Manifest> manifest = text ? parseManifest(*text) : std::nullopt;
    if (!manifest) {
        check.refusal = message::backupUnreadable(folder);
        return check;
    }
    if (manifest->empty()) {
        check.refusal = message::backupEmpty(folder);
        return check;
    }
    for (const ManifestEntry& entry : *manifest) {
        if (!restorableEntry(entry.name)) {
            check.refusal = message::backupEntryRefused(entry.name);
            return check;
        }
    }
    for (const ManifestEntry& entry : *manifest) {
        std::string digest;
        try {
            digest = digestOf(Files::joinPath(folder, entry.name));
        } catch (const std::exception&) {
            // A missing or unreadable file does not match either.
        }
        if (digest != entry.digest) {
            check.refusal = message::backupFileChanged(entry.name);
            return check;
        }
    }
    check.manifest = std::move(manifest);
    return check;
}

}  // namespace brenvik::backup
