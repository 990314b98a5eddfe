// The loop writer's scan of its source for the audio: it ends on any bytes and, when it finds a
// data chunk, the audio starts inside the file. A size that points backwards may lead the walk
// into the RIFF header itself (a "data" tag at offset 4 is found there), so the start is only
// known to lie behind offset 8.
#include <cstdint>
#include <cstdlib>

#include "ByteSource.h"
#include "ChunkWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    brenvik::MemorySource source({data, size});
    const auto chunk = brenvik::scanForData(source);
    if (chunk && (chunk->dataStart < 8 || static_cast<size_t>(chunk->dataStart) > size)) std::abort();
    return 0;
}
