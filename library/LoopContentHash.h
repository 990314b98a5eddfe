#pragma once
// What a loop is, apart from where it is: a 128-bit XXH3 hash of its loopinfo.ldf and then of
// each track file present, in track order. A loop moved, copied to another card or restored from
// a backup keeps its hash; a loop whose audio or description changed gets another. XXH3 hashes
// faster than a card or a disk cache can be read, so naming a card costs no more than reading it.
#include <optional>
#include <string>

namespace brenvik::library {

struct ContentHash {
    std::optional<std::string> hex;  // 32 lower-case hexadecimal digits; nothing when unreadable
    std::string failure;             // why there is no hash
};

// The files are read block by block, so memory stays the same for any length of loop.
ContentHash loopContentHash(const std::string& loopFolder);

// The hash of one file's bytes (a source wave), read the same way.
ContentHash fileContentHash(const std::string& path);

// What the system says of a loop folder's files without reading them: each one's name, size,
// modification time and inode. While it is the same, the folder's content hash is too. Nothing
// when a file cannot be looked at.
std::optional<std::string> loopFingerprint(const std::string& loopFolder);

}  // namespace brenvik::library
