#pragma once
// What the wave-to-Repeater opener decides about a normal wave file: the chunk walk, the three
// format fields it reads, and whether it accepts the file. Pure: it reads the source and nothing
// else, so the opener, `brenvik-cli info` and the fuzz target share one decision.
//
// The opener switches its mono/stereo layout by the channel count before it checks rate and bits,
// so the layout changes for WrongRate, WrongBits and AcceptFailed too, never for WalkFailed.
#include <cstdint>
#include <string>

#include "ByteSource.h"
#include "ChunkWalk.h"

namespace brenvik {

struct WaveVerdict {
    enum class Outcome {
        Accepted,      // 44.1 kHz, 16 bit, and the beat count fits
        WrongRate,     // refused: not 44100 samples per second
        WrongBits,     // refused: not 16 bits per sample
        WalkFailed,    // no complete "data" tag and size before the end (or a broken walk, or a
                       // failing read): before any layout change
        AcceptFailed,  // the fields were fine but bytes per channel or the beat count cannot be
                       // computed (0 channels, a count negative or beyond 16 bits): after the
                       // layout change and the enabling of the loop controls
    };
    Outcome outcome = Outcome::WalkFailed;
    ChunkWalk walk;
    WaveFormatFields format;       // read when the walk found the data chunk
    int32_t bytesPerChannel = 0;   // data size \ channels, when accepted
    int16_t maxBeats = 0;          // bytes per channel \ 22050, when accepted
    std::string reason;            // why the walk or the acceptance failed

    bool accepted() const { return outcome == Outcome::Accepted; }
};

// Bytes of one 16-bit channel at 44.1 kHz in a quarter second: one beat position of the tempo bar.
constexpr int32_t kQuarterSecondBytes = 22050;

WaveVerdict judgeWave(ByteSource& source);

}  // namespace brenvik
