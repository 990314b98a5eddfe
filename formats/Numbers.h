#pragma once
// The number and text conversions the windows and the writer share. The decimal point is
// always ".", whatever locale the process runs in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brenvik {

// The value of a text that is a number as the user may type it: blanks around it, a sign,
// digits with thousands commas, a decimal point, an exponent, or &H / &O integers.
// Anything else is not numeric.
std::optional<double> parseNumber(std::string_view text);
inline bool isNumeric(std::string_view text) { return parseNumber(text).has_value(); }

// Text to a 16-bit signed integer, rounding to the nearest with ties to even. Throws
// RoutineError when the text is not numeric or the result leaves the range.
int16_t textToInt16(std::string_view text);

// Plain decimal: a leading minus sign when negative, no blanks, no leading zeros.
std::string intToText(long long value);

// The shortest general number form: -24, -1.5, 0.05, 22.05, 48; 15 significant digits,
// exponent form only for very large or very small values (1E-05).
std::string shortestGeneral(double value);

// A single-precision value with exactly one decimal, halves away from zero: 127.5, 0.0, 7.3.
std::string oneDecimal(float value);

}  // namespace brenvik
