#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pelwick::test {

// One accepted connection of a TLoopbackServer, driven by a test's script.
class TConnection {
  public:
    TConnection(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}
    // Reads one request head (up to the blank line); "" when the peer closed or the server
    // stops.
    std::string ReadRequest();
    bool Send(const std::string& bytes);
    // Sends bytes in pieces of pieceSize with pauseMs between them.
    bool SendSlowly(const std::string& bytes, size_t pieceSize, int pauseMs);
    // Waits without sending until the peer closes or the server stops.
    void Stall();
    void Close();
    // Closes with a reset instead of an orderly end, as a crashed server would.
    void Reset();
    int Number() const { return number_; }

  private:
    friend class TLoopbackServer;
    int fd_;
    int number_ = 0;
    std::string pending_;
    const std::atomic<bool>& stopping_;
};

// A scripted HTTP server on 127.0.0.1 and an ephemeral port, for tests and benchmarks. Every
// connection runs the script on a thread of its own; the raw request heads are recorded.
class TLoopbackServer {
  public:
    using TScript = std::function<void(TConnection& connection, TLoopbackServer& server)>;

    explicit TLoopbackServer(TScript script);
    ~TLoopbackServer();
    TLoopbackServer(const TLoopbackServer&) = delete;
    TLoopbackServer& operator=(const TLoopbackServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const;
    std::vector<std::string> Requests() const;
    int Connections() const { return connections_; }
    void Record(const std::string& request);

    // A script that records every request of a connection and answers each with what reply
    // gives for it (reply runs on the connection's thread); "" closes the connection instead.
    static TScript Replies(std::function<std::string(const std::string& request)> reply);

    // A response with the given status line, extra header lines and a Content-Length body.
    static std::string Response(const std::string& status, const std::string& headers,
                                const std::string& body);

  private:
    void AcceptLoop();

    TScript script_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::thread acceptThread_;
    mutable std::mutex mutex_;
    std::vector<std::thread> workers_;
    std::vector<std::string> requests_;
};

// The path of a request head's request line ("GET /a HTTP/1.1" gives "/a").
std::string RequestPath(const std::string& request);
// The value of a header in a request head, "" when absent.
std::string RequestHeader(const std::string& request, const std::string& name);

}  // namespace pelwick::test
