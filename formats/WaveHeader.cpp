#include "WaveHeader.h"

#include <cstring>

#include "ByteOrder.h"

namespace brenvik::wave {

Header canonicalHeader(int16_t channels, int32_t dataSize) {
    Header h{};
    const int16_t blockAlign = static_cast<int16_t>(channels * (kBitsPerSample / 8));
    std::memcpy(h.data(), "RIFF", 4);
    writeLe32(h.data() + kRiffSizeOffset, static_cast<uint32_t>(dataSize) + kRiffSizeBeyondData);
    std::memcpy(h.data() + 8, "WAVEfmt ", 8);
    writeLe32(h.data() + 16, 16);
    writeLe16(h.data() + kFormatTagOffset, 1);
    writeLe16(h.data() + kChannelsOffset, static_cast<uint16_t>(channels));
    writeLe32(h.data() + kSampleRateOffset, kSampleRate);
    writeLe32(h.data() + kByteRateOffset, static_cast<uint32_t>(kSampleRate * blockAlign));
    writeLe16(h.data() + kBlockAlignOffset, static_cast<uint16_t>(blockAlign));
    writeLe16(h.data() + kBitsOffset, kBitsPerSample);
    std::memcpy(h.data() + kDataTagOffset, "data", 4);
    writeLe32(h.data() + kDataSizeOffset, static_cast<uint32_t>(dataSize));
    return h;
}

}  // namespace brenvik::wave
