#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FeedTestSupport.h"
#include "app/Files.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedJson.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesBelow(const fs::path& folder, const std::string& extension = "") {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Every document from the wild (RSS, RDF, Atom and podcast feeds, broken ones included) loads
// into a model or fails with a message; none crashes or hangs, and a failure leaves a
// document that loads the next feed.
TEST(FeedFixtures, EveryFeedFromTheWildLoadsOrFailsWithAMessage) {
    PELWICK_REQUIRE_FIXTURES();
    const std::string fixtures = test::SharedFixtures();
    const std::vector<fs::path> files = FilesBelow(fs::path(fixtures) / "feeds");
    ASSERT_GT(files.size(), 100u);
    TFeedDocument feed;
    int loaded = 0, failed = 0;
    std::map<std::string, int> loadedByFormat;
    for (const fs::path& file : files) {
        const std::string error = test::Load(feed, ReadFileBytes(file.string()));
        if (error.empty()) {
            ++loaded;
            ++loadedByFormat[XMLTypeName(feed.XMLType())];
            // A loaded model is whole: JSON for it can be written.
            EXPECT_NE(FeedToJson(feed).find("\"items\""), std::string::npos) << file;
        } else {
            ++failed;
            EXPECT_NE(error, "(empty message)") << file;
        }
    }
    EXPECT_GT(loaded, 700);
    // Each format the fixtures hold has its reader: nearly all of them load.
    EXPECT_GT(loadedByFormat["rss"], 270);
    EXPECT_GT(loadedByFormat["atom"], 350);
    EXPECT_GT(loadedByFormat["rdf"], 75);
    std::printf("fixture feeds: %d loaded (%d rss, %d rdf, %d atom), %d failed with a message\n",
                loaded, loadedByFormat["rss"], loadedByFormat["rdf"], loadedByFormat["atom"],
                failed);
}

// No fixture is marked for the podcast reader, so every RSS one is read a second time with the
// marker added to its root: the strict reader meets real podcast and news feeds.
TEST(FeedFixtures, EveryRssFeedFromTheWildThroughThePodcastReader) {
    PELWICK_REQUIRE_FIXTURES();
    const std::string fixtures = test::SharedFixtures();
    TFeedDocument feed;
    int marked = 0, loaded = 0, withExtras = 0;
    for (const fs::path& file : FilesBelow(fs::path(fixtures) / "feeds")) {
        std::string bytes = ReadFileBytes(file.string());
        const std::size_t root = bytes.find("<rss ");
        if (root == std::string::npos) continue;
        bytes.insert(root + 4, " itunes=\"yes\"");
        const std::string error = test::Load(feed, bytes);
        if (feed.XMLType() != xtiTunes) continue;
        ++marked;
        if (!error.empty()) continue;
        ++loaded;
        const TiTunesChannelExtra& extra = feed.Channel().iTunes();
        if (!extra.Category().Category().empty() || !extra.Owner().Name().empty()) ++withExtras;
    }
    EXPECT_GT(marked, 200);
    EXPECT_GT(loaded, marked / 2);
    EXPECT_GE(withExtras, 5) << "the podcasts among them show their extras";
    std::printf("fixture RSS feeds as podcasts: %d read, %d loaded, %d with podcast extras\n",
                marked, loaded, withExtras);
}

TEST(FeedFixtures, LargeRealFeedLoadsCompletely) {
    PELWICK_REQUIRE_FIXTURES();
    const std::string fixtures = test::SharedFixtures();
    TFeedDocument feed;
    ASSERT_EQ(test::Load(feed, ReadFileBytes(fixtures + "feeds/feeder/rss_nixers_newsletter.xml")),
              "");
    EXPECT_EQ(feed.Items().Count(), 111);
    EXPECT_NE(feed.Items()[0].Description().find("<h1>Nixers Newsletter</h1>"), std::string::npos);
    EXPECT_NE(feed.ChannelTitle, "");
    for (int i = 0; i < feed.Items().Count(); ++i)
        EXPECT_NE(feed.Items()[i].Title(), "") << i;
}

// Real feeds that once failed or read wrong, with what they read now: markup in fields, links
// after "replies" links, namesakes of other vocabularies, prefixed roots, a stray item, blanks
// before the declaration, nearly valid XML, an encoding used beyond its declared name.
TEST(FeedFixtures, RealFeedsThatOnceFailedOrReadWrong) {
    PELWICK_REQUIRE_FIXTURES();
    const std::string fixtures = test::SharedFixtures();
    struct TCase {
        const char* file;
        int items;
        const char* channelTitle;
        const char* firstLink;
        bool recovered;
    };
    const TCase cases[] = {
        {"feeder/rss_nixos.xml", 99, "NixOS News", "https://nixos.org/news.html", false},
        {"node-feedparser/nondefaultnamespace-xhtml.atom", 1, "Non-default XHTML namespace test",
         "http://example.org/tests/namespace/result.html", false},
        {"chardet/EUC-KR/acnnewswire.net.xml", 8, "Asia Corporate Press via ACNNewswire.net",
         "http://www.acnnewswire.net/Article.Asp?lang=_k&Art_ID=29790", false},
        {"chardet/utf-8/anitabee.blogspot.com.xml", 9, "Who am I",
         "http://anitabee.blogspot.com/2006/01/x-ammmmmms.html", false},
        {"node-feedparser/nondefaultnamespace.atom", 1, "Non-default namespace test",
         "http://example.org/tests/namespace/result.html", false},
        {"newsboat/rss20_2.xml", 1, "my weblog", "", false},
        {"feeder/rss_londoner.xml", 40, "Londonist",
         "http://londonist.com/london/make-the-most-of-london-s-offerings-with-chip", false},
        {"feeder/rss_theguardian.xml", 54, "World news | The Guardian",
         "https://www.theguardian.com/world/2022/sep/23/"
         "saudi-foreign-minister-defends-role-in-ukraine-prisoner-swaps-khashoggi",
         true},
        {"feeder/rss_myanimelist.xml", 20, "News - MyAnimeList",
         "https://myanimelist.net/news/67553378?_location=rss", true},
        {"chardet/CP949/ricanet.com.xml", 10, "\xEB\xA6\xAC\xEC\xB9\xB4\xEB\x84\xB7",
         "http://ricanet.com/new/view.php?id=blog/100403", false},
    };
    for (const TCase& c : cases) {
        TFeedDocument feed;
        ASSERT_EQ(test::Load(feed, ReadFileBytes(fixtures + "feeds/" + c.file)), "") << c.file;
        EXPECT_EQ(feed.Items().Count(), c.items) << c.file;
        EXPECT_EQ(feed.ChannelTitle, c.channelTitle) << c.file;
        if (feed.Items().Count() > 0) {
            EXPECT_EQ(feed.Items()[0].Link(), c.firstLink) << c.file;
        }
        EXPECT_EQ(!feed.Recovered().empty(), c.recovered) << c.file;
    }
}

// Each tests/data/feeds/NAME.xml is loaded with a fixed clock and numbered GUIDs; its JSON must
// equal NAME.json beside it. PELWICK_UPDATE_EXPECTED=1 rewrites the expectations instead
// (review the diff before committing).
TEST(FeedFixtures, DataFilesGiveTheirExpectedJson) {
    const std::vector<fs::path> files = FilesBelow(PELWICK_FEEDS_TEST_DATA, ".xml");
    ASSERT_GE(files.size(), 10u);
    const char* update = std::getenv("PELWICK_UPDATE_EXPECTED");
    for (const fs::path& file : files) {
        test::TFixedClockAndGuids clock;
        TFeedDocument feed;
        const std::string error = test::Load(feed, ReadFileBytes(file.string()));
        const std::string json = FeedToJson(feed, error);
        fs::path expectedFile = file;
        expectedFile.replace_extension(".json");
        if (update && std::string(update) == "1") {
            WriteFileAtomically(expectedFile.string(), json);
            continue;
        }
        ASSERT_TRUE(fs::exists(expectedFile)) << expectedFile << " is missing; JSON:\n" << json;
        EXPECT_EQ(json, ReadFileBytes(expectedFile.string())) << file.filename();
    }
}

}  // namespace
}  // namespace pelwick
