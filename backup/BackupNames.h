#pragma once
// The names a backup uses: its folders are named after what they hold and the UTC time they were
// made; inside, every file it may put back on a card is a loop folder LOOPn (1 to 999, no leading
// zero) and one of the files the Repeater keeps there.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace brenvik::backup {

// loopinfo.ldf and track1.wav to track4.wav.
bool isLoopFileName(std::string_view name);

// The loop number of an entry "LOOPn/loopinfo.ldf" or "LOOPn/trackK.wav"; nothing for any other
// text (absolute paths, "..", other separators, other names), which could write outside the
// card's loop folders.
std::optional<int> restorableEntry(std::string_view entry);

// The time as "20261206T015000Z".
std::string utcStamp(std::time_t time);

}  // namespace brenvik::backup
