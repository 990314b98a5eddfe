#include <QTest>

#include <array>
#include <cstdint>

#include "LoopLayout.h"

using namespace brenvik::loop;

// The counts of a loop, its tempo code and the 24-bit form of its description fields.
class TestLoopLayout : public QObject {
    Q_OBJECT
private slots:
    void counts_data();
    void counts();
    void clusterRounding_data();
    void clusterRounding();
    void tempoCode_data();
    void tempoCode();
    void int24Byte_data();
    void int24Byte();
    void int24ByteOtherIndexes();
    void negativeByInvertAndCarry();
};

void TestLoopLayout::counts_data() {
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
}

void TestLoopLayout::counts() {
    QFETCH(int, dataLength);
    QFETCH(bool, stereo);
    QFETCH(int, n);
    QFETCH(int, N);
    QFETCH(int, m);
    QFETCH(int, audio);
    QCOMPARE(trackSectors(dataLength, stereo), n);
    QCOMPARE(loopSectors(dataLength), N);
    QCOMPARE(clusterCount(loopSectors(dataLength)), m);
    QCOMPARE(audioLength(dataLength, stereo), audio);
}

void TestLoopLayout::clusterRounding_data() {
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("m");
    // m is rounded, not rounded up, with halves to the even neighbour.
    QTest::newRow("32") << 32 << 2;
    QTest::newRow("33") << 33 << 2;
    QTest::newRow("48") << 48 << 2;
    QTest::newRow("49: 2.5 to 2") << 49 << 2;
    QTest::newRow("50") << 50 << 3;
    QTest::newRow("16: 1.46875") << 16 << 1;
    QTest::newRow("17: 1.5 to 2") << 17 << 2;
    QTest::newRow("81: 3.5 to 4") << 81 << 4;
    QTest::newRow("113: 4.5 to 4") << 113 << 4;
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("1") << 1 << 1;
}

void TestLoopLayout::clusterRounding() {
    QFETCH(int, N);
    QFETCH(int, m);
    QCOMPARE(clusterCount(N), m);
}

void TestLoopLayout::tempoCode_data() {
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

void TestLoopLayout::tempoCode() {
    QFETCH(float, tempo);
    QFETCH(int, code);
    QCOMPARE(brenvik::loop::tempoCode(tempo), code);
}

void TestLoopLayout::int24Byte_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("b1");
    QTest::addColumn<int>("b2");
    QTest::addColumn<int>("b3");
    QTest::newRow("-1") << -1 << 0xFF << 0xFF << 0xFF;
    QTest::newRow("-2400") << -2400 << 0xA0 << 0xF6 << 0xFF;
    QTest::newRow("100") << 100 << 0x64 << 0x00 << 0x00;
    QTest::newRow("-257") << -257 << 0xFF << 0xFE << 0xFF;
    QTest::newRow("1200") << 1200 << 0xB0 << 0x04 << 0x00;
    QTest::newRow("-100") << -100 << 0x9C << 0xFF << 0xFF;
    QTest::newRow("-256") << -256 << 0x00 << 0xFF << 0xFF;
    QTest::newRow("1952") << 1952 << 0xA0 << 0x07 << 0x00;
    QTest::newRow("tempo 120") << 491590 << 0x46 << 0x80 << 0x07;
    QTest::newRow("-15") << -15 << 0xF1 << 0xFF << 0xFF;
    QTest::newRow("2^24 wraps to 0") << 0x1000000 << 0 << 0 << 0;
    QTest::newRow("top 32-bit") << 0x7FFFFFFF << 0xFF << 0xFF << 0xFF;
    QTest::newRow("bottom 32-bit") << int(0x80000000u) << 0 << 0 << 0;
    QTest::newRow("-2^23") << -0x800000 << 0x00 << 0x00 << 0x80;
}

void TestLoopLayout::int24Byte() {
    QFETCH(int, value);
    QFETCH(int, b1);
    QFETCH(int, b2);
    QFETCH(int, b3);
    QCOMPARE(int(brenvik::loop::int24Byte(value, 1)), b1);
    QCOMPARE(int(brenvik::loop::int24Byte(value, 2)), b2);
    QCOMPARE(int(brenvik::loop::int24Byte(value, 3)), b3);
}

void TestLoopLayout::int24ByteOtherIndexes() {
    for (int16_t index : {int16_t(0), int16_t(4), int16_t(-1), int16_t(32767)}) {
        QCOMPARE(int(brenvik::loop::int24Byte(-1, index)), 0);
        QCOMPARE(int(brenvik::loop::int24Byte(0x123456, index)), 0);
    }
}

void TestLoopLayout::negativeByInvertAndCarry() {
    // For a negative value the bytes equal: split the magnitude into three bytes, invert each,
    // add one to the lowest byte and carry into the next only past 0xFF.
    for (int value = -70000; value < 0; value += 7) {
        const int magnitude = -value;
        std::array<int, 3> bytes{~magnitude & 0xFF, ~(magnitude >> 8) & 0xFF, ~(magnitude >> 16) & 0xFF};
        for (int& b : bytes) {
            const bool carry = b == 0xFF;
            b = (b + 1) & 0xFF;
            if (!carry) break;
        }
        for (int16_t i = 1; i <= 3; ++i)
            QCOMPARE(int(brenvik::loop::int24Byte(value, i)), bytes[static_cast<size_t>(i - 1)]);
    }
}

QTEST_APPLESS_MAIN(TestLoopLayout)
#include "tst_looplayout.moc"
