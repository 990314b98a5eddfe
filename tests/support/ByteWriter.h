#pragma once
// Builds small files byte by byte in a test: four-character tags, little-endian fields and
// fillers, so a chunk layout can be written down as it is meant to lie on disk.
#include <cstdint>
#include <string_view>
#include <vector>

namespace brenvik::test {

class ByteWriter {
public:
    ByteWriter& tag(std::string_view text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    ByteWriter& le16(int32_t value) {
        const auto v = static_cast<uint32_t>(value);
        return byte(v).byte(v >> 8);
    }
    ByteWriter& le32(int64_t value) {
        const auto v = static_cast<uint32_t>(value);
        return byte(v).byte(v >> 8).byte(v >> 16).byte(v >> 24);
    }
    ByteWriter& fill(size_t count, uint8_t value = 0) {
        m_bytes.insert(m_bytes.end(), count, value);
        return *this;
    }
    ByteWriter& byte(uint32_t value) {
        m_bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        return *this;
    }
    // "RIFF", a RIFF size and "WAVE": the 12 bytes in front of the chunk list.
    ByteWriter& riffHeader(int64_t riffSize = 0) { return tag("RIFF").le32(riffSize).tag("WAVE"); }
    // A 16-byte "fmt " chunk of PCM with the given fields; byte rate and block align follow.
    ByteWriter& fmtChunk(int32_t channels, int32_t rate, int32_t bits) {
        const int32_t align = channels * (bits / 8);
        return tag("fmt ").le32(16).le16(1).le16(channels).le32(rate).le32(int64_t(rate) * align)
            .le16(align).le16(bits);
    }

    size_t size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

}  // namespace brenvik::test
