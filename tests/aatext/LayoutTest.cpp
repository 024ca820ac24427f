#include <gtest/gtest.h>

#include "AATestSupport.h"
#include "aatext/TextLayout.h"

namespace pelwick {
namespace {

using test::TBlockScene;

// A text control's parts on a block rasteriser: characters are 4 x 8 pixels in the text font
// (height -8), labels give other heights.
struct TLayoutScene {
    TLayoutScene() : Scene(100, 100) {
        TextFont.Height = -8;
        TextFont.Color = clWhite;
        Params.SetRowPitch(0);
        Labels.AddStandardLabels();
    }
    TFontLabel& AddFont(const std::string& name, int height) {
        TFontLabel& label = Fonts.Add();
        label.SetName(name);
        TFont font = TextFont;
        font.Height = height;
        label.SetFont(font);
        return label;
    }
    std::vector<TLayoutRow> Layout(std::vector<std::string> lines, int width = 100,
                                   bool draw = false) {
        Params.Lines().Assign(std::move(lines));
        std::vector<TLayoutRow> rows;
        Bottom = LayoutLines(Scene.Glyphs, TextFont, Params, Fonts, Labels,
                             TLayoutArea{2, width, 100, 5}, draw, &rows);
        return rows;
    }
    TBlockScene Scene;
    TFont TextFont;
    TCustomTextParam Params;
    TFontLabels Fonts;
    TUserLabels Labels;
    int Bottom = 0;
};

TEST(Layout, RowsStepByThePitchOfTheirHeight) {
    TLayoutScene s;
    s.AddFont("line", -3);
    s.Params.SetRowPitch(50);
    auto rows = s.Layout({"<line>", "ab", ""});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Text, " ");  // an empty text is one blank row of its font's height
    EXPECT_EQ(rows[0].Bounds, (TRect{2, 5, 3, 8}));
    EXPECT_EQ(rows[1].Bounds.Top, 5 + 4);                      // Round(1.5 x 3) = 4, ties to even
    EXPECT_EQ(rows[1].Bounds.Bottom - rows[1].Bounds.Top, 3);  // the spacer's font stays
    EXPECT_EQ(rows[2].Bounds.Top, 9 + 4);
    EXPECT_EQ(s.Bottom, 13 + 4);

    s.Params.SetRowPitch(-100);  // every row at the same height
    rows = s.Layout({"a", "<line>b", "c"});
    for (const TLayoutRow& row : rows)
        EXPECT_EQ(row.Bounds.Top, 5);
    s.Params.SetRowPitch(-500);
    EXPECT_EQ(s.Params.RowPitch(), -100);
    s.Params.SetRowPitch(400);
    EXPECT_EQ(s.Params.RowPitch(), 150);
}

TEST(Layout, LabelEffectDecidesHowLongATagLasts) {
    TLayoutScene s;
    s.AddFont("Big", -16);
    auto rows = s.Layout({"<Big>a", "b"});
    EXPECT_EQ(rows[1].Bounds.Bottom - rows[1].Bounds.Top, 16);  // until the next label
    s.Params.SetLabelEffect(TCustomTextParam::leOnlyALine);
    rows = s.Layout({"<Big>a", "b"});
    EXPECT_EQ(rows[1].Bounds.Bottom - rows[1].Bounds.Top, 8);  // back to the text font
    EXPECT_EQ(s.Scene.Image.Canvas().Font.Height, -8);

    s.Params.SetLabelEffect(TCustomTextParam::leUntilNextLabel);
    rows = s.Layout({"<Big><Center>ab", "cd", "<Left>e", "<right>f"});
    EXPECT_EQ(rows[0].Bounds.Left, (100 - 16) / 2);
    EXPECT_EQ(rows[0].Text, "ab");
    EXPECT_EQ(rows[1].Bounds.Left, (100 - 16) / 2);
    EXPECT_EQ(rows[2].Bounds.Left, 2);
    EXPECT_EQ(rows[3].Bounds.Left, 2 + 100 - 8);
    s.Params.SetLabelEffect(TCustomTextParam::leOnlyALine);
    rows = s.Layout({"<Center>ab", "cd"});
    EXPECT_EQ(rows[0].Bounds.Left, (100 - 8) / 2);
    EXPECT_EQ(rows[1].Bounds.Left, 2);
}

TEST(Layout, ShadowEffectsWidenRowsAndDrawingMatchesMeasuring) {
    TLayoutScene s;
    s.Params.FontEffect().Shadow().SetEnabled(true);
    s.Params.FontEffect().Shadow().SetOffsetX(3);
    s.Params.FontEffect().Shadow().SetOffsetY(1);
    auto rows = s.Layout({"ab"}, 100, true);
    EXPECT_EQ(rows[0].Bounds, (TRect{2, 5, 2 + 8 + 3, 5 + 8 + 1}));
    EXPECT_EQ(s.Scene.Image.Pixel(2, 5), clWhite);
    EXPECT_EQ(s.Scene.Image.Pixel(9, 12), clWhite);
    EXPECT_EQ(s.Scene.Image.Pixel(12, 5), clBlack);
}

TEST(Layout, WordWrapBreaksTooWideLinesIntoRows) {
    TLayoutScene s;
    s.Params.SetWordWrap(true);
    // 40 pixels take 10 characters.
    auto rows = s.Layout({"one two three four five"}, 40);
    std::vector<std::string> texts;
    for (const TLayoutRow& row : rows)
        texts.push_back(row.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"one two ", "three ", "four five"}));
    EXPECT_EQ(rows[1].Bounds.Top, 5 + 8);
    rows = s.Layout({"short"}, 40);
    EXPECT_EQ(rows.size(), 1u);
}

TEST(WrapText, BreaksAfterBreakCharactersAndKeepsQuotations) {
    using V = std::vector<std::string>;
    EXPECT_EQ(WrapText("aaa bbb ccc", 4), (V{"aaa ", "bbb ", "ccc"}));
    EXPECT_EQ(WrapText("aaa   bbb", 4), (V{"aaa ", "bbb"}));  // blanks after a break go
    EXPECT_EQ(WrapText("well-known,fact", 6), (V{"well-", "known,", "fact"}));
    EXPECT_EQ(WrapText("longword x", 3), (V{"longword ", "x"}));    // a word stays whole
    EXPECT_EQ(WrapText("a b c d", 0), (V{"a ", "b ", "c ", "d"}));  // at least 2
    EXPECT_EQ(WrapText("ab\r\n\r\ncd", 40), (V{"ab", "cd"}));
    EXPECT_EQ(WrapText("say \"a b c d\" now", 4), (V{"say ", "\"a b c d\" ", "now"}));
    // An apostrophe is not a quotation, nor is a quote mark never closed.
    EXPECT_EQ(WrapText("don't stop me", 6), (V{"don't ", "stop ", "me"}));
    EXPECT_EQ(WrapText("\"open end here", 6), (V{"\"open ", "end ", "here"}));
}

TEST(WrapText, NeverSplitsCharactersAndBreaksWideScripts) {
    using V = std::vector<std::string>;
    EXPECT_EQ(WrapText("äöü äöü", 4), (V{"äöü ", "äöü"}));
    EXPECT_EQ(WrapText("日本語のテキスト", 3), (V{"日本語", "のテキ", "スト"}));
    EXPECT_EQ(WrapText("ok 日本語", 4), (V{"ok 日", "本語"}));
    for (const std::string& row : WrapText(std::string(50, 'x') + " " + "éééé ééé", 5))
        EXPECT_TRUE(row.empty() || (static_cast<unsigned char>(row[0]) & 0xC0) != 0x80) << row;
}

TEST(Layout, BackgroundIsColourAndPicturePlacedByMode) {
    TBitmap image(4, 3);
    TCustomParam params;
    TBitmap picture(2, 1);
    picture.SetPixel(0, 0, clRed);
    picture.SetPixel(1, 0, clLime);
    params.BackGround().SetBitmap(picture);
    PaintBackground(image, params, clBlue);  // centred by default
    EXPECT_EQ(image.Pixel(0, 1), clBlue);
    EXPECT_EQ(image.Pixel(1, 1), clRed);
    EXPECT_EQ(image.Pixel(2, 1), clLime);
    EXPECT_EQ(image.Canvas().Brush.Style, TBrush::bsClear);
    params.SetBackGroundMode(TCustomParam::bmTiled);
    PaintBackground(image, params, clBlue);
    EXPECT_EQ(image.Pixel(3, 2), clLime);
    params.SetTransparent(true);
    PaintBackground(image, params, clBlue, [](TBitmap& behind) { behind.SetPixel(0, 0, clAqua); });
    EXPECT_EQ(image.Pixel(0, 0), clAqua);
    EXPECT_EQ(image.Pixel(3, 2), clLime);  // what was there stays: it lies behind
}

}  // namespace
}  // namespace pelwick
