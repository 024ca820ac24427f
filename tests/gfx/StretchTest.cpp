#include "gfx/Stretch.h"

#include <gtest/gtest.h>

#include "gfx/RandomSequence.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

TBitmap Ramp(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, RGB(std::uint8_t(x * 10), std::uint8_t(y * 10), 100));
    return b;
}

TEST(Stretch, HalftoneAveragesTheCoveredBlock) {
    TBitmap src(4, 2);
    src.SetPixel(0, 0, RGB(0, 0, 0));
    src.SetPixel(1, 0, RGB(100, 0, 0));
    src.SetPixel(0, 1, RGB(200, 0, 0));
    src.SetPixel(1, 1, RGB(100, 0, 0));
    src.SetPixel(2, 0, RGB(255, 255, 255));
    src.SetPixel(3, 0, RGB(255, 255, 255));
    src.SetPixel(2, 1, RGB(255, 255, 255));
    src.SetPixel(3, 1, RGB(0, 0, 0));
    TBitmap dst(2, 1);
    dst.Canvas().StretchDraw(dst.BoundsRect(), src);
    EXPECT_EQ(dst.Pixel(0, 0), RGB(100, 0, 0));
    EXPECT_EQ(dst.Pixel(1, 0), RGB(191, 191, 191));  // 765 / 4 = 191.25
}

TEST(Stretch, UniformPicturesStayUniformAtOddRatios) {
    TBitmap src(7, 5);
    src.Canvas().Brush.Color = RGB(13, 200, 77);
    src.Canvas().FillRect(src.BoundsRect());
    for (auto [w, h] : {std::pair{3, 2}, {11, 9}, {1, 1}, {7, 1}}) {
        TBitmap dst(w, h);
        dst.Canvas().StretchDraw(dst.BoundsRect(), src);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(dst.Pixel(x, y), RGB(13, 200, 77)) << w << "x" << h;
    }
}

TEST(Stretch, ReplicationDuplicatesAndDropsPixels) {
    const TBitmap src = Ramp(3, 2);
    TBitmap dst(6, 4);
    dst.Canvas().StretchMode = smReplicate;
    dst.Canvas().StretchDraw(dst.BoundsRect(), src);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(dst.Pixel(x, y), src.Pixel(x / 2, y / 2));
    TBitmap half(1, 1);
    half.Canvas().StretchMode = smReplicate;
    half.Canvas().StretchDraw(half.BoundsRect(), src);
    EXPECT_EQ(half.Pixel(0, 0), src.Pixel(1, 1));  // the pixel under the centre
}

// Replication takes each destination pixel from the source pixel under its centre, the same
// way whichever loop the processor runs: random sizes, mirrored, reaching beyond the bitmap,
// in every pixel format.
TEST(Stretch, ReplicationTakesThePixelUnderEachCentre) {
    TRandomSequence random(3);
    for (const TPixelFormat format : {pf24bit, pf32bit, pf8bit})
        for (const TSimdLevel level : SupportedSimdLevels()) {
            const test::TSimdScope scope(level);
            for (int round = 0; round < 200; ++round) {
                TBitmap src(1 + random.Next(70), 1 + random.Next(9), format);
                for (int y = 0; y < src.Height(); ++y)
                    for (int x = 0; x < src.Width(); ++x)
                        src.SetPixel(x, y, RGB(x * 3, y * 20, (x * 7 + y) & 0xFF));
                TBitmap dst(80, 12, format);
                dst.Canvas().StretchMode = smReplicate;
                const TRect source{random.Next(src.Width()), random.Next(src.Height()), src.Width(),
                                   src.Height()};
                TRect dest{random.Next(40) - 8, random.Next(6) - 2, 0, 0};
                dest.Right = dest.Left + 1 + random.Next(90);
                dest.Bottom = dest.Top + 1 + random.Next(14);
                const bool mirrored = random.Next(3) == 0;
                if (mirrored) std::swap(dest.Left, dest.Right);
                dst.Canvas().CopyRect(dest, src, source);
                const int left = std::min(dest.Left, dest.Right), dl = std::abs(RectWidth(dest));
                const int sl = RectWidth(source), st = RectHeight(source), dt = RectHeight(dest);
                for (int y = 0; y < dst.Height(); ++y)
                    for (int x = 0; x < dst.Width(); ++x) {
                        int i = x - left;
                        const int j = y - dest.Top;
                        if (i < 0 || i >= dl || j < 0 || j >= dt) {
                            ASSERT_EQ(dst.Pixel(x, y), clBlack) << x << "," << y;
                            continue;
                        }
                        if (mirrored) i = dl - 1 - i;
                        const int sx = source.Left + (2 * i + 1) * sl / (2 * dl);
                        const int sy = source.Top + (2 * j + 1) * st / (2 * dt);
                        ASSERT_EQ(dst.Pixel(x, y), src.Pixel(sx, sy))
                            << SimdLevelName(level) << " round " << round << " at " << x << ","
                            << y;
                    }
            }
        }
}

TEST(Stretch, ReversedDestinationMirrors) {
    const TBitmap src = Ramp(3, 1);
    TBitmap dst(3, 1);
    dst.Canvas().CopyRect(TRect{3, 0, 0, 1}, src, src.BoundsRect());
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(dst.Pixel(x, 0), src.Pixel(2 - x, 0));
}

TEST(Stretch, DestinationBeyondTheBitmapAndClipAreCut) {
    const TBitmap src = Ramp(4, 4);
    TBitmap dst(4, 4);
    dst.Canvas().StretchMode = smReplicate;
    // An 8 x 8 picture whose top-left quarter lies outside: the bitmap shows pixels 2..3.
    dst.Canvas().StretchDraw(TRect{-4, -4, 4, 4}, src);
    EXPECT_EQ(dst.Pixel(0, 0), src.Pixel(2, 2));
    EXPECT_EQ(dst.Pixel(3, 3), src.Pixel(3, 3));
    TBitmap clipped(4, 4);
    StretchBitmap(clipped, clipped.BoundsRect(), src, TRect{0, 0, 2, 2}, smReplicate,
                  TRect{1, 1, 2, 2});
    EXPECT_EQ(clipped.Pixel(1, 1), src.Pixel(0, 0));
    EXPECT_EQ(clipped.Pixel(0, 0), clBlack);
    EXPECT_EQ(clipped.Pixel(2, 2), clBlack);
}

TEST(Stretch, WorksAcrossFormats) {
    TBitmap src(2, 2, pf8bit);
    src.Canvas().Brush.Color = RGB(90, 90, 90);
    src.Canvas().FillRect(src.BoundsRect());
    TBitmap dst(5, 3, pf32bit);
    dst.Canvas().StretchDraw(dst.BoundsRect(), src);
    EXPECT_EQ(dst.Pixel(4, 2), RGB(90, 90, 90));
    EXPECT_EQ(dst.ScanLine(2)[4 * 4 + 3], 0xFF);
    TBitmap empty;
    dst.Canvas().StretchDraw(dst.BoundsRect(), empty);  // nothing to draw, nothing breaks
    dst.Canvas().StretchDraw(TRect{0, 0, 0, 3}, src);
    EXPECT_EQ(dst.Pixel(0, 0), RGB(90, 90, 90));
}

}  // namespace
}  // namespace pelwick
