#pragma once
// A drum groove whose tempo a test knows: exactly `bars` bars of 4/4 at `bpm`, a low thump on
// each beat (louder on the first of the bar) and a quieter burst of noise between beats, as
// 16-bit samples, the same in each channel. The hits wrap round at the end, as in a loop.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "ByteWriter.h"

namespace brenvik::test {

inline std::vector<uint8_t> groove(double bpm, int bars, int channels, int rate = 44100) {
    const double beat = 60.0 * rate / bpm;
    const auto frames = static_cast<size_t>(std::lround(4 * bars * beat));
    std::vector<double> mix(frames, 0.0);
    uint32_t noise = 1;
    for (int b = 0; b < 4 * bars; ++b) {
        const auto start = static_cast<size_t>(std::lround(b * beat));
        const auto between = static_cast<size_t>(std::lround((b + 0.5) * beat));
        for (size_t i = 0; i < 4000; ++i) {
            const double t = double(i) / rate;
            mix[(start + i) % frames] +=
                (b % 4 == 0 ? 0.7 : 0.5) * std::sin(2 * std::numbers::pi * 80 * t) * std::exp(-t * 30);
            noise = noise * 1664525u + 1013904223u;
            if (i < 1500) mix[(between + i) % frames] += 0.1 * (double(noise) / 2147483648.0 - 1) * std::exp(-t * 90);
        }
    }
    ByteWriter samples;
    for (double value : mix)
        for (int c = 0; c < channels; ++c)
            samples.le16(static_cast<int32_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767)));
    return samples.bytes();
}

}  // namespace brenvik::test
