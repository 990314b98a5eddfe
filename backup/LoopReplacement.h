#pragma once
// Replacing a loop folder without losing the loop in it: its files go into the backup store, are
// checked there, and only then is the folder deleted; the new, empty loop folder takes its place.
// The loop writer replaces loops this way. Also how much room a loop takes as the card counts it.
#include <cstdint>
#include <optional>
#include <string>

#include "BackupStore.h"
#include "Files.h"
#include "RoutineError.h"

namespace brenvik::backup {

// The loop folder could not be backed up, so it was left as it is.
class LoopNotBackedUp : public RoutineError {
public:
    using RoutineError::RoutineError;
};

// Makes `folder` a new, empty loop folder. When `replacing` names the one there (it may differ
// from `folder` in letter case only), that one is backed up first (the backup's folder is
// returned) and then deleted. Throws LoopNotBackedUp when the backup fails, RoutineError when the
// folder cannot be deleted or created; a deletion that took nothing discards the backup again.
std::optional<std::string> makeLoopFolder(const std::string& folder,
                                          const std::optional<std::string>& replacing,
                                          BackupStore& store, Files& files);

// The loop folder the card holds at `folder` (card/LOOPn), in whatever letter case the card names
// it: the path itself when anything is there, else one differing only in case; nothing when none.
std::optional<std::string> existingLoopFolder(const Files& files, const std::string& folder);

// The bytes the files of a folder take on the card: each file's size rounded up to whole blocks,
// and a block for the folder itself.
int64_t folderRoomOnCard(const Files& files, const std::string& folder, int64_t block);

}  // namespace brenvik::backup
