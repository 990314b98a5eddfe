#include "CardFinder.h"

#include <exception>

#include "CardFolder.h"
#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik::card {

std::vector<std::string> defaultMountRoots() { return {"/media", "/run/media", "/mnt"}; }

bool holdsLoops(const Files& files, const std::string& folder) {
    try {
        for (const LoopFolder& loop : loopFoldersIn(files, folder))
            if (loop::holdsDescription(loop.path)) return true;
    } catch (const std::exception&) {
        // A folder that cannot be read is passed over.
    }
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
