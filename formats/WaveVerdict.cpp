#include "WaveVerdict.h"

#include <exception>

#include "Checked.h"
#include "Numbers.h"
#include "WaveHeader.h"

namespace brenvik {

std::string wrongRateMessage(int32_t sampleRate) {
    return "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of " +
           shortestGeneral(static_cast<double>(sampleRate) / 1000.0) + "kHz";
}

std::string wrongBitsMessage(int16_t bitsPerSample) {
    return "Repeater supports 16 bit audio only, this file is " + intToText(bitsPerSample) + " bit";
}

namespace {

void fail(OpenerVerdict& v, OpenerVerdict::Outcome outcome) {
    v.outcome = outcome;
    v.message = kOpenerErrorMessage;
    v.bytesPerChannel = 0;
    v.maxBeats = 0;
}

}  // namespace

OpenerVerdict openerVerdict(ByteSource& source) {
    OpenerVerdict v;
    try {
        v.walk = walkChunks(source);
        if (v.walk.end != ChunkWalk::End::Data) {
            fail(v, OpenerVerdict::Outcome::WalkFailed);
            return v;
        }
        v.format = readFormatFields(source, v.walk);
    } catch (const std::exception&) {
        fail(v, OpenerVerdict::Outcome::WalkFailed);
        return v;
    }
    if (v.format.sampleRate != wave::kSampleRate) {
        v.outcome = OpenerVerdict::Outcome::WrongRate;
        v.message = wrongRateMessage(v.format.sampleRate);
        return v;
    }
    if (v.format.bitsPerSample != wave::kBitsPerSample) {
        v.outcome = OpenerVerdict::Outcome::WrongBits;
        v.message = wrongBitsMessage(v.format.bitsPerSample);
        return v;
    }
    try {
        v.bytesPerChannel = checkedDiv<int32_t>(v.walk.dataSize, v.format.channels);
        const int32_t beats = v.bytesPerChannel / kQuarterSecondBytes;
        // The tempo table runs from index 0 to maxBeats: a negative count cannot size it.
        if (beats < 0) throw RoutineError("negative tempo table");
        v.maxBeats = checkedCast<int16_t>(beats);
        v.outcome = OpenerVerdict::Outcome::Accepted;
    } catch (const std::exception&) {
        fail(v, OpenerVerdict::Outcome::AcceptFailed);
    }
    return v;
}

}  // namespace brenvik
