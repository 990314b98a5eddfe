#pragma once
// Whether a file written to a card is on the card as it was written: the system's cache can hold
// what was written while the card itself holds something else (a failing card, a card that lies
// about having stored it), and only a read from the device tells.
#include <string>

namespace brenvik::card {

// Syncs the file, then reads it 1 MiB at a time, each piece once as the system's cache holds it
// and once more from the device after the cache has let it go, and compares the two. Throws
// RoutineError naming the file and the first byte that differs, or why it cannot be read.
void readBackFromDevice(const std::string& path);

}  // namespace brenvik::card
