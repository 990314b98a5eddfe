#pragma once
// The canonical 44-byte header of the wave files the program writes.
#include <array>
#include <cstdint>

namespace brenvik::wave {

constexpr int kHeaderSize = 44;
constexpr int kRiffSizeOffset = 4;
constexpr int kFormatTagOffset = 20;
constexpr int kChannelsOffset = 22;
constexpr int kSampleRateOffset = 24;
constexpr int kByteRateOffset = 28;
constexpr int kBlockAlignOffset = 32;
constexpr int kBitsOffset = 34;
constexpr int kDataTagOffset = 36;
constexpr int kDataSizeOffset = 40;
constexpr int kRiffSizeBeyondData = 36;  // RIFF size = data size + 36 (file length minus 8)
static_assert(kDataSizeOffset + 4 == kHeaderSize);

constexpr int32_t kSampleRate = 44100;
constexpr int16_t kBitsPerSample = 16;

using Header = std::array<uint8_t, kHeaderSize>;

// A 44.1 kHz 16-bit PCM header for the given channel count and data size.
Header canonicalHeader(int16_t channels, int32_t dataSize);

}  // namespace brenvik::wave
