#pragma once
// Small helpers that make real test files: canonical waves with a known sample pattern, raw
// byte files, and reading a whole file back.
#include <cstdint>
#include <string>
#include <vector>

namespace brenvik::test {

// Bytes of a pattern that differs at every 16-bit position: sample i is (i * 7 + seed) & 0xFFFF.
std::vector<uint8_t> patternBytes(size_t count, uint16_t seed = 1);

// A canonical 44-byte-header wave: channels, 44100 Hz, 16 bit, with the given data bytes.
std::vector<uint8_t> canonicalWave(int16_t channels, const std::vector<uint8_t>& data);

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFile(const std::string& path);

}  // namespace brenvik::test
