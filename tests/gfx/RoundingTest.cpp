#include "gfx/Rounding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace pelwick {
namespace {

// Slow references, written from the definitions rather than from the fast code.

int SlowRoundHalfEven(int quarters) {  // the value quarters / 4
    int lower = 0;
    while (lower * 4 > quarters)
        --lower;
    while ((lower + 1) * 4 <= quarters)
        ++lower;
    const int rest = quarters - lower * 4;  // 0..3 quarters above lower
    if (rest < 2) return lower;
    if (rest > 2) return lower + 1;
    return lower % 2 == 0 ? lower : lower + 1;
}

int SlowDivTowardZero(int a, int b) {
    int q = 0, rest = std::abs(a);
    while (rest >= std::abs(b))
        rest -= std::abs(b), ++q;
    return (a < 0) != (b < 0) ? -q : q;
}

int SlowFloorDiv(int a, int b) {
    for (int q = -200; q <= 200; ++q) {
        // q <= a / b < q + 1, compared without dividing
        const bool low = b > 0 ? q * b <= a : q * b >= a;
        const bool high = b > 0 ? a < (q + 1) * b : a > (q + 1) * b;
        if (low && high) return q;
    }
    ADD_FAILURE() << "no quotient for " << a << " / " << b;
    return 0;
}

int SlowMulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int product = a * b;
    int best = 0;
    long bestError = -1;
    for (int n = -1000; n <= 1000; ++n) {
        const long error =
            std::labs(2L * (static_cast<long>(n) * c - product));  // twice the distance times |c|
        if (bestError < 0 || error < bestError ||
            (error == bestError && std::abs(n) > std::abs(best))) {
            best = n;
            bestError = error;
        }
    }
    return best;
}

TEST(Rounding, RoundIsNearestWithTiesToEven) {
    for (int q = -400; q <= 400; ++q)
        ASSERT_EQ(Round(q / 4.0), SlowRoundHalfEven(q)) << q / 4.0;
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-0.4), 0);
}

TEST(Rounding, DivTruncatesAndFloorDivRoundsDown) {
    for (int a = -60; a <= 60; ++a)
        for (int b = -25; b <= 25; ++b) {
            if (b == 0) continue;
            ASSERT_EQ(Div(a, b), SlowDivTowardZero(a, b)) << a << " div " << b;
            ASSERT_EQ(FloorDiv(a, b), SlowFloorDiv(a, b)) << a << " floor/ " << b;
        }
    for (int q = -40; q <= 40; ++q)
        ASSERT_EQ(Floor(q / 8.0), SlowFloorDiv(q, 8));
    EXPECT_THROW(Div(1, 0), Exception);
    EXPECT_THROW(FloorDiv(1, 0), Exception);
    // The one quotient that does not fit wraps instead of trapping.
    EXPECT_EQ(Div(INT_MIN, -1), INT_MIN);
}

TEST(Rounding, MulDivRoundsHalvesAwayFromZero) {
    for (int a = -20; a <= 20; ++a)
        for (int b = -20; b <= 20; ++b)
            for (int c = -20; c <= 20; ++c)
                ASSERT_EQ(MulDiv(a, b, c), SlowMulDiv(a, b, c)) << a << "*" << b << "/" << c;
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(400, 500, 300), 667);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
}

TEST(Rounding, MulDivUsesAWideProductAndReportsOverflow) {
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
    EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);  // 2^31 does not fit
    EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
    EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, INT_MIN), INT_MIN);
}

}  // namespace
}  // namespace pelwick
