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
#include "support/TestSupport.h"
#include "feeds/FeedJson.h"

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
    EXPECT_GT(loaded, 500);
    // Each format the fixtures hold has its reader: most of them load.
    EXPECT_GT(loadedByFormat["rss"], 200);
    EXPECT_GT(loadedByFormat["atom"], 250);
    EXPECT_GT(loadedByFormat["rdf"], 50);
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
