#include <gtest/gtest.h>

#include <memory>

#include "AATestSupport.h"
#include "aatext/AAFadeText.h"

namespace pelwick {
namespace {

struct TFadeScene {
    TFadeScene() {
        text.Glyphs().SetRasterizer(raster);
        text.resize(60, 20);
        TFont font;
        font.Height = -10;
        font.Color = clWhite;
        text.SetFont(font);
        text.Text().SetBackColor(clBlack);
        text.OnComplete = [this] { ++complete; };
    }
    std::shared_ptr<test::TBlockRasterizer> raster = std::make_shared<test::TBlockRasterizer>();
    TAAFadeText text;
    int complete = 0;
};

TEST(FadeText, EachLineFadesInOverThirtySevenTicks) {
    TFadeScene s;
    s.text.Text().Lines().Assign({"one", "two", "three"});
    s.text.Text().SetLineDelay(5000);
    s.text.Text().SetFadeDelay(800);
    s.text.Loaded();
    EXPECT_EQ(s.text.CurrentLine(), 0);
    EXPECT_EQ(s.text.NewText(), "one");
    EXPECT_TRUE(s.text.LineTimerActive());
    std::vector<int> progress;
    while (s.text.FadeTimerActive() && progress.size() < 100) {
        s.text.FadeTimerTick();
        progress.push_back(s.text.Progress());
    }
    ASSERT_EQ(progress.size(), 37u);
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(progress[static_cast<std::size_t>(i)], 7 * (i + 1));
    EXPECT_EQ(progress.back(), 255);
    // Steady on the line: "one" is 15 pixels wide, centred in 60, the middle of 20 rows.
    EXPECT_EQ(s.text.Image().Pixel(22, 5), clWhite);
    EXPECT_EQ(s.text.Image().Pixel(22, 4), clBlack);
    EXPECT_EQ(s.text.Image().Pixel(21, 10), clBlack);
}

TEST(FadeText, CrossFadeAddsOneStepPerByte) {
    TBitmap old(3, 1), fresh(3, 1), display;
    old.SetPixel(0, 0, RGB(200, 0, 100));
    fresh.SetPixel(0, 0, RGB(0, 255, 100));
    ComposeFade(display, old, fresh, 128);
    // 200 - 100, 0 + floor(255 x 128 / 256), unchanged.
    EXPECT_EQ(display.Pixel(0, 0), RGB(100, 127, 100));
    ComposeFade(display, old, fresh, 0);
    EXPECT_EQ(display.Pixel(0, 0), RGB(200, 0, 100));
    ComposeFade(display, old, fresh, 255);
    EXPECT_EQ(display.Pixel(0, 0), RGB(0, 255, 100));
    // Past the smaller image the old one shows.
    TBitmap narrow(1, 1);
    narrow.SetPixel(0, 0, clWhite);
    old.SetPixel(2, 0, RGB(9, 9, 9));
    ComposeFade(display, old, narrow, 128);
    EXPECT_EQ(display.Pixel(2, 0), RGB(9, 9, 9));
    EXPECT_EQ(display.Width(), 3);
}

TEST(FadeText, DelaysKeepAGapOfTwoHundredMilliseconds) {
    TFadeTextParam p;
    p.SetFadeDelay(5000);
    EXPECT_EQ(p.FadeDelay(), 2800u);
    p.SetFadeDelay(600);
    p.SetLineDelay(100);
    EXPECT_EQ(p.LineDelay(), 800u);
    p.SetFadeDelay(10);
    EXPECT_EQ(p.FadeDelay(), 50u);
    TFadeTextParam copy;
    copy.Assign(p);
    EXPECT_EQ(copy.FadeDelay(), 50u);
    EXPECT_EQ(copy.LineDelay(), 800u);
}

TEST(FadeText, AVeryLongFadeStillEnds) {
    TFadeScene s;
    s.text.Text().Lines().Assign({"a"});
    s.text.Text().SetLineDelay(60000);
    s.text.Text().SetFadeDelay(20000);  // 25 x 255 / 20000 is 0: one step a tick instead
    s.text.Loaded();
    int ticks = 0;
    while (s.text.FadeTimerActive() && ticks < 1000) {
        s.text.FadeTimerTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 256);
    EXPECT_EQ(s.text.Progress(), 255);
}

TEST(FadeText, StopsWithAnEmptyLineAfterItsPasses) {
    TFadeScene s;
    s.text.Text().Lines().Assign({"a", "b"});
    s.text.SetRepeatCount(2);
    s.text.Loaded();
    std::vector<std::string> shown{s.text.NewText()};
    for (int i = 0; i < 3; ++i) {
        s.text.LineTimerTick();
        shown.push_back(s.text.NewText());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"a", "b", "a", "b"}));
    EXPECT_EQ(s.complete, 0);
    s.text.LineTimerTick();
    EXPECT_EQ(s.complete, 1);
    EXPECT_EQ(s.text.NewText(), "");
    EXPECT_EQ(s.text.CurrentLine(), -1);
    EXPECT_FALSE(s.text.Active());
    EXPECT_FALSE(s.text.LineTimerActive());
    EXPECT_TRUE(s.text.FadeTimerActive());  // the fade to the empty line still runs
    while (s.text.FadeTimerActive())
        s.text.FadeTimerTick();
    for (int x = 0; x < 60; x += 3)
        EXPECT_EQ(s.text.Image().Pixel(x, 10), clBlack);

    s.text.SetActive(true);  // starts over from the first line
    EXPECT_EQ(s.text.NewText(), "a");
    EXPECT_TRUE(s.text.LineTimerActive());
}

}  // namespace
}  // namespace pelwick
