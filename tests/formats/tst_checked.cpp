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
    void withinRange() {
        QCOMPARE(checkedCast<int16_t>(-32768.0), int16_t(-32768));
        QCOMPARE(checkedCast<int32_t>(uint32_t(2147483647)), int32_t(2147483647));
        QCOMPARE(checkedAdd<int16_t>(32766, 1), int16_t(32767));
        QCOMPARE(checkedSub<int16_t>(-32767, 1), int16_t(-32768));
        QCOMPARE(checkedMul<int16_t>(255, 128), int16_t(32640));
        QCOMPARE(checkedDiv<int32_t>(-7, 2), -3);  // a \ b truncates toward zero
    }

    void outOfRangeThrows() {
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int16_t>(32768));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int32_t>(uint32_t(0x80000000u)));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<uint16_t>(-1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int16_t>(32767.5 + 0.5));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedCast<int32_t>(std::nan("")));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedAdd<int16_t>(32767, 1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedSub<int32_t>(std::numeric_limits<int32_t>::min(), 1));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedMul<int16_t>(256, 128));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedDiv<int32_t>(5, 0));
        QVERIFY_THROWS_EXCEPTION(RoutineError, checkedDiv<int16_t>(-32768, -1));
    }
};

QTEST_APPLESS_MAIN(TestChecked)
#include "tst_checked.moc"
