#pragma once
// Replacing a loop folder without losing the loop in it: its files go into the backup store and
// are checked there before it is replaced; when that fails, nothing is replaced.
#include <optional>
#include <string>

#include "Files.h"
#include "RoutineError.h"

namespace brenvik::backup {

// The loop folder could not be backed up, so it was left as it is.
class LoopNotBackedUp : public RoutineError {
public:
    using RoutineError::RoutineError;
};

// The loop folder the card holds at `folder` (card/LOOPn), in whatever letter case the card names
// it: the path itself when anything is there, else one differing only in case; nothing when none.
std::optional<std::string> existingLoopFolder(const Files& files, const std::string& folder);

}  // namespace brenvik::backup
