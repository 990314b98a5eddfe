#pragma once
// Reading 16-bit little-endian samples from a file into host-order integers, a block at a time.
#include <bit>
#include <cstdint>
#include <span>

#include "ByteSource.h"
#include "RoutineError.h"

namespace brenvik::audition {

// Reads exactly samples.size() samples at byte offset `offset`; a file that ends first is an
// error, never silence.
inline void readSamples(ByteSource& file, int64_t offset, std::span<int16_t> samples) {
    const std::span<uint8_t> bytes(reinterpret_cast<uint8_t*>(samples.data()),
                                   samples.size_bytes());
    if (file.readAt(offset, bytes) != bytes.size()) throw RoutineError("audio ends early");
    if constexpr (std::endian::native == std::endian::big)
        for (int16_t& s : samples)
            s = static_cast<int16_t>(__builtin_bswap16(static_cast<uint16_t>(s)));
}

}  // namespace brenvik::audition
