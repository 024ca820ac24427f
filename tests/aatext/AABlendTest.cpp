#include <gtest/gtest.h>

#include "AATestSupport.h"
#include "aatext/AAGlyphs.h"

namespace pelwick {
namespace {

using test::SetMask;

struct TBlendScene {
    explicit TBlendScene(TPixelFormat format = pf24bit, TColor background = clBlack)
        : Image(5, 4, format), Glyphs(&Image.Canvas()) {
        Image.Canvas().Brush = TBrush{TBrush::bsSolid, background};
        Image.Canvas().FillRect(Image.BoundsRect());
        Image.Canvas().Brush.Style = TBrush::bsClear;
    }
    TBitmap Image;
    TAAGlyphs Glyphs;
    TAAMask Mask;
};

TEST(AABlend, SolidColourMovesEachChannelTowardItRoundingDown) {
    TBlendScene s(pf24bit, RGB(200, 1, 0));
    SetMask(s.Mask, 1, 1, {128});
    s.Glyphs.Blend().Blend(1, 1, s.Mask, 100, RGB(0, 0, 255));
    // Halfway: 200 - 100; 1 + floor(-0.5) = 0; 0 + floor(127.5) = 127.
    EXPECT_EQ(s.Image.Pixel(1, 1), RGB(100, 0, 127));
    EXPECT_EQ(s.Image.Pixel(0, 0), RGB(200, 1, 0));

    SetMask(s.Mask, 2, 1, {255, 0});
    s.Glyphs.Blend().Blend(0, 0, s.Mask, 100, clWhite);
    EXPECT_EQ(s.Image.Pixel(0, 0), clWhite);  // full ink at full opacity replaces
    EXPECT_EQ(s.Image.Pixel(1, 0), RGB(200, 1, 0));

    // Alpha 50 over full ink: w = (255 * 128) >> 8 = 127, never a replacement.
    s.Image.SetPixel(0, 2, clBlack);
    SetMask(s.Mask, 1, 1, {255});
    s.Glyphs.Blend().Blend(0, 2, s.Mask, 50, clWhite);
    EXPECT_EQ(s.Image.Pixel(0, 2), RGB(126, 126, 126));  // floor(255 * 127 / 256)
    s.Glyphs.Blend().Blend(0, 2, s.Mask, 0, clRed);
    EXPECT_EQ(s.Image.Pixel(0, 2), RGB(126, 126, 126));  // alpha 0 changes nothing
    s.Glyphs.Blend().Blend(0, 2, s.Mask, 250, clRed);    // beyond 100 counts as 100
    EXPECT_EQ(s.Image.Pixel(0, 2), clRed);
}

TEST(AABlend, SolidBrushGivesAnOpaqueBoxClearBrushNone) {
    TBlendScene s;
    s.Image.Canvas().Brush = TBrush{TBrush::bsSolid, clBlue};
    SetMask(s.Mask, 3, 2, {0, 255, 0, 0, 0, 0});
    s.Glyphs.Blend().Blend(1, 1, s.Mask, 0, clWhite);  // alpha 0: the box still comes
    EXPECT_EQ(s.Image.Pixel(1, 1), clBlue);
    EXPECT_EQ(s.Image.Pixel(3, 2), clBlue);
    EXPECT_EQ(s.Image.Pixel(2, 1), clBlue);
    EXPECT_EQ(s.Image.Pixel(0, 0), clBlack);
    EXPECT_EQ(s.Image.Pixel(4, 3), clBlack);
    s.Glyphs.Blend().Blend(1, 1, s.Mask, 100, clWhite);
    EXPECT_EQ(s.Image.Pixel(2, 1), clWhite);
    EXPECT_EQ(s.Image.Pixel(1, 1), clBlue);

    TBlendScene clear;
    clear.Glyphs.Blend().Blend(1, 1, s.Mask, 100, clWhite);
    EXPECT_EQ(clear.Image.Pixel(2, 1), clWhite);
    EXPECT_EQ(clear.Image.Pixel(1, 1), clBlack);
}

TEST(AABlend, EveryTargetFormatGetsTheSameColour) {
    for (TPixelFormat format : {pf8bit, pf24bit, pf32bit}) {
        TBlendScene s(format, RGB(40, 40, 40));
        s.Image.Canvas().Brush = TBrush{TBrush::bsSolid, RGB(250, 0, 0)};
        SetMask(s.Mask, 2, 1, {0, 100});
        s.Glyphs.Blend().Blend(0, 0, s.Mask, 100, RGB(0, 200, 0));
        // (250,0,0) -> (0,200,0) by 100/256: (152, 78, 0), drawn in the target's format.
        const TColor box = format == pf8bit ? RGB(75, 75, 75) : RGB(250, 0, 0);
        const TColor ink = format == pf8bit ? RGB(91, 91, 91) : RGB(152, 78, 0);
        EXPECT_EQ(s.Image.Pixel(0, 0), box) << format;
        EXPECT_EQ(s.Image.Pixel(1, 0), ink) << format;
        if (format == pf32bit) {
            EXPECT_EQ(s.Image.ScanLine(0)[7], 0xFF);
        }
    }
}

TEST(AABlend, ClipAndEdgesBoundWhatIsDrawn) {
    TBlendScene s;
    const TRegion clip = TRegion::Rect(TRect{0, 0, 2, 4});
    s.Image.Canvas().SetClipRegion(&clip);
    SetMask(s.Mask, 4, 1, {255, 255, 255, 255});
    s.Glyphs.Blend().Blend(0, 0, s.Mask, 100, clWhite);
    EXPECT_EQ(s.Image.Pixel(1, 0), clWhite);
    EXPECT_EQ(s.Image.Pixel(2, 0), clBlack);
    s.Image.Canvas().SetClipRegion(nullptr);
    s.Glyphs.Blend().Blend(-3, 3, s.Mask, 100, clRed);  // hangs off the left and bottom
    EXPECT_EQ(s.Image.Pixel(0, 3), clRed);
    EXPECT_EQ(s.Image.Pixel(1, 3), clBlack);
    s.Glyphs.Blend().Blend(1 << 30, 1 << 30, s.Mask, 100, clRed);  // far away: nothing
    s.Glyphs.Blend().Blend(-(1 << 30), 0, s.Mask, 100, clRed);
    EXPECT_EQ(s.Image.Pixel(1, 3), clBlack);
}

TEST(AABlend, ForegroundPictureMustMatchTheMask) {
    TBlendScene s;
    SetMask(s.Mask, 2, 2, {255, 128, 0, 255});
    TBitmap& fore = s.Glyphs.Blend().ForeBmp();
    for (const TBitmap& wrong : {TBitmap(3, 2), TBitmap(2, 1), TBitmap(2, 2, pf8bit)}) {
        fore = wrong;
        try {
            s.Glyphs.Blend().BlendEx(0, 0, s.Mask, 100);
            ADD_FAILURE();
        } catch (const EInvalidForeBmp& e) {
            EXPECT_STREQ(e.what(), "Invalid foreground bitmap!");
        }
        EXPECT_EQ(s.Image.Pixel(0, 0), clBlack);
    }
    fore = TBitmap(2, 2);
    fore.SetPixel(0, 0, RGB(10, 20, 30));
    fore.SetPixel(1, 0, RGB(200, 100, 0));
    fore.SetPixel(1, 1, RGB(1, 2, 3));
    s.Glyphs.Blend().BlendEx(0, 0, s.Mask, 100);
    EXPECT_EQ(s.Image.Pixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(s.Image.Pixel(1, 0), RGB(100, 50, 0));
    EXPECT_EQ(s.Image.Pixel(0, 1), clBlack);
    EXPECT_EQ(s.Image.Pixel(1, 1), RGB(1, 2, 3));

    TAABlend copy;
    copy.Assign(s.Glyphs.Blend());
    EXPECT_EQ(copy.ForeBmp().Pixel(1, 0), RGB(200, 100, 0));
    copy.Blend(0, 0, s.Mask, 100, clWhite);  // no canvas: nothing, no failure
}

}  // namespace
}  // namespace pelwick
