#include "BackupStore.h"

#include <algorithm>
#include <exception>

#include "BackupNames.h"
#include "BackupWriting.h"
#include "LoopFolderName.h"
#include "Manifest.h"
#include "RoutineError.h"

namespace brenvik::backup {

namespace {

// Every folder of the store, oldest first: its name is LOOPn-<time>[-k], and the time sorts as text.
struct Entry {
    std::string folder;
    std::optional<int> loopNumber;
    std::string made;  // the name behind the loop folder's name
};

std::vector<Entry> entries(const Files& files, const std::string& root) {
    std::vector<Entry> found;
    std::vector<FolderEntry> listed;
    try {
        listed = files.listFolder(root);
    } catch (const std::exception&) {
        return found;  // no store yet
    }
    for (const FolderEntry& entry : listed) {
        if (entry.kind != FolderEntry::Kind::Folder || entry.isLink) continue;
        const size_t dash = entry.name.find('-');
        if (dash == std::string::npos) continue;
        found.push_back({entry.path, loop::loopNumberOf(entry.name.substr(0, dash)),
                         entry.name.substr(dash + 1)});
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) { return a.made < b.made; });
    return found;
}

int64_t sizeOf(const std::string& folder, const Files& files) {
    try {
        return files.folderSize(folder);
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

BackupStore::BackupStore(Files& files, int64_t limit)
    : BackupStore(files.userDataFolder() + "/Brenvik/backups", files, limit) {}

BackupStore::BackupStore(std::string root, Files& files, int64_t limit)
    : m_root(std::move(root)), m_files(files), m_limit(limit) {}

std::string BackupStore::backUpLoop(const std::string& loopFolder) {
    const std::string loopName = loop::lastFolderName(loopFolder);
    std::vector<BackupFile> copies;
    for (const FolderEntry& entry : m_files.listFolder(loopFolder)) {
        // The copy must hold all the deletion would take: anything that is not a plain file
        // here stops the backup, and with it the replacement.
        if (entry.isLink || entry.kind != FolderEntry::Kind::File ||
            entry.name.find('\n') != std::string::npos)
            throw RoutineError(entry.path + " is not a plain file, so it cannot be backed up");
        copies.push_back({entry.path, loopName + "/" + entry.name});
    }
    const std::string made = writeBackup(m_root, loopName, copies, m_files);
    removeOldest(made);
    return made;
}

void BackupStore::removeOldest(const std::string& keep) {
    std::vector<Entry> all = entries(m_files, m_root);
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const Entry& entry : all) total += sizes.emplace_back(sizeOf(entry.folder, m_files));
    for (size_t i = 0; i < all.size() && total > m_limit; ++i) {
        if (m_files.sameEntry(all[i].folder, keep)) continue;
        // Removing old backups never fails the new one: a folder that cannot go simply stays.
        try {
            m_files.deleteFolder(all[i].folder);
            total -= sizes[i];
        } catch (const std::exception&) {
        }
    }
}

std::vector<StoredBackup> BackupStore::listBackups(std::optional<int> loopNumber) const {
    std::vector<StoredBackup> list;
    for (const Entry& entry : entries(m_files, m_root)) {
        if (!entry.loopNumber || (loopNumber && *entry.loopNumber != *loopNumber) ||
            !m_files.fileExists(Files::joinPath(entry.folder, kManifestName)))
            continue;
        list.push_back(
            {entry.folder, *entry.loopNumber, entry.made, sizeOf(entry.folder, m_files)});
    }
    std::reverse(list.begin(), list.end());
    return list;
}

}  // namespace brenvik::backup
