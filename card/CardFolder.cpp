#include "CardFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "LoopFolderName.h"
#include "RoutineError.h"

namespace fs = std::filesystem;

namespace brenvik::card {

std::vector<LoopFolder> loopFoldersIn(const std::string& card) {
    std::error_code ec;
    fs::directory_iterator it(card, ec);
    if (ec) throw RoutineError::ofSystem("cannot read the folder", card, ec);
    std::vector<LoopFolder> loops;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) throw RoutineError::ofSystem("cannot read the folder", card, ec);
        const std::optional<int> number = loop::loopNumberOf(it->path().filename().string());
        std::error_code typeError;
        if (number && it->is_directory(typeError)) loops.push_back({*number, it->path().string()});
    }
    std::sort(loops.begin(), loops.end(),
              [](const LoopFolder& a, const LoopFolder& b) { return a.number < b.number; });
    return loops;
}

bool isOneLoop(const std::string& path) {
    std::error_code ec;
    return loop::loopNumberOf(loop::lastFolderName(path)) ||
           fs::is_regular_file(fs::path(path) / loop::kDescriptionFileName, ec);
}

std::vector<std::string> loopFoldersOf(const std::string& path) {
    if (isOneLoop(path)) return {path};
    std::vector<std::string> folders;
    for (const LoopFolder& folder : loopFoldersIn(path)) folders.push_back(folder.path);
    return folders;
}

}  // namespace brenvik::card
