#include "Loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "LoopStream.h"
#include "RoutineError.h"

namespace brenvik::loudness {

namespace {

constexpr unsigned long kSampleRate = 44100;
constexpr size_t kBlockFrames = 16384;

struct StateDeleter {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using State = std::unique_ptr<ebur128_state, StateDeleter>;

// One mono run is heard alone; anything else as left and right.
unsigned channelsOf(const audition::PlaySource& source) {
    return source.runs.size() == 1 && source.runs.front().channels == 1 ? 1 : 2;
}

double decibels(double ratio) {
    return ratio > 0 ? 20 * std::log10(ratio) : -HUGE_VAL;
}

// Rounded first, so that a level just under zero reads 0.0, not -0.0.
std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::round(value * 10) / 10 + 0.0);
    return text;
}

}  // namespace

bool Loudness::silent() const {
    return std::isinf(truePeakDbtp);
}

Loudness measureLoudness(const audition::PlaySource& source, const std::atomic<bool>* stop) {
    const unsigned channels = channelsOf(source);
    const State state(ebur128_init(channels, kSampleRate, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK));
    if (!state) throw RoutineError("loudness measure cannot start");
    audition::LoopStream stream(source, 1);
    // The stream always gives left and right; a mono source has the same sample on both.
    std::vector<int16_t> block(2 * kBlockFrames);
    while (!(stop && *stop)) {
        const size_t frames = stream.read(block.data(), kBlockFrames);
        if (frames == 0) break;
        if (channels == 1)
            for (size_t i = 0; i < frames; ++i) block[i] = block[2 * i];
        if (ebur128_add_frames_short(state.get(), block.data(), frames) != EBUR128_SUCCESS)
            throw RoutineError("loudness measure failed");
    }
    Loudness result;
    ebur128_loudness_global(state.get(), &result.integratedLufs);
    double peak = 0;
    for (unsigned c = 0; c < channels; ++c) {
        double channelPeak = 0;
        ebur128_true_peak(state.get(), c, &channelPeak);
        peak = std::max(peak, channelPeak);
    }
    result.truePeakDbtp = decibels(peak);
    return result;
}

LoudnessResult loudnessOfLoop(const std::string& loopFolder, const std::atomic<bool>* stop) {
    const audition::Preparation prepared = audition::sourceOfLoop(loopFolder);
    if (!prepared.source) return {std::nullopt, prepared.reason};
    try {
        return {measureLoudness(*prepared.source, stop), {}};
    } catch (const std::exception& e) {
        return {std::nullopt, e.what()};
    }
}

std::string loudnessText(const Loudness& loudness) {
    if (loudness.silent()) return "silent";
    const std::string integrated =
        std::isinf(loudness.integratedLufs) ? "below -70" : oneDecimal(loudness.integratedLufs);
    return integrated + " LUFS, true peak " + oneDecimal(loudness.truePeakDbtp) + " dBTP";
}

}  // namespace brenvik::loudness
