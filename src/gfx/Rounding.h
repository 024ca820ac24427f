#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "app/Exception.h"

// The rounding rules of the drawing code. They differ on purpose: geometry that came from
// floating point rounds ties to even, integer extents divide toward zero, and the
// product-quotients of transition geometry round halves away from zero.
namespace pelwick {

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline int Round(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Integer division rounded toward zero. A zero divisor is a failure, not a crash.
inline int Div(int a, int b) {
    if (b == 0) throw Exception("Division by zero");
    if (b == -1) return a == std::numeric_limits<int>::min() ? a : -a;
    return a / b;
}

// Largest integer not above value.
inline int Floor(double value) {
    return static_cast<int>(std::floor(value));
}

// Integer division rounded toward minus infinity.
inline int FloorDiv(int a, int b) {
    if (b == 0) throw Exception("Division by zero");
    if (b == -1) return a == std::numeric_limits<int>::min() ? a : -a;
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away from zero;
// -1 when c is 0 or the result does not fit in 32 bits.
inline int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    const bool negative = (num < 0) != (c < 0);
    const std::uint64_t n =
        num < 0 ? 0 - static_cast<std::uint64_t>(num) : static_cast<std::uint64_t>(num);
    const std::uint64_t d = c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c))
                                  : static_cast<std::uint64_t>(c);
    const std::uint64_t q = (n + d / 2) / d;
    if (q > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + (negative ? 1 : 0))
        return -1;
    return negative ? static_cast<int>(-static_cast<std::int64_t>(q)) : static_cast<int>(q);
}

}  // namespace pelwick
