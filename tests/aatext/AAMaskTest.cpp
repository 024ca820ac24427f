#include <gtest/gtest.h>

#include "AATestSupport.h"
#include "aatext/AAGlyphs.h"
#include "app/Process.h"
#include "gfx/Simd.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::MaskValues;
using test::SetMask;
using test::TBlockScene;

// A mask one row high whose pixel k comes from a block with k lit samples (row by row).
std::vector<int> LevelRow(TAAQuality quality, TPixelFormat format) {
    TBlockScene scene(10, 10);
    scene.Glyphs.SetQuality(quality);
    scene.Rasterizer->Format = format;
    const int s = ScaleOf(quality), blocks = s * s + 1;
    scene.Rasterizer->Extent = [&](const TFont&, const std::string&) {
        return TSize{blocks * s, s};
    };
    scene.Rasterizer->Paint = [&](TBitmap& surface, int, int) {
        for (int k = 0; k < blocks; ++k)
            for (int i = 0; i < k; ++i)
                surface.ScanLine(i / s)[(k * s + i % s) * TBitmap::BytesPerPixel(format)] = 255;
    };
    scene.Glyphs.Mask().DrawText("x");
    return MaskValues(scene.Glyphs.Mask());
}

// Every reduction, on 8-bit surfaces and on 32-bit ones (where the vector version of each
// instruction set the machine has runs too).
TEST(AAMask, ZeroOr255RasterGivesTheLevelTablesOfEachQuality) {
    std::vector<int> high;
    for (int k = 0; k <= 16; ++k)
        high.push_back(k * 255 / 16);
    EXPECT_EQ(high[1], 15);
    EXPECT_EQ(high[2], 31);
    for (const TSimdLevel level : SupportedSimdLevels()) {
        test::TSimdScope simd(level);
        for (const TPixelFormat format : {pf8bit, pf32bit}) {
            SCOPED_TRACE(std::string(SimdLevelName(level)) + (format == pf8bit ? " 8" : " 32"));
            EXPECT_EQ(LevelRow(aqHigh, format), high);
            EXPECT_EQ(LevelRow(aqLow, format), (std::vector<int>{0, 63, 127, 191, 255}));
            EXPECT_EQ(LevelRow(aqNone, format), (std::vector<int>{0, 255}));
            // Normal: samples lit row by row, so the top-right corner (the third) counts half.
            EXPECT_EQ(LevelRow(aqNormal, format),
                      (std::vector<int>{0, 31, 63, 79, 111, 143, 175, 191, 223, 255}));
        }
    }
}

// Grey coverage in the first byte of 32-bit pixels, noise in the other three: each output
// pixel is the sum of its 16 samples divided by 16, whichever version sums them.
TEST(AAMask, HighQualityOfThirtyTwoBitSamplesMatchesTheSlowSum) {
    constexpr int Pixels = 37;  // odd, so that vector and tail code both run
    std::vector<int> coverage(4 * 4 * Pixels);
    std::uint32_t seed = 12345;
    for (int& c : coverage) {
        seed = seed * 1664525u + 1013904223u;
        c = int(seed >> 24);
    }
    std::vector<int> expected(Pixels);
    for (int x = 0; x < Pixels; ++x) {
        int sum = 0;
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                sum += coverage[row * 4 * Pixels + 4 * x + k];
        expected[x] = sum >> 4;
    }
    for (const TSimdLevel level : SupportedSimdLevels()) {
        test::TSimdScope simd(level);
        TBlockScene scene(10, 10);
        scene.Glyphs.SetQuality(aqHigh);
        scene.Rasterizer->Format = pf32bit;
        scene.Rasterizer->Extent = [](const TFont&, const std::string&) {
            return TSize{4 * Pixels, 4};
        };
        scene.Rasterizer->Paint = [&](TBitmap& surface, int, int) {
            for (int row = 0; row < 4; ++row)
                for (int i = 0; i < 4 * Pixels; ++i) {
                    std::uint8_t* p = surface.ScanLine(row) + 4 * i;
                    p[0] = std::uint8_t(coverage[row * 4 * Pixels + i]);
                    p[1] = p[2] = p[3] = std::uint8_t(0xA5 ^ i);
                }
        };
        scene.Glyphs.Mask().DrawText("x");
        EXPECT_EQ(MaskValues(scene.Glyphs.Mask()), expected) << SimdLevelName(level);
    }
}

TEST(AAMask, NormalQualityCountsTwoCornersHalf) {
    for (int lit = 0; lit < 9; ++lit) {
        TBlockScene scene(10, 10);
        scene.Glyphs.SetQuality(aqNormal);
        scene.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{3, 3}; };
        scene.Rasterizer->Paint = [&](TBitmap& surface, int, int) {
            surface.ScanLine(lit / 3)[lit % 3] = 255;
        };
        scene.Glyphs.Mask().DrawText("x");
        const bool halfCorner = lit == 2 || lit == 6;  // top-right, bottom-left
        EXPECT_EQ(scene.Glyphs.Mask().ScanLine(0)[0], halfCorner ? 15 : 31) << "sample " << lit;
    }
}

TEST(AAMask, StrideRowsAndBadLines) {
    TAAMask mask;
    EXPECT_EQ(mask.Quality(), aqNormal);
    EXPECT_EQ(mask.Scale(), 3);
    mask.SetSize(5, 3);
    EXPECT_EQ(mask.Stride(), 8);
    EXPECT_EQ(mask.Data().size(), 24u);
    mask.SetSize(8, 1);
    EXPECT_EQ(mask.Stride(), 8);
    mask.SetSize(1, 2);
    EXPECT_EQ(mask.Stride(), 4);
    // Rows are stored bottom-up: row 0 is the last in the buffer.
    mask.ScanLine(0)[0] = 7;
    EXPECT_EQ(mask.Data()[4], 7);
    for (int row : {-1, 2, 1 << 30}) {
        try {
            mask.ScanLine(row);
            ADD_FAILURE() << "row " << row;
        } catch (const EInvalidLine& e) {
            EXPECT_STREQ(e.what(), "Invalid line!");
        }
    }
    mask.SetSize(0, 0);
    EXPECT_THROW(mask.ScanLine(0), EInvalidLine);
}

TEST(AAMask, ExtentIsTheEnlargedExtentDividedUpward) {
    TBlockScene scene(10, 10);
    scene.Glyphs.SetQuality(aqHigh);
    TSize raw{101, 33};
    scene.Rasterizer->Extent = [&](const TFont& font, const std::string&) {
        EXPECT_EQ(font.Height, -32);  // -8 enlarged four times
        return raw;
    };
    EXPECT_EQ(scene.Glyphs.TextExtent("abc"), (TSize{26, 9}));
    raw = TSize{0, 0};
    EXPECT_EQ(scene.Glyphs.TextExtent(""), (TSize{0, 0}));

    scene.Image.Canvas().Font.Height = 0;  // a size in points is enlarged instead
    scene.Image.Canvas().Font.Size = 9;
    scene.Rasterizer->Extent = [](const TFont& font, const std::string&) {
        EXPECT_EQ(font.Height, 0);
        EXPECT_EQ(font.Size, 36);
        return TSize{8, 8};
    };
    EXPECT_EQ(scene.Glyphs.TextExtent("a"), (TSize{2, 2}));
}

TEST(AAMask, ItalicWidensByCharactersNotBytes) {
    TBlockScene scene(10, 10);
    scene.Image.Canvas().Font.Italic = true;
    scene.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{100, 10}; };
    EXPECT_EQ(scene.Glyphs.TextWidth("abcdefghij"), 103);
    // Ten two-byte characters are ten characters.
    EXPECT_EQ(scene.Glyphs.TextWidth("äöüäöüäöüß"), 103);
    EXPECT_EQ(scene.Glyphs.TextWidth(""), 100);
    scene.Image.Canvas().Font.Italic = false;
    EXPECT_EQ(scene.Glyphs.TextWidth("abcdefghij"), 100);
}

TEST(AAMask, TurnedTextGetsTheBoxAroundItAndAStartInside) {
    TBlockScene scene(10, 10);
    scene.Rasterizer->Extent = [](const TFont&, const std::string&) { return TSize{20, 10}; };
    TAAMask& mask = scene.Glyphs.Mask();
    scene.Image.Canvas().Font.Escapement = 900;  // a quarter turn: it reads bottom to top
    EXPECT_EQ(mask.TextExtent("x"), (TSize{10, 20}));
    EXPECT_EQ(mask.RotationOffset(), (TPoint{0, 20}));
    mask.DrawText("x");
    EXPECT_EQ(scene.Rasterizer->LastOrigin, (TPoint{0, 20}));
    EXPECT_EQ(scene.Rasterizer->LastFont.Escapement, 900);
    for (int e : {3600, -3600}) {  // a whole turn in either direction is straight text
        scene.Image.Canvas().Font.Escapement = e;
        EXPECT_EQ(mask.TextExtent("x"), (TSize{20, 10}));
        EXPECT_EQ(mask.RotationOffset(), (TPoint{0, 0}));
    }
    scene.Image.Canvas().Font.Escapement = 1800;  // upside down: it starts at the right
    EXPECT_EQ(mask.TextExtent("x"), (TSize{20, 10}));
    EXPECT_EQ(mask.RotationOffset(), (TPoint{20, 10}));
}

TEST(AAMask, WithoutCanvasNothingIsMeasuredOrDrawn) {
    TAAGlyphsEx glyphs(nullptr);
    EXPECT_EQ(glyphs.TextExtent("abc"), (TSize{0, 0}));
    glyphs.Mask().SetSize(2, 2);
    glyphs.Mask().DrawText("abc");
    EXPECT_EQ(glyphs.Mask().Width(), 2);
    glyphs.TextOutput(0, 0, "abc");  // no canvas, no failure
}

TEST(AAMask, DrawTextTakesTheExtentAndAssignCopiesEverything) {
    TBlockScene scene(10, 10);
    scene.Glyphs.SetQuality(aqLow);
    scene.Image.Canvas().Font.Height = -4;  // 8 x 8 enlarged: 4 x 4 enlarged pixels a cell
    TAAMask& mask = scene.Glyphs.Mask();
    mask.DrawText("a b");
    EXPECT_EQ(mask.Width(), 6);
    EXPECT_EQ(mask.Height(), 4);
    EXPECT_EQ(mask.Stride(), 8);
    EXPECT_EQ(MaskValues(mask),
              (std::vector<int>{255, 255, 0, 0, 255, 255, 255, 255, 0, 0, 255, 255,
                                255, 255, 0, 0, 255, 255, 255, 255, 0, 0, 255, 255}));
    TAAMask copy;
    copy.Assign(mask);
    EXPECT_EQ(copy.Quality(), aqLow);
    EXPECT_EQ(copy.Scale(), 2);
    EXPECT_EQ(copy.Stride(), 8);
    EXPECT_EQ(copy.Data(), mask.Data());
    // An empty string leaves an empty mask.
    mask.DrawText("");
    EXPECT_EQ(mask.Width(), 0);
    EXPECT_EQ(mask.Height(), 4);
}

// A part of a line is exactly those columns of the whole line, with its place in the line.
TEST(AAMask, AVisibleSpanKeepsThoseColumnsOfTheWholeLine) {
    TBlockScene scene(10, 10);
    scene.Glyphs.SetQuality(aqLow);
    scene.Image.Canvas().Font.Height = -4;
    TAAMask& mask = scene.Glyphs.Mask();
    const std::string text = "ab cd  e f";
    mask.DrawText(text);
    TAAMask whole;
    whole.Assign(mask);
    ASSERT_EQ(whole.Width(), 20);
    const struct {
        int left, right, keptLeft, keptWidth;
    } rows[] = {{3, 9, 3, 6}, {-5, 4, 0, 4}, {7, 1000, 7, 13}, {40, 50, 20, 0}, {5, 5, 5, 0}};
    for (const auto& row : rows) {
        mask.DrawText(text, row.left, row.right);
        ASSERT_EQ(mask.Width(), row.keptWidth) << row.left;
        EXPECT_EQ(mask.Left(), row.keptLeft) << row.left;
        EXPECT_EQ(mask.FullWidth(), 20) << row.left;
        for (int y = 0; y < mask.Height(); ++y)
            for (int x = 0; x < mask.Width(); ++x)
                ASSERT_EQ(mask.ScanLine(y)[x], whole.ScanLine(y)[x + row.keptLeft])
                    << row.left << ": " << x << "," << y;
    }
}

// A block rasteriser that says its drawings may be reused.
class TRepeatableBlocks : public test::TBlockRasterizer {
  public:
    bool Repeatable() const override { return true; }
};

TEST(AAMask, RepeatableDrawingsAreReusedUntilTheRasteriserChanges) {
    TBlockScene scene(10, 10);
    auto repeatable = std::make_shared<TRepeatableBlocks>();
    scene.Glyphs.SetRasterizer(repeatable);
    TAAMask& mask = scene.Glyphs.Mask();
    mask.DrawText("a b");
    const std::vector<int> first = MaskValues(mask);
    mask.DrawText("ab");
    mask.DrawText("a b");
    EXPECT_EQ(repeatable->Draws, 2);
    EXPECT_EQ(MaskValues(mask), first);
    mask.Blur(100);  // effects work on the mask, not on the kept drawing
    mask.DrawText("a b");
    EXPECT_EQ(MaskValues(mask), first);
    scene.Image.Canvas().Font.Bold = true;  // another font is another drawing
    mask.DrawText("a b");
    scene.Glyphs.SetQuality(aqLow);
    mask.DrawText("a b");
    EXPECT_EQ(repeatable->Draws, 4);
    auto other = std::make_shared<TRepeatableBlocks>();
    scene.Glyphs.SetRasterizer(other);
    mask.DrawText("a b");
    EXPECT_EQ(other->Draws, 1);  // another rasteriser's drawings are its own
    // A rasteriser that does not promise the same result draws every time.
    TBlockScene plain(10, 10);
    plain.Glyphs.Mask().DrawText("a");
    plain.Glyphs.Mask().DrawText("a");
    EXPECT_EQ(plain.Rasterizer->Draws, 2);
}

TEST(AAMaskEffects, BlurMixesWithTheClampedFiveByFiveAverage) {
    TAAMask mask;
    std::vector<int> lone(81, 0);
    lone[40] = 255;
    SetMask(mask, 9, 9, lone);
    mask.Blur(100);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 2 && x <= 6 && y >= 2 && y <= 6;
            EXPECT_EQ(mask.ScanLine(y)[x], inside ? 10 : 0) << x << "," << y;
        }

    SetMask(mask, 9, 9, lone);
    mask.Blur(50);  // K = 128: halfway, rounded toward minus infinity
    EXPECT_EQ(mask.ScanLine(4)[4], 132);
    EXPECT_EQ(mask.ScanLine(2)[2], 5);

    SetMask(mask, 9, 9, lone);
    mask.Blur(1);  // K = 3
    EXPECT_EQ(mask.ScanLine(4)[4], 252);
    EXPECT_EQ(mask.ScanLine(3)[3], 0);

    // Short axes repeat their edge pixels.
    SetMask(mask, 2, 1, {0, 255});
    mask.Blur(100);
    EXPECT_EQ(MaskValues(mask), (std::vector<int>{102, 153}));
    SetMask(mask, 1, 1, {200});
    mask.Blur(100);
    EXPECT_EQ(MaskValues(mask), (std::vector<int>{200}));
    mask.SetSize(0, 3);
    mask.Blur(100);  // nothing to do, no failure
}

TEST(AAMaskEffects, OutlineKeepsEdgesAndBorders) {
    TAAMask mask;
    SetMask(mask, 4, 3, {255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0});
    mask.Outline();
    // Both interior pixels: 0 + 255 + 255 + 255 = 765, a quarter of which is 191.
    EXPECT_EQ(MaskValues(mask),
              (std::vector<int>{255, 255, 0, 0, 255, 191, 191, 0, 255, 255, 0, 0}));
    SetMask(mask, 3, 3, std::vector<int>(9, 255));
    mask.Outline();
    EXPECT_EQ(mask.ScanLine(1)[1], 0);  // a glyph's inside empties
    EXPECT_EQ(mask.ScanLine(0)[1], 255);
    SetMask(mask, 2, 5, std::vector<int>(10, 90));  // too narrow: unchanged
    mask.Outline();
    EXPECT_EQ(MaskValues(mask), std::vector<int>(10, 90));
}

TEST(AAMaskEffects, SprayOnlyMovesValuesAndMirrorsReverse) {
    RandSeed(7);
    TAAMask mask;
    std::vector<int> values;
    for (int i = 0; i < 12 * 5; ++i)
        values.push_back(i % 3 == 0 ? 255 : i % 3 == 1 ? 40 : 0);
    SetMask(mask, 12, 5, values);
    mask.Spray(100);
    for (int v : MaskValues(mask))
        EXPECT_TRUE(v == 255 || v == 40 || v == 0) << v;
    SetMask(mask, 3, 2, std::vector<int>(6, 77));
    mask.Spray(100);  // a uniform mask stays as it is
    EXPECT_EQ(MaskValues(mask), std::vector<int>(6, 77));
    SetMask(mask, 3, 2, {1, 2, 3, 4, 5, 6});
    mask.Spray(0);
    EXPECT_EQ(MaskValues(mask), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    mask.HorzMirror();
    EXPECT_EQ(MaskValues(mask), (std::vector<int>{3, 2, 1, 6, 5, 4}));
    mask.VertMirror();
    EXPECT_EQ(MaskValues(mask), (std::vector<int>{6, 5, 4, 3, 2, 1}));
    SetMask(mask, 1, 3, {1, 2, 3});
    mask.VertMirror();
    EXPECT_EQ(MaskValues(mask), (std::vector<int>{3, 2, 1}));
}

}  // namespace
}  // namespace pelwick
