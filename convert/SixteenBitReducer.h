#pragma once
// Reduces samples of full scale +-1.0 to signed 16 bits, after a gain, clipping what lies beyond
// full scale; it counts the samples clipped and keeps the highest level it was given.
// With dither, each sample gets triangular (TPDF) noise of up to one step either way before it is
// rounded: the rounding error then carries no trace of the signal, so a quiet tone keeps no
// harmonics, at the cost of a flat noise floor about 96 dB below full scale. The noise comes from
// a generator with a fixed seed, so the same input always gives the same output.
#include <cstdint>
#include <span>

namespace brenvik {

class SixteenBitReducer {
public:
    // `gain` multiplies every sample first (1 leaves them as they are).
    explicit SixteenBitReducer(bool dither, float gain = 1.0f)
        : m_dither(dither), m_scale(gain * 32768.0f) {}

    // Writes in.size() samples as 16-bit little-endian bytes into out (twice the size).
    void reduce(std::span<const float> in, std::span<uint8_t> out);

    // Samples whose rounded value lay beyond the 16-bit range, so that they were set to its end.
    int64_t clipped() const { return m_clipped; }
    // The largest magnitude of a sample after the gain, 1.0 at full scale.
    float peak() const { return m_peak / 32768.0f; }

private:
    float nextTriangular();

    bool m_dither;
    float m_scale;
    int64_t m_clipped = 0;
    float m_peak = 0;
    uint64_t m_state = 0x42726e76696b2021;  // the fixed seed
};

}  // namespace brenvik
