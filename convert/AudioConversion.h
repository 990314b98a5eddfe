#pragma once
// Converting an audio file into the wave the Repeater plays: 44.1 kHz, 16-bit PCM, mono or
// stereo. The source is read, mixed to the chosen channels, resampled when its rate differs and
// reduced to 16 bits (with dither unless the 16 bits carry it exactly), in blocks of fixed size:
// memory stays the same however long the file is. A source that needs no converting is copied
// byte for byte. NaN and infinite samples of the source are read as silence, each by itself.
#include <cstdint>
#include <optional>
#include <string>

#include "AudioInfo.h"
#include "CallerHooks.h"
#include "ChannelChoice.h"
#include "Files.h"

namespace brenvik {

struct ConversionRequest {
    std::string source;
    std::string target;  // replaced when it exists: the caller asks first
    ChannelChoice channels;
    double gainDb = 0;  // at most 0: lowers the level before the reduction to 16 bits
    bool fit = false;   // lowers it further, by what the loudest sample lies beyond full scale
};

struct ConversionResult {
    enum class Outcome {
        Converted,
        Copied,  // the source needed no converting: the target holds its bytes
        Failed,  // `message` says why; nothing was left at the target
    };
    Outcome outcome = Outcome::Failed;
    std::string message;
    std::optional<AudioInfo> source;  // what the source is, once it could be read
    int64_t frames = 0;               // written at 44.1 kHz
    int64_t clipped = 0;    // samples set to the end of the 16-bit range
    double peakDb = 0;      // the loudest sample before the reduction, in dB of full scale
    double gainDb = 0;      // the gain applied: the one asked for, and what fitting added
    double excessDb = 0;    // how much lower the level would have to be for nothing to clip
    int64_t nonFinite = 0;  // NaN or infinite samples of the source, each read as 0
};

// `progress` sees how far through the source the conversion is: frames read out of its frames, or
// bytes copied out of its bytes.
ConversionResult convertAudio(const ConversionRequest& request, Files& files,
                              const Progress& progress);

}  // namespace brenvik
