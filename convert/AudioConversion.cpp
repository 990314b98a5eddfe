#include "AudioConversion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "ConvertError.h"
#include "CopyBuffer.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "Resampler.h"
#include "RoutineError.h"
#include "SixteenBitReducer.h"
#include "SoundFile.h"
#include "StagedFile.h"
#include "WaveHeader.h"

namespace brenvik {

namespace {

constexpr size_t kBlockSamples = 65536;
constexpr int64_t kLongestWaveData =
    std::numeric_limits<int32_t>::max() - wave::kRiffSizeBeyondData;

void copyUnchanged(const std::string& source, StagedFile& target, const Progress& progress) {
    FileSource input(source);
    const int64_t size = input.size();
    CopyBuffer buffer(static_cast<size_t>(loop::kCopyChunkBytes));
    for (int64_t offset = 0; offset < size;) {
        const size_t got = input.readAt(offset, buffer);
        if (got == 0) break;
        target.writeAt(offset, buffer.first(got));
        offset += static_cast<int64_t>(got);
        if (progress) progress(static_cast<float>(offset), static_cast<float>(size));
    }
}

// The highest a sample may reach, in 16-bit steps, and still round into the range after the
// dither's noise of up to one step (and a float's rounding of the gain) is added.
constexpr double kHeadroomDithered = 32766.4, kHeadroomPlain = 32767.4;

double decibels(double ratio) { return 20.0 * std::log10(ratio); }
double ratioOf(double decibels) { return std::pow(10.0, decibels / 20.0); }

// Writes 16-bit samples behind the header's room, counting the frames.
class WaveBody {
public:
    WaveBody(StagedFile& file, int channels, bool dither, double gainDb, std::string tooLong)
        : m_file(file),
          m_channels(channels),
          m_reducer(dither, static_cast<float>(ratioOf(gainDb))),
          m_tooLong(std::move(tooLong)) {}

    void append(std::span<const float> samples) {
        m_bytes.resize(2 * samples.size());
        m_reducer.reduce(samples, m_bytes);
        if (m_dataBytes + static_cast<int64_t>(m_bytes.size()) > kLongestWaveData)
            throw ConvertError(m_tooLong);
        m_file.writeAt(wave::kHeaderSize + m_dataBytes, m_bytes);
        m_dataBytes += static_cast<int64_t>(m_bytes.size());
    }
    int64_t frames() const { return m_dataBytes / (2 * m_channels); }
    const SixteenBitReducer& reducer() const { return m_reducer; }
    void writeHeader() {
        m_file.writeAt(0, wave::canonicalHeader(static_cast<int16_t>(m_channels),
                                                static_cast<int32_t>(m_dataBytes)));
    }

private:
    StagedFile& m_file;
    int m_channels;
    SixteenBitReducer m_reducer;
    std::string m_tooLong;
    std::vector<uint8_t> m_bytes;
    int64_t m_dataBytes = 0;
};

// A NaN or infinite sample becomes 0 before the resampler, whose filter would otherwise spread it
// over every output sample within its reach (some 17 ms, written as silence). Returns how many.
int64_t zeroNonFinite(std::span<float> samples) {
    int64_t zeroed = 0;
    for (float& sample : samples)
        if (!std::isfinite(sample)) {
            sample = 0;
            ++zeroed;
        }
    return zeroed;
}

// Reads the source from its first frame through the channel choice and, when its rate differs,
// the resampler, handing the 44.1 kHz samples to `sink`. Returns the non-finite samples zeroed.
int64_t feedSamples(SoundFile& input, const AudioInfo& info, const ChannelChoice& choice,
                    const Resampler::Sink& sink, const Progress& progress) {
    input.rewind();
    std::optional<Resampler> resampler;
    if (info.sampleRate != wave::kSampleRate)
        resampler.emplace(info.sampleRate, wave::kSampleRate, info.loopChannels);
    const size_t blockFrames =
        std::max<size_t>(1, kBlockSamples / static_cast<size_t>(info.channels));
    std::vector<float> block(blockFrames * static_cast<size_t>(info.channels));
    std::vector<float> mixed(
        info.channels > 2 ? blockFrames * static_cast<size_t>(info.loopChannels) : 0);
    int64_t read = 0, zeroed = 0;
    while (const size_t frames = input.readFrames(block)) {
        const std::span<float> got =
            std::span<float>(block).first(frames * static_cast<size_t>(info.channels));
        zeroed += zeroNonFinite(got);
        std::span<const float> samples = got;
        if (info.channels > 2) {
            const std::span<float> out =
                std::span<float>(mixed).first(frames * static_cast<size_t>(info.loopChannels));
            mixChannels(samples, info.channels, choice, out);
            samples = out;
        }
        if (resampler)
            resampler->process(samples, sink);
        else
            sink(samples);
        read += static_cast<int64_t>(frames);
        if (progress) progress(static_cast<float>(read), static_cast<float>(info.frames));
    }
    if (resampler) resampler->finish(sink);
    return zeroed;
}

// The loudest sample the conversion would reduce at no gain, 1.0 at full scale: a pass of its own,
// read and resampled but not written.
double loudestSample(SoundFile& input, const AudioInfo& info, const ChannelChoice& choice,
                     const Progress& progress) {
    float loudest = 0;
    feedSamples(
        input, info, choice,
        [&loudest](std::span<const float> samples) {
            for (float sample : samples) loudest = std::max(loudest, std::abs(sample));
        },
        progress);
    return loudest;
}

// Each of two passes fills half of the progress bar.
Progress halfOf(const Progress& progress, bool second) {
    if (!progress) return {};
    return [progress, second](float done, float total) {
        progress((second ? total + done : done) / 2, total);
    };
}

void convertSamples(SoundFile& input, const AudioInfo& info, const ConversionRequest& request,
                    StagedFile& target, const Progress& progress, ConversionResult& result) {
    const bool dither = !info.lossless || request.gainDb != 0;
    const double headroom = (dither ? kHeadroomDithered : kHeadroomPlain) / 32768.0;
    result.gainDb = request.gainDb;
    // Samples of 16 bits or fewer taken as they are cannot lie beyond full scale.
    const bool fit = request.fit && !(info.lossless && request.gainDb == 0);
    if (fit) {
        const double loudest =
            loudestSample(input, info, request.channels, halfOf(progress, false)) *
            ratioOf(request.gainDb);
        if (loudest > headroom) result.gainDb += decibels(headroom / loudest);
    }
    WaveBody body(target, info.loopChannels, dither, result.gainDb,
                  message::tooLongForWave(input.path()));
    result.nonFinite = feedSamples(
        input, info, request.channels, [&body](std::span<const float> samples) { body.append(samples); },
        fit ? halfOf(progress, true) : progress);
    body.writeHeader();
    result.frames = body.frames();
    result.clipped = body.reducer().clipped();
    const double peak = body.reducer().peak();
    result.peakDb = peak > 0 ? decibels(peak) : -std::numeric_limits<double>::infinity();
    result.excessDb = peak > headroom ? decibels(peak / headroom) : 0;
}

}  // namespace

ConversionResult convertAudio(const ConversionRequest& request, Files& files,
                              const Progress& progress) {
    ConversionResult result;
    try {
        SoundFile input(request.source);
        result.source = input.describe(request.channels);
        const AudioInfo& info = *result.source;
        if (info.loopFrames > kLongestWaveData / (2 * info.loopChannels))
            throw ConvertError(message::tooLongForWave(request.source));
        StagedFile target(request.target);
        // A gain asks for every sample to change, even of a wave the Repeater takes as it is.
        const bool converting = info.needsConverting || request.gainDb != 0;
        if (converting) {
            convertSamples(input, info, request, target, progress, result);
        } else {
            copyUnchanged(request.source, target, progress);
            result.frames = info.frames;
        }
        target.commit(files);
        result.outcome = converting ? ConversionResult::Outcome::Converted
                                              : ConversionResult::Outcome::Copied;
    } catch (const ConvertError& e) {
        result.message = e.what();
    } catch (const RoutineError& e) {
        result.message = message::audioUnreadable(request.source, e.what());
    }
    return result;
}

}  // namespace brenvik
