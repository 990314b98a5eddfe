#include "GapFreeWriter.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "ByteOrder.h"
#include "ByteSource.h"
#include "CopyBuffer.h"
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
// Whole samples move as 16-bit units (byte order kept); an odd last byte goes on its own.
void placeLane(std::span<const uint8_t> channel, std::span<uint8_t> frames, size_t lane) {
    const size_t samples = channel.size() / 2;
    const uint8_t* in = channel.data();
    uint8_t* out = frames.data() + lane;
    for (size_t j = 0; j < samples; ++j) {
        uint16_t sample;
        std::memcpy(&sample, in + 2 * j, 2);
        std::memcpy(out + 4 * j, &sample, 2);
    }
    if (channel.size() % 2 != 0) out[4 * samples] = in[2 * samples];
}

// Reads the channel's stretch for the block that starts `done` bytes into its audio, or
// nothing once the channel has ended; returns the bytes that belong to the block.
std::span<const uint8_t> readChannelBlock(ByteSource& track, const TrackStretch& stretch,
                                          int32_t start, int32_t done, std::span<uint8_t> buffer) {
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

    CopyBuffer block(static_cast<size_t>(kMonoBlockBytes));
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

    CopyBuffer leftBlock(static_cast<size_t>(kStereoInputBlockBytes));
    CopyBuffer rightBlock(static_cast<size_t>(kStereoInputBlockBytes));
    CopyBuffer frames(static_cast<size_t>(2 * kStereoInputBlockBytes));
    // `done` counts bytes per channel; output block b starts at 44 + 2 x done.
    for (int32_t done = 0; done < longest;
         done = checkedAdd<int32_t>(done, kStereoInputBlockBytes)) {
        const int32_t blockBytes = std::min(longest - done, kStereoInputBlockBytes);
        const auto leftPart = readChannelBlock(leftSource, left, leftStart, done, leftBlock);
        const auto rightPart = readChannelBlock(rightSource, right, rightStart, done, rightBlock);
        // A channel that ends inside the block (or has ended) leaves silence in its lane, so the
        // block starts zeroed then; when both channels fill it, every byte written is overwritten.
        const auto filled = static_cast<size_t>(blockBytes);
        if (leftPart.size() < filled || rightPart.size() < filled || filled % 2 != 0)
            std::fill(frames.data(), frames.data() + frames.size(), uint8_t{0});
        placeLane(leftPart, frames, 0);
        placeLane(rightPart, frames, 2);
        const int32_t outputOffset = checkedAdd<int32_t>(wave::kHeaderSize, 2 * done);
        output.writeAt(outputOffset, frames.first(2 * filled));
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
