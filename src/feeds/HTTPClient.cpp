#include "feeds/HTTPClient.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <mutex>

#include "app/Strings.h"
#include "feeds/AntiFreeze.h"
#include "feeds/ChunkDecoder.h"
#include "feeds/HTTPErrors.h"
#include "feeds/Inflate.h"
#include "feeds/MemoryStream.h"

namespace pelwick {

namespace {

using TClock = std::chrono::steady_clock;

// How long the body of a redirect and of an error response may take before the client gives
// up on it and goes on with what it has.
constexpr int RedirectBodyWaitMs = 4000;
// All the header lines of one answer together; real servers send a few kilobytes.
constexpr std::int64_t MaxHeaderBytes = 256 * 1024;
constexpr int ErrorBodyWaitMs = 2000;
// How often a waiting transfer wakes up to pump events and check for cancellation.
constexpr int PumpPollMs = 10;
constexpr int QuietPollMs = 100;

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsNumericHost(std::string host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    unsigned char buffer[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), buffer) == 1 ||
           inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

std::string NumericAddress(const sockaddr* addr) {
    char host[NI_MAXHOST] = {};
    const socklen_t len = addr->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    if (getnameinfo(addr, len, host, sizeof(host), nullptr, 0, NI_NUMERICHOST) != 0) return "?";
    return host;
}

// Where the body of the response being read goes.
enum TBodySink { bsNone, bsStream, bsDiscard, bsErrorBody };

class TUrl {
  public:
    TUrl() : h_(curl_url()) {}
    ~TUrl() { curl_url_cleanup(h_); }
    TUrl(const TUrl&) = delete;
    TUrl& operator=(const TUrl&) = delete;

    bool Set(const std::string& url, unsigned flags) {
        if (curl_url_set(h_, CURLUPART_URL, url.c_str(), flags) == CURLUE_OK) return true;
        return curl_url_set(h_, CURLUPART_URL, url.c_str(), flags | CURLU_URLENCODE) == CURLUE_OK;
    }
    std::string Get(CURLUPart part, unsigned flags = 0) const {
        char* value = nullptr;
        if (curl_url_get(h_, part, &value, flags) != CURLUE_OK || !value) return {};
        std::string result = value;
        curl_free(value);
        return result;
    }
    void Clear(CURLUPart part) { curl_url_set(h_, part, nullptr, 0); }

  private:
    CURLU* h_;
};

}  // namespace

struct THTTPClient::TTransfer {
    TTransfer() = default;
    TTransfer(const TTransfer&) = delete;
    TTransfer& operator=(const TTransfer&) = delete;
    ~TTransfer() { curl_slist_free_all(headers); }

    THTTPClient* client = nullptr;
    TMemoryStream* stream = nullptr;
    curl_slist* headers = nullptr;
    std::string host;
    int requestCount = 0;
    bool newConnection = false;
    bool resolvingReported = false;

    // The response being read.
    std::string statusLine;
    int code = 0;
    bool chunked = false;
    bool hasLocation = false;
    std::string location;
    std::vector<std::pair<std::string, std::string>> rawHeaders;
    bool closeConnection = false;
    std::int64_t contentLength = -1;
    TBodySink sink = bsNone;
    std::string errorBody;
    std::int64_t bodyBytes = 0;
    std::int64_t workCount = 0;
    bool workOpen = false;
    TChunkDecoder chunks;
    TClock::time_point bodyDeadline = TClock::time_point::max();

    std::unique_ptr<TInflater> inflater;  // a compressed body's decoder
    std::int64_t headerBytes = 0;
    // The end of the whole Get, redirects included.
    TClock::time_point deadline = TClock::time_point::max();

    TClock::time_point lastActivity = TClock::now();
    bool connecting = true;
    std::string failure;    // set by a callback that stopped the transfer
    bool cutShort = false;  // a redirect or error body that took too long

    void ResetResponse() {
        statusLine.clear();
        code = 0;
        chunked = hasLocation = closeConnection = workOpen = false;
        location.clear();
        rawHeaders.clear();
        contentLength = -1;
        sink = bsNone;
        errorBody.clear();
        bodyBytes = workCount = 0;
        chunks = TChunkDecoder();
        bodyDeadline = TClock::time_point::max();
        inflater.reset();
    }
};

struct THTTPClient::TImpl {
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    CURLSH* share = nullptr;
    int openSockets = 0;
    bool busy = false;
    bool cancel = false;
    bool destroyed = false;
    TTransfer* transfer = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    TImpl() {
        GlobalInit();
        share = curl_share_init();
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    }
    ~TImpl() {
        CloseHandles();
        curl_share_cleanup(share);
    }
    // Connections live in the multi handle's pool; every request gets a fresh easy handle,
    // so no option of one request leaks into the next.
    void NewRequest() {
        if (!multi) multi = curl_multi_init();
        if (easy) curl_easy_cleanup(easy);
        easy = curl_easy_init();
    }
    // Closing the handles closes every connection they hold; cookies live in the share.
    void CloseHandles() {
        if (easy) curl_easy_cleanup(easy);
        if (multi) curl_multi_cleanup(multi);
        easy = nullptr;
        multi = nullptr;
    }
};

ESocketError::ESocketError(int code, const std::string& text)
    : Exception("Socket Error # " + std::to_string(code) + "\n" + text), code_(code) {}

std::string THTTPResponse::Header(const std::string& name) const {
    for (const auto& [key, value] : RawHeaders)
        if (SameText(key, name)) return value;
    return {};
}

std::string THTTPClient::SocketErrorText(int code) {
    return pelwick::SocketErrorText(code);
}

THTTPClient::THTTPClient() : impl_(std::make_shared<TImpl>()) {}

THTTPClient::~THTTPClient() {
    // A Get further up the stack (we are being destroyed from an event it pumped) notices
    // this and unwinds without touching the client again.
    impl_->destroyed = true;
    impl_->cancel = true;
}

void THTTPClient::Status(THTTPClient::THTTPStatus status, const std::string& text) {
    if (OnStatus) OnStatus(*this, status, text);
}

bool THTTPClient::Connected() const {
    return impl_->openSockets > 0;
}

void THTTPClient::Disconnect() {
    Status(THTTPClient::hsDisconnecting, "Disconnecting.");
    if (impl_->busy)
        impl_->cancel = true;  // the running Get closes the handles as it unwinds
    else
        impl_->CloseHandles();
    Status(THTTPClient::hsDisconnected, "Disconnected.");
}

// libcurl's callbacks, with access to the client's private state.
struct THTTPCallbacks {
    using TTransfer = THTTPClient::TTransfer;

    static TTransfer& Of(void* p) { return *static_cast<TTransfer*>(p); }

    static int ResolverStart(void*, void*, void* clientp) {
        ReportResolving(Of(clientp));
        return 0;
    }

    static void ReportResolving(TTransfer& t) {
        if (t.resolvingReported || IsNumericHost(t.host)) return;
        t.resolvingReported = true;
        t.client->Status(THTTPClient::hsResolving, "Resolving hostname " + t.host + ".");
    }

    static curl_socket_t OpenSocket(void* clientp, curlsocktype, curl_sockaddr* address) {
        TTransfer& t = Of(clientp);
        // A name the transport still had resolved is reported all the same.
        ReportResolving(t);
        t.client->Status(THTTPClient::hsConnecting,
                         "Connecting to " + NumericAddress(&address->addr) + ".");
        const int fd = ::socket(address->family, address->socktype, address->protocol);
        if (fd < 0) return CURL_SOCKET_BAD;
        ++t.client->impl_->openSockets;
        t.newConnection = true;
        return fd;
    }

    static int CloseSocket(void* clientp, curl_socket_t fd) {
        auto* impl = static_cast<THTTPClient::TImpl*>(clientp);
        if (impl->openSockets > 0) --impl->openSockets;
        return ::close(fd);
    }

    static int PreRequest(void* clientp, char*, char*, int, int) {
        TTransfer& t = Of(clientp);
        if (t.newConnection) t.client->Status(THTTPClient::hsConnected, "Connected.");
        t.connecting = false;
        t.lastActivity = TClock::now();
        return CURL_PREREQFUNC_OK;
    }

    static int Progress(void* clientp, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return Of(clientp).client->Stopped() ? 1 : 0;
    }

    static size_t Header(char* data, size_t size, size_t count, void* clientp) {
        TTransfer& t = Of(clientp);
        const size_t n = size * count;
        t.lastActivity = TClock::now();
        if (t.client->impl_->cancel) return 0;
        // Headers that never end, or come by the thousand, stop here.
        t.headerBytes += std::int64_t(n);
        if (t.headerBytes > MaxHeaderBytes) {
            t.failure = "The response headers are too large.";
            return 0;
        }
        std::string line(data, n);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.starts_with("HTTP/")) {
            t.ResetResponse();
            t.statusLine = line;
            const size_t sp = line.find(' ');
            t.code = sp == std::string::npos ? 0 : std::atoi(line.c_str() + sp + 1);
            // HTTP/1.0 closes unless it says otherwise.
            t.closeConnection = line.starts_with("HTTP/1.0");
        } else if (line.empty()) {
            if (t.code >= 200 || t.code < 100) HeadersDone(t);
        } else {
            HeaderField(t, line);
        }
        return n;
    }

    static void HeaderField(TTransfer& t, const std::string& line) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) return;
        const std::string name = TrimBlanks(line.substr(0, colon));
        const std::string value = TrimBlanks(line.substr(colon + 1));
        t.rawHeaders.emplace_back(name, value);
        if (SameText(name, "Content-Length")) {
            t.contentLength = TryParseInt(value).value_or(-1);
            if (t.contentLength < 0) {
                char* end = nullptr;
                const long long v = std::strtoll(value.c_str(), &end, 10);
                t.contentLength = (end && *end == 0 && v >= 0) ? v : -1;
            }
        } else if (SameText(name, "Transfer-Encoding")) {
            t.chunked = PosNoCase("chunked", value) > 0;
        } else if (SameText(name, "Location")) {
            t.hasLocation = true;
            t.location = value;
        } else if (SameText(name, "Content-Encoding")) {
            t.inflater = TInflater::For(value);
        } else if (SameText(name, "Connection")) {
            if (SameText(value, "close")) t.closeConnection = true;
            if (SameText(value, "keep-alive")) t.closeConnection = false;
        }
    }

    static void HeadersDone(TTransfer& t) {
        THTTPClient& c = *t.client;
        const bool redirect = (t.code >= 300 && t.code < 400 && t.code != 304) || t.hasLocation;
        const auto now = TClock::now();
        if (redirect && c.HandleRedirects) {
            if (t.requestCount < c.RedirectMaximum) {
                t.sink = bsDiscard;
                t.bodyDeadline = now + std::chrono::milliseconds(RedirectBodyWaitMs);
            } else {
                t.sink = bsStream;
            }
        } else if (t.code >= 200 && t.code < 300) {
            t.sink = bsStream;
        } else {
            t.sink = bsErrorBody;
            t.bodyDeadline = now + std::chrono::milliseconds(ErrorBodyWaitMs);
        }
        if (t.code == 204 || t.code == 304) return;
        if (t.chunked) {
            c.Status(THTTPClient::hsChunkStarted, "Chunk Started");
            t.chunks.OnChunkBegin = [&t](std::int64_t size) { BeginWork(t, size); };
            t.chunks.OnData = [&t](std::string_view d, std::int64_t count) {
                Deliver(t, d);
                t.workCount = count;
                if (t.client->OnWork) t.client->OnWork(*t.client, THTTPClient::wmRead, count);
            };
            t.chunks.OnChunkEnd = [&t] { EndWork(t); };
        } else {
            BeginWork(t, t.contentLength < 0 ? 0 : t.contentLength);
        }
    }

    static void BeginWork(TTransfer& t, std::int64_t expected) {
        t.workOpen = true;
        t.workCount = 0;
        if (t.client->OnWorkBegin) t.client->OnWorkBegin(*t.client, THTTPClient::wmRead, expected);
    }

    static void EndWork(TTransfer& t) {
        if (!t.workOpen) return;
        t.workOpen = false;
        if (t.client->OnWorkEnd) t.client->OnWorkEnd(*t.client, THTTPClient::wmRead);
    }

    // A compressed body is decoded first, so that the size limit holds for what it becomes.
    static void Deliver(TTransfer& t, std::string_view data) {
        if (!t.inflater || t.sink == bsDiscard) {
            DeliverDecoded(t, data);
            return;
        }
        const bool ok = t.inflater->Feed(data, [&t](std::string_view d) {
            DeliverDecoded(t, d);
            return t.failure.empty();
        });
        if (!ok && t.failure.empty()) t.failure = "The compressed response is damaged.";
    }

    static void DeliverDecoded(TTransfer& t, std::string_view data) {
        t.bodyBytes += std::int64_t(data.size());
        if (t.bodyBytes > t.client->MaxBodySize) {
            t.failure = "The response is larger than " +
                        std::to_string(t.client->MaxBodySize >> 20) + " MiB.";
            return;
        }
        if (t.sink == bsStream)
            t.stream->Write(data.data(), data.size());
        else if (t.sink == bsErrorBody)
            t.errorBody.append(data);
    }

    static size_t Write(char* data, size_t size, size_t count, void* clientp) {
        TTransfer& t = Of(clientp);
        const size_t n = size * count;
        t.lastActivity = TClock::now();
        if (t.client->impl_->cancel) return 0;
        const std::string_view bytes(data, n);
        if (t.chunked) {
            if (!t.chunks.Feed(bytes)) t.failure = "Invalid chunked transfer encoding.";
        } else {
            Deliver(t, bytes);
            t.workCount += std::int64_t(n);
            if (t.client->OnWork) t.client->OnWork(*t.client, THTTPClient::wmRead, t.workCount);
            if (t.contentLength >= 0 && t.workCount >= t.contentLength) EndWork(t);
        }
        return t.failure.empty() ? n : 0;
    }
};

void THTTPClient::CheckScheme(const std::string& scheme) const {
    if (scheme == "http") return;
    if (scheme == "https") {
        const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
        const bool tls = info && (info->features & CURL_VERSION_SSL);
        if (SecureTransport && tls) return;
        throw EHTTPError("IOHandler value is not valid");
    }
    throw EHTTPError("");
}

void THTTPClient::Configure(TTransfer& t, const std::string& url, const std::string& hostHeader) {
    CURL* e = impl_->easy;
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // The proxy settings of the environment (http_proxy, https_proxy, no_proxy) apply.
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(ConnectTimeout));
    curl_easy_setopt(e, CURLOPT_USERAGENT, Request.UserAgent.c_str());
    // Chunks arrive as they were framed, so each one can be reported with its size.
    curl_easy_setopt(e, CURLOPT_HTTP_TRANSFER_DECODING, 0L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, impl_->errorBuffer);
    if (!CAFile.empty()) curl_easy_setopt(e, CURLOPT_CAINFO, CAFile.c_str());
    if (AllowCookies) {
        // The share's cookie jar is the client's: it outlives connections and handles.
        curl_easy_setopt(e, CURLOPT_SHARE, impl_->share);
        curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    }
    curl_easy_setopt(e, CURLOPT_RESOLVER_START_FUNCTION, &THTTPCallbacks::ResolverStart);
    curl_easy_setopt(e, CURLOPT_RESOLVER_START_DATA, &t);
    curl_easy_setopt(e, CURLOPT_OPENSOCKETFUNCTION, &THTTPCallbacks::OpenSocket);
    curl_easy_setopt(e, CURLOPT_OPENSOCKETDATA, &t);
    curl_easy_setopt(e, CURLOPT_CLOSESOCKETFUNCTION, &THTTPCallbacks::CloseSocket);
    curl_easy_setopt(e, CURLOPT_CLOSESOCKETDATA, impl_.get());
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, &THTTPCallbacks::PreRequest);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, &t);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &THTTPCallbacks::Header);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &THTTPCallbacks::Write);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    if (Stop) {
        curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &THTTPCallbacks::Progress);
        curl_easy_setopt(e, CURLOPT_XFERINFODATA, &t);
    }
    if (LowSpeedTime > 0) {
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, long(LowSpeedTime));
    }

    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, ("Host: " + hostHeader).c_str());
    headers = curl_slist_append(headers, ("Content-Type: " + Request.ContentType).c_str());
    headers = curl_slist_append(headers, ("Accept: " + Request.Accept).c_str());
    // Decoded by the client itself (chunks are read as they are framed).
    curl_easy_setopt(e, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    headers = curl_slist_append(headers, "Accept-Encoding: gzip, deflate");
    for (const std::string& line : Request.CustomHeaders)
        headers = curl_slist_append(headers, line.c_str());
    if (Request.ContentLength >= 0)
        headers = curl_slist_append(
            headers, ("Content-Length: " + std::to_string(Request.ContentLength)).c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers);
    curl_slist_free_all(t.headers);
    t.headers = headers;
}

void THTTPClient::Get(const std::string& address, TMemoryStream& stream) {
    if (impl_->busy) throw EHTTPError("A download is already running.");
    const std::shared_ptr<TImpl> keep = impl_;
    TTransfer t;
    t.client = this;
    t.stream = &stream;
    Response = THTTPResponse();
    // An address without a scheme is http (the transport would guess https).
    std::string current = address.find("://") == std::string::npos ? "http://" + address : address;
    TUrl url;
    if (MaxTime > 0) t.deadline = TClock::now() + std::chrono::milliseconds(MaxTime);
    for (;;) {
        // Resolved against the previous address, so relative redirects work.
        const unsigned flags = CURLU_NON_SUPPORT_SCHEME;
        if (!url.Set(current, flags)) {
            if (t.requestCount > 0) throw EHTTPError("");
            throw EHTTPError("Invalid address: " + current);
        }
        CheckScheme(LowerAscii(url.Get(CURLUPART_SCHEME)));
        // Credentials written into an address are never sent.
        url.Clear(CURLUPART_USER);
        url.Clear(CURLUPART_PASSWORD);
        url.Clear(CURLUPART_OPTIONS);
        url.Clear(CURLUPART_FRAGMENT);
        t.host = url.Get(CURLUPART_HOST);
        const std::string port = url.Get(CURLUPART_PORT, CURLU_DEFAULT_PORT);
        const std::string hostHeader = port == "80" || port.empty() ? t.host : t.host + ":" + port;

        impl_->NewRequest();
        Configure(t, url.Get(CURLUPART_URL), hostHeader);
        t.ResetResponse();
        t.newConnection = t.resolvingReported = false;
        t.connecting = true;
        t.failure.clear();
        t.cutShort = false;
        t.headerBytes = 0;
        ++t.requestCount;
        Perform(t, keep);
        if (t.closeConnection || !Connected()) Disconnect();
        Response.ResponseCode = t.code;
        Response.RawHeaders = t.rawHeaders;

        const bool redirect = (t.code >= 300 && t.code < 400 && t.code != 304) || t.hasLocation;
        if (redirect && HandleRedirects) {
            // The last answer of a chain that runs out is a redirect, not the document.
            if (t.requestCount >= RedirectMaximum) throw EHTTPError("Too many redirects.");
            current = t.location;
            continue;
        }
        if (t.code >= 200 && t.code < 300) return;
        throw EHTTPProtocolError(t.statusLine, t.code, t.errorBody);
    }
}

void THTTPClient::Perform(TTransfer& t, const std::shared_ptr<TImpl>& keep) {
    TImpl& impl = *keep;
    impl.busy = true;
    impl.cancel = false;
    impl.errorBuffer[0] = 0;
    curl_multi_add_handle(impl.multi, impl.easy);
    CURLcode result = CURLE_OK;
    bool done = false;
    bool stalled = false;
    while (!done) {
        int running = 0;
        curl_multi_perform(impl.multi, &running);
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(impl.multi, &queued)) {
            if (msg->msg == CURLMSG_DONE) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || impl.cancel || Stopped() || !t.failure.empty()) break;
        const auto now = TClock::now();
        if (now >= t.bodyDeadline) {
            t.cutShort = true;
            break;
        }
        // A server that goes quiet, and one that trickles its answer for ever, both end.
        if ((!t.connecting && ReadTimeout > 0 &&
             now - t.lastActivity >= std::chrono::milliseconds(ReadTimeout)) ||
            now >= t.deadline) {
            stalled = true;
            break;
        }
        // A worker's client waits in short slices too, so that its stop flag ends it at once.
        const bool pump = !Stop && TAntiFreeze::Instance() && TAntiFreeze::Instance()->Active;
        curl_multi_poll(impl.multi, nullptr, 0, pump || Stop ? PumpPollMs : QuietPollMs, nullptr);
        if (pump) {
            TAntiFreeze::DoProcess();
            // The client may be gone now: touch nothing of it, only the shared state.
            if (impl.destroyed) {
                curl_multi_remove_handle(impl.multi, impl.easy);
                impl.CloseHandles();
                impl.busy = false;
                throw EHTTPCancelled();
            }
        }
    }
    curl_multi_remove_handle(impl.multi, impl.easy);
    impl.busy = false;
    if (done && result == CURLE_OK) {
        THTTPCallbacks::EndWork(t);
        // The whole body came, but its compressed stream did not end: it is no document.
        if (t.inflater && t.sink == bsStream && !t.inflater->Finished()) {
            impl.CloseHandles();
            throw EHTTPError("The compressed response is damaged.");
        }
        return;
    }
    // A transfer that ended early leaves its connection in an unknown state: close it.
    const bool cancelled = impl.cancel || Stopped();
    long osErrno = 0;
    curl_easy_getinfo(impl.easy, CURLINFO_OS_ERRNO, &osErrno);
    impl.CloseHandles();
    if (t.cutShort) {
        THTTPCallbacks::EndWork(t);
        return;
    }
    if (cancelled) throw EHTTPCancelled();
    if (!t.failure.empty()) throw EHTTPError(t.failure);
    if (stalled) throw EHTTPError("Read timed out.");
    RaiseTransferError(t, int(result), int(osErrno));
}

void THTTPClient::RaiseTransferError(TTransfer& t, int curlCode, int osErrno) {
    const CURLcode code = CURLcode(curlCode);
    switch (code) {
        case CURLE_PARTIAL_FILE:
            // A server that closes early ends the body; what arrived is the body.
            THTTPCallbacks::EndWork(t);
            return;
        case CURLE_COULDNT_RESOLVE_HOST:
            throw ESocketError(wsaHostNotFound, SocketErrorText(wsaHostNotFound));
        case CURLE_COULDNT_CONNECT: {
            const int socketCode = SocketErrorFromErrno(osErrno, wsaConnRefused);
            throw ESocketError(socketCode, SocketErrorText(socketCode));
        }
        case CURLE_OPERATION_TIMEDOUT:
            throw ESocketError(wsaTimedOut, SocketErrorText(wsaTimedOut));
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR: {
            const int socketCode = SocketErrorFromErrno(osErrno, wsaConnReset);
            throw ESocketError(socketCode, SocketErrorText(socketCode));
        }
        case CURLE_GOT_NOTHING:
            throw EHTTPError("Connection Closed Gracefully.");
        case CURLE_SSL_CONNECT_ERROR:
            // Whatever the port answered, it was no secure connection.
            throw EHTTPError("The secure connection failed.");
        case CURLE_UNSUPPORTED_PROTOCOL:
            throw EHTTPError("");
        default:
            throw EHTTPError(impl_->errorBuffer[0] ? impl_->errorBuffer : curl_easy_strerror(code));
    }
}

}  // namespace pelwick
