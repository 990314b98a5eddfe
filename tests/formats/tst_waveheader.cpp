#include <QTest>

#include <cstdint>
#include <vector>

#include "WaveHeader.h"

using namespace brenvik;

namespace {

// The canonical header spelt out field by field from its layout, little-endian.
std::vector<uint8_t> expectedHeader(uint32_t riffSize, uint16_t channels, uint32_t byteRate,
                                    uint16_t blockAlign, uint32_t dataSize) {
    std::vector<uint8_t> h;
    auto text = [&](const char* s) { h.insert(h.end(), s, s + 4); };
    auto le16 = [&](uint16_t v) { h.insert(h.end(), {uint8_t(v & 0xFF), uint8_t(v >> 8)}); };
    auto le32 = [&](uint32_t v) {
        h.insert(h.end(), {uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF), uint8_t((v >> 16) & 0xFF),
                           uint8_t(v >> 24)});
    };
    text("RIFF");
    le32(riffSize);
    text("WAVE");
    text("fmt ");
    le32(16);
    le16(1);
    le16(channels);
    le32(44100);
    le32(byteRate);
    le16(blockAlign);
    le16(16);
    text("data");
    le32(dataSize);
    return h;
}

}  // namespace

class TestWaveHeader : public QObject {
    Q_OBJECT
private slots:
    void canonical_data();
    void canonical();
    void fieldsReadBack();
};

void TestWaveHeader::canonical_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<uint>("riffSize");
    QTest::addColumn<uint>("byteRate");
    QTest::addColumn<int>("blockAlign");
    // 4 seconds of stereo: 352,800 frames of 4 bytes.
    QTest::newRow("stereo 4 s") << 2 << 1411200 << 1411236u << 176400u << 4;
    // One second of mono: 44100 frames of 2 bytes.
    QTest::newRow("mono 1 s") << 1 << 88200 << 88236u << 88200u << 2;
    QTest::newRow("header only") << 1 << 0 << 36u << 88200u << 2;
}

void TestWaveHeader::canonical() {
    QFETCH(int, channels);
    QFETCH(int, dataSize);
    QFETCH(uint, riffSize);
    QFETCH(uint, byteRate);
    QFETCH(int, blockAlign);
    const wave::Header h = wave::canonicalHeader(static_cast<int16_t>(channels), dataSize);
    const std::vector<uint8_t> bytes(h.begin(), h.end());
    QCOMPARE(bytes, expectedHeader(riffSize, uint16_t(channels), byteRate, uint16_t(blockAlign),
                                   uint32_t(dataSize)));
    QCOMPARE(int(bytes.size()), 44);
}

void TestWaveHeader::fieldsReadBack() {
    const wave::HeaderFields f = wave::readHeaderFields(wave::canonicalHeader(2, 1411200));
    QCOMPARE(f.riffSize, 1411236);
    QCOMPARE(f.formatTag, int16_t(1));
    QCOMPARE(f.channels, int16_t(2));
    QCOMPARE(f.sampleRate, 44100);
    QCOMPARE(f.byteRate, 176400);
    QCOMPARE(f.blockAlign, int16_t(4));
    QCOMPARE(f.bitsPerSample, int16_t(16));
    QCOMPARE(f.dataSize, 1411200);
}

QTEST_APPLESS_MAIN(TestWaveHeader)
#include "tst_waveheader.moc"
