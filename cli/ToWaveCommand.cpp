#include "Cli.h"

namespace brenvik::cli {

int runToWave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    (void)args;
    (void)out;
    (void)errIsTerminal;
    err << "not built yet\n";
    return kFailed;
}

}  // namespace brenvik::cli
