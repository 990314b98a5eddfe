#include "WaveVerdict.h"

#include <exception>

#include "Checked.h"
#include "WaveHeader.h"

namespace brenvik {

WaveVerdict judgeWave(ByteSource& source) {
    WaveVerdict v;
    try {
        v.walk = walkChunks(source);
        if (v.walk.end != ChunkWalk::End::Data) return v;
        v.format = readFormatFields(source, v.walk);
    } catch (const std::exception&) {
        return v;
    }
    if (v.format.sampleRate != wave::kSampleRate) {
        v.outcome = WaveVerdict::Outcome::WrongRate;
        return v;
    }
    if (v.format.bitsPerSample != wave::kBitsPerSample) {
        v.outcome = WaveVerdict::Outcome::WrongBits;
        return v;
    }
    try {
        v.bytesPerChannel = checkedDiv<int32_t>(v.walk.dataSize, v.format.channels);
        const int32_t beats = v.bytesPerChannel / kQuarterSecondBytes;
        // The tempo table runs from index 0 to maxBeats: a negative count cannot size it.
        if (beats < 0) throw RoutineError("negative tempo table");
        v.maxBeats = checkedCast<int16_t>(beats);
        v.outcome = WaveVerdict::Outcome::Accepted;
    } catch (const std::exception&) {
        v.outcome = WaveVerdict::Outcome::AcceptFailed;
        v.bytesPerChannel = 0;
        v.maxBeats = 0;
    }
    return v;
}

}  // namespace brenvik
