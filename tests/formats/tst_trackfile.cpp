#include <QTest>

#include <cstdint>
#include <vector>

#include "ByteWriter.h"
#include "TrackFile.h"

using namespace brenvik;

// The header of a Repeater track file and the track file names.
class TestTrackFile : public QObject {
    Q_OBJECT
private slots:
    void header_data() {
        QTest::addColumn<int>("audioLength");
        QTest::addColumn<int>("dataLength");
        // Mono 1,000,000 source bytes: 999,936 audio bytes behind the 16384-byte pre-buffer.
        QTest::newRow("mono 1,000,000") << 999936 << 1016320;
        QTest::newRow("no audio") << 0 << 16384;
        QTest::newRow("stereo odd N") << 525056 << 541440;
    }

    void header() {
        QFETCH(int, audioLength);
        QFETCH(int, dataLength);
        const wave::Header h = loop::trackHeader(audioLength);
        test::ByteWriter expected;
        expected.riffHeader(36 + dataLength).tag("fmt ").le32(16).le16(1).le16(1).le32(44100).le32(88200)
            .le16(2).le16(16).tag("data").le32(dataLength);
        QCOMPARE(std::vector<uint8_t>(h.begin(), h.end()), expected.bytes());
    }

    void names() {
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(QString::fromStdString(loop::trackFileName(k)), QString("track%1.wav").arg(k));
    }
};

QTEST_APPLESS_MAIN(TestTrackFile)
#include "tst_trackfile.moc"
