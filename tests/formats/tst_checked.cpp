#include <QTest>

#include <cmath>
#include <cstdint>
#include <limits>

#include "Checked.h"

using namespace brenvik;

// Arithmetic that leaves its range is an error of the routine, never a silent wrap.
class TestChecked : public QObject {
    Q_OBJECT
private slots:
    void casts() {
        QCOMPARE(checkedCast<int16_t>(32767), int16_t(32767));
        QCOMPARE(checkedCast<int16_t>(-32768), int16_t(-32768));
        // Unsigned to signed compares values, not bit patterns.
        QCOMPARE(checkedCast<int32_t>(uint32_t(5)), int32_t(5));
        QCOMPARE(checkedCast<int32_t>(size_t(2147483647)), int32_t(2147483647));
        QCOMPARE(checkedCast<uint8_t>(255), uint8_t(255));
        QCOMPARE(checkedCast<int16_t>(32767.0), int16_t(32767));
        QCOMPARE(checkedCast<int16_t>(-32768.0), int16_t(-32768));
        QCOMPARE(checkedCast<int32_t>(-2147483648.0), std::numeric_limits<int32_t>::min());
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int16_t>(32768));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int16_t>(-32769));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int32_t>(uint32_t(0x80000000u)));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<uint16_t>(-1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int16_t>(32768.0));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int32_t>(2147483648.0));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int32_t>(std::nan("")));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int32_t>(HUGE_VAL));
    }

    void arithmetic() {
        QCOMPARE(checkedAdd<int16_t>(32766, 1), int16_t(32767));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedAdd<int16_t>(32767, 1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedSub<int16_t>(-32768, 1));
        QCOMPARE(checkedMul<int16_t>(255, 128), int16_t(32640));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedMul<int16_t>(256, 128));
        QCOMPARE(checkedAdd<int32_t>(16384, 999936), int32_t(1016320));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedAdd<int32_t>(2147483647, 1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedSub<int32_t>(std::numeric_limits<int32_t>::min(), 1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedMul<int32_t>(65536, 32768));
    }

    // a \ b drops the remainder, truncating toward zero.
    void division() {
        QCOMPARE(checkedDiv<int32_t>(7, 2), 3);
        QCOMPARE(checkedDiv<int32_t>(-7, 2), -3);
        QCOMPARE(checkedDiv<int32_t>(1000000, 512), 1953);
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedDiv<int32_t>(5, 0));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedDiv<int32_t>(std::numeric_limits<int32_t>::min(), -1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedDiv<int16_t>(-32768, -1));
    }
};

QTEST_APPLESS_MAIN(TestChecked)
#include "tst_checked.moc"
