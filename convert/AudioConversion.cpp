#include "AudioConversion.h"

#include <algorithm>
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

// Writes 16-bit samples behind the header's room, counting the frames.
class WaveBody {
public:
    WaveBody(StagedFile& file, int channels, bool dither, std::string tooLong)
        : m_file(file), m_channels(channels), m_reducer(dither), m_tooLong(std::move(tooLong)) {}

    void append(std::span<const float> samples) {
        m_bytes.resize(2 * samples.size());
        m_reducer.reduce(samples, m_bytes);
        if (m_dataBytes + static_cast<int64_t>(m_bytes.size()) > kLongestWaveData)
            throw ConvertError(m_tooLong);
        m_file.writeAt(wave::kHeaderSize + m_dataBytes, m_bytes);
        m_dataBytes += static_cast<int64_t>(m_bytes.size());
    }
    int64_t frames() const { return m_dataBytes / (2 * m_channels); }
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

int64_t convertSamples(SoundFile& input, const AudioInfo& info, const ChannelChoice& choice,
                       StagedFile& target, const Progress& progress) {
    const bool resample = info.sampleRate != wave::kSampleRate;
    WaveBody body(target, info.loopChannels, !info.lossless, message::tooLongForWave(input.path()));
    std::optional<Resampler> resampler;
    if (resample) resampler.emplace(info.sampleRate, wave::kSampleRate, info.loopChannels);
    const auto append = [&](std::span<const float> samples) { body.append(samples); };

    const size_t blockFrames =
        std::max<size_t>(1, kBlockSamples / static_cast<size_t>(info.channels));
    std::vector<float> block(blockFrames * static_cast<size_t>(info.channels));
    std::vector<float> mixed(
        info.channels > 2 ? blockFrames * static_cast<size_t>(info.loopChannels) : 0);
    int64_t read = 0;
    while (const size_t frames = input.readFrames(block)) {
        std::span<const float> samples =
            std::span<const float>(block).first(frames * static_cast<size_t>(info.channels));
        if (info.channels > 2) {
            const std::span<float> out =
                std::span<float>(mixed).first(frames * static_cast<size_t>(info.loopChannels));
            mixChannels(samples, info.channels, choice, out);
            samples = out;
        }
        if (resampler)
            resampler->process(samples, append);
        else
            append(samples);
        read += static_cast<int64_t>(frames);
        if (progress) progress(static_cast<float>(read), static_cast<float>(info.frames));
    }
    if (resampler) resampler->finish(append);
    body.writeHeader();
    return body.frames();
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
        if (info.needsConverting) {
            result.frames = convertSamples(input, info, request.channels, target, progress);
        } else {
            copyUnchanged(request.source, target, progress);
            result.frames = info.frames;
        }
        target.commit(files);
        result.outcome = info.needsConverting ? ConversionResult::Outcome::Converted
                                              : ConversionResult::Outcome::Copied;
    } catch (const ConvertError& e) {
        result.message = e.what();
    } catch (const RoutineError& e) {
        result.message = message::audioUnreadable(request.source, e.what());
    }
    return result;
}

}  // namespace brenvik
