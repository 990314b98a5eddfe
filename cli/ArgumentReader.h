#pragma once
// Reads a command's arguments against its table: unknown options, missing or surplus values,
// numbers that are not numbers or lie out of range, and missing or surplus positional arguments
// are bad usage, told in one line that names the argument (and, for a bad value, the value).
#include <string>
#include <vector>

#include "Arguments.h"

namespace brenvik::cli {

struct CommandLine {
    enum class Asks { Run, Help, BadUsage };
    Asks asks;
    Arguments arguments;
    std::string problem;  // what is wrong, for BadUsage: "--beats: 'many' is not a whole number"
};

// args excludes the program and the command names. "-h" or "--help" asks for the help; "--" ends
// the options, so a path may begin with "-".
CommandLine readCommandLine(const Command& command, const std::vector<std::string>& args);

// An argument as a usage error shows it, with line breaks, tabs and other control characters
// written as \n, \t, \xNN so that the error stays on its one line; quoted, in single quotes.
std::string printable(const std::string& argument);
std::string quoted(const std::string& argument);

}  // namespace brenvik::cli
