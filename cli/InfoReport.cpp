#include "InfoReport.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <type_traits>

#include "Numbers.h"

namespace brenvik::cli {

InfoNode& InfoNode::set(std::string key, InfoNode value) {
    std::get<Object>(m_value).emplace_back(std::move(key), std::move(value));
    return *this;
}

InfoNode& InfoNode::push(InfoNode value) {
    std::get<List>(m_value).push_back(std::move(value));
    return *this;
}

InfoNode& InfoNode::shownAs(std::string line) {
    m_line = std::move(line);
    return *this;
}

bool InfoNode::isContainer() const {
    return !m_line &&
           (std::holds_alternative<Object>(m_value) || std::holds_alternative<List>(m_value));
}

InfoNode duration(double seconds) {
    const long long tenths = std::llround(seconds * 10);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", tenths / 600, tenths / 10 % 60, tenths % 10);
    InfoNode node = InfoNode::object();
    node.set("seconds", InfoNode::real(seconds)).set("text", InfoNode::text(text));
    return node;
}

std::string wordsOf(const std::string& key) {
    std::string words;
    for (size_t i = 0; i < key.size(); ++i) {
        const auto c = static_cast<unsigned char>(key[i]);
        const bool startsWord = i > 0 && (std::isupper(c) || (std::isdigit(c) &&
                                          !std::isdigit(static_cast<unsigned char>(key[i - 1]))));
        if (startsWord) words += ' ';
        words += static_cast<char>(std::tolower(c));
    }
    return words;
}

namespace {

std::string scalarText(const std::monostate&) { return "none"; }
std::string scalarText(bool value) { return value ? "yes" : "no"; }
std::string scalarText(long long value) { return intToText(value); }
std::string scalarText(double value) { return shortestGeneral(value); }
std::string scalarText(const std::string& value) { return value; }

// The length of the well-formed UTF-8 sequence at text[at], or 0 when there is none (a stray
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF, a cut sequence).
size_t utf8Length(const std::string& text, size_t at) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong form
        if (lead == 0xED) high = 0x9F;  // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // no overlong form
        if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

// A path need not be UTF-8: a byte that is not part of a well-formed sequence is written as the
// escape \udcXX (XX the byte), as Python's surrogateescape reads file names, so the output stays
// valid JSON and os.fsencode gives the path back.
std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (size_t at = 0; at < text.size();) {
        const char c = text[at];
        const size_t length = utf8Length(text, at);
        char escape[8];
        if (length == 0) {
            std::snprintf(escape, sizeof escape, "\\udc%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            quoted += escape;
            ++at;
            continue;
        }
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                quoted += escape;
            } else {
                quoted.append(text, at, length);
            }
        }
        at += length;
    }
    return quoted + "\"";
}

std::string jsonScalar(const std::monostate&) { return "null"; }
std::string jsonScalar(bool value) { return value ? "true" : "false"; }
std::string jsonScalar(long long value) { return intToText(value); }
std::string jsonScalar(double value) { return shortestGeneral(value); }
std::string jsonScalar(const std::string& value) { return jsonString(value); }

std::string spaces(int indent) { return std::string(static_cast<size_t>(indent), ' '); }

}  // namespace

void InfoNode::writeText(std::ostream& out) const { writeText(out, 0); }

void InfoNode::writeText(std::ostream& out, int indent) const {
    if (m_line) {
        out << *m_line << '\n';
    } else if (const auto* object = std::get_if<Object>(&m_value)) {
        for (const auto& [key, value] : *object) {
            out << spaces(indent) << wordsOf(key) << ':';
            if (value.isContainer()) {
                out << '\n';
                value.writeText(out, indent + 2);
            } else {
                out << ' ';
                value.writeText(out, indent);
            }
        }
    } else if (const auto* list = std::get_if<List>(&m_value)) {
        if (list->empty()) out << spaces(indent) << "(none)\n";
        for (const InfoNode& item : *list) {
            out << spaces(indent) << "-\n";
            item.writeText(out, indent + 2);
        }
    } else {
        std::visit([&](const auto& v) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(v)>, Object> &&
                          !std::is_same_v<std::decay_t<decltype(v)>, List>)
                out << scalarText(v) << '\n';
        }, m_value);
    }
}

void InfoNode::writeJson(std::ostream& out) const {
    writeJson(out, 0);
    out << '\n';
}

void InfoNode::writeJson(std::ostream& out, int indent) const {
    if (const auto* object = std::get_if<Object>(&m_value)) {
        out << '{';
        for (size_t i = 0; i < object->size(); ++i) {
            out << (i == 0 ? "\n" : ",\n") << spaces(indent + 2) << jsonString((*object)[i].first) << ": ";
            (*object)[i].second.writeJson(out, indent + 2);
        }
        if (!object->empty()) out << '\n' << spaces(indent);
        out << '}';
    } else if (const auto* list = std::get_if<List>(&m_value)) {
        out << '[';
        for (size_t i = 0; i < list->size(); ++i) {
            out << (i == 0 ? "\n" : ",\n") << spaces(indent + 2);
            (*list)[i].writeJson(out, indent + 2);
        }
        if (!list->empty()) out << '\n' << spaces(indent);
        out << ']';
    } else {
        std::visit([&](const auto& v) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(v)>, Object> &&
                          !std::is_same_v<std::decay_t<decltype(v)>, List>)
                out << jsonScalar(v);
        }, m_value);
    }
}

}  // namespace brenvik::cli
