#pragma once
// Opening one track file of a Repeater loop folder: the loop description loopinfo.ldf beside it
// and the track's header tell how its data splits into pre-buffer, audio and post-buffer.
#include <string>

#include "CoreSeam.h"
#include "Files.h"
#include "TrackSizes.h"

namespace brenvik {

struct OpenedTrack {
    std::string path;       // as the open dialog returned it
    std::string loopName;   // the loop folder's name, such as LOOP001
    std::string trackName;  // the file name up to its first ".", such as track1
    TrackSizes sizes;
};

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
