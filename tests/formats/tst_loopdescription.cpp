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
    put(d, 0x000, 24, 0xFAF320);
    put(d, 0x860, 24, 0xFFFFFF);
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

// Adds both check triples from their definition, triple 1 first.
void addCheckBytes(std::vector<uint8_t>& d) {
    for (int i = 0; i < 3; ++i) d[size_t(0x648 + i)] = xorOver(d, 0x005, 0x646, i);
    for (int i = 0; i < 3; ++i) d[size_t(0x1087 + i)] = xorOver(d, 0x005, 0x107E, (i + 1) % 3);
}

LoopValues values(int32_t dataLength, bool stereo, std::vector<Mix> chosen, float tempo = 120.0f) {
    LoopValues v;
    v.trackSectors = trackSectors(dataLength, stereo);
    v.loopSectors = loopSectors(dataLength);
    v.clusters = clusterCount(v.loopSectors);
    v.tempoCode = tempoCode(tempo);
    v.beatCount = 17;
    v.beatsPerBar = 4;
    v.division = 4;
    for (const Mix& mix : chosen) v.tracks[size_t(mix.track - 1)] = TrackMix{true, mix.pan, mix.pitch};
    return v;
}

}  // namespace

using Fields = std::vector<std::pair<int, QByteArray>>;  // offset, expected bytes in hex

Q_DECLARE_METATYPE(std::vector<Mix>)
Q_DECLARE_METATYPE(Fields)

// loopinfo.ldf, byte for byte.
class TestLoopDescription : public QObject {
    Q_OBJECT
private slots:
    // Each block is compared whole with the one written out from the tables; the worked examples
    // are also compared at their offsets, written down as hex.
    void block_data() {
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<bool>("stereo");
        QTest::addColumn<std::vector<Mix>>("chosen");
        QTest::addColumn<Fields>("fields");
        auto row = [](const char* name, int length, bool stereo, std::vector<Mix> chosen, Fields fields = {}) {
            QTest::newRow(name) << length << stereo << chosen << fields;
        };
        // End word 1952; m = 62: seven full bytes then six bits; N = 1953; tempo code 491590.
        // The start sector is never written: the track opener reads 0 there.
        row("mono 1,000,000 on track 1", 1000000, false, {{1, 0, 0}},
            {{0x033, "00"}, {0x036, "A0 07"}, {0x063, "3E"}, {0x06C, "FF FF FF FF FF FF FF 3F 00"},
             {0x1009, "46 80 07"}, {0x1015, "A1 07"}, {0x102A, "46 80 07"}});
        row("mono on track 3, panned", 200000, false, {{3, -100, 1200}});
        // N = 2051, n = 1025: the end word is 1024 in all four records.
        row("stereo 1 and 2, odd N", 1050112, true, {{1, -100, 0}, {2, 100, -2400}},
            {{0x036, "00 04"}, {0x1BC, "00 04"}, {0x342, "00 04"}, {0x4C8, "00 04"}, {0x1015, "03 08 00"},
             {0x80F, "01 04"}});
        row("stereo 4 and 3", 3145728, true, {{4, 50, -1}, {3, -50, 7}});
        row("stereo 2 and 4", 400000, true, {{2, -30, 100}, {4, 30, -100}});
        // n - 1 = -1 in a 16-bit field leaves the third byte alone; n - 16 = -16; N - 1 = -1 in 24
        // bits; m = R(0.96875) = 1.
        row("under a sector on track 2", 511, false, {{2, 0, 0}},
            {{0x036, "FF FF 00"}, {0x03C, "F0 FF"}, {0x101B, "FF FF FF"}, {0x1027, "FF FF FF"}, {0x1E9, "01"},
             {0x1F2, "01 00"}});
        // n = 15: n - 16 = -1; track 1 pan -1 and pitch -257; track 2 pitch 1200.
        row("n = 15", 15 * 1024, true, {{1, -1, -257}, {2, 0, 1200}},
            {{0x03C, "FF FF"}, {0x1036, "FF FF FF FF FE FF"}, {0x104E, "B0 04 00"}});
        // Track 2's bitmap from 0x1F2, the byte before it (+0x03B) staying 0; m = R((N - 1) / 32 + 1).
        row("m = 17", 513 * 512, false, {{2, 0, 0}}, {{0x1F1, "00 FF FF 01 00"}});
        row("m = 16", 481 * 512, false, {{2, 0, 0}}, {{0x1F1, "00 FF FF 00"}});
        row("m = 8", 225 * 512, false, {{2, 0, 0}}, {{0x1F1, "00 FF 00"}});
        row("m = 2592, the room", (2591 * 32 + 1) * 512, false, {{2, 0, 0}},
            {{0x1F1, "00" + QByteArray(2 * 324, 'F')}});
        // Behind track 1's full bitmap its kind byte 1 has the lowest bit set: not a cluster.
        row("m = 2592 on track 1", (2591 * 32 + 1) * 512, false, {{1, 0, 0}});
    }

    void block() {
        QFETCH(int, dataLength);
        QFETCH(bool, stereo);
        QFETCH(std::vector<Mix>, chosen);
        QFETCH(Fields, fields);
        const LoopValues v = values(dataLength, stereo, chosen);
        const Description d = buildDescription(v);
        for (const auto& [offset, hex] : fields) {
            const QByteArray want = QByteArray::fromHex(hex);
            const QByteArray got(reinterpret_cast<const char*>(d.data()) + offset, want.size());
            QCOMPARE(got.toHex(' ').toUpper(), want.toHex(' ').toUpper());
        }
        std::vector<uint8_t> expected =
            fromTables(v.trackSectors, v.loopSectors, v.clusters, v.tempoCode, v.beatCount,
                       v.beatsPerBar, v.division, chosen);
        addCheckBytes(expected);
        QCOMPARE(std::vector<uint8_t>(d.begin(), d.end()), expected);
        // Read back, the block gives the values it was built from.
        const DecodedDescription back = decodeDescription(d);
        QCOMPARE((QList<int>{back.tempoCode, back.beatCount, back.beatsPerBar, back.division,
                             back.loopSectors}),
                 (QList<int>{v.tempoCode, v.beatCount, v.beatsPerBar, v.division, v.loopSectors}));
        QVERIFY(back.checks.triple1 && back.checks.triple2);
        for (const Mix& mix : chosen) {
            const DecodedTrack& t = back.tracks[size_t(mix.track - 1)];
            QCOMPARE((QList<int>{t.chosen, t.endSector, t.clusters, t.bitmapBits, t.pan, t.pitch, t.tableSectors}),
                     (QList<int>{1, int16_t(v.trackSectors - 1), v.clusters, v.clusters, mix.pan, mix.pitch,
                                 v.trackSectors}));
        }
    }

    void bitmapPastTheBlockFails() {
        LoopValues v = values(1000000, false, {{4, 0, 0}});
        v.clusters = 200000;  // far beyond any record's room and the block itself
        QVERIFY_THROWS_EXCEPTION(brenvik::RoutineError, buildDescription(v));
    }

    void allZeroRangeGivesFF() {
        Description d{};
        QCOMPARE(checkTriple(d, 0x005, 0x646), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
        storeCheckTriples(d);
        QCOMPARE(storedCheckBytes(d, 0x648), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
        // Triple 2 covers the three FF bytes of triple 1, one of each remainder: FF ^ FF = 0.
        QCOMPARE(storedCheckBytes(d, 0x1087), (std::array<uint8_t, 3>{0x00, 0x00, 0x00}));
    }

    void oneChangedByte_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("triple1Holds");  // verified before the check bytes are stored again
        QTest::addColumn<bool>("triple2Holds");
        QTest::addColumn<int>("slot1");  // stored again: the triple-1 byte (0x648 + slot) that changes, -1 none
        QTest::addColumn<int>("slot2");  // likewise 0x1087 (remainder 1), 0x1088 (2), 0x1089 (0)
        // Outside both ranges: nothing changes.
        for (int offset : {0, 1, 2, 3, 4, 0x107F, 0x1080, 0x1081, 0x3FFF})
            QTest::addRow("outside 0x%X", offset) << offset << true << true << -1 << -1;
        // In the first range: the triple-1 byte of the same remainder changes by the same bits;
        // triple 2 stays, because the changed triple-1 byte (same remainder) cancels the change.
        for (int offset : {0x005, 0x006, 0x007, 0x036, 0x300, 0x644, 0x645, 0x646})
            QTest::addRow("first range 0x%X", offset) << offset << false << false << offset % 3 << -1;
        for (int offset : {0x647, 0x64B, 0x64C, 0x64D, 0x800, 0x900, 0x1009, 0x107C, 0x107D, 0x107E})
            QTest::addRow("second range 0x%X", offset) << offset << true << false << -1 << (offset % 3 + 2) % 3;
        // A triple-1 byte itself: wrong there, and triple 2 covers it; storing again restores it.
        QTest::newRow("triple-1 byte 0x649") << 0x649 << false << false << -1 << -1;
    }

    void oneChangedByte() {
        QFETCH(int, offset);
        QFETCH(bool, triple1Holds);
        QFETCH(bool, triple2Holds);
        QFETCH(int, slot1);
        QFETCH(int, slot2);
        const Description original = buildDescription(values(200000, true, {{1, 10, 20}, {4, -10, -2400}}));
        Description changed = original;
        changed[size_t(offset)] ^= 0x81;
        QCOMPARE(verifyCheckTriples(changed).triple1, triple1Holds);
        QCOMPARE(verifyCheckTriples(changed).triple2, triple2Holds);
        storeCheckTriples(changed);
        for (size_t i = 0; i < 3; ++i) {
            QCOMPARE(uint8_t(changed[0x648 + i] ^ original[0x648 + i]), uint8_t(int(i) == slot1 ? 0x81 : 0));
            QCOMPARE(uint8_t(changed[0x1087 + i] ^ original[0x1087 + i]), uint8_t(int(i) == slot2 ? 0x81 : 0));
        }
    }

};

QTEST_APPLESS_MAIN(TestLoopDescription)
#include "tst_loopdescription.moc"
