#include <gtest/gtest.h>

#include "AATestSupport.h"
#include "aatext/AAGlyphs.h"

namespace pelwick {
namespace {

using test::TBlockScene;

// Glyphs of one lit enlarged pixel at the top-left of a 3 x 2 cell, drawn at aqNone.
void OnePixelGlyphs(TBlockScene& s) {
    s.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{3, 2}; };
    s.Rasterizer->Paint = [](TBitmap& surface, int x, int y) { surface.ScanLine(y)[x] = 255; };
}

TEST(TextOutput, ShadowAndTextTogetherStartAtTheOrigin) {
    TBlockScene s(12, 8);
    OnePixelGlyphs(s);
    TAAShadow& shadow = s.Glyphs.Effect().Shadow();
    shadow.SetEnabled(true);
    shadow.SetBlur(0);
    shadow.SetAlpha(100);
    shadow.SetColor(clRed);
    EXPECT_EQ(s.Glyphs.TextExtent("a"), (TSize{5, 4}));
    EXPECT_EQ(s.Glyphs.TextWidth("a"), 5);
    EXPECT_EQ(s.Glyphs.TextHeight("a"), 4);
    s.Glyphs.TextOutput(1, 1, "a");
    EXPECT_EQ(s.Image.Pixel(1, 1), clWhite);
    EXPECT_EQ(s.Image.Pixel(3, 3), clRed);

    TBlockScene t(12, 8);
    OnePixelGlyphs(t);
    t.Glyphs.Effect().Shadow().Assign(shadow);
    t.Glyphs.Effect().Shadow().SetOffsetX(-1);
    t.Glyphs.Effect().Shadow().SetOffsetY(0);
    EXPECT_EQ(t.Glyphs.TextExtent("a"), (TSize{4, 2}));
    t.Glyphs.TextOutput(5, 5, "a");
    EXPECT_EQ(t.Image.Pixel(6, 5), clWhite);
    EXPECT_EQ(t.Image.Pixel(5, 5), clRed);
}

TEST(TextOutput, ShadowOpacityIsAShareOfTheTextsAndLiesBelowIt) {
    TBlockScene s(10, 6);
    s.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{2, 1}; };
    s.Rasterizer->Paint = [](TBitmap& surface, int x, int y) {
        surface.ScanLine(y)[x] = surface.ScanLine(y)[x + 1] = 255;
    };
    TAAEffect& e = s.Glyphs.Effect();
    e.SetAlpha(80);
    e.Shadow().SetEnabled(true);
    e.Shadow().SetAlpha(70);
    e.Shadow().SetBlur(0);
    e.Shadow().SetColor(clWhite);
    e.Shadow().SetOffsetX(1);
    e.Shadow().SetOffsetY(0);
    s.Image.Canvas().Font.Color = clBlue;
    s.Glyphs.TextOutput(0, 0, "a");
    // 56 percent: A256 = 143, w = (255 * 143) >> 8 = 142, 255 * 142 / 256 = 141.
    EXPECT_EQ(s.Image.Pixel(2, 0), RGB(141, 141, 141));
    // Text at 80 percent (w = 204) over black, and over the shadow where they meet.
    EXPECT_EQ(s.Image.Pixel(0, 0), RGB(0, 0, 202));
    EXPECT_EQ(s.Image.Pixel(1, 0), RGB(29, 29, 231));
}

TEST(TextOutput, SolidBrushBoxesTheShadowOnceAndComesBack) {
    TBlockScene s(10, 6);
    OnePixelGlyphs(s);
    TCanvas& canvas = s.Image.Canvas();
    canvas.Brush = TBrush{TBrush::bsSolid, clLime};
    s.Glyphs.Effect().Shadow().SetEnabled(true);
    s.Glyphs.Effect().Shadow().SetBlur(0);
    s.Glyphs.TextOutput(0, 0, "a");
    EXPECT_EQ(s.Image.Pixel(4, 3), clLime);   // inside the shadow's box
    EXPECT_EQ(s.Image.Pixel(1, 0), clBlack);  // inside the text's box only: no second box
    EXPECT_EQ(canvas.Brush.Style, TBrush::bsSolid);
}

TEST(TextOutput, TheTextsBlurSparesTheShadow) {
    TBlockScene s(12, 12);
    s.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{5, 5}; };
    s.Rasterizer->Paint = [](TBitmap& surface, int x, int y) {
        surface.ScanLine(y + 2)[x + 2] = 255;
    };
    TAAEffect& e = s.Glyphs.Effect();
    e.SetBlur(100);
    e.Shadow().SetEnabled(true);
    e.Shadow().SetBlur(0);
    e.Shadow().SetAlpha(100);
    e.Shadow().SetColor(clRed);
    e.Shadow().SetOffsetX(5);
    e.Shadow().SetOffsetY(5);
    s.Glyphs.TextOutput(0, 0, "a");
    EXPECT_EQ(s.Image.Pixel(7, 7), clRed);  // the sharp shadow
    EXPECT_EQ(s.Image.Pixel(6, 7), clBlack);
    EXPECT_EQ(s.Image.Pixel(2, 2), RGB(9, 9, 9));  // the softened text: 255 * 10 / 256
    EXPECT_EQ(s.Image.Pixel(0, 0), RGB(9, 9, 9));
}

TEST(TextOutput, FillsTakeTheFirstThatApplies) {
    TBlockScene s(6, 2);
    s.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{3, 1}; };
    s.Rasterizer->Paint = [](TBitmap& surface, int x, int y) {
        for (int i = 0; i < 3; ++i)
            surface.ScanLine(y)[x + i] = 255;
    };
    TAAEffect& e = s.Glyphs.Effect();
    e.Texture().SetEnabled(true);  // with an empty picture: the gradient is next
    e.Texture().Picture().SetBitmap(TBitmap(0, 0));
    e.Gradual().SetEnabled(true);
    e.Gradual().SetStartColor(RGB(0, 0, 90));
    e.Gradual().SetEndColor(RGB(0, 0, 0));
    s.Glyphs.TextOutput(0, 0, "a");
    EXPECT_EQ(s.Image.Pixel(0, 0), RGB(0, 0, 90));
    EXPECT_EQ(s.Image.Pixel(1, 0), RGB(0, 0, 60));
    EXPECT_EQ(s.Image.Pixel(2, 0), RGB(0, 0, 30));

    TBitmap tile(1, 1);
    tile.SetPixel(0, 0, RGB(7, 8, 9));
    e.Texture().Picture().SetBitmap(tile);
    s.Glyphs.TextOutput(3, 1, "a");
    EXPECT_EQ(s.Image.Pixel(5, 1), RGB(7, 8, 9));
}

TEST(TextOutput, TurnedTextRestoresTheFontEvenWhenDrawingFails) {
    TBlockScene s(40, 40);
    s.Glyphs.Effect().SetAngle(90);
    s.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{20, 10}; };
    s.Rasterizer->Paint = [](TBitmap&, int, int) {};
    EXPECT_EQ(s.Glyphs.TextExtent("a"), (TSize{10, 20}));
    s.Glyphs.TextOutput(0, 0, "a");
    EXPECT_EQ(s.Rasterizer->LastFont.Escapement, 900);
    EXPECT_EQ(s.Image.Canvas().Font.Escapement, 0);
    s.Rasterizer->Paint = [](TBitmap&, int, int) { throw Exception("broken font"); };
    EXPECT_THROW(s.Glyphs.TextOutput(0, 0, "a"), Exception);
    EXPECT_EQ(s.Image.Canvas().Font.Escapement, 0);
    const int draws = s.Rasterizer->Draws;
    s.Glyphs.TextOutput(0, 0, "");  // nothing for an empty string
    EXPECT_EQ(s.Rasterizer->Draws, draws);
}

TEST(TextOutput, MaskEffectsRunOnSmallAndOddMasks) {
    for (int w : {1, 2, 3, 5}) {
        TBlockScene s(9, 9);
        s.Rasterizer->Extent = [&](const TFont&, const std::string&) { return TSize{w, 3}; };
        s.Rasterizer->Paint = [](TBitmap& surface, int x, int y) { surface.ScanLine(y)[x] = 255; };
        TAAEffect& e = s.Glyphs.Effect();
        e.SetOutline(true);
        e.SetSpray(100);
        e.SetHorzMirror(true);
        e.SetVertMirror(true);
        e.SetBlur(100);
        e.SetNoise(255);
        e.Shadow().SetEnabled(true);
        s.Glyphs.TextOutput(1, 1, "a");
        EXPECT_EQ(s.Glyphs.Mask().Width(), w);
        EXPECT_EQ(s.Image.Pixel(8, 8), clBlack) << w;  // beyond text and shadow
    }
}

}  // namespace
}  // namespace pelwick
