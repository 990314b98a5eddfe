#include "Numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "Checked.h"
#include "RoutineError.h"

namespace brenvik {

namespace {

std::string_view trimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> parseRadixInteger(std::string_view digits, int radix) {
    if (digits.empty() || digits.size() > 11) return std::nullopt;
    unsigned long long value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (radix == 16 && std::isxdigit(static_cast<unsigned char>(c)))
            d = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        else
            return std::nullopt;
        if (d >= radix) return std::nullopt;
        value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(d);
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    // &H and &O texts are 16-bit when they fit 16 bits, 32-bit otherwise, as two's complement.
    if (value <= 0xFFFF) return static_cast<double>(static_cast<int16_t>(value));
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// The C-locale value of a plain number text ("-12.5", "3e2"); the process locale (which the
// window program takes from the user's environment) must not turn "2.5" into 2. Parses the
// longest leading number, as a decimal reader does; empty when none is there or it overflows.
std::optional<double> plainValue(std::string_view plain) {
    if (!plain.empty() && plain.front() == '+') plain.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    text = trimBlanks(text);
    if (text.size() >= 2 && text[0] == '&') {
        char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
        if (kind == 'H') return parseRadixInteger(text.substr(2), 16);
        if (kind == 'O') return parseRadixInteger(text.substr(2), 8);
        return std::nullopt;
    }
    std::string plain;  // the text without blanks and thousands commas
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    bool digits = false;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) ||
                               (text[i] == ',' && digits))) {
        if (text[i] != ',') plain += text[i];
        digits = digits || text[i] != ',';
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        plain += text[i++];
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            plain += text[i++];
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < text.size() && std::strchr("eEdD", text[i]) != nullptr) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        bool expDigits = false;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            plain += text[i++];
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    return plainValue(plain);
}

// The nearest integer, exact halves to the even neighbour (the default rounding mode).
int16_t textToInt16(std::string_view text) {
    auto value = parseNumber(text);
    if (!value) throw RoutineError("\"" + std::string(text) + "\" is not a number");
    return checkedCast<int16_t>(std::nearbyint(*value));
}

std::string intToText(long long value) { return std::to_string(value); }

namespace {

// Like printf's %G in the C locale, whatever the process locale: "22.05", never "22,05".
std::string generalForm(double value, int digits) {
    if (value == 0) return "0";  // no "-0"
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, digits);
    std::string text(buffer, result.ptr);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string shortestGeneral(double value) { return generalForm(value, 15); }

std::string oneDecimal(float value) {
    // value * 10 is exact in double for any float, so the halves are found exactly.
    double tenths = std::floor(std::fabs(static_cast<double>(value)) * 10.0 + 0.5);
    if (!std::isfinite(tenths))
        throw RoutineError("the value is too large to be shown with one decimal");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%.0f.%d", (value < 0 && tenths != 0) ? "-" : "",
                  std::floor(tenths / 10.0), static_cast<int>(std::fmod(tenths, 10.0)));
    return buffer;
}

}  // namespace brenvik
