#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <cstring>
#include <limits>

#include "gfx/Simd.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

TEST(Bitmap, RowsArePaddedToWholeWords) {
    for (int w = 1; w <= 9; ++w) {
        TBitmap b24(w, 2, pf24bit), b8(w, 2, pf8bit), b32(w, 2, pf32bit);
        EXPECT_EQ(b24.Stride(), (w * 3 + 3) / 4 * 4) << w;
        EXPECT_EQ(b8.Stride(), (w + 3) / 4 * 4) << w;
        EXPECT_EQ(b32.Stride(), w * 4) << w;
        EXPECT_EQ(b24.ScanLine(1) - b24.ScanLine(0), b24.Stride());
        EXPECT_EQ(b24.ByteSize(), static_cast<size_t>(b24.Stride()) * 2);
    }
    TBitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.ByteSize(), 0u);
}

TEST(Bitmap, PixelsKeepTheirByteOrderPerFormat) {
    TBitmap b(3, 1, pf24bit);
    b.SetPixel(1, 0, RGB(10, 20, 30));
    const std::uint8_t* row = b.ScanLine(0);
    EXPECT_EQ(row[3], 30);  // blue first
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    EXPECT_EQ(b.Pixel(1, 0), RGB(10, 20, 30));
    TBitmap q(1, 1, pf32bit);
    q.SetPixel(0, 0, RGB(1, 2, 3));
    std::uint32_t v;
    std::memcpy(&v, q.ScanLine(0), 4);
    EXPECT_EQ(v, 0xFF010203u);  // Qt's RGB32
    TBitmap g(1, 1, pf8bit);
    g.SetPixel(0, 0, RGB(255, 255, 255));
    EXPECT_EQ(g.ScanLine(0)[0], 255);
    // Outside the bitmap nothing is written and black is read.
    b.SetPixel(-1, 0, clWhite);
    b.SetPixel(3, 0, clWhite);
    EXPECT_EQ(b.Pixel(5, 5), clBlack);
}

TEST(Bitmap, SetSizeKeepsWhatStaysAndFillsTheRestWithTheBrush) {
    TBitmap b(2, 2);
    b.SetPixel(0, 0, clRed);
    b.SetPixel(1, 1, clLime);
    b.Canvas().Brush.Color = clBlue;
    b.SetSize(3, 3);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 1), clLime);
    EXPECT_EQ(b.Pixel(2, 0), clBlue);
    EXPECT_EQ(b.Pixel(0, 2), clBlue);
    b.SetSize(1, 1);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_THROW(b.SetSize(-1, 4), Exception);
    EXPECT_THROW(b.SetSize(1 << 20, 1 << 20), Exception);
    EXPECT_EQ(b.Width(), 1);  // a refused size leaves the bitmap as it was
}

TEST(Bitmap, CopiesAndMovesKeepACanvasOfTheirOwn) {
    TBitmap a(2, 1);
    a.Canvas().Brush.Color = clRed;
    TBitmap b = a;
    b.Canvas().FillRect(b.BoundsRect());
    EXPECT_EQ(b.Pixel(1, 0), clRed);
    EXPECT_EQ(a.Pixel(1, 0), clBlack);
    TBitmap c = std::move(b);
    c.Canvas().Brush.Color = clLime;
    c.Canvas().FillRect(TRect{0, 0, 1, 1});
    EXPECT_EQ(c.Pixel(0, 0), clLime);
    EXPECT_EQ(c.Pixel(1, 0), clRed);
    EXPECT_TRUE(b.Empty());  // NOLINT: moved-from is empty by design
}

TEST(Canvas, FillRectClipsToTheBitmapAndTheRegion) {
    TBitmap b(5, 3);
    b.Canvas().Brush.Color = clWhite;
    b.Canvas().FillRect(TRect{-10, 1, 3, 100});
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Pixel(2, 2), clWhite);
    EXPECT_EQ(b.Pixel(3, 2), clBlack);
    const TRegion clip = TRegion::Rect(TRect{4, 0, 5, 1});
    b.Canvas().SetClipRegion(&clip);
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect(b.BoundsRect());
    b.Canvas().SetClipRegion(nullptr);
    EXPECT_EQ(b.Pixel(4, 0), clRed);
    EXPECT_EQ(b.Pixel(3, 0), clBlack);
    b.Canvas().Brush.Style = TBrush::bsClear;
    b.Canvas().FillRect(b.BoundsRect());
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
}

TEST(Canvas, DrawCopiesUnscaledAndConvertsFormats) {
    TBitmap src(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            src.SetPixel(x, y, RGB(std::uint8_t(x * 80), std::uint8_t(y * 90), 5));
    TBitmap dst(4, 3, pf32bit);
    dst.Canvas().Draw(-1, 2, src);  // only src's (1..2, 0) lands, at (0..1, 2)
    EXPECT_EQ(dst.Pixel(0, 2), src.Pixel(1, 0));
    EXPECT_EQ(dst.Pixel(1, 2), src.Pixel(2, 0));
    EXPECT_EQ(dst.Pixel(2, 2), clBlack);
    EXPECT_EQ(dst.Pixel(0, 1), clBlack);
    EXPECT_EQ(dst.ScanLine(2)[3], 0xFF);

    TBitmap gray(3, 2, pf8bit);
    gray.Canvas().Draw(0, 0, src);
    EXPECT_EQ(gray.ScanLine(1)[2], GrayOf(160, 90, 5));
    TBitmap back(3, 2);
    back.Canvas().Draw(0, 0, gray);
    EXPECT_EQ(back.Pixel(2, 1), RGB(GrayOf(160, 90, 5), GrayOf(160, 90, 5), GrayOf(160, 90, 5)));
}

TEST(Canvas, ClipAndCopyThroughARegion) {
    TBitmap src(5, 5), dst(5, 5);
    src.Canvas().Brush.Color = clWhite;
    src.Canvas().FillRect(src.BoundsRect());
    const TRegion region =
        TRegion::Rect(TRect{0, 0, 2, 2}).United(TRegion::Rect(TRect{3, 3, 5, 5}));
    dst.Canvas().SetClipRegion(&region);
    dst.Canvas().Draw(0, 0, src);
    dst.Canvas().SetClipRegion(nullptr);
    int white = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool inside = region.Contains(x, y);
            EXPECT_EQ(dst.Pixel(x, y), inside ? clWhite : clBlack) << x << "," << y;
            white += inside;
        }
    EXPECT_EQ(white, 8);
}

TEST(Canvas, CopyRectOntoItselfHandlesOverlap) {
    TBitmap b(6, 1);
    for (int x = 0; x < 6; ++x)
        b.SetPixel(x, 0, RGB(std::uint8_t(x * 10), 0, 0));
    b.Canvas().CopyRect(TRect{2, 0, 6, 1}, b, TRect{0, 0, 4, 1});
    for (int x = 2; x < 6; ++x)
        EXPECT_EQ(GetRValue(b.Pixel(x, 0)), (x - 2) * 10);
}

TEST(Canvas, FillPatternTilesFromTheRectanglesCorner) {
    TBitmap tile(2, 1);
    tile.SetPixel(0, 0, clRed);
    tile.SetPixel(1, 0, clLime);
    TBitmap b(5, 2);
    b.Canvas().FillPattern(TRect{1, 0, 5, 2}, tile);
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Pixel(1, 0), clRed);
    EXPECT_EQ(b.Pixel(2, 1), clLime);
    EXPECT_EQ(b.Pixel(4, 1), clLime);
}

TEST(Bitmap, PixelFormatConversionAndQtViews) {
    TBitmap b(3, 2);
    b.SetPixel(2, 1, RGB(200, 100, 50));
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.Pixel(2, 1), RGB(200, 100, 50));
    EXPECT_EQ(b.Stride(), 12);
    const QImage image = b.AsQImage();
    EXPECT_EQ(image.pixel(2, 1), qRgb(200, 100, 50));
    EXPECT_EQ(image.constBits(), b.Bits());  // a view, not a copy
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(b.ToQImage().pixel(2, 1), qRgb(200, 100, 50));

    QImage translucent(1, 1, QImage::Format_ARGB32);
    translucent.fill(qRgba(255, 255, 255, 0));
    EXPECT_EQ(TBitmap::FromQImage(translucent, clBlue).Pixel(0, 0), clBlue);
}

// The 24 to 32 bit conversions and back keep every byte at every width, whichever version of
// the row loop runs (odd widths leave tails after the vector steps).
TEST(Bitmap, FormatRoundTripsAtEveryVectorLevel) {
    for (const TSimdLevel level : SupportedSimdLevels()) {
        test::TSimdScope simd(level);
        for (const int w : {1, 5, 6, 7, 13, 37}) {
            TBitmap b(w, 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x)
                    b.SetPixel(x, y, RGB(x * 7 + y, 255 - x, x ^ 0x5A));
            const TBitmap original = b;
            b.SetPixelFormat(pf32bit);
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(b.ScanLine(2)[4 * x + 3], 0xFF) << SimdLevelName(level) << " " << w;
            b.SetPixelFormat(pf24bit);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(b.Pixel(x, y), original.Pixel(x, y))
                        << SimdLevelName(level) << " " << w << " " << x;
        }
    }
}

TEST(Canvas, TextOutDrawsInTheFontColourOverTheBrush) {
    TBitmap b(60, 30);
    TCanvas& c = b.Canvas();
    c.Font.Height = -20;
    c.Font.Color = clWhite;
    c.Brush.Color = clBlue;
    const TSize extent = c.TextExtent("Hi");
    EXPECT_GT(extent.Width, 5);
    EXPECT_GE(extent.Height, 20);
    c.TextOut(2, 2, "Hi");
    int white = 0, blue = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            white += b.Pixel(x, y) == clWhite;
            blue += b.Pixel(x, y) == clBlue;
        }
    EXPECT_GT(white, 10);
    EXPECT_GT(blue, 10);
    EXPECT_EQ(b.Pixel(59, 29), clBlack);  // outside the text's cell
}

}  // namespace
}  // namespace pelwick

namespace pelwick {
namespace {

TEST(Canvas, VisiblePartsLieInsideTheBitmapAndTheClip) {
    TBitmap b(10, 6);
    EXPECT_EQ(b.Canvas().VisibleParts(TRect{-5, -5, 3, 2}), (std::vector<TRect>{{0, 0, 3, 2}}));
    EXPECT_TRUE(b.Canvas().VisibleParts(TRect{20, 0, 30, 5}).empty());
    const TRegion clip = TRegion::Rect(TRect{4, 0, 6, 6});
    b.Canvas().SetClipRegion(&clip);
    EXPECT_EQ(b.Canvas().VisibleParts(TRect{0, 1, 10, 3}), (std::vector<TRect>{{4, 1, 6, 3}}));
    EXPECT_EQ(&b.Canvas().Bitmap(), &b);
}

TEST(Font, HeightsFollowThePlatformsSigns) {
    TFont f;
    f.Height = -30;  // character height: the em
    EXPECT_EQ(ToQFont(f).pixelSize(), 30);
    f.Height = 30;  // cell height: ascent plus descent
    const QFontMetrics cell(ToQFont(f));
    EXPECT_NEAR(cell.ascent() + cell.descent(), 30, 1);
    EXPECT_LT(ToQFont(f).pixelSize(), 30);
    f.Height = std::numeric_limits<int>::min();  // held to what font engines take
    EXPECT_EQ(ToQFont(f).pixelSize(), 32767);
    TFont g = f;
    EXPECT_TRUE(g == f);
    g.Escapement = 900;
    EXPECT_FALSE(g == f);
}

}  // namespace
}  // namespace pelwick
