#pragma once
// What the wave-to-Repeater opener decides about a normal wave file, without any window: the
// chunk walk, the three format fields it reads, and whether it accepts the file or which message
// it shows. Pure: it reads the source and nothing else, so the opener, the command-line tool and
// the tests share one decision.
//
// The opener switches its mono/stereo layout by the channel count before it checks rate and bits,
// so the layout changes for WrongRate, WrongBits and AcceptFailed too, never for WalkFailed.
#include <cstdint>
#include <string>

#include "ByteSource.h"
#include "ChunkWalk.h"

namespace brenvik {

inline constexpr const char* kOpenerErrorMessage = "Error in fileOpeing()";

// "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz".
std::string wrongRateMessage(int32_t sampleRate);
// "Repeater supports 16 bit audio only, this file is 8 bit".
std::string wrongBitsMessage(int16_t bitsPerSample);

struct OpenerVerdict {
    enum class Outcome {
        Accepted,      // 44.1 kHz, 16 bit, and maxBeats fits
        WrongRate,     // the rate message, no icon
        WrongBits,     // the bits message, no icon
        WalkFailed,    // no complete "data" tag and size before the end (or a broken walk, or a
                       // failing read): the error message, critical icon, before any layout change
        AcceptFailed,  // the fields were fine but bytes per channel or maxBeats cannot be
                       // computed (0 channels, maxBeats negative or beyond 16 bits): the error
                       // message, critical icon, after the layout change and the enabling
    };
    Outcome outcome = Outcome::WalkFailed;
    ChunkWalk walk;
    WaveFormatFields format;       // read when the walk found the data chunk
    int32_t bytesPerChannel = 0;   // data size \ channels, when accepted
    int16_t maxBeats = 0;          // bytes per channel \ 22050, when accepted
    std::string message;           // empty when accepted

    bool accepted() const { return outcome == Outcome::Accepted; }
    // The error message carries the critical icon; the two refusals carry none.
    bool critical() const { return outcome == Outcome::WalkFailed || outcome == Outcome::AcceptFailed; }
};

// Bytes of one 16-bit channel at 44.1 kHz in a quarter second: one beat position of tempoCntrl.
constexpr int32_t kQuarterSecondBytes = 22050;

OpenerVerdict openerVerdict(ByteSource& source);

}  // namespace brenvik
