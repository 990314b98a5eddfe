#pragma once
// The copying half of a save: the audio of one track (mono) or two tracks (stereo) without the
// buffers around it, into a new wave file, in fixed blocks so memory does not grow with the file.
#include <cstdint>
#include <string>

#include "CallerHooks.h"

namespace brenvik {

// Where a track's audio lies: behind the 44-byte header and preBuffer bytes of pre-buffer.
struct TrackAudio {
    std::string path;
    int32_t preBuffer = 0;
    int32_t audio = 0;
};

constexpr int32_t kMonoBlockBytes = 1048576;
constexpr int32_t kStereoInputBlockBytes = 524288;  // per channel; two make one output block

// The output header is the (left) track's, with the sizes, and in stereo the channel count, byte
// rate and block align, written over it. `progress` is told the total first (thousands of audio
// bytes) and then how far the copy has come after each block. Each throws RoutineError when a
// file cannot be opened, read or written, or a size leaves the 32-bit range; what was written by
// then stays on disk. A track that ends early reads as silence.
void copyTrackToMonoWave(const std::string& outputPath, const TrackAudio& track,
                         const Progress& progress);
// Frame k holds left sample k and right sample k; the shorter channel ends in silence.
void interleaveTracksToStereoWave(const std::string& outputPath, const TrackAudio& left,
                                  const TrackAudio& right, const Progress& progress);

}  // namespace brenvik
