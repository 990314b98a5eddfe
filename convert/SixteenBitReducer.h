#pragma once
// Reduces samples of full scale +-1.0 to signed 16 bits, clipping what lies beyond full scale.
// With dither, each sample gets triangular (TPDF) noise of up to one step either way before it is
// rounded: the rounding error then carries no trace of the signal, so a quiet tone keeps no
// harmonics, at the cost of a flat noise floor about 96 dB below full scale. The noise comes from
// a generator with a fixed seed, so the same input always gives the same output.
#include <cstdint>
#include <span>

namespace brenvik {

class SixteenBitReducer {
public:
    explicit SixteenBitReducer(bool dither) : m_dither(dither) {}

    // Writes in.size() samples as 16-bit little-endian bytes into out (twice the size).
    void reduce(std::span<const float> in, std::span<uint8_t> out);

private:
    float nextTriangular();

    bool m_dither;
    uint64_t m_state = 0x42726e76696b2021;  // the fixed seed
};

}  // namespace brenvik
