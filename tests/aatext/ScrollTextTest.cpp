#include <gtest/gtest.h>

#include <memory>

#include "AATestSupport.h"
#include "aatext/AAScrollText.h"

namespace pelwick {
namespace {

// A scroll text on a block rasteriser: characters are 5 x 10 pixels, white on black, no
// edge fade and no space around the text unless a test asks for it.
struct TScrollScene {
    explicit TScrollScene(int width = 60, int height = 50) {
        text.Glyphs().SetRasterizer(raster);
        text.resize(width, height);
        TFont font;
        font.Height = -10;
        font.Color = clWhite;
        text.Text().SetFont(font);
        text.Text().SetBackColor(clBlack);
        text.Text().SetFade(false);
        text.Text().SetTailSpace(0);
        text.Text().SetRowPitch(0);
        text.SetRepeatDelay(0);
        text.OnTextReady = [this] { ++ready; };
        text.OnPainted = [this] { ++painted; };
        text.OnComplete = [this] { ++complete; };
    }
    std::shared_ptr<test::TBlockRasterizer> raster = std::make_shared<test::TBlockRasterizer>();
    TAAScrollText text;
    int ready = 0;
    int painted = 0;
    int complete = 0;
};

bool RowIs(const TBitmap& image, int y, TColor color) {
    for (int x = 0; x < image.Width(); ++x)
        if (image.Pixel(x, y) != color) return false;
    return true;
}

TEST(ScrollText, ReplacingLinesWhileInactiveRebuildsAndPaintsOnceWithoutATimer) {
    TScrollScene s;
    s.text.SetActive(false);
    s.text.Text().Lines().Assign({"aaaa", "bb", "cc", "dd", "ee", "ff", "gg"});
    EXPECT_EQ(s.ready, 0);  // nothing is built before the control is prepared
    s.text.Loaded();
    EXPECT_EQ(s.text.TextImage().Height(), 70);
    s.text.SetPosition(33);
    EXPECT_EQ(s.text.Position(), 33);
    const int ready = s.ready, painted = s.painted;

    s.text.Text().Lines().Assign({"xxxxxx", "yy"});
    EXPECT_EQ(s.ready, ready + 1);
    EXPECT_EQ(s.painted, painted + 1);
    EXPECT_EQ(s.text.Position(), 0);
    EXPECT_EQ(s.text.PassCount(), -1);
    EXPECT_FALSE(s.text.ScrollTimerEnabled());
    EXPECT_FALSE(s.text.RepeatTimerEnabled());
    // The new first line is on screen: 6 blocks of 5 pixels, centred in 60.
    EXPECT_EQ(s.text.Image().Pixel(15, 5), clWhite);
    EXPECT_EQ(s.text.Image().Pixel(14, 5), clBlack);
    EXPECT_EQ(s.text.Image().Pixel(45, 5), clBlack);
}

TEST(ScrollText, AShortTextIsPaddedToTheHeightAndShownWithoutWrapping) {
    TScrollScene s;
    s.text.Text().Lines().Assign({"ab"});
    s.text.SetActive(false);
    s.text.Loaded();
    const TBitmap& image = s.text.TextImage();
    EXPECT_EQ(image.Width(), 60);
    EXPECT_EQ(image.Height(), 50);
    EXPECT_EQ(image.Pixel(25, 0), clWhite);
    for (int y = 10; y < 50; ++y)
        EXPECT_TRUE(RowIs(image, y, clBlack)) << y;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; x += 7)
            ASSERT_EQ(s.text.Image().Pixel(x, y), image.Pixel(x, y));

    // A window past the middle wraps to the top of the image.
    s.text.SetPosition(45);
    EXPECT_EQ(s.text.Image().Pixel(25, 4), clBlack);
    EXPECT_EQ(s.text.Image().Pixel(25, 5), clWhite);  // image row 0
    EXPECT_EQ(s.text.Image().Pixel(25, 14), clWhite);
    EXPECT_EQ(s.text.Image().Pixel(25, 15), clBlack);
    s.text.SetPosition(-5);  // positions are taken modulo the image height
    EXPECT_EQ(s.text.Position(), 45);
}

TEST(ScrollText, TheEdgesFadeToTheBackgroundAndTheSpacesGrowTheImage) {
    TScrollScene s(40, 40);
    s.text.Text().SetBackColor(RGB(0, 0, 200));
    s.text.Text().SetFade(true);
    s.text.Text().SetFadeHeight(10);
    s.text.Text().SetHeadSpace(25);
    s.text.Text().SetTailSpace(500);  // held to 150
    EXPECT_EQ(s.text.Text().TailSpace(), 150);
    s.text.Text().Lines().Assign({"aaaaaaaa", "aaaaaaaa"});
    s.text.SetActive(false);
    s.text.Loaded();
    // 10 fade + 10 head space + 2 rows of 10 + 60 tail space.
    EXPECT_EQ(s.text.TextImage().Height(), 100);
    EXPECT_TRUE(RowIs(s.text.TextImage(), 20, clWhite));
    s.text.SetPosition(15);  // rows 5..24 of the text are white
    const TBitmap& frame = s.text.Image();
    EXPECT_EQ(frame.Pixel(3, 0), RGB(0, 0, 200));      // row 0: a = 0
    EXPECT_EQ(frame.Pixel(3, 9), RGB(254, 254, 254));  // row 9: a = 255, 255 x 255 / 256
    // Row 5: a = 5 x 255 / 9 = 141: red 0 + 255 x 141 / 256 = 140, blue 200 + 55 x 141 / 256.
    EXPECT_EQ(frame.Pixel(3, 5), RGB(140, 140, 230));
    EXPECT_TRUE(RowIs(frame, 39, RGB(0, 0, 200)));
}

TEST(ScrollText, PausesAtTheStartOfEveryPassOnlyWithARepeatDelay) {
    TScrollScene s;
    s.text.Text().Lines().Assign({"ab"});  // a 50-row image
    s.text.SetScrollStep(20);
    s.text.Loaded();
    EXPECT_TRUE(s.text.ScrollTimerEnabled());
    s.text.ScrollTimerTick();
    EXPECT_EQ(s.text.PassCount(), 0);
    EXPECT_EQ(s.text.Position(), 20);
    s.text.ScrollTimerTick();
    s.text.ScrollTimerTick();  // 40 + 20 reaches the end: back to the top
    EXPECT_EQ(s.text.Position(), 0);
    EXPECT_FALSE(s.text.RepeatTimerEnabled());

    s.text.SetRepeatDelay(300);
    s.text.Text().SetRowPitch(1);  // any change restarts the passes
    s.text.ScrollTimerTick();
    EXPECT_EQ(s.text.PassCount(), 0);
    EXPECT_EQ(s.text.Position(), 0);  // the first pass pauses too
    EXPECT_TRUE(s.text.RepeatTimerEnabled());
    EXPECT_FALSE(s.text.ScrollTimerEnabled());
    s.text.RepeatTimerTick();
    EXPECT_EQ(s.text.Position(), 20);
    EXPECT_TRUE(s.text.ScrollTimerEnabled());
    EXPECT_FALSE(s.text.RepeatTimerEnabled());
    s.text.ScrollTimerTick();
    s.text.ScrollTimerTick();
    EXPECT_EQ(s.text.Position(), 0);
    s.text.ScrollTimerTick();
    EXPECT_EQ(s.text.PassCount(), 1);
    EXPECT_TRUE(s.text.RepeatTimerEnabled());
    // Switching off stops the pause as well.
    s.text.SetActive(false);
    EXPECT_FALSE(s.text.RepeatTimerEnabled());
    EXPECT_FALSE(s.text.ScrollTimerEnabled());
}

TEST(ScrollText, StopsAfterRepeatCountPassesWithOneComplete) {
    TScrollScene s;
    s.text.Text().Lines().Assign({"ab"});
    s.text.SetScrollStep(25);
    s.text.SetRepeatCount(2);
    s.text.Loaded();
    std::vector<int> positions;
    for (int i = 0; i < 5; ++i) {
        s.text.ScrollTimerTick();
        positions.push_back(s.text.Position());
    }
    EXPECT_EQ(positions, (std::vector<int>{25, 0, 25, 0, 0}));
    EXPECT_EQ(s.complete, 1);
    EXPECT_FALSE(s.text.Active());
    EXPECT_FALSE(s.text.ScrollTimerEnabled());
    EXPECT_EQ(s.text.PassCount(), -1);
}

TEST(ScrollText, AStepLargerThanTheImageJumpsBackToTheTop) {
    TScrollScene s;
    s.text.Text().Lines().Assign({"ab"});
    s.text.SetScrollStep(1000);
    s.text.Loaded();
    for (int i = 0; i < 3; ++i) {
        s.text.ScrollTimerTick();
        EXPECT_EQ(s.text.Position(), 0);
        EXPECT_EQ(s.text.PassCount(), i);
    }
    s.text.SetScrollStep(-1000);
    s.text.ScrollTimerTick();
    EXPECT_EQ(s.text.Position(), 0);
    s.text.SetScrollStep(2147483647);  // no overflow at the far end
    s.text.ScrollTimerTick();
    EXPECT_EQ(s.text.Position(), 0);
}

TEST(ScrollText, NeverSmallerThanTwentyByTwentyAndResizingRebuilds) {
    TScrollScene s;
    s.text.Text().Lines().Assign({"ab"});
    s.text.Loaded();
    const int ready = s.ready;
    s.text.resize(10, 10);
    EXPECT_EQ(s.text.width(), 20);
    EXPECT_EQ(s.text.height(), 20);
    s.text.show();  // a hidden widget hears of its new size when shown
    EXPECT_EQ(s.ready, ready + 1);
    EXPECT_EQ(s.text.TextImage().Width(), 20);
    EXPECT_EQ(s.text.TextImage().Height(), 20);
}

TEST(ScrollText, TheSharedTimerDrivesTheSteps) {
    TAATimerMgr::Instance().Thread().Suspend();
    std::uint32_t now = 5000;
    TTickSource previous = SetTickSource([&now] { return now; });
    {
        TScrollScene s;
        s.text.Text().Lines().Assign({"ab"});
        s.text.SetScrollDelay(16);
        s.text.SetScrollStep(2);
        s.text.Loaded();
        auto advance = [&](std::uint32_t ms) {
            now += ms;
            TAATimerMgr::Instance().SyncTick();
        };
        advance(15);
        EXPECT_EQ(s.text.PassCount(), -1);  // not before one ScrollDelay
        advance(1);
        EXPECT_EQ(s.text.PassCount(), 0);
        EXPECT_EQ(s.text.Position(), 2);
        advance(16);
        advance(16);
        EXPECT_EQ(s.text.Position(), 6);
        s.text.SetScrollDelay(0);  // a delay of 0 never steps
        advance(100);
        EXPECT_EQ(s.text.Position(), 6);
    }
    SetTickSource(std::move(previous));
    TAATimerMgr::Instance().Thread().Resume();
}

}  // namespace
}  // namespace pelwick
