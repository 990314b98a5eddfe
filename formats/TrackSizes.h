#pragma once
// How the Repeater-to-wave opener splits an opened track's data chunk into pre-buffer, audio and
// post-buffer. It reads three fields of the loop's description (the start byte and the end word of
// track 1's record and track 1's sector count in the track table, whichever track was opened) and
// the data size of the track's header, and checks nothing else: neither file's tags or length.
#include <cstdint>

#include "ByteSource.h"

namespace brenvik {

// The four byte counts of one opened track; pre + audio + post = total by construction.
struct TrackSizes {
    int32_t pre = 0;
    int32_t audio = 0;
    int32_t post = 0;
    int32_t total = 0;
};

// What the opener reads: s at offset 51 and e at 54 of loopinfo.ldf, total at 40 of the track.
struct TrackInputs {
    int8_t start = 0;   // s, the start byte read as two's complement
    int32_t end = 0;    // e, the end word read unsigned; -1 for the FFFF of an empty track
    int32_t total = 0;  // the track's data size, little-endian signed
};

constexpr int64_t kStartFieldOffset = 51;
constexpr int64_t kEndFieldOffset = 54;
constexpr int64_t kSectorCountOffset = 2063;  // tells an empty track's end word from 65535
constexpr int64_t kTotalFieldOffset = 40;

// Reads the three inputs; bytes missing because a file is shorter read as 0, which is no error.
// Throws RoutineError only when a medium fails.
TrackInputs readTrackInputs(ByteSource& description, ByteSource& track);

// The pre-buffer in 512-byte units from the start byte: always 32 to 64.
int32_t preBufferSectors(int8_t start);

// pre = u x 512, audio = (e - s + 1) x 512 with the signed s itself (not u), post = total -
// audio - pre, all in signed 32-bit arithmetic. Throws RoutineError when the post-buffer leaves
// the 32-bit range (a total near the negative limit); the opener then ends without a message.
TrackSizes deriveTrackSizes(int8_t start, int32_t end, int32_t total);
inline TrackSizes deriveTrackSizes(const TrackInputs& in) {
    return deriveTrackSizes(in.start, in.end, in.total);
}

// The opener's check of one loaded channel: no count negative and total not below audio.
bool sizesAcceptable(const TrackSizes& sizes);

}  // namespace brenvik
