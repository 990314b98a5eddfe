#include "LoopLayout.h"

#include <cmath>
#include <limits>

#include "Checked.h"
#include "LoopDescription.h"

namespace brenvik::loop {

int32_t trackSectors(int32_t d, bool stereo) { return d / (stereo ? 2 * kSectorBytes : kSectorBytes); }

int32_t loopSectors(int32_t d) { return d / kSectorBytes; }

int32_t clusterCount(int32_t n) {
    // Formed in double from the start, so no N can overflow the subtraction.
    const double clusters = (static_cast<double>(n) - 1.0) / kClusterSectors + 1.0;
    return checkedCast<int32_t>(std::nearbyint(clusters));
}

int32_t audioLength(int32_t d, bool stereo) {
    return stereo ? 256 * loopSectors(d) : kSectorBytes * trackSectors(d, false);
}

bool exceedsLoop(int64_t d, bool stereo) {
    if (d > std::numeric_limits<int32_t>::max()) return true;
    const auto length = static_cast<int32_t>(d);
    return clusterCount(loopSectors(length)) > ldf::kClusterRoom ||
           trackSectors(length, stereo) - 1 > kMaxEndSector;
}

int32_t longestLoopSource(bool stereo) {
    // Both limits grow with the length, so a bisection finds where they begin to bite.
    int32_t fits = 0;
    int32_t exceeds = std::numeric_limits<int32_t>::max();
    while (exceeds - fits > 1) {
        const int32_t middle = fits + (exceeds - fits) / 2;
        (exceedsLoop(middle, stereo) ? exceeds : fits) = middle;
    }
    return fits;
}

int32_t tempoCode(float t) {
    volatile float tenTimes = t * 10.0f;  // each step rounded to single precision
    const float code = tenTimes - 1.0f;
    return checkedMul<int32_t>(410, checkedCast<int32_t>(std::nearbyint(static_cast<double>(code))));
}

double tempoOfCode(int32_t code) { return (code / 410.0 + 1.0) / 10.0; }

uint8_t int24Byte(int32_t value, int byte) {
    if (byte < 0 || byte > 2) return 0;
    const uint32_t form = static_cast<uint32_t>(value) & 0xFFFFFFu;
    return static_cast<uint8_t>(form >> (8 * byte));
}

}  // namespace brenvik::loop
