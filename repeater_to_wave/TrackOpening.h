#pragma once
// Opening one track file of a Repeater loop folder: the loop description loopinfo.ldf beside it
// and the track's header tell how its data splits into pre-buffer, audio and post-buffer.
#include <cstdint>
#include <string>

#include "CallerHooks.h"
#include "Files.h"
#include "TrackSizes.h"

namespace brenvik {

struct OpenedTrack {
    std::string path;       // as the open dialog returned it
    std::string loopName;   // the loop folder's name, such as LOOP001
    std::string trackName;  // the file name up to its first ".", such as track1
    TrackSizes sizes;
    // The audio bytes the file really holds behind its pre-buffer, up to the audio's size: less
    // when the file was cut short, and the wave is silent from there on.
    int64_t heldAudio = 0;

    bool holdsAllAudio() const { return heldAudio >= sizes.audio; }
};

// "/card/LOOP7/track2.wav holds 3.2 s of the loop's 16.0 s: the wave is silent after 3.2 s".
std::string shortTrackWarning(const OpenedTrack& track);

struct TrackOpenResult {
    enum class Outcome {
        Opened,
        DescriptionMissing,  // no loopinfo.ldf beside the track (told before a missing track)
        TrackMissing,
        Untrimmed,  // a size is negative or the audio exceeds the data: both channels are emptied
        Failed,     // a file cannot be read or a size leaves 32 bits: the window shows nothing
    };
    Outcome outcome = Outcome::Failed;
    OpenedTrack track;    // when Opened
    std::string message;  // for the three refusals
    MessageIcon icon = MessageIcon::None;
    std::string reason;  // the cause behind a refusal or failure
};

// A name without a folder (the empty name of a first cancelled dialog) has no description beside
// it.
TrackOpenResult openTrack(const std::string& path, const Files& files);

}  // namespace brenvik
