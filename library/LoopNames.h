#pragma once
// The names a musician gives loops: at most 200 characters of UTF-8 text without control
// characters, so that every list, window and exported file name can show them.
#include <optional>
#include <string>
#include <string_view>

namespace brenvik::library {

inline constexpr size_t kLongestName = 200;  // characters (code points), not bytes

// Why the name cannot be given to a loop; nothing when it can.
std::optional<std::string> nameRefusal(std::string_view name);

// The name a loop written from `sourcePath` starts with: the file name without its extension
// ("/waves/Intro groove.wav" gives "Intro groove"), made one that nameRefusal accepts (bytes that
// are not UTF-8 become U+FFFD, control characters spaces, and the name is cut at 200 characters).
std::string nameFromSource(const std::string& sourcePath);

}  // namespace brenvik::library
