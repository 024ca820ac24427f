#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "app/Strings.h"

namespace pelwick::test {

namespace {
constexpr int PollSliceMs = 20;
}

std::string TConnection::ReadRequest() {
    for (;;) {
        const size_t end = pending_.find("\r\n\r\n");
        if (end != std::string::npos) {
            std::string head = pending_.substr(0, end + 4);
            pending_.erase(0, end + 4);
            return head;
        }
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, PollSliceMs);
        if (stopping_) return {};
        if (ready <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof(buffer), 0);
        if (n <= 0) return {};
        pending_.append(buffer, size_t(n));
    }
}

bool TConnection::Send(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

bool TConnection::SendSlowly(const std::string& bytes, size_t pieceSize, int pauseMs) {
    for (size_t i = 0; i < bytes.size(); i += pieceSize) {
        if (stopping_ || !Send(bytes.substr(i, pieceSize))) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }
    return true;
}

void TConnection::Stall() {
    while (!stopping_) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, PollSliceMs) > 0) {
            char buffer[1024];
            if (::recv(fd_, buffer, sizeof(buffer), 0) <= 0) return;
        }
    }
}

void TConnection::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void TConnection::Reset() {
    if (fd_ < 0) return;
    const linger abort{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    Close();
}

TLoopbackServer::TLoopbackServer(TScript script) : script_(std::move(script)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("loopback server: cannot listen");
    port_ = ntohs(addr.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

TLoopbackServer::~TLoopbackServer() {
    stopping_ = true;
    acceptThread_.join();
    ::close(listenFd_);
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    for (std::thread& w : workers)
        w.join();
}

void TLoopbackServer::AcceptLoop() {
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, PollSliceMs) <= 0) continue;
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        const int number = ++connections_;
        std::lock_guard lock(mutex_);
        workers_.emplace_back([this, fd, number] {
            TConnection connection(fd, stopping_);
            connection.number_ = number;
            script_(connection, *this);
            connection.Close();
        });
    }
}

std::string TLoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TLoopbackServer::Record(const std::string& request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
}

std::vector<std::string> TLoopbackServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

TLoopbackServer::TScript TLoopbackServer::Replies(
    std::function<std::string(const std::string& request)> reply) {
    return [reply = std::move(reply)](TConnection& c, TLoopbackServer& server) {
        for (std::string r; !(r = c.ReadRequest()).empty();) {
            server.Record(r);
            const std::string answer = reply(r);
            if (answer.empty() || !c.Send(answer)) return;
        }
    };
}

std::string TLoopbackServer::Response(const std::string& status, const std::string& headers,
                                      const std::string& body) {
    return "HTTP/1.1 " + status + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string RequestPath(const std::string& request) {
    const size_t a = request.find(' ');
    const size_t b = request.find(' ', a + 1);
    return a == std::string::npos || b == std::string::npos ? "" : request.substr(a + 1, b - a - 1);
}

std::string RequestHeader(const std::string& request, const std::string& name) {
    size_t start = request.find("\r\n");
    while (start != std::string::npos && start + 2 < request.size()) {
        const size_t end = request.find("\r\n", start + 2);
        const std::string line = request.substr(start + 2, end - start - 2);
        const size_t colon = line.find(':');
        if (colon != std::string::npos && SameText(line.substr(0, colon), name))
            return TrimBlanks(line.substr(colon + 1));
        start = end;
    }
    return {};
}

}  // namespace pelwick::test
