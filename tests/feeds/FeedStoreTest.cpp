#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <stdexcept>

#include "app/Files.h"
#include "feeds/FeedStore.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

constexpr std::int64_t Start = 1'800'000'000;

struct TStoreFixture {
    QTemporaryDir dir;
    std::int64_t now = Start;
    TFeedStore store{dir.path().toStdString(), [this] { return now; }};

    TFeedStore::TEntry Entry(const std::string& address, std::string body) const {
        TFeedStore::TEntry e;
        e.Address = address;
        e.Body = std::move(body);
        e.ETag = "\"v1\"";
        e.LastModified = "Tue, 10 Jun 2025 04:00:00 GMT";
        e.FetchedAt = now;
        return e;
    }
    int Files() const { return int(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size()); }
};

TEST(FeedStore, WritesAndReadsBackEveryField) {
    TStoreFixture f;
    TFeedStore::TEntry e = f.Entry("http://a/feed", std::string("<rss>\n\0\r\n</rss>", 16));
    e.RetryAfter = Start + 99;
    f.store.Write(e);
    const auto back = f.store.Read("http://a/feed");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Body, e.Body);
    EXPECT_EQ(back->ETag, e.ETag);
    EXPECT_EQ(back->LastModified, e.LastModified);
    EXPECT_EQ(back->FetchedAt, Start);
    EXPECT_EQ(back->RetryAfter, Start + 99);
    EXPECT_FALSE(f.store.Read("http://a/other"));
    // Under the folder, named by a hash, never by the address itself.
    EXPECT_EQ(f.store.FileName("http://a/feed").rfind(f.store.Folder(), 0), 0u);
    EXPECT_EQ(f.store.FileName("http://a/feed").find("feed", f.store.Folder().size()),
              f.store.FileName("http://a/feed").size() - 4);
}

TEST(FeedStore, DefaultFolderIsUnderTheCacheFolder) {
    test::TProgramFolder dir;  // sets XDG_CACHE_HOME
    EXPECT_EQ(TFeedStore::DefaultFolder(), dir.CacheFolder() + "pelwick/feeds/");
    const std::string cache = std::getenv("XDG_CACHE_HOME");
    unsetenv("XDG_CACHE_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    EXPECT_EQ(TFeedStore::DefaultFolder(),
              IncludeTrailingPathDelimiter(home) + ".cache/pelwick/feeds/");
    // Without HOME (or with a relative one) it is still an absolute folder.
    unsetenv("HOME");
    EXPECT_EQ(TFeedStore::DefaultFolder().substr(0, 1), "/");
    setenv("HOME", "relative", 1);
    EXPECT_EQ(TFeedStore::DefaultFolder().substr(0, 1), "/");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
}

TEST(FeedStore, AWriteInterruptedBeforeTheRenameLeavesTheOldCopy) {
    TStoreFixture f;
    f.store.Write(f.Entry("http://a/", "old"));
    std::string temp;
    f.store.BeforeRename = [&](const std::string& file) {
        temp = file;
        EXPECT_EQ(ReadFileBytes(file).substr(0, 14), "PELWICK-FEED 1");
        throw std::runtime_error("power lost");
    };
    EXPECT_THROW(f.store.Write(f.Entry("http://a/", "new")), std::runtime_error);
    f.store.BeforeRename = nullptr;
    ASSERT_TRUE(f.store.Read("http://a/"));
    EXPECT_EQ(f.store.Read("http://a/")->Body, "old");
    EXPECT_FALSE(FileExists(temp));
    EXPECT_EQ(f.Files(), 1);
}

TEST(FeedStore, ADamagedCopyReadsAsNoneAndIsReplaced) {
    const std::string good = "PELWICK-FEED 1\nhttp://a/\n\n\n1800000000\n0\n3\nabc";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"empty", ""},
        {"not ours", "<rss/>"},
        {"torn in the body", good.substr(0, good.size() - 1)},
        {"torn in the header", good.substr(0, 20)},
        {"longer than it says", good + "d"},
        {"another address", "PELWICK-FEED 1\nhttp://b/\n\n\n1800000000\n0\n3\nabc"},
        {"a time that is no number", "PELWICK-FEED 1\nhttp://a/\n\n\nsoon\n0\n3\nabc"},
        {"a header line ending in CR",
         "PELWICK-FEED 1\nhttp://a/\n\"e\"\r\n\n1800000000\n0\n3\nabc"},
    };
    for (const auto& [what, bytes] : cases) {
        TStoreFixture f;
        test::WriteFile(f.store.FileName("http://a/"), good);
        ASSERT_TRUE(f.store.Read("http://a/")) << "the good form of the file";
        test::WriteFile(f.store.FileName("http://a/"), bytes);
        EXPECT_FALSE(f.store.Read("http://a/")) << what;
        f.store.Write(f.Entry("http://a/", "fresh"));
        ASSERT_TRUE(f.store.Read("http://a/")) << what;
        EXPECT_EQ(f.store.Read("http://a/")->Body, "fresh") << what;
    }
}

TEST(FeedStore, TheSizeBoundDropsTheLeastRecentlyUsedFirst) {
    TStoreFixture f;
    const std::string body(1000, 'x');
    f.store.MaxBytes = 3500;  // three copies of about 1050 bytes fit, four do not
    for (const char* a : {"http://1/", "http://2/", "http://3/"}) {
        f.store.Write(f.Entry(a, body));
        f.now += 10;
    }
    // Reading marks a copy as used: 1 is now more recent than 2.
    ASSERT_TRUE(f.store.Read("http://1/"));
    f.now += 10;
    f.store.Write(f.Entry("http://4/", body));
    EXPECT_TRUE(f.store.Read("http://1/"));
    EXPECT_FALSE(f.store.Read("http://2/"));
    EXPECT_TRUE(f.store.Read("http://3/"));
    EXPECT_TRUE(f.store.Read("http://4/"));
}

TEST(FeedStore, CopiesUnusedForThirtyDaysAndFeedsNoLongerListedAreDropped) {
    TStoreFixture f;
    f.store.Write(f.Entry("http://old/", "o"));
    f.now += 20 * 24 * 3600;
    f.store.Write(f.Entry("http://kept/", "k"));
    f.store.Write(f.Entry("http://gone/", "g"));
    f.now += 10 * 24 * 3600 + 1;
    f.store.Trim();
    EXPECT_FALSE(f.store.Read("http://old/"));
    EXPECT_TRUE(f.store.Read("http://kept/"));

    f.store.Keep({"http://kept/", "http://never-stored/"});
    EXPECT_TRUE(f.store.Read("http://kept/"));
    EXPECT_FALSE(f.store.Read("http://gone/"));
    EXPECT_EQ(f.Files(), 1);
}

}  // namespace
}  // namespace pelwick
