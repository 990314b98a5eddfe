#pragma once
// What a loop is, apart from where it is: the SHA-256 of its loopinfo.ldf and then of each track
// file present, in track order. A loop moved, copied to another card or restored from a backup
// keeps its hash; a loop whose audio or description changed gets another.
#include <optional>
#include <string>

namespace brenvik::library {

struct ContentHash {
    std::optional<std::string> hex;  // lower-case hexadecimal; nothing when unreadable
    std::string failure;             // why there is no hash
};

// The files are read block by block, so memory stays the same for any length of loop.
ContentHash loopContentHash(const std::string& loopFolder);

}  // namespace brenvik::library
