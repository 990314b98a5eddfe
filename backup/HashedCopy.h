#pragma once
// Copying a file while taking its SHA-256, and taking the SHA-256 of a file, 1 MiB at a time.
#include <string>

namespace brenvik::backup {

// The digest (hexadecimal) of the file's bytes. Throws RoutineError when it cannot be read.
std::string digestOf(const std::string& path);

// Copies `from` into the new file `to`, synced to the device, and returns the digest of the bytes
// copied. Throws RoutineError when either side fails.
std::string copyWithDigest(const std::string& from, const std::string& to);

}  // namespace brenvik::backup
