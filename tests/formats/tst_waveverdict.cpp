#include <QTest>

#include <string>

#include "ByteWriter.h"
#include "WaveVerdict.h"

using namespace brenvik;
using test::ByteWriter;
using Outcome = WaveVerdict::Outcome;

Q_DECLARE_METATYPE(brenvik::WaveVerdict::Outcome)

namespace {

// A header whose data size field says dataSize; the samples themselves are not needed, since
// the opener never compares the size with the file's length.
ByteWriter header(int channels, int rate, int bits, qint64 dataSize) {
    ByteWriter w;
    w.riffHeader().fmtChunk(channels, rate, bits).tag("data").le32(dataSize);
    return w;
}

WaveVerdict verdictOf(const std::vector<uint8_t>& bytes) {
    MemorySource source(bytes);
    return judgeWave(source);
}

}  // namespace

// What the wave-to-Repeater opener says about a file.
class TestWaveVerdict : public QObject {
    Q_OBJECT
private slots:
    void verdict_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("bits");
        QTest::addColumn<qint64>("dataSize");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("maxBeats");
        auto row = [](const char* name, int channels, int rate, int bits, qint64 size, Outcome outcome,
                      int maxBeats) { QTest::newRow(name) << channels << rate << bits << size << outcome << maxBeats; };
        // 4 s of stereo: 705,600 bytes per channel, 32 quarter seconds.
        row("stereo 4 s", 2, 44100, 16, 1411200, Outcome::Accepted, 32);
        row("under a quarter second", 1, 44100, 16, 22049, Outcome::Accepted, 0);
        row("header only", 1, 44100, 16, 0, Outcome::Accepted, 0);
        // 4 channels: no layout of their own, bytes per channel = data size \ 4.
        row("4 channels", 4, 44100, 16, 352800, Outcome::Accepted, 4);
        row("48 kHz", 1, 48000, 16, 1000, Outcome::WrongRate, 0);
        row("24 bit", 2, 44100, 24, 1000, Outcome::WrongBits, 0);
        // When both are wrong only the rate is reported.
        row("48 kHz 8 bit", 1, 48000, 8, 1000, Outcome::WrongRate, 0);
        row("0 channels", 0, 44100, 16, 1000, Outcome::AcceptFailed, 0);
        // maxBeats must be a 16-bit value: 22050 x 32767 bytes still fit, one quarter second more not.
        row("maxBeats 32767", 1, 44100, 16, qint64(22050) * 32767, Outcome::Accepted, 32767);
        row("maxBeats 32768", 1, 44100, 16, qint64(22050) * 32768, Outcome::AcceptFailed, 0);
        // A negative size makes the tempo table negative, unless it is under a quarter second,
        // which truncates to 0.
        row("negative data size", 1, 44100, 16, -22050, Outcome::AcceptFailed, 0);
        row("small negative data size", 1, 44100, 16, -100, Outcome::Accepted, 0);
        row("negative channels", -1, 44100, 16, 44100, Outcome::AcceptFailed, 0);
    }

    void verdict() {
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, bits);
        QFETCH(qint64, dataSize);
        QFETCH(Outcome, outcome);
        QFETCH(int, maxBeats);
        const WaveVerdict v = verdictOf(header(channels, rate, bits, dataSize).bytes());
        QCOMPARE(v.outcome, outcome);
        QCOMPARE(int(v.maxBeats), maxBeats);
        QCOMPARE((QList<int>{v.format.channels, v.format.sampleRate, v.format.bitsPerSample}),
                 (QList<int>{channels, rate, bits}));
        if (outcome == Outcome::Accepted) QCOMPARE(qint64(v.bytesPerChannel), dataSize / channels);
    }

};

QTEST_APPLESS_MAIN(TestWaveVerdict)
#include "tst_waveverdict.moc"
