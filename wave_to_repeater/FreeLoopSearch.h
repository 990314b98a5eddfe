#pragma once
// Loop folders by number inside a destination folder, and the lowest number 1..999 still free
// there: the finder of the ".WAV to Repeater" window and the Preferences OK search alike.
#include <optional>
#include <set>
#include <string>

namespace brenvik {

class Files;

// The loop folder of number n: folder + separator + "LOOP" + n, joined as they stand ("/" gives
// "//LOOP1", which the file system reads as "/LOOP1").
std::string loopFolderPath(const std::string& folder, int number);

// Nothing when LOOP1 to LOOP999 all exist (or are `taken`). Only plain decimal names count:
// LOOP001 is not LOOP1.
std::optional<int> firstFreeLoop(const Files& files, const std::string& folder, const std::set<int>& taken = {});

}  // namespace brenvik
