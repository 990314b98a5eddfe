#pragma once
// The copying half of the save: the audio stretch of one track (mono) or two tracks (stereo)
// into a new wave file, in fixed blocks so memory does not grow with the file, moving the
// progress bar as it goes.
#include <cstdint>
#include <string>

#include "Platform.h"

namespace brenvik::r2w {

// Where a track's audio lies: behind the 44-byte header and pre bytes of pre-buffer.
struct TrackStretch {
    std::string path;
    int32_t pre = 0;
    int32_t audio = 0;
};

constexpr int32_t kMonoBlockBytes = 1048576;
constexpr int32_t kStereoInputBlockBytes = 524288;  // per channel; two make one output block
constexpr int32_t kStereoByteRate = 176400;         // 44100 x 2 x 16 / 8
constexpr int16_t kStereoBlockAlign = 4;

// Each throws RoutineError when a file cannot be opened, read or written or a size leaves the
// 32-bit range; what was written by then stays on disk. A source that ends early reads as zeros.
void writeMonoWave(const std::string& outputPath, const TrackStretch& track, Platform& platform);
void writeStereoWave(const std::string& outputPath, const TrackStretch& left,
                     const TrackStretch& right, Platform& platform);

}  // namespace brenvik::r2w
