#include "PathsToTarget.h"

namespace brenvik::cli {

std::optional<PathsToTarget> parsePathsToTarget(const std::vector<std::string>& args,
                                                const std::string& targetOption, size_t minPaths,
                                                size_t maxPaths) {
    PathsToTarget parsed;
    bool haveTarget = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--overwrite") {
            parsed.overwrite = true;
        } else if (arg == targetOption) {
            if (haveTarget || i + 1 >= args.size() || args[i + 1].empty()) return std::nullopt;
            parsed.target = args[++i];
            haveTarget = true;
        } else if (arg.empty() || arg.rfind("--", 0) == 0) {
            return std::nullopt;
        } else {
            parsed.paths.push_back(arg);
        }
    }
    if (!haveTarget || parsed.paths.size() < minPaths || parsed.paths.size() > maxPaths) return std::nullopt;
    return parsed;
}

}  // namespace brenvik::cli
