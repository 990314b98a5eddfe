#pragma once
// The backup store: before a loop folder is replaced, its files go into a folder of their own,
// LOOPn-<UTC time>, below the user's data folder (Brenvik/backups), with a SHA-256 manifest and a
// note of where they came from, and are checked there. The store keeps its backups within a size
// limit, the oldest going first, but never the newest backup of any loop of any card, nor one that
// a running restore reads, nor one whose loop is on no card it can see and in no other backup
// (whatever number the loop had): losing the last copy of a loop is worse than a full store.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BackupOrigin.h"
#include "Files.h"

namespace brenvik::backup {

inline constexpr int64_t kDefaultStoreLimit = int64_t{2} << 30;  // 2 GiB

struct StoredBackup {
    std::string folder;  // restorable with restoreBackup
    int loopNumber = 0;
    std::string made;    // UTC time, "20261206T015000Z"
    int64_t bytes = 0;
    std::optional<BackupOrigin> origin;  // nothing for a backup made before origins were kept
};

// Whether a backup came from the card (as originOf describes it); one made before origins were
// kept is from no known card.
bool isFromCard(const StoredBackup& backup, const BackupOrigin& card);
// The card's own backups first, each part in the order it had.
void putCardFirst(std::vector<StoredBackup>& backups, const BackupOrigin& card);

class BackupStore {
public:
    // The store below the user's data folder.
    explicit BackupStore(Files& files, int64_t limit = kDefaultStoreLimit);
    BackupStore(std::string root, Files& files, int64_t limit = kDefaultStoreLimit);

    const std::string& root() const { return m_root; }
    int64_t limit() const { return m_limit; }

    // Backs up every file of the loop folder and returns the backup's folder. Throws RoutineError
    // when the backup cannot be made (a subfolder or link in the loop folder, a name a manifest
    // cannot hold, a read or write failure, a copy that reads back different); nothing of it
    // stays then. Folders left unfinished by a process that ended part-way are removed first.
    std::string backUpLoop(const std::string& loopFolder);

    // Removes a backup made by the running operation that turned out not to be needed (the loop
    // was not deleted after all).
    void discard(const std::string& folder);

    // Once an operation has finished: removes the oldest backups beyond the limit, passing over
    // the newest backup of each loop of each card, any backup in use, and any whose loop is kept
    // nowhere else (see LoopCopies). Returns by how many bytes
    // the store stays over its limit (0 when within).
    int64_t prune();

    // By how many bytes the store is over its limit now (0 when within).
    int64_t overLimit() const;

    // The store's backups, newest first; of one loop number only when given.
    std::vector<StoredBackup> listBackups(std::optional<int> loopNumber = std::nullopt) const;

private:
    void tidy();

    std::string m_root;
    Files& m_files;
    int64_t m_limit;
};

}  // namespace brenvik::backup
