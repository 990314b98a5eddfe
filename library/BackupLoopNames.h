#pragma once
// The names of the loops in the backup store. A backup's loop folder (LOOPn inside the backup)
// holds the same files as the loop it was made from, so it has that loop's content hash and with
// it the loop's record; the store is read as one more card, so each backup is hashed only once.
#include <map>
#include <string>
#include <vector>

#include "BackupStore.h"
#include "LoopLibrary.h"

namespace brenvik::library {

// Backup folder -> the name of the loop it holds; backups whose loop has no name (or that cannot
// be read) are left out. A library that cannot be used gives no names.
std::map<std::string, std::string> namesOfBackups(LoopLibrary& library, const std::string& store,
                                                  const std::vector<backup::StoredBackup>& backups);

}  // namespace brenvik::library
