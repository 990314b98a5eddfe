#pragma once
// Runs one brenvik-cli command in-process, its streams as buffers.
#include <QStringList>

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

inline CliRun runCli(const std::string& command, std::vector<std::string> args) {
    args.insert(args.begin(), command);
    std::ostringstream out, err;
    const int status = cli::run(args, out, err, false);
    return CliRun{status, out.str(), err.str()};
}

inline std::vector<std::string> stdStrings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& text : list) strings.push_back(text.toStdString());
    return strings;
}

}  // namespace brenvik::test
