#include "LoopNames.h"

#include <filesystem>

#include "Messages.h"

namespace brenvik::library {

namespace {

// The code point starting at `at`, moving `at` past it; nothing for a byte that starts no valid
// UTF-8 sequence (overlong forms, surrogates and values past U+10FFFF included), `at` moved by one.
std::optional<char32_t> nextCodePoint(std::string_view text, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        ++at;
        return std::nullopt;
    }
    if (at + length > text.size()) {
        ++at;
        return std::nullopt;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return std::nullopt;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++at;
        return std::nullopt;
    }
    at += length;
    return code;
}

bool isControl(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::optional<std::string> nameRefusal(std::string_view name) {
    size_t characters = 0;
    bool control = false;
    for (size_t at = 0; at < name.size(); ++characters) {
        const auto code = nextCodePoint(name, at);
        if (!code) return message::kNameNotUtf8;
        control = control || isControl(*code);
    }
    if (control) return message::kNameHasControl;
    if (characters > kLongestName) return message::nameTooLong(characters, kLongestName);
    return std::nullopt;
}

std::string nameFromSource(const std::string& sourcePath) {
    const std::string stem = std::filesystem::path(sourcePath).stem().string();
    std::string name;
    size_t characters = 0;
    for (size_t at = 0; at < stem.size() && characters < kLongestName; ++characters) {
        const char32_t code = nextCodePoint(stem, at).value_or(U'\uFFFD');
        appendUtf8(name, isControl(code) ? U' ' : code);
    }
    return name;
}

}  // namespace brenvik::library
