#include "SoundFile.h"

#include <algorithm>
#include <vector>

#include "ConvertError.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "WaveHeader.h"

namespace brenvik {

namespace {

std::string formatName(int format) {
    SF_FORMAT_INFO info{};
    info.format = format;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0 || !info.name) return {};
    return info.name;
}

// The sample encodings whose width is a number of bits; the others (companded, compressed) have
// none.
struct Width {
    int subtype;
    SampleEncoding encoding;
    int bits;
};
constexpr Width kWidths[] = {
    {SF_FORMAT_PCM_S8, SampleEncoding::Integer, 8},
    {SF_FORMAT_PCM_U8, SampleEncoding::Integer, 8},
    {SF_FORMAT_PCM_16, SampleEncoding::Integer, 16},
    {SF_FORMAT_PCM_24, SampleEncoding::Integer, 24},
    {SF_FORMAT_PCM_32, SampleEncoding::Integer, 32},
    {SF_FORMAT_FLOAT, SampleEncoding::Float, 32},
    {SF_FORMAT_DOUBLE, SampleEncoding::Float, 64},
};

void setWidth(AudioInfo& a, int subtype) {
    for (const Width& width : kWidths)
        if (width.subtype == subtype) a.encoding = width.encoding, a.bits = width.bits;
}

// The frames read at a time when a file's length has to be counted, and where counting stops:
// no 16-bit wave holds that many frames, so the file is too long whatever follows.
constexpr size_t kCountingFrames = 4096;
constexpr sf_count_t kMostCountedFrames = sf_count_t{1} << 31;

// The frames at 44.1 kHz that the resampler gives for `frames` at `rate`: the exact ratio,
// rounded to the nearest frame (held below 2^53, far beyond any wave, so nothing overflows).
int64_t framesAt44k(int64_t frames, int32_t rate) {
    const long double exact = static_cast<long double>(frames) * wave::kSampleRate / rate;
    return static_cast<int64_t>(std::min(exact + 0.5L, 0x1p53L));
}

}  // namespace

SoundFile::SoundFile(const std::string& path) : m_path(path) {
    m_file = sf_open(path.c_str(), SFM_READ, &m_info);
    if (!m_file) throw ConvertError(message::audioUnreadable(path, sf_strerror(nullptr)));
    if (m_info.channels < 1 || m_info.samplerate < 1 || m_info.frames < 0) {
        sf_close(m_file);
        throw ConvertError(message::audioUnreadable(path, "no channels, sample rate or length"));
    }
    // A FLAC stream may leave its length unrecorded (an encoder writing to a pipe cannot go back
    // to fill it in); libsndfile then reports the largest count. Such a file is read through
    // once to count its frames.
    if (m_info.frames == SF_COUNT_MAX) {
        try {
            m_info.frames = countFrames();
        } catch (const ConvertError&) {
            sf_close(m_file);
            throw;
        }
    }
}

sf_count_t SoundFile::countFrames() {
    std::vector<float> block(kCountingFrames * static_cast<size_t>(m_info.channels));
    sf_count_t frames = 0;
    while (frames <= kMostCountedFrames) {
        const size_t got = readFrames(block);
        if (got == 0) break;
        frames += static_cast<sf_count_t>(got);
    }
    rewind();
    return frames;
}

void SoundFile::rewind() {
    if (sf_seek(m_file, 0, SEEK_SET) != 0)
        throw ConvertError(message::audioUnreadable(m_path, sf_strerror(m_file)));
}

SoundFile::~SoundFile() {
    sf_close(m_file);
}

AudioInfo SoundFile::describe(const ChannelChoice& choice) const {
    AudioInfo a;
    const int container = m_info.format & SF_FORMAT_TYPEMASK;
    const int subtype = m_info.format & SF_FORMAT_SUBMASK;
    a.formatName = formatName(container);
    a.encodingName = formatName(subtype);
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX)
        a.containerName = a.formatName.substr(0, a.formatName.find(' '));
    setWidth(a, subtype);
    a.sampleRate = m_info.samplerate;
    a.channels = m_info.channels;
    a.frames = std::min<int64_t>(m_info.frames, int64_t{1} << 53);
    if (const auto missing = missingChannel(a.channels, choice))
        throw ConvertError(message::noSuchChannel(m_path, a.channels, *missing));

    const bool at44k = a.sampleRate == wave::kSampleRate;
    const bool riffWave = (container == SF_FORMAT_WAV || container == SF_FORMAT_WAVEX) &&
                          (m_info.format & SF_FORMAT_ENDMASK) != SF_ENDIAN_BIG;
    a.needsConverting = !(riffWave && subtype == SF_FORMAT_PCM_16 && at44k && a.channels <= 2);
    const bool picksOnly = a.channels <= 2 || choice.mix == ChannelChoice::Mix::Pick;
    a.lossless = a.encoding == SampleEncoding::Integer && a.bits <= 16 && at44k && picksOnly;

    a.loopChannels = chosenChannels(a.channels, choice);
    a.loopFrames = at44k ? a.frames : framesAt44k(a.frames, a.sampleRate);
    const int32_t longest = loop::longestLoopSource(a.loopChannels == 2);
    a.longestLoopFrames = longest / (2 * a.loopChannels);
    a.fitsLoop = a.loopFrames <= a.longestLoopFrames;
    return a;
}

size_t SoundFile::readFrames(std::span<float> out) {
    const sf_count_t wanted = static_cast<sf_count_t>(out.size()) / m_info.channels;
    const sf_count_t got = sf_readf_float(m_file, out.data(), wanted);
    if (got < wanted && sf_error(m_file) != SF_ERR_NO_ERROR)
        throw ConvertError(message::audioUnreadable(m_path, sf_strerror(m_file)));
    return static_cast<size_t>(got);
}

}  // namespace brenvik
