#pragma once
// The one way brenvik-cli reads a number from its command line, and writes one back in a message:
// an optional sign, digits, and up to `decimals` digits after a point, held as a whole number of
// 10^-decimals units ("-1.5" with 2 decimals is -150, "0.05" is 5, "7" with none is 7).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brenvik::cli {

// Nothing for any other text (a space, a second point, "5.", a letter). A value too large for any
// range a command takes is kept at a bound beyond them all, so it reads as out of range, not as
// another number.
std::optional<int64_t> readNumber(std::string_view text, int decimals);

// The shortest text readNumber reads back as value: -2400 with 2 decimals is "-24", 5 is "0.05".
std::string numberText(int64_t value, int decimals);

}  // namespace brenvik::cli
