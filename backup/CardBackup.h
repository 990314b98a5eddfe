#pragma once
// A whole card backed up: every plain file of every loop folder (loopinfo.ldf and the track files,
// and whatever else a computer left there) copied into DEST/<card folder name>-<UTC time>/ with a
// SHA-256 manifest and a note of the card, and the copy checked. No save or restore writes to the
// card meanwhile.
#include <string>
#include <vector>

#include "Files.h"

namespace brenvik::backup {

struct CardBackupResult {
    std::string folder;             // the backup made; empty when none was
    std::string message;            // why not
    std::string reason;             // the cause behind the message
    std::vector<std::string> loops;  // the loop folder names backed up, in loop order
};

CardBackupResult backUpCard(const std::string& card, const std::string& destination, Files& files);

}  // namespace brenvik::backup
