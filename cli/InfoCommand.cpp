#include "Cli.h"

namespace brenvik::cli {

int runInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    (void)args;
    (void)out;
    err << "not built yet\n";
    return kFailed;
}

}  // namespace brenvik::cli
