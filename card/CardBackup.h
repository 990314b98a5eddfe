#pragma once
// A whole card backed up: every plain file of every loop folder (loopinfo.ldf and the track files,
// and whatever else a computer left there) copied into DEST/<card folder name>-<UTC time>/ with a
// SHA-256 manifest and a note of the card, and the copy checked. No save or restore writes to the
// card meanwhile. Nothing is left out in silence: a loop the Repeater could not read as it stands
// (a link, a folder that cannot be read, two folders of one name on FAT, a link or pipe among
// its own files) stays out whole, and every loop folder or file left out is named with why.
#include <string>
#include <vector>

#include "Files.h"

namespace brenvik::card {

// A loop folder or file a card backup did not take.
struct LeftOut {
    std::string path;
    std::string reason;
};

struct CardBackupResult {
    std::string folder;              // the backup made; empty when none was
    std::string message;             // why not
    std::string reason;              // the cause behind the message
    std::vector<std::string> loops;  // the loop folder names backed up, in loop order
    std::vector<LeftOut> leftOut;    // in loop order; none when the backup holds the whole card
};

CardBackupResult backUpCard(const std::string& card, const std::string& destination, Files& files);

}  // namespace brenvik::card
