#include "Cli.h"

namespace brenvik::cli {

namespace {

void usage(std::ostream& err) {
    err << "usage: brenvik-cli info PATH [--json]\n"
           "       brenvik-cli to-loop SOURCE... --dest DIR [--loop TEXT] [--beats N]\n"
           "                   [--beats-per-bar B] [--track K] [--right-track K] [--pan P]\n"
           "                   [--pitch S] [--right-pan P] [--right-pitch S] [--overwrite]\n"
           "       brenvik-cli to-wave TRACK [RIGHT_TRACK] --output OUT [--overwrite]\n"
           "       brenvik-cli backup CARD DEST\n"
           "       brenvik-cli restore BACKUP CARD [--loop N]... [--overwrite]\n"
           "       brenvik-cli list CARD [--json]\n"
           "       brenvik-cli check PATH... [--json]\n"
           "       brenvik-cli export PATH... --to DIR [--overwrite]\n"
           "       brenvik-cli --version\n"
           "Each command takes -h or --help alone for its own usage.\n";
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal) {
    if (args.empty()) {
        usage(err);
        return kUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "info") return runInfo(rest, out, err);
    if (args[0] == "to-loop") return runToLoop(rest, out, err, errIsTerminal);
    if (args[0] == "to-wave") return runToWave(rest, out, err, errIsTerminal);
    if (args[0] == "backup") return runBackup(rest, out, err);
    if (args[0] == "restore") return runRestore(rest, out, err);
    if (args[0] == "list") return runList(rest, out, err);
    if (args[0] == "check") return runCheck(rest, out, err);
    if (args[0] == "export") return runExport(rest, out, err, errIsTerminal);
    if (args[0] == "--help" || args[0] == "-h") {
        usage(out);
        return kOk;
    }
    if (args[0] == "--version" && args.size() == 1) {
        out << "brenvik-cli " << BRENVIK_VERSION << '\n';
        return kOk;
    }
    usage(err);
    return kUsage;
}

}  // namespace brenvik::cli
