#pragma once
// A command line read against its command's table: the positional arguments in order and every
// option given, its value checked (a number already read), and the words it was read from.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CommandTable.h"

namespace brenvik::cli {

class Arguments {
public:
    // `words` are the command line behind the command's name, as given.
    Arguments(const Command& command, std::vector<std::string> words)
        : m_command(&command), m_words(std::move(words)) {}

    // The command line as given: the command's name and the words behind it, for a program that
    // is to run it in this one's place.
    std::vector<std::string> commandLine() const;

    const std::vector<std::string>& positionals() const { return m_positionals; }

    // The option names must be the table's: asking for another is a fault of the program.
    bool given(std::string_view option) const;
    std::optional<std::string> text(std::string_view option) const;
    std::optional<int> number(std::string_view option) const;
    std::vector<int> numbers(std::string_view option) const;  // a repeatable option, in order

    void addPositional(std::string value) { m_positionals.push_back(std::move(value)); }
    void addOption(const Option& option, std::string text, int number) {
        m_options.push_back({option.name, std::move(text), number});
    }

private:
    struct Given {
        std::string_view option;
        std::string text;
        int number;
    };
    std::vector<const Given*> occurrences(std::string_view option) const;

    const Command* m_command;
    std::vector<std::string> m_words;
    std::vector<std::string> m_positionals;
    std::vector<Given> m_options;
};

}  // namespace brenvik::cli
