#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "SlideshowTestSupport.h"
#include "slideshow/SlideshowDriver.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A driver on a picture folder "lib" of the program folder, with ticks that run a whole
// cross-fade in place. The folder starts with three pictures (red, lime, blue) and an empty
// subfolder; the driver's own timer shows the first picture, and then waits an hour.
struct FolderShow {
    test::TProgramFolder dir;
    QWidget panel;
    TSlideshowSettings settings;
    std::unique_ptr<TRunGlimrascreen> driver;
    std::vector<std::string> reported;
    explicit FolderShow(std::uint8_t sequence = 1) {
        dir.MakeFolder("lib");
        dir.MakeFolder("lib/deeper");
        Fill({clRed, clLime, clBlue});
        settings.ImageFolder = Folder();
        settings.ImageSequence = sequence;
        settings.EffectSpeed2 = 1;
        settings.ImageInterval = 3600;
        panel.resize(40, 30);
        driver = std::make_unique<TRunGlimrascreen>(&panel, settings);
        Screen().SetThreaded(false);
        Screen().SetDelay(0);
        driver->OnNoPictures = [this](const std::string& folder) { reported.push_back(folder); };
        EXPECT_TRUE(
            test::WaitUntil([&] { return !driver->Scanning() && driver->CurrentIndex() != -1; },
                            30s, "the first listing and the first picture"));
    }
    ~FolderShow() { driver.reset(); }
    std::string Folder() const { return dir.File("lib/"); }
    TGlimrascreen& Screen() { return *driver->PictureScreen(); }
    TColor Shown() { return Screen().ScreenBitmap().Pixel(5, 5); }
    void Fill(const std::vector<TColor>& colors, const std::string& prefix = "p") {
        for (size_t i = 0; i < colors.size(); ++i)
            test::WritePicture(Folder() + prefix + std::to_string(i) + ".bmp",
                               test::Solid(40, 30, colors[i]));
    }
    // Lists the folder again as the rescan timer would, and waits for the new list.
    void Relist() {
        driver->Rescan();
        ASSERT_TRUE(driver->Rescanning());
        ASSERT_TRUE(test::WaitUntil(
            [&] {
                driver->RescanTimerFired();
                return !driver->Rescanning();
            },
            30s, "the listing"));
    }
};

// Pictures added during a run join the round: every picture not yet shown, old or new, comes
// before any repeat. Removed ones leave it.
TEST(SlideshowDriverFolder, AFolderThatGrowsAndShrinksKeepsTheRound) {
    FolderShow s;
    std::set<std::string> shown = {s.driver->CurrentPath()};
    s.driver->TimerTick();
    shown.insert(s.driver->CurrentPath());
    const std::set<std::string> shownThisRound = shown;
    // A thousand new pictures, made cheaply as links to one, and one of the old removed.
    const std::string one = s.Folder() + "p0.bmp";
    for (int i = 0; i < 1000; ++i)
        fs::create_hard_link(one, s.Folder() + "new" + std::to_string(i) + ".bmp");
    shown.erase(s.driver->CurrentPath());
    const std::string removed = *shown.begin();
    fs::remove(removed);
    s.Relist();
    ASSERT_EQ(s.driver->Pictures().Size(), 1002u);
    EXPECT_FALSE(s.driver->Pictures().Contains(removed));
    EXPECT_EQ(s.driver->Pictures()[static_cast<size_t>(s.driver->CurrentIndex())],
              s.driver->CurrentPath());
    std::set<std::string> rest;
    for (int i = 0; i < 1001; ++i) {
        s.driver->ChooseNextPicture();
        rest.insert(s.driver->CurrentPath());
    }
    EXPECT_EQ(rest.size(), 1001u);  // no repeat before the round is through
    for (const std::string& path : shownThisRound)
        EXPECT_FALSE(rest.contains(path)) << path;
    EXPECT_TRUE(s.reported.empty());
}

// A folder that goes bad: the list empties, the saver is told once, the screen keeps its
// picture, listings come less and less often; the folder that comes back is used again.
TEST(SlideshowDriverFolder, AFolderThatGoesAndComesBack) {
    struct TRow {
        const char* what;
        std::function<void(const std::string& folder)> spoil;
    };
    const std::vector<TRow> rows = {
        {"emptied",
         [](const std::string& f) {
             for (const auto& entry : fs::directory_iterator(f))
                 fs::remove(entry.path());
         }},
        {"removed", [](const std::string& f) { fs::remove_all(f); }},
        {"a file in its place",
         [](const std::string& f) {
             fs::remove_all(f);
             test::WriteFile(f.substr(0, f.size() - 1), "x");
         }},
        {"a link to itself in its place",
         [](const std::string& f) {
             fs::remove_all(f);
             fs::create_symlink("lib", f.substr(0, f.size() - 1));
         }},
        {"unreadable", [](const std::string& f) { fs::permissions(f, fs::perms::none); }},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.what);
        if (::geteuid() == 0 && std::string(row.what) == "unreadable") {
            std::cout << "[   SKIP   ] root reads every folder: no unreadable one to try\n";
            continue;
        }
        FolderShow s;
        const TColor before = s.Shown();
        row.spoil(s.Folder());
        s.Relist();
        EXPECT_TRUE(s.driver->Pictures().Empty());
        EXPECT_EQ(s.reported, std::vector<std::string>{s.Folder()});
        for (int i = 0; i < 3; ++i) {
            s.driver->TimerTick();
            EXPECT_EQ(s.Shown(), before);
            EXPECT_TRUE(s.driver->Timer().Enabled());
        }
        // A back-off that grows to its bound, and no second notice while the folder stays
        // away. (The spoiling may reach the watch during the first listing: one more listing
        // then follows soon, as for any change, before the waits grow.)
        std::vector<int> waits = {s.driver->RescanTimer().Interval()};
        for (int i = 0; i < 8; ++i) {
            s.Relist();
            waits.push_back(s.driver->RescanTimer().Interval());
        }
        EXPECT_TRUE(std::is_sorted(waits.begin(), waits.end()));
        EXPECT_EQ(waits.front(), TRunGlimrascreen::RetryFirstMs);
        EXPECT_EQ(waits[waits.size() - 2], TRunGlimrascreen::RetryMaxMs);
        EXPECT_EQ(waits.back(), TRunGlimrascreen::RetryMaxMs);
        EXPECT_EQ(s.reported.size(), 1u);

        std::error_code ignored;  // only the unreadable folder had its permissions taken
        fs::permissions(s.Folder(), fs::perms::owner_all, ignored);
        fs::remove_all(s.dir.File("lib"));
        fs::create_directory(s.Folder());
        s.Fill({clWhite, clWhite}, "back");
        s.Relist();
        EXPECT_EQ(s.driver->Pictures().Size(), 2u);
        // The period again, or a listing soon when the watch saw the folder filled.
        const int wait = s.driver->RescanTimer().Interval();
        EXPECT_TRUE(wait == TRunGlimrascreen::RescanPeriodMs ||
                    wait == TRunGlimrascreen::WatchDelayMs)
            << wait;
        s.driver->TimerTick();
        EXPECT_EQ(s.Shown(), clWhite);
    }
}

// A folder empty at the start: the saver is told, and the first pictures put there are shown
// as soon as they are listed, not an interval later.
TEST(SlideshowDriverFolder, AFolderEmptyAtTheStartIsUsedOnceFilled) {
    test::TProgramFolder dir;
    dir.MakeFolder("lib");
    QWidget panel;
    panel.resize(40, 30);
    TSlideshowSettings settings;
    settings.ImageFolder = dir.File("lib/");
    TRunGlimrascreen driver(&panel, settings);
    int reported = 0;
    driver.OnNoPictures = [&](const std::string&) { ++reported; };
    ASSERT_TRUE(test::WaitUntil([&] { return !driver.Scanning(); }, 30s, "the first listing"));
    driver.TimerTick();
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(driver.Timer().Interval(), 17000);
    EXPECT_EQ(driver.RescanTimer().Interval(), TRunGlimrascreen::RetryFirstMs);
    test::WritePicture(dir.File("lib/a.bmp"), test::Solid(40, 30, clBlue));
    driver.Rescan();
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            driver.RescanTimerFired();
            return !driver.Rescanning();
        },
        30s, "the listing"));
    EXPECT_EQ(driver.Timer().Interval(), TRunGlimrascreen::FirstPicturePollMs);
    ASSERT_TRUE(
        test::WaitUntil([&] { return driver.CurrentIndex() == 0; }, 30s, "the first picture"));
}

// Every listed picture failing in a row sends for a listing at once, long before the period.
TEST(SlideshowDriverFolder, EveryPictureFailingListsTheFolderAtOnce) {
    FolderShow s(0);
    const TColor before = s.Shown();
    fs::rename(s.Folder(), s.dir.File("elsewhere"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.driver->RescanTimer().Interval(), TRunGlimrascreen::RescanPeriodMs) << i;
        s.driver->TimerTick();
        EXPECT_EQ(s.Shown(), before);
    }
    EXPECT_LE(s.driver->RescanTimer().Interval(), 1);
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            s.driver->RescanTimerFired();
            return s.driver->Pictures().Empty();
        },
        30s, "the empty list"));
    fs::rename(s.dir.File("elsewhere"), s.Folder());
    s.Relist();
    EXPECT_EQ(s.driver->Pictures().Size(), 3u);
    s.driver->TimerTick();
    EXPECT_NE(s.Shown(), before);  // the order went on where it stopped
}

// With the real timers: a change to the folder's top is seen by the watch, one further down
// by the periodic listing, the folder's return by the watch of the folder above it.
TEST(SlideshowDriverFolder, TheWatchAndThePeriodFindNewPictures) {
    FolderShow s;
    const std::string one = s.Folder() + "p0.bmp";
    for (int i = 0; i < 1000; ++i)
        fs::create_hard_link(one, s.Folder() + "new" + std::to_string(i) + ".bmp");
    ASSERT_TRUE(test::WaitUntil([&] { return s.driver->Pictures().Size() == 1003; }, 60s,
                                "the new pictures in the list"));
    fs::create_hard_link(one, s.Folder() + "deeper/x.bmp");
    s.driver->SetRescanPeriod(50);
    ASSERT_TRUE(test::WaitUntil([&] { return s.driver->Pictures().Size() == 1004; }, 60s,
                                "the picture of a subfolder in the list"));
    s.driver->SetRescanPeriod(TRunGlimrascreen::RescanPeriodMs);

    // The folder is deleted: the watch sees it. Once the waits between listings have grown
    // to a minute, its return is seen by watching the folder above it.
    fs::remove_all(s.Folder());
    ASSERT_TRUE(
        test::WaitUntil([&] { return s.driver->Pictures().Empty(); }, 60s, "the empty list"));
    while (s.driver->RescanTimer().Interval() < TRunGlimrascreen::RetryMaxMs)
        s.Relist();
    fs::create_directory(s.Folder());
    s.Fill({clWhite});
    ASSERT_TRUE(test::WaitUntil([&] { return s.driver->Pictures().Size() == 1; }, 30s,
                                "the picture of the folder back"));
}

}  // namespace
}  // namespace pelwick
