#include "WaveTempo.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace brenvik::tempo {

namespace {

// The wave is read at its own rate, its channels mixed, and only every 8th sample is analysed:
// an onset needs the moment an attack starts, not the true shape of its spectrum, and leaving out
// samples folds the high frequencies of a hi-hat down instead of losing them. At 44.1 kHz the
// detector then sees 5512 samples a second, in windows of 128 every 32 (5.8 ms): a four-minute
// stereo wave takes about a quarter of a second, where the full rate takes six times as long.
constexpr uint_t kKeepEvery = 8;
constexpr uint_t kWindow = 128;
constexpr uint_t kHop = 32;
// Spectral flux rises with any new sound, low drums as much as bright ones.
constexpr const char* kMethod = "specflux";
constexpr smpl_t kSilenceDb = -70;
// An onset's strength: how far the level rises over the blocks around it.
constexpr size_t kBlocksBefore = 4;
constexpr size_t kBlocksAfter = 4;

struct SourceClose {
    void operator()(aubio_source_t* s) const { del_aubio_source(s); }
};
struct OnsetClose {
    void operator()(aubio_onset_t* o) const { del_aubio_onset(o); }
};
struct VectorClose {
    void operator()(fvec_t* v) const { del_fvec(v); }
};

// The rise of the level at an onset: the loudest block just after it less the mean level of
// the blocks before it, as amplitudes.
double riseAt(const std::vector<double>& levels, size_t block) {
    if (levels.empty()) return 0;
    block = std::min(block, levels.size() - 1);
    double after = 0;
    for (size_t b = block; b < std::min(levels.size(), block + kBlocksAfter); ++b) after = std::max(after, levels[b]);
    double before = 0;
    size_t counted = 0;
    for (size_t b = block >= kBlocksBefore ? block - kBlocksBefore : 0; b < block; ++b, ++counted) before += levels[b];
    if (counted > 0) before /= static_cast<double>(counted);
    return std::max(0.0, std::sqrt(after) - std::sqrt(before));
}

}  // namespace

std::optional<WaveOnsets> findWaveOnsets(const std::string& path) {
    constexpr uint_t kRead = kHop * kKeepEvery;
    const std::unique_ptr<aubio_source_t, SourceClose> source(new_aubio_source(path.c_str(), 0, kRead));
    if (!source) return std::nullopt;
    const uint_t rate = aubio_source_get_samplerate(source.get());
    if (rate < kKeepEvery) return std::nullopt;
    const double analysedRate = static_cast<double>(rate) / kKeepEvery;
    const std::unique_ptr<aubio_onset_t, OnsetClose> detector(
        new_aubio_onset(kMethod, kWindow, kHop, static_cast<uint_t>(analysedRate)));
    const std::unique_ptr<fvec_t, VectorClose> read(new_fvec(kRead)), block(new_fvec(kHop)), found(new_fvec(1));
    if (!detector || !read || !block || !found) return std::nullopt;
    aubio_onset_set_silence(detector.get(), kSilenceDb);

    std::vector<double> levels;  // the mean square of each block analysed
    std::vector<double> times;
    uint64_t frames = 0;
    uint_t count = 0;
    do {
        aubio_source_do(source.get(), read.get(), &count);  // channels mixed, the rest zeros
        frames += count;
        double level = 0;
        for (uint_t i = 0; i < kHop; ++i) {
            const smpl_t sample = read->data[i * kKeepEvery];
            block->data[i] = sample;
            level += static_cast<double>(sample) * sample;
        }
        levels.push_back(level / kHop);
        aubio_onset_do(detector.get(), block.get(), found.get());
        if (found->data[0] != 0) times.push_back(aubio_onset_get_last(detector.get()) / analysedRate);
    } while (count == kRead);

    WaveOnsets result;
    result.seconds = static_cast<double>(frames) / rate;
    for (double seconds : times)
        result.onsets.push_back({seconds, riseAt(levels, static_cast<size_t>(seconds * analysedRate / kHop))});
    return result;
}

std::optional<TempoEstimate> estimateWaveTempo(const std::string& path) {
    const std::optional<WaveOnsets> found = findWaveOnsets(path);
    if (!found) return std::nullopt;
    return estimateFromOnsets(found->onsets, found->seconds);
}

}  // namespace brenvik::tempo
