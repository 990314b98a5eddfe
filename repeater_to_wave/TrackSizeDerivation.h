#pragma once
// How a Repeater track's data chunk divides into pre-buffer, audio and post-buffer, worked out
// from the start and end fields of the loop's first track record and the track's data size.
#include <cstdint>

namespace brenvik::r2w {

// The four byte counts of an opened track; pre + audio + post = total by construction.
struct TrackSizes {
    int32_t pre = 0;
    int32_t audio = 0;
    int32_t post = 0;
    int32_t total = 0;
};

// u: the pre-buffer length in 512-byte units for a signed start byte; always 32..64.
int32_t preBufferUnits(int8_t start);

// Sizes in signed 32-bit arithmetic: audio = (end - start + 1) x 512 with the signed start
// itself, pre = u x 512, post = total - audio - pre. Throws RoutineError when a result leaves
// the 32-bit range.
TrackSizes deriveTrackSizes(int8_t start, int16_t end, int32_t total);

}  // namespace brenvik::r2w
