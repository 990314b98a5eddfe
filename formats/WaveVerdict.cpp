#include "WaveVerdict.h"

#include <exception>
#include <string>

#include "Checked.h"
#include "WaveHeader.h"

namespace brenvik {

WaveVerdict judgeWave(ByteSource& source) {
    WaveVerdict v;
    try {
        v.walk = walkChunks(source);
        if (v.walk.end == ChunkWalk::End::EndOfFile)
            v.reason = "no data chunk before the end of the file";
        if (v.walk.end == ChunkWalk::End::Broken)
            v.reason = "the chunk sizes lead outside the file";
        if (v.walk.end != ChunkWalk::End::Data) return v;
        v.format = readFormatFields(source, v.walk);
    } catch (const std::exception&) {
        v.reason = caughtReason();
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
        if (v.format.channels == 0) throw RoutineError("the format gives 0 channels");
        v.bytesPerChannel = checkedDiv<int32_t>(v.walk.dataSize, v.format.channels);
        const int32_t beats = v.bytesPerChannel / kQuarterSecondBytes;
        // The tempo table runs from index 0 to maxBeats: a negative count cannot size it.
        if (beats < 0)
            throw RoutineError("a data size of " + std::to_string(v.walk.dataSize) + " bytes in " +
                               std::to_string(v.format.channels) +
                               " channels gives a negative beat count");
        v.maxBeats = checkedCast<int16_t>(beats);
        v.outcome = WaveVerdict::Outcome::Accepted;
    } catch (const std::exception&) {
        v.reason = caughtReason();
        v.outcome = WaveVerdict::Outcome::AcceptFailed;
        v.bytesPerChannel = 0;
        v.maxBeats = 0;
    }
    return v;
}

}  // namespace brenvik
