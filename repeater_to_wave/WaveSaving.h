#pragma once
// Saving opened Repeater tracks as a normal wave without their gaps: the question before an
// existing file is replaced and the copy, shared by the Repeater-to-wave window, brenvik-cli
// to-wave and the card's export.
#include <optional>
#include <string>

#include "CallerHooks.h"
#include "Channels.h"
#include "Files.h"
#include "TrackOpening.h"
#include "TracksToWave.h"

namespace brenvik {

struct WaveSaveRequest {
    std::string outputPath;  // empty after a cancelled save dialog: the save then fails
    ChannelMode mode = ChannelMode::Mono;
    TrackAudio left;                  // the mono or left track
    std::optional<TrackAudio> right;  // stereo
};

struct WaveSaveResult {
    enum class Outcome {
        Written,  // the caller shows "File writing successful" and then empties the progress bar
        Kept,  // the file exists and is not to be replaced (No): the window asks for another name
        Cancelled,  // the file exists and the save was cancelled: nothing more is shown
        Failed,     // the caller shows "error in fileSaving()" and `reason`; what was written stays
        NotBackedUp,  // the file lies in a loop folder that could not be backed up: nothing was
                      // touched; the caller shows "The loop could not be backed up, ..." and `reason`
        IsInput,      // the file is one of the tracks read: nothing was asked or touched
    };
    Outcome outcome = Outcome::Failed;
    std::string reason;  // why it failed: the file, the system's text
    std::string path;    // the file the save was to write
};

// Where an opened track's audio lies, from the sizes its channel shows: the save does not read
// the loop description again.
TrackAudio audioOf(const OpenedTrack& track);

// A file that is one of the tracks is refused before anything else. An existing file is replaced
// only as `mayReplace` says: then it is deleted first, so no tail of a longer old file stays. A
// file inside a loop folder (one holding loopinfo.ldf) is part of a loop: the loop goes into the
// backup store before the file is deleted or written. The copy reports to `progress` from its
// first block on.
WaveSaveResult saveWave(const WaveSaveRequest& request, Files& files,
                        const OverwritePolicy& mayReplace, const Progress& progress);

// The message shown above the reason of a save that failed or was not backed up; empty for the
// other outcomes.
std::string failureMessage(const WaveSaveResult& result);

}  // namespace brenvik
