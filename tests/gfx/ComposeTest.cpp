#include "gfx/Compose.h"

#include <gtest/gtest.h>

#include "gfx/ComplexRegion.h"
#include "gfx/RandomSequence.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

TBitmap Filled(int w, int h, TPixelFormat format, int seed) {
    TBitmap b(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, RGB(x * 5 + seed, y * 9 + seed, (x * y + seed) & 0xFF));
    return b;
}

// Whatever the region (few wide spans, many thin ones, bands partly outside the picture),
// each pixel comes from the picture the region says, in every format and vector level,
// whether it is given as a region or as its rectangles.
TEST(Compose, EachPixelFromThePictureTheRegionSays) {
    TRandomSequence random(9);
    for (const TPixelFormat format : {pf24bit, pf32bit, pf8bit})
        for (const TSimdLevel level : SupportedSimdLevels()) {
            const test::TSimdScope scope(level);
            for (int round = 0; round < 30; ++round) {
                const int w = 1 + random.Next(90), h = 1 + random.Next(20);
                const TBitmap outside = Filled(w, h, format, 1), inside = Filled(w, h, format, 77);
                TComplexRegion rects;
                const int n = random.Next(3) == 0 ? 2 : 60;  // wide spans or many thin ones
                for (int i = 0; i < n; ++i) {
                    const int x = random.Next(w + 10) - 5, y = random.Next(h + 6) - 3;
                    rects.AddRect(x, y, x + 1 + random.Next(n == 2 ? w : 4),
                                  y + 1 + random.Next(8));
                }
                const TRegion region = rects.CreateRegion().value();
                TBitmap dst(w, h, format), fromRects(w, h, format);
                ComposeThroughRegion(dst, outside, inside, region);
                ComposeThroughRects(fromRects, outside, inside, TRectRegion(rects.Rects()));
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const TColor expected =
                            (region.Contains(x, y) ? inside : outside).Pixel(x, y);
                        ASSERT_EQ(dst.Pixel(x, y), expected) << SimdLevelName(level) << " round "
                                                             << round << " at " << x << "," << y;
                        ASSERT_EQ(fromRects.Pixel(x, y), expected) << "from the rectangles";
                    }
            }
        }
}

TEST(Compose, PicturesOfAnotherSizeAreDrawnOverEachOther) {
    const TBitmap outside = Filled(6, 4, pf24bit, 1), inside = Filled(3, 3, pf8bit, 50);
    TBitmap dst(5, 5);
    ComposeThroughRegion(dst, outside, inside, TRegion::Rect(TRect{1, 1, 9, 9}));
    EXPECT_EQ(dst.Pixel(0, 0), outside.Pixel(0, 0));
    EXPECT_EQ(dst.Pixel(2, 2), inside.Pixel(2, 2));
    EXPECT_EQ(dst.Pixel(4, 2), outside.Pixel(4, 2));  // inside ends there
    EXPECT_EQ(dst.Pixel(4, 4), clBlack);              // neither reaches
    EXPECT_FALSE(dst.Canvas().HasClip());
}

}  // namespace
}  // namespace pelwick
