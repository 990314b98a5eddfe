#pragma once
// SHA-256 of a stream of bytes, fed in pieces of any size. Backups name the digest of every file
// they hold, so a copy that changed on its way can be told from the original.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace brenvik::backup {

class Sha256 {
public:
    using Digest = std::array<uint8_t, 32>;

    Sha256();
    void update(std::span<const uint8_t> bytes);
    // The digest of everything fed so far; the object is spent afterwards.
    Digest finish();

    // The digest in lower-case hexadecimal, as sha256sum prints it.
    static std::string hex(const Digest& digest);

private:
    void compress(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_block{};
    size_t m_filled = 0;
    uint64_t m_length = 0;  // bytes fed
};

}  // namespace brenvik::backup
