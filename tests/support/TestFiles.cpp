#include "TestFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "WaveHeader.h"

namespace brenvik::test {

std::vector<uint8_t> patternBytes(size_t count, uint16_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        const auto sample = static_cast<uint16_t>((i / 2) * 7 + seed);
        bytes[i] = static_cast<uint8_t>(i % 2 == 0 ? sample : sample >> 8);
    }
    return bytes;
}

std::vector<uint8_t> canonicalWave(int16_t channels, const std::vector<uint8_t>& data) {
    const wave::Header header = wave::canonicalHeader(channels, static_cast<int32_t>(data.size()));
    std::vector<uint8_t> bytes(header.size() + data.size());
    std::copy(header.begin(), header.end(), bytes.begin());
    std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(header.size()));
    return bytes;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace brenvik::test
