#include "TrackSizeDerivation.h"

#include "Checked.h"
#include "LoopLayout.h"

namespace brenvik::r2w {

int32_t preBufferUnits(int8_t start) {
    // Each band of 32 start values folds into 32..64 sectors. The byte is read signed, so the
    // start bytes 128..255 arrive here as -128..-1.
    const int32_t s = start;
    if (s >= 97) return s - 64;
    if (s >= 65) return s - 32;
    if (s >= 33) return s;
    if (s >= 0) return s + 32;
    if (s >= -32) return s + 64;
    if (s >= -64) return s + 96;
    if (s >= -96) return s + 128;
    return s + 160;
}

TrackSizes deriveTrackSizes(int8_t start, int16_t end, int32_t total) {
    using loop::kSectorBytes;
    TrackSizes sizes;
    sizes.total = total;
    const int32_t sectors = checkedAdd<int32_t>(checkedSub<int32_t>(end, start), 1);
    sizes.audio = checkedMul<int32_t>(sectors, kSectorBytes);
    sizes.pre = checkedMul<int32_t>(preBufferUnits(start), kSectorBytes);
    sizes.post = checkedSub<int32_t>(checkedSub<int32_t>(total, sizes.audio), sizes.pre);
    return sizes;
}

}  // namespace brenvik::r2w
