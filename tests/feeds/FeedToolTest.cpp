#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <memory>

#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::TConnection;
using test::TLoopbackServer;

using TToolRun = test::TProgramRun;

using test::RunTool;

TEST(FeedTool, DownloadsAddresses) {
    const std::string feed =
        "<rss version=\"2.0\"><channel><title>Loopback</title><link>http://l/</link>"
        "<description>d</description><item><title>One</title><description>x</description>"
        "</item></channel></rss>";
    TLoopbackServer server([&](TConnection& c, TLoopbackServer&) {
        for (std::string r; !(r = c.ReadRequest()).empty();)
            c.Send(test::RequestPath(r) == "/feed.xml"
                       ? TLoopbackServer::Response("200 OK", "", feed)
                       : TLoopbackServer::Response("404 Not Found", "", ""));
    });
    const TToolRun ok = RunTool({"--verbose", QString::fromStdString(server.Url("/feed.xml"))});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_NE(ok.out.find("\"channelTitle\": \"Loopback\""), std::string::npos) << ok.out;
    EXPECT_NE(ok.err.find("Connected."), std::string::npos) << ok.err;
    EXPECT_NE(ok.err.find("Progress: "), std::string::npos) << ok.err;

    const TToolRun missing = RunTool({QString::fromStdString(server.Url("/gone.xml"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("\"error\": \"HTTP/1.1 404 Not Found\""), std::string::npos)
        << missing.out;

    EXPECT_EQ(RunTool({"--timeout", "soon", "http://127.0.0.1/"}).exitCode, 2);
}

TEST(FeedTool, StoreAsksConditionallyAndFallsBackToItsCopy) {
    const std::string feed =
        "<rss version=\"2.0\"><channel><title>Kept</title><item><title>One</title></item>"
        "</channel></rss>";
    std::atomic<int> status{200};
    auto server = std::make_unique<TLoopbackServer>(
        TLoopbackServer::Replies([&](const std::string&) -> std::string {
            if (status == 304) return TLoopbackServer::Response("304 Not Modified", "", "");
            return TLoopbackServer::Response("200 OK", "ETag: \"e1\"\r\n", feed);
        }));
    QTemporaryDir store;
    const QString url = QString::fromStdString(server->Url("/feed.xml"));
    const QStringList args = {"--store", store.path(), url};

    const TToolRun first = RunTool(args);
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.out.find("\"from_store\": false"), std::string::npos) << first.out;

    status = 304;
    const TToolRun second = RunTool(args);
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.out.find("\"channelTitle\": \"Kept\""), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("\"from_store\": true,\n  \"reason\": \"not modified\""),
              std::string::npos)
        << second.out;
    ASSERT_EQ(server->Requests().size(), 2u);
    EXPECT_EQ(test::RequestHeader(server->Requests()[1], "If-None-Match"), "\"e1\"");

    server.reset();  // nothing listens on the port any more
    const TToolRun offline = RunTool(args);
    EXPECT_EQ(offline.exitCode, 0) << offline.err;
    EXPECT_NE(offline.out.find("\"channelTitle\": \"Kept\""), std::string::npos);
    EXPECT_NE(offline.out.find("\"reason\": \"Socket Error # 10061"), std::string::npos)
        << offline.out;
    // Without the option nothing is stored or read.
    EXPECT_EQ(RunTool({url}).exitCode, 1);
    EXPECT_EQ(RunTool({"--refresh", "5", url}).exitCode, 2);
}

}  // namespace
}  // namespace pelwick
