#include "GapFreeWriter.h"

#include <algorithm>
#include <span>
#include <vector>

#include "ByteOrder.h"
#include "ByteSource.h"
#include "Checked.h"
#include "WaveHeader.h"

namespace brenvik::r2w {

namespace {

// Bytes 0..41 of the header come from the (left) track: tags, format, rate and width stay
// those of the recording. The data size at 40 is written over them afterwards.
constexpr size_t kCopiedHeaderBytes = 42;

// Progress steps per full block, as the progress bar counts them (thousands of bytes, cut).
constexpr double kMonoBlockStep = 1048.0;
constexpr double kStereoChannelStep = 524.0;

wave::Header copiedHeader(ByteSource& track) {
    wave::Header header{};
    track.readZeroFilled(0, std::span(header.data(), kCopiedHeaderBytes));
    return header;
}

void setDataSize(wave::Header& header, int32_t dataSize) {
    const int32_t riffSize = checkedAdd<int32_t>(dataSize, wave::kRiffSizeBeyondData);
    writeLe32(header.data() + wave::kRiffSizeOffset, static_cast<uint32_t>(riffSize));
    writeLe32(header.data() + wave::kDataSizeOffset, static_cast<uint32_t>(dataSize));
}

// The bar's value is single precision; each step is added in double and rounded back to it.
void advanceProgress(Platform& platform, double step) {
    platform.setProgressValue(static_cast<float>(static_cast<double>(platform.progressValue()) + step));
}

int32_t audioStart(const TrackStretch& track) {
    return checkedAdd<int32_t>(wave::kHeaderSize, track.pre);
}

// Spreads the channel's bytes of this block over one lane of the frames: the left sample's two
// bytes at 4j and 4j + 1, the right one's at 4j + 2 and 4j + 3.
void placeLane(std::span<const uint8_t> channel, std::span<uint8_t> frames, size_t lane) {
    for (size_t i = 0; i < channel.size(); ++i) frames[(i / 2) * 4 + lane + i % 2] = channel[i];
}

// Reads the channel's stretch for the block that starts `done` bytes into its audio, or
// nothing once the channel has ended; returns the bytes that belong to the block.
std::span<const uint8_t> readChannelBlock(ByteSource& track, const TrackStretch& stretch,
                                          int32_t start, int32_t done, std::vector<uint8_t>& buffer) {
    const int32_t left = std::clamp(stretch.audio - done, 0, kStereoInputBlockBytes);
    std::span<uint8_t> part(buffer.data(), static_cast<size_t>(left));
    if (left > 0) track.readZeroFilled(checkedAdd<int32_t>(start, done), part);
    return part;
}

}  // namespace

void writeMonoWave(const std::string& outputPath, const TrackStretch& track, Platform& platform) {
    const int32_t audio = track.audio;
    const int32_t start = audioStart(track);
    FileSink output(outputPath);
    FileSource source(track.path);

    wave::Header header = copiedHeader(source);
    setDataSize(header, audio);
    output.writeAt(0, header);

    platform.setProgressMin(0);
    platform.setProgressMax(static_cast<float>(audio / 1000));

    std::vector<uint8_t> block(static_cast<size_t>(kMonoBlockBytes));
    const int32_t fullBlocks = audio / kMonoBlockBytes;
    for (int32_t b = 0; b < fullBlocks; ++b) {
        const int32_t offset = checkedMul<int32_t>(b, kMonoBlockBytes);
        source.readZeroFilled(checkedAdd<int32_t>(start, offset), block);
        output.writeAt(checkedAdd<int32_t>(wave::kHeaderSize, offset), block);
        advanceProgress(platform, kMonoBlockStep);
    }
    const int32_t rest = audio % kMonoBlockBytes;
    if (rest > 0) {
        // The last block follows the full ones directly, in the track and in the output.
        const int32_t offset = checkedMul<int32_t>(fullBlocks, kMonoBlockBytes);
        std::span<uint8_t> part(block.data(), static_cast<size_t>(rest));
        source.readZeroFilled(checkedAdd<int32_t>(start, offset), part);
        output.writeAt(checkedAdd<int32_t>(wave::kHeaderSize, offset), part);
        advanceProgress(platform, rest / 1000);
    }
    output.close();
}

void writeStereoWave(const std::string& outputPath, const TrackStretch& left,
                     const TrackStretch& right, Platform& platform) {
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

    platform.setProgressMin(0);
    platform.setProgressMax(static_cast<float>(static_cast<double>(dataSize) / 1000.0));

    std::vector<uint8_t> leftBlock(static_cast<size_t>(kStereoInputBlockBytes));
    std::vector<uint8_t> rightBlock(static_cast<size_t>(kStereoInputBlockBytes));
    std::vector<uint8_t> frames(static_cast<size_t>(2 * kStereoInputBlockBytes));
    // `done` counts bytes per channel; output block b starts at 44 + 2 x done.
    for (int32_t done = 0; done < longest;
         done = checkedAdd<int32_t>(done, kStereoInputBlockBytes)) {
        const int32_t blockBytes = std::min(longest - done, kStereoInputBlockBytes);
        // Zeroed every block, so a channel that has ended leaves silence in its lane.
        std::fill(frames.begin(), frames.end(), uint8_t{0});
        placeLane(readChannelBlock(leftSource, left, leftStart, done, leftBlock), frames, 0);
        placeLane(readChannelBlock(rightSource, right, rightStart, done, rightBlock), frames, 2);
        const int32_t outputOffset = checkedAdd<int32_t>(wave::kHeaderSize, 2 * done);
        output.writeAt(outputOffset, std::span(frames.data(), static_cast<size_t>(2 * blockBytes)));
        if (blockBytes == kStereoInputBlockBytes) {
            advanceProgress(platform, kStereoChannelStep);
            advanceProgress(platform, kStereoChannelStep);
        } else {
            const double step = static_cast<double>(blockBytes) / 1000.0;
            advanceProgress(platform, step);
            advanceProgress(platform, step);
        }
    }
    output.close();
}

}  // namespace brenvik::r2w
