#pragma once
// brenvik-cli: the converters' procedures driven by arguments. Streams are parameters so the
// commands can be tested in-process.
#include <ostream>
#include <string>
#include <vector>

namespace brenvik::cli {

// Exit statuses: 0 success, 1 refused or failed, 2 bad usage.
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Whether the arguments ask for a command's usage: one -h or --help alone.
inline bool asksForHelp(const std::vector<std::string>& args) {
    return args.size() == 1 && (args[0] == "-h" || args[0] == "--help");
}

// args excludes the program name.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal = false);

int runInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runToLoop(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal);
int runBackup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runRestore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The card: list CARD, check PATH..., export PATH... --to DIR.
int runList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal);
int runToWave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              bool errIsTerminal);

}  // namespace brenvik::cli
