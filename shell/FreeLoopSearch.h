#pragma once
// The lowest loop number 1..999 whose folder does not exist in a destination folder.
#include <optional>
#include <string>

namespace brenvik {

class Platform;

// The loop folder of number n: folder + separator + "LOOP" + n, joined as they stand ("/" gives
// "//LOOP1", which the file system reads as "/LOOP1").
std::string loopFolderPath(const std::string& folder, int number);

// Nothing when LOOP1 to LOOP999 all exist. Only plain decimal names count: LOOP001 is not LOOP1.
std::optional<int> firstFreeLoop(Platform& platform, const std::string& folder);

}  // namespace brenvik
