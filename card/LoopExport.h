#pragma once
// A loop written out as waves in one step, through the Repeater-to-wave window's own open and
// save procedures: two chosen tracks of equal length become one stereo LOOPn.wav (the lower
// track number as left: the description does not record which was left), any other chosen track
// its own LOOPn-trackK.wav; a loop with a name has it behind the number, "LOOPn Intro groove.wav".
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CallerHooks.h"
#include "Files.h"
#include "LoopContents.h"

namespace brenvik::card {

struct WavePlan {
    std::string fileName;     // LOOP7.wav, LOOP7-track3.wav or LOOP7 Intro groove.wav
    std::vector<int> tracks;  // one track (mono) or left and right
};

// The waves a loop becomes. Without a readable description the track files present stand for
// the chosen tracks (the open then reports the missing description). `loopName` is the name the
// loop has, empty for none.
std::vector<WavePlan> wavesOfLoop(const LoopContents& contents, const std::string& loopName = {});

struct ExportOutcome {
    enum class Result {
        Written,
        Kept,     // the wave existed and was not to be replaced
        Refused,  // the opener refused a track: `message` holds its text
        Failed,  // the wave could not be written: `message` names it (or the loop, when no wave was
                 // begun), `reason` says why
        Damaged,  // a chosen track is damaged and the loop was not to be exported: `message` says
                  // so, `reason` names the problems
    };
    Result result = Result::Failed;
    std::string outputPath;
    std::string message;
    MessageIcon icon = MessageIcon::None;
    std::string reason;  // the cause behind the message
};

// Makes the folder an export writes into, with any missing folders above it: nothing when it is
// there now, else why not.
std::optional<std::string> makeExportFolder(Files& files, const std::string& folder);

// Whether a loop whose check finds a problem with a chosen track (its audio would come out as
// silence, or not at all) is exported all the same; told the loop's name and the problems, one
// line each.
using DamagedLoopPolicy = std::function<bool(const std::string& loopName, const std::string& problems)>;

// Writes the waves of the loop folder into toFolder, which must not be that loop folder itself; a
// wave that exists is replaced only as `mayReplace` says (Cancel keeps it too), and when toFolder
// is another loop folder, that loop goes into the backup store before each wave is written. No
// save, restore or other export writes into toFolder meanwhile (when it stays held, the one outcome
// says the card is busy). Messages are returned, not shown. `progress` sees each wave's copy from
// the start; after each wave it is told 0 done. The waves carry `loopName` in their file names (see
// wavesOfLoop). Nothing is thrown: a wave that could not be written is a Failed outcome naming it,
// with the system's reason.
std::vector<ExportOutcome> exportLoop(const std::string& loopFolder, const std::string& toFolder,
                                      Files& files, const OverwritePolicy& mayReplace,
                                      const Progress& progress, const DamagedLoopPolicy& exportDamaged,
                                      const std::string& loopName = {});

}  // namespace brenvik::card
