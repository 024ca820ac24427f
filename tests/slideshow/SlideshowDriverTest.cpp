#include "slideshow/SlideshowDriver.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <set>

#include "SlideshowTestSupport.h"
#include "app/Files.h"
#include "app/PictureList.h"
#include "app/Process.h"
#include "app/Settings.h"
#include "slideshow/Effects.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::Solid;
using test::WritePicture;

// A panel with a driver on it, settings of its own, and pictures in the program folder.
// Transitions run in place and fast, so a tick runs a whole cross-fade.
struct Slideshow {
    test::TProgramFolder dir;
    QWidget panel;
    TSlideshowSettings settings;
    std::unique_ptr<TRunGlimrascreen> driver;
    explicit Slideshow(int pictures = 3, int speed = 1) {
        settings.EffectSpeed2 = speed;
        settings.ImageInterval = 17;
        const TColor colors[] = {clRed, clLime, clBlue, clWhite};
        for (int i = 0; i < pictures; ++i) {
            const std::string name = "p" + std::to_string(i) + ".bmp";
            WritePicture(dir.File(name), Solid(40, 30, colors[i % 4]));
            settings.ImageFiles.push_back(dir.File(name));
        }
        panel.resize(40, 30);
    }
    ~Slideshow() { driver.reset(); }
    TGlimrascreen& Screen() { return *driver->PictureScreen(); }
    void Create() {
        driver = std::make_unique<TRunGlimrascreen>(&panel, settings);
        Screen().SetThreaded(false);
        Screen().SetDelay(0);
    }
};

TEST(SlideshowDriver, TakesTheSlideshowsPartOfTheSaversSettings) {
    TSlideshowSettings defaults;
    defaults.ImageFolder = ProgramFolder();
    EXPECT_TRUE(SlideshowSettingsOf(TRssSaverOptions{}) == defaults) << "the defaults differ";
    TRssSaverOptions o;
    o.ImagePath = "/p/";
    o.ImageSubfolders = false;
    o.ImageSize = 1;
    o.EffectSpeed2 = 5;
    o.ImageInterval = 3;
    o.ImageSequence = 0;
    o.RandomPosition = true;
    o.TransitionStyle = 0;
    o.BlogInterval = 99;
    // A picture folder that does not exist gives way to the program folder.
    EXPECT_TRUE(SlideshowSettingsOf(o) ==
                (TSlideshowSettings{{}, ProgramFolder(), false, "/p/", 1, 5, 3, 0, true, 0}));
}

TEST(SlideshowDriver, ConfiguresTheControlFromTheSettings) {
    Slideshow s(3, 2);
    s.settings.ImageSize = 3;
    s.driver = std::make_unique<TRunGlimrascreen>(&s.panel, s.settings);
    TGlimrascreen& c = s.Screen();
    EXPECT_EQ(c.parentWidget(), &s.panel);
    EXPECT_EQ(c.Color(), clBlack);
    EXPECT_EQ(c.Align(), TCustomGlimrascreen::alClient);
    EXPECT_EQ(c.geometry(), s.panel.rect());
    EXPECT_FALSE(c.AutoSize());
    EXPECT_EQ(c.BgMode(), TCustomGlimrascreen::bmNone);
    EXPECT_TRUE(c.Center());
    EXPECT_FALSE(c.Stretch());
    EXPECT_FALSE(c.StretchFine());
    EXPECT_EQ(c.SizeMode(), 3);
    EXPECT_EQ(c.Step(), 6);
    EXPECT_EQ(c.Delay(), 20);
    EXPECT_EQ(s.driver->CurrentIndex(), -1);
    EXPECT_EQ(s.driver->CurrentPath(), "");
    EXPECT_TRUE(s.driver->Timer().Enabled());
    EXPECT_EQ(s.driver->Timer().Interval(), TRunGlimrascreen::FirstPicturePollMs);
    EXPECT_TRUE(s.driver->Timer().Active());
}

TEST(SlideshowDriver, SpeedTable) {
    const std::vector<std::tuple<int, int, int>> table{
        {1, 10, 1}, {2, 6, 20}, {3, 4, 30}, {4, 2, 30}, {5, 1, 30}, {7, 4, 30}, {0, 4, 30}};
    for (auto [speed, step, delay] : table) {
        Slideshow s(1, speed);
        s.driver = std::make_unique<TRunGlimrascreen>(&s.panel, s.settings);
        EXPECT_EQ(s.Screen().Step(), step) << speed;
        EXPECT_EQ(s.Screen().Delay(), delay) << speed;
    }
}

TEST(SlideshowDriver, ListOrderWalksTheListAndStartsAgain) {
    Slideshow s(3);
    s.settings.ImageSequence = 0;
    s.Create();
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) {
        s.driver->ChooseNextPicture();
        order.push_back(s.driver->CurrentIndex());
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(s.driver->CurrentPath(), s.dir.File("p1.bmp"));
}

TEST(SlideshowDriver, ARelativeEntryIsFoundInTheSettingsPictureFolder) {
    Slideshow s(0);
    s.dir.MakeFolder("pics");
    WritePicture(s.dir.File("pics/x.bmp"), Solid(40, 30, clBlue));
    s.settings.ImagePath = s.dir.File("pics/");
    s.settings.ImageFiles = {"x.bmp"};
    s.Create();
    s.driver->ChooseNextPicture();
    EXPECT_EQ(s.driver->CurrentPath(), s.dir.File("pics/x.bmp"));
    ASSERT_TRUE(s.Screen().Picture().HasImage());
    EXPECT_EQ(s.Screen().Picture().Bitmap()->Pixel(0, 0), clBlue);
}

TEST(SlideshowDriver, RandomOrderNeverRepeatsAPictureAtOnce) {
    Slideshow s(3);
    s.Create();
    RandSeed(5);
    int previous = s.driver->CurrentIndex();
    std::vector<int> seen(3);
    for (int i = 0; i < 60; ++i) {
        s.driver->ChooseNextPicture();
        const int now = s.driver->CurrentIndex();
        ASSERT_GE(now, 0);
        ASSERT_LT(now, 3);
        EXPECT_NE(now, previous);
        ++seen[static_cast<size_t>(now)];
        previous = now;
    }
    for (int n : seen)
        EXPECT_GT(n, 0);
    // A list of one picture: that picture, every time.
    Slideshow one(1);
    one.Create();
    for (int i = 0; i < 3; ++i) {
        one.driver->ChooseNextPicture();
        EXPECT_EQ(one.driver->CurrentIndex(), 0);
    }
}

// Random order is a shuffle drawn from the driver's own numbers: a round shows every
// picture once, and the program's generator draws as if there were no slideshow.
TEST(SlideshowDriver, RandomOrderShowsEveryPictureOnceARoundAndLeavesTheProgramsNumbers) {
    RandSeed(9);
    std::vector<int> expected;
    for (int i = 0; i < 5; ++i)
        expected.push_back(Random(1000));
    Slideshow s(6);
    s.Create();
    RandSeed(9);
    for (int round = 0; round < 3; ++round) {
        std::set<int> shown;
        for (int i = 0; i < 6; ++i) {
            s.driver->ChooseNextPicture();
            shown.insert(s.driver->CurrentIndex());
        }
        EXPECT_EQ(shown.size(), 6u) << round;
    }
    std::vector<int> after;
    for (int i = 0; i < 5; ++i)
        after.push_back(Random(1000));
    EXPECT_EQ(after, expected);
}

// The picture folder is listed while the slideshow runs: the list grows to the whole tree,
// in the walk's order, and the first picture is shown from what was found.
TEST(SlideshowDriver, ThePictureFolderIsListedInTheBackground) {
    Slideshow s(0);
    s.settings.ImageSequence = 0;
    std::vector<std::string> expected;
    for (const char* folder : {"lib", "lib/2024", "lib/2024/07", "lib/2024/08"})
        s.dir.MakeFolder(folder);
    for (int i = 0; i < 30; ++i) {
        const std::string name =
            (i % 2 ? "lib/2024/07/p" : "lib/2024/08/p") + std::to_string(i) + ".bmp";
        WritePicture(s.dir.File(name), Solid(40, 30, clBlue));
    }
    BuildImageList(s.dir.File("lib/"), expected, true);
    s.settings.ImageFolder = s.dir.File("lib/");
    int noPictures = 0;
    s.Create();
    s.driver->OnNoPictures = [&](const std::string&) { ++noPictures; };
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            s.driver->TimerTick();
            return !s.driver->Scanning();
        },
        std::chrono::seconds(30), "the end of the listing"));
    EXPECT_EQ(s.driver->Pictures().Paths(), expected);
    EXPECT_EQ(s.Screen().ScreenBitmap().Pixel(0, 0), clBlue);
    EXPECT_EQ(noPictures, 0);
}

// What a tick takes while the folder is still listed is the start of the whole list, and
// the driver may go away while the worker lists.
TEST(SlideshowDriver, WhatIsTakenDuringTheListingIsItsBeginning) {
    Slideshow s(0);
    for (int folder = 0; folder < 300; ++folder) {
        const std::string name = "lib/" + std::to_string(folder);
        s.dir.MakeFolder(name);
        for (int i = 0; i < 20; ++i)
            s.dir.Write(name + "/p" + std::to_string(i) + ".jpg", "");
    }
    std::vector<std::string> whole;
    BuildImageList(s.dir.File("lib/"), whole, true);
    for (int round = 0; round < 3; ++round) {
        s.settings.ImageFolder = s.dir.File("lib/");
        s.Create();
        s.driver->ChooseNextPicture();
        const std::vector<std::string>& taken = s.driver->Pictures().Paths();
        ASSERT_LE(taken.size(), whole.size());
        EXPECT_TRUE(std::equal(taken.begin(), taken.end(), whole.begin())) << round;
        s.driver.reset();
    }
}

// A folder without pictures: the ticks come back quickly while it is listed, as they look
// for the first picture, and then the saver is told once; the timer stays armed as with an
// empty list.
TEST(SlideshowDriver, AFolderWithoutPicturesIsReportedOnce) {
    Slideshow s(0);
    s.dir.MakeFolder("empty");
    s.dir.MakeFolder("empty/sub");
    s.dir.Write("empty/sub/notes.txt", "x");
    s.settings.ImageFolder = s.dir.File("empty/");
    std::vector<std::string> reported;
    s.Create();
    s.driver->OnNoPictures = [&](const std::string& folder) { reported.push_back(folder); };
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            s.driver->TimerTick();
            EXPECT_TRUE(s.driver->Timer().Enabled());
            if (s.driver->Scanning()) {
                EXPECT_EQ(s.driver->Timer().Interval(), TRunGlimrascreen::FirstPicturePollMs);
            }
            return !s.driver->Scanning();
        },
        std::chrono::seconds(30), "the end of the listing"));
    s.driver->TimerTick();
    EXPECT_EQ(reported, std::vector<std::string>{s.dir.File("empty/")});
    EXPECT_EQ(s.driver->Timer().Interval(), 17000);
    EXPECT_TRUE(s.Screen().ScreenBitmap().Empty());
}

TEST(SlideshowDriver, ATickCrossFadesToTheNextPictureAndTheEndArmsTheTimer) {
    Slideshow s(2);
    s.settings.ImageSequence = 0;
    s.Create();
    s.driver->TimerTick();
    // In place, the whole cross-fade has run; its end re-enabled the timer.
    EXPECT_EQ(s.Screen().Style(), StyleCrossFade);
    EXPECT_FALSE(s.Screen().Running());
    EXPECT_EQ(s.Screen().ScreenBitmap().Pixel(5, 5), clRed);
    EXPECT_TRUE(s.driver->Timer().Enabled());
    EXPECT_EQ(s.driver->Timer().Interval(), 17000);
    s.driver->TimerTick();
    EXPECT_EQ(s.Screen().ScreenBitmap().Pixel(5, 5), clLime);
}

// The picture order of 20 ticks with RandSeed(7), and the style each transition ran in.
std::vector<int> RunTicks(int transitionStyle, std::vector<int>& styles) {
    Slideshow s(4);
    s.settings.TransitionStyle = transitionStyle;
    s.Create();
    s.driver->StyleRandom().Seed(3);
    s.driver->Shuffle().Random().Seed(7);
    RandSeed(7);
    std::vector<int> order;
    for (int i = 0; i < 20; ++i) {
        s.driver->TimerTick();
        order.push_back(s.driver->CurrentIndex());
        styles.push_back(s.Screen().Style());
    }
    return order;
}

TEST(SlideshowDriver, TheTransitionStyleSettingChoosesEachTransition) {
    std::vector<int> crossFades, chosen, outOfRange, random;
    const std::vector<int> order = RunTicks(StyleCrossFade, crossFades);
    EXPECT_EQ(crossFades, std::vector<int>(20, StyleCrossFade));
    EXPECT_EQ(RunTicks(60, chosen), order);
    EXPECT_EQ(chosen, std::vector<int>(20, 60));
    RunTicks(200, outOfRange);
    EXPECT_EQ(outOfRange, std::vector<int>(20, StyleCrossFade));
    // Random styles draw from a sequence of their own: the pictures come in the same order.
    EXPECT_EQ(RunTicks(0, random), order);
    for (size_t i = 0; i < random.size(); ++i) {
        EXPECT_TRUE(TEffectTable::Contains(random[i])) << random[i];
        EXPECT_TRUE(i == 0 || random[i] != random[i - 1]) << i;
    }
    EXPECT_GT(std::set<int>(random.begin(), random.end()).size(), 10u);
}

TEST(SlideshowDriver, AnIntervalOfZeroNeverTicksAgain) {
    Slideshow s(2);
    s.settings.ImageInterval = 0;
    s.Create();
    s.driver->TimerTick();
    EXPECT_TRUE(s.driver->Timer().Enabled());
    EXPECT_FALSE(s.driver->Timer().Active());
}

TEST(SlideshowDriver, WithoutAPictureTheTimerIsArmedAgain) {
    Slideshow s(0);
    s.Create();
    s.driver->TimerTick();
    EXPECT_FALSE(s.Screen().Running());
    EXPECT_TRUE(s.driver->Timer().Enabled());
    EXPECT_EQ(s.driver->Timer().Interval(), 17000);
    EXPECT_TRUE(s.Screen().ScreenBitmap().Empty());  // the control shows its black colour
}

TEST(SlideshowDriver, APictureThatLoadsLaterIsStillShown) {
    Slideshow s(0);
    s.settings.ImageSequence = 0;
    s.settings.ImageFiles = {s.dir.File("broken.jpg"), s.dir.File("later.bmp")};
    test::WriteFile(s.dir.File("broken.jpg"), "not a picture");
    s.Create();
    s.driver->TimerTick();  // the first picture fails: nothing to cross-fade to
    EXPECT_FALSE(s.Screen().Running());
    EXPECT_TRUE(s.Screen().ScreenBitmap().Empty());
    EXPECT_TRUE(s.driver->Timer().Enabled());
    WritePicture(s.dir.File("later.bmp"), Solid(40, 30, clBlue));
    s.driver->TimerTick();
    EXPECT_EQ(s.Screen().ScreenBitmap().Pixel(0, 0), clBlue);
    EXPECT_TRUE(s.driver->Timer().Enabled());
    // A picture that fails after a good one: the good one is cross-faded in again.
    s.driver->TimerTick();
    EXPECT_EQ(s.driver->CurrentIndex(), 0);
    EXPECT_EQ(s.Screen().ScreenBitmap().Pixel(0, 0), clBlue);
}

TEST(SlideshowDriver, RandomPositionAppliesFromTheSecondPictureOn) {
    Slideshow s(2);
    s.settings.RandomPosition = true;
    s.Create();
    s.driver->ChooseNextPicture();
    EXPECT_FALSE(s.Screen().RandomPlacement());  // the first picture was loaded without it
    s.driver->BeginTransition();
    EXPECT_TRUE(s.Screen().RandomPlacement());
}

TEST(SlideshowDriver, TheRealTimerDrivesTheSlideshow) {
    Slideshow s(2);
    s.settings.ImageSequence = 0;
    s.Create();
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.driver->CurrentIndex() == 0; }, 5000));
    EXPECT_EQ(s.driver->Timer().Interval(), 17000);
}

TEST(SlideshowDriver, GoingAwayDuringAThreadedTransitionIsSafe) {
    Slideshow s(2);
    s.Create();
    s.Screen().SetThreaded(true);
    s.Screen().SetDelay(500);
    s.driver->TimerTick();
    EXPECT_TRUE(s.Screen().Running());
    s.driver.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(s.panel.findChildren<TGlimrascreen*>().size(), 0);
}

}  // namespace
}  // namespace pelwick
