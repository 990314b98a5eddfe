#include "SourceToTracks.h"

#include <cstring>
#include <span>

#include "CopyBuffer.h"
#include "LoopLayout.h"
#include "RoutineError.h"

namespace brenvik {

namespace {

using loop::kCopyChunkBytes;
using loop::kSectorBytes;
using loop::kTrackAudioOffset;

// One chunk's share of the progress bar, whose maximum counts the source in thousands of bytes.
constexpr float kChunkProgress = 1048;
constexpr int32_t kHalfChunkBytes = kCopyChunkBytes / 2;
constexpr int32_t kFrameBytes = 4;

// The source was checked to hold its data chunk, so a short read means the medium failed.
void readExact(ByteSource& source, int64_t offset, std::span<uint8_t> dst) {
    if (source.readAt(offset, dst) != dst.size())
        throw RoutineError("the source ended before " +
                           std::to_string(offset + static_cast<int64_t>(dst.size())) +
                           " bytes could be read");
}

// The whole sectors of what is left after the last full chunk.
int32_t wholeSectors(int32_t remainder) { return remainder - remainder % kSectorBytes; }

int64_t chunkOffset(const DataChunk& data, int32_t chunk) {
    return data.dataStart + static_cast<int64_t>(chunk) * kCopyChunkBytes;
}

// Bytes 0 and 1 of every frame go to the left buffer, bytes 2 and 3 to the right one. The
// samples move as whole 16-bit units (byte order kept as it is), which the compiler vectorises.
void splitFrames(std::span<const uint8_t> frames, std::span<uint8_t> left, std::span<uint8_t> right) {
    const size_t count = frames.size() / kFrameBytes;
    const uint8_t* in = frames.data();
    uint8_t* l = left.data();
    uint8_t* r = right.data();
    for (size_t j = 0; j < count; ++j) {
        uint16_t leftSample, rightSample;
        std::memcpy(&leftSample, in + kFrameBytes * j, 2);
        std::memcpy(&rightSample, in + kFrameBytes * j + 2, 2);
        std::memcpy(l + 2 * j, &leftSample, 2);
        std::memcpy(r + 2 * j, &rightSample, 2);
    }
}

}  // namespace

void copyMonoSourceToTrack(ByteSource& source, const DataChunk& data, FileSink& track,
                           const ProgressStep& advance) {
    const int32_t chunks = data.dataSize / kCopyChunkBytes;
    const int32_t remainder = data.dataSize % kCopyChunkBytes;
    CopyBuffer buffer(kCopyChunkBytes);
    for (int32_t i = 0; i < chunks; ++i) {
        readExact(source, chunkOffset(data, i), buffer);
        track.writeAt(kTrackAudioOffset + static_cast<int64_t>(i) * kCopyChunkBytes, buffer);
        advance(kChunkProgress);
    }
    if (remainder < kSectorBytes) return;
    const std::span<uint8_t> part(buffer.data(), static_cast<size_t>(wholeSectors(remainder)));
    readExact(source, chunkOffset(data, chunks), part);
    track.writeAt(kTrackAudioOffset + static_cast<int64_t>(chunks) * kCopyChunkBytes, part);
    advance(static_cast<float>(remainder / 1000));
}

void splitStereoSourceToTracks(ByteSource& source, const DataChunk& data, FileSink& left,
                               FileSink& right, const ProgressStep& advance) {
    const int32_t chunks = data.dataSize / kCopyChunkBytes;
    const int32_t remainder = data.dataSize % kCopyChunkBytes;
    CopyBuffer buffer(kCopyChunkBytes);
    CopyBuffer leftBuffer(kHalfChunkBytes), rightBuffer(kHalfChunkBytes);
    auto writeHalves = [&](int32_t chunk, size_t bytes) {
        const int64_t at = kTrackAudioOffset + static_cast<int64_t>(chunk) * kHalfChunkBytes;
        left.writeAt(at, std::span<const uint8_t>(leftBuffer.data(), bytes));
        right.writeAt(at, std::span<const uint8_t>(rightBuffer.data(), bytes));
    };
    for (int32_t i = 0; i < chunks; ++i) {
        readExact(source, chunkOffset(data, i), buffer);
        splitFrames(buffer, leftBuffer, rightBuffer);
        writeHalves(i, kHalfChunkBytes);
        advance(kChunkProgress);
    }
    if (remainder < kSectorBytes) return;
    const int32_t q = wholeSectors(remainder);
    const std::span<uint8_t> part(buffer.data(), static_cast<size_t>(q));
    readExact(source, chunkOffset(data, chunks), part);
    splitFrames(part, leftBuffer, rightBuffer);
    writeHalves(chunks, static_cast<size_t>(q / 2));
    advance(static_cast<float>((q - 1) / 1000));
}

}  // namespace brenvik
