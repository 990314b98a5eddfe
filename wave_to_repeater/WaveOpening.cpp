#include "WaveOpening.h"

#include <exception>

#include "ByteSource.h"
#include "Messages.h"
#include "RoutineError.h"
#include "WaveHeader.h"
#include "WaveVerdict.h"

namespace brenvik {

namespace {

std::optional<ChannelMode> layoutFor(int16_t channels) {
    if (channels == 1) return ChannelMode::Mono;
    if (channels == 2) return ChannelMode::Stereo;
    return std::nullopt;  // any other count leaves the layout as it is
}

WaveOpenResult refused(WaveOpenResult::Outcome outcome, std::string text, MessageIcon icon,
                       std::string reason = {}) {
    WaveOpenResult result;
    result.outcome = outcome;
    result.message = std::move(text);
    result.icon = icon;
    result.reason = std::move(reason);
    return result;
}

}  // namespace

std::vector<float> buildTempoTable(int32_t bytesPerChannel, int16_t maxBeats) {
    std::vector<float> table(static_cast<size_t>(maxBeats) + 1, 0.0f);
    const double minutes = static_cast<double>(bytesPerChannel) / 2 / wave::kSampleRate / 60;
    for (int i = 1; i <= maxBeats; ++i) {
        const float q = static_cast<float>(minutes / i);
        table[static_cast<size_t>(i - 1)] = static_cast<float>(1.0 / static_cast<double>(q));
    }
    return table;
}

WaveOpenResult openWave(const std::string& path, const Files& files) {
    using Outcome = WaveOpenResult::Outcome;
    if (!files.fileExists(path))
        return refused(Outcome::Missing, message::kFileMissing, MessageIcon::Critical,
                       noFileReason(path));
    WaveVerdict verdict;
    try {
        FileSource source(path);
        verdict = judgeWave(source);
    } catch (const std::exception&) {
        return refused(Outcome::Failed, message::kWaveOpenFailed, MessageIcon::Critical,
                       caughtReason());
    }
    switch (verdict.outcome) {
    case WaveVerdict::Outcome::WalkFailed:
        return refused(Outcome::Failed, message::kWaveOpenFailed, MessageIcon::Critical,
                       verdict.reason);
    case WaveVerdict::Outcome::WrongRate: {
        WaveOpenResult r = refused(Outcome::WrongRate, message::wrongSampleRate(verdict.format.sampleRate),
                                   MessageIcon::None);
        r.layout = layoutFor(verdict.format.channels);
        return r;
    }
    case WaveVerdict::Outcome::WrongBits: {
        WaveOpenResult r = refused(Outcome::WrongBits, message::wrongBitsPerSample(verdict.format.bitsPerSample),
                                   MessageIcon::None);
        r.layout = layoutFor(verdict.format.channels);
        return r;
    }
    case WaveVerdict::Outcome::AcceptFailed: {
        WaveOpenResult r = refused(Outcome::Failed, message::kWaveOpenFailed, MessageIcon::Critical,
                                   verdict.reason);
        r.layout = layoutFor(verdict.format.channels);
        return r;
    }
    case WaveVerdict::Outcome::Accepted: break;
    }
    WaveOpenResult result;
    result.outcome = Outcome::Accepted;
    result.layout = layoutFor(verdict.format.channels);
    result.wave.path = path;
    result.wave.channels = verdict.format.channels;
    result.wave.dataSize = verdict.walk.dataSize;
    result.wave.bytesPerChannel = verdict.bytesPerChannel;
    result.wave.maxBeats = verdict.maxBeats;
    result.wave.tempoTable = buildTempoTable(verdict.bytesPerChannel, verdict.maxBeats);
    return result;
}

}  // namespace brenvik
