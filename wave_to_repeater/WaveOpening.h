#pragma once
// Opening a normal wave for the wave-to-Repeater conversion: which files can become a loop, and
// what an accepted one brings along (its channel count, length in beat positions and the tempo of
// every beat count).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CallerHooks.h"
#include "Channels.h"
#include "Files.h"

namespace brenvik {

struct OpenedWave {
    std::string path;
    int16_t channels = 0;
    int32_t dataSize = 0;  // the data chunk's size field
    int32_t bytesPerChannel = 0;
    // Beat positions of the tempo bar: bytes per channel \ 22050, a quarter second each.
    int16_t maxBeats = 0;
    // Indices 0 to maxBeats: entry i - 1 is the tempo in beats per minute of a loop of i beats;
    // the last entry is 0.
    std::vector<float> tempoTable;

    int16_t defaultTempoPosition() const { return static_cast<int16_t>(maxBeats / 2); }
};

struct WaveOpenResult {
    enum class Outcome { Accepted, Missing, WrongRate, WrongBits, Failed };
    Outcome outcome = Outcome::Failed;
    // The layout of a one- or two-channel file: also when it is refused for its rate or width, or
    // fails after its format was read. The window takes it from an accepted file only.
    std::optional<ChannelMode> layout;
    OpenedWave wave;  // when accepted
    std::string message;
    MessageIcon icon = MessageIcon::None;
    std::string reason;  // the cause behind a refusal or failure

    bool accepted() const { return outcome == Outcome::Accepted; }
};

WaveOpenResult openWave(const std::string& path, const Files& files);

// minutes = bytes per channel / 2 / 44100 / 60 in double precision; entry i - 1 = 1 / q with
// q = minutes / i, each step rounded to single precision as the Repeater's tempo field expects.
std::vector<float> buildTempoTable(int32_t bytesPerChannel, int16_t maxBeats);

}  // namespace brenvik
