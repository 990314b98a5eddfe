#pragma once
// What brenvik-cli says about its own use, made from the command tables: a command's usage
// lines, its help (the usage and a line on each argument), the usage of every command, and the
// report of bad usage.
#include <ostream>
#include <span>
#include <string_view>

#include "CommandTable.h"

namespace brenvik::cli {

// "usage: brenvik-cli list CARD [--json]", wrapped at 80 columns.
void writeUsage(std::ostream& out, const Command& command);
void writeHelp(std::ostream& out, const Command& command);
void writeAllUsages(std::ostream& out, std::span<const Command* const> commands);

// "brenvik-cli COMMAND: problem" and the command's usage on the error stream; the exit status of
// bad usage.
int badUsage(std::ostream& err, const Command& command, std::string_view problem);

}  // namespace brenvik::cli
