#pragma once
// Tones in audio: files of sine tones in any container, rate and width libsndfile writes (the
// converter's inputs), and measuring tones by a single-bin DFT: the tests look at a few known
// frequencies, so no FFT is needed.
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace brenvik::test {

// Channel c carries a sine of frequencies[c] (the last one for the channels beyond).
inline void writeTones(const std::string& path, int format, int rate, int channels, int64_t frames,
                       const std::vector<double>& frequencies, double amplitude) {
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) throw std::runtime_error(sf_strerror(nullptr));
    std::vector<double> samples(size_t(frames * channels));
    for (size_t i = 0; i < samples.size(); ++i) {
        const double frequency = frequencies[std::min(i % size_t(channels), frequencies.size() - 1)];
        samples[i] = amplitude * std::sin(2 * std::numbers::pi * frequency * double(i / size_t(channels)) / rate);
    }
    sf_writef_double(file, samples.data(), frames);
    sf_close(file);
}

struct Audio {
    int format = 0, rate = 0, channels = 0;
    int64_t frames = 0;
    std::vector<double> samples;  // interleaved, full scale +-1.0
    double at(size_t frame, int channel) const {
        return samples[frame * size_t(channels) + size_t(channel)];
    }
};

struct ToneFit {
    double amplitude = 0,
           residualRms = 0;  // the residual: what is left once the sine is taken away
};

// One frequency over `count` frames from `start`; whole cycles, so no window is needed.
inline ToneFit fitTone(const Audio& a, int channel, double frequency, size_t start, size_t count) {
    const double w = 2 * std::numbers::pi * frequency / a.rate;
    double c = 0, s = 0, residual = 0;
    for (size_t i = 0; i < count; ++i) {
        c += a.at(start + i, channel) * std::cos(w * double(i)) * 2 / double(count);
        s += a.at(start + i, channel) * std::sin(w * double(i)) * 2 / double(count);
    }
    for (size_t i = 0; i < count; ++i)
        residual += std::pow(
            a.at(start + i, channel) - c * std::cos(w * double(i)) - s * std::sin(w * double(i)),
            2);
    return {std::hypot(c, s), std::sqrt(residual / double(count))};
}

inline double dB(double ratio) {
    return 20 * std::log10(ratio);
}

}  // namespace brenvik::test
