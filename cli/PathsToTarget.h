#pragma once
// The arguments of the commands that write files from files: the paths read, one target named
// by an option (to-wave's --output, export's --to) and --overwrite.
#include <optional>
#include <string>
#include <vector>

namespace brenvik::cli {

struct PathsToTarget {
    std::vector<std::string> paths;
    std::string target;
    bool overwrite = false;
};

// Nothing when an option is unknown, empty or given twice, the target is missing, or the number
// of paths lies outside [minPaths, maxPaths].
std::optional<PathsToTarget> parsePathsToTarget(const std::vector<std::string>& args,
                                                const std::string& targetOption, size_t minPaths,
                                                size_t maxPaths);

}  // namespace brenvik::cli
