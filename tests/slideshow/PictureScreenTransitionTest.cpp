#include <gtest/gtest.h>

#include <set>

#include "SlideshowTestSupport.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {
namespace {

using test::Pattern;
using test::SamePixels;
using test::ShowAtOnce;
using test::Solid;

// A small control that animates in place without waiting, so whole transitions run inside
// one call.
struct InPlace {
    TGlimrascreen c;
    std::vector<int> progress;
    int completions = 0;
    InPlace(int w = 9, int h = 7) {
        c.SetAutoSize(false);
        c.SetColor(clBlack);
        c.resize(w, h);
        c.SetThreaded(false);
        c.SetDelay(0);
        c.SetStyle(StyleCrossFade);
        c.OnProgress = [this](TCustomGlimrascreen& s) { progress.push_back(s.Progress()); };
        c.OnComplete = [this](TCustomGlimrascreen&) { ++completions; };
    }
};

TEST(Transition, CrossFadeOfOnePixelAtHalfway) {
    InPlace t(1, 1);
    ShowAtOnce(t.c, Solid(1, 1, RGB(200, 100, 0)));
    t.c.SetManual(true);
    t.c.Picture().SetBitmap(Solid(1, 1, RGB(0, 100, 255)));
    t.c.StartTransition();
    t.c.SetProgress(50);
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(0, 0), RGB(100, 100, 127));
    EXPECT_EQ(t.c.PaintBuffer().Pixel(0, 0), RGB(100, 100, 127));
}

// Pictures of 8 and 32 bits a pixel fade as 24-bit ones do.
TEST(Transition, CrossFadeOfPicturesOfEveryPixelFormat) {
    for (const TPixelFormat format : {pf8bit, pf32bit}) {
        SCOPED_TRACE(format);
        InPlace t(3, 2);
        ShowAtOnce(t.c, Solid(3, 2, RGB(200, 200, 200)));
        t.c.SetManual(true);
        TBitmap picture = Solid(3, 2, RGB(0, 0, 0));
        picture.SetPixelFormat(format);
        t.c.Picture().SetBitmap(picture);
        t.c.StartTransition();
        ASSERT_NE(t.c.NewBitmap(), nullptr);
        EXPECT_EQ(t.c.NewBitmap()->PixelFormat(), pf24bit);
        t.c.SetProgress(50);
        EXPECT_EQ(t.c.ScreenBitmap().Pixel(2, 1), RGB(100, 100, 100));
    }
}

TEST(Transition, StepSixTakesSeventeenFramesAndEndsOnTheNewPicture) {
    InPlace t;
    t.c.SetStep(6);
    const TBitmap picture = Pattern(9, 7);
    t.c.Picture().SetBitmap(picture);
    t.c.StartTransition();
    std::vector<int> expected;
    for (int p = 6; p <= 96; p += 6)
        expected.push_back(p);
    expected.push_back(100);
    EXPECT_EQ(t.progress, expected);
    EXPECT_EQ(t.progress.size(), 17u);
    EXPECT_EQ(t.completions, 1);
    EXPECT_FALSE(t.c.Running());
    EXPECT_EQ(t.c.OldBitmap(), nullptr);
    EXPECT_EQ(t.c.NewBitmap(), nullptr);
    EXPECT_TRUE(SamePixels(t.c.ScreenBitmap(), picture));
    EXPECT_TRUE(test::ShowsAt(t.c, picture, 0, 0));
}

TEST(Transition, ReverseRunsFromHundredDownToZero) {
    InPlace t;
    ShowAtOnce(t.c, Solid(9, 7, clRed));
    t.progress.clear();
    t.c.SetReverse(true);
    t.c.SetStep(30);
    t.c.Picture().SetBitmap(Solid(9, 7, clBlue));
    t.c.StartTransition();
    EXPECT_EQ(t.progress, (std::vector<int>{100, 70, 40, 10, 0}));
    EXPECT_EQ(t.completions, 1);
    // At 0 the old snapshot is all that shows.
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(4, 3), clRed);
}

TEST(Transition, ManualTransitionsAreDrivenByHandAndResume) {
    InPlace t;
    const TBitmap old = Pattern(9, 7);
    ShowAtOnce(t.c, old);
    t.c.SetManual(true);
    t.c.Picture().SetBitmap(Solid(9, 7, clWhite));
    t.progress.clear();
    t.c.StartTransition();
    EXPECT_TRUE(t.c.Running());
    EXPECT_TRUE(SamePixels(t.c.ScreenBitmap(), old));  // the old snapshot at progress 0
    EXPECT_TRUE(SamePixels(*t.c.OldBitmap(), old));
    t.c.SetProgress(40);
    const TColor expect = RGB(GetRValue(old.Pixel(3, 2)) * 60 / 100 + 255 * 40 / 100,
                              GetGValue(old.Pixel(3, 2)) * 60 / 100 + 255 * 40 / 100,
                              GetBValue(old.Pixel(3, 2)) * 60 / 100 + 255 * 40 / 100);
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(3, 2), expect);
    EXPECT_EQ(t.completions, 0);
    t.c.SetManual(false);  // animates on from 40
    ASSERT_GE(t.progress.size(), 3u);
    EXPECT_EQ(t.progress[0], 40);
    EXPECT_EQ(t.progress[1], 44);
    EXPECT_EQ(t.progress.back(), 100);
    EXPECT_EQ(t.completions, 1);
    EXPECT_FALSE(t.c.Running());
}

TEST(Transition, StartIsIgnoredWithoutAPictureOrWhileRunning) {
    InPlace t;
    t.c.StartTransition();
    EXPECT_FALSE(t.c.Running());
    EXPECT_EQ(t.completions, 0);
    t.c.SetManual(true);
    t.c.Picture().SetBitmap(Solid(9, 7, clRed));
    t.c.StartTransition();
    t.c.SetProgress(30);
    t.c.StartTransition();  // ignored: no new preparation
    EXPECT_EQ(t.c.Progress(), 30);
    EXPECT_TRUE(t.c.Running());
    t.c.StopTransition();  // without a thread: at once, and without OnComplete
    EXPECT_FALSE(t.c.Running());
    EXPECT_EQ(t.completions, 0);
    t.c.StopTransition();  // nothing runs: nothing happens
}

TEST(Transition, OnlyALaterTransitionComposesAFrameForItsStartValue) {
    InPlace t;
    int frames = 0;
    t.c.OnAfterNewFrame = [&](TCustomGlimrascreen&, TBitmap&, TBitmap&) { ++frames; };
    t.c.SetManual(true);
    t.c.Picture().SetBitmap(Solid(9, 7, clRed));
    t.c.StartTransition();
    EXPECT_EQ(frames, 0);  // progress was already 0
    t.c.SetProgress(100);
    t.c.StopTransition();
    frames = 0;
    t.c.Picture().SetBitmap(Solid(9, 7, clBlue));
    t.c.StartTransition();
    EXPECT_EQ(frames, 1);  // 100 back to 0 shows the old snapshot
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(0, 0), clRed);
}

TEST(Transition, StyleZeroIsInstantOrDrawnByItsOwner) {
    InPlace t;
    t.c.SetStyle(StyleCustom);
    t.c.Picture().SetBitmap(Solid(9, 7, clRed));
    t.c.StartTransition();
    EXPECT_EQ(t.progress, (std::vector<int>{100}));  // the first step jumps to the end
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(8, 6), clRed);

    t.progress.clear();
    std::vector<int> drawn;
    t.c.OnCustomDraw = [&](TCustomGlimrascreen& s, TBitmap& picture, TBitmap& screen) {
        drawn.push_back(s.Progress());
        screen.SetPixel(0, 0, picture.Pixel(0, 0));
    };
    t.c.SetStep(50);
    t.c.Picture().SetBitmap(Solid(9, 7, clBlue));
    t.c.StartTransition();
    EXPECT_EQ(drawn, (std::vector<int>{0, 50, 100}));
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(8, 6), clBlue);

    // Reversed, the instant change ends the transition too.
    t.c.OnCustomDraw = nullptr;
    t.c.SetReverse(true);
    t.c.Picture().SetBitmap(Solid(9, 7, clLime));
    t.completions = 0;
    t.c.StartTransition();
    EXPECT_EQ(t.completions, 1);
    EXPECT_EQ(t.c.Progress(), 0);
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(8, 6), clLime);
}

// Effects whose bands are less than a pixel on so small a picture (146, 148) draw nothing:
// the frames show the old snapshot until the end.
TEST(Transition, EffectsThatDrawNothingKeepTheOldSnapshotUntilTheEnd) {
    for (int style : {146, 148}) {
        InPlace t;
        ShowAtOnce(t.c, Solid(9, 7, clRed));
        t.c.SetStyle(style);
        t.c.SetManual(true);
        t.c.Picture().SetBitmap(Solid(9, 7, clBlue));
        int before = 0, after = 0;
        t.c.OnBeforeNewFrame = [&](TCustomGlimrascreen&, TBitmap&, TBitmap& screen) {
            EXPECT_EQ(screen.Pixel(4, 3), clRed);  // the old snapshot is in place
            ++before;
        };
        t.c.OnAfterNewFrame = [&](TCustomGlimrascreen&, TBitmap&, TBitmap&) { ++after; };
        t.c.StartTransition();
        t.c.SetProgress(50);
        EXPECT_EQ(t.c.ScreenBitmap().Pixel(4, 3), clRed) << style;
        t.c.SetProgress(100);
        EXPECT_EQ(t.c.ScreenBitmap().Pixel(4, 3), clBlue) << style;
        EXPECT_EQ(before, 2) << style;
        EXPECT_EQ(after, 2) << style;
        EXPECT_EQ(t.c.PaintBuffer().Pixel(4, 3), clBlue) << style;
    }
}

TEST(Transition, AHookBeforeTheFrameSeesTheSnapshotAndTheFadeStaysExact) {
    InPlace t(3, 1);
    ShowAtOnce(t.c, Solid(3, 1, RGB(90, 91, 92)));
    t.c.SetManual(true);
    t.c.Picture().SetBitmap(Solid(3, 1, RGB(7, 8, 250)));
    t.c.OnBeforeNewFrame = [](TCustomGlimrascreen&, TBitmap&, TBitmap& screen) {
        EXPECT_EQ(screen.Pixel(1, 0), RGB(90, 91, 92));
    };
    t.c.StartTransition();
    t.c.SetProgress(33);
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(2, 0),
              RGB(90 * 67 / 100 + 7 * 33 / 100, 91 * 67 / 100 + 8 * 33 / 100,
                  92 * 67 / 100 + 250 * 33 / 100));
}

TEST(Transition, TheSnapshotComesFromWhatIsOnScreen) {
    InPlace t(6, 4);
    t.c.SetCenter(true);
    t.c.BgPicture().SetBitmap(Solid(3, 3, clLime));
    t.c.SetBgMode(TCustomGlimrascreen::bmTiled);
    t.c.Paint();
    t.c.SetManual(true);
    // A picture larger than the control: the part outside shows the colour.
    t.c.Picture().SetBitmap(Solid(8, 4, clRed));
    t.c.StartTransition();
    EXPECT_EQ(t.c.PictureRect(), (TRect{-1, 0, 7, 4}));
    EXPECT_EQ(t.c.OldBitmap()->Pixel(0, 0), clBlack);
    EXPECT_EQ(t.c.OldBitmap()->Pixel(1, 0), clLime);
    EXPECT_EQ(t.c.OldBitmap()->Pixel(7, 3), clBlack);
}

TEST(Transition, SuspendedFramesAreNotComposed) {
    InPlace t;
    t.c.SetManual(true);
    t.c.Picture().SetBitmap(Solid(9, 7, clRed));
    t.c.StartTransition();
    t.c.SetFramesSuspended(true);
    t.c.SetProgress(100);
    EXPECT_EQ(t.c.Progress(), 100);
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(0, 0), clBlack);
    EXPECT_EQ(t.progress.back(), 100);  // progress still reported
}

TEST(Transition, AControlWithoutAreaStillRunsItsTransitions) {
    InPlace t(0, 0);
    t.c.Paint();
    EXPECT_TRUE(t.c.PaintBuffer().Empty());
    t.c.Picture().SetBitmap(Solid(5, 3, clRed));
    t.c.StartTransition();
    EXPECT_EQ(t.completions, 1);
    EXPECT_EQ(t.c.ScreenBitmap().Pixel(4, 2), clRed);
    t.c.Paint();
    EXPECT_TRUE(t.c.PaintBuffer().Empty());
}

TEST(Transition, ManualSetterResetsProgressWhenIdle) {
    InPlace t;
    ShowAtOnce(t.c, Solid(9, 7, clRed));
    t.c.SetReverse(true);
    t.c.SetManual(true);
    EXPECT_EQ(t.c.Progress(), 100);
    t.c.SetReverse(false);
    t.c.SetManual(false);
    EXPECT_EQ(t.c.Progress(), 0);
}

}  // namespace
}  // namespace pelwick

namespace pelwick {
namespace {

// The catalogue's names are the system's own strings, misspellings included, and no two
// styles share one.
TEST(EffectTable, NamesAndKindsByNumber) {
    const std::pair<int, const char*> names[] = {
        {1, "Expand from right"},
        {33, "Expand from bottom (build up)"},
        {76, "Unven shred from bottom"},
        {117, "Triangular shred"},
        {118, "Fade"},
        {119, "Pivot from top left"},
        {122, "Pivot from bottom right"},
        {123, "Speckle appear from right"},
        {127, "Random squares appear (redrawn each frame)"},
        {128, "Random squares appear (each one stays)"},
        {135, "Push and sqeeze down"},
        {146, "Rectangles apear from left and disapear to right"},
        {172, "Channel Mix"}};
    for (const auto& [style, name] : names)
        EXPECT_STREQ(EffectTable[style].Name, name) << style;
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style) {
        const TEffectKind kind = style <= 57                    ? ekRects
                                 : style >= 128                 ? ekEffect
                                 : style >= 118 && style <= 122 ? ekDrawn
                                                                : ekRegion;
        EXPECT_EQ(EffectTable[style].Kind, kind) << style;
        EXPECT_GT(std::string(EffectTable[style].Name).size(), 3u) << style;
    }
    std::set<std::string> shown;
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style) {
        EXPECT_NE(EffectTable[style].Proc, nullptr) << style << " has no routine";
        EXPECT_TRUE(shown.insert(EffectTable[style].Name).second) << style << " repeats a name";
    }
}

}  // namespace
}  // namespace pelwick
