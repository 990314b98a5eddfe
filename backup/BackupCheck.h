#pragma once
// Whether a backup may go back onto a card, decided before anything is written: no symbolic link
// anywhere in it, a manifest in its form listing at least one file, every entry a plain file of a
// loop folder (nothing that could land outside the card's loop folders), and every file a regular
// file with the bytes the manifest says.
#include <optional>
#include <string>

#include "Manifest.h"

namespace brenvik {
class Files;
}

namespace brenvik::backup {

struct BackupCheck {
    std::optional<Manifest> manifest;  // when the backup may be restored
    std::string refusal;               // otherwise the message naming what is wrong
};

BackupCheck checkBackup(const Files& files, const std::string& folder);

// A backup of the store ("LOOP3-<time>"), checked as above and holding that one loop and no
// other: a store folder whose contents were exchanged with another's would otherwise put one
// loop's audio in another's place.
BackupCheck checkStoredLoop(const Files& files, const std::string& folder);

}  // namespace brenvik::backup
