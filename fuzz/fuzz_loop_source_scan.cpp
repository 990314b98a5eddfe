// The loop writer's scan of its source for the audio: it ends on any bytes and, when it finds a
// data chunk, the audio starts inside the file's offsets.
#include <cstdint>
#include <cstdlib>

#include "ByteSource.h"
#include "ChunkWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    brenvik::MemorySource source({data, size});
    const auto chunk = brenvik::scanForData(source);
    if (chunk && (chunk->dataStart < 20 || static_cast<size_t>(chunk->dataStart) > size)) std::abort();
    return 0;
}
