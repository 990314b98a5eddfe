#include "FreeLoopSearch.h"

#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik {

std::string loopFolderPath(const std::string& folder, int number) {
    return folder + Files::separator() + loop::loopFolderName(number);
}

std::optional<int> firstFreeLoop(const Files& files, const std::string& folder) {
    for (int n = loop::kLowestLoop; n <= loop::kHighestLoop; ++n)
        if (!files.folderExists(loopFolderPath(folder, n))) return n;
    return std::nullopt;
}

}  // namespace brenvik
