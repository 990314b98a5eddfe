#include "CardFinder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "CardFolder.h"
#include "LoopContents.h"
#include "LoopFolderName.h"

namespace fs = std::filesystem;

namespace brenvik::card {

namespace {

std::vector<fs::path> foldersIn(const fs::path& folder) {
    std::vector<fs::path> folders;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

}  // namespace

std::vector<std::string> defaultMountRoots() { return {"/media", "/run/media", "/mnt"}; }

bool holdsLoops(const std::string& folder) {
    for (const fs::path& sub : foldersIn(folder)) {
        std::error_code ec;
        if (loop::loopNumberOf(sub.filename().string()) && fs::is_regular_file(sub / loop::kDescriptionFileName, ec)) return true;
    }
    return false;
}

std::optional<std::string> findMountedCard(const std::vector<std::string>& roots) {
    for (const std::string& root : roots) {
        for (const fs::path& volume : foldersIn(root)) {
            if (holdsLoops(volume.string())) return volume.string();
            for (const fs::path& inner : foldersIn(volume))  // /media/USER/CARD
                if (holdsLoops(inner.string())) return inner.string();
        }
    }
    return std::nullopt;
}

}  // namespace brenvik::card
