#pragma once
// A block buffer for the streaming copies. Its bytes start undefined: every use fills them by a
// read (or zeroes them itself) before they are written out, and zeroing a megabyte that is
// overwritten at once costs about as much as the copy.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace brenvik {

class CopyBuffer {
public:
    explicit CopyBuffer(size_t size)
        : m_bytes(std::make_unique_for_overwrite<uint8_t[]>(size)), m_size(size) {}
    uint8_t* data() { return m_bytes.get(); }
    size_t size() const { return m_size; }
    std::span<uint8_t> span() { return {m_bytes.get(), m_size}; }
    std::span<uint8_t> first(size_t count) { return span().first(count); }
    operator std::span<uint8_t>() { return span(); }
    operator std::span<const uint8_t>() { return span(); }

private:
    std::unique_ptr<uint8_t[]> m_bytes;
    size_t m_size;
};

}  // namespace brenvik
