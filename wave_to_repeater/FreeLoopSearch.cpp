#include "FreeLoopSearch.h"

#include "LoopFolderName.h"
#include "Platform.h"

namespace brenvik {

std::string loopFolderPath(const std::string& folder, int number) {
    return folder + Platform::separator() + loop::loopFolderName(number);
}

std::optional<int> firstFreeLoop(Platform& platform, const std::string& folder) {
    for (int n = 1; n <= 999; ++n)
        if (!platform.folderExists(loopFolderPath(folder, n))) return n;
    return std::nullopt;
}

}  // namespace brenvik
