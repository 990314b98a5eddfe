#include "AudioInfo.h"

#include "ConvertError.h"
#include "Messages.h"
#include "SoundFile.h"
#include "WaveHeader.h"

namespace brenvik {

namespace {
double secondsAt(int64_t frames, int32_t rate) {
    return static_cast<double>(frames) / rate;
}
}  // namespace

double AudioInfo::seconds() const {
    return secondsAt(frames, sampleRate);
}
double AudioInfo::loopSeconds() const {
    return secondsAt(loopFrames, wave::kSampleRate);
}
double AudioInfo::longestLoopSeconds() const {
    return secondsAt(longestLoopFrames, wave::kSampleRate);
}

AudioProbe probeAudio(const std::string& path, const ChannelChoice& choice) {
    try {
        return {SoundFile(path).describe(choice), {}};
    } catch (const ConvertError& e) {
        return {std::nullopt, e.what()};
    }
}

std::string loopTooLongMessage(const std::string& path, const AudioInfo& info) {
    return message::tooLongForLoop(path, info.loopSeconds(), info.longestLoopSeconds(),
                                   info.loopChannels == 2);
}

std::string conversionSummary(const AudioInfo& info) {
    const bool channelsChange = info.channels != info.loopChannels;
    std::string from =
        message::audioShape(info.sampleRate, info.bits, info.encoding == SampleEncoding::Float,
                            info.encodingName, info.channels, channelsChange);
    std::string to =
        message::audioShape(wave::kSampleRate, 16, false, {}, info.loopChannels, channelsChange);
    // Otherwise a 44.1 kHz 16-bit AIFF or FLAC would seem to change into itself.
    if (!info.containerName.empty()) {
        from = info.containerName + " " + from;
        to += " wave";
    }
    return message::conversionSummary(from, to);
}

}  // namespace brenvik
