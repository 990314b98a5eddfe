#include <QTest>

#include <cstdint>
#include <limits>
#include <vector>

#include "ByteWriter.h"
#include "LoopDescription.h"
#include "LoopLayout.h"
#include "RoutineError.h"
#include "TrackFile.h"
#include "TrackSizes.h"

using namespace brenvik;

// The track opener's split of a track into pre-buffer, audio and post-buffer.
class TestTrackSizes : public QObject {
    Q_OBJECT
private slots:
    void preBuffer_data();
    void preBuffer();
    void preBufferAlwaysInRange();
    void sizes_data();
    void sizes();
    void overflowFails();
    void inputsFromFiles();
    void shortFilesReadZero();
    void writtenLoopReadsBack_data();
    void writtenLoopReadsBack();
};

void TestTrackSizes::preBuffer_data() {
    QTest::addColumn<int>("startByte");  // the byte as stored, 0..255
    QTest::addColumn<int>("sectors");
    QTest::newRow("0") << 0 << 32;
    QTest::newRow("32") << 32 << 64;
    QTest::newRow("64") << 64 << 64;
    QTest::newRow("96") << 96 << 64;
    QTest::newRow("128") << 128 << 32;
    QTest::newRow("160") << 160 << 32;
    QTest::newRow("192") << 192 << 32;
    QTest::newRow("224") << 224 << 32;
    QTest::newRow("1") << 1 << 33;
    QTest::newRow("33") << 33 << 33;
    QTest::newRow("65") << 65 << 33;
    QTest::newRow("97") << 97 << 33;
    QTest::newRow("127") << 127 << 63;
    QTest::newRow("200 is -56") << 200 << 40;
    QTest::newRow("255 is -1") << 255 << 63;
    QTest::newRow("159 is -97") << 159 << 63;
    QTest::newRow("191 is -65") << 191 << 63;
    QTest::newRow("223 is -33") << 223 << 63;
}

void TestTrackSizes::preBuffer() {
    QFETCH(int, startByte);
    QFETCH(int, sectors);
    QCOMPARE(preBufferSectors(static_cast<int8_t>(static_cast<uint8_t>(startByte))), sectors);
}

void TestTrackSizes::preBufferAlwaysInRange() {
    for (int b = 0; b < 256; ++b) {
        const int32_t u = preBufferSectors(static_cast<int8_t>(static_cast<uint8_t>(b)));
        QVERIFY2(u >= 32 && u <= 64, qPrintable(QString("byte %1 gives %2").arg(b).arg(u)));
    }
}

void TestTrackSizes::sizes_data() {
    QTest::addColumn<int>("s");
    QTest::addColumn<int>("e");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("pre");
    QTest::addColumn<int>("audio");
    QTest::addColumn<int>("post");
    QTest::addColumn<bool>("acceptable");
    // As the loop writer leaves it: start 0, end n - 1.
    QTest::newRow("written mono, n = 1953") << 0 << 1952 << 16384 + 999936 << 16384 << 999936 << 0 << true;
    QTest::newRow("written stereo, odd N") << 0 << 1024 << 16384 + 525056 << 16384 << 524800 << 256 << true;
    QTest::newRow("written, no audio") << 0 << -1 << 16384 << 16384 << 0 << 0 << true;
    // Start byte 200 (-56): audio (1000 + 56 + 1) x 512, pre (-56 + 96) x 512.
    QTest::newRow("start -56") << -56 << 1000 << 600000 << 20480 << 541184 << 600000 - 541184 - 20480 << true;
    QTest::newRow("start 32") << 32 << 100 << 100000 << 32768 << 69 * 512 << 100000 - 69 * 512 - 32768 << true;
    // End below start - 1: negative audio.
    QTest::newRow("end below start") << 10 << 5 << 100000 << 21504 << -4 * 512 << 100000 + 2048 - 21504 << false;
    QTest::newRow("untrimmed: negative post") << 0 << 1952 << 999936 << 16384 << 999936 << -16384 << false;
    QTest::newRow("negative total") << 0 << -1 << -16384 << 16384 << 0 << -32768 << false;
    QTest::newRow("largest end") << -128 << 32767 << 2147483647 << 32 * 512 << (32767 + 128 + 1) * 512
                                 << 2147483647 - (32767 + 128 + 1) * 512 - 16384 << true;
}

void TestTrackSizes::sizes() {
    QFETCH(int, s);
    QFETCH(int, e);
    QFETCH(int, total);
    QFETCH(int, pre);
    QFETCH(int, audio);
    QFETCH(int, post);
    QFETCH(bool, acceptable);
    const TrackSizes sizes = deriveTrackSizes(static_cast<int8_t>(s), static_cast<int16_t>(e), total);
    QCOMPARE(sizes.pre, pre);
    QCOMPARE(sizes.audio, audio);
    QCOMPARE(sizes.post, post);
    QCOMPARE(sizes.total, total);
    QCOMPARE(sizesAcceptable(sizes), acceptable);
}

void TestTrackSizes::overflowFails() {
    // total - audio - pre leaves the 32-bit range.
    QVERIFY_THROWS_EXCEPTION(RoutineError, deriveTrackSizes(0, 1952, std::numeric_limits<int32_t>::min()));
    QVERIFY_THROWS_EXCEPTION(RoutineError, deriveTrackSizes(0, -32768, std::numeric_limits<int32_t>::max()));
}

void TestTrackSizes::inputsFromFiles() {
    std::vector<uint8_t> ldf(16384, 0);
    ldf[51] = 200;
    ldf[54] = 0xE8;  // 1000
    ldf[55] = 0x03;
    test::ByteWriter track;
    track.riffHeader().fmtChunk(1, 44100, 16).tag("data").le32(-5);
    MemorySource ldfSource(ldf), trackSource(track.bytes());
    const TrackInputs in = readTrackInputs(ldfSource, trackSource);
    QCOMPARE(int(in.start), -56);
    QCOMPARE(int(in.end), 1000);
    QCOMPARE(in.total, -5);
}

void TestTrackSizes::shortFilesReadZero() {
    // A description that ends after the start byte and the first byte of the end word, and a
    // track that ends after two bytes of its data size: the missing bytes read as 0.
    std::vector<uint8_t> ldf(55, 0);
    ldf[51] = 7;
    ldf[54] = 0x34;
    test::ByteWriter track;
    track.riffHeader().fmtChunk(1, 44100, 16).tag("data").le16(0x1234);
    MemorySource ldfSource(ldf), trackSource(track.bytes());
    const TrackInputs in = readTrackInputs(ldfSource, trackSource);
    QCOMPARE(int(in.start), 7);
    QCOMPARE(int(in.end), 0x34);
    QCOMPARE(in.total, 0x1234);

    const std::vector<uint8_t> nothing;
    MemorySource empty1(nothing), empty2(nothing);
    const TrackInputs none = readTrackInputs(empty1, empty2);
    QCOMPARE(int(none.start), 0);
    QCOMPARE(int(none.end), 0);
    QCOMPARE(none.total, 0);
}

void TestTrackSizes::writtenLoopReadsBack_data() {
    QTest::addColumn<int>("dataLength");
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<int>("post");
    QTest::newRow("mono 1,000,000") << 1000000 << false << 0;
    QTest::newRow("stereo odd N") << 1050112 << true << 256;
    QTest::newRow("stereo even N") << 3145728 << true << 0;
    QTest::newRow("under a sector") << 100 << false << 0;
}

void TestTrackSizes::writtenLoopReadsBack() {
    // The description and track header as the loop writer makes them, opened by the reader:
    // pre-buffer 16384, audio n x 512, post-buffer 0 (or 256 for an odd stereo N).
    QFETCH(int, dataLength);
    QFETCH(bool, stereo);
    QFETCH(int, post);
    loop::LoopValues values;
    values.trackSectors = loop::trackSectors(dataLength, stereo);
    values.loopSectors = loop::loopSectors(dataLength);
    values.clusters = loop::clusterCount(values.loopSectors);
    values.tracks[2].chosen = true;
    const loop::Description ldf = loop::buildDescription(values);
    const wave::Header header = loop::trackHeader(loop::audioLength(dataLength, stereo));
    MemorySource ldfSource(ldf), trackSource(header);
    const TrackSizes sizes = deriveTrackSizes(readTrackInputs(ldfSource, trackSource));
    QCOMPARE(sizes.pre, 16384);
    QCOMPARE(sizes.audio, values.trackSectors * 512);
    QCOMPARE(sizes.post, post);
    QVERIFY(sizesAcceptable(sizes));
}

QTEST_APPLESS_MAIN(TestTrackSizes)
#include "tst_tracksizes.moc"
