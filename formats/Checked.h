#pragma once
// Integer arithmetic that fails instead of wrapping. The program's control values are 16-bit and
// its byte counts 32-bit; a result outside that range is an error of the routine, never a wrap.
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "RoutineError.h"

namespace brenvik {

namespace checked {
// A value as the failure names it: an integer in plain decimal, a floating value in 15 digits.
std::string valueText(double value);
template <typename U>
std::string valueText(U value) requires std::is_integral_v<U> {
    return std::to_string(value);
}
// "32767 + 1 leaves the signed 16-bit range".
template <typename T>
[[noreturn]] void fail(const std::string& expression) {
    throw RoutineError::outOfRange(expression, 8 * static_cast<int>(sizeof(T)),
                                   std::is_signed_v<T>);
}
template <typename T>
[[noreturn]] void fail(T a, const char* op, T b) {
    fail<T>(valueText(a) + " " + op + " " + valueText(b));
}
}  // namespace checked

// An integer keeps its value or fails; a floating value must lie within T's range (its
// fraction is dropped, so callers round first). Integers of mixed signedness compare by value,
// and a NaN fails.
template <typename T, typename U>
T checkedCast(U value) {
    static_assert(std::is_integral_v<T>);
    if constexpr (std::is_integral_v<U>) {
        if (!std::in_range<T>(value)) checked::fail<T>(checked::valueText(value));
    } else {
        // The bounds of the 8- to 32-bit targets are exact in double.
        static_assert(sizeof(T) <= 4);
        if (!(static_cast<double>(value) >= static_cast<double>(std::numeric_limits<T>::min()) &&
              static_cast<double>(value) < static_cast<double>(std::numeric_limits<T>::max()) + 1.0))
            checked::fail<T>(checked::valueText(static_cast<double>(value)));
    }
    return static_cast<T>(value);
}

template <typename T>
T checkedAdd(T a, T b) {
    T r;
    if (__builtin_add_overflow(a, b, &r)) checked::fail(a, "+", b);
    return r;
}

template <typename T>
T checkedSub(T a, T b) {
    T r;
    if (__builtin_sub_overflow(a, b, &r)) checked::fail(a, "-", b);
    return r;
}

template <typename T>
T checkedMul(T a, T b) {
    T r;
    if (__builtin_mul_overflow(a, b, &r)) checked::fail(a, "x", b);
    return r;
}

// a \ b: integer division with the remainder dropped (truncating toward zero).
template <typename T>
T checkedDiv(T a, T b) {
    if (b == 0) throw RoutineError(checked::valueText(a) + " \\ 0: division by zero");
    if (a == std::numeric_limits<T>::min() && b == -1) checked::fail(a, "\\", b);
    return static_cast<T>(a / b);
}

}  // namespace brenvik
