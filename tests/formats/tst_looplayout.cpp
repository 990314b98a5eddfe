#include <QTest>

#include <array>
#include <cstdint>

#include "LoopLayout.h"

using namespace brenvik::loop;

// The counts of a loop and its tempo code.
class TestLoopLayout : public QObject {
    Q_OBJECT
private slots:
    void counts_data() {
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<bool>("stereo");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("N");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("audio");
        // The last 64 bytes of the source are not carried over; m = R(1952 / 32 + 1).
        QTest::newRow("mono 1,000,000") << 1000000 << false << 1953 << 1953 << 62 << 999936;
        // Shorter than a sector: m = R(-1 / 32 + 1) = R(0.96875).
        QTest::newRow("mono under a sector") << 511 << false << 0 << 0 << 1 << 0;
        QTest::newRow("mono one sector") << 512 << false << 1 << 1 << 1 << 512;
        QTest::newRow("mono a chunk and a sector") << 1048576 + 512 << false << 2049 << 2049 << 65 << 1049088;
        // Odd N: each track holds 256 N bytes, one half sector more than 512 n.
        QTest::newRow("stereo odd N") << 1050112 << true << 1025 << 2051 << 65 << 525056;
        QTest::newRow("stereo 3 MiB") << 3145728 << true << 3072 << 6144 << 193 << 1572864;
        QTest::newRow("stereo under a sector") << 300 << true << 0 << 0 << 1 << 0;
        QTest::newRow("stereo one sector") << 512 << true << 0 << 1 << 1 << 256;
        // m is rounded, not rounded up, with halves to the even neighbour.
        for (auto [N, m] : std::initializer_list<std::pair<int, int>>{{32, 2}, {33, 2}, {48, 2}, {49, 2}, {50, 3},
                                                                      {16, 1}, {17, 2}, {81, 4}, {113, 4}})
            QTest::addRow("N = %d: m = %d", N, m) << N * 512 << false << N << N << m << N * 512;
    }

    void counts() {
        QFETCH(int, dataLength);
        QFETCH(bool, stereo);
        QFETCH(int, n);
        QFETCH(int, N);
        QFETCH(int, m);
        QFETCH(int, audio);
        QCOMPARE(trackSectors(dataLength, stereo), n);
        QCOMPARE(loopSectors(dataLength), N);
        QCOMPARE(clusterCount(N), m);
        QCOMPARE(audioLength(dataLength, stereo), audio);
    }

    void tempoCode_data() {
        QTest::addColumn<float>("tempo");
        QTest::addColumn<int>("code");
        QTest::newRow("120") << 120.0f << 1199 * 410;
        QTest::newRow("127.5") << 127.5f << 1274 * 410;
        QTest::newRow("7.5") << 7.5f << 74 * 410;
        QTest::newRow("240") << 240.0f << 2399 * 410;
        QTest::newRow("0: the table's last entry") << 0.0f << -1 * 410;
        // Exact halves go to the even neighbour: 1.5 to 2, 121.5 to 122.
        QTest::newRow("0.25") << 0.25f << 2 * 410;
        QTest::newRow("12.25") << 12.25f << 122 * 410;
        // The single 0.45 is 0.449999988; times 10 in single precision that is exactly 4.5, so
        // t x 10 - 1 is 3.5 and goes to 4 (in double it would be 3.4999999 and go to 3).
        QTest::newRow("0.45 in single precision") << 0.45f << 4 * 410;
    }

    void tempoCode() {
        QFETCH(float, tempo);
        QFETCH(int, code);
        QCOMPARE(brenvik::loop::tempoCode(tempo), code);
    }
};

QTEST_APPLESS_MAIN(TestLoopLayout)
#include "tst_looplayout.moc"
