#pragma once
// Sample-rate conversion to 44.1 kHz through libsoxr at its high quality (20-bit precision,
// a passband to about 20 kHz, more than 100 dB of stopband), on one thread. It works on
// interleaved float samples and hands its output on in blocks of fixed size, so memory stays the
// same however long the audio is.
#include <functional>
#include <span>
#include <vector>

struct soxr;

namespace brenvik {

class Resampler {
public:
    using Sink = std::function<void(std::span<const float>)>;

    // Throws RoutineError when libsoxr cannot be set up for these rates.
    Resampler(double inputRate, double outputRate, int channels);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Feeds whole frames of input; each block of output goes to `sink`.
    void process(std::span<const float> input, const Sink& sink);
    // The input has ended: the output still held back by the filter goes to `sink`.
    void finish(const Sink& sink);

private:
    soxr* m_soxr = nullptr;
    size_t m_channels;
    std::vector<float> m_output;
};

}  // namespace brenvik
