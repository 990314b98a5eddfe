#pragma once
// The loop folder a number names inside a destination folder, as the loop writer makes it. Which
// numbers are free there is the card's to say (card::lowestFreeLoop).
#include <string>

namespace brenvik {

// The loop folder of number n: folder + separator + "LOOP" + n, joined as they stand ("/" gives
// "//LOOP1", which the file system reads as "/LOOP1").
std::string loopFolderPath(const std::string& folder, int number);

}  // namespace brenvik
