#include <gtest/gtest.h>

#include <QProcess>

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

}  // namespace
}  // namespace pelwick
