// Text through the real font machinery. Glyph shapes depend on the installed fonts, so
// these tests check sizes and where ink is, never exact pixels.
#include <gtest/gtest.h>

#include <chrono>

#include <cstdlib>
#include <cstring>

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include "aatext/AAGlyphs.h"
#include "aatext/HeadlineStyle.h"
#include "aatext/TextLayout.h"
#include "gfx/Rounding.h"

namespace pelwick {
namespace {

struct TInk {
    int Pixels = 0;
    int Max = 0;
    TRect Box{1 << 30, 1 << 30, -1, -1};
};

TInk InkOf(const TAAMask& mask) {
    TInk ink;
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x) {
            const int v = mask.ScanLine(y)[x];
            if (v == 0) continue;
            ++ink.Pixels;
            ink.Max = std::max(ink.Max, v);
            ink.Box = TRect{std::min(ink.Box.Left, x), std::min(ink.Box.Top, y),
                            std::max(ink.Box.Right, x + 1), std::max(ink.Box.Bottom, y + 1)};
        }
    return ink;
}

struct TRealScene {
    TRealScene() : Image(600, 200), Glyphs(&Image.Canvas()) {
        Image.Canvas().Font.Name = "Verdana";
        Image.Canvas().Font.Height = -15;
        Image.Canvas().Font.Color = clWhite;
        Glyphs.SetQuality(aqHigh);
    }
    TBitmap Image;
    TAAGlyphsEx Glyphs;
};

TEST(RealFonts, MasksHoldInkWithinTheExtentAtEveryQuality) {
    TRealScene s;
    const TSize high = s.Glyphs.TextExtent("Headline");
    EXPECT_GE(high.Height, 15);
    EXPECT_LE(high.Height, 24);
    EXPECT_GE(high.Width, 40);
    for (TAAQuality q : {aqHigh, aqNormal, aqLow, aqNone}) {
        s.Glyphs.SetQuality(q);
        s.Glyphs.Mask().DrawText("Headline");
        const TAAMask& mask = s.Glyphs.Mask();
        EXPECT_NEAR(mask.Width(), high.Width, 3) << q;
        EXPECT_NEAR(mask.Height(), high.Height, 2) << q;
        const TInk ink = InkOf(mask);
        EXPECT_GT(ink.Pixels, 60) << q;
        EXPECT_GE(ink.Max, 200) << q;  // stems are solid
        EXPECT_LE(ink.Box.Left, 3) << q;
        EXPECT_GE(ink.Box.Right, mask.Width() - 3) << q;
    }
    s.Glyphs.SetQuality(aqHigh);
    s.Glyphs.Mask().DrawText("g");  // a descender reaches the bottom part of the cell
    EXPECT_GT(InkOf(s.Glyphs.Mask()).Box.Bottom, s.Glyphs.Mask().Height() * 3 / 4);
}

TEST(RealFonts, MissingFacesBadHeightsAndOtherScriptsStillDraw) {
    TRealScene s;
    for (const char* face : {"MS PGothic", "Small Fonts", "No Such Face 42", ""}) {
        s.Image.Canvas().Font.Name = face;
        s.Glyphs.Mask().DrawText("Abc");
        EXPECT_GT(InkOf(s.Glyphs.Mask()).Pixels, 10) << face;
    }
    s.Image.Canvas().Font.Height = 0;  // the point size instead
    EXPECT_GT(s.Glyphs.TextHeight("A"), 5);
    s.Image.Canvas().Font.Height = 20;  // a cell height
    EXPECT_NEAR(s.Glyphs.TextHeight("A"), 20, 1);
    s.Image.Canvas().Font.Height = -15;
    for (const char* text : {"Привет мир", "Καλημέρα", "日本語のニュース", "新闻"}) {
        s.Glyphs.Mask().DrawText(text);
        EXPECT_GT(InkOf(s.Glyphs.Mask()).Pixels, 30) << text;
    }
    // The machine has faces for these scripts, not just boxes for missing glyphs.
    for (auto system : {QFontDatabase::Cyrillic, QFontDatabase::Greek,
                        QFontDatabase::SimplifiedChinese, QFontDatabase::Japanese})
        EXPECT_FALSE(QFontDatabase::families(system).isEmpty()) << system;
}

TEST(RealFonts, ItalicTurnedAndHugeInputsBehave) {
    TRealScene s;
    const TSize plain = s.Glyphs.TextExtent("Headline");
    s.Image.Canvas().Font.Italic = true;
    const TSize italic = s.Glyphs.TextExtent("Headline");
    EXPECT_GT(italic.Width, plain.Width);
    s.Image.Canvas().Font.Italic = false;

    s.Glyphs.Effect().SetAngle(90);
    const TSize turned = s.Glyphs.TextExtent("Headline");
    // Corners are rounded from half sizes, so an odd side may come out one longer.
    EXPECT_NEAR(turned.Width, plain.Height, 1);
    EXPECT_NEAR(turned.Height, plain.Width, 1);
    s.Glyphs.TextOutput(10, 10, "Headline");
    const TInk ink = InkOf(s.Glyphs.Mask());
    EXPECT_GT(ink.Box.Bottom - ink.Box.Top, ink.Box.Right - ink.Box.Left);  // it stands
    for (int angle : {-360, 360}) {
        s.Glyphs.Effect().SetAngle(angle);
        EXPECT_NEAR(s.Glyphs.TextExtent("Headline").Width, plain.Width, 1);
        EXPECT_NEAR(s.Glyphs.TextExtent("Headline").Height, plain.Height, 1);
        s.Glyphs.TextOutput(0, 0, "Headline");
    }
    s.Glyphs.Effect().SetAngle(0);

    const std::string huge(10000, 'W');
    s.Glyphs.TextOutput(0, 50, huge);
    EXPECT_GT(s.Glyphs.Mask().FullWidth(), 10000);
    EXPECT_LT(s.Glyphs.Mask().Width(), 700);  // the image's 600 columns and a margin
    EXPECT_EQ(s.Image.Pixel(599, 199), clBlack);
    s.Glyphs.TextOutput(0, 0, "");
}

TEST(RealFonts, CoverageIsWhatQtDrawsOnAnEightBitSurface) {
    // The rasteriser draws on 32-bit surfaces for speed and keeps drawings for reuse; the
    // coverage must be what Qt draws on an 8-bit gray surface, first time and again. Glyphs
    // larger than Qt keeps are filled once at a sixteenth of a pixel of phase and kept: they
    // may differ from Qt's own fill of the line by a few levels.
    TRealScene s;
    for (const char* text : {"Headline, 1. ÄÖÜ", "Привет 日本", "Wg|"}) {
        for (int height : {-11, -19}) {
            for (int turn : {0, 30}) {
                s.Image.Canvas().Font.Height = height;
                s.Image.Canvas().Font.Escapement = turn * 10;
                s.Glyphs.Mask().DrawText(text);
                TBitmap big =
                    TBitmap(s.Glyphs.Mask().Width() * 4, s.Glyphs.Mask().Height() * 4, pf8bit);
                TFont font = s.Image.Canvas().Font;
                font.Height *= 4;
                QImage view = big.AsQImage();
                {
                    QPainter painter(&view);
                    painter.setPen(Qt::white);
                    painter.setFont(ToQFont(font));
                    const TPoint at = s.Glyphs.Mask().RotationOffset();
                    painter.translate(at.X * 4, at.Y * 4);
                    painter.rotate(-turn);
                    painter.drawText(QPoint(0, QFontMetrics(ToQFont(font)).ascent()),
                                     QString::fromUtf8(text));
                }
                const int tolerance = height == -19 && turn == 0 ? 4 : 0;
                for (int pass = 0; pass < 2; ++pass) {
                    const TAAMask& mask = s.Glyphs.Mask();
                    int differences = 0;
                    for (int y = 0; y < mask.Height(); ++y)
                        for (int x = 0; x < mask.Width(); ++x) {
                            unsigned sum = 0;
                            for (int k = 0; k < 16; ++k)
                                sum += big.ScanLine(4 * y + k / 4)[4 * x + k % 4];
                            const int d = std::abs(int(mask.ScanLine(y)[x]) - int(sum >> 4));
                            differences += d > tolerance;
                        }
                    EXPECT_EQ(differences, 0) << text << " " << height << " " << turn;
                    s.Glyphs.Mask().DrawText(text);  // again, from the kept drawing
                }
            }
        }
    }
}

TEST(RealFonts, HeadlinesLayOutInThePanelsFonts) {
    TBitmap image(HeadlineTextWidth, 400);
    TAAGlyphsEx glyphs(&image.Canvas());
    glyphs.SetQuality(aqHigh);
    TCustomTextParam params;
    SetHeadlineTextParams(params);
    params.SetWordWrap(true);
    TFontLabels fonts;
    AddHeadlineFontLabels(fonts);
    TUserLabels labels;
    labels.AddStandardLabels();
    std::string longTitle = "<text1>";
    for (int i = 0; i < 2000; ++i)
        longTitle += "Wörter ";
    params.Lines().Assign({"<Title1>Feed", "<Text2>Mon, 01 Jan 2024", "<line>", "<text1>1. One",
                           "<text3>2. Two", "", longTitle});
    std::vector<TLayoutRow> rows;
    const TLayoutArea area{0, HeadlineTextWidth, HeadlineTextWidth, 10};
    const int bottom =
        LayoutLines(glyphs, HeadlineTextFont(), params, fonts, labels, area, true, &rows);
    ASSERT_GT(rows.size(), 30u);
    const auto height = [](const TLayoutRow& r) { return r.Bounds.Bottom - r.Bounds.Top; };
    EXPECT_GT(height(rows[0]), height(rows[3]));  // the title is the largest
    EXPECT_LE(height(rows[2]), 6);                // the spacer is thin
    EXPECT_EQ(rows[4].Bounds.Top - rows[3].Bounds.Top, Round(1.5 * height(rows[3])));
    for (std::size_t i = 6; i < rows.size(); ++i)
        EXPECT_LE(rows[i].Bounds.Right, HeadlineTextWidth) << rows[i].Text;
    EXPECT_GT(bottom, rows.back().Bounds.Bottom);
    // The title's white ink shows where its row is.
    int bright = 0;
    for (int y = rows[0].Bounds.Top; y < rows[0].Bounds.Bottom; ++y)
        for (int x = 0; x < 60; ++x)
            bright += GetRValue(image.Pixel(x, y)) > 150;
    EXPECT_GT(bright, 30);
}

// A line of 10,000 characters in each of the panel's fonts costs what its visible part
// costs, and shows what its first words show; the bound only catches a return of the
// drawing of every glyph, which took seconds.
TEST(RealFonts, AVeryLongLineDrawsOnlyWhatShows) {
    std::string words;
    while (words.size() < 10000)
        words += "Long titles run on ";
    THeadlineRenderer renderer;
    for (const char* font : {"<Title1>", "<Text1>", "<Text2>", "<text3>"}) {
        const auto start = std::chrono::steady_clock::now();
        const TBitmap whole = renderer.Render({font + words}, HeadlineTextWidth);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << font;
        // text3's gradient runs across the whole line: a shorter line has other colours.
        if (std::string(font) == "<text3>") continue;
        const TBitmap part = renderer.Render({font + words.substr(0, 200)}, HeadlineTextWidth);
        ASSERT_EQ(whole.Height(), part.Height()) << font;
        EXPECT_EQ(std::memcmp(whole.Bits(), part.Bits(), whole.ByteSize()), 0) << font;
    }
}

// Lines that once crashed the enlarged title's glyph cache (found by the text fuzz target):
// a fallback face without a family name, which Qt cannot be asked for its name.
TEST(RealFonts, OddBytesAndFallbackFacesDraw) {
    THeadlineRenderer renderer;
    const std::vector<std::string> lines{
        "<Title1>Feed title",
        "<Teht2>Mon, 02 J1t3>2. Current <\x9e\xc1\x96\x8b\x9a\x92\xc3\xc8"
        "b>",
        std::string("<Center><Date> \x01\x00\x7f"
                    "a\x8e\x95\xde\x87<Time>",
                    29)};
    const TBitmap image = renderer.Render(lines, HeadlineTextWidth);
    EXPECT_EQ(image.Width(), HeadlineTextWidth);
}

TEST(PelwickText, RendersTheHeadlineExampleAndRefusesBadInput) {
    const QString tool = PELWICK_TEXT_TOOL;
    const QString data = PELWICK_AATEXT_DATA;
    const QString out = QString(PELWICK_AATEXT_OUT) + "/headlines.png";
    QFile::remove(out);
    auto run = [&](const QStringList& args) {
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(60000);
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    ASSERT_EQ(run({data + "headlines.txt", "--out", out}), 0);
    QImage image(out);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 418);
    EXPECT_GT(image.height(), 120);
    int litRows = 0;
    for (int y = 0; y < image.height(); ++y) {
        bool lit = false;
        for (int x = 0; x < image.width(); ++x)
            lit |= qGray(image.pixel(x, y)) > 100;
        litRows += lit;
    }
    EXPECT_GT(litRows, 50);
    EXPECT_EQ(qGray(image.pixel(417, 0)), 0);

    ASSERT_EQ(run({data + "headlines.txt", "--out", out, "--width", "200", "--quality", "low",
                   "--labels", data + "labels.ini"}),
              0);
    EXPECT_EQ(QImage(out).width(), 200);
    EXPECT_EQ(run({data + "missing.txt", "--out", out}), 1);
    EXPECT_EQ(run({data + "headlines.txt", "--out", out, "--labels", data + "missing.ini"}), 1);
    EXPECT_EQ(run({data + "headlines.txt", "--out", out, "--width", "0"}), 2);
    EXPECT_EQ(run({data + "headlines.txt", "--out", out, "--quality", "best"}), 2);
    EXPECT_EQ(run({data + "headlines.txt", "--out", QString(PELWICK_AATEXT_OUT) + "/x.gif"}), 2);
    EXPECT_EQ(run({data + "headlines.txt"}), 2);
}

}  // namespace
}  // namespace pelwick
