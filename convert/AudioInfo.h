#pragma once
// What an audio file is, read before anything is converted: its container, rate, width,
// channels and length, whether the Repeater can take it as it is, and whether it fits a loop once
// converted to 44.1 kHz 16 bit.
#include <cstdint>
#include <optional>
#include <string>

#include "ChannelChoice.h"

namespace brenvik {

enum class SampleEncoding { Integer, Float, Other };

struct AudioInfo {
    std::string formatName;    // the container as libsndfile names it, e.g. "WAV (Microsoft)"
    std::string encodingName;  // e.g. "Signed 24 bit PCM", "32 bit float"
    // The container's short name when it is not a wave ("AIFF", "FLAC"), else empty.
    std::string containerName;
    SampleEncoding encoding = SampleEncoding::Other;
    int bits = 0;  // of an integer or float sample; 0 for compressed or companded encodings
    int32_t sampleRate = 0;
    int channels = 0;
    int64_t frames = 0;

    // False only for a 44.1 kHz 16-bit PCM WAV of one or two channels: the Repeater plays it
    // as it is, so it goes to the loop writer byte for byte.
    bool needsConverting = true;
    // 16-bit samples carry the source exactly: an integer source of at most 16 bits at 44.1 kHz,
    // whose picked channels pass unchanged. Anything else is rounded to 16 bits with dither.
    bool lossless = false;

    // The loop it becomes: channels after the choice, frames at 44.1 kHz.
    int loopChannels = 0;
    int64_t loopFrames = 0;
    bool fitsLoop = false;
    int64_t longestLoopFrames = 0;  // the most a loop of loopChannels can hold

    double seconds() const;
    double loopSeconds() const;
    double longestLoopSeconds() const;
};

struct AudioProbe {
    std::optional<AudioInfo> info;
    std::string message;  // why the file cannot be converted, when there is no info
};

AudioProbe probeAudio(const std::string& path, const ChannelChoice& choice = {});

// What the caller says before converting a file that would not fit a loop: its length and the
// longest that fits, in minutes and seconds.
std::string loopTooLongMessage(const std::string& path, const AudioInfo& info);

// "48 kHz 24-bit → 44.1 kHz 16-bit": what the conversion of this file changes (the channels
// named when they change). A file of another container names it and what it becomes:
// "AIFF 44.1 kHz 16-bit → 44.1 kHz 16-bit wave".
std::string conversionSummary(const AudioInfo& info);

}  // namespace brenvik
