#pragma once
// What `brenvik-cli info` found, as an ordered tree of named values, printed either as indented
// "name: value" lines for people or as one JSON object for scripts. The names are JSON-style
// (sampleRate); the text form spells them as words (sample rate).
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace brenvik::cli {

class InfoNode {
public:
    using Object = std::vector<std::pair<std::string, InfoNode>>;
    using List = std::vector<InfoNode>;

    InfoNode() = default;  // null: "none" in text
    static InfoNode flag(bool value) { return InfoNode(Value(value)); }
    static InfoNode integer(long long value) { return InfoNode(Value(value)); }
    static InfoNode real(double value) { return InfoNode(Value(value)); }
    static InfoNode text(std::string value) { return InfoNode(Value(std::move(value))); }
    static InfoNode object() { return InfoNode(Value(Object{})); }
    static InfoNode list() { return InfoNode(Value(List{})); }

    // Adds a member to an object (keeps the order of adding); returns the object.
    InfoNode& set(std::string key, InfoNode value);
    // Appends an element to a list; returns the list.
    InfoNode& push(InfoNode value);
    // In the text form this node is the one line given instead of its members; JSON keeps them.
    InfoNode& shownAs(std::string line);

    void writeText(std::ostream& out) const;
    void writeJson(std::ostream& out) const;

private:
    using Value = std::variant<std::monostate, bool, long long, double, std::string, Object, List>;
    explicit InfoNode(Value value) : m_value(std::move(value)) {}
    void writeText(std::ostream& out, int indent) const;
    void writeJson(std::ostream& out, int indent) const;
    bool isContainer() const;

    Value m_value;
    std::optional<std::string> m_line;
};

// A length of audio: {"seconds": 4.0, "text": "0:04.0"} (minutes, seconds and tenths).
InfoNode duration(double seconds);

// "sampleRate" -> "sample rate", "checkTriple1" -> "check triple 1".
std::string wordsOf(const std::string& key);

}  // namespace brenvik::cli
