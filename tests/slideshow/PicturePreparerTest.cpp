// The next picture prepared on a worker: the same picture LoadScreenPicture makes, handed
// over by move, failures reported instead of raised, stale requests dropped. Run under
// ThreadSanitizer too (the tsan preset).
#include "slideshow/PicturePreparer.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "SlideshowTestSupport.h"
#include "app/Files.h"
#include "slideshow/PictureLoader.h"
#include "slideshow/SlideshowDriver.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::Pattern;
using test::SamePixels;
using test::Solid;
using test::WritePicture;

const TColor Back = RGB(9, 9, 9);

TPictureStage Stage(int mode, bool random = false, TSize previous = {}) {
    return TPictureStage{1024, 768, Back, static_cast<std::uint8_t>(mode), random, previous};
}

// Every size mode, over a run of pictures whose sizes make the padding come and go: the
// picture and the previous picture are those LoadScreenPicture leaves.
TEST(PicturePreparer, PreparesWhatLoadScreenPictureMakes) {
    test::TProgramFolder dir;
    const std::vector<TBitmap> pictures{Pattern(1600, 900), Pattern(640, 480),
                                        Solid(200, 600, clRed), Pattern(800, 600),
                                        Pattern(2000, 500)};
    for (int mode = szShrinkToFit; mode <= szTileOrFit + 1; ++mode) {
        TGlimrascreen loaded, taken;
        for (TGlimrascreen* c : {&loaded, &taken}) {
            c->SetAutoSize(false);
            c->resize(1024, 768);
            c->SetColor(Back);
            c->SetSizeMode(static_cast<std::uint8_t>(mode));
        }
        for (size_t i = 0; i < pictures.size(); ++i) {
            const std::string file = dir.File("p" + std::to_string(i) + ".bmp");
            WritePicture(file, pictures[i]);
            LoadScreenPicture(loaded, file);
            TPreparedPicture prepared = PreparePicture(file, StageOf(taken), 0);
            ASSERT_TRUE(prepared.Ready()) << prepared.Error;
            TakePreparedPicture(taken, std::move(prepared));
            const std::string where =
                "mode " + std::to_string(mode) + ", picture " + std::to_string(i);
            EXPECT_TRUE(SamePixels(*taken.Picture().Bitmap(), *loaded.Picture().Bitmap())) << where;
            EXPECT_TRUE(
                SamePixels(*taken.PreviousPicture()->Bitmap(), *loaded.PreviousPicture()->Bitmap()))
                << where;
        }
    }
}

// A random placement draws from its seed: the same seed, the same place, inside the control.
TEST(PicturePreparer, RandomPlacementComesFromTheSeed) {
    test::TProgramFolder dir;
    WritePicture(dir.File("low.bmp"), Solid(1024, 576, clLime));
    const TPreparedPicture a = PreparePicture(dir.File("low.bmp"), Stage(szOriginal, true), 5);
    const TPreparedPicture b = PreparePicture(dir.File("low.bmp"), Stage(szOriginal, true), 5);
    ASSERT_TRUE(a.Ready() && b.Ready());
    EXPECT_TRUE(SamePixels(a.Picture, b.Picture));
    ASSERT_EQ(a.Picture.Height(), 768);
    int top = 0;
    while (top < 768 && a.Picture.Pixel(0, top) == Back)
        ++top;
    EXPECT_LE(top, 192);
    EXPECT_EQ(a.Picture.Pixel(1023, top + 575), clLime);
}

TEST(PicturePreparer, FailuresAreReportedNotRaised) {
    test::TProgramFolder dir;
    test::WriteFile(dir.File("broken.jpg"), "not a picture");
    test::WriteFile(dir.File("notes.txt"), "hello");
    for (const char* name : {"broken.jpg", "notes.txt", "gone.png"}) {
        const TPreparedPicture p = PreparePicture(dir.File(name), Stage(szTileOrFit), 0);
        EXPECT_FALSE(p.Ready()) << name;
        EXPECT_NE(p.Error, "") << name;
        EXPECT_TRUE(p.Picture.Empty()) << name;
    }
    // A JPEG that is not there is no failure: the control's own picture goes round again.
    const TPreparedPicture gone = PreparePicture(dir.File("gone.jpg"), Stage(szTileOrFit), 0);
    EXPECT_TRUE(gone.Missing);
    EXPECT_EQ(gone.Error, "");
}

// The worker prepares while this thread reads the bitmaps it was handed before: nothing is
// shared but what was moved. Many rounds, so that ThreadSanitizer sees every interleaving
// it can.
TEST(PicturePreparer, HandsOverByMoveRoundAfterRound) {
    test::TProgramFolder dir;
    const TColor colors[] = {clRed, clLime, clBlue};
    std::vector<std::string> files;
    for (int i = 0; i < 3; ++i) {
        files.push_back(dir.File("p" + std::to_string(i) + ".bmp"));
        WritePicture(files.back(), Solid(64, 48, colors[i]));
    }
    const TPictureStage stage{64, 48, Back, szTileOrFit, false, {64, 48}};
    TPicturePreparer preparer;
    preparer.Prepare(files[0], stage, 0);
    TBitmap shown;
    for (int round = 0; round < 300; ++round) {
        std::optional<TPreparedPicture> p = preparer.Take(files[size_t(round % 3)], stage);
        ASSERT_TRUE(p && p->Ready()) << round;
        shown = std::move(p->Picture);
        preparer.Prepare(files[size_t((round + 1) % 3)], stage, 0);
        // Read while the worker makes the next one.
        ASSERT_EQ(shown.Pixel(63, 47), colors[round % 3]) << round;
        ASSERT_EQ(shown.Pixel(0, 0), colors[round % 3]) << round;
    }
}

TEST(PicturePreparer, AnotherFileOrAChangedControlDropsTheRequest) {
    test::TProgramFolder dir;
    WritePicture(dir.File("a.bmp"), Solid(64, 48, clRed));
    WritePicture(dir.File("b.bmp"), Solid(64, 48, clBlue));
    TPicturePreparer preparer;
    EXPECT_FALSE(preparer.Take(dir.File("a.bmp"), Stage(szFit)));  // nothing asked
    preparer.Prepare(dir.File("a.bmp"), Stage(szFit), 0);
    EXPECT_EQ(preparer.Asked(), dir.File("a.bmp"));
    EXPECT_FALSE(preparer.Take(dir.File("b.bmp"), Stage(szFit)));
    EXPECT_EQ(preparer.Asked(), "");
    preparer.Prepare(dir.File("a.bmp"), Stage(szFit), 0);
    EXPECT_FALSE(preparer.Take(dir.File("a.bmp"), Stage(szStretch)));
    // A second request replaces the first.
    preparer.Prepare(dir.File("a.bmp"), Stage(szFit), 0);
    preparer.Prepare(dir.File("b.bmp"), Stage(szFit), 0);
    std::optional<TPreparedPicture> b = preparer.Take(dir.File("b.bmp"), Stage(szFit));
    ASSERT_TRUE(b && b->Ready());
    EXPECT_EQ(b->Picture.Pixel(0, 0), clBlue);
    // Going away with a request pending.
    preparer.Prepare(dir.File("a.bmp"), Stage(szFit), 0);
}

// The driver prepares the picture after the one it shows, and the next tick takes it; a
// control that changed size in between loads it in place instead, at the new size.
TEST(PicturePreparer, TheDriverTakesThePreparedPictureAtTheNextTick) {
    test::TProgramFolder dir;
    QWidget panel;
    panel.resize(40, 30);
    TSlideshowSettings settings;
    settings.ImageSequence = 0;
    settings.EffectSpeed2 = 1;
    for (const auto& [name, color] : {std::pair{"a.bmp", clRed}, {"b.bmp", clLime}}) {
        WritePicture(dir.File(name), Solid(400, 300, color));
        settings.ImageFiles.push_back(dir.File(name));
    }
    TRunGlimrascreen driver(&panel, settings);
    driver.PictureScreen()->SetThreaded(false);
    driver.PictureScreen()->SetDelay(0);
    driver.TimerTick();
    EXPECT_EQ(driver.CurrentIndex(), 0);
    EXPECT_EQ(driver.NextIndex(), 1);
    EXPECT_EQ(driver.Preparer().Asked(), dir.File("b.bmp"));
    driver.TimerTick();
    EXPECT_EQ(driver.CurrentIndex(), 1);
    EXPECT_EQ(driver.PictureScreen()->ScreenBitmap().Pixel(5, 5), clLime);
    EXPECT_EQ(driver.Preparer().Asked(), dir.File("a.bmp"));
    driver.PictureScreen()->resize(80, 60);
    driver.TimerTick();
    EXPECT_EQ(driver.PictureScreen()->Picture().Width(), 80);
    EXPECT_EQ(driver.PictureScreen()->ScreenBitmap().Pixel(5, 5), clRed);
}

// The first picture is prepared while the window is made: the one the order gives next, which
// the first tick then chooses and only takes.
TEST(PicturePreparer, TheFirstPictureIsPreparedBeforeTheFirstTick) {
    test::TProgramFolder dir;
    TSlideshowSettings settings;
    settings.EffectSpeed2 = 1;
    const TColor colors[] = {clRed, clLime, clBlue};
    for (int i = 0; i < 3; ++i) {
        settings.ImageFiles.push_back(dir.File("p" + std::to_string(i) + ".bmp"));
        WritePicture(settings.ImageFiles.back(), Solid(40, 30, colors[i]));
    }
    for (int sequence : {0, 1}) {
        settings.ImageSequence = static_cast<std::uint8_t>(sequence);
        QWidget panel;
        panel.resize(40, 30);
        TRunGlimrascreen driver(&panel, settings);
        driver.PictureScreen()->SetThreaded(false);
        driver.PictureScreen()->SetDelay(0);
        const std::string asked = driver.Preparer().Asked();
        EXPECT_EQ(driver.CurrentIndex(), -1);
        if (sequence == 0) {
            EXPECT_EQ(asked, settings.ImageFiles[0]);
        }
        driver.TimerTick();
        EXPECT_EQ(driver.CurrentPath(), asked) << sequence;
        EXPECT_EQ(driver.PictureScreen()->ScreenBitmap().Pixel(5, 5),
                  colors[static_cast<size_t>(driver.CurrentIndex())])
            << sequence;
    }
}

}  // namespace
}  // namespace pelwick
