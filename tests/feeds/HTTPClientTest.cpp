#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <cstdlib>

#include "feeds/AntiFreeze.h"
#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"
#include "support/LoopbackServer.h"

namespace pelwick {
namespace {

using test::RequestHeader;
using test::RequestPath;
using test::TConnection;
using test::TLoopbackServer;

// Records every event of a client as one line each.
struct TEventLog {
    explicit TEventLog(THTTPClient& http) {
        http.OnStatus = [this](THTTPClient&, THTTPClient::THTTPStatus, const std::string& text) {
            lines.push_back(text);
        };
        http.OnWorkBegin = [this](THTTPClient&, THTTPClient::TWorkMode, std::int64_t n) {
            lines.push_back("begin " + std::to_string(n));
        };
        http.OnWork = [this](THTTPClient&, THTTPClient::TWorkMode, std::int64_t n) { last = n; };
        http.OnWorkEnd = [this](THTTPClient&, THTTPClient::TWorkMode) {
            lines.push_back("end " + std::to_string(last));
        };
    }
    std::vector<std::string> lines;
    std::int64_t last = 0;
};

// Answers every request on a connection with the same bytes.
TLoopbackServer::TScript Answer(std::string response) {
    return [response](TConnection& c, TLoopbackServer& server) {
        for (std::string request; !(request = c.ReadRequest()).empty();) {
            server.Record(request);
            c.Send(response);
        }
    };
}

std::string Fetch(THTTPClient& http, const std::string& url) {
    TMemoryStream stream;
    http.Get(url, stream);
    return stream.Bytes();
}

template <typename E>
E Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e;
    }
    ADD_FAILURE() << "nothing was raised";
    return E("", 0, "");
}

TEST(HTTPClient, SendsTheFixedRequestAndReportsEventsInOrder) {
    TLoopbackServer server(Answer(TLoopbackServer::Response("200 OK", "", "<rss/>")));
    THTTPClient http;
    TEventLog log(http);
    EXPECT_EQ(Fetch(http, server.Url("/feed.xml")), "<rss/>");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Connecting to 127.0.0.1.", "Connected.",
                                                   "begin 6", "end 6"}));
    EXPECT_TRUE(http.Connected());

    const std::string request = server.Requests().at(0);
    EXPECT_TRUE(request.starts_with("GET /feed.xml HTTP/1.1\r\n")) << request;
    EXPECT_EQ(RequestHeader(request, "Host"), "127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_EQ(RequestHeader(request, "Accept"), "text/html, */*");
    EXPECT_EQ(RequestHeader(request, "User-Agent"), "Mozilla/3.0 (compatible; Pelwick)");
    EXPECT_EQ(RequestHeader(request, "Content-Type"), "text/html");
    EXPECT_EQ(RequestHeader(request, "Authorization"), "");

    // The next Get reuses the open connection: no new connect is reported.
    log.lines.clear();
    EXPECT_EQ(Fetch(http, server.Url("/again")), "<rss/>");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"begin 6", "end 6"}));
    EXPECT_EQ(server.Connections(), 1);

    log.lines.clear();
    http.Disconnect();
    EXPECT_FALSE(http.Connected());
    http.Disconnect();  // also reported when nothing is open
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Disconnecting.", "Disconnected.",
                                                   "Disconnecting.", "Disconnected."}));
}

TEST(HTTPClient, HostNamesAreResolvedAndCredentialsNeverSent) {
    TLoopbackServer server(Answer(TLoopbackServer::Response("200 OK", "", "x")));
    THTTPClient http;
    TEventLog log(http);
    Fetch(http, "user:secret@localhost:" + std::to_string(server.Port()) + "/f");
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.front(), "Resolving hostname localhost.");
    EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "Connecting to 127.0.0.1."),
              log.lines.end());
    const std::string request = server.Requests().at(0);
    EXPECT_EQ(RequestHeader(request, "Host"), "localhost:" + std::to_string(server.Port()));
    EXPECT_EQ(RequestHeader(request, "Authorization"), "");
    EXPECT_EQ(request.find("secret"), std::string::npos);
}

// /hop/N redirects to /hop/N+1 up to last, which answers with a feed.
TLoopbackServer::TScript RedirectChain(int last) {
    return [last](TConnection& c, TLoopbackServer& server) {
        for (std::string request; !(request = c.ReadRequest()).empty();) {
            server.Record(request);
            const int n = std::atoi(RequestPath(request).substr(5).c_str());
            if (n >= last)
                c.Send(TLoopbackServer::Response("200 OK", "", "final"));
            else
                c.Send(TLoopbackServer::Response("302 Found",
                                                 "Location: /hop/" + std::to_string(n + 1) + "\r\n",
                                                 "moved " + std::to_string(n)));
        }
    };
}

TEST(HTTPClient, RedirectsFollowTheirOwnRules) {
    {
        TLoopbackServer server(RedirectChain(3));
        THTTPClient http;
        EXPECT_EQ(Fetch(http, server.Url("/hop/0")), "final");
        EXPECT_EQ(server.Requests().size(), 4u);
    }
    {
        // A chain that runs out ends after the 15th request: its last answer is a redirect,
        // not the document.
        TLoopbackServer server(RedirectChain(20));
        THTTPClient http;
        try {
            Fetch(http, server.Url("/hop/0"));
            ADD_FAILURE() << "a redirect's body was taken for the document";
        } catch (const EHTTPError& e) {
            EXPECT_STREQ(e.what(), "Too many redirects.");
        }
        EXPECT_EQ(server.Requests().size(), 15u);
    }
    {
        // Any response with a Location is a redirect, whatever its status.
        TLoopbackServer server([](TConnection& c, TLoopbackServer& s) {
            for (std::string r; !(r = c.ReadRequest()).empty();) {
                s.Record(r);
                c.Send(RequestPath(r) == "/a"
                           ? TLoopbackServer::Response("200 OK", "Location: /b\r\n", "a")
                           : TLoopbackServer::Response("200 OK", "", "b"));
            }
        });
        THTTPClient http;
        EXPECT_EQ(Fetch(http, server.Url("/a")), "b");
    }
    {
        // A redirect away from the web fails like an unknown scheme.
        TLoopbackServer server(
            Answer(TLoopbackServer::Response("301 Moved", "Location: file:///etc/passwd\r\n", "")));
        THTTPClient http;
        try {
            Fetch(http, server.Url("/"));
            ADD_FAILURE() << "file: redirect followed";
        } catch (const EHTTPError& e) {
            EXPECT_STREQ(e.what(), "");
        }
    }
}

TEST(HTTPClient, ErrorStatusesRaiseWithTheStatusLine) {
    const std::pair<std::string, int> cases[] = {{"404 Not Found", 404},
                                                 {"304 Not Modified", 304},
                                                 {"401 Unauthorized", 401},
                                                 {"407 Proxy Authentication Required", 407},
                                                 {"500 Internal Server Error", 500}};
    for (const auto& [status, code] : cases) {
        TLoopbackServer server(Answer(TLoopbackServer::Response(status, "", "oops")));
        THTTPClient http;
        const EHTTPProtocolError e =
            Raised<EHTTPProtocolError>([&] { Fetch(http, server.Url("/")); });
        EXPECT_EQ(std::string(e.what()), "HTTP/1.1 " + status);
        EXPECT_EQ(e.Code(), code);
        if (code != 304) {
            EXPECT_EQ(e.ErrorBody(), "oops") << status;
        }
    }
}

TEST(HTTPClient, ContinueIsSkippedAndNoContentHasNoBody) {
    TLoopbackServer server(Answer("HTTP/1.1 100 Continue\r\n\r\n" +
                                  TLoopbackServer::Response("204 No Content", "", "")));
    THTTPClient http;
    TEventLog log(http);
    EXPECT_EQ(Fetch(http, server.Url("/")), "");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Connecting to 127.0.0.1.", "Connected."}));
}

TEST(HTTPClient, ChunkedBodiesReportEveryChunk) {
    TLoopbackServer server(
        Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
               "5\r\nhello\r\n7;ext=1\r\n, world\r\n1\r\n!\r\n0\r\nX-Trailer: t\r\n\r\n"));
    THTTPClient http;
    TEventLog log(http);
    EXPECT_EQ(Fetch(http, server.Url("/")), "hello, world!");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Connecting to 127.0.0.1.", "Connected.",
                                                   "Chunk Started", "begin 5", "end 5", "begin 7",
                                                   "end 7", "begin 1", "end 1"}));
    EXPECT_TRUE(http.Connected());
}

TEST(HTTPClient, CloseDelimitedBodiesReadUntilTheServerCloses) {
    TLoopbackServer server([](TConnection& c, TLoopbackServer&) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nuntil the end");
        c.Close();
    });
    THTTPClient http;
    TEventLog log(http);
    EXPECT_EQ(Fetch(http, server.Url("/")), "until the end");
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Connecting to 127.0.0.1.", "Connected.", "begin 0",
                                        "end 13", "Disconnecting.", "Disconnected."}));
    EXPECT_FALSE(http.Connected());
}

TEST(HTTPClient, EarlyCloseEndsTheBodyWithoutError) {
    TLoopbackServer server([](TConnection& c, TLoopbackServer&) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this");
        c.Close();
    });
    THTTPClient http;
    EXPECT_EQ(Fetch(http, server.Url("/")), "only this");
}

TEST(HTTPClient, CookiesAreKeptAndSentBack) {
    TLoopbackServer server([](TConnection& c, TLoopbackServer& s) {
        for (std::string r; !(r = c.ReadRequest()).empty();) {
            s.Record(r);
            c.Send(
                RequestPath(r) == "/login"
                    ? TLoopbackServer::Response("200 OK", "Set-Cookie: session=abc; Path=/\r\n", "")
                    : TLoopbackServer::Response("200 OK", "", "feed"));
        }
    });
    THTTPClient http;
    Fetch(http, server.Url("/login"));
    http.Disconnect();  // cookies outlive the connection
    Fetch(http, server.Url("/feed"));
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(RequestHeader(server.Requests()[0], "Cookie"), "");
    EXPECT_EQ(RequestHeader(server.Requests()[1], "Cookie"), "session=abc");

    THTTPClient other;  // another client has its own cookies
    Fetch(other, server.Url("/feed"));
    EXPECT_EQ(RequestHeader(server.Requests().at(2), "Cookie"), "");
}

TEST(HTTPClient, SlowBodiesArriveWhileEventsAreProcessed) {
    const std::string body(2000, 'x');
    TLoopbackServer server([&](TConnection& c, TLoopbackServer&) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\n");
        c.SendSlowly(body, 200, 15);
    });
    TAntiFreeze guard;
    THTTPClient http;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    EXPECT_EQ(Fetch(http, server.Url("/")), body);
    EXPECT_GT(ticks, 3);  // the timer ran in the middle of the download
}

TEST(HTTPClient, StallsOversizeBodiesAndCancelsFail) {
    {
        TLoopbackServer server([](TConnection& c, TLoopbackServer&) {
            c.ReadRequest();
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc");
            c.Stall();
        });
        THTTPClient http;
        http.ReadTimeout = 200;
        const auto start = std::chrono::steady_clock::now();
        try {
            Fetch(http, server.Url("/"));
            ADD_FAILURE() << "a stalled transfer returned";
        } catch (const EHTTPError& e) {
            EXPECT_STREQ(e.what(), "Read timed out.");
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    {
        // Counted as it arrives, so chunked bodies are capped as well.
        std::string chunks = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
        for (int i = 0; i < 10; ++i)
            chunks += "200\r\n" + std::string(512, 'y') + "\r\n";
        TLoopbackServer server(Answer(chunks + "0\r\n\r\n"));
        THTTPClient http;
        http.MaxBodySize = 2048;
        TMemoryStream stream;
        EXPECT_THROW(http.Get(server.Url("/"), stream), EHTTPError);
        EXPECT_LE(stream.Size(), 2048u);
    }
    {
        TLoopbackServer server([](TConnection& c, TLoopbackServer&) {
            c.ReadRequest();
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\npart");
            c.Stall();
        });
        TAntiFreeze guard;
        THTTPClient http;
        TEventLog log(http);
        QTimer::singleShot(50, [&] { http.Disconnect(); });
        const auto start = std::chrono::steady_clock::now();
        TMemoryStream stream;
        EXPECT_THROW(http.Get(server.Url("/"), stream), EHTTPError);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_EQ(stream.Bytes(), "part");
        EXPECT_FALSE(http.Connected());
    }
}

TEST(HTTPClient, SchemesAndSocketErrors) {
    THTTPClient http;
    TMemoryStream stream;
    try {
        http.Get("ftp://127.0.0.1/feed", stream);
        ADD_FAILURE();
    } catch (const EHTTPError& e) {
        EXPECT_STREQ(e.what(), "");
    }
    http.SecureTransport = false;
    try {
        http.Get("https://127.0.0.1/feed", stream);
        ADD_FAILURE();
    } catch (const EHTTPError& e) {
        EXPECT_STREQ(e.what(), "IOHandler value is not valid");
    }

    int closedPort = 0;
    { closedPort = TLoopbackServer(Answer("")).Port(); }  // nothing listens there now
    try {
        http.Get("http://127.0.0.1:" + std::to_string(closedPort) + "/", stream);
        ADD_FAILURE();
    } catch (const ESocketError& e) {
        EXPECT_EQ(e.Code(), 10061);
        EXPECT_STREQ(e.what(), "Socket Error # 10061\nConnection refused.");
    }
    EXPECT_EQ(THTTPClient::SocketErrorText(11001), "Host not found.");
    EXPECT_EQ(THTTPClient::SocketErrorText(10060), "Connection timed out.");
    EXPECT_EQ(THTTPClient::SocketErrorText(10054), "Connection reset by peer.");
}

TEST(HTTPClient, AGetFromInsideAGetIsRefused) {
    TLoopbackServer server([](TConnection& c, TLoopbackServer&) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n");
        c.SendSlowly("abcd", 1, 30);
    });
    TAntiFreeze guard;
    THTTPClient http;
    std::string nested;
    QTimer::singleShot(20, [&] {
        TMemoryStream inner;
        try {
            http.Get(server.Url("/"), inner);
        } catch (const EHTTPError& e) {
            nested = e.what();
        }
    });
    EXPECT_EQ(Fetch(http, server.Url("/")), "abcd");
    EXPECT_EQ(nested, "A download is already running.");
}

// The environment's proxy settings apply: the proxy gets the request in absolute form (the
// feed's host is never looked up here), and no_proxy sends loopback addresses straight.
TEST(HTTPClient, ProxiesOfTheEnvironment) {
    std::string seen;
    TLoopbackServer proxy([&](TConnection& c, TLoopbackServer&) {
        seen = c.ReadRequest();
        c.Send(TLoopbackServer::Response("200 OK", "", "through the proxy"));
    });
    TLoopbackServer direct(Answer(TLoopbackServer::Response("200 OK", "", "direct")));
    const char* const names[] = {"no_proxy", "NO_PROXY"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : names) {
        if (const char* v = std::getenv(name)) saved.emplace_back(name, v);
        unsetenv(name);
    }
    setenv("http_proxy", proxy.Url("").c_str(), 1);
    THTTPClient http;
    EXPECT_EQ(Fetch(http, "http://feeds.example/news.xml"), "through the proxy");
    EXPECT_EQ(seen.substr(0, seen.find("\r\n")), "GET http://feeds.example/news.xml HTTP/1.1");
    setenv("no_proxy", "127.0.0.1", 1);
    http.Disconnect();
    EXPECT_EQ(Fetch(http, direct.Url("/")), "direct");
    unsetenv("no_proxy");
    unsetenv("http_proxy");
    for (const auto& [name, value] : saved)
        setenv(name.c_str(), value.c_str(), 1);
}

TEST(AntiFreeze, OnePerProcess) {
    TAntiFreeze guard;
    EXPECT_EQ(TAntiFreeze::Instance(), &guard);
    EXPECT_THROW(TAntiFreeze second, Exception);
    guard.Active = false;
    EXPECT_FALSE(TAntiFreeze::DoProcess());
}

}  // namespace
}  // namespace pelwick
