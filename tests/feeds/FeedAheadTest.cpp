#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <memory>

#include "feeds/FeedAhead.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::TConnection;
using test::TLoopbackServer;
using namespace std::chrono_literals;

std::string Feed(const std::string& title) {
    return "<rss version=\"2.0\"><channel><title>" + title +
           "</title><item><title>One</title></item></channel></rss>";
}

// Answers /good with a feed; /silent sends its headers and then nothing, keeping the
// connection open until the client goes; anything else is not found.
TLoopbackServer::TScript Feeds() {
    return [](TConnection& c, TLoopbackServer& server) {
        for (std::string r; !(r = c.ReadRequest()).empty();) {
            server.Record(r);
            if (test::RequestPath(r) == "/silent") {
                c.Send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n<rss");
                c.Stall();
                return;
            }
            c.Send(test::RequestPath(r) == "/good"
                       ? TLoopbackServer::Response("200 OK", "", Feed("Good"))
                       : TLoopbackServer::Response("404 Not Found", "", ""));
        }
    };
}

struct TAheadFixture {
    TLoopbackServer server{Feeds()};
    QTemporaryDir dir;
    TFeedStore store{dir.path().toStdString()};
    std::unique_ptr<TFeedAhead> ahead = std::make_unique<TFeedAhead>(store);
    std::atomic<int> done{0};

    TAheadFixture() {
        ahead->OnDone = [this](const TFeedAhead::TJob&) { ++done; };
    }
    std::uint64_t Start(std::int32_t feed, const std::string& path) {
        return ahead->Start({feed, path, server.Url(path), 0, 0});
    }
    bool Asked(const std::string& path, int times = 1) const {
        int n = 0;
        for (const std::string& r : server.Requests())
            n += test::RequestPath(r) == path;
        return n >= times;
    }
};

TEST(FeedAhead, HandsTheParsedFeedOverWholeAndOnce) {
    TAheadFixture f;
    const std::uint64_t serial = f.Start(3, "/good");
    ASSERT_TRUE(test::WaitUntil([&] { return f.done == 1; }, 20s, "the fetch to end"));
    EXPECT_FALSE(f.ahead->Idle());  // the result waits to be taken
    std::optional<TFeedAhead::TResult> got = f.ahead->Take();
    ASSERT_TRUE(got);
    EXPECT_EQ(got->Job.Serial, serial);
    EXPECT_EQ(got->Job.Feed, 3);
    EXPECT_EQ(got->Error, "");
    EXPECT_FALSE(got->FromStore);
    EXPECT_EQ(got->Document.ChannelTitle, "Good");
    EXPECT_EQ(got->Document.Items().Count(), 1);
    EXPECT_FALSE(f.ahead->Take());
    EXPECT_TRUE(f.ahead->Idle());
    // The answer went to the store, for the turn when the server is late.
    EXPECT_TRUE(f.store.Read(f.server.Url("/good")));

    // A feed that cannot be fetched arrives as its failure.
    f.Start(4, "/none");
    ASSERT_TRUE(test::WaitUntil([&] { return f.done == 2; }, 20s, "the failed fetch"));
    got = f.ahead->Take();
    ASSERT_TRUE(got);
    EXPECT_NE(got->Error, "");
}

// A fetch that is no longer wanted ends at once however the server dawdles, and its result
// never arrives: replaced by another, cancelled, or with its owner gone.
TEST(FeedAhead, ADroppedFetchEndsAtOnceAndNeverArrives) {
    enum TDrop { dReplace, dCancel, dDestroy };
    for (const TDrop drop : {dReplace, dCancel, dDestroy}) {
        TAheadFixture f;
        f.Start(0, "/silent");
        ASSERT_TRUE(test::WaitUntil([&] { return f.Asked("/silent"); }, 20s, "the request"));
        const auto before = std::chrono::steady_clock::now();
        if (drop == dReplace) {
            const std::uint64_t serial = f.Start(1, "/good");
            ASSERT_TRUE(test::WaitUntil([&] { return f.done == 1; }, 20s, "the next fetch"));
            const std::optional<TFeedAhead::TResult> got = f.ahead->Take();
            ASSERT_TRUE(got);
            EXPECT_EQ(got->Job.Serial, serial);
        } else if (drop == dCancel) {
            f.ahead->Cancel();
            ASSERT_TRUE(test::WaitUntil([&] { return f.ahead->Idle(); }, 20s, "the stop"));
        } else {
            f.ahead.reset();
        }
        // The silent server would hold the download for a minute.
        EXPECT_LT(std::chrono::steady_clock::now() - before, 10s) << drop;
        EXPECT_EQ(f.done, drop == dReplace ? 1 : 0) << drop;
    }
}

// A server that falls silent is given up at the low-speed limit, and the stored copy stands
// in; the progress of the download came with the job.
TEST(FeedAhead, ASilentServerGivesWayToTheStoredCopyAtTheLowSpeedLimit) {
    TAheadFixture f;
    TFeedStore::TEntry stored;
    stored.Address = f.server.Url("/silent");
    stored.Body = Feed("Stored");
    f.store.Write(stored);
    f.ahead->Client().LowSpeedTime = 1;
    std::atomic<int> progress{0};
    f.ahead->OnProgress = [&](const TFeedAhead::TJob& job, const TFeedAhead::TProgress& p) {
        if (job.Feed == 7 && p.Kind == TFeedAhead::TProgress::pkWork) ++progress;
    };
    f.Start(7, "/silent");
    // Well before the read timeout of a minute.
    ASSERT_TRUE(test::WaitUntil([&] { return f.done == 1; }, 40s, "the low-speed limit"));
    const std::optional<TFeedAhead::TResult> got = f.ahead->Take();
    ASSERT_TRUE(got);
    EXPECT_TRUE(got->FromStore);
    EXPECT_EQ(got->Document.ChannelTitle, "Stored");
    EXPECT_GE(progress, 1);
}

}  // namespace
}  // namespace pelwick
