#include "slideshow/CrossFade.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/Simd.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

TEST(CrossFade, EveryOldNewAndProgressMatchesTheIntegerFormula) {
    // Every pair of channel values, each in its own byte; the odd length leaves a tail
    // that vectorised code handles separately.
    std::vector<std::uint8_t> old(65536 + 7), now(65536 + 7), out(65536 + 7);
    for (size_t i = 0; i < old.size(); ++i) {
        old[i] = static_cast<std::uint8_t>(i & 0xFF);
        now[i] = static_cast<std::uint8_t>((i >> 8) & 0xFF);
    }
    for (const TSimdLevel level : SupportedSimdLevels()) {
        test::TSimdScope simd(level);
        for (unsigned p = 0; p <= 100; ++p) {
            CrossFadeBytes(out.data(), old.data(), now.data(), out.size(), p);
            for (size_t i = 0; i < out.size(); ++i) {
                const int expected =
                    old[i] * (100 - static_cast<int>(p)) / 100 + now[i] * static_cast<int>(p) / 100;
                ASSERT_EQ(out[i], expected) << "old " << int(old[i]) << " new " << int(now[i])
                                            << " P " << p << " " << SimdLevelName(level);
            }
        }
    }
}

TEST(CrossFade, FadesBitmapsInPlaceAndKeepsRowPadding) {
    TBitmap screen(5, 3), now(5, 3);  // 15 bytes a row, 16 with padding
    screen.Canvas().Brush.Color = RGB(200, 100, 0);
    screen.Canvas().FillRect(screen.BoundsRect());
    now.Canvas().Brush.Color = RGB(0, 100, 255);
    now.Canvas().FillRect(now.BoundsRect());
    CrossFade(screen, screen, now, 50);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(screen.Pixel(x, y), RGB(100, 100, 127));
    EXPECT_EQ(screen.ScanLine(0)[15], 0);

    TBitmap a(2, 2, pf32bit), b(2, 2, pf32bit), c(2, 2, pf32bit);
    a.Canvas().Brush.Color = clWhite;
    a.Canvas().FillRect(a.BoundsRect());
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect(b.BoundsRect());
    CrossFade(c, a, b, 50);
    EXPECT_EQ(c.Pixel(1, 1), RGB(254, 254, 254));  // 127 + 127: the formula, not 255
    EXPECT_EQ(c.ScanLine(1)[7], 0xFF);             // still opaque for Qt
}

}  // namespace
}  // namespace pelwick
