#pragma once
// Finding the card: a mounted volume (a folder directly under one of the mount roots, or one
// level deeper, as /media/USER/CARD) that holds at least one LOOPn folder with a loopinfo.ldf.
#include <optional>
#include <string>
#include <vector>

namespace brenvik {
class Files;
}

namespace brenvik::card {

// Where removable volumes are mounted on Linux.
std::vector<std::string> defaultMountRoots();

// Whether a folder holds at least one LOOPn folder with a loopinfo.ldf.
bool holdsLoops(const Files& files, const std::string& folder);

// The first such volume, roots in the order given and folders by name; nothing when none holds
// loops. Folders that cannot be read are passed over.
std::optional<std::string> findMountedCard(const Files& files,
                                           const std::vector<std::string>& roots);

}  // namespace brenvik::card
