#include "FreeLoopSearch.h"

#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik {

std::string loopFolderPath(const std::string& folder, int number) {
    return folder + Files::separator() + loop::loopFolderName(number);
}

std::optional<int> firstFreeLoop(const Files& files, const std::string& folder, const std::set<int>& taken) {
    for (int n = loop::kLowestLoop; n <= loop::kHighestLoop; ++n)
        if (!taken.count(n) && !files.folderExists(loopFolderPath(folder, n))) return n;
    return std::nullopt;
}

}  // namespace brenvik
