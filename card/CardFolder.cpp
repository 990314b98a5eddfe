#include "CardFolder.h"

#include <algorithm>

#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik::card {

std::vector<LoopFolder> loopFoldersIn(const Files& files, const std::string& card) {
    std::vector<LoopFolder> loops;
    for (const FolderEntry& entry : files.listFolder(card)) {
        const std::optional<int> number = loop::loopNumberOf(entry.name);
        if (number && entry.kind == FolderEntry::Kind::Folder)
            loops.push_back({*number, entry.path});
    }
    std::sort(loops.begin(), loops.end(),
              [](const LoopFolder& a, const LoopFolder& b) { return a.number < b.number; });
    return loops;
}

bool isOneLoop(const std::string& path) {
    return loop::loopNumberOf(loop::lastFolderName(path)) || loop::holdsDescription(path);
}

std::vector<std::string> loopFoldersOf(const Files& files, const std::string& path) {
    if (isOneLoop(path)) return {path};
    std::vector<std::string> folders;
    for (const LoopFolder& folder : loopFoldersIn(files, path)) folders.push_back(folder.path);
    return folders;
}

}  // namespace brenvik::card
