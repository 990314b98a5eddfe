#pragma once
// A whole card backed up: every loop folder's loop files (loopinfo.ldf, track1.wav to track4.wav)
// copied into DEST/<card folder name>-<UTC time>/ with a SHA-256 manifest, and the copy checked.
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
