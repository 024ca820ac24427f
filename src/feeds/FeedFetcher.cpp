#include "feeds/FeedFetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <exception>

#include "app/Strings.h"
#include "feeds/HTTPClient.h"
#include "feeds/MemoryStream.h"

namespace pelwick {

namespace {

constexpr std::int64_t MaxRetryAfter = 24 * 3600;
constexpr std::int64_t FirstBackOff = 60;

// The conditions go with this Get only; the client's own headers come back afterwards.
class TConditionalHeaders {
  public:
    TConditionalHeaders(THTTPRequest& request, const std::optional<TFeedStore::TEntry>& stored)
        : request_(request), saved_(request.CustomHeaders) {
        if (!stored) return;
        if (!stored->ETag.empty())
            request_.CustomHeaders.push_back("If-None-Match: " + stored->ETag);
        if (!stored->LastModified.empty())
            request_.CustomHeaders.push_back("If-Modified-Since: " + stored->LastModified);
    }
    ~TConditionalHeaders() { request_.CustomHeaders = std::move(saved_); }
    TConditionalHeaders(const TConditionalHeaders&) = delete;
    TConditionalHeaders& operator=(const TConditionalHeaders&) = delete;

  private:
    THTTPRequest& request_;
    std::vector<std::string> saved_;
};

std::string MessageOf(const std::exception& e, const char* otherwise) {
    const std::string message = e.what();
    return message.empty() ? otherwise : message;
}

}  // namespace

std::optional<std::int64_t> TFeedFetcher::RetryAfterSeconds(const std::string& value,
                                                            std::int64_t now) {
    const std::string text = TrimBlanks(value);
    if (text.empty()) return std::nullopt;
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return text.size() > 6 ? MaxRetryAfter
                               : std::min<std::int64_t>(std::stoll(text), MaxRetryAfter);
    const time_t date = curl_getdate(text.c_str(), nullptr);
    if (date == time_t(-1)) return std::nullopt;
    return std::clamp<std::int64_t>(std::int64_t(date) - now, 0, MaxRetryAfter);
}

std::int64_t TFeedFetcher::BackOffSeconds(int failures) const {
    // One failure may be a passing hiccup: the feed's next turn asks again.
    if (failures < 2) return 0;
    const std::int64_t cap =
        std::max<std::int64_t>(std::int64_t(RefreshMinutes) * 60, FirstBackOff);
    std::int64_t wait = FirstBackOff;
    for (int i = 2; i < failures && wait < cap; ++i)
        wait *= 2;
    return std::min(wait, cap);
}

TFeedFetcher::TResult TFeedFetcher::Fetch(const std::string& address, const TParse& parse) {
    std::optional<TFeedStore::TEntry> stored = store_.Read(address);
    const std::int64_t now = store_.Now();
    // A copy from the future (the clock was put back) is not trusted to be fresh.
    if (stored && RefreshMinutes > 0 && now >= stored->FetchedAt &&
        now - stored->FetchedAt < std::int64_t(RefreshMinutes) * 60)
        return ShowStored(*stored, parse, "fresh");
    const std::int64_t notBefore =
        std::max(states_[address].notBefore, stored ? stored->RetryAfter : 0);
    if (now < notBefore) {
        const std::string why = "not asking again for " + std::to_string(notBefore - now) + " s";
        if (stored) return ShowStored(*stored, parse, why);
        throw EFeedWait(address + ": " + why);
    }
    return Download(address, stored, parse);
}

TFeedFetcher::TResult TFeedFetcher::Download(const std::string& address,
                                             std::optional<TFeedStore::TEntry>& stored,
                                             const TParse& parse) {
    TMemoryStream stream;
    try {
        const TConditionalHeaders conditions(http_.Request, stored);
        http_.Get(address, stream);
    } catch (const EHTTPCancelled&) {
        throw;  // a newer load took over; this one shows nothing and nothing failed
    } catch (const EHTTPProtocolError& e) {
        if (e.Code() == 304 && stored) {
            states_.erase(address);
            stored->FetchedAt = store_.Now();
            stored->RetryAfter = 0;
            Save(*stored);
            return ShowStored(*stored, parse, "not modified");
        }
        return Fail(address, stored, parse, MessageOf(e, "The download failed"), e.Code());
    } catch (const std::exception& e) {
        return Fail(address, stored, parse, MessageOf(e, "The download failed"), 0);
    }
    try {
        stream.SetPosition(0);
        parse(stream);
    } catch (const std::exception& e) {
        return Fail(address, stored, parse, MessageOf(e, "The feed could not be loaded"), 0);
    }
    states_.erase(address);
    StoreAnswer(address, stream.Bytes());
    return {};
}

TFeedFetcher::TResult TFeedFetcher::Fail(const std::string& address,
                                         std::optional<TFeedStore::TEntry>& stored,
                                         const TParse& parse, const std::string& why, int status) {
    const std::exception_ptr failure = std::current_exception();
    const std::int64_t now = store_.Now();
    TFeedState& state = states_[address];
    ++state.failures;
    std::int64_t wait = BackOffSeconds(state.failures);
    if (status == 429 || status == 503) {
        if (const auto retry = RetryAfterSeconds(http_.Response.Header("Retry-After"), now)) {
            wait = std::max(wait, *retry);
            // Kept with the copy, so that the next run of the saver waits too.
            if (stored) {
                stored->RetryAfter = now + *retry;
                Save(*stored);
            }
        }
    }
    state.notBefore = now + wait;
    if (!stored) std::rethrow_exception(failure);
    return ShowStored(*stored, parse, why);
}

TFeedFetcher::TResult TFeedFetcher::ShowStored(TFeedStore::TEntry& stored, const TParse& parse,
                                               const std::string& why) {
    TMemoryStream stream(std::move(stored.Body));
    parse(stream);
    return {true, why};
}

void TFeedFetcher::StoreAnswer(const std::string& address, const std::string& body) {
    TFeedStore::TEntry entry;
    entry.Address = address;
    entry.Body = body;
    entry.ETag = http_.Response.Header("ETag");
    entry.LastModified = http_.Response.Header("Last-Modified");
    entry.FetchedAt = store_.Now();
    Save(entry);
}

void TFeedFetcher::Save(const TFeedStore::TEntry& entry) {
    try {
        store_.Write(entry);
    } catch (const Exception&) {
        // A full disk or a read-only cache costs the copy, not the feed on the wall.
    }
}

}  // namespace pelwick
