#include <QTest>

#include <cmath>
#include <cstdint>
#include <functional>
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

    // Each failure names the values that left the range, as the user is told it.
    void outOfRangeNamesTheValues() {
        const std::pair<std::function<void()>, std::string> cases[] = {
            {[] { checkedCast<int16_t>(32768); }, "32768 leaves the signed 16-bit range"},
            {[] { checkedCast<int32_t>(uint32_t(0x80000000u)); },
             "2147483648 leaves the signed 32-bit range"},
            {[] { checkedCast<uint16_t>(-1); }, "-1 leaves the unsigned 16-bit range"},
            {[] { checkedCast<int16_t>(32767.5 + 0.5); }, "32768 leaves the signed 16-bit range"},
            {[] { checkedCast<int32_t>(std::nan("")); }, "nan leaves the signed 32-bit range"},
            {[] { checkedAdd<int16_t>(32767, 1); }, "32767 + 1 leaves the signed 16-bit range"},
            {[] { checkedSub<int32_t>(std::numeric_limits<int32_t>::min(), 1); },
             "-2147483648 - 1 leaves the signed 32-bit range"},
            {[] { checkedMul<int16_t>(256, 128); }, "256 x 128 leaves the signed 16-bit range"},
            {[] { checkedDiv<int32_t>(5, 0); }, "5 \\ 0: division by zero"},
            {[] { checkedDiv<int16_t>(-32768, -1); },
             "-32768 \\ -1 leaves the signed 16-bit range"},
        };
        for (const auto& [compute, reason] : cases) {
            std::string caught = "nothing thrown";
            try {
                compute();
            } catch (const RoutineError&) {
                caught = caughtReason();
            }
            QCOMPARE(caught, reason);
        }
    }
};

QTEST_APPLESS_MAIN(TestChecked)
#include "tst_checked.moc"
