#include <gtest/gtest.h>

#include <chrono>

#include "SaverFixture.h"
#include "saver/HeadlinePanel.h"

namespace pelwick {
namespace {

using test::RssFeed;
using test::TSaverFixture;
using namespace std::chrono_literals;

// A feed that trickles and one that falls silent, among good ones: at their turn they are
// skipped (their stored copy shown when there is one, else the following feed), and the wall
// has its next feed at once, never after the slow one's download limits. The steps come by
// direct calls; each waits only for the fetch it started, or for the slow server to be asked.
TEST(SaverWindowFeeds, SlowFeedsAreSkippedAndTheWallNeverWaits) {
    const struct {
        bool stored;
        std::vector<std::string> titles;  // the feeds on the wall, in the order they came
    } rows[] = {
        {false, {"G1", "G2", "G3", "G1", "G2", "G3", "G1"}},
        {true, {"G1", "Stored T", "G2", "Stored S", "G3", "G1", "Stored T"}},
    };
    for (const auto& row : rows) {
        TSaverFixture f({"G1=/g1", "T=/trickle", "G2=/g2", "S=/silent", "G3=/g3"},
                        "BlogInterval=1\n");
        for (const auto& [path, title] : {std::pair{"/g1", "G1"}, {"/g2", "G2"}, {"/g3", "G3"}})
            f.server.Set(path, RssFeed(title, "d", 2));
        f.server.Trickle("/trickle", RssFeed("T", "d", 2));
        f.server.Silence("/silent");
        // The slow feeds stay slow for the whole test, however slowly a sanitizer build steps.
        f.form->FeedAhead.Client().LowSpeedTime = 0;
        if (row.stored) {
            for (const auto& [path, title] :
                 {std::pair{"/trickle", "Stored T"}, {"/silent", "Stored S"}}) {
                TFeedStore::TEntry entry;
                entry.Address = f.server.Url(path);
                entry.Body = RssFeed(title, "d", 2);
                f.form->FeedStore.Write(entry);
            }
        }
        f.Show();
        std::vector<std::string> titles;
        auto longest = 0ms;
        for (int step = 0; step < 13; ++step) {
            const int slowAsked = f.server.Requests("/trickle") + f.server.Requests("/silent");
            const auto start = std::chrono::steady_clock::now();
            f.form->Timer1Timer();
            ASSERT_TRUE(
                test::WaitUntil([&] { return !f.form->Loading; }, 20s, "a feed on the wall", 1ms));
            longest = std::max(longest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - start));
            const std::string title = f.Lines().at(0).substr(std::string("<Title1>").size());
            if (titles.empty() || titles.back() != title) titles.push_back(title);
            // Ready for the next step, as a second of the cycle would leave it.
            ASSERT_TRUE(test::WaitUntil(
                [&] {
                    return f.form->FeedAhead.Idle() ||
                           f.server.Requests("/trickle") + f.server.Requests("/silent") > slowAsked;
                },
                20s, "the next feed fetched or the slow one asked", 1ms));
        }
        EXPECT_EQ(titles, row.titles) << row.stored;
        EXPECT_LT(longest, 2s) << row.stored;
        EXPECT_TRUE(f.form->Form2()->isVisible()) << row.stored;
    }
}

// The status bar follows the download in progress, which is the next feed's.
TEST(SaverWindowFeeds, TheStatusBarShowsTheFetchInProgress) {
    TSaverFixture f({"A=/a", "T=/trickle"}, "BlogInterval=1\n");
    f.server.Set("/a", RssFeed("A", "d", 2));
    const std::string trickled = RssFeed("T", "d", 1);
    f.server.Trickle("/trickle", trickled);
    f.Show();
    f.Tick();
    f.form->Timer1Timer();  // the second item; the trickling feed is fetched meanwhile
    const std::string progress = "Progress: 1 of " + std::to_string(trickled.size());
    EXPECT_TRUE(test::WaitUntil([&] { return f.form->Panel2->text().toStdString() == progress; },
                                20s, progress));
    // The wall still shows the feed it showed.
    EXPECT_EQ(f.form->FeedName, "A");
    EXPECT_EQ(f.Lines().at(0), "<Title1>A");
}

// Escape ends the saver at once while a server holds the wall's download open.
TEST(SaverWindowFeeds, EscapeEndsTheSaverInTheMiddleOfADownload) {
    TSaverFixture f({"S=/silent"}, "OnlyEscKeyExit=1\n");
    f.server.Silence("/silent");
    f.Show();
    f.form->Timer1Timer();
    ASSERT_TRUE(test::WaitUntil([&] { return f.server.Requests("/silent") == 1; }, 20s,
                                "the download to start"));
    EXPECT_TRUE(f.form->Loading);
    const auto start = std::chrono::steady_clock::now();
    f.Key(Qt::Key_Escape);  // settles: the worker has stopped
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(f.halts, std::vector<int>{0});
    EXPECT_TRUE(f.form->FeedAhead.Idle());
}

}  // namespace
}  // namespace pelwick
