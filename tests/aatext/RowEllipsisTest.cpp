#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>

#include "AATestSupport.h"
#include "aatext/HeadlineStyle.h"
#include "aatext/RowEllipsis.h"
#include "aatext/TextLayout.h"
#include "app/Files.h"

namespace pelwick {
namespace {

using test::TBlockScene;

// On the block rasteriser every character (code point), "…" too, is 4 pixels wide, so a
// width of 4 x n takes n characters.
TEST(RowEllipsis, RowsEndAtTheLastWholeWordThatFits) {
    struct TCase {
        const char* what;
        std::string text;
        int chars;
        std::string shown;
    };
    const TCase cases[] = {
        {"fits", "Short news", 10, "Short news"},
        {"latin", "The quick brown fox jumps", 10, "The quick…"},
        {"blank runs", "The   quick brown", 9, "The…"},
        {"no-break space", "Page\u00A0one of two", 10, "Page\u00A0one…"},
        {"cjk", "日本語のテキストです", 6, "日本語のテ…"},
        {"latin then cjk", "ok 日本語です", 5, "ok 日…"},
        {"arabic", "الأخبار العاجلة من المدينة", 17, "الأخبار العاجلة…"},
        {"one long word", "Donaudampfschifffahrt", 10, "Donaudamp…"},
        {"first word too long", "Donaudampfschifffahrt fährt", 10, "Donaudamp…"},
        {"next word too long", "4. Donaudampfschifffahrt", 10, "4. Donaud…"},
        {"combining mark kept", "abe\u0301cdefgh", 5, "abe\u0301…"},
        {"combining mark not split", "abe\u0301cdefgh", 4, "ab…"},
        {"outside the basic plane", "😀😀😀😀😀😀", 4, "😀😀😀…"},
        {"nothing fits", "Headline", 0, "…"},
    };
    for (const TCase& c : cases) {
        TBlockScene scene(10, 10);
        const std::string shown = EllipsizeRow(scene.Glyphs, c.text, 4 * c.chars);
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_TRUE(utf8::IsValid(shown)) << c.what;
        if (c.chars > 0) {
            EXPECT_LE(scene.Glyphs.TextWidth(shown), 4 * c.chars) << c.what;
        }
    }
}

TEST(RowEllipsis, WordsEndBeforeBlanksAndBesideWideCharacters) {
    using V = std::vector<std::size_t>;
    EXPECT_EQ(WordEnds("ab  cd e"), (V{2, 6}));
    EXPECT_EQ(WordEnds("日本語"), (V{3, 6}));
    EXPECT_EQ(WordEnds("x日y"), (V{1, 4}));
    EXPECT_EQ(WordEnds("word"), V{});
    // A mark stays with its base; an invalid byte is a character of its own.
    EXPECT_EQ(CharacterEnds("e\u0301x"), (V{3}));
    EXPECT_EQ(CharacterEnds("a\xFF"
                            "b"),
              (V{1, 2}));
    EXPECT_EQ(CharacterEnds("a"), V{});
}

// The panel's setting: rows wider than the area are cut, others are drawn as they are.
TEST(RowEllipsis, LayoutCutsOnlyWhenAskedAndOnlyTheDrawnRow) {
    TBlockScene scene(100, 40);
    TFont font;
    font.Height = -8;
    font.Color = clWhite;
    TCustomTextParam params;
    TFontLabels fonts;
    TUserLabels labels;
    params.Lines().Assign({"The quick brown fox jumps", "Short"});
    const TLayoutArea area{0, 40, 40, 0};
    std::vector<TLayoutRow> rows;
    LayoutLines(scene.Glyphs, font, params, fonts, labels, area, false, &rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Text, "The quick brown fox jumps");

    params.SetEndEllipsis(true);
    rows.clear();
    LayoutLines(scene.Glyphs, font, params, fonts, labels, area, true, &rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Text, "The quick…");
    EXPECT_EQ(rows[0].Bounds.Right, 40);
    EXPECT_EQ(rows[1].Text, "Short");
    // What is drawn is the cut row: ink up to the area's edge, none past it.
    EXPECT_EQ(scene.Image.Pixel(38, 2), clWhite);
    EXPECT_EQ(scene.Image.Pixel(44, 2), clBlack);
    EXPECT_EQ(params.Lines()[0], "The quick brown fox jumps");  // the line itself is kept
}

// The example's lines as the panel lays them out in the real fonts: long Latin, Japanese
// and Arabic headlines, a word longer than the panel, and lines that fit.
TEST(RowEllipsis, PanelHeadlinesInRealFontsEndInsideThePanel) {
    TStringList file;
    file.SetText(ReadFileBytes(PELWICK_AATEXT_DATA "long-headlines.txt"));
    THeadlineRenderer renderer;
    TBitmap measure(1, 1);
    renderer.Glyphs().SetCanvas(&measure.Canvas());
    renderer.Params().Lines().Assign(file.Strings());
    std::vector<TLayoutRow> rows;
    LayoutLines(renderer.Glyphs(), HeadlineTextFont(), renderer.Params(), renderer.Fonts(),
                renderer.Labels(), TLayoutArea{0, HeadlineTextWidth, HeadlineTextWidth, 0}, false,
                &rows);
    enum TEnd { Whole, AtWord, InWord };
    const TEnd ends[] = {AtWord, Whole, Whole, AtWord, InWord, AtWord, InWord, Whole};
    ASSERT_EQ(rows.size(), std::size(ends));
    const std::string ellipsis = RowEllipsis;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string& source = file[int(i)];
        const std::string text = source.substr(source.find('>') + 1);
        const std::string& shown = rows[i].Text;
        EXPECT_LE(rows[i].Bounds.Right, HeadlineTextWidth) << shown;
        if (ends[i] == Whole) {
            EXPECT_EQ(shown, text.empty() ? " " : text);
            continue;
        }
        ASSERT_TRUE(shown.ends_with(ellipsis)) << shown;
        const std::string kept = shown.substr(0, shown.size() - ellipsis.size());
        ASSERT_TRUE(text.starts_with(kept)) << shown;
        EXPECT_GT(kept.size(), 3u) << shown;  // more than the item's number
        EXPECT_EQ(text[kept.size()] == ' ', ends[i] == AtWord) << shown;
    }
}

// pelwick-text draws the panel's lines: the long ones end before its right edge.
TEST(RowEllipsis, TheTextToolEndsLongHeadlinesBeforeTheEdge) {
    const QString out = QString(PELWICK_AATEXT_OUT) + "/long-headlines.png";
    QProcess tool;
    tool.start(PELWICK_TEXT_TOOL,
               {QString(PELWICK_AATEXT_DATA) + "long-headlines.txt", "--out", out});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QImage image(out);
    ASSERT_EQ(image.width(), HeadlineTextWidth);
    int inkNearTheEdge = 0, inkAtTheEdge = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = HeadlineTextWidth - 40; x < HeadlineTextWidth - 10; ++x)
            inkNearTheEdge += qGray(image.pixel(x, y)) > 150;
        for (int x = HeadlineTextWidth - 4; x < HeadlineTextWidth; ++x)
            inkAtTheEdge += qGray(image.pixel(x, y)) > 40;
    }
    EXPECT_GT(inkNearTheEdge, 100);  // the long rows reach close to the edge...
    EXPECT_EQ(inkAtTheEdge, 0);      // ...and none is cut off by it
}

}  // namespace
}  // namespace pelwick
