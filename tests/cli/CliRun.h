#pragma once
// brenvik-cli run in-process, as the tests of its commands use it: the exit status and what it
// printed on each stream.
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace brenvik::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
    bool said(const std::string& part) const { return err.find(part) != std::string::npos; }
};

inline CliRun runCli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::run(args, out, err, false);
    return CliRun{status, out.str(), err.str()};
}

}  // namespace brenvik::test
