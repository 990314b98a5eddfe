#include "BackupCheck.h"

#include <exception>

#include "BackupNames.h"
#include "Files.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"
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

BackupCheck checkStoredLoop(const Files& files, const std::string& folder) {
    BackupCheck check = checkBackup(files, folder);
    if (!check.manifest) return check;
    const std::string name = loop::lastFolderName(folder);
    const std::optional<int> named = loop::loopNumberOf(std::string_view(name).substr(0, name.find('-')));
    for (const ManifestEntry& entry : *check.manifest) {
        if (named && restorableEntry(entry.name) == named) continue;
        check.refusal = named ? message::backupHoldsOtherLoop(folder, entry.name.substr(0, entry.name.find('/')), *named)
                              : message::backupUnreadable(folder);
        check.manifest.reset();
        break;
    }
    return check;
}

}  // namespace brenvik::backup
