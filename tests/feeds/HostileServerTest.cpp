// Servers that misbehave on purpose: every download ends, in bounded time and memory, with
// an exact message (or with what arrived, where an early end is the body's end).
#include <gtest/gtest.h>

#include <zlib.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"
#include "support/LoopbackServer.h"

namespace pelwick {
namespace {

using test::TConnection;
using test::TLoopbackServer;
using TScript = std::function<void(TConnection&)>;

// bytes compressed as gzip (windowBits 31) or zlib (15).
std::string Compress(const std::string& bytes, int windowBits) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, bytes.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = uInt(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string Ok(const std::string& headers, const std::string& body) {
    return TLoopbackServer::Response("200 OK", headers, body);
}

struct TCase {
    const char* name;
    TScript script;
    const char* message;  // "" when the download succeeds
    std::string body;     // what the stream holds on success
};

TEST(HostileServers, EveryDownloadEndsWithAClearMessage) {
    const std::string feed = "<rss version=\"2.0\"><channel><title>T</title></channel></rss>";
    // Compressed before any clock runs: on a busy machine this alone can take a second.
    const std::string bomb = Compress(std::string(64 << 20, '\0'), 31);
    const TCase cases[] = {
        {"headers that never end",
         [](TConnection& c) {
             c.Send("HTTP/1.1 200 OK\r\n");
             for (int i = 0; i < 100000 && c.Send("X-More: yes\r\n"); ++i)
                 std::this_thread::sleep_for(std::chrono::milliseconds(5));
         },
         "Read timed out.", ""},
        {"ten thousand headers",
         [](TConnection& c) {
             std::string head = "HTTP/1.1 200 OK\r\n";
             for (int i = 0; i < 10000; ++i)
                 head += "X-Header-" + std::to_string(i) + ": some value\r\n";
             c.Send(head + "Content-Length: 2\r\n\r\nok");
             c.Stall();
         },
         "The response headers are too large.", ""},
        {"a body at a byte a time",
         [](TConnection& c) {
             c.Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
             c.SendSlowly(std::string(1000, 'x'), 1, 50);
         },
         "Read timed out.", ""},
        {"a Content-Length beyond the body",
         [&](TConnection& c) {
             c.Send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + feed);
             c.Close();
         },
         "", feed},
        {"a chunked body cut off",
         [](TConnection& c) {
             c.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n9\r\nab");
             c.Close();
         },
         "", "helloab"},
        {"an endless body",
         [](TConnection& c) {
             c.Send("HTTP/1.1 200 OK\r\n\r\n");
             const std::string piece(64 * 1024, 'z');
             while (c.Send(piece)) {
             }
         },
         "The response is larger than 1 MiB.", ""},
        {"a gzip bomb",
         [&](TConnection& c) {
             c.Send(Ok("Content-Encoding: gzip\r\n", bomb));
             c.Stall();
         },
         "The response is larger than 1 MiB.", ""},
        {"a damaged gzip body",
         [](TConnection& c) {
             c.Send(Ok("Content-Encoding: gzip\r\n", "\x1f\x8b\x08\x00garbage garbage"));
             c.Stall();
         },
         "The compressed response is damaged.", ""},
        {"a redirect loop",
         [](TConnection& c) {
             do
                 c.Send(TLoopbackServer::Response("302 Found", "Location: /again\r\n", ""));
             while (!c.ReadRequest().empty());
         },
         "Too many redirects.", ""},
        {"a redirect to ftp:",
         [](TConnection& c) {
             c.Send(TLoopbackServer::Response("301 Moved", "Location: ftp://127.0.0.1/\r\n", ""));
         },
         "", ""},
        {"a redirect to file:",
         [](TConnection& c) {
             c.Send(TLoopbackServer::Response("301 Moved", "Location: file:///etc/hosts\r\n", ""));
         },
         "", ""},
        {"a reset in the middle of a chunk",
         [](TConnection& c) {
             c.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n100\r\nhalf a ch");
             std::this_thread::sleep_for(std::chrono::milliseconds(100));
             c.Reset();
         },
         "Socket Error # 10054\nConnection reset by peer.", ""},
    };
    for (const TCase& row : cases) {
        SCOPED_TRACE(row.name);
        TLoopbackServer server([&](TConnection& c, TLoopbackServer&) {
            if (!c.ReadRequest().empty()) row.script(c);
        });
        THTTPClient http;
        http.MaxTime = 1500;
        http.MaxBodySize = 1 << 20;
        TMemoryStream stream;
        std::string message;
        bool raised = false;
        const auto start = std::chrono::steady_clock::now();
        try {
            http.Get(server.Url("/feed"), stream);
        } catch (const Exception& e) {
            raised = true;
            message = e.Message();
        }
        const bool failureExpected =
            *row.message != 0 || std::string(row.name).find("redirect to") != std::string::npos;
        EXPECT_EQ(raised, failureExpected);
        EXPECT_EQ(message, row.message);
        if (!raised) {
            EXPECT_EQ(stream.Bytes(), row.body);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
        EXPECT_LE(stream.Size(), std::size_t(1) << 20);
        http.Disconnect();
    }
}

// A port that speaks no TLS at all, asked for https.
TEST(HostileServers, AnHttpsPortThatSpeaksGarbage) {
    TLoopbackServer server([](TConnection& c, TLoopbackServer&) {
        c.Send(std::string(4096, '?'));
        c.Stall();
    });
    THTTPClient http;
    TMemoryStream stream;
    std::string address = server.Url("/");
    address.replace(0, 4, "https");
    try {
        http.Get(address, stream);
        ADD_FAILURE() << "garbage was taken for a secure answer";
    } catch (const EHTTPError& e) {
        EXPECT_STREQ(e.what(), "The secure connection failed.");
    }
}

// Compressed answers are asked for and decoded: gzip, zlib deflate and bare deflate.
TEST(HostileServers, CompressedAnswersAreDecoded) {
    const std::string feed(5000, 'f');
    const std::pair<const char*, std::string> bodies[] = {{"gzip", Compress(feed, 31)},
                                                          {"deflate", Compress(feed, 15)},
                                                          {"deflate", Compress(feed, -15)}};
    for (const auto& [encoding, body] : bodies) {
        std::string acceptEncoding;
        TLoopbackServer server([&](TConnection& c, TLoopbackServer&) {
            const std::string request = c.ReadRequest();
            acceptEncoding = test::RequestHeader(request, "Accept-Encoding");
            c.Send(Ok(std::string("Content-Encoding: ") + encoding + "\r\n", body));
        });
        THTTPClient http;
        TMemoryStream stream;
        http.Get(server.Url("/"), stream);
        EXPECT_EQ(stream.Bytes(), feed) << encoding;
        EXPECT_EQ(acceptEncoding, "gzip, deflate");
    }
}

}  // namespace
}  // namespace pelwick
