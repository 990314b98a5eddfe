// The chunk walk and the wave opener's decisions over any bytes: no crash, no hang, no
// allocation from a size field, and a verdict that agrees with itself.
#include <cstdint>
#include <cstdlib>

#include "ByteSource.h"
#include "WaveVerdict.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    brenvik::MemorySource source({data, size});
    const brenvik::WaveVerdict verdict = brenvik::judgeWave(source);
    // Only a walk that found its data chunk reaches a decision on the format.
    const bool found = verdict.walk.end == brenvik::ChunkWalk::End::Data;
    if ((verdict.outcome != brenvik::WaveVerdict::Outcome::WalkFailed) != found) std::abort();
    // An accepted wave has a tempo table to size: maxBeats is bytes per channel \ 22050 and never
    // negative. A data size just below 0 (less than a quarter second a channel) still makes 0
    // beats and is accepted; writing the loop then fails with the saver's own message.
    const int32_t beats = verdict.bytesPerChannel / brenvik::kQuarterSecondBytes;
    if (verdict.accepted() && (verdict.maxBeats < 0 || verdict.maxBeats != beats)) std::abort();
    return 0;
}
