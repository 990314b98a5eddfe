#pragma once
// The names a backup uses: its folders are named after what they hold and the UTC time they were
// made; inside, every file it may put back on a card lies in a loop folder LOOPn (1 to 999, no
// leading zero) under a plain name of its own.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace brenvik::backup {

// A name a file of a loop folder may have in a backup: one name, not "." or "..", no separator
// and no control character (a manifest line holds it, and it cannot lead out of the folder).
bool isPlainFileName(std::string_view name);

// The loop number of an entry "LOOPn/name" with a plain name; nothing for any other text
// (absolute paths, "..", deeper paths, names a manifest line cannot hold), which could write
// outside the card's loop folders.
std::optional<int> restorableEntry(std::string_view entry);

// The time as "20261206T015000Z".
std::string utcStamp(std::time_t time);

}  // namespace brenvik::backup
