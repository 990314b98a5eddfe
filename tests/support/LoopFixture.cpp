#include "LoopFixture.h"

#include <QDir>
#include <QString>
#include <algorithm>
#include <stdexcept>

#include "ByteOrder.h"
#include "ByteWriter.h"
#include "LoopDescription.h"
#include "LoopLayout.h"
#include "TestFiles.h"
#include "TrackFile.h"
#include "WaveHeader.h"

namespace brenvik::test {

std::string makeFolder(const std::string& root, const std::string& name) {
    if (!QDir(QString::fromStdString(root)).mkpath(QString::fromStdString(name)))
        throw std::runtime_error("cannot create " + name);
    return root + "/" + name;
}

void writeDescription(const std::string& folder, uint8_t startByte, int16_t endWord,
                      int32_t sectors) {
    loop::LoopValues values;
    values.trackSectors = sectors;
    values.loopSectors = sectors;
    values.clusters = loop::clusterCount(sectors);
    values.tempoCode = loop::tempoCode(120.0f);
    values.beatCount = 1;
    values.beatsPerBar = 4;
    values.division = 4;
    values.tracks[0].chosen = true;
    loop::Description d = loop::buildDescription(values);
    d[51] = startByte;
    d[54] = static_cast<uint8_t>(endWord & 0xFF);
    d[55] = static_cast<uint8_t>((endWord >> 8) & 0xFF);
    writeFile(folder + "/loopinfo.ldf", std::vector<uint8_t>(d.begin(), d.end()));
}

loop::DecodedDescription readDescription(const std::string& folder) {
    const std::vector<uint8_t> bytes = readFile(folder + "/loopinfo.ldf");
    loop::Description d{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), d.size()), d.begin());
    return loop::decodeDescription(d);
}

void writeDescriptionFor(const std::string& folder, int32_t audioBytes) {
    const int32_t sectors = audioBytes / 512;
    writeDescription(folder, 0, static_cast<int16_t>(sectors - 1), sectors);
}

std::string writeTrack(const std::string& folder, const TrackSpec& layout) {
    const int32_t audio = static_cast<int32_t>(layout.audio.size());
    const int32_t dataSize = layout.dataSize.value_or(layout.pre + audio + layout.post);
    wave::Header header = layout.pre == loop::kPreBufferBytes && !layout.dataSize
                              ? loop::trackHeader(audio + layout.post)
                              : wave::canonicalHeader(1, dataSize);
    writeLe32(header.data() + 24, static_cast<uint32_t>(layout.sampleRate));
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), static_cast<size_t>(layout.pre), kPreFill);
    bytes.insert(bytes.end(), layout.audio.begin(), layout.audio.end());
    bytes.insert(bytes.end(), static_cast<size_t>(layout.post), kPostFill);
    if (layout.cutAt) bytes.resize(std::min(bytes.size(), *layout.cutAt));
    const std::string path = folder + "/" + loop::trackFileName(layout.track);
    writeFile(path, bytes);
    return path;
}

std::string makeLoop(const std::string& root, const std::string& name,
                     const std::vector<uint8_t>& audio, int track, int32_t post) {
    const std::string folder = makeFolder(root, name);
    writeDescriptionFor(folder, static_cast<int32_t>(audio.size()));
    TrackSpec layout;
    layout.track = track;
    layout.audio = audio;
    layout.post = post;
    return writeTrack(folder, layout);
}

std::string makeCardLoop(const std::string& card, int number, const std::vector<int>& tracks,
                         int32_t sectors, int beats, double tempo, int beatsPerBar) {
    const std::string folder = makeFolder(card, "LOOP" + std::to_string(number));
    loop::LoopValues values;
    values.trackSectors = values.loopSectors = sectors;
    values.clusters = loop::clusterCount(sectors);
    const double minutes = sectors * 512 / 88200.0 / 60;
    if (tempo == 0 && sectors > 0) tempo = beats / minutes;
    values.tempoCode = loop::tempoCode(static_cast<float>(tempo));
    values.beatCount = beats;
    values.beatsPerBar = beatsPerBar;
    values.division = 4;
    for (int k : tracks) values.tracks[static_cast<size_t>(k - 1)].chosen = true;
    const loop::Description d = loop::buildDescription(values);
    writeFile(folder + "/loopinfo.ldf", std::vector<uint8_t>(d.begin(), d.end()));
    for (int k : tracks)
        writeFile(folder + "/" + loop::trackFileName(k),
                  expectedTrack(patternBytes(static_cast<size_t>(sectors) * 512, static_cast<uint16_t>(k))));
    return folder;
}

std::vector<uint8_t> expectedHeader(int16_t channels, int32_t sampleRate, int32_t byteRate,
                                    int16_t blockAlign, int32_t dataSize) {
    return ByteWriter().riffHeader(int64_t{dataSize} + 36).tag("fmt ").le32(16).le16(1).le16(channels)
        .le32(sampleRate).le32(byteRate).le16(blockAlign).le16(16).tag("data").le32(dataSize).bytes();
}

std::vector<uint8_t> expectedWave(int16_t channels, int32_t sampleRate, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes = expectedHeader(channels, sampleRate, 88200 * channels,
                                                static_cast<int16_t>(2 * channels),
                                                static_cast<int32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

std::vector<uint8_t> interleaved(const std::vector<uint8_t>& left, const std::vector<uint8_t>& right) {
    const size_t frames = std::max(left.size(), right.size()) / 2;
    std::vector<uint8_t> out;
    out.reserve(frames * 4);
    for (size_t k = 0; k < frames; ++k) {
        for (const auto* channel : {&left, &right}) {
            const bool present = 2 * k < channel->size();
            out.push_back(present ? (*channel)[2 * k] : 0);
            out.push_back(present ? (*channel)[2 * k + 1] : 0);
        }
    }
    return out;
}

}  // namespace brenvik::test
