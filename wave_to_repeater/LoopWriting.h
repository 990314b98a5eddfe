#pragma once
// Writing a Repeater loop: an opened wave becomes a loop folder (track files behind their silent
// pre-buffers, and loopinfo.ldf). The loop number, the destination, an existing loop and the free
// space are checked first; the user is asked before an existing loop is replaced.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Channels.h"
#include "LoopSettings.h"
#include "Platform.h"

namespace brenvik {

struct LoopWriteRequest {
    std::string sourcePath;
    std::string destination;     // the folder the loop folder goes into
    std::string loopNumberText;  // as the user typed it
    std::optional<ChannelMode> mode;  // nothing before a wave was opened
    LoopSettings settings;
    std::vector<float> tempoTable;    // of the opened wave
};

struct LoopWriteResult {
    enum class Outcome {
        Written,    // the caller shows "File writing successful"
        Refused,    // the caller shows `message` with `icon`
        Cancelled,  // the user declined to replace the loop: nothing more is shown
        Failed,     // the caller shows "error in fileSaving()"; what was written stays
    };
    Outcome outcome = Outcome::Failed;
    std::string message;
    MessageIcon icon = MessageIcon::None;
    // The loop number in normal form once it passed its checks (007 becomes 7).
    std::optional<int16_t> loopNumber;
    std::string loopFolder;  // when written
    std::string backupFolder;  // where the replaced loop was backed up, when one was
};

// Before an existing loop is deleted, its files go into the backup store (the platform's user
// data folder); when that fails the save is refused and the card stays as it was.
// Shows the busy pointer from the space check on; the caller restores it. `progress` sees the
// bar's total (source bytes \ 1000) and each step.
LoopWriteResult writeLoop(const LoopWriteRequest& request, Platform& platform, const Progress& progress);

}  // namespace brenvik
