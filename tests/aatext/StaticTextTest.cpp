#include <gtest/gtest.h>

#include <QPalette>
#include <memory>

#include "AATestSupport.h"
#include "aatext/AAStaticText.h"

namespace pelwick {
namespace {

TFont BlockFont(int height, TColor color = clWhite) {
    TFont font;
    font.Height = -height;
    font.Color = color;
    return font;
}

// Fills the widget's background with colour, as a parent or sibling behind a control.
void FillWith(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

TEST(AAText, AutoSizeAddsTheRowPitchBetweenRowsAndTheBorderAround) {
    auto raster = std::make_shared<test::TBlockRasterizer>();
    TAAText text;
    text.Glyphs().SetRasterizer(raster);
    text.SetFont(BlockFont(13));
    text.Text().Lines().Assign({"abcd", "ab"});
    text.Loaded();
    EXPECT_EQ(text.height(), 13 + 3 + 13);  // Round(13 x 20 / 100) = 3
    EXPECT_EQ(text.width(), 26);  // 4 cells of 6.5 pixels: measured at the oversampled size
    text.SetBorder(2);
    EXPECT_EQ(text.height(), 29 + 4);
    EXPECT_EQ(text.width(), 26 + 4);

    text.Text().SetWordWrap(true);  // a wrapping text keeps its width
    text.resize(50, 10);
    text.Text().Lines().Add("a");
    EXPECT_EQ(text.width(), 50);
    EXPECT_EQ(text.height(), 13 + 3 + 13 + 3 + 13 + 4);
    text.SetAutoSize(false);
    text.resize(70, 12);
    text.Text().Lines().Add("b");
    EXPECT_EQ(text.height(), 12);
}

TEST(AAText, StopsDrawingAtTheFirstLineBelowTheBottom) {
    auto raster = std::make_shared<test::TBlockRasterizer>();
    TAAText text;
    text.Glyphs().SetRasterizer(raster);
    text.SetFont(BlockFont(8));
    text.Text().SetRowPitch(0);
    text.Text().SetBackColor(clBlack);
    text.SetAutoSize(false);
    text.resize(40, 20);
    text.Text().Lines().Assign({"a", "b", "c", "d", "e"});
    text.Loaded();
    // Lines start at 0, 8 and 16 (drawn, the last one cut off) and 24 (left out).
    EXPECT_EQ(raster->Draws, 3);
    EXPECT_EQ(raster->LastText, "c");
    text.Paint();
    EXPECT_EQ(text.Image().Pixel(0, 17), clWhite);
    EXPECT_EQ(text.Image().Pixel(0, 19), clWhite);
}

TEST(AAText, ATransparentTextIsDrawnOverItsParent) {
    QWidget parent;
    parent.resize(80, 40);
    FillWith(parent, QColor(10, 90, 160));
    auto raster = std::make_shared<test::TBlockRasterizer>();
    TAAText text(&parent);
    text.Glyphs().SetRasterizer(raster);
    text.SetFont(BlockFont(8));
    text.Text().SetTransparent(true);
    text.SetBorder(1);
    text.move(5, 5);
    text.Text().Lines().Assign({"a b"});
    text.Loaded();
    text.Paint();
    EXPECT_EQ(text.width(), 3 * 4 + 2);
    const TBitmap& image = text.Image();
    EXPECT_EQ(image.Pixel(2, 2), clWhite);
    EXPECT_EQ(image.Pixel(0, 0), RGB(10, 90, 160));  // the border
    EXPECT_EQ(image.Pixel(6, 4), RGB(10, 90, 160));  // the blank
}

TEST(AALabel, DrawsItsCaptionLiterally) {
    auto raster = std::make_shared<test::TBlockRasterizer>();
    TAALabel label;
    label.Glyphs().SetRasterizer(raster);
    label.SetFont(BlockFont(10));
    label.SetCaption("<Title1>Hi");
    label.Loaded();
    EXPECT_EQ(raster->LastText, "<Title1>Hi");
    EXPECT_EQ(label.width(), 10 * 5);
    EXPECT_EQ(label.height(), 10);

    label.Effect().SetBackColor(clBlack);
    label.SetAutoSize(false);
    label.resize(70, 30);
    label.Effect().SetAlignment(taRightJustify);
    label.Effect().SetLayout(TCustomParam::tlBottom);
    label.SetBorder(3);
    label.Paint();
    EXPECT_EQ(label.Image().Pixel(66, 26), clWhite);
    EXPECT_EQ(label.Image().Pixel(67, 26), clBlack);
    EXPECT_EQ(label.Image().Pixel(66, 27), clBlack);
    EXPECT_EQ(label.Image().Pixel(17, 17), clWhite);
    EXPECT_EQ(label.Image().Pixel(16, 17), clBlack);
}

TEST(AALabel, ATransparentLabelShowsWhatLiesBehindIt) {
    QWidget parent;
    parent.resize(100, 60);
    FillWith(parent, QColor(200, 30, 40));
    QWidget below(&parent);  // a green sibling under the label's right half
    below.setGeometry(30, 10, 40, 40);
    FillWith(below, QColor(0, 180, 0));

    auto raster = std::make_shared<test::TBlockRasterizer>();
    TAALabel label(&parent);
    label.Glyphs().SetRasterizer(raster);
    label.SetFont(BlockFont(10));
    label.SetCaption("ab");
    label.Effect().SetTransparent(true);
    label.move(20, 20);
    label.SetAutoSize(false);
    label.resize(30, 12);
    QWidget above(&parent);  // a sibling over the label is not part of its background
    above.setGeometry(0, 0, 100, 60);
    FillWith(above, QColor(200, 30, 40));
    label.Loaded();
    label.Paint();

    const TBitmap& image = label.Image();
    EXPECT_EQ(image.Pixel(2, 2), clWhite);            // a glyph
    EXPECT_EQ(image.Pixel(4, 11), RGB(200, 30, 40));  // under the glyph: the parent
    EXPECT_EQ(image.Pixel(25, 5), RGB(0, 180, 0));    // the sibling below
    EXPECT_EQ(image.Pixel(9, 11), RGB(200, 30, 40));
}

struct TLinkScene {
    TLinkScene() {
        link.Glyphs().SetRasterizer(raster);
        link.SetFont(BlockFont(10, clBlack));
        link.SetCaption("g o");
        link.Effect().SetBackColor(clWhite);
        link.HotLink().SetBackColor(RGB(255, 255, 0));
        link.OpenUrl = [this](const std::string& url) { opened.push_back(url); };
        link.OnClick = [this] { ++clicks; };
        link.Loaded();
        link.Paint();
    }
    std::shared_ptr<test::TBlockRasterizer> raster = std::make_shared<test::TBlockRasterizer>();
    TAALinkLabel link;
    std::vector<std::string> opened;
    int clicks = 0;
};

TEST(AALinkLabel, WithoutFadeSwitchesLooksAtOnce) {
    TLinkScene s;
    s.link.HotLink().SetFade(false);
    EXPECT_EQ(s.link.Image().Pixel(1, 1), clBlack);  // caption over white
    s.link.MouseEnter();
    EXPECT_EQ(s.link.Progress(), 255);
    EXPECT_FALSE(s.link.FadeTimerActive());
    EXPECT_EQ(s.link.Image().Pixel(1, 1), clBlue);  // the hot colour
    s.link.MouseLeave();
    EXPECT_EQ(s.link.Progress(), 0);
    EXPECT_EQ(s.link.Image().Pixel(1, 1), clBlack);

    s.link.setEnabled(false);  // a disabled link does not light up
    s.link.MouseEnter();
    EXPECT_EQ(s.link.Progress(), 0);
}

TEST(AALinkLabel, FadesInAndOutInFiftyFiveMillisecondSteps) {
    TLinkScene s;
    s.link.MouseEnter();
    EXPECT_TRUE(s.link.FadeTimerActive());
    EXPECT_EQ(s.link.Progress(), 0);
    int ticks = 0;
    while (s.link.FadeState() != 0 && ticks < 100) {
        s.link.FadeTimerTick();
        ++ticks;
        if (ticks == 1) {
            EXPECT_EQ(s.link.Progress(), 23);  // 55 x 255 / 600
        }
    }
    EXPECT_EQ(ticks, 12);
    EXPECT_EQ(s.link.Progress(), 255);
    s.link.FadeTimerTick();  // nothing left to fade: the timer stops
    EXPECT_FALSE(s.link.FadeTimerActive());
    EXPECT_EQ(s.link.Image().Pixel(1, 1), clBlue);
    EXPECT_EQ(s.link.Image().Pixel(6, 1), RGB(255, 255, 0));

    s.link.MouseLeave();
    s.link.FadeTimerTick();
    EXPECT_EQ(s.link.Progress(), 255 - 23);
    while (s.link.FadeState() != 0)
        s.link.FadeTimerTick();
    EXPECT_EQ(s.link.Progress(), 0);
    EXPECT_EQ(s.link.Image().Pixel(1, 1), clBlack);
    EXPECT_EQ(s.link.Image().Pixel(6, 1), clWhite);
}

TEST(AALinkLabel, ClickOpensOnlyWebAndMailAddresses) {
    TLinkScene s;
    s.link.Click();
    EXPECT_EQ(s.clicks, 1);
    EXPECT_TRUE(s.opened.empty());
    for (const char* url :
         {"https://example.org/news", "http://example.org", "mailto:news@example.org",
          "file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", "https://", "mailto:"}) {
        s.link.HotLink().SetURL(url);
        s.link.Click();
    }
    EXPECT_EQ(s.clicks, 9);
    EXPECT_EQ(s.opened, (std::vector<std::string>{"https://example.org/news", "http://example.org",
                                                  "mailto:news@example.org"}));
}

}  // namespace
}  // namespace pelwick
