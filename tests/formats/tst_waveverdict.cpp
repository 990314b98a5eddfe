#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "ByteWriter.h"
#include "TestFiles.h"
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

OpenerVerdict verdictOf(const ByteWriter& w) {
    MemorySource source(w.bytes());
    return openerVerdict(source);
}

}  // namespace

// What the wave-to-Repeater opener says about a file.
class TestWaveVerdict : public QObject {
    Q_OBJECT
private slots:
    void verdict_data();
    void verdict();
    void walkThatEndsAtTheEndOfTheFile();
    void brokenWalk();
    void fieldsBeforeFmt();
    void realFile();
};

void TestWaveVerdict::verdict_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<qint64>("dataSize");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("maxBeats");
    const QString error = "Error in fileOpeing()";
    // 4 s of stereo: 705,600 bytes per channel, 32 quarter seconds.
    QTest::newRow("stereo 4 s") << 2 << 44100 << 16 << qint64(1411200) << Outcome::Accepted << "" << 32;
    QTest::newRow("mono 1 s") << 1 << 44100 << 16 << qint64(88200) << Outcome::Accepted << "" << 4;
    QTest::newRow("under a quarter second") << 1 << 44100 << 16 << qint64(22049) << Outcome::Accepted << "" << 0;
    QTest::newRow("header only") << 1 << 44100 << 16 << qint64(0) << Outcome::Accepted << "" << 0;
    // 4 channels: no layout of their own, bytes per channel = data size \ 4.
    QTest::newRow("4 channels") << 4 << 44100 << 16 << qint64(352800) << Outcome::Accepted << "" << 4;
    QTest::newRow("48 kHz") << 1 << 48000 << 16 << qint64(1000) << Outcome::WrongRate
                            << "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz" << 0;
    QTest::newRow("22.05 kHz") << 2 << 22050 << 16 << qint64(1000) << Outcome::WrongRate
                               << "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 22.05kHz" << 0;
    QTest::newRow("8 bit") << 1 << 44100 << 8 << qint64(1000) << Outcome::WrongBits
                           << "Repeater supports 16 bit audio only, this file is 8 bit" << 0;
    QTest::newRow("24 bit") << 2 << 44100 << 24 << qint64(1000) << Outcome::WrongBits
                            << "Repeater supports 16 bit audio only, this file is 24 bit" << 0;
    // When both are wrong only the rate is reported.
    QTest::newRow("48 kHz 8 bit") << 1 << 48000 << 8 << qint64(1000) << Outcome::WrongRate
                                  << "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz" << 0;
    QTest::newRow("0 channels") << 0 << 44100 << 16 << qint64(1000) << Outcome::AcceptFailed << error << 0;
    // maxBeats must be a 16-bit value: 22050 x 32767 bytes still fit, one quarter second more not.
    QTest::newRow("maxBeats 32767") << 1 << 44100 << 16 << qint64(22050) * 32767 << Outcome::Accepted << "" << 32767;
    QTest::newRow("maxBeats 32768") << 1 << 44100 << 16 << qint64(22050) * 32768 << Outcome::AcceptFailed << error << 0;
    // A negative size makes the tempo table negative, unless it is under a quarter second,
    // which truncates to 0.
    QTest::newRow("negative data size") << 1 << 44100 << 16 << qint64(-22050) << Outcome::AcceptFailed << error << 0;
    QTest::newRow("small negative data size") << 1 << 44100 << 16 << qint64(-100) << Outcome::Accepted << "" << 0;
    QTest::newRow("negative channels") << -1 << 44100 << 16 << qint64(44100) << Outcome::AcceptFailed << error << 0;
}

void TestWaveVerdict::verdict() {
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(qint64, dataSize);
    QFETCH(Outcome, outcome);
    QFETCH(QString, message);
    QFETCH(int, maxBeats);
    const OpenerVerdict v = verdictOf(header(channels, rate, bits, dataSize));
    QCOMPARE(v.outcome, outcome);
    QCOMPARE(QString::fromStdString(v.message), message);
    QCOMPARE(int(v.maxBeats), maxBeats);
    QCOMPARE(v.accepted(), outcome == Outcome::Accepted);
    QCOMPARE(v.critical(), outcome == Outcome::AcceptFailed);
    QCOMPARE(int(v.format.channels), channels);
    QCOMPARE(v.format.sampleRate, rate);
    QCOMPARE(int(v.format.bitsPerSample), bits);
    if (outcome == Outcome::Accepted) QCOMPARE(qint64(v.bytesPerChannel), dataSize / channels);
}

void TestWaveVerdict::walkThatEndsAtTheEndOfTheFile() {
    std::vector<uint8_t> bytes = header(2, 44100, 16, 100).bytes();
    bytes.resize(42);  // the data size field cut short
    MemorySource source(bytes);
    const OpenerVerdict v = openerVerdict(source);
    QCOMPARE(v.outcome, Outcome::WalkFailed);
    QCOMPARE(v.walk.end, ChunkWalk::End::EndOfFile);
    QCOMPARE(QString::fromStdString(v.message), QString("Error in fileOpeing()"));
    QVERIFY(v.critical());
}

void TestWaveVerdict::brokenWalk() {
    ByteWriter w;
    w.riffHeader().tag("loop").le32(-8).fill(40);
    const OpenerVerdict v = verdictOf(w);
    QCOMPARE(v.outcome, Outcome::WalkFailed);
    QCOMPARE(QString::fromStdString(v.message), QString("Error in fileOpeing()"));
}

void TestWaveVerdict::fieldsBeforeFmt() {
    // No "fmt " before "data": the rate comes from offset 11, "E" and "dat" of the headers,
    // 0x74616445 = 1952539717 Hz, shown divided by 1000.
    ByteWriter w;
    w.riffHeader().tag("data").le32(4).fill(4).fmtChunk(1, 44100, 16);
    const OpenerVerdict v = verdictOf(w);
    QCOMPARE(v.outcome, Outcome::WrongRate);
    QCOMPARE(QString::fromStdString(v.message),
             QString("Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 1952539.717kHz"));
}

void TestWaveVerdict::realFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath("mono.wav").toStdString();
    test::writeFile(path, test::canonicalWave(1, test::patternBytes(88200 * 3)));
    FileSource source(path);
    const OpenerVerdict v = openerVerdict(source);
    QVERIFY(v.accepted());
    QCOMPARE(v.walk.dataStart(), 44);
    QCOMPARE(v.bytesPerChannel, 264600);
    QCOMPARE(int(v.maxBeats), 12);
}

QTEST_APPLESS_MAIN(TestWaveVerdict)
#include "tst_waveverdict.moc"
