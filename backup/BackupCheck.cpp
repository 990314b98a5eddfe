#include "BackupCheck.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "BackupNames.h"
#include "ByteSource.h"
#include "HashedCopy.h"
#include "Messages.h"

namespace fs = std::filesystem;

namespace brenvik::backup {

namespace {

// The first symbolic link below the folder, as a path inside it.
std::optional<std::string> firstLink(const fs::path& folder) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_symlink(ec)) return it->path().lexically_relative(folder).string();
    return std::nullopt;
}

std::optional<std::string> readManifestText(const fs::path& path) {
    try {
        FileSource file(path.string());
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

BackupCheck checkBackup(const std::string& folder) {
    BackupCheck check;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        check.refusal = message::backupUnreadable(folder);
        return check;
    }
    if (const auto link = firstLink(folder)) {
        check.refusal = message::backupHoldsLink(*link);
        return check;
    }
    const std::optional<std::string> text = readManifestText(fs::path(folder) / kManifestName);
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
            digest = digestOf((fs::path(folder) / entry.name).string());
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
