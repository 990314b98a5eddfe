#include "Resampler.h"

#include <soxr.h>

#include <string>

#include "RoutineError.h"

namespace brenvik {

namespace {
constexpr size_t kOutputFrames = 8192;

void check(soxr_error_t error) {
    if (error) throw RoutineError(std::string("resampler: ") + error);
}
}  // namespace

Resampler::Resampler(double inputRate, double outputRate, int channels)
    : m_channels(static_cast<size_t>(channels)), m_output(kOutputFrames * m_channels) {
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(inputRate, outputRate, static_cast<unsigned>(channels), &error, &io,
                         &quality, &runtime);
    check(error);
}

Resampler::~Resampler() {
    soxr_delete(m_soxr);
}

void Resampler::process(std::span<const float> input, const Sink& sink) {
    size_t fed = 0;
    const size_t frames = input.size() / m_channels;
    // The output block may fill before the input is taken up; then the rest goes in next round.
    while (fed < frames) {
        size_t taken = 0;
        size_t made = 0;
        check(soxr_process(m_soxr, input.data() + fed * m_channels, frames - fed, &taken,
                           m_output.data(), kOutputFrames, &made));
        if (made > 0) sink(std::span<const float>(m_output).first(made * m_channels));
        if (taken == 0 && made == 0) throw RoutineError("resampler: no progress");
        fed += taken;
    }
}

void Resampler::finish(const Sink& sink) {
    for (;;) {
        size_t made = 0;
        check(soxr_process(m_soxr, nullptr, 0, nullptr, m_output.data(), kOutputFrames, &made));
        if (made == 0) return;
        sink(std::span<const float>(m_output).first(made * m_channels));
    }
}

}  // namespace brenvik
