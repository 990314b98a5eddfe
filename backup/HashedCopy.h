#pragma once
// Copying a file while taking its SHA-256, and taking the SHA-256 of a file, 1 MiB at a time; and
// the small text files of a backup (its manifest, its origin) read whole.
#include <optional>
#include <string>

namespace brenvik {
class FileSource;
}

namespace brenvik::backup {

// The digest (hexadecimal) of the file's bytes; a symbolic link is not followed. Throws
// RoutineError when it cannot be read.
std::string digestOf(const std::string& path);
std::string digestOf(FileSource& source);

// Copies the open `from` into the new file `to` (which must not exist yet), synced to the device,
// and returns the digest of the bytes copied. Throws RoutineError when either side fails.
std::string copyWithDigest(FileSource& from, const std::string& to);

// The text of a regular file of at most `largest` bytes (not through a link); nothing when it is
// larger, missing or anything else.
std::optional<std::string> readSmallText(const std::string& path, size_t largest);

}  // namespace brenvik::backup
