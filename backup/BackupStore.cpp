#include "BackupStore.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <set>
#include <utility>

#include "BackupNames.h"
#include "BackupWriting.h"
#include "FolderLock.h"
#include "LoopCopies.h"
#include "LoopFolderName.h"
#include "Manifest.h"
#include "RoutineError.h"

namespace brenvik::backup {

namespace {

// Other programs hold the store only to name a new folder, tidy it or prune it.
constexpr std::chrono::milliseconds kStoreWait{30000};

// Every folder of the store, oldest first: its name is LOOPn-<time>[-k], and the time sorts as text.
struct Entry {
    std::string folder;
    int loopNumber = 0;
    std::string made;  // the name behind the loop folder's name
    bool finished = false;  // its manifest is in place
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
        const std::optional<int> number =
            loop::loopNumberOf(std::string_view(entry.name).substr(0, dash));
        if (dash == std::string::npos || !number) continue;
        found.push_back({entry.path, *number, entry.name.substr(dash + 1),
                         files.fileExists(Files::joinPath(entry.path, kManifestName))});
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

// Removes a store folder unless someone holds it (a restore reading it, a backup being made).
bool removeUnlessHeld(const std::string& folder, Files& files) {
    try {
        const std::optional<FolderLock> held =
            FolderLock::take(folder, FolderLock::Mode::Exclusive, {});
        if (!held) return false;
        files.deleteFolder(folder);
        return true;
    } catch (const std::exception&) {
        return false;  // what cannot go simply stays
    }
}

// Which card a backup is of, for keeping the newest of each loop of each card.
std::pair<std::string, int> loopOfCard(const Entry& entry) {
    const std::optional<BackupOrigin> origin = readOrigin(entry.folder);
    std::string card;
    if (origin) card = origin->uuid.empty() ? "path " + origin->card : "uuid " + origin->uuid;
    return {card, entry.loopNumber};
}

}  // namespace

bool isFromCard(const StoredBackup& backup, const BackupOrigin& card) {
    return backup.origin && backup.origin->sameCard(card);
}

void putCardFirst(std::vector<StoredBackup>& backups, const BackupOrigin& card) {
    std::stable_partition(backups.begin(), backups.end(),
                          [&card](const StoredBackup& backup) { return isFromCard(backup, card); });
}

BackupStore::BackupStore(Files& files, int64_t limit)
    : BackupStore(files.userDataFolder() + "/Brenvik/backups", files, limit) {}

BackupStore::BackupStore(std::string root, Files& files, int64_t limit)
    : m_root(std::move(root)), m_files(files), m_limit(limit) {}

std::string BackupStore::backUpLoop(const std::string& loopFolder) {
    const std::string loopName = loop::lastFolderName(loopFolder);
    const std::optional<int> number = loop::loopNumberOf(loopName);
    const std::string canonical = number ? loop::loopFolderName(*number) : loopName;
    std::vector<BackupFile> copies;
    for (const FolderEntry& entry : m_files.listFolder(loopFolder)) {
        // The copy must hold all the deletion would take: anything that is not a plain file
        // here stops the backup, and with it the replacement.
        if (entry.isLink || entry.kind != FolderEntry::Kind::File || !isPlainFileName(entry.name))
            throw RoutineError(entry.path + " is not a plain file, so it cannot be backed up");
        copies.push_back({entry.path, canonical + "/" + entry.name});
    }
    std::optional<NewBackup> made;
    {
        m_files.createFolders(m_root);
        const std::optional<FolderLock> store =
            FolderLock::take(m_root, FolderLock::Mode::Exclusive, kStoreWait);
        if (!store) throw RoutineError("the backup store " + m_root + " stayed busy");
        tidy();
        made.emplace(m_root, canonical, m_files);
    }
    made->finish(copies, originOf(Files::parentOf(loopFolder), number, made->made()));
    return made->folder();
}

void BackupStore::discard(const std::string& folder) {
    try {
        m_files.deleteFolder(folder);
    } catch (const std::exception&) {
        // an extra backup is no loss
    }
}

void BackupStore::tidy() {
    for (const Entry& entry : entries(m_files, m_root))
        if (!entry.finished) removeUnlessHeld(entry.folder, m_files);
}

int64_t BackupStore::prune() {
    std::optional<FolderLock> store;
    try {
        store = FolderLock::take(m_root, FolderLock::Mode::Exclusive, kStoreWait);
    } catch (const std::exception&) {
    }
    if (!store) return overLimit();  // pruned at the next use
    tidy();
    const std::vector<Entry> all = entries(m_files, m_root);
    // Newest first, the first of each loop of each card is the one kept whatever the limit.
    std::set<std::pair<std::string, int>> seen;
    std::vector<bool> newest(all.size());
    for (size_t i = all.size(); i-- > 0;) newest[i] = seen.insert(loopOfCard(all[i])).second;
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const Entry& entry : all) total += sizes.emplace_back(sizeOf(entry.folder, m_files));
    // A backup goes only while its loop stays elsewhere: on its card, or in a backup that stays.
    LoopCopies copies(m_files);
    std::vector<std::string> staying;
    for (const Entry& entry : all) staying.push_back(entry.folder);
    for (size_t i = 0; i < all.size() && total > m_limit; ++i) {
        if (newest[i] || !copies.heldElsewhere(all[i].folder, staying) || !removeUnlessHeld(all[i].folder, m_files))
            continue;
        total -= sizes[i];
        staying.erase(std::find(staying.begin(), staying.end(), all[i].folder));
    }
    return std::max<int64_t>(0, total - m_limit);
}

int64_t BackupStore::overLimit() const {
    int64_t total = 0;
    for (const Entry& entry : entries(m_files, m_root))
        if (entry.finished) total += sizeOf(entry.folder, m_files);
    return std::max<int64_t>(0, total - m_limit);
}

std::vector<StoredBackup> BackupStore::listBackups(std::optional<int> loopNumber) const {
    std::vector<StoredBackup> list;
    for (const Entry& entry : entries(m_files, m_root)) {
        if (!entry.finished || (loopNumber && entry.loopNumber != *loopNumber)) continue;
        list.push_back({entry.folder, entry.loopNumber, entry.made, sizeOf(entry.folder, m_files),
                        readOrigin(entry.folder)});
    }
    std::reverse(list.begin(), list.end());
    return list;
}

}  // namespace brenvik::backup
