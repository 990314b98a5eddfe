#pragma once
// What a loop is, apart from where it is: a 128-bit XXH3 hash of its loopinfo.ldf and then of
// each track file present, in track order. A loop moved, copied to another card or restored from
// a backup keeps its hash; a loop whose audio or description changed gets another. XXH3 hashes
// faster than a card or a disk cache can be read, so naming a card costs no more than reading it.
#include <optional>
#include <string>
#include <vector>

#include "Files.h"

namespace brenvik::library {

struct ContentHash {
    std::optional<std::string> hex;  // 32 lower-case hexadecimal digits; nothing when unreadable
    std::string failure;             // why there is no hash
    // Whether each file read bore its own name ("track1.wav", not "TRACK1.WAV" on a file system
    // that tells case apart), so that loopFingerprint looked at every one of them.
    bool ownNames = true;
};

// The files are read block by block, so memory stays the same for any length of loop.
ContentHash loopContentHash(const std::string& loopFolder);

// The hash of one file's bytes (a source wave), read the same way.
ContentHash fileContentHash(const std::string& path);

// What the system says of a loop folder and its files without reading them: the folder's
// modification time and inode, and each file's size, modification time and inode. While it is the
// same, the folder's content hash is too, provided the files bear their own names (see below).
// Nothing when a file cannot be looked at.
std::optional<std::string> loopFingerprint(const std::string& loopFolder);

// The same fingerprint from what listing the card and the folder said of them (the folder's
// entry in the card, and the folder's entries), without looking again.
std::optional<std::string> loopFingerprintOf(const FolderEntry& folder, const std::vector<FolderEntry>& entries);

// Whether the folder and the files `fingerprint` names are still as it says, looking at those
// alone (a file come since shows in the folder's time).
bool fingerprintHolds(const std::string& loopFolder, const std::string& fingerprint);

}  // namespace brenvik::library
