#pragma once
// Writing a Repeater loop: an opened wave becomes a loop folder (track files behind their silent
// pre-buffers, and loopinfo.ldf). The loop number, the destination, an existing loop and the free
// space are checked first; the caller's overwrite policy decides whether an existing loop is
// replaced.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CallerHooks.h"
#include "Channels.h"
#include "Files.h"
#include "Interaction.h"
#include "LoopPlan.h"
#include "LoopSettings.h"
#include "Messages.h"

namespace brenvik {

// What to write when the Repeater would play the loop otherwise than the window shows it.
enum class TempoChoice { AsShown, AsItStands, Cancel };
using TempoPolicy = std::function<TempoChoice(const LoopPlan& plan, const std::string& loopName)>;

struct LoopWriteRequest {
    std::string sourcePath;
    std::string destination;     // the folder the loop folder goes into
    std::string loopNumberText;  // as the user typed it
    std::optional<ChannelMode> mode;  // nothing before a wave was opened
    LoopSettings settings;
    std::vector<float> tempoTable;    // of the opened wave
    // The tempo from the entry the Tempo box shows, not from beats per bar x (beats - 1).
    bool tempoAsShown = false;
    // Asked once the overwrite question and the space check have passed, when the plan differs
    // from what the window shows; without it the loop is written as it stands.
    TempoPolicy askTempo;
    message::Voice voice = message::Voice::Window;  // whose words the plan's warnings speak
    // Every check runs, the overwrite question and the free space too, and then the save stops
    // before the card is touched.
    bool dryRun = false;
    // The files written are read back from the card and compared before the loop takes its number.
    bool readBack = true;
    // The file the user chose, which a written loop is named after in the user's loop library:
    // `sourcePath` itself, or the original of a converted copy (never the copy, which lives in a
    // cache or scratch folder). Empty: the library is not touched.
    std::string namedAfter;
    std::optional<double> tempoFound;  // beats per minute found in the source, kept with the name
};

struct LoopWriteResult {
    enum class Outcome {
        Written,    // the caller shows "File writing successful"
        Refused,    // the caller shows `message` with `icon`, and `reason` below it
        Kept,       // the loop exists and is not to be replaced (No): the window opens the folder
                    // chooser
        Cancelled,  // the save was cancelled at the overwrite or the tempo question: nothing
                    // more is shown
        Failed,     // the caller shows "error in fileSaving()" and `reason`; what was written stays
        Planned,    // a dry run passed every check: nothing was written, `plan` tells what would be
    };
    Outcome outcome = Outcome::Failed;
    std::string message;
    MessageIcon icon = MessageIcon::None;
    std::string reason;  // the cause behind the message: the file, the system's text, the value
    // The loop number in normal form once it passed its checks (007 becomes 7).
    std::optional<int16_t> loopNumber;
    std::string loopFolder;  // when written or planned
    std::optional<LoopPlan> plan;  // once the source's data size is known
    std::string backupFolder;  // where the replaced loop was backed up, when one was
    std::string recovered;     // what was done about a change an earlier program left half-done
};

// Before an existing loop is replaced, its files go into the backup store (the user data folder);
// when that fails the save is refused and the card stays as it was. The loop is written whole into
// the card's staging folder and takes its number only then (a card transaction): a save that fails
// or is killed leaves the card as it was, or with the whole new loop. `progress` sees the bar's
// total (source bytes \ 1000) and each step. A loop written is named after `namedAfter`, when
// given; a library that cannot be used leaves it unnamed (its report waits in the library).
LoopWriteResult writeLoop(const LoopWriteRequest& request, Files& files,
                          const OverwritePolicy& mayReplace, const Progress& progress);

// "Loop already exists. Overwrite?" with Yes, No and Cancel, the loop folder below it.
OverwritePolicy askBeforeReplacingLoop(Interaction& ui);

}  // namespace brenvik
