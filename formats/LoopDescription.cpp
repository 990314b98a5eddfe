#include "LoopDescription.h"

#include <cstring>

#include "ByteOrder.h"
#include "LoopLayout.h"
#include "RoutineError.h"

namespace brenvik::loop {

namespace {

constexpr std::array<uint8_t, 4> kHeader{0x20, 0xF3, 0xFA, 0x00};

// Every field goes through int24Byte, byte by byte, the least significant byte at the lowest
// offset.
void putBytes(Description& d, int offset, int32_t value, int count) {
    for (int i = 0; i < count; ++i) d.at(static_cast<size_t>(offset + i)) = int24Byte(value, i);
}

void put8(Description& d, int offset, int32_t value) {
    putBytes(d, offset, value, 1);
}
void put16(Description& d, int offset, int32_t value) {
    putBytes(d, offset, value, 2);
}
void put24(Description& d, int offset, int32_t value) {
    putBytes(d, offset, value, 3);
}

void putBitmap(Description& d, int offset, int32_t bits) {
    for (int32_t i = 0; i < bits; ++i) {
        const int at = offset + i / 8;
        if (at >= kDescriptionSize)
            throw RoutineError("a cluster bitmap of " + std::to_string(bits) +
                               " bits runs past the end of loopinfo.ldf");
        d[static_cast<size_t>(at)] |= static_cast<uint8_t>(1u << (i % 8));
    }
}

}  // namespace

int32_t readInt24(const uint8_t* p) {
    int32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v & 0x800000) ? v - 0x1000000 : v;
}

Description buildDescription(const LoopValues& v) {
    using namespace ldf;
    Description d{};                                                   // 1. zero bytes
    for (size_t i = 0; i < kHeader.size(); ++i) d[i] = kHeader[i];     // 2. header, marker
    for (int i = 0; i < 3; ++i) put8(d, kMarker + i, 0xFF);
    const int32_t n = v.trackSectors;
    for (int k = 1; k <= 4; ++k) {                                     // 3. records, all four
        put16(d, recordBase(k) + kEndSector, n - 1);
        put16(d, recordBase(k) + kEndMinus15, n - 16);
        put8(d, recordBase(k) + kRecordOne, 1);
    }
    for (int k = 1; k <= 4; ++k) {                                     // 4. track table
        put8(d, tableBase(k) + kTableIndex, k - 1);
        put16(d, tableBase(k) + kTableEnd, n - 1);
        put24(d, tableBase(k) + kTableSectors, n);
        put8(d, tableBase(k) + kTableTwo, 2);
    }
    for (int k = 1; k <= 4; ++k) {                                     // 5. chosen tracks
        const TrackMix& mix = v.tracks[static_cast<size_t>(k - 1)];
        if (!mix.chosen) continue;
        const int base = recordBase(k);
        put8(d, base + kChosen, 2);
        put8(d, base + kTrackKind, k == 1 ? 1 : 2);
        put8(d, base + kBitmapFlag, 1);
        put8(d, kMixInUse[static_cast<size_t>(k - 1)], 1);
        put24(d, kMixPan[static_cast<size_t>(k - 1)], mix.pan);
        put24(d, kMixPitch[static_cast<size_t>(k - 1)], mix.pitch);
        put16(d, base + kClusters, v.clusters);
        putBitmap(d, base + kBitmap, v.clusters);
    }
    put24(d, kTempo, v.tempoCode);                                     // 6. loop section
    put8(d, kBars, v.beatCount);
    put8(d, kBeats, v.beatsPerBar);
    put8(d, kDivision, v.division);
    put24(d, kLoopSectors, v.loopSectors);
    put24(d, kLoopEnd, v.loopSectors - 1);
    put24(d, kLoopEndAgain, v.loopSectors - 1);
    put24(d, kTempoAgain, v.tempoCode);
    storeCheckTriples(d);                                              // 7. check bytes
    return d;
}

std::array<uint8_t, 3> checkTriple(const Description& d, int first, int last) {
    // Every loop listed runs this over most of its 16 KiB, so the bytes are taken 24 at a time:
    // byte j of a 24-byte stretch from `first` always falls to lane (first + j) % 3, so stretches
    // can be XORed together word by word and their bytes sorted into lanes once at the end.
    constexpr int kStretch = 24;
    std::array<uint64_t, kStretch / 8> words{};
    int offset = first;
    for (; offset + kStretch <= last + 1; offset += kStretch)
        for (size_t w = 0; w < words.size(); ++w) {
            uint64_t word;
            std::memcpy(&word, &d[static_cast<size_t>(offset) + 8 * w], sizeof word);
            words[w] ^= word;
        }
    std::array<uint8_t, kStretch> stretch;
    std::memcpy(stretch.data(), words.data(), stretch.size());
    std::array<uint8_t, 3> running{0xFF, 0xFF, 0xFF};
    for (int j = 0; j < kStretch; ++j) running[static_cast<size_t>((first + j) % 3)] ^= stretch[static_cast<size_t>(j)];
    for (; offset <= last; ++offset) running[static_cast<size_t>(offset % 3)] ^= d[static_cast<size_t>(offset)];
    return running;
}

std::array<uint8_t, 3> checkBytes(const Description& d, int first, int last, int at) {
    // Each check byte receives the running value of its own offset's remainder modulo 3.
    const auto running = checkTriple(d, first, last);
    std::array<uint8_t, 3> bytes{};
    for (int i = 0; i < 3; ++i) bytes[static_cast<size_t>(i)] = running[static_cast<size_t>((at + i) % 3)];
    return bytes;
}

std::array<uint8_t, 3> storedCheckBytes(const Description& d, int at) {
    return {d[static_cast<size_t>(at)], d[static_cast<size_t>(at + 1)], d[static_cast<size_t>(at + 2)]};
}

namespace {

void storeTriple(Description& d, int first, int last, int at) {
    const auto bytes = checkBytes(d, first, last, at);
    for (int i = 0; i < 3; ++i) d[static_cast<size_t>(at + i)] = bytes[static_cast<size_t>(i)];
}

}  // namespace

void storeCheckTriples(Description& d) {
    storeTriple(d, ldf::kCheck1First, ldf::kCheck1Last, ldf::kCheck1At);
    storeTriple(d, ldf::kCheck2First, ldf::kCheck2Last, ldf::kCheck2At);
}

CheckState verifyCheckTriples(const Description& d) {
    using namespace ldf;
    return CheckState{
        checkBytes(d, kCheck1First, kCheck1Last, kCheck1At) == storedCheckBytes(d, kCheck1At),
        checkBytes(d, kCheck2First, kCheck2Last, kCheck2At) == storedCheckBytes(d, kCheck2At)};
}

DecodedDescription decodeDescription(const Description& d) {
    using namespace ldf;
    DecodedDescription out{};
    for (size_t i = 0; i < 4; ++i) out.header[i] = d[i];
    out.startSector = static_cast<int8_t>(d[recordBase(1) + kStartSector]);
    out.tempoCode = readInt24(&d[kTempo]);
    out.beatCount = d[kBars];
    out.beatsPerBar = d[kBeats];
    out.division = d[kDivision];
    out.loopSectors = readInt24(&d[kLoopSectors]);
    for (int k = 1; k <= 4; ++k) {
        const int base = recordBase(k);
        DecodedTrack& t = out.tracks[static_cast<size_t>(k - 1)];
        t.chosenByte = d[static_cast<size_t>(base + kChosen)];
        t.chosen = t.chosenByte == 2;
        t.endSector = writtenEndSector(d, k);
        t.endMinus15 = readLeS16(&d[static_cast<size_t>(base + kEndMinus15)]);
        t.clusters = readLeS16(&d[static_cast<size_t>(base + kClusters)]);
        int bits = 0;
        while (bits < kClusterRoom &&
               (d[static_cast<size_t>(base + kBitmap + bits / 8)] >> (bits % 8) & 1))
            ++bits;
        t.bitmapBits = bits;
        t.pan = readInt24(&d[static_cast<size_t>(kMixPan[static_cast<size_t>(k - 1)])]);
        t.pitch = readInt24(&d[static_cast<size_t>(kMixPitch[static_cast<size_t>(k - 1)])]);
        t.tableSectors = readInt24(&d[static_cast<size_t>(tableBase(k) + kTableSectors)]);
    }
    out.checks = verifyCheckTriples(d);
    return out;
}

int32_t endSectorOfFields(uint16_t endWord, int32_t tableSectors) {
    return endWord == 0xFFFF && tableSectors == 0 ? -1 : endWord;
}

int32_t writtenEndSector(const Description& d, int track) {
    return endSectorOfFields(readLe16(&d[static_cast<size_t>(ldf::recordBase(track) + ldf::kEndSector)]),
                             readInt24(&d[static_cast<size_t>(ldf::tableBase(track) + ldf::kTableSectors)]));
}

std::vector<int> chosenTracks(const Description& d) {
    std::vector<int> tracks;
    for (int k = 1; k <= 4; ++k)
        if (d[static_cast<size_t>(ldf::recordBase(k) + ldf::kChosen)] == 2) tracks.push_back(k);
    return tracks;
}

}  // namespace brenvik::loop
