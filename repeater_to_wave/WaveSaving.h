#pragma once
// Saving opened Repeater tracks as a normal wave without their gaps: the overwrite question, the
// busy pointer and the copy, shared by the Repeater-to-wave window and brenvik-cli to-wave.
#include <optional>
#include <string>

#include "Channels.h"
#include "Platform.h"
#include "TrackOpening.h"
#include "TracksToWave.h"

namespace brenvik {

struct WaveSaveRequest {
    std::string outputPath;  // empty after a cancelled save dialog: the save then fails
    ChannelMode mode = ChannelMode::Mono;
    TrackAudio left;                  // the mono or left track
    std::optional<TrackAudio> right;  // stereo
    FileDialogRequest dialog;         // shown again when the overwrite question is answered No
};

struct WaveSaveResult {
    enum class Outcome {
        Written,    // the caller shows "File writing successful" and then empties the progress bar
        Cancelled,  // the user answered Cancel to the overwrite question: nothing more is shown
        Failed,     // the caller reports the failure; what was written stays on disk
    };
    Outcome outcome = Outcome::Failed;
    std::string outputPath;  // the name finally chosen
};

// Asks before replacing an existing file: Yes deletes it first (so no tail of a longer old file
// stays), No shows the save dialog again with the refused name and starts over with what it
// returns (a cancelled dialog keeps the name), Cancel ends the save. The busy pointer shows from
// then on and is back to normal when this returns.
// Where an opened track's audio lies, from the sizes its channel shows: the save does not read
// the loop description again.
TrackAudio audioOf(const OpenedTrack& track);

WaveSaveResult saveWave(const WaveSaveRequest& request, Platform& platform,
                        const Progress& progress);

}  // namespace brenvik
