#include "ArgumentReader.h"

#include <algorithm>

#include "Messages.h"
#include "NumberText.h"

namespace brenvik::cli {

std::string printable(const std::string& argument) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') text += "\\n";
        else if (c == '\t') text += "\\t";
        else if (c == '\r') text += "\\r";
        else if (byte < 0x20 || byte == 0x7F) text += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
        else text += c;
    }
    return text;
}

std::string quoted(const std::string& argument) { return "'" + printable(argument) + "'"; }

namespace {

// What is wrong with a value given to the option; nothing when it fits.
std::optional<std::string> valueProblem(const Option& option, const std::string& value) {
    switch (option.kind) {
        case ValueKind::None:
            break;
        case ValueKind::Text:
            if (option.maxLength != 0 && value.size() > option.maxLength)
                return message::optionSays(std::string(option.name),
                                           message::longerThan(quoted(value), option.maxLength));
            break;
        case ValueKind::Path:
            if (value.empty())
                return message::optionSays(std::string(option.name),
                                           message::emptyGiven(std::string(option.valueName)));
            break;
        case ValueKind::Number: {
            if (!option.word.empty() && value == option.word) break;
            const std::optional<int64_t> number = readNumber(value, option.decimals);
            if (!number)
                return message::optionSays(std::string(option.name),
                                           message::notANumber(quoted(value), option.decimals));
            if (*number < option.low || *number > option.high)
                return message::optionSays(
                    std::string(option.name),
                    message::outsideRange(quoted(value), numberText(option.low, option.decimals),
                                          numberText(option.high, option.decimals)));
            break;
        }
    }
    return std::nullopt;
}

class Reader {
public:
    Reader(const Command& command, const std::vector<std::string>& args)
        : m_command(command),
          m_args(args),
          m_line{CommandLine::Asks::Run, Arguments(command, args), {}} {}

    CommandLine read() {
        bool optionsEnded = false;
        for (size_t at = 0; at < m_args.size() && !failed(); ++at) {
            const std::string& arg = m_args[at];
            if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
                m_line.arguments.addPositional(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "-h" || arg == "--help") {
                m_line.asks = CommandLine::Asks::Help;
                return m_line;
            } else {
                at = readOption(at);
            }
        }
        if (!failed()) checkPositionals();
        if (!failed()) checkRequiredOptions();
        return m_line;
    }

private:
    bool failed() const { return m_line.asks == CommandLine::Asks::BadUsage; }

    void fail(std::string problem) {
        m_line.asks = CommandLine::Asks::BadUsage;
        m_line.problem = std::move(problem);
    }

    // The option at m_args[at] and its value; the index of the last argument it took.
    size_t readOption(size_t at) {
        const std::string& name = m_args[at];
        const auto option = std::find_if(m_command.options.begin(), m_command.options.end(),
                                         [&name](const Option& o) { return o.name == name; });
        if (option == m_command.options.end()) {
            fail(message::unknownOption(printable(name)));
            return at;
        }
        if (!option->repeatable && m_line.arguments.given(name)) {
            fail(message::givenTwice(name));
            return at;
        }
        if (option->kind == ValueKind::None) {
            m_line.arguments.addOption(*option, {}, 0);
            return at;
        }
        if (at + 1 >= m_args.size()) {
            fail(message::needsValue(name));
            return at;
        }
        const std::string& value = m_args[at + 1];
        if (const auto problem = valueProblem(*option, value)) {
            fail(*problem);
        } else {
            const bool isNumber = option->kind == ValueKind::Number && value != option->word;
            m_line.arguments.addOption(*option, value,
                                       isNumber ? int(*readNumber(value, option->decimals)) : 0);
        }
        return at + 1;
    }

    void checkPositionals() {
        const auto& table = m_command.positionals;
        const auto& given = m_line.arguments.positionals();
        for (size_t i = 0; i < table.size(); ++i)
            if (table[i].count != Count::Optional && i >= given.size())
                return fail(message::missingArgument(std::string(table[i].name)));
        const bool many = !table.empty() && table.back().count == Count::Many;
        if (!many && given.size() > table.size())
            return fail(message::unexpectedArgument(quoted(given[table.size()])));
        for (size_t i = 0; i < given.size(); ++i)
            if (given[i].empty())
                return fail(
                    message::emptyGiven(std::string(table[std::min(i, table.size() - 1)].name)));
    }

    void checkRequiredOptions() {
        for (const Option& option : m_command.options)
            if (option.required && !m_line.arguments.given(option.name))
                return fail(
                    message::isRequired(std::string(option.name), std::string(option.valueName)));
    }

    const Command& m_command;
    const std::vector<std::string>& m_args;
    CommandLine m_line;
};

}  // namespace

CommandLine readCommandLine(const Command& command, const std::vector<std::string>& args) {
    return Reader(command, args).read();
}

}  // namespace brenvik::cli
