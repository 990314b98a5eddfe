#include <QTest>

#include <string>

#include "ByteWriter.h"
#include "WaveVerdict.h"

using namespace brenvik;
using test::ByteWriter;
using Outcome = OpenerVerdict::Outcome;

Q_DECLARE_METATYPE(brenvik::OpenerVerdict::Outcome)

namespace {

// A header whose data size field says dataSize; the samples themselves are not needed, since
// the opener never compares the size with the file's length.
ByteWriter header(int channels, int rate, int bits, qint64 dataSize) {
    ByteWriter w;
    w.riffHeader().fmtChunk(channels, rate, bits).tag("data").le32(dataSize);
    return w;
}

OpenerVerdict verdictOf(const std::vector<uint8_t>& bytes) {
    MemorySource source(bytes);
    return openerVerdict(source);
}

const QString kError = "Error in fileOpeing()";
const QString kRate48 = "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz";

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
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("maxBeats");
        auto row = [](const char* name, int channels, int rate, int bits, qint64 size, Outcome outcome,
                      int maxBeats, const QString& message = "") {
            QTest::newRow(name) << channels << rate << bits << size << outcome << message << maxBeats;
        };
        // 4 s of stereo: 705,600 bytes per channel, 32 quarter seconds.
        row("stereo 4 s", 2, 44100, 16, 1411200, Outcome::Accepted, 32);
        row("mono 1 s", 1, 44100, 16, 88200, Outcome::Accepted, 4);
        row("under a quarter second", 1, 44100, 16, 22049, Outcome::Accepted, 0);
        row("header only", 1, 44100, 16, 0, Outcome::Accepted, 0);
        // 4 channels: no layout of their own, bytes per channel = data size \ 4.
        row("4 channels", 4, 44100, 16, 352800, Outcome::Accepted, 4);
        row("48 kHz", 1, 48000, 16, 1000, Outcome::WrongRate, 0, kRate48);
        row("22.05 kHz", 2, 22050, 16, 1000, Outcome::WrongRate, 0,
            "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 22.05kHz");
        row("8 bit", 1, 44100, 8, 1000, Outcome::WrongBits, 0,
            "Repeater supports 16 bit audio only, this file is 8 bit");
        row("24 bit", 2, 44100, 24, 1000, Outcome::WrongBits, 0,
            "Repeater supports 16 bit audio only, this file is 24 bit");
        // When both are wrong only the rate is reported.
        row("48 kHz 8 bit", 1, 48000, 8, 1000, Outcome::WrongRate, 0, kRate48);
        row("0 channels", 0, 44100, 16, 1000, Outcome::AcceptFailed, 0, kError);
        // maxBeats must be a 16-bit value: 22050 x 32767 bytes still fit, one quarter second more not.
        row("maxBeats 32767", 1, 44100, 16, qint64(22050) * 32767, Outcome::Accepted, 32767);
        row("maxBeats 32768", 1, 44100, 16, qint64(22050) * 32768, Outcome::AcceptFailed, 0, kError);
        // A negative size makes the tempo table negative, unless it is under a quarter second,
        // which truncates to 0.
        row("negative data size", 1, 44100, 16, -22050, Outcome::AcceptFailed, 0, kError);
        row("small negative data size", 1, 44100, 16, -100, Outcome::Accepted, 0);
        row("negative channels", -1, 44100, 16, 44100, Outcome::AcceptFailed, 0, kError);
    }

    void verdict() {
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, bits);
        QFETCH(qint64, dataSize);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        QFETCH(int, maxBeats);
        const OpenerVerdict v = verdictOf(header(channels, rate, bits, dataSize).bytes());
        QCOMPARE(v.outcome, outcome);
        QCOMPARE(QString::fromStdString(v.message), message);
        QCOMPARE(int(v.maxBeats), maxBeats);
        QCOMPARE(v.accepted(), outcome == Outcome::Accepted);
        QCOMPARE(v.critical(), outcome == Outcome::AcceptFailed);
        QCOMPARE((QList<int>{v.format.channels, v.format.sampleRate, v.format.bitsPerSample}),
                 (QList<int>{channels, rate, bits}));
        if (outcome == Outcome::Accepted) QCOMPARE(qint64(v.bytesPerChannel), dataSize / channels);
    }

    // A walk that ends without a complete data header, or runs in a circle, fails with the
    // critical error message. Without "fmt " before "data" the rate comes from offset 11, "E"
    // and "dat" of the headers: 0x74616445 = 1952539717 Hz, shown divided by 1000.
    void oddFiles() {
        std::vector<uint8_t> cut = header(2, 44100, 16, 100).bytes();
        cut.resize(42);
        OpenerVerdict v = verdictOf(cut);
        QCOMPARE(v.outcome, Outcome::WalkFailed);
        QCOMPARE(v.walk.end, ChunkWalk::End::EndOfFile);
        QCOMPARE(QString::fromStdString(v.message), kError);
        QVERIFY(v.critical());
        v = verdictOf(ByteWriter().riffHeader().tag("loop").le32(-8).fill(40).bytes());
        QCOMPARE(v.outcome, Outcome::WalkFailed);
        QCOMPARE(QString::fromStdString(v.message), kError);
        v = verdictOf(ByteWriter().riffHeader().tag("data").le32(4).fill(4).fmtChunk(1, 44100, 16).bytes());
        QCOMPARE(v.outcome, Outcome::WrongRate);
        QCOMPARE(QString::fromStdString(v.message), QString("Repeater supports 44.1 kHz sample rate only, this "
                                                            "file has a sample rate of 1952539.717kHz"));
    }
};

QTEST_APPLESS_MAIN(TestWaveVerdict)
#include "tst_waveverdict.moc"
