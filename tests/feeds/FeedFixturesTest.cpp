#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FeedTestSupport.h"
#include "app/Files.h"
#include "feeds/FeedDocument.h"
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

// Every document from the wild loads into a model or fails with a message; none crashes or
// hangs, and a failure leaves a document that loads the next feed.
TEST(FeedFixtures, EveryFeedFromTheWildLoadsOrFailsWithAMessage) {
    const std::string fixtures = test::SharedFixtures();
    ASSERT_NE(fixtures, "") << "PELWICK_FIXTURES is not set";
    const std::vector<fs::path> files = FilesBelow(fs::path(fixtures) / "feeds");
    ASSERT_GT(files.size(), 100u);
    TFeedDocument feed;
    int loaded = 0, failed = 0;
    for (const fs::path& file : files) {
        const std::string error = test::Load(feed, ReadFileBytes(file.string()));
        if (error.empty()) {
            ++loaded;
            // A loaded model is whole: JSON for it can be written.
            EXPECT_NE(FeedToJson(feed).find("\"items\""), std::string::npos) << file;
        } else {
            ++failed;
            EXPECT_NE(error, "(empty message)") << file;
        }
    }
    EXPECT_GT(loaded, 150);
    std::printf("fixture feeds: %d loaded, %d failed with a message\n", loaded, failed);
}

TEST(FeedFixtures, LargeRealFeedLoadsCompletely) {
    const std::string fixtures = test::SharedFixtures();
    ASSERT_NE(fixtures, "");
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
