#include "CardFinder.h"

#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik::card {

std::vector<std::string> defaultMountRoots() { return {"/media", "/run/media", "/mnt"}; }

bool holdsLoops(const Files& files, const std::string& folder) {
    for (const std::string& sub : files.subfoldersOf(folder))
        if (loop::loopNumberOf(loop::lastFolderName(sub)) && loop::holdsDescription(sub))
            return true;
    return false;
}

std::optional<std::string> findMountedCard(const Files& files,
                                           const std::vector<std::string>& roots) {
    for (const std::string& root : roots) {
        for (const std::string& volume : files.subfoldersOf(root)) {
            if (holdsLoops(files, volume)) return volume;
            for (const std::string& inner : files.subfoldersOf(volume))  // /media/USER/CARD
                if (holdsLoops(files, inner)) return inner;
        }
    }
    return std::nullopt;
}

}  // namespace brenvik::card
