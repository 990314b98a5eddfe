#include "TestFiles.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>

#include "ByteWriter.h"

namespace brenvik::test {

namespace {

std::vector<uint8_t> joined(std::vector<uint8_t> bytes, const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

}  // namespace

std::vector<uint8_t> noiseBytes(size_t count, uint32_t seed) {
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    return bytes;
}

std::vector<uint8_t> sineBytes(size_t count, double frequency, double amplitude) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i + 1 < count; i += 2) {
        const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(i / 2) / 44100;
        const auto sample = static_cast<uint16_t>(static_cast<int16_t>(std::lround(amplitude * 32767 * std::sin(phase))));
        bytes[i] = static_cast<uint8_t>(sample);
        bytes[i + 1] = static_cast<uint8_t>(sample >> 8);
    }
    return bytes;
}

std::vector<uint8_t> patternBytes(size_t count, uint16_t seed) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        const auto sample = static_cast<uint16_t>((i / 2) * 7 + seed);
        bytes[i] = static_cast<uint8_t>(i % 2 == 0 ? sample : sample >> 8);
    }
    return bytes;
}

std::vector<uint8_t> chunk(std::string_view tag, int32_t size, const std::vector<uint8_t>& body) {
    return joined(ByteWriter().tag(tag).le32(size).bytes(), body);
}

std::vector<uint8_t> fmtChunk(int channels, int rate, int bits) {
    return ByteWriter().fmtChunk(channels, rate, bits).bytes();
}

std::vector<uint8_t> riff(std::initializer_list<std::vector<uint8_t>> chunks) {
    std::vector<uint8_t> bytes = ByteWriter().riffHeader().bytes();
    for (const auto& c : chunks) bytes = joined(std::move(bytes), c);
    return bytes;
}

std::vector<uint8_t> wave(int channels, const std::vector<uint8_t>& data, int rate, int bits) {
    return riff({fmtChunk(channels, rate, bits), chunk("data", static_cast<int32_t>(data.size()), data)});
}

std::vector<uint8_t> expectedTrack(const std::vector<uint8_t>& audio) {
    const auto dataLength = static_cast<int64_t>(16384 + audio.size());
    return joined(ByteWriter().riffHeader(36 + dataLength).fmtChunk(1, 44100, 16).tag("data")
                      .le32(dataLength).fill(16384).bytes(),
                  audio);
}

std::vector<uint8_t> channelWords(const std::vector<uint8_t>& data, int channel, size_t bytes) {
    std::vector<uint8_t> words;
    for (size_t w = static_cast<size_t>(channel); words.size() < bytes; w += 2) {
        words.push_back(data[2 * w]);
        words.push_back(data[2 * w + 1]);
    }
    return words;
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

int entriesIn(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

Tree treeOf(const std::string& folder) {
    Tree tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        tree[name] = entry.is_directory() ? std::vector<uint8_t>{'/'} : readFile(entry.path().string());
    }
    return tree;
}

}  // namespace brenvik::test
