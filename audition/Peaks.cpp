#include "Peaks.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ByteSource.h"
#include "SampleBlock.h"

namespace brenvik::audition {

namespace {

// The plain way, for a block's samples one by one: the last, shorter block and machines
// without SSE2.
void blockPeaks(const int16_t* samples, int64_t frames, int channels, Peak* out) {
    for (int c = 0; c < channels; ++c) {
        int16_t low = samples[c], high = samples[c];
        for (int64_t f = 1; f < frames; ++f) {
            low = std::min(low, samples[f * channels + c]);
            high = std::max(high, samples[f * channels + c]);
        }
        out[c] = Peak{low, high};
    }
}

#if defined(__SSE2__)
// A full block, eight samples at a time. Interleaved stereo keeps the left samples in the even
// lanes and the right ones in the odd lanes, so folding the lanes in halves down to two (stereo)
// or one (mono) gives each channel's extreme.
void fullBlockPeaks(const int16_t* samples, int channels, Peak* out) {
    const auto* v = reinterpret_cast<const __m128i*>(samples);
    __m128i low = _mm_loadu_si128(v), high = low;
    for (int64_t i = 1; i < kPeakBlockFrames * channels / 8; ++i) {
        const __m128i x = _mm_loadu_si128(v + i);
        low = _mm_min_epi16(low, x);
        high = _mm_max_epi16(high, x);
    }
    low = _mm_min_epi16(low, _mm_srli_si128(low, 8));
    high = _mm_max_epi16(high, _mm_srli_si128(high, 8));
    low = _mm_min_epi16(low, _mm_srli_si128(low, 4));
    high = _mm_max_epi16(high, _mm_srli_si128(high, 4));
    if (channels == 1) {
        low = _mm_min_epi16(low, _mm_srli_si128(low, 2));
        high = _mm_max_epi16(high, _mm_srli_si128(high, 2));
    }
    out[0] = Peak{static_cast<int16_t>(_mm_extract_epi16(low, 0)),
                  static_cast<int16_t>(_mm_extract_epi16(high, 0))};
    if (channels == 2)
        out[1] = Peak{static_cast<int16_t>(_mm_extract_epi16(low, 1)),
                      static_cast<int16_t>(_mm_extract_epi16(high, 1))};
}
#else
void fullBlockPeaks(const int16_t* samples, int channels, Peak* out) {
    blockPeaks(samples, kPeakBlockFrames, channels, out);
}
#endif

}  // namespace

void peaksOfSamples(const int16_t* samples, int64_t frames, int channels, Peak* out) {
    for (int64_t first = 0; first < frames; first += kPeakBlockFrames, out += channels) {
        const int64_t count = std::min(kPeakBlockFrames, frames - first);
        if (count == kPeakBlockFrames)
            fullBlockPeaks(samples + first * channels, channels, out);
        else
            blockPeaks(samples + first * channels, count, channels, out);
    }
}

void computePeaks(const SampleRun& run, const PeakReceiver& receive) {
    FileSource file(run.path);
    const int64_t frameBytes = 2 * run.channels;
    // 1 MiB holds a whole number of blocks of mono and of stereo frames.
    const int64_t readFrames = kPeakReadBytes / frameBytes;
    static_assert(kPeakReadBytes % (kPeakBlockFrames * 4) == 0);
    std::vector<int16_t> samples(static_cast<size_t>(readFrames * run.channels));
    std::vector<Peak> peaks(static_cast<size_t>(peakBlocks(readFrames) * run.channels));
    for (int64_t first = 0; first < run.frames; first += readFrames) {
        const int64_t frames = std::min(readFrames, run.frames - first);
        readSamples(file, run.offset + first * frameBytes,
                    std::span(samples).first(static_cast<size_t>(frames * run.channels)));
        peaksOfSamples(samples.data(), frames, run.channels, peaks.data());
        const auto count = static_cast<size_t>(peakBlocks(frames) * run.channels);
        if (!receive(first / kPeakBlockFrames, std::span<const Peak>(peaks).first(count))) return;
    }
}

}  // namespace brenvik::audition
