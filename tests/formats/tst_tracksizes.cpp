#include <QTest>

#include <cstdint>
#include <vector>

#include "ByteWriter.h"
#include "LoopDescription.h"
#include "LoopLayout.h"
#include "TrackFile.h"
#include "TrackSizes.h"

using namespace brenvik;

// The track opener's split of a track into pre-buffer, audio and post-buffer.
class TestTrackSizes : public QObject {
    Q_OBJECT
private slots:
    void preBuffer_data() {
        QTest::addColumn<int>("startByte");  // the byte as stored, 0..255; from 128 on it is negative
        QTest::addColumn<int>("sectors");
        for (auto [byte, sectors] : std::initializer_list<std::pair<int, int>>{
                 {0, 32}, {32, 64}, {64, 64}, {96, 64}, {128, 32}, {160, 32}, {192, 32}, {224, 32}, {1, 33}, {33, 33},
                 {65, 33}, {97, 33}, {127, 63}, {200, 40}, {255, 63}, {159, 63}, {191, 63}, {223, 63}})
            QTest::addRow("%d", byte) << byte << sectors;
    }

    void preBuffer() {
        QFETCH(int, startByte);
        QFETCH(int, sectors);
        QCOMPARE(preBufferSectors(static_cast<int8_t>(static_cast<uint8_t>(startByte))), sectors);
    }

    // s at 51 of loopinfo.ldf as two's complement, e at 54 and the track's data size at 40, both
    // little-endian signed; bytes missing because a file is shorter read as 0.
    void inputs() {
        auto inputsOf = [](const std::vector<uint8_t>& ldf, const std::vector<uint8_t>& track) {
            MemorySource ldfSource(ldf), trackSource(track);
            const TrackInputs in = readTrackInputs(ldfSource, trackSource);
            return QList<int>{in.start, in.end, in.total};
        };
        std::vector<uint8_t> ldf(16384, 0);
        ldf[51] = 200;
        ldf[54] = 0xE8;
        ldf[55] = 0x03;
        test::ByteWriter track;
        track.riffHeader().fmtChunk(1, 44100, 16).tag("data");
        QCOMPARE(inputsOf(ldf, test::ByteWriter(track).le32(-5).bytes()), (QList<int>{-56, 1000, -5}));
        // A description that ends after the first byte of the end word, a track after two bytes
        // of its data size.
        ldf.resize(55);
        ldf[51] = 7;
        ldf[54] = 0x34;
        QCOMPARE(inputsOf(ldf, test::ByteWriter(track).le16(0x1234).bytes()), (QList<int>{7, 0x34, 0x1234}));
        QCOMPARE(inputsOf({}, {}), (QList<int>{0, 0, 0}));
    }

    void writtenLoopReadsBack_data() {
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<bool>("stereo");
        QTest::addColumn<int>("post");
        QTest::newRow("mono 1,000,000") << 1000000 << false << 0;
        QTest::newRow("stereo odd N") << 1050112 << true << 256;
        QTest::newRow("stereo even N") << 3145728 << true << 0;
        QTest::newRow("under a sector: end word FFFF, no sectors") << 100 << false << 0;
        QTest::newRow("end sector 32768") << 32769 * 512 << false << 0;
        QTest::newRow("longest mono: end word FFFF") << loop::longestLoopSource(false) << false << 0;
        QTest::newRow("longest stereo") << loop::longestLoopSource(true) << true << 256;
    }

    void writtenLoopReadsBack() {
        // The description and track header as the loop writer makes them, opened by the reader:
        // pre-buffer 16384, audio n x 512, post-buffer 0 (or 256 for an odd stereo N).
        QFETCH(int, dataLength);
        QFETCH(bool, stereo);
        QFETCH(int, post);
        const int32_t N = loop::loopSectors(dataLength);
        loop::LoopValues values{loop::trackSectors(dataLength, stereo), N, loop::clusterCount(N), 0, 0, 0, 0, {}};
        values.tracks[2].chosen = true;  // whichever track is opened, the end word of track 1 is read
        const loop::Description ldf = loop::buildDescription(values);
        const wave::Header header = loop::trackHeader(loop::audioLength(dataLength, stereo));
        MemorySource ldfSource(ldf), trackSource(header);
        const TrackSizes sizes = deriveTrackSizes(readTrackInputs(ldfSource, trackSource));
        QCOMPARE(sizes.pre, 16384);
        QCOMPARE(sizes.audio, values.trackSectors * 512);
        QCOMPARE(sizes.post, post);
        QVERIFY(sizesAcceptable(sizes));
    }
};

QTEST_APPLESS_MAIN(TestTrackSizes)
#include "tst_tracksizes.moc"
