#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Exception.h"

namespace pelwick {

class TMemoryStream;

// A failure of the transport: "Socket Error # <code>" and a line break and the text for the
// code, with the classic socket error numbers (11001 host not found, 10061 refused, ...).
class ESocketError : public Exception {
  public:
    ESocketError(int code, const std::string& text);
    int Code() const { return code_; }

  private:
    int code_;
};

// The server answered with a status that is neither success nor a redirect that was
// followed. The message is the status line as received ("HTTP/1.1 404 Not Found").
class EHTTPProtocolError : public Exception {
  public:
    EHTTPProtocolError(const std::string& statusLine, int code, std::string body)
        : Exception(statusLine), code_(code), body_(std::move(body)) {}
    int Code() const { return code_; }
    const std::string& ErrorBody() const { return body_; }

  private:
    int code_;
    std::string body_;
};

// Anything else that ends a transfer: read time-out, body too large, a cancelled transfer,
// an unsupported scheme (empty message), certificate problems.
class EHTTPError : public Exception {
  public:
    using Exception::Exception;
};

// Disconnect (or the client's end) cut a running Get short: nothing went wrong with the server.
class EHTTPCancelled : public EHTTPError {
  public:
    EHTTPCancelled() : EHTTPError("The download was cancelled.") {}
};

// The request headers every download sends.
struct THTTPRequest {
    std::string Accept = "text/html, */*";
    std::string UserAgent = "Mozilla/3.0 (compatible; Pelwick)";
    std::string ContentType = "text/html";
    std::int64_t ContentLength = -1;
    bool BasicAuthentication = false;
    // Further header lines ("If-None-Match: \"x\""), sent with every request of a Get.
    std::vector<std::string> CustomHeaders;
};

// What the last answer of a Get said: its status and header lines, in the order received.
// Empty when no answer came.
struct THTTPResponse {
    int ResponseCode = 0;
    std::vector<std::pair<std::string, std::string>> RawHeaders;
    // The first header of that name (without case), "" when absent.
    std::string Header(const std::string& name) const;
};

// Fetches feeds with HTTP/1.1 GET into memory on the calling (UI) thread. While a transfer
// waits, the process's message-pump guard (TAntiFreeze) keeps window events flowing, so a
// handler may call Disconnect to cut a running Get short. Redirects, statuses and cookies
// follow the component's own rules rather than the transport's.
class THTTPClient {
  public:
    enum THTTPStatus {
        hsResolving,
        hsConnecting,
        hsConnected,
        hsChunkStarted,
        hsDisconnecting,
        hsDisconnected
    };
    enum TWorkMode { wmRead, wmWrite };

    THTTPClient();
    ~THTTPClient();
    THTTPClient(const THTTPClient&) = delete;
    THTTPClient& operator=(const THTTPClient&) = delete;

    // Sends a GET for address and writes the response body into stream from its current
    // position. Raises ESocketError, EHTTPProtocolError or EHTTPError on failure; the stream
    // may then hold part of a body.
    void Get(const std::string& address, TMemoryStream& stream);
    // True while the connection of the last request is still open.
    bool Connected() const;
    // Closes the connection (also in the middle of a Get, which then fails). Reports
    // "Disconnecting." and "Disconnected." even when nothing was open.
    void Disconnect();

    THTTPRequest Request;
    // The last Get's answer (the final one of a chain of redirects).
    THTTPResponse Response;
    bool HandleRedirects = true;
    int RedirectMaximum = 15;
    bool AllowCookies = true;
    // Milliseconds; a transfer that receives nothing for this long fails ("Read timed out.").
    // 0 waits for ever.
    int ReadTimeout = 60000;
    int ConnectTimeout = 120000;
    // Milliseconds the whole Get may take, redirects included, however steadily the server
    // sends ("Read timed out."); 0 for no limit.
    int MaxTime = 120000;
    // Seconds; a transfer that averages under a byte a second for this long fails, so that a
    // server that trickles or falls silent is given up early. 0 for no such limit.
    int LowSpeedTime = 0;
    // When set, raising it from any thread ends a running Get with EHTTPCancelled at once. A
    // client that runs on a worker thread has one, and never pumps the UI thread's events.
    const std::atomic<bool>* Stop = nullptr;
    // A body larger than this (decoded, when it came compressed) fails instead of exhausting
    // memory.
    std::int64_t MaxBodySize = std::int64_t(32) << 20;
    // https needs the secure transport; without it https fails with "IOHandler value is not
    // valid".
    bool SecureTransport = true;
    // Certificate authorities to trust instead of the system's (PEM file); tests use it.
    std::string CAFile;

    std::function<void(THTTPClient& sender, THTTPStatus status, const std::string& text)> OnStatus;
    std::function<void(THTTPClient& sender, TWorkMode mode, std::int64_t expected)> OnWorkBegin;
    std::function<void(THTTPClient& sender, TWorkMode mode, std::int64_t count)> OnWork;
    std::function<void(THTTPClient& sender, TWorkMode mode)> OnWorkEnd;

    // The classic text for a socket error number ("Host not found.").
    static std::string SocketErrorText(int code);

  private:
    struct TTransfer;
    struct TImpl;
    friend struct THTTPCallbacks;

    void Status(THTTPStatus status, const std::string& text);
    bool Stopped() const { return Stop && Stop->load(); }
    void CheckScheme(const std::string& scheme) const;
    void Configure(TTransfer& transfer, const std::string& url, const std::string& hostHeader);
    void Perform(TTransfer& transfer, const std::shared_ptr<TImpl>& keep);
    void RaiseTransferError(TTransfer& transfer, int curlCode, int osErrno);

    // Shared with a running Get, which may outlive the client when an event handler it
    // pumped destroys the client.
    std::shared_ptr<TImpl> impl_;
};

}  // namespace pelwick
