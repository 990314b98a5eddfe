#pragma once
// What a musician hears when auditioning: a source wave from its first frame to its last, or a
// loop's tracks as the Repeater loops them (the audio their end sectors describe, behind the
// pre-buffer and before any post-buffer), as runs of 16-bit samples in files. Preparing a source
// reads only headers and the loop description; the samples stay in the files until played.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TracksToWave.h"

namespace brenvik::audition {

// A stretch of 16-bit little-endian samples in a file: `channels` interleaved (1 or 2), from
// byte `offset` on, `frames` frames long.
struct SampleRun {
    std::string path;
    int64_t offset = 0;
    int64_t frames = 0;
    int channels = 1;
};

// Always heard as stereo. One run of two channels plays as left and right; one mono run plays
// centred, the same sample on both sides; two mono runs play as left and right. The loop lasts
// as long as its longest run, and a shorter run ends in silence, as the Repeater-to-wave save
// writes it.
struct PlaySource {
    std::vector<SampleRun> runs;
    int64_t frames = 0;  // frames of one pass of the loop
};

// A source ready to play, or the reason it cannot be played (in the program's own words) and,
// shown below it, the system's cause when there is one ("... Permission denied").
struct Preparation {
    std::optional<PlaySource> source;
    std::string reason;
    std::string cause;
};

// A normal wave as the wave-to-Repeater window opens it: 44.1 kHz, 16 bit, mono or stereo.
Preparation sourceOfWave(const std::string& path);

// The opened track (mono) or track pair, as the Repeater-to-wave save would write them.
Preparation sourceOfTracks(const TrackAudio& left, const std::optional<TrackAudio>& right);

// A loop folder on the card: its chosen tracks, each from its own record's start and end
// sector. One track plays centred; of two, the one panned further left plays left (the lower
// track number when both are panned alike). A loop of three or four tracks is refused.
Preparation sourceOfLoop(const std::string& loopFolder);

}  // namespace brenvik::audition
