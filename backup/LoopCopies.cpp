#include "LoopCopies.h"

#include <algorithm>
#include <exception>

#include "BackupOrigin.h"
#include "HashedCopy.h"
#include "LoopFolderName.h"

namespace brenvik::backup {

namespace {

// Whether `files` (name -> digest) are all among `in`.
bool within(const std::map<std::string, std::string>& files, const std::map<std::string, std::string>& in) {
    return std::all_of(files.begin(), files.end(), [&in](const auto& file) {
        const auto found = in.find(file.first);
        return found != in.end() && found->second == file.second;
    });
}

}  // namespace

const std::optional<LoopCopies::Loops>& LoopCopies::loopsOf(const std::string& backup) {
    const auto known = m_backups.find(backup);
    if (known != m_backups.end()) return known->second;
    std::optional<Loops>& loops = m_backups[backup];
    const std::optional<std::string> text = readSmallText(Files::joinPath(backup, kManifestName), kLargestManifest);
    if (const std::optional<Manifest> manifest = text ? parseManifest(*text) : std::nullopt) {
        loops.emplace();
        for (const ManifestEntry& entry : *manifest) {
            const size_t slash = entry.name.find('/');
            (*loops)[entry.name.substr(0, slash)][slash == std::string::npos ? "" : entry.name.substr(slash + 1)] =
                entry.digest;
        }
    }
    return loops;
}

std::optional<std::string> LoopCopies::cardDigest(const std::string& path) {
    const auto known = m_cardDigests.find(path);
    if (known != m_cardDigests.end()) return known->second;
    std::optional<std::string>& digest = m_cardDigests[path];
    try {
        digest = digestOf(path);
    } catch (const std::exception&) {
        // a file that cannot be read holds no copy
    }
    return digest;
}

bool LoopCopies::onCard(const std::string& stored, const std::map<std::string, std::string>& files,
                        const std::string& card) {
    for (const std::string& folder : m_files.subfoldersOf(card)) {
        if (!loop::loopNumberOf(loop::lastFolderName(folder))) continue;
        const bool whole = std::all_of(files.begin(), files.end(), [&](const auto& file) {
            const std::string onCard = Files::joinPath(folder, file.first);
            try {
                // Hashing the card's audio is what takes time: only a file of the right size can match.
                if (!m_files.fileExists(onCard) ||
                    m_files.fileSize(onCard) != m_files.fileSize(Files::joinPath(stored, file.first)))
                    return false;
            } catch (const std::exception&) {
                return false;
            }
            return cardDigest(onCard) == file.second;
        });
        if (whole) return true;
    }
    return false;
}

bool LoopCopies::heldElsewhere(const std::string& backup, const std::vector<std::string>& backups) {
    const std::optional<Loops>& loops = loopsOf(backup);
    if (!loops) return false;
    const std::optional<BackupOrigin> origin = readOrigin(backup);
    const bool cardThere = origin && !origin->card.empty() && m_files.folderExists(origin->card);
    for (const auto& entry : *loops) {
        const std::string& loopName = entry.first;
        const auto& files = entry.second;  // a name of its own: older compilers capture no structured binding
        const bool inBackup = std::any_of(backups.begin(), backups.end(), [&](const std::string& other) {
            if (other == backup) return false;
            const std::optional<Loops>& held = loopsOf(other);
            return held && std::any_of(held->begin(), held->end(),
                                       [&files](const auto& loop) { return within(files, loop.second); });
        });
        if (!inBackup && !(cardThere && onCard(Files::joinPath(backup, loopName), files, origin->card))) return false;
    }
    return true;
}

}  // namespace brenvik::backup
