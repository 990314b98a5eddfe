#pragma once
// Where else the loop a store backup holds is kept, so that pruning never deletes its last copy:
// in a loop folder of the card its origin names (when that card is there now, under any loop
// number) or in another backup. A copy is the same files under the same names, compared by the
// manifests' SHA-256 digests; a file on the card is hashed only when its size matches, and only
// once per prune.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Files.h"
#include "Manifest.h"

namespace brenvik::backup {

class LoopCopies {
public:
    explicit LoopCopies(const Files& files) : m_files(files) {}

    // Whether every loop of the backup lies whole on its card or in one of `backups` (folders of
    // the store; the backup itself among them is passed over). A backup whose manifest cannot be read is held nowhere: what it holds is unknown.
    bool heldElsewhere(const std::string& backup, const std::vector<std::string>& backups);

private:
    // File name inside the loop folder -> digest, for each loop folder of a backup.
    using Loops = std::map<std::string, std::map<std::string, std::string>>;

    const std::optional<Loops>& loopsOf(const std::string& backup);
    // Whether the files of the loop folder `stored` lie in one loop folder of the card.
    bool onCard(const std::string& stored, const std::map<std::string, std::string>& files, const std::string& card);
    std::optional<std::string> cardDigest(const std::string& path);

    const Files& m_files;
    std::map<std::string, std::optional<Loops>> m_backups;
    std::map<std::string, std::optional<std::string>> m_cardDigests;
};

}  // namespace brenvik::backup
