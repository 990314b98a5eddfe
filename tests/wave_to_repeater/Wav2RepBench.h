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
#include <utility>
#include <vector>

#include "AppGlobals.h"
#include "ByteWriter.h"
#include "TestFiles.h"
#include "TestPlatform.h"
#include "Wav2Rep.h"

namespace brenvik::test {

inline std::vector<uint8_t> withBytes(std::vector<uint8_t> bytes, const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

// One chunk as it lies in the list: tag, size field, body (the size field need not match).
inline std::vector<uint8_t> chunk(std::string_view tag, int32_t size, const std::vector<uint8_t>& body = {}) {
    return withBytes(ByteWriter().tag(tag).le32(size).bytes(), body);
}

inline std::vector<uint8_t> fmtChunk(int channels, int rate, int bits) {
    return ByteWriter().fmtChunk(channels, rate, bits).bytes();
}

// "RIFF", a size, "WAVE" and the chunks in the order given.
inline std::vector<uint8_t> riff(std::initializer_list<std::vector<uint8_t>> chunks) {
    std::vector<uint8_t> bytes = ByteWriter().riffHeader().bytes();
    for (const auto& c : chunks) bytes = withBytes(std::move(bytes), c);
    return bytes;
}

inline std::vector<uint8_t> wave(int channels, const std::vector<uint8_t>& data, int rate = 44100, int bits = 16) {
    return riff({fmtChunk(channels, rate, bits), chunk("data", static_cast<int32_t>(data.size()), data)});
}

// A track file of the Repeater, field by field: a mono 16-bit 44.1 kHz header, 16384 bytes of
// silence, the audio.
inline std::vector<uint8_t> expectedTrack(const std::vector<uint8_t>& audio) {
    const auto dataLength = static_cast<int64_t>(16384 + audio.size());
    return withBytes(ByteWriter().riffHeader(36 + dataLength).fmtChunk(1, 44100, 16).tag("data")
                         .le32(dataLength).fill(16384).bytes(),
                     audio);
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
    Wav2RepBench() : window(globals, platform) { globals.initLoopDir = globals.initWaveDir = root(); }
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
