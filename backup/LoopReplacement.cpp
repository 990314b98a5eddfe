#include "LoopReplacement.h"

#include "LoopFolderName.h"

namespace brenvik::backup {

std::optional<std::string> existingLoopFolder(const Files& files, const std::string& folder) {
    if (files.entryExists(folder)) return folder;
    const std::string found = loop::pathOnCard(Files::parentOf(folder), loop::lastFolderName(folder));
    if (files.entryExists(found)) return found;
    return std::nullopt;
}

}  // namespace brenvik::backup
