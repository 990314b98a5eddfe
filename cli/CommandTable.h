#pragma once
// A command of brenvik-cli as one table: its positional arguments and its options, each with the
// kind of value it takes, the range a number must lie in and its help line. The argument reader
// checks a command line against the table and prints the command's usage and help from it, so a
// new option is one more row.
#include <cstddef>
#include <ostream>
#include <span>
#include <string_view>

namespace brenvik::cli {

class Arguments;

enum class ValueKind {
    None,    // a flag: --overwrite
    Text,    // any text, even empty, up to maxLength characters when that is set
    Path,    // a file or folder: not empty
    Number,  // a number with up to `decimals` digits after the point, within [low, high]
};

struct Option {
    std::string_view name;       // "--beats"
    std::string_view valueName;  // "N" in the usage; empty for a flag
    ValueKind kind = ValueKind::None;
    std::string_view help;
    bool required = false;
    bool repeatable = false;  // otherwise a second one is bad usage
    int decimals = 0;         // a Number is held in units of 10^-decimals: pitch 1.5 is 150
    int low = 0, high = 0;    // a Number's range, in those units
    size_t maxLength = 0;     // a Text's most characters; 0 for any
    std::string_view word = {};  // a word a Number also takes in place of a number ("auto"); empty for none

    static constexpr Option flag(std::string_view name, std::string_view help) {
        return {name, {}, ValueKind::None, help};
    }
    static constexpr Option path(std::string_view name, std::string_view valueName,
                                 std::string_view help) {
        return {name, valueName, ValueKind::Path, help};
    }
    static constexpr Option text(std::string_view name, std::string_view valueName,
                                 size_t maxLength, std::string_view help) {
        Option option{name, valueName, ValueKind::Text, help};
        option.maxLength = maxLength;
        return option;
    }
    static constexpr Option number(std::string_view name, std::string_view valueName, int low,
                                   int high, std::string_view help, int decimals = 0) {
        Option option{name, valueName, ValueKind::Number, help};
        option.low = low;
        option.high = high;
        option.decimals = decimals;
        return option;
    }
    constexpr Option orWord(std::string_view taken) const {
        Option option = *this;
        option.word = taken;
        return option;
    }
    constexpr Option mustBeGiven() const {
        Option option = *this;
        option.required = true;
        return option;
    }
    constexpr Option mayRepeat() const {
        Option option = *this;
        option.repeatable = true;
        return option;
    }
};

enum class Count {
    One,       // CARD
    Optional,  // [RIGHT_TRACK]
    Many,      // SOURCE... (one or more, always last)
};

// A positional argument: always a path, so never empty.
struct Positional {
    std::string_view name;
    Count count = Count::One;
    std::string_view help;
};

// The command with its arguments read and checked; the exit status.
using CommandRun = int (*)(const Arguments& args, std::ostream& out, std::ostream& err,
                           bool errIsTerminal);

struct Command {
    std::string_view name;     // "to-loop"
    std::string_view summary;  // what it does, the first lines of its help
    std::span<const Positional> positionals;
    std::span<const Option> options;
    CommandRun run = nullptr;
};

}  // namespace brenvik::cli
