#include <QTest>

#include <array>
#include <cstdint>
#include <vector>

#include "LoopDescription.h"
#include "LoopLayout.h"
#include "RoutineError.h"

using namespace brenvik::loop;

namespace {

// A field written down at its literal offset, value taken modulo 2^24, least significant first.
void put(std::vector<uint8_t>& d, int offset, int width, int32_t value) {
    const uint32_t form = static_cast<uint32_t>(value) & 0xFFFFFF;
    for (int i = 0; i < width / 8; ++i) d[static_cast<size_t>(offset + i)] = uint8_t(form >> (8 * i));
}

struct Mix {
    int track;  // 1..4
    int32_t pan, pitch;
};

// The description written out from its tables, offsets as literals, without the check bytes.
std::vector<uint8_t> fromTables(int32_t n, int32_t N, int32_t m, int32_t T, int bars, int beats,
                                int division, const std::vector<Mix>& chosen) {
    std::vector<uint8_t> d(16384, 0);
    put(d, 0x000, 8, 0x20);
    put(d, 0x001, 8, 0xF3);
    put(d, 0x002, 8, 0xFA);
    put(d, 0x860, 8, 0xFF);
    put(d, 0x861, 8, 0xFF);
    put(d, 0x862, 8, 0xFF);
    const std::array<int, 4> record{0x030, 0x1B6, 0x33C, 0x4C2};
    const std::array<int, 4> table{0x800, 0x818, 0x830, 0x848};
    for (size_t k = 0; k < 4; ++k) {
        put(d, record[k] + 0x006, 16, n - 1);
        put(d, record[k] + 0x00C, 16, n - 16);
        put(d, record[k] + 0x01B, 8, 1);
        put(d, table[k] + 0x00, 8, int32_t(k));
        put(d, table[k] + 0x0C, 16, n - 1);
        put(d, table[k] + 0x0F, 24, n);
        put(d, table[k] + 0x15, 8, 2);
    }
    const std::array<int, 4> inUse{0x102D, 0x1042, 0x105A, 0x1072};
    const std::array<int, 4> pan{0x1036, 0x104B, 0x1063, 0x107B};
    const std::array<int, 4> pitch{0x1039, 0x104E, 0x1066, 0x107E};
    for (const Mix& mix : chosen) {
        const size_t k = size_t(mix.track - 1);
        put(d, record[k] + 0x000, 8, 2);
        put(d, record[k] + 0x180, 8, mix.track == 1 ? 1 : 2);
        put(d, record[k] + 0x039, 8, 1);
        put(d, inUse[k], 8, 1);
        put(d, pan[k], 24, mix.pan);
        put(d, pitch[k], 24, mix.pitch);
        put(d, record[k] + 0x033, 16, m);
        for (int i = 0; i < m; ++i) d[size_t(record[k] + 0x03C + i / 8)] |= uint8_t(1 << (i % 8));
    }
    put(d, 0x1009, 24, T);
    put(d, 0x100C, 8, bars);
    put(d, 0x100F, 8, beats);
    put(d, 0x1012, 8, division);
    put(d, 0x1015, 24, N);
    put(d, 0x101B, 24, N - 1);
    put(d, 0x1027, 24, N - 1);
    put(d, 0x102A, 24, T);
    return d;
}

// Check byte for remainder r over [first, last]: 0xFF XOR every byte whose offset mod 3 is r.
uint8_t xorOver(const std::vector<uint8_t>& d, int first, int last, int r) {
    uint8_t v = 0xFF;
    for (int i = first; i <= last; ++i)
        if (i % 3 == r) v ^= d[size_t(i)];
    return v;
}

// Adds both check triples the way the text describes them, triple 1 first.
void addCheckBytes(std::vector<uint8_t>& d) {
    d[0x648] = xorOver(d, 0x005, 0x646, 0);
    d[0x649] = xorOver(d, 0x005, 0x646, 1);
    d[0x64A] = xorOver(d, 0x005, 0x646, 2);
    d[0x1087] = xorOver(d, 0x005, 0x107E, 1);
    d[0x1088] = xorOver(d, 0x005, 0x107E, 2);
    d[0x1089] = xorOver(d, 0x005, 0x107E, 0);
}

LoopValues values(int32_t dataLength, bool stereo, std::vector<Mix> chosen, float tempo = 120.0f) {
    LoopValues v;
    v.trackSectors = trackSectors(dataLength, stereo);
    v.loopSectors = loopSectors(dataLength);
    v.clusters = clusterCount(v.loopSectors);
    v.tempoCode = tempoCode(tempo);
    v.bars = 17;
    v.beats = 4;
    v.division = 4;
    for (const Mix& mix : chosen) {
        TrackMix& t = v.tracks[size_t(mix.track - 1)];
        t.chosen = true;
        t.pan = mix.pan;
        t.pitch = mix.pitch;
    }
    return v;
}

std::vector<uint8_t> bytesOf(const Description& d) { return std::vector<uint8_t>(d.begin(), d.end()); }

Description withChecks(Description d) {
    storeCheckTriples(d);
    return d;
}

}  // namespace

Q_DECLARE_METATYPE(std::vector<Mix>)

// loopinfo.ldf, byte for byte.
class TestLoopDescription : public QObject {
    Q_OBJECT
private slots:
    void wholeBlock_data();
    void wholeBlock();
    void monoMillionBytes();
    void shorterThanASector();
    void fifteenSectorsAndNegativeFields();
    void bitmaps_data();
    void bitmaps();
    void stereoOddLoopSectors();
    void stereoOnTracksTwoAndFour();
    void bitmapPastTheBlockFails();
    void allZeroRangeGivesFF();
    void bytesOutsideBothRanges_data();
    void bytesOutsideBothRanges();
    void changeInFirstRange_data();
    void changeInFirstRange();
    void changeInSecondRange_data();
    void changeInSecondRange();
    void verifyNoticesAChange();
    void decodeReadsBack();
};

void TestLoopDescription::wholeBlock_data() {
    QTest::addColumn<int>("dataLength");
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<std::vector<Mix>>("chosen");
    QTest::newRow("mono 1,000,000 on track 1") << 1000000 << false << std::vector<Mix>{{1, 0, 0}};
    QTest::newRow("mono on track 3, panned") << 200000 << false << std::vector<Mix>{{3, -100, 1200}};
    QTest::newRow("stereo 1 and 2") << 1050112 << true << std::vector<Mix>{{1, -100, 0}, {2, 100, -2400}};
    QTest::newRow("stereo 4 and 3") << 3145728 << true << std::vector<Mix>{{4, 50, -1}, {3, -50, 7}};
    QTest::newRow("mono under a sector") << 100 << false << std::vector<Mix>{{2, 0, 0}};
}

void TestLoopDescription::wholeBlock() {
    QFETCH(int, dataLength);
    QFETCH(bool, stereo);
    QFETCH(std::vector<Mix>, chosen);
    const LoopValues v = values(dataLength, stereo, chosen);
    std::vector<uint8_t> expected = fromTables(v.trackSectors, v.loopSectors, v.clusters, v.tempoCode,
                                               v.bars, v.beats, v.division, chosen);
    addCheckBytes(expected);
    QCOMPARE(bytesOf(buildDescription(v)), expected);
}

void TestLoopDescription::monoMillionBytes() {
    const Description d = buildDescription(values(1000000, false, {{1, 0, 0}}));
    // End word 1952 = A0 07; m = 62: seven full bytes then six bits.
    QCOMPARE(d[0x036], uint8_t(0xA0));
    QCOMPARE(d[0x037], uint8_t(0x07));
    QCOMPARE(d[0x063], uint8_t(62));
    for (int i = 0; i < 7; ++i) QCOMPARE(d[size_t(0x06C + i)], uint8_t(0xFF));
    QCOMPARE(d[0x06C + 7], uint8_t(0x3F));
    QCOMPARE(d[0x06C + 8], uint8_t(0));
    // The start sector is never written: the track opener reads 0 there.
    QCOMPARE(d[0x033], uint8_t(0));
    // N = 1953 = A1 07 00 and the tempo code 491590 = 46 80 07.
    QCOMPARE(d[0x1015], uint8_t(0xA1));
    QCOMPARE(d[0x1016], uint8_t(0x07));
    QCOMPARE(d[0x1009], uint8_t(0x46));
    QCOMPARE(d[0x100A], uint8_t(0x80));
    QCOMPARE(d[0x100B], uint8_t(0x07));
    QCOMPARE(d[0x102A], uint8_t(0x46));
    const CheckState checks = verifyCheckTriples(d);
    QVERIFY(checks.triple1);
    QVERIFY(checks.triple2);
}

void TestLoopDescription::shorterThanASector() {
    const Description d = buildDescription(values(511, false, {{1, 0, 0}}));
    QCOMPARE(d[0x036], uint8_t(0xFF));  // end word n - 1 = -1
    QCOMPARE(d[0x037], uint8_t(0xFF));
    QCOMPARE(d[0x038], uint8_t(0x00));  // a 16-bit field leaves the third byte alone
    QCOMPARE(d[0x03C], uint8_t(0xF0));  // n - 16 = -16
    QCOMPARE(d[0x03D], uint8_t(0xFF));
    for (int at : {0x101B, 0x1027})     // N - 1 = -1 in 24 bits
        for (int i = 0; i < 3; ++i) QCOMPARE(d[size_t(at + i)], uint8_t(0xFF));
    QCOMPARE(d[0x063], uint8_t(1));     // m = R(0.96875) = 1
    QCOMPARE(d[0x06C], uint8_t(0x01));
    QCOMPARE(d[0x06D], uint8_t(0x00));
}

void TestLoopDescription::fifteenSectorsAndNegativeFields() {
    // n = 15 on track 1 with pan -1 and pitch -257; track 2 pitch 1200.
    const Description d = buildDescription(values(15 * 1024, true, {{1, -1, -257}, {2, 0, 1200}}));
    QCOMPARE(d[0x03C], uint8_t(0xFF));  // n - 16 = -1
    QCOMPARE(d[0x03D], uint8_t(0xFF));
    QCOMPARE(d[0x1036], uint8_t(0xFF));
    QCOMPARE(d[0x1037], uint8_t(0xFF));
    QCOMPARE(d[0x1038], uint8_t(0xFF));
    QCOMPARE(d[0x1039], uint8_t(0xFF));
    QCOMPARE(d[0x103A], uint8_t(0xFE));
    QCOMPARE(d[0x103B], uint8_t(0xFF));
    QCOMPARE(d[0x104E], uint8_t(0xB0));
    QCOMPARE(d[0x104F], uint8_t(0x04));
    QCOMPARE(d[0x1050], uint8_t(0x00));
}

void TestLoopDescription::bitmaps_data() {
    QTest::addColumn<int>("N");
    QTest::addColumn<QByteArray>("bitmap");  // the bitmap bytes, and a 00 where the room goes on
    // m = R((N - 1) / 32 + 1): N = 513 gives 17, N = 481 gives 16, N = 225 gives 8.
    QTest::newRow("m = 17") << 513 << QByteArray("\xFF\xFF\x01\x00", 4);
    QTest::newRow("m = 16") << 481 << QByteArray("\xFF\xFF\x00", 3);
    QTest::newRow("m = 8") << 225 << QByteArray("\xFF\x00", 2);
    QTest::newRow("m = 2592, the room") << 2591 * 32 + 1 << QByteArray(324, '\xFF');
}

void TestLoopDescription::bitmaps() {
    QFETCH(int, N);
    QFETCH(QByteArray, bitmap);
    const Description d = buildDescription(values(N * 512, false, {{2, 0, 0}}));
    for (qsizetype i = 0; i < bitmap.size(); ++i)
        QCOMPARE(d[size_t(0x1F2 + i)], uint8_t(bitmap[i]));
    QCOMPARE(d[0x1F2 - 1], uint8_t(0));  // the byte before the bitmap (+0x03B) stays 0
}

void TestLoopDescription::stereoOddLoopSectors() {
    // 1,050,112 bytes: N = 2051, n = 1025; the end word is 1024 in all four records.
    const Description d = buildDescription(values(1050112, true, {{1, 0, 0}, {2, 0, 0}}));
    for (int base : {0x030, 0x1B6, 0x33C, 0x4C2}) {
        QCOMPARE(d[size_t(base + 6)], uint8_t(0x00));
        QCOMPARE(d[size_t(base + 7)], uint8_t(0x04));
    }
    QCOMPARE(d[0x1015], uint8_t(0x03));  // N = 2051 = 03 08 00
    QCOMPARE(d[0x1016], uint8_t(0x08));
    QCOMPARE(d[0x1017], uint8_t(0x00));
    QCOMPARE(d[0x80F], uint8_t(0x01));   // table n = 1025 = 01 04 00
    QCOMPARE(d[0x810], uint8_t(0x04));
}

void TestLoopDescription::stereoOnTracksTwoAndFour() {
    const Description d = buildDescription(values(400000, true, {{2, -30, 100}, {4, 30, -100}}));
    QCOMPARE(d[0x030], uint8_t(0));  // tracks 1 and 3 not chosen
    QCOMPARE(d[0x33C], uint8_t(0));
    QCOMPARE(d[0x1B6], uint8_t(2));
    QCOMPARE(d[0x4C2], uint8_t(2));
    QCOMPARE(d[0x1B0], uint8_t(0));  // track 1's kind byte untouched
    QCOMPARE(d[0x336], uint8_t(2));
    QCOMPARE(d[0x642], uint8_t(2));
    QCOMPARE(d[0x102D], uint8_t(0));
    QCOMPARE(d[0x1042], uint8_t(1));
    QCOMPARE(d[0x105A], uint8_t(0));
    QCOMPARE(d[0x1072], uint8_t(1));
    QCOMPARE(d[0x104B], uint8_t(0xE2));  // -30
    QCOMPARE(d[0x107B], uint8_t(30));
    QCOMPARE(d[0x069], uint8_t(0));  // no bitmap flag or bitmap for track 1
    QCOMPARE(d[0x06C], uint8_t(0));
    QCOMPARE(d[0x1EF], uint8_t(1));
    QCOMPARE(d[0x1F2], uint8_t(0xFF));
    QCOMPARE(d[0x4FE], uint8_t(0xFF));
    // The end fields are written for all four tracks, chosen or not: n - 1 = 389.
    QCOMPARE(d[0x342], uint8_t(389 & 0xFF));
    QCOMPARE(d[0x343], uint8_t(389 >> 8));
}

void TestLoopDescription::bitmapPastTheBlockFails() {
    LoopValues v = values(1000000, false, {{4, 0, 0}});
    v.clusters = 200000;  // far beyond any record's room and the block itself
    QVERIFY_THROWS_EXCEPTION(brenvik::RoutineError, buildDescription(v));
}

void TestLoopDescription::allZeroRangeGivesFF() {
    Description d{};
    QCOMPARE(checkTriple(d, 0x005, 0x646), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
    storeCheckTriples(d);
    QCOMPARE(storedCheckBytes(d, 0x648), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
    // Triple 2 covers the three FF bytes of triple 1, one of each remainder: FF ^ FF = 0.
    QCOMPARE(storedCheckBytes(d, 0x1087), (std::array<uint8_t, 3>{0x00, 0x00, 0x00}));
}

void TestLoopDescription::bytesOutsideBothRanges_data() {
    QTest::addColumn<int>("offset");
    for (int offset : {0, 1, 2, 3, 4, 0x107F, 0x1080, 0x1081, 0x3FFF})
        QTest::addRow("0x%X", offset) << offset;
}

void TestLoopDescription::bytesOutsideBothRanges() {
    QFETCH(int, offset);
    const Description original = buildDescription(values(1000000, false, {{1, 0, 0}, {4, 0, -2400}}));
    Description changed = original;
    changed[size_t(offset)] ^= 0x5A;
    QVERIFY(verifyCheckTriples(changed).triple1);
    QVERIFY(verifyCheckTriples(changed).triple2);
    changed = withChecks(changed);
    QCOMPARE(storedCheckBytes(changed, 0x648), storedCheckBytes(original, 0x648));
    QCOMPARE(storedCheckBytes(changed, 0x1087), storedCheckBytes(original, 0x1087));
}

void TestLoopDescription::changeInFirstRange_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("slot");  // 0, 1, 2 for 0x648, 0x649, 0x64A
    for (int offset : {0x005, 0x006, 0x007, 0x036, 0x300, 0x644, 0x645, 0x646})
        QTest::addRow("0x%X", offset) << offset << offset % 3;
}

void TestLoopDescription::changeInFirstRange() {
    // The triple-1 byte of the same remainder changes by the same bits; triple 2 stays, because
    // the changed triple-1 byte (same remainder) cancels the change.
    QFETCH(int, offset);
    QFETCH(int, slot);
    const Description original = buildDescription(values(200000, true, {{1, 10, 20}, {3, -10, -20}}));
    Description changed = original;
    changed[size_t(offset)] ^= 0x81;
    changed = withChecks(changed);
    for (int i = 0; i < 3; ++i) {
        const uint8_t delta = uint8_t(changed[size_t(0x648 + i)] ^ original[size_t(0x648 + i)]);
        QCOMPARE(delta, uint8_t(i == slot ? 0x81 : 0));
    }
    QCOMPARE(storedCheckBytes(changed, 0x1087), storedCheckBytes(original, 0x1087));
}

void TestLoopDescription::changeInSecondRange_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("slot");  // 0, 1, 2 for 0x1087 (remainder 1), 0x1088 (2), 0x1089 (0)
    for (int offset : {0x647, 0x64B, 0x64C, 0x64D, 0x800, 0x1009, 0x107C, 0x107D, 0x107E})
        QTest::addRow("0x%X", offset) << offset << (offset % 3 + 2) % 3;
}

void TestLoopDescription::changeInSecondRange() {
    QFETCH(int, offset);
    QFETCH(int, slot);
    const Description original = buildDescription(values(200000, false, {{4, 0, 1200}}));
    Description changed = original;
    changed[size_t(offset)] ^= 0x24;
    changed = withChecks(changed);
    QCOMPARE(storedCheckBytes(changed, 0x648), storedCheckBytes(original, 0x648));
    for (int i = 0; i < 3; ++i) {
        const uint8_t delta = uint8_t(changed[size_t(0x1087 + i)] ^ original[size_t(0x1087 + i)]);
        QCOMPARE(delta, uint8_t(i == slot ? 0x24 : 0));
    }
}

void TestLoopDescription::verifyNoticesAChange() {
    const Description original = buildDescription(values(200000, false, {{1, 0, 0}}));
    Description changed = original;
    changed[0x100] ^= 1;  // in both ranges
    QVERIFY(!verifyCheckTriples(changed).triple1);
    QVERIFY(!verifyCheckTriples(changed).triple2);
    changed = original;
    changed[0x900] ^= 1;  // in the second range only
    QVERIFY(verifyCheckTriples(changed).triple1);
    QVERIFY(!verifyCheckTriples(changed).triple2);
    changed = original;
    changed[0x649] ^= 1;  // a triple-1 byte itself: wrong there, and triple 2 covers it
    QVERIFY(!verifyCheckTriples(changed).triple1);
    QVERIFY(!verifyCheckTriples(changed).triple2);
}

void TestLoopDescription::decodeReadsBack() {
    const LoopValues v = values(1050112, true, {{2, -100, -2400}, {3, 100, 1200}}, 127.5f);
    const DecodedDescription got = decodeDescription(buildDescription(v));
    QCOMPARE(got.header, (std::array<uint8_t, 4>{0x20, 0xF3, 0xFA, 0x00}));
    QCOMPARE(got.startSector, 0);
    QCOMPARE(got.tempoCode, 1274 * 410);
    QCOMPARE(got.bars, 17);
    QCOMPARE(got.beats, 4);
    QCOMPARE(got.division, 4);
    QCOMPARE(got.loopSectors, 2051);
    QVERIFY(got.checks.triple1);
    QVERIFY(got.checks.triple2);
    for (int k = 1; k <= 4; ++k) {
        const DecodedTrack& t = got.tracks[size_t(k - 1)];
        const bool chosen = k == 2 || k == 3;
        QCOMPARE(t.chosen, chosen);
        QCOMPARE(t.endSector, 1024);
        QCOMPARE(t.endMinus15, 1025 - 16);
        QCOMPARE(t.tableSectors, 1025);
        QCOMPARE(t.clusters, chosen ? 65 : 0);
        QCOMPARE(t.bitmapBits, chosen ? 65 : 0);
    }
    QCOMPARE(got.tracks[1].pan, -100);
    QCOMPARE(got.tracks[1].pitch, -2400);
    QCOMPARE(got.tracks[2].pan, 100);
    QCOMPARE(got.tracks[2].pitch, 1200);
}

QTEST_APPLESS_MAIN(TestLoopDescription)
#include "tst_loopdescription.moc"
