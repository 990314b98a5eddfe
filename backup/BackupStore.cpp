#include "BackupStore.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "BackupNames.h"
#include "BackupWriting.h"
#include "LoopFolderName.h"
#include "Manifest.h"
#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik::backup {

namespace {

// Every folder of the store, oldest first: its name is LOOPn-<time>[-k], and the time sorts as text.
struct Entry {
    fs::path folder;
    std::optional<int> loopNumber;
    std::string made;  // the name behind the loop folder's name
};

std::vector<Entry> entries(const std::string& root) {
    std::vector<Entry> found;
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_directory(ec) || it->is_symlink(ec)) continue;
        const std::string name = it->path().filename().string();
        const size_t dash = name.find('-');
        if (dash == std::string::npos) continue;
        found.push_back({it->path(), loop::loopNumberOf(name.substr(0, dash)), name.substr(dash + 1)});
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) { return a.made < b.made; });
    return found;
}

int64_t sizeOf(const fs::path& folder, Platform& platform) {
    try {
        return platform.folderSize(folder.string());
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

BackupStore::BackupStore(Platform& platform, int64_t limit)
    : BackupStore(platform.userDataFolder() + "/Brenvik/backups", platform, limit) {}

BackupStore::BackupStore(std::string root, Platform& platform, int64_t limit)
    : m_root(std::move(root)), m_platform(platform), m_limit(limit) {}

std::string BackupStore::backUpLoop(const std::string& loopFolder) {
    const fs::path folder = fs::path(loopFolder).lexically_normal();
    const std::string loopName = loop::lastFolderName(folder.string());
    std::vector<BackupFile> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        // The copy must hold all the deletion would take: anything that is not a plain file
        // here stops the backup, and with it the replacement.
        if (it->is_symlink(ec) || !it->is_regular_file(ec) || name.find('\n') != std::string::npos)
            throw RoutineError(it->path().string() + " is not a plain file, so it cannot be backed up");
        files.push_back({it->path().string(), loopName + "/" + name});
    }
    if (ec) throw RoutineError::ofSystem("cannot read the folder", loopFolder, ec);
    std::sort(files.begin(), files.end(), [](const BackupFile& a, const BackupFile& b) { return a.name < b.name; });
    const std::string made = writeBackup(m_root, loopName, files, m_platform);
    removeOldest(made);
    return made;
}

void BackupStore::removeOldest(const std::string& keep) {
    std::vector<Entry> all = entries(m_root);
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const Entry& entry : all) total += sizes.emplace_back(sizeOf(entry.folder, m_platform));
    for (size_t i = 0; i < all.size() && total > m_limit; ++i) {
        // Removing old backups never fails the new one: a folder that cannot go simply stays.
        std::error_code ec;
        if (fs::equivalent(all[i].folder, keep, ec) || ec) continue;
        fs::remove_all(all[i].folder, ec);
        if (!ec) total -= sizes[i];
    }
}

std::vector<StoredBackup> BackupStore::listBackups(std::optional<int> loopNumber) const {
    std::vector<StoredBackup> list;
    for (const Entry& entry : entries(m_root)) {
        std::error_code ec;
        if (!entry.loopNumber || (loopNumber && *entry.loopNumber != *loopNumber) ||
            !fs::is_regular_file(entry.folder / kManifestName, ec))
            continue;
        list.push_back({entry.folder.string(), *entry.loopNumber, entry.made, sizeOf(entry.folder, m_platform)});
    }
    std::reverse(list.begin(), list.end());
    return list;
}

}  // namespace brenvik::backup
