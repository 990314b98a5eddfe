// The track opener's size derivation from a loop description and a track of any length and
// content: the first byte splits the input into the two files.
#include <cstdint>
#include <cstdlib>

#include "ByteSource.h"
#include "RoutineError.h"
#include "TrackSizes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t split = std::min<size_t>(data[0], size - 1);
    brenvik::MemorySource description({data + 1, split});
    brenvik::MemorySource track({data + 1 + split, size - 1 - split});
    const brenvik::TrackInputs inputs = brenvik::readTrackInputs(description, track);
    const int32_t u = brenvik::preBufferSectors(inputs.start);
    if (u < 32 || u > 64) std::abort();
    try {
        const brenvik::TrackSizes sizes = brenvik::deriveTrackSizes(inputs);
        if (static_cast<int64_t>(sizes.pre) + sizes.audio + sizes.post != sizes.total) std::abort();
        (void)brenvik::sizesAcceptable(sizes);
    } catch (const brenvik::RoutineError&) {
        // A post-buffer outside 32 bits: the open command ends without a message.
    }
    return 0;
}
