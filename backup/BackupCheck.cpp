#include "BackupCheck.h"

#include <exception>

#include "BackupNames.h"
#include "ByteSource.h"
#include "Files.h"
#include "HashedCopy.h"
#include "Messages.h"

namespace brenvik::backup {

namespace {

std::optional<std::string> readManifestText(const std::string& path) {
    try {
        FileSource file(path);
        if (file.size() > static_cast<int64_t>(kLargestManifest)) return std::nullopt;
        std::string text(static_cast<size_t>(file.size()), '\0');
        const size_t got = file.readAt(0, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size()));
        text.resize(got);
        return text;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

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
        readManifestText(Files::joinPath(folder, kManifestName));
    std::optional<Manifest> manifest = text ? parseManifest(*text) : std::nullopt;
    if (!manifest) {
        check.refusal = message::backupUnreadable(folder);
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
