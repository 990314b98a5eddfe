#include "FreeLoopSearch.h"

#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik {

std::string loopFolderPath(const std::string& folder, int number) {
    return folder + Files::separator() + loop::loopFolderName(number);
}

}  // namespace brenvik
