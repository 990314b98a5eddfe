#include <QTest>

#include <cstdint>
#include <vector>

#include "ByteWriter.h"
#include "WaveHeader.h"

using namespace brenvik;

// The canonical 44-byte header, written and read back at its fixed offsets.
class TestWaveHeader : public QObject {
    Q_OBJECT
private slots:
    void canonical_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("dataSize");
        QTest::addColumn<int>("riffSize");
        QTest::addColumn<int>("byteRate");
        QTest::addColumn<int>("blockAlign");
        // 4 seconds of stereo: 352,800 frames of 4 bytes.
        QTest::newRow("stereo 4 s") << 2 << 1411200 << 1411236 << 176400 << 4;
        // One second of mono: 44100 frames of 2 bytes.
        QTest::newRow("mono 1 s") << 1 << 88200 << 88236 << 88200 << 2;
        QTest::newRow("header only") << 1 << 0 << 36 << 88200 << 2;
    }

    void canonical() {
        QFETCH(int, channels);
        QFETCH(int, dataSize);
        QFETCH(int, riffSize);
        QFETCH(int, byteRate);
        QFETCH(int, blockAlign);
        const wave::Header h = wave::canonicalHeader(static_cast<int16_t>(channels), dataSize);
        test::ByteWriter expected;
        expected.riffHeader(riffSize).tag("fmt ").le32(16).le16(1).le16(channels).le32(44100).le32(byteRate)
            .le16(blockAlign).le16(16).tag("data").le32(dataSize);
        QCOMPARE(std::vector<uint8_t>(h.begin(), h.end()), expected.bytes());
        const wave::HeaderFields f = wave::readHeaderFields(h);
        QCOMPARE((QList<int>{f.riffSize, f.formatTag, f.channels, f.sampleRate, f.byteRate, f.blockAlign,
                             f.bitsPerSample, f.dataSize}),
                 (QList<int>{riffSize, 1, channels, 44100, byteRate, blockAlign, 16, dataSize}));
    }
};

QTEST_APPLESS_MAIN(TestWaveHeader)
#include "tst_waveheader.moc"
