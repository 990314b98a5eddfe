#pragma once
// What every wave-to-Repeater test needs: a temporary folder for real files, the scripted
// platform, the program's globals and the window model, plus small builders for wave files
// laid out byte by byte and for the track files the Repeater expects.
#include <QTemporaryDir>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "AppGlobals.h"
#include "TestFiles.h"
#include "TestPlatform.h"
#include "Wav2Rep.h"

namespace brenvik::test {

inline void putLe(std::vector<uint8_t>& bytes, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline void putTag(std::vector<uint8_t>& bytes, std::string_view tag) { bytes.insert(bytes.end(), tag.begin(), tag.end()); }

// One chunk as it lies in the list: tag, size field, body (the size field need not match).
inline std::vector<uint8_t> chunk(std::string_view tag, int32_t size, const std::vector<uint8_t>& body = {}) {
    std::vector<uint8_t> bytes;
    putTag(bytes, tag);
    putLe(bytes, static_cast<uint32_t>(size), 4);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

inline std::vector<uint8_t> fmtChunk(int channels, int rate, int bits) {
    std::vector<uint8_t> body;
    putLe(body, 1, 2);
    putLe(body, static_cast<uint32_t>(channels), 2);
    putLe(body, static_cast<uint32_t>(rate), 4);
    putLe(body, static_cast<uint32_t>(rate * channels * bits / 8), 4);
    putLe(body, static_cast<uint32_t>(channels * bits / 8), 2);
    putLe(body, static_cast<uint32_t>(bits), 2);
    return chunk("fmt ", 16, body);
}

// "RIFF", a size, "WAVE" and the chunks in the order given.
inline std::vector<uint8_t> riff(std::initializer_list<std::vector<uint8_t>> chunks) {
    std::vector<uint8_t> bytes;
    putTag(bytes, "RIFF");
    putLe(bytes, 0, 4);
    putTag(bytes, "WAVE");
    for (const auto& c : chunks) bytes.insert(bytes.end(), c.begin(), c.end());
    return bytes;
}

inline std::vector<uint8_t> wave(int channels, const std::vector<uint8_t>& data, int rate = 44100, int bits = 16) {
    return riff({fmtChunk(channels, rate, bits), chunk("data", static_cast<int32_t>(data.size()), data)});
}

// A track file of the Repeater, field by field: a mono 16-bit 44.1 kHz header, 16384 bytes of
// silence, the audio.
inline std::vector<uint8_t> expectedTrack(const std::vector<uint8_t>& audio) {
    const auto dataLength = static_cast<uint32_t>(16384 + audio.size());
    std::vector<uint8_t> bytes;
    putTag(bytes, "RIFF");
    putLe(bytes, 36 + dataLength, 4);
    putTag(bytes, "WAVEfmt ");
    for (auto [value, width] : {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {44100u, 4}, {88200u, 4}, {2u, 2}, {16u, 2}})
        putLe(bytes, value, width);
    putTag(bytes, "data");
    putLe(bytes, dataLength, 4);
    bytes.resize(bytes.size() + 16384, 0);
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    return bytes;
}

// The first `bytes` bytes of one channel of interleaved stereo data: its 16-bit words are the
// even-numbered words of the data (left, channel 0) or the odd-numbered ones (right, channel 1).
inline std::vector<uint8_t> channelWords(const std::vector<uint8_t>& data, int channel, size_t bytes) {
    std::vector<uint8_t> words;
    for (size_t w = static_cast<size_t>(channel); words.size() < bytes; w += 2) {
        words.push_back(data[2 * w]);
        words.push_back(data[2 * w + 1]);
    }
    return words;
}

// Files and folders directly inside a folder.
inline int entriesIn(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

class Wav2RepBench {
public:
    Wav2RepBench() : window(globals, platform) {
        globals.initLoopDir = globals.initWaveDir = root();
    }
    std::string root() const { return dir.path().toStdString(); }
    std::string file(const std::string& name) const { return root() + "/" + name; }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        writeFile(file(name), bytes);
        return file(name);
    }
    // The user opens this file through the Open command.
    void open(const std::string& path) {
        platform.chooseNextFile(path);
        window.openWave_Click();
    }

    QTemporaryDir dir;
    TestPlatform platform;
    AppGlobals globals;
    Wav2Rep window;
};

}  // namespace brenvik::test
