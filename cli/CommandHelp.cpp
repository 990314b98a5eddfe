#include "CommandHelp.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Cli.h"
#include "Messages.h"
#include "NumberText.h"

namespace brenvik::cli {

namespace {

constexpr size_t kWidth = 80;
constexpr std::string_view kProgram = "brenvik-cli";
constexpr std::string_view kUsageOpening = "usage: ";

// Appends the words to line, starting a new line indented by `indent` where the next word would
// pass the width; a word is never broken.
void writeWrapped(std::ostream& out, std::string line, const std::vector<std::string>& words,
                  size_t indent) {
    for (const std::string& word : words) {
        const bool first = line.find_first_not_of(' ') == std::string::npos;
        if (!first && line.size() + 1 + word.size() > kWidth) {
            out << line << '\n';
            line.assign(indent, ' ');
        } else if (!first) {
            line += ' ';
        }
        line += word;
    }
    out << line << '\n';
}

std::vector<std::string> wordsOf(std::string_view text) {
    std::vector<std::string> words;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find(' ', at), text.size());
        if (end > at) words.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

std::string label(const Option& option) {
    return option.valueName.empty()
               ? std::string(option.name)
               : std::string(option.name) + " " + std::string(option.valueName);
}

std::vector<std::string> synopsisWords(const Command& command) {
    std::vector<std::string> words;
    for (const Positional& positional : command.positionals) {
        const std::string name(positional.name);
        switch (positional.count) {
            case Count::One:
                words.push_back(name);
                break;
            case Count::Optional:
                words.push_back("[" + name + "]");
                break;
            case Count::Many:
                words.push_back(name + "...");
                break;
        }
    }
    for (const Option& option : command.options)
        words.push_back(option.required
                            ? label(option)
                            : "[" + label(option) + "]" + (option.repeatable ? "..." : ""));
    return words;
}

// The usage of one command behind an opening as wide as "usage: ", continued under its name.
void writeSynopsis(std::ostream& out, std::string_view opening, const Command& command) {
    const std::string start = std::string(opening) + std::string(kProgram) + " ";
    writeWrapped(out, start + std::string(command.name), synopsisWords(command), start.size());
}

void writeHelpLine(std::ostream& out, const std::string& label, std::string help, size_t column) {
    std::string line = "  " + label;
    line.resize(std::max(line.size(), column - 1), ' ');
    writeWrapped(out, line, wordsOf(help), column);
}

}  // namespace

void writeUsage(std::ostream& out, const Command& command) {
    writeSynopsis(out, kUsageOpening, command);
}

void writeHelp(std::ostream& out, const Command& command) {
    writeUsage(out, command);
    writeWrapped(out, {}, wordsOf(command.summary), 0);
    out << '\n';
    size_t widest = 0;
    for (const Positional& positional : command.positionals)
        widest = std::max(widest, positional.name.size());
    for (const Option& option : command.options) widest = std::max(widest, label(option).size());
    const size_t column = 2 + widest + 2;
    for (const Positional& positional : command.positionals)
        writeHelpLine(out, std::string(positional.name), std::string(positional.help), column);
    for (const Option& option : command.options) {
        const std::string range = option.kind != ValueKind::Number
                                      ? ""
                                      : numberText(option.low, option.decimals) + " to " +
                                            numberText(option.high, option.decimals) + ": ";
        writeHelpLine(out, label(option), range + std::string(option.help), column);
    }
}

void writeAllUsages(std::ostream& out, std::span<const Command* const> commands) {
    const std::string continued(kUsageOpening.size(), ' ');
    for (const Command* command : commands)
        writeSynopsis(out,
                      command == commands.front() ? kUsageOpening : std::string_view(continued),
                      *command);
    out << continued << kProgram << " --version\n" << message::kHelpPerCommand << '\n';
}

int badUsage(std::ostream& err, const Command& command, std::string_view problem) {
    err << kProgram << ' ' << command.name << ": " << problem << '\n';
    writeUsage(err, command);
    return kUsage;
}

}  // namespace brenvik::cli
