#pragma once
// Where a backup came from, kept in a small file ORIGIN beside its manifest: the card folder's
// path, the volume's label and UUID when the card is a mounted volume, the loop (for a backup of
// one loop) and the UTC time it was made. A card is known again by its UUID wherever it is
// mounted; without one, by its path.
#include <optional>
#include <string>
#include <string_view>

namespace brenvik::backup {

inline constexpr const char* kOriginName = "ORIGIN";

struct BackupOrigin {
    std::string card;
    std::string label;
    std::string uuid;
    std::optional<int> loopNumber;
    std::string made;  // "20261206T015000Z"

    // Whether two backups came from one card.
    bool sameCard(const BackupOrigin& other) const;
};

// The origin of a backup of `card` (its absolute path) made now.
BackupOrigin originOf(const std::string& card, std::optional<int> loopNumber, const std::string& made);

// "card=/media/x/CARD" and so on, one line each.
std::string formatOrigin(const BackupOrigin& origin);
// What the lines name; unknown or broken lines are passed over (the file only tells, it is
// never trusted with anything written).
BackupOrigin parseOrigin(std::string_view text);
// The origin kept in a backup folder; nothing when there is none (backups made before it was
// kept) or it cannot be read.
std::optional<BackupOrigin> readOrigin(const std::string& backupFolder);

}  // namespace brenvik::backup
