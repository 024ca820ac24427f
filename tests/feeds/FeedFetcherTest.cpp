#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <mutex>

#include "feeds/FeedDocument.h"
#include "feeds/FeedFetcher.h"
#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"
#include "support/LoopbackServer.h"

namespace pelwick {
namespace {

using test::RequestHeader;
using test::TLoopbackServer;

constexpr std::int64_t Start = 1'800'000'000;

std::string Feed(const std::string& title) {
    return "<rss version=\"2.0\"><channel><title>" + title +
           "</title><item><title>One</title></item></channel></rss>";
}

// A feed server whose next answers a test sets, a store in a folder of its own with a clock
// the test moves, and the fetcher between them loading into a feed document.
struct TFetchFixture {
    std::mutex mutex;
    std::string answer = TLoopbackServer::Response("200 OK", "", Feed("First"));
    std::unique_ptr<TLoopbackServer> server =
        std::make_unique<TLoopbackServer>(TLoopbackServer::Replies([this](const std::string&) {
            std::lock_guard lock(mutex);
            return answer;
        }));
    std::string url = server->Url("/feed");
    QTemporaryDir dir;
    std::int64_t now = Start;
    TFeedStore store{dir.path().toStdString(), [this] { return now; }};
    THTTPClient http;
    TFetchFixture() { http.ReadTimeout = 2000; }
    TFeedFetcher fetcher{http, store};
    TFeedDocument rss;

    void Answer(const std::string& status, const std::string& headers, const std::string& body) {
        std::lock_guard lock(mutex);
        answer = TLoopbackServer::Response(status, headers, body);
    }
    TFeedFetcher::TResult Fetch() {
        return fetcher.Fetch(url, [this](TMemoryStream& s) { rss.LoadFromStream(s); });
    }
    int Requests() const { return int(server->Requests().size()); }
    std::string LastRequest() const { return server->Requests().back(); }
};

TEST(FeedFetcher, ConditionalHeadersFollowWhatTheServerSent) {
    struct TCase {
        std::string headers, ifNoneMatch, ifModifiedSince;
    };
    const TCase cases[] = {
        {"ETag: \"abc\"\r\n", "\"abc\"", ""},
        {"Last-Modified: Tue, 10 Jun 2025 04:00:00 GMT\r\n", "", "Tue, 10 Jun 2025 04:00:00 GMT"},
        {"ETag: W/\"7\"\r\nLast-Modified: Wed, 11 Jun 2025 04:00:00 GMT\r\n", "W/\"7\"",
         "Wed, 11 Jun 2025 04:00:00 GMT"},
        {"", "", ""},
    };
    for (const TCase& c : cases) {
        TFetchFixture f;
        f.fetcher.RefreshMinutes = 0;
        f.Answer("200 OK", c.headers, Feed("First"));
        EXPECT_FALSE(f.Fetch().FromStore);
        EXPECT_EQ(RequestHeader(f.LastRequest(), "If-None-Match"), "") << c.headers;
        f.Fetch();
        ASSERT_EQ(f.Requests(), 2);
        EXPECT_EQ(RequestHeader(f.LastRequest(), "If-None-Match"), c.ifNoneMatch) << c.headers;
        EXPECT_EQ(RequestHeader(f.LastRequest(), "If-Modified-Since"), c.ifModifiedSince)
            << c.headers;
    }
}

TEST(FeedFetcher, NotModifiedShowsTheStoredCopyAndRenewsIt) {
    TFetchFixture f;
    f.Answer("200 OK", "ETag: \"abc\"\r\n", Feed("Stored"));
    f.Fetch();
    f.now += 31 * 60;
    f.Answer("304 Not Modified", "", "");
    f.rss.ChannelTitle.clear();
    const TFeedFetcher::TResult got = f.Fetch();
    EXPECT_TRUE(got.FromStore);
    EXPECT_EQ(got.Reason, "not modified");
    EXPECT_EQ(f.rss.ChannelTitle, "Stored");
    // Renewed: fresh for another 30 minutes.
    f.now += 29 * 60;
    EXPECT_EQ(f.Fetch().Reason, "fresh");
    EXPECT_EQ(f.Requests(), 2);
}

TEST(FeedFetcher, AFreshCopyIsShownWithoutAskingUntilFeedRefreshHasPassed) {
    TFetchFixture f;
    f.Fetch();
    for (int pass = 0; pass < 179; ++pass) {
        f.now += 10;
        EXPECT_EQ(f.Fetch().Reason, "fresh");
    }
    EXPECT_EQ(f.Requests(), 1);
    f.now += 10;  // 30 minutes since the download
    EXPECT_FALSE(f.Fetch().FromStore);
    EXPECT_EQ(f.Requests(), 2);
    // 0 asks at every pass.
    f.fetcher.RefreshMinutes = 0;
    f.Fetch();
    EXPECT_EQ(f.Requests(), 3);
}

TEST(FeedFetcher, EveryKindOfFailureFallsBackToTheStoredCopy) {
    struct TCase {
        std::string what, answer;
    };
    const TCase cases[] = {
        {"HTTP error", TLoopbackServer::Response("500 Internal Server Error", "", "oops")},
        {"not found", TLoopbackServer::Response("404 Not Found", "", "")},
        {"no feed", TLoopbackServer::Response("200 OK", "", "<html><body>hi</body></html>")},
        {"not XML", TLoopbackServer::Response("200 OK", "", "\x01\x02 garbage")},
        {"closed without answer", ""},
        {"no connection", "stop"},
    };
    for (const TCase& c : cases) {
        TFetchFixture f;
        f.fetcher.RefreshMinutes = 0;
        f.Answer("200 OK", "", Feed("Good"));
        f.Fetch();
        f.rss.ChannelTitle.clear();
        if (c.answer == "stop") {
            f.server.reset();  // the port is closed now
        } else {
            std::lock_guard lock(f.mutex);
            f.answer = c.answer;
        }
        const TFeedFetcher::TResult got = f.Fetch();
        EXPECT_TRUE(got.FromStore) << c.what;
        EXPECT_FALSE(got.Reason.empty()) << c.what;
        EXPECT_EQ(f.rss.ChannelTitle, "Good") << c.what;
        EXPECT_EQ(f.rss.Items().Count(), 1) << c.what;
    }
    // Without a copy the failure is the caller's, as before.
    TFetchFixture f;
    f.Answer("404 Not Found", "", "");
    EXPECT_THROW(f.Fetch(), EHTTPProtocolError);
}

TEST(FeedFetcher, ATimeoutFallsBackToTheStoredCopy) {
    TFetchFixture f;
    f.fetcher.RefreshMinutes = 0;
    f.Fetch();
    TLoopbackServer silent([](test::TConnection& c, TLoopbackServer&) {
        c.ReadRequest();
        c.Stall();
    });
    f.http.ReadTimeout = 200;
    // The stored copy is this address's: point it at the silent server.
    TFeedStore::TEntry entry = *f.store.Read(f.url);
    entry.Address = f.url = silent.Url("/feed");
    f.store.Write(entry);
    const TFeedFetcher::TResult got = f.Fetch();
    EXPECT_TRUE(got.FromStore);
    EXPECT_EQ(got.Reason, "Read timed out.");
}

TEST(FeedFetcher, RetryAfterIsHonouredInSecondsAndAsADate) {
    struct TCase {
        int status;
        std::string retryAfter;
        std::int64_t wait;
    };
    const TCase cases[] = {
        {429, "120", 120},
        {503, "Fri, 15 Jan 2027 08:05:00 GMT", 300},  // 5 minutes after Start
        {429, "999999", 24 * 3600},                   // at most a day
        {503, "Sat, 16 Jan 2027 08:00:00 GMT", 24 * 3600},
    };
    for (const TCase& c : cases) {
        TFetchFixture f;
        f.now = 1'800'000'000;  // Fri, 15 Jan 2027 08:00:00 GMT
        f.fetcher.RefreshMinutes = 0;
        f.Fetch();
        f.Answer(std::to_string(c.status) + " Busy", "Retry-After: " + c.retryAfter + "\r\n", "");
        EXPECT_TRUE(f.Fetch().FromStore);
        ASSERT_EQ(f.Requests(), 2);
        f.Answer("200 OK", "", Feed("Later"));
        f.now += c.wait - 1;
        EXPECT_TRUE(f.Fetch().FromStore) << c.retryAfter;
        EXPECT_EQ(f.Requests(), 2) << c.retryAfter;
        // The wait is kept with the copy: a new run of the saver waits too.
        TFeedFetcher fresh(f.http, f.store);
        fresh.RefreshMinutes = 0;
        EXPECT_TRUE(fresh.Fetch(f.url, [](TMemoryStream&) {}).FromStore) << c.retryAfter;
        EXPECT_EQ(f.Requests(), 2) << c.retryAfter;
        f.now += 1;
        EXPECT_FALSE(f.Fetch().FromStore) << c.retryAfter;
        EXPECT_EQ(f.rss.ChannelTitle, "Later");
    }
    EXPECT_FALSE(TFeedFetcher::RetryAfterSeconds("soon", Start));
    EXPECT_EQ(TFeedFetcher::RetryAfterSeconds("Thu, 01 Jan 1970 00:00:00 GMT", Start), 0);
}

TEST(FeedFetcher, RepeatedFailuresBackOffAndASuccessEndsIt) {
    TFetchFixture f;  // no stored copy: a dead feed is still not asked every pass
    f.fetcher.RefreshMinutes = 5;
    f.Answer("500 Down", "", "");
    // Seconds from the previous request to the next one the fetcher makes.
    const std::int64_t expected[] = {0, 0, 60, 120, 240, 300, 300};
    int requests = 0;
    for (const std::int64_t gap : expected) {
        f.now += gap - 1;
        if (gap > 0) {
            EXPECT_THROW(f.Fetch(), EFeedWait) << gap;
        }
        EXPECT_EQ(f.Requests(), requests) << gap;
        f.now += 1;
        EXPECT_THROW(f.Fetch(), EHTTPProtocolError) << gap;
        EXPECT_EQ(f.Requests(), ++requests) << gap;
    }
    EXPECT_EQ(f.fetcher.BackOffSeconds(1), 0);
    f.now += 300;
    f.Answer("200 OK", "", Feed("Back"));
    f.fetcher.RefreshMinutes = 0;
    f.Fetch();
    f.Answer("500 Down", "", "");
    f.Fetch();  // one failure after a success asks again at the next pass
    f.Fetch();
    EXPECT_EQ(f.Requests(), requests + 3);
}

}  // namespace
}  // namespace pelwick
