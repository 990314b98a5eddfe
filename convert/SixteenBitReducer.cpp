#include "SixteenBitReducer.h"

#include <algorithm>
#include <cmath>

#include "ByteOrder.h"

namespace brenvik {

namespace {
// The values that round into the 16-bit range.
constexpr float kLowest = -32768.5f, kHighest = 32767.5f;
}  // namespace

// The difference of two uniform values, the two halves of one splitmix64 step: triangular over
// (-1, 1), in steps of the 16-bit sample.
float SixteenBitReducer::nextTriangular() {
    uint64_t z = (m_state += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    z ^= z >> 31;
    constexpr float kUnit = 1.0f / 4294967296.0f;
    return (static_cast<float>(static_cast<uint32_t>(z)) -
            static_cast<float>(static_cast<uint32_t>(z >> 32))) *
           kUnit;
}

void SixteenBitReducer::reduce(std::span<const float> in, std::span<uint8_t> out) {
    for (size_t i = 0; i < in.size(); ++i) {
        float value = in[i] * m_scale;
        m_peak = std::max(m_peak, std::abs(value));
        if (m_dither) value += nextTriangular();
        if (value >= kHighest || value < kLowest) ++m_clipped;
        const long rounded = std::lrint(std::clamp(value, -32768.0f, 32767.0f));
        writeLe16(out.data() + 2 * i, static_cast<uint16_t>(static_cast<int16_t>(rounded)));
    }
}

}  // namespace brenvik
