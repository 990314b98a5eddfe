#pragma once
// Small helpers that make real test files: waves laid out chunk by chunk with a known sample
// pattern, the track files the Repeater expects, raw byte files, and reading a file back.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik::test {

// Bytes of a pattern that differs at every 16-bit position: sample i is (i * 7 + seed) & 0xFFFF.
std::vector<uint8_t> patternBytes(size_t count, uint16_t seed = 1);
// Bytes of 16-bit mono audio at 44.1 kHz: a sine of `frequency` Hz, its peak `amplitude` times
// full scale.
std::vector<uint8_t> sineBytes(size_t count, double frequency, double amplitude);
// Bytes of white noise, the same for the same seed.
std::vector<uint8_t> noiseBytes(size_t count, uint32_t seed);

// One chunk as it lies in the list: tag, size field, body (the size field need not match).
std::vector<uint8_t> chunk(std::string_view tag, int32_t size, const std::vector<uint8_t>& body = {});
// A 16-byte "fmt " chunk of PCM.
std::vector<uint8_t> fmtChunk(int channels, int rate, int bits);
// "RIFF", a size, "WAVE" and the chunks in the order given.
std::vector<uint8_t> riff(std::initializer_list<std::vector<uint8_t>> chunks);
// A wave with a "fmt " chunk and a "data" chunk holding `data`.
std::vector<uint8_t> wave(int channels, const std::vector<uint8_t>& data, int rate = 44100, int bits = 16);

// A Repeater track file, field by field: a mono 16-bit 44.1 kHz header, 16384 bytes of silence,
// the audio.
std::vector<uint8_t> expectedTrack(const std::vector<uint8_t>& audio);
// The first `bytes` bytes of one channel of interleaved stereo data: its 16-bit words are the
// even-numbered words of the data (left, channel 0) or the odd-numbered ones (right, channel 1).
std::vector<uint8_t> channelWords(const std::vector<uint8_t>& data, int channel, size_t bytes);

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFile(const std::string& path);
// Files and folders directly inside a folder.
int entriesIn(const std::string& folder);
// Every file and folder below a folder, by relative path: a file's bytes, or "/" for a folder.
using Tree = std::map<std::string, std::vector<uint8_t>>;
Tree treeOf(const std::string& folder);

}  // namespace brenvik::test
