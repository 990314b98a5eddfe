#include "Arguments.h"

#include <algorithm>
#include <stdexcept>

#include "Messages.h"

namespace brenvik::cli {

std::vector<const Arguments::Given*> Arguments::occurrences(std::string_view option) const {
    const auto& table = m_command->options;
    if (std::none_of(table.begin(), table.end(),
                     [option](const Option& o) { return o.name == option; }))
        throw std::logic_error(
            message::noSuchOption(std::string(m_command->name), std::string(option)));
    std::vector<const Given*> found;
    for (const Given& given : m_options)
        if (given.option == option) found.push_back(&given);
    return found;
}

std::vector<std::string> Arguments::commandLine() const {
    std::vector<std::string> line{std::string(m_command->name)};
    line.insert(line.end(), m_words.begin(), m_words.end());
    return line;
}

bool Arguments::given(std::string_view option) const {
    return !occurrences(option).empty();
}

std::optional<std::string> Arguments::text(std::string_view option) const {
    const auto found = occurrences(option);
    if (found.empty()) return std::nullopt;
    return found.back()->text;
}

std::optional<int> Arguments::number(std::string_view option) const {
    const auto found = occurrences(option);
    if (found.empty()) return std::nullopt;
    return found.back()->number;
}

std::vector<int> Arguments::numbers(std::string_view option) const {
    std::vector<int> values;
    for (const Given* given : occurrences(option)) values.push_back(given->number);
    return values;
}

}  // namespace brenvik::cli
