#pragma once
// The chunk walk over a wave file the program did not write. The list starts at offset 12;
// each chunk is a 4-byte tag, a 32-bit signed size and a body; the next tag follows at the
// tag's offset + 8 + size, with no pad byte after a body of odd length.
#include <cstdint>
#include <optional>

#include "ByteSource.h"

namespace brenvik {

struct ChunkWalk {
    enum class End {
        Data,       // a complete "data" tag and size were read
        EndOfFile,  // a tag or size read could not be completed because the file ended
        Broken,     // the walk left the file's offsets (before the start, past 2^31) or ran
                    // in a circle through sizes that point backwards
    };
    End end = End::EndOfFile;
    std::optional<int32_t> fmtOffset;  // offset of the last "fmt " tag met before the end
    int32_t dataTagOffset = 0;         // offset of the "data" tag when end is Data
    int32_t dataSize = 0;              // its size field
    int steps = 0;                     // chunks read

    int32_t dataStart() const { return dataTagOffset + 8; }
};

constexpr int32_t kFirstChunkOffset = 12;

ChunkWalk walkChunks(ByteSource& source);

// The fields the wave opener reads: at the "fmt " tag + 10, + 12 and + 22, or at 9, 11 and 21
// when no "fmt " chunk was met (as if its tag stood at offset -1). Bytes past the end read 0.
struct WaveFormatFields {
    int16_t channels = 0;
    int32_t sampleRate = 0;
    int16_t bitsPerSample = 0;
};
WaveFormatFields readFormatFields(ByteSource& source, const ChunkWalk& walk);

// The loop writer's scan of the source for its audio: the same walk, with nothing remembered
// but where the "data" body starts and its size. Empty when no data chunk was found.
struct DataChunk {
    int32_t dataStart;
    int32_t dataSize;
};
std::optional<DataChunk> scanForData(ByteSource& source);

}  // namespace brenvik
