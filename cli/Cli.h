#pragma once
// brenvik-cli: the converters' procedures driven by arguments. Streams are parameters so the
// commands can be tested in-process.
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "CommandTable.h"

namespace brenvik::cli {

// Exit statuses: 0 success, 1 refused or failed, 2 bad usage; 130 stopped by Ctrl+C (play), as a
// shell reports any program that Ctrl+C ends.
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kInterrupted = 130;

// args excludes the program name.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal = false);

// The same over the given commands in place of brenvik-cli's own: the command line is read and
// checked against their tables, and the one named runs. The fuzz target reads every command
// line this way through commands that do not touch files.
int run(std::span<const Command* const> commands, const std::vector<std::string>& args,
        std::ostream& out, std::ostream& err, bool errIsTerminal = false);

}  // namespace brenvik::cli
