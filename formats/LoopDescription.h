#pragma once
// loopinfo.ldf: the 16384-byte description of a Repeater loop.
#include <array>
#include <cstdint>
#include <vector>

namespace brenvik::loop {

constexpr int kDescriptionSize = 16384;
using Description = std::array<uint8_t, kDescriptionSize>;

namespace ldf {
constexpr int kRecordBase = 0x030;  // track k's record: 0x030 + 390 (k - 1)
constexpr int kRecordStride = 390;
constexpr int kChosen = 0x000;       // 2 for a chosen track
constexpr int kStartSector = 0x003;  // never written: the Repeater's start sector is 0
constexpr int kEndSector = 0x006;    // n - 1, 16-bit
constexpr int kEndMinus15 = 0x00C;   // n - 16, 16-bit
constexpr int kRecordOne = 0x01B;    // 1
constexpr int kClusters = 0x033;     // m, 16-bit
constexpr int kBitmapFlag = 0x039;   // 1
constexpr int kBitmap = 0x03C;       // m bits, least significant bit first
constexpr int kBitmapEnd = 0x17F;    // last byte of the bitmap room
constexpr int kTrackKind = 0x180;    // 1 for track 1, 2 for the others
constexpr int kTableBase = 0x800;    // track k's table entry: 0x800 + 24 (k - 1)
constexpr int kTableStride = 24;
constexpr int kTableIndex = 0x00;
constexpr int kTableEnd = 0x0C;
constexpr int kTableSectors = 0x0F;
constexpr int kTableTwo = 0x15;
constexpr int kMarker = 0x860;       // three 0xFF bytes
constexpr int kTempo = 0x1009;
constexpr int kBars = 0x100C;
constexpr int kBeats = 0x100F;
constexpr int kDivision = 0x1012;
constexpr int kLoopSectors = 0x1015;
constexpr int kLoopEnd = 0x101B;
constexpr int kLoopEndAgain = 0x1027;
constexpr int kTempoAgain = 0x102A;
constexpr std::array<int, 4> kMixInUse{0x102D, 0x1042, 0x105A, 0x1072};
constexpr std::array<int, 4> kMixPan{0x1036, 0x104B, 0x1063, 0x107B};
constexpr std::array<int, 4> kMixPitch{0x1039, 0x104E, 0x1066, 0x107E};
constexpr int kCheck1First = 0x005, kCheck1Last = 0x646, kCheck1At = 0x648;
constexpr int kCheck2First = 0x005, kCheck2Last = 0x107E, kCheck2At = 0x1087;
constexpr int kClusterRoom = (kBitmapEnd - kBitmap + 1) * 8;  // 2592 clusters
static_assert(kRecordBase + 3 * kRecordStride + kTrackKind < kTableBase);
static_assert(kMixPitch[3] + 3 <= kDescriptionSize);
static_assert(kCheck2At + 3 <= kDescriptionSize);
constexpr int recordBase(int track) { return kRecordBase + kRecordStride * (track - 1); }
constexpr int tableBase(int track) { return kTableBase + kTableStride * (track - 1); }
}  // namespace ldf

struct TrackMix {
    bool chosen = false;
    int32_t pan = 0;    // -100 (left) .. 100 (right)
    int32_t pitch = 0;  // -2400 .. 1200
};

struct LoopValues {
    int32_t trackSectors = 0;  // n
    int32_t loopSectors = 0;   // N
    int32_t clusters = 0;      // m
    int32_t tempoCode = 0;     // T
    // The Repeater calls these two fields bars and beats: "bars" holds the loop's beat count,
    // "beats" the beats in one bar.
    int32_t beatCount = 0;    // stored in the bars field
    int32_t beatsPerBar = 0;  // stored in the beats field
    int32_t division = 0;
    std::array<TrackMix, 4> tracks{};  // tracks 1 to 4
};

// Builds the description in its seven steps; the check triples come last, over the final
// bytes. Throws RoutineError when a bitmap would run past the end of the block.
Description buildDescription(const LoopValues& values);

// The three running XOR values over [first, last], each starting at 0xFF, indexed by offset mod 3.
std::array<uint8_t, 3> checkTriple(const Description& d, int first, int last);

// The three bytes that belong at at, at + 1 and at + 2 for the range [first, last]: each gets
// the running value of its own offset's remainder modulo 3.
std::array<uint8_t, 3> checkBytes(const Description& d, int first, int last, int at);
// The three bytes stored at at, at + 1 and at + 2.
std::array<uint8_t, 3> storedCheckBytes(const Description& d, int at);

// Stores both check triples (triple 1 first: triple 2 covers it).
void storeCheckTriples(Description& d);

struct CheckState {
    bool triple1 = false;
    bool triple2 = false;
};
CheckState verifyCheckTriples(const Description& d);

// What the fields of a description say, for display.
struct DecodedTrack {
    bool chosen;
    int chosenByte;
    int endSector;      // n - 1 as the writer stores it: -1 to 65535
    int endMinus15;     // n - 16, read signed 16-bit
    int clusters;       // m
    int bitmapBits;     // leading set bits of the bitmap
    int pan, pitch;     // signed 24-bit
    int tableSectors;   // n from the track table, 24-bit
};
struct DecodedDescription {
    std::array<uint8_t, 4> header;
    int startSector;    // the byte the track opener reads as s
    int tempoCode;
    int beatCount, beatsPerBar, division;  // the bars, beats and division fields
    int loopSectors;    // N
    std::array<DecodedTrack, 4> tracks;
    CheckState checks;
};
DecodedDescription decodeDescription(const Description& d);

// The tracks a description chooses (their record's first byte is 2), lowest first.
std::vector<int> chosenTracks(const Description& d);

// A signed 24-bit field read back.
int32_t readInt24(const uint8_t* p);

// The end sector as the writer stores it: n - 1 in the two low bytes, with n from 0 to 65536, so
// the word reads unsigned; FFFF stands for an empty track (-1) when the track table's 24-bit
// count n of the same track says 0. Every reader of a loop takes the end sector from here, so a
// track past 32767 sectors reads back as it was written.
int32_t endSectorOfFields(uint16_t endWord, int32_t tableSectors);
int32_t writtenEndSector(const Description& d, int track);

}  // namespace brenvik::loop
