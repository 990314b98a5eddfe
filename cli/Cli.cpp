#include "Cli.h"

#include "ArgumentReader.h"
#include "CommandHelp.h"
#include "Commands.h"
#include "ConsoleInteraction.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::cli {

namespace {

// Bad usage before a command is known: what was wrong, then every command's usage.
int badUsage(std::ostream& err, std::span<const Command* const> commands, const std::string& problem) {
    err << message::commandSays({}, problem) << '\n';
    writeAllUsages(err, commands);
    return kUsage;
}

int runCommand(const Command& command, const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               bool errIsTerminal) {
    const CommandLine line = readCommandLine(command, args);
    switch (line.asks) {
    case CommandLine::Asks::Run: break;
    case CommandLine::Asks::Help: writeHelp(out, command); return kOk;
    case CommandLine::Asks::BadUsage: return badUsage(err, command, line.problem);
    }
    // The last resort: whatever a command lets escape still ends as its failure, said with its
    // reason, never as an abort.
    try {
        return command.run(line.arguments, out, err, errIsTerminal);
    } catch (...) {
        err << message::commandSays(std::string(command.name), message::kUnexpectedFailure) << '\n'
            << reasonLine(caughtReason());
        return kFailed;
    }
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal) {
    return run(kCommands, args, out, err, errIsTerminal);
}

int run(std::span<const Command* const> commands, const std::vector<std::string>& args,
        std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (args.empty()) {
        writeAllUsages(err, commands);
        return kUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const Command* command : commands)
        if (command->name == args[0]) return runCommand(*command, rest, out, err, errIsTerminal);
    if (args[0] == "--help" || args[0] == "-h") {
        writeAllUsages(out, commands);
        return kOk;
    }
    if (args[0] == "--version") {
        if (!rest.empty())
            return badUsage(err, commands, message::unexpectedArgument(quoted(rest[0])));
        out << message::programVersion(BRENVIK_VERSION) << '\n';
        return kOk;
    }
    return badUsage(err, commands, message::unknownCommand(quoted(args[0])));
}

}  // namespace brenvik::cli
