#include "ChunkWalk.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "ByteOrder.h"

namespace brenvik {

namespace {

bool tagIs(const std::array<uint8_t, 4>& tag, const char* text) {
    return std::memcmp(tag.data(), text, 4) == 0;
}

}  // namespace

ChunkWalk walkChunks(ByteSource& source) {
    ChunkWalk walk;
    int64_t offset = kFirstChunkOffset;
    // Brent's cycle detection: sizes that point backwards can make the walk revisit a tag,
    // and from there it would go round for ever. Memory stays constant whatever the file.
    int64_t tortoise = offset;
    int64_t power = 1;
    int64_t lambda = 0;
    for (;;) {
        std::array<uint8_t, 4> tag{};
        std::array<uint8_t, 4> size{};
        if (source.readAt(offset, tag) < tag.size() || source.readAt(offset + 4, size) < size.size()) {
            walk.end = ChunkWalk::End::EndOfFile;
            return walk;
        }
        ++walk.steps;
        if (tagIs(tag, "fmt ")) walk.fmtOffset = static_cast<int32_t>(offset);
        const int32_t chunkSize = readLeS32(size.data());
        if (tagIs(tag, "data")) {
            walk.end = ChunkWalk::End::Data;
            walk.dataTagOffset = static_cast<int32_t>(offset);
            walk.dataSize = chunkSize;
            return walk;
        }
        const int64_t next = offset + 8 + chunkSize;
        if (next < 0 || next > INT32_MAX) {
            walk.end = ChunkWalk::End::Broken;
            return walk;
        }
        offset = next;
        if (offset == tortoise) {
            walk.end = ChunkWalk::End::Broken;
            return walk;
        }
        if (++lambda == power) {
            tortoise = offset;
            power *= 2;
            lambda = 0;
        }
    }
}

WaveFormatFields readFormatFields(ByteSource& source, const ChunkWalk& walk) {
    const int64_t base = walk.fmtOffset ? *walk.fmtOffset : -1;
    std::array<uint8_t, 2> channels{};
    std::array<uint8_t, 4> rate{};
    std::array<uint8_t, 2> bits{};
    source.readZeroFilled(base + 10, channels);
    source.readZeroFilled(base + 12, rate);
    source.readZeroFilled(base + 22, bits);
    return WaveFormatFields{readLeS16(channels.data()), readLeS32(rate.data()),
                            readLeS16(bits.data())};
}

std::optional<DataChunk> scanForData(ByteSource& source) {
    const ChunkWalk walk = walkChunks(source);
    if (walk.end != ChunkWalk::End::Data) return std::nullopt;
    return DataChunk{walk.dataStart(), walk.dataSize};
}

}  // namespace brenvik
