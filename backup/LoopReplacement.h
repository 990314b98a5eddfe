#pragma once
// Replacing a loop folder without losing the loop in it: its files go into the backup store, are
// checked there, and only then is the folder deleted; the new, empty loop folder takes its place.
// The loop writer and the restore both replace loops this way.
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

// Makes `folder` a new, empty loop folder. When `replacing` the one there, that one is backed up
// first (the backup's folder is returned) and then deleted. Throws LoopNotBackedUp when the backup
// fails, RoutineError when the folder cannot be deleted or created.
std::optional<std::string> makeLoopFolder(const std::string& folder, bool replacing,
                                          BackupStore& store, Files& files);

}  // namespace brenvik::backup
