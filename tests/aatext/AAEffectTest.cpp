#include <gtest/gtest.h>

#include "AATestSupport.h"
#include "aatext/AAEffect.h"
#include "aatext/ForePictures.h"
#include "app/Process.h"
#include "app/SettingsFile.h"

namespace pelwick {
namespace {

TEST(AAEffect, Defaults) {
    TAAEffect e;
    EXPECT_EQ(e.Alpha(), 100);
    EXPECT_EQ(e.Blur(), 0);
    EXPECT_EQ(e.Noise(), 0);
    EXPECT_EQ(e.Spray(), 0);
    EXPECT_EQ(e.Angle(), 0);
    EXPECT_FALSE(e.Outline() || e.HorzMirror() || e.VertMirror());
    EXPECT_FALSE(e.Shadow().Enabled());
    EXPECT_EQ(e.Shadow().Blur(), 80);
    EXPECT_EQ(e.Shadow().Alpha(), 70);
    EXPECT_EQ(e.Shadow().Color(), 4473924u);
    EXPECT_EQ(e.Shadow().OffsetX(), 2);
    EXPECT_EQ(e.Shadow().OffsetY(), 2);
    EXPECT_FALSE(e.Gradual().Enabled());
    EXPECT_EQ(e.Gradual().Style(), TAAGradual::gsLeftToRight);
    EXPECT_EQ(e.Gradual().StartColor(), clWhite);
    EXPECT_EQ(e.Gradual().EndColor(), clBlack);
    EXPECT_FALSE(e.Texture().Enabled());
    EXPECT_EQ(e.Texture().Mode(), tmTiled);
}

TEST(AAEffect, OnlyRealChangesThatShowAreReported) {
    int calls = 0;
    TAAEffect e([&](TNotifyClass&) { ++calls; });
    e.SetAlpha(100);
    e.SetBlur(0);
    EXPECT_EQ(calls, 0);
    e.SetAlpha(80);
    EXPECT_EQ(calls, 1);
    e.Shadow().SetBlur(10);  // the shadow is off: nothing shows
    EXPECT_EQ(calls, 1);
    e.Shadow().SetEnabled(true);
    EXPECT_EQ(calls, 2);
    e.Shadow().SetBlur(20);
    e.Shadow().SetBlur(20);
    EXPECT_EQ(calls, 3);
    e.Shadow().SetEnabled(false);
    EXPECT_EQ(calls, 4);
    e.Texture().SetEnabled(true);
    e.Texture().Picture().SetBitmap(TBitmap(2, 2));
    EXPECT_EQ(calls, 6);

    TAAEffect same;
    same.Assign(e);
    calls = 0;
    e.Assign(same);
    EXPECT_EQ(calls, 0);
    same.SetNoise(9);
    e.Assign(same);
    EXPECT_EQ(calls, 1);  // one report for the whole copy
}

TEST(AAEffect, AssignCopiesEverythingAndRefusesOtherKinds) {
    TAAEffect a, b;
    a.Shadow().SetAlpha(90);
    a.Shadow().SetEnabled(true);
    a.Gradual().SetStyle(TAAGradual::gsCenterToTB);
    a.Texture().Picture().SetBitmap(TBitmap(3, 1));
    a.SetAngle(-45);
    a.SetSpray(3);
    b.Assign(a);
    EXPECT_EQ(b.Shadow().Alpha(), 90);
    EXPECT_TRUE(b.Shadow().Enabled());
    EXPECT_EQ(b.Gradual().Style(), TAAGradual::gsCenterToTB);
    EXPECT_EQ(b.Texture().Picture().Width(), 3);
    EXPECT_TRUE(b == a);

    TAAShadow shadow;
    try {
        shadow.Assign(a.Gradual());
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TAAGradual to a TAAShadow");
    }
    shadow.Assign(a.Shadow());
    EXPECT_EQ(shadow.Alpha(), 90);
}

TEST(AAEffect, IniRoundTripKeepsDefaultsAndHoldsRanges) {
    TAAEffect e;
    e.SetAlpha(80);
    e.SetOutline(true);
    e.Shadow().SetEnabled(true);
    e.Shadow().SetColor(clWindowText);
    e.Shadow().SetOffsetX(-3);
    e.Gradual().SetStyle(TAAGradual::gsBottomToTop);
    e.Texture().SetMode(tmNormal);
    TSettingsFile ini;
    e.SaveToIni(ini, "Title");
    EXPECT_EQ(ini.ReadInteger("Title", "Alpha", 0), 80);
    EXPECT_TRUE(ini.ReadBool("Title", "Shadow", false));

    int calls = 0;
    TAAEffect loaded([&](TNotifyClass&) { ++calls; });
    loaded.LoadFromIni(ini, "Title");
    EXPECT_TRUE(loaded == e);
    EXPECT_EQ(calls, 0);

    TSettingsFile bad;
    bad.SetText(
        "[x]\nAlpha=500\nBlur=-4\nGradualStyle=9\nTextureMode=7\nShadowOffsetY=99\nNoise=abc\n");
    loaded.LoadFromIni(bad, "x");
    EXPECT_EQ(loaded.Alpha(), 100);
    EXPECT_EQ(loaded.Blur(), 0);
    EXPECT_EQ(loaded.Gradual().Style(), TAAGradual::gsLeftToRight);
    EXPECT_EQ(loaded.Texture().Mode(), tmTiled);
    EXPECT_EQ(loaded.Shadow().OffsetY(), 20);
    EXPECT_EQ(loaded.Noise(), 0);              // unreadable: the current value stays
    EXPECT_EQ(loaded.Shadow().OffsetX(), -3);  // missing: the current value stays
}

std::vector<TColor> Row(const TBitmap& b, int y) {
    std::vector<TColor> row;
    for (int x = 0; x < b.Width(); ++x)
        row.push_back(b.Pixel(x, y));
    return row;
}

TColor Gray(int v) {
    return RGB(v, v, v);
}

TEST(ForePictures, GradientRampsNeverReachTheLastColour) {
    TAAGradual g;
    TBitmap p;
    g.SetStyle(TAAGradual::gsCenterToLR);
    BuildGradient(p, 5, 2, g);
    const std::vector<TColor> centre{Gray(0), Gray(85), Gray(170), Gray(85), Gray(0)};
    EXPECT_EQ(Row(p, 0), centre);
    EXPECT_EQ(Row(p, 1), centre);

    g.SetStyle(TAAGradual::gsLeftToRight);
    BuildGradient(p, 4, 1, g);
    EXPECT_EQ(Row(p, 0), (std::vector<TColor>{Gray(255), Gray(192), Gray(128), Gray(64)}));
    g.SetStyle(TAAGradual::gsRightToLeft);
    BuildGradient(p, 4, 1, g);
    EXPECT_EQ(Row(p, 0), (std::vector<TColor>{Gray(0), Gray(63), Gray(127), Gray(191)}));

    g.SetStyle(TAAGradual::gsTopToBottom);
    g.SetStartColor(RGB(200, 0, 10));
    g.SetEndColor(RGB(0, 100, 10));
    BuildGradient(p, 2, 3, g);
    EXPECT_EQ(Row(p, 0), (std::vector<TColor>{RGB(200, 0, 10), RGB(200, 0, 10)}));
    EXPECT_EQ(Row(p, 1), (std::vector<TColor>{RGB(134, 33, 10), RGB(134, 33, 10)}));
    EXPECT_EQ(p.Pixel(0, 2), RGB(67, 66, 10));

    g.SetStyle(TAAGradual::gsCenterToTB);  // height 4: two steps, mirrored
    BuildGradient(p, 1, 4, g);
    EXPECT_EQ(p.Pixel(0, 0), RGB(0, 100, 10));
    EXPECT_EQ(p.Pixel(0, 1), RGB(100, 50, 10));
    EXPECT_EQ(p.Pixel(0, 2), RGB(100, 50, 10));
    EXPECT_EQ(p.Pixel(0, 3), RGB(0, 100, 10));
    BuildGradient(p, 0, 0, g);
    EXPECT_TRUE(p.Empty());
}

TEST(ForePictures, NoiseStaysWithinItsAmplitude) {
    RandSeed(3);
    TBitmap p;
    BuildNoise(p, 4, 3, RGB(100, 0, 255), 1);  // random(0..0) - 0: no change
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(Row(p, y), std::vector<TColor>(4, RGB(100, 0, 255)));
    BuildNoise(p, 50, 4, RGB(100, 0, 255), 20);
    bool varied = false;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 50; ++x) {
            const TColor c = p.Pixel(x, y);
            EXPECT_GE(GetRValue(c), 90);
            EXPECT_LE(GetRValue(c), 109);
            EXPECT_LE(GetGValue(c), 9);
            EXPECT_GE(GetBValue(c), 245);
            varied |= GetRValue(c) != 100;
        }
    EXPECT_TRUE(varied);
    TBitmap flat(3, 1);
    AddNoise(flat, 1);
    EXPECT_EQ(Row(flat, 0), std::vector<TColor>(3, clBlack));
}

TEST(ForePictures, TexturesArePlacedByMode) {
    TAATexture t;
    TBitmap tile(2, 1);
    tile.SetPixel(0, 0, clRed);
    tile.SetPixel(1, 0, clLime);
    t.Picture().SetBitmap(tile);
    TBitmap p;
    t.SetMode(tmNormal);
    BuildTexture(p, 5, 2, clBlue, t);
    EXPECT_EQ(Row(p, 0), (std::vector<TColor>{clRed, clLime, clBlue, clBlue, clBlue}));
    EXPECT_EQ(Row(p, 1), std::vector<TColor>(5, clBlue));
    t.SetMode(tmCenter);
    BuildTexture(p, 5, 3, clBlue, t);
    EXPECT_EQ(Row(p, 1), (std::vector<TColor>{clBlue, clRed, clLime, clBlue, clBlue}));
    t.SetMode(tmTiled);
    BuildTexture(p, 5, 2, clBlue, t);
    EXPECT_EQ(Row(p, 1), (std::vector<TColor>{clRed, clLime, clRed, clLime, clRed}));
    t.SetMode(tmStretched);
    BuildTexture(p, 4, 1, clBlue, t);
    EXPECT_EQ(Row(p, 0), (std::vector<TColor>{clRed, clRed, clLime, clLime}));
}

}  // namespace
}  // namespace pelwick
