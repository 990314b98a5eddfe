#include "OutputIntoLoop.h"

#include <algorithm>
#include <exception>

#include "BackupStore.h"
#include "LoopFolderName.h"
#include "RoutineError.h"

namespace brenvik::backup {

bool isOneOf(const std::string& output, const std::vector<std::string>& inputs, const Files& files) {
    return std::any_of(inputs.begin(), inputs.end(),
                       [&](const std::string& input) { return files.sameEntry(output, input); });
}

std::optional<std::string> backUpLoopAround(const std::string& output, Files& files) {
    try {
        const std::string folder = Files::parentOf(files.absolutePath(output));
        if (!loop::isLoopFolder(folder)) return std::nullopt;
        BackupStore(files).backUpLoop(folder);
    } catch (const std::exception&) {
        return caughtReason();
    }
    return std::nullopt;
}

}  // namespace brenvik::backup
