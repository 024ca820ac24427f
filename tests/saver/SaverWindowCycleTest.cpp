#include <gtest/gtest.h>

#include "SaverFixture.h"

#include <cstdio>
#include "app/Settings.h"
#include "saver/HeadlinePanel.h"
#include "saver/ItemCard.h"

namespace pelwick {
namespace {

using test::RssFeed;
using test::TSaverFixture;

// The item titles of the headline lines, with their tags.
std::vector<std::string> ItemLines(const TSaverFixture& f) {
    std::vector<std::string> items;
    for (const std::string& line : f.Lines())
        if (line.rfind("<text", 0) == 0) items.push_back(line);
    return items;
}

TEST(Cycle, FirstTickLoadsTheFirstFeedAndWritesTheHeadlines) {
    TSaverFixture f({"News=/news", "Other=/other"});
    f.server.Set("/news", RssFeed("Town News", "All the news", 3));
    f.Show();
    f.Tick();
    EXPECT_EQ(f.form->Timer1Tag, 1);
    EXPECT_EQ(f.form->Timer1.Interval(), 1000);
    EXPECT_EQ(f.form->FeedName, "News");
    EXPECT_EQ(f.form->CurFeed, 0);
    EXPECT_EQ(f.form->CurItem, 0);
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"<Title1>Town News", "<Text2> - All the news",
                                                   "<line>", "<text3>1. Item 1", "<text1>2. Item 2",
                                                   "<text1>3. Item 3"}));
    ASSERT_NE(f.form->Form2(), nullptr);
    EXPECT_TRUE(f.form->Form2()->isVisible());
    EXPECT_EQ(f.form->Form2()->AAText->Text().Lines().Count(), 6);
    EXPECT_TRUE(f.form->Form2()->Timer1.Enabled());
    // The download's end hid the status bar.
    EXPECT_FALSE(f.form->Panel2->isVisible());
    EXPECT_FALSE(f.form->Loading);
}

TEST(Cycle, HeadlineLinesForChannelsWithoutTitleDescriptionOrDate) {
    TSaverFixture f({"A=/a"});
    f.ShowFeed("/a",
               "<rss version=\"2.0\"><channel><item><title>One</title></item>"
               "</channel></rss>");
    EXPECT_EQ(f.Lines(), (std::vector<std::string>{"<line>", "<text3>1. One"}));

    // A date without a description makes the second line.
    f.server.Set("/a",
                 "<rss version=\"2.0\"><channel><title>T</title>"
                 "<pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>"
                 "<item><title>One</title></item></channel></rss>");
    f.Load(0);
    ASSERT_EQ(f.Lines().size(), 4u);
    EXPECT_EQ(f.Lines()[0], "<Title1>T");
    EXPECT_EQ(f.Lines()[1], "<Text2>" + f.form->RSS.ChannelDate);
    EXPECT_FALSE(f.form->RSS.ChannelDate.empty());
}

TEST(Cycle, TitlesAreCleanedOfTagsAndReferences) {
    TSaverFixture f({"A=/a"});
    f.ShowFeed("/a",
               "<rss version=\"2.0\"><channel><title>T</title><item><title>"
               "&lt;b&gt;Bold&lt;/b&gt; &amp;amp; Co</title></item></channel></rss>");
    EXPECT_EQ(ItemLines(f), (std::vector<std::string>{"<text3>1. Bold & Co"}));
}

TEST(Cycle, ItemsAdvanceEveryBlogIntervalTicksWithTheCardFadedOut) {
    TSaverFixture f({"A=/a"}, "BlogInterval=3\n");
    f.server.Set("/a", RssFeed("T", "d", 3));
    f.Show();
    f.Tick();
    ASSERT_NE(f.form->Form3(), nullptr);
    f.form->Form3()->SetAlphaBlendValue(210);
    f.Tick(2);
    EXPECT_EQ(f.form->CurItem, 0);
    f.sleeps.clear();
    f.Tick();
    EXPECT_EQ(f.form->CurItem, 1);
    EXPECT_EQ(f.form->ItemTicks, 0);
    EXPECT_EQ(ItemLines(f)[1], "<text3>2. Item 2");
    // The card went down to 0 in 3 ms steps before the next item (and panel fades, when the
    // one-in-four draw came, in 4 ms steps).
    EXPECT_GE(std::count(f.sleeps.begin(), f.sleeps.end(), 3), 210);
    EXPECT_EQ(f.form->Form3()->AlphaBlendValue(), 0);
    EXPECT_TRUE(f.form->Form3()->Timer1.Enabled());
}

TEST(Cycle, BlogIntervalOneAdvancesEveryTick) {
    TSaverFixture f({"A=/a"}, "BlogInterval=1\n");
    f.server.Set("/a", RssFeed("T", "d", 4));
    f.Show();
    f.Tick();
    for (int expected = 1; expected < 4; ++expected) {
        f.Tick();
        EXPECT_EQ(f.form->CurItem, expected);
    }
}

TEST(Cycle, AfterTheLastItemTheNextFeedIsLoadedAndTheListWraps) {
    TSaverFixture f({"A=/a", "B=/b"}, "BlogInterval=2\n");
    f.server.Set("/a", RssFeed("Feed A", "d", 1));
    f.server.Set("/b", RssFeed("Feed B", "d", 1));
    f.Show();
    f.Tick();
    EXPECT_EQ(f.form->FeedName, "A");
    f.Tick(2);
    EXPECT_EQ(f.form->FeedName, "B");
    EXPECT_EQ(f.form->CurFeed, 1);
    EXPECT_EQ(f.Lines()[0], "<Title1>Feed B");
    f.Tick(2);
    EXPECT_EQ(f.form->CurFeed, 0);
    EXPECT_EQ(f.server.Requests("/a"), 2);
}

TEST(Cycle, RandomOrderWithOneFeedLoadsItAgain) {
    TSaverFixture f({"A=/a"}, "BlogInterval=1\nRandomFeed=1\n");
    f.server.Set("/a", RssFeed("T", "d", 1));
    f.Show();
    f.Tick();
    f.Tick();
    EXPECT_EQ(f.server.Requests("/a"), 2);
    EXPECT_EQ(f.form->CurFeed, 0);
}

TEST(Cycle, AFeedThatFailsIsSkippedAndTriedAgainLater) {
    TSaverFixture f({"A=/a", "Broken=/missing", "C=/c"}, "BlogInterval=1\n");
    f.server.Set("/a", RssFeed("Feed A", "d", 1));
    f.server.Set("/c", RssFeed("Feed C", "d", 1));
    f.Show();
    f.Tick();
    f.Tick();
    // The 404 left the previous feed's items and lines in place; the cycle carries on.
    EXPECT_EQ(f.form->FeedName, "Broken");
    EXPECT_EQ(f.Lines()[0], "<Title1>Feed A");
    EXPECT_FALSE(f.form->Loading);
    f.Tick();
    EXPECT_EQ(f.form->FeedName, "C");
    f.Tick(2);
    EXPECT_EQ(f.form->FeedName, "Broken");
    EXPECT_EQ(f.server.Requests("/missing"), 2);
}

TEST(Cycle, AFeedWithoutItemsIsGivenUpAfterThreeTicks) {
    TSaverFixture f({"Empty=/empty", "B=/b"});
    f.server.Set("/empty", RssFeed("Empty", "d", 0));
    f.server.Set("/b", RssFeed("Feed B", "d", 1));
    f.Show();
    f.Tick();
    EXPECT_EQ(f.form->FeedName, "Empty");
    f.Tick(2);
    EXPECT_EQ(f.form->FeedName, "Empty");
    f.Tick();
    EXPECT_EQ(f.form->FeedName, "B");
}

// A first run, with no feed listed, says on the panel how to add one; nothing else shows.
TEST(Cycle, NoFeedsMeansTheHintAndTheSlideshow) {
    {
        TSaverFixture f;
        f.Show();
        f.Tick(5);
        EXPECT_EQ(f.form->Timer1Tag, 1);
        EXPECT_EQ(f.Lines(),
                  (std::vector<std::string>{"<text1>No feeds yet: run pelwick /c to add some."}));
        ASSERT_NE(f.form->Form2(), nullptr);
        EXPECT_TRUE(f.form->Form2()->isVisible());
        EXPECT_EQ(f.form->Form3(), nullptr);
    }
    // A feed name without an address downloads nothing.
    TSaverFixture f({"A=/a"});
    f.dir.Write("Pelwick.ini", "[feeds]\nA=\n");
    f.Show();
    f.Tick(2);
    EXPECT_EQ(f.form->FeedName, "A");
    EXPECT_EQ(f.server.Requests("/a"), 0);
    EXPECT_EQ(f.form->Form2(), nullptr);
}

// A picture folder without pictures is said on the panel: under the first-run hint, or with
// the feed on screen and not again with the next.
TEST(Cycle, AnEmptyPictureFolderIsSaidOnce) {
    const std::string notice = "<text1>No pictures found in ";
    {
        TSaverFixture f;
        std::remove(f.dir.File("black.bmp").c_str());
        f.Show();
        f.Tick();
        const std::vector<std::string> expected = {
            "<text1>No feeds yet: run pelwick /c to add some.",
            notice + f.dir.Path().substr(0, f.dir.Path().size() - 1) + "."};
        ASSERT_TRUE(test::WaitUntil([&] { return f.Lines() == expected; }, std::chrono::seconds(20),
                                    "the notice under the hint"));
        EXPECT_GE(f.form->Form2()->Height(), 2 * 28);
    }
    TSaverFixture f({"A=/a", "B=/b"});
    f.server.Set("/a", RssFeed("Feed A", "d", 1));
    f.server.Set("/b", RssFeed("Feed B", "d", 1));
    std::remove(f.dir.File("black.bmp").c_str());
    f.Show();
    f.Tick();
    ASSERT_TRUE(test::WaitUntil([&] { return f.Lines().front().starts_with(notice); },
                                std::chrono::seconds(20), "the notice above the headlines"));
    EXPECT_EQ(f.Lines()[1], "<Title1>Feed A");
    f.Load(1);
    EXPECT_EQ(f.Lines().front(), "<Title1>Feed B");
    f.Load(0);
    EXPECT_EQ(f.Lines().front(), "<Title1>Feed A");
}

TEST(Cycle, ArrowKeysStepAndWrapItemsAndFeeds) {
    TSaverFixture f({"A=/a", "B=/b", "C=/c"});
    for (const char* p : {"/a", "/b", "/c"})
        f.server.Set(p, RssFeed(p + 1, "d", 3));
    f.Show();
    f.Tick();
    f.form->ItemTicks = 5;
    f.Key(Qt::Key_Up);
    EXPECT_EQ(f.form->CurItem, 2);
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.form->CurItem, 0);
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.form->CurItem, 1);
    EXPECT_EQ(f.form->ItemTicks, 5);  // the arrows do not restart the item's time
    f.Key(Qt::Key_Left);
    EXPECT_EQ(f.form->CurFeed, 2);
    EXPECT_EQ(f.form->CurItem, 0);
    f.Key(Qt::Key_Right);
    EXPECT_EQ(f.form->CurFeed, 0);
    f.Key(Qt::Key_Right);
    EXPECT_EQ(f.form->CurFeed, 1);
    EXPECT_EQ(f.Lines()[0], "<Title1>b");
    EXPECT_TRUE(f.halts.empty());
}

TEST(Cycle, PauseHoldsTheItemAndTheNextTickAfterItMovesOn) {
    TSaverFixture f({"A=/a"}, "BlogInterval=12\n");
    f.server.Set("/a", RssFeed("T", "d", 3));
    f.Show();
    f.Tick();
    f.Key(Qt::Key_Space);
    f.Tick(60);
    EXPECT_EQ(f.form->CurItem, 0);
    EXPECT_EQ(f.form->ItemTicks, 12);
    // Stepping while paused shows the card at once, without a fade.
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.form->CurItem, 1);
    EXPECT_EQ(f.form->Form3()->AlphaBlendValue(), 210);
    f.Key(Qt::Key_Space);
    f.Tick();
    EXPECT_EQ(f.form->CurItem, 2);
}

TEST(Cycle, OnAShortScreenThePanelStopsThirtyPixelsShort) {
    TSaverFixture f({"Many=/many"}, "", 1024, 600);
    f.server.Set("/many", RssFeed("T", "d", 25));
    f.Show();
    f.Load(0);
    EXPECT_EQ(f.form->Form2()->Height(), 570);
}

TEST(Cycle, LongFeedsGrowThePanelAndItKeepsTheHeight) {
    TSaverFixture f({"Ten=/ten", "Eleven=/eleven", "Many=/many", "Five=/five"}, "", 1280, 1024);
    f.server.Set("/ten", RssFeed("T", "d", 10));
    f.server.Set("/eleven", RssFeed("T", "d", 11));
    f.server.Set("/many", RssFeed("T", "d", 25));
    f.server.Set("/five", RssFeed("T", "d", 5));
    f.Show();
    f.Load(0);
    EXPECT_EQ(f.form->Form2()->Height(), 343);
    f.Load(1);
    EXPECT_EQ(f.form->Form2()->Height(), 371);
    f.Load(2);
    EXPECT_EQ(f.form->Form2()->Height(), 343 + 420);
    f.Load(3);
    EXPECT_EQ(f.form->Form2()->Height(), 343 + 420);
    // The text control follows the panel.
    EXPECT_EQ(f.form->Form2()->AAText->height(), 343 + 420 - 1);
}

}  // namespace
}  // namespace pelwick

namespace pelwick {
namespace {

// A fresh stored copy is on the wall at the first tick without a request, and the feed is
// asked again only when FeedRefresh has passed, however often it comes round.
TEST(Cycle, AFreshStoredCopyIsShownWithoutAskingTheServer) {
    TSaverFixture f({"A=/a"}, "BlogInterval=1\nFeedRefresh=30\n");
    std::int64_t now = 1'800'000'000;
    f.form->FeedStore.SetClock([&now] { return now; });
    TFeedStore::TEntry stored;
    stored.Address = f.server.Url("/a");
    stored.Body = RssFeed("Stored", "d", 2);
    stored.FetchedAt = now - 60;
    f.form->FeedStore.Write(stored);
    f.server.Set("/a", RssFeed("Served", "d", 2));
    f.Show();
    f.Tick();
    EXPECT_EQ(f.server.Requests("/a"), 0);
    EXPECT_EQ(f.Lines()[0], "<Title1>Stored");
    EXPECT_TRUE(f.form->Form2()->isVisible());
    // No download ends to hide the status bar: the stored copy did.
    EXPECT_FALSE(f.form->Panel2->isVisible());
    for (int pass = 0; pass < 20; ++pass) {
        now += 60;
        f.Tick(2);
    }
    EXPECT_EQ(f.server.Requests("/a"), 0);
    now += 10 * 60;  // 31 minutes after the stored download
    f.Tick(2);
    EXPECT_EQ(f.server.Requests("/a"), 1);
    EXPECT_EQ(f.Lines()[0], "<Title1>Served");
}

// What the wall shows from the stored copy is what it showed from the same bytes downloaded.
TEST(Cycle, AFailedDownloadShowsTheStoredCopyAsTheDownloadShowedIt) {
    TSaverFixture f({"A=/a", "B=/b"});
    f.server.Set("/a", RssFeed("Feed A", "All of A", 3));
    f.server.Set("/b", RssFeed("Feed B", "All of B", 1));
    f.Show();
    f.Tick();
    f.form->ShowItem(1);
    const std::vector<std::string> downloaded = f.Lines();
    const std::string link = f.form->Form3()->Link();
    f.Load(1);
    ASSERT_EQ(f.Lines()[0], "<Title1>Feed B");
    f.server.Set("/a", "");  // 404 from now on
    f.Load(0);
    EXPECT_EQ(f.server.Requests("/a"), 2);
    f.form->ShowItem(1);
    EXPECT_EQ(f.Lines(), downloaded);
    EXPECT_EQ(f.form->Form3()->Link(), link);
    EXPECT_TRUE(f.form->Form2()->isVisible());
}

}  // namespace
}  // namespace pelwick
