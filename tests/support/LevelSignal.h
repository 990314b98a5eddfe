#pragma once
// A master whose peaks lie between its samples: the odd harmonics of 1 kHz up to 15 kHz (a
// band-limited square wave), known at any instant, so a test can tell independently what any
// resampling of it holds. Sampled at 48 kHz its highest sample lies 0.64 dB below its true peak.
// It fades in and out over 20 ms, so that no resampler rings at its edges.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace brenvik::test {

// The signal at `seconds` into a master `length` seconds long.
inline double oversSignal(double seconds, double length) {
    constexpr double kFade = 0.02;
    const double edge = std::clamp(std::min(seconds, length - seconds) / kFade, 0.0, 1.0);
    double value = 0;
    for (int k = 1; k <= 15; k += 2) value += std::sin(2 * std::numbers::pi * 1000.0 * k * seconds) / k;
    return value * (1 - std::cos(std::numbers::pi * edge)) / 2;
}

// `frames` frames of the signal at `rate`, scaled so that its highest sample there is `peak`,
// in every channel; the scale used.
inline double writeOvers(const std::string& path, int format, int rate, int channels, int64_t frames, double peak) {
    std::vector<double> samples(size_t(frames * channels));
    double highest = 0;
    const double length = double(frames) / rate;
    for (int64_t n = 0; n < frames; ++n) highest = std::max(highest, std::abs(oversSignal(double(n) / rate, length)));
    const double scale = peak / highest;
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = scale * oversSignal(double(i / size_t(channels)) / rate, length);
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) throw std::runtime_error(sf_strerror(nullptr));
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    sf_writef_double(file, samples.data(), frames);
    sf_close(file);
    return scale;
}

}  // namespace brenvik::test
