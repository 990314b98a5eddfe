#pragma once
// What the loop description says about a loop besides its length: how many beats it holds, how
// they split into bars, the note division, and the track, pan and pitch of each channel; with the
// rules that keep them consistent.
#include <array>
#include <cstdint>
#include <optional>

namespace brenvik {

constexpr int kTrackCount = 4;
constexpr int16_t kLongestBar = 7;  // beats per bar run 1 to 7
constexpr int16_t kLowestPitch = -2400, kHighestPitch = 1200;  // hundredths of a semitone
constexpr int16_t kLowestPan = -100, kHighestPan = 100;         // negative is left

struct ChannelSettings {
    int track = 1;  // 1 to 4
    int16_t pan = 0;
    int16_t pitch = 0;
};

struct LoopSettings {
    // The beats in the loop: its tempo is that of this many beats over the wave's length. The
    // description keeps it in 16 bits; a count beyond them fails the save.
    int32_t beatCount = 1;
    int16_t beatsPerBar = 1;
    int16_t division = 4;
    ChannelSettings left{1};   // the mono or left channel
    ChannelSettings right{2};  // the right channel of a stereo wave
};

// Entry b - 1 is the number of bars when a bar holds b beats (b = 1 to 7), 0 where b does not
// divide the beat count; the last entry is always 0.
using BarChoices = std::array<int32_t, 8>;
BarChoices barChoices(int32_t beats);

// The bar length after `current` in the cycle 1..7, skipping lengths that do not divide the beats;
// nothing when no length does (before any tempo was chosen).
std::optional<int16_t> nextBeatsPerBar(const BarChoices& choices, int16_t current);

// Six and seven beats per bar go in eighths, the others in quarters.
int16_t divisionFor(int16_t beatsPerBar);

}  // namespace brenvik
