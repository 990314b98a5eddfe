#include "TracksToWave.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>

#include "ByteOrder.h"
#include "ByteSource.h"
#include "Checked.h"
#include "WaveHeader.h"

namespace brenvik {

namespace {

constexpr int32_t kStereoByteRate = 176400;  // 44100 x 2 x 16 / 8
constexpr uint16_t kStereoBlockAlign = 4;

// The progress figures count thousands of bytes, as the bar always has: a full mono block adds
// 1048, a full stereo block 524 for each channel.
constexpr double kMonoBlockStep = 1048.0;
constexpr double kStereoChannelStep = 524.0;

// The bar's value is single precision; each step is added in double and rounded back to it.
class ProgressFigures {
public:
    ProgressFigures(const Progress& progress, float total) : m_progress(progress), m_total(total) {
        report();
    }
    void advance(double step) {
        m_done = static_cast<float>(static_cast<double>(m_done) + step);
        report();
    }

private:
    void report() const {
        if (m_progress) m_progress(m_done, m_total);
    }
    const Progress& m_progress;
    float m_total;
    float m_done = 0;
};

// The header comes from the (left) track: tags, format, rate and width stay those of the
// recording; the sizes are written over it.
wave::Header copiedHeader(ByteSource& track) {
    wave::Header header;
    track.readZeroFilled(0, header);
    return header;
}

void setDataSize(wave::Header& header, int32_t dataSize) {
    const int32_t riffSize = checkedAdd<int32_t>(dataSize, wave::kRiffSizeBeyondData);
    writeLe32(header.data() + wave::kRiffSizeOffset, static_cast<uint32_t>(riffSize));
    writeLe32(header.data() + wave::kDataSizeOffset, static_cast<uint32_t>(dataSize));
}

int32_t audioStart(const TrackAudio& track) {
    return checkedAdd<int32_t>(wave::kHeaderSize, track.preBuffer);
}

// Samples as the stereo copy moves them: whole 16-bit units, their bytes in file order.
std::unique_ptr<uint16_t[]> samples(int32_t bytes) {
    return std::make_unique_for_overwrite<uint16_t[]>(static_cast<size_t>(bytes) / 2);
}

std::span<uint8_t> asBytes(uint16_t* data, size_t bytes) {
    return {reinterpret_cast<uint8_t*>(data), bytes};
}

// Reads one channel's part of the block that starts `done` bytes into its audio: up to 512 KiB,
// nothing once the channel has ended. Returns its length in samples; an odd last byte makes a
// sample whose second byte is zero.
size_t readLane(ByteSource& track, const TrackAudio& audio, int32_t start, int32_t done,
                uint16_t* lane) {
    const int32_t bytes = std::clamp(audio.audio - done, 0, kStereoInputBlockBytes);
    if (bytes == 0) return 0;
    track.readZeroFilled(checkedAdd<int32_t>(start, done),
                         asBytes(lane, static_cast<size_t>(bytes)));
    // An odd count is below the lane's even size, so the byte behind it is still in the lane.
    if (bytes % 2 != 0) reinterpret_cast<uint8_t*>(lane)[bytes] = 0;
    return static_cast<size_t>(bytes + 1) / 2;
}

// Frames from..to - 1 of a block: left sample j in the first half of frame j, right sample j in
// the second, both written in the same pass; a channel that has ended is silent. Groups of 16
// frames go through small local arrays, which the compiler turns into vector shuffles; the rest
// goes one frame at a time.
template <bool kLeft, bool kRight>
void weave(const uint16_t* left, const uint16_t* right, uint16_t* frames, size_t from, size_t to) {
    constexpr size_t kGroup = 16;
    size_t j = from;
    for (; j + kGroup <= to; j += kGroup) {
        uint16_t l[kGroup], r[kGroup], both[2 * kGroup];
        if constexpr (kLeft)
            std::memcpy(l, left + j, sizeof l);
        else
            std::memset(l, 0, sizeof l);
        if constexpr (kRight)
            std::memcpy(r, right + j, sizeof r);
        else
            std::memset(r, 0, sizeof r);
        for (size_t k = 0; k < kGroup; ++k) {
            both[2 * k] = l[k];
            both[2 * k + 1] = r[k];
        }
        std::memcpy(frames + 2 * j, both, sizeof both);
    }
    for (; j < to; ++j) {
        frames[2 * j] = kLeft ? left[j] : uint16_t{0};
        frames[2 * j + 1] = kRight ? right[j] : uint16_t{0};
    }
}

}  // namespace

void copyTrackToMonoWave(const std::string& outputPath, const TrackAudio& track,
                         const Progress& progress) {
    const int32_t audio = track.audio;
    const int32_t start = audioStart(track);
    FileSink output(outputPath);
    FileSource source(track.path);

    wave::Header header = copiedHeader(source);
    setDataSize(header, audio);
    output.writeAt(0, header);

    ProgressFigures figures(progress, static_cast<float>(audio / 1000));
    const auto block = std::make_unique_for_overwrite<uint8_t[]>(kMonoBlockBytes);
    // Each block is written straight from the buffer it was read into; the last, shorter one
    // follows the full ones directly, in the track and in the output.
    for (int32_t done = 0, bytes = 0; done < audio; done += bytes) {
        bytes = std::min(audio - done, kMonoBlockBytes);
        const std::span<uint8_t> part(block.get(), static_cast<size_t>(bytes));
        source.readZeroFilled(checkedAdd<int32_t>(start, done), part);
        output.writeAt(checkedAdd<int32_t>(wave::kHeaderSize, done), part);
        figures.advance(bytes == kMonoBlockBytes ? kMonoBlockStep : bytes / 1000);
    }
    output.sync();
    output.close();
}

void interleaveTracksToStereoWave(const std::string& outputPath, const TrackAudio& left,
                                  const TrackAudio& right, const Progress& progress) {
    const int32_t longest = std::max(left.audio, right.audio);
    const int32_t dataSize = checkedMul<int32_t>(2, longest);
    const int32_t leftStart = audioStart(left);
    const int32_t rightStart = audioStart(right);
    FileSink output(outputPath);
    FileSource leftSource(left.path);
    FileSource rightSource(right.path);

    wave::Header header = copiedHeader(leftSource);
    writeLe16(header.data() + wave::kChannelsOffset, 2);
    writeLe32(header.data() + wave::kByteRateOffset, kStereoByteRate);
    writeLe16(header.data() + wave::kBlockAlignOffset, kStereoBlockAlign);
    setDataSize(header, dataSize);
    output.writeAt(0, header);

    ProgressFigures figures(progress, static_cast<float>(static_cast<double>(dataSize) / 1000.0));
    const auto leftLane = samples(kStereoInputBlockBytes);
    const auto rightLane = samples(kStereoInputBlockBytes);
    const auto frames = samples(2 * kStereoInputBlockBytes);
    // `done` counts bytes per channel; output block b starts at 44 + 2 x done.
    for (int32_t done = 0, bytes = 0; done < longest; done += bytes) {
        bytes = std::min(longest - done, kStereoInputBlockBytes);
        const size_t leftCount = readLane(leftSource, left, leftStart, done, leftLane.get());
        const size_t rightCount = readLane(rightSource, right, rightStart, done, rightLane.get());
        const size_t both = std::min(leftCount, rightCount);
        weave<true, true>(leftLane.get(), rightLane.get(), frames.get(), 0, both);
        weave<true, false>(leftLane.get(), nullptr, frames.get(), both, leftCount);
        weave<false, true>(nullptr, rightLane.get(), frames.get(), both, rightCount);
        output.writeAt(checkedAdd<int32_t>(wave::kHeaderSize, 2 * done),
                       asBytes(frames.get(), 2 * static_cast<size_t>(bytes)));
        const double step = bytes == kStereoInputBlockBytes ? kStereoChannelStep : bytes / 1000.0;
        figures.advance(step);
        figures.advance(step);
    }
    output.sync();
    output.close();
}

}  // namespace brenvik
