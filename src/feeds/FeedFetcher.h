#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "app/Exception.h"
#include "feeds/FeedStore.h"

namespace pelwick {

class THTTPClient;
class TMemoryStream;

// A feed that is not to be asked now (the server's Retry-After, or the back-off after
// failures) and has no stored copy to show meanwhile.
class EFeedWait : public Exception {
  public:
    using Exception::Exception;
};

// Gets a feed's bytes the way a considerate reader does: the stored copy while it is younger
// than RefreshMinutes, else a conditional download (a 304 renews the copy); the stored copy
// again when the download or its parse fails, and while the server asked for a pause or the
// feed backs off after failures. The bytes go through one parse routine whichever way they
// came, so a stored copy shows exactly as the same bytes downloaded would.
class TFeedFetcher {
  public:
    // Reads the bytes at the stream's position; raises when they are no feed.
    using TParse = std::function<void(TMemoryStream& stream)>;

    struct TResult {
        bool FromStore = false;
        // Why the stored copy was shown ("fresh", "not modified", the failure, ...); "" for a
        // download.
        std::string Reason;
    };

    TFeedFetcher(THTTPClient& http, TFeedStore& store) : http_(http), store_(store) {}

    // Hands address's bytes to parse. Raises the failure (or EFeedWait) when nothing could be
    // shown; a Disconnect during the download raises EHTTPCancelled and shows nothing.
    TResult Fetch(const std::string& address, const TParse& parse);
    // Stores the answer the client just received for address (after it parsed): the options
    // dialog's Add, so that the wall's first pass needs no download. Best effort.
    void StoreAnswer(const std::string& address, const std::string& body);

    // Minutes a stored copy is fresh; 0 asks the server at every pass.
    int RefreshMinutes = 30;

    // Retry-After as seconds or an HTTP date, as a wait from now of at most a day; nothing
    // when the value is neither.
    static std::optional<std::int64_t> RetryAfterSeconds(const std::string& value,
                                                         std::int64_t now);
    // The wait after the given number of failures in a row: none after the first, then a
    // minute, doubled with each further failure, up to RefreshMinutes (at least a minute).
    std::int64_t BackOffSeconds(int failures) const;

  private:
    struct TFeedState {
        int failures = 0;
        std::int64_t notBefore = 0;
    };

    TResult Download(const std::string& address, std::optional<TFeedStore::TEntry>& stored,
                     const TParse& parse);
    // A failed download or parse: waits as the server or the back-off says, then shows the
    // stored copy or raises the failure.
    TResult Fail(const std::string& address, std::optional<TFeedStore::TEntry>& stored,
                 const TParse& parse, const std::string& why, int status);
    TResult ShowStored(TFeedStore::TEntry& stored, const TParse& parse, const std::string& why);
    void Save(const TFeedStore::TEntry& entry);

    THTTPClient& http_;
    TFeedStore& store_;
    std::map<std::string, TFeedState> states_;
};

}  // namespace pelwick
