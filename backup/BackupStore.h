#pragma once
// The backup store: before a loop folder is replaced, its files go into a folder of their own,
// LOOPn-<UTC time>, below the user's data folder (Brenvik/backups), with a SHA-256 manifest, and
// are checked there. The store keeps the newest backups within a size limit; the oldest go first.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Files.h"

namespace brenvik::backup {

inline constexpr int64_t kDefaultStoreLimit = int64_t{2} << 30;  // 2 GiB

struct StoredBackup {
    std::string folder;  // restorable with restoreBackup
    int loopNumber = 0;
    std::string made;    // UTC time, "20261206T015000Z"
    int64_t bytes = 0;
};

class BackupStore {
public:
    // The store below the user's data folder.
    explicit BackupStore(Files& files, int64_t limit = kDefaultStoreLimit);
    BackupStore(std::string root, Files& files, int64_t limit = kDefaultStoreLimit);

    const std::string& root() const { return m_root; }

    // Backs up every file of the loop folder and returns the backup's folder; then removes the
    // oldest backups beyond the limit (never the new one). Throws RoutineError when the backup
    // cannot be made (a subfolder or link in the loop folder, a read or write failure, a copy that
    // reads back different); nothing of it stays then.
    std::string backUpLoop(const std::string& loopFolder);

    // The store's backups, newest first; of one loop number only when given.
    std::vector<StoredBackup> listBackups(std::optional<int> loopNumber = std::nullopt) const;

private:
    void removeOldest(const std::string& keep);

    std::string m_root;
    Files& m_files;
    int64_t m_limit;
};

}  // namespace brenvik::backup
