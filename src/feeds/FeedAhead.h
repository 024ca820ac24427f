#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "feeds/FeedDocument.h"
#include "feeds/FeedFetcher.h"
#include "feeds/FeedStore.h"
#include "feeds/HTTPClient.h"

namespace pelwick {

// Fetches and parses one feed at a time on a thread of its own, with its own client and
// fetcher over a store the caller shares, so that the caller's thread never waits on a
// server: it starts the fetch early and takes the parsed feed whole when it needs it. A new
// start or a cancel drops the running fetch at once (its download is stopped) and its result
// never arrives.
class TFeedAhead {
  public:
    struct TJob {
        std::int32_t Feed = -1;
        std::string Name;
        std::string Address;
        int RefreshMinutes = 30;
        // Set by Start: tells this job's reports from those of jobs dropped before it.
        std::uint64_t Serial = 0;
    };

    struct TResult {
        TJob Job;
        // The feed when Error is empty.
        TFeedDocument Document;
        bool FromStore = false;
        std::string Error;
    };

    // What the running job's download reports, as the client's events do.
    struct TProgress {
        enum TKind { pkStatus, pkWorkBegin, pkWork, pkWorkEnd };
        TKind Kind = pkStatus;
        THTTPClient::THTTPStatus Status = THTTPClient::hsDisconnected;
        std::string Text;
        // The expected size for pkWorkBegin, the bytes so far for pkWork.
        std::int64_t Count = 0;
    };

    explicit TFeedAhead(TFeedStore& store);
    // Stops a running download and waits for the thread.
    ~TFeedAhead();
    TFeedAhead(const TFeedAhead&) = delete;
    TFeedAhead& operator=(const TFeedAhead&) = delete;

    // The worker's client, to be set up before the first Start: the thread uses it alone
    // from then on.
    THTTPClient& Client() { return http_; }

    // Both are called on the worker thread, so they must not touch widgets: a window hands
    // them to its own thread by a queued call. OnDone says that Take has the job's result.
    std::function<void(const TJob& job, const TProgress& progress)> OnProgress;
    std::function<void(const TJob& job)> OnDone;

    // Drops what runs or waits and fetches job instead; returns its serial.
    std::uint64_t Start(TJob job);
    // Drops what runs or waits, and a result not taken yet.
    void Cancel();
    // The finished job's result, once.
    std::optional<TResult> Take();
    // Nothing runs or waits to be taken.
    bool Idle() const;

  private:
    void Run();
    TResult Fetch(const TJob& job);
    void Report(const TProgress& progress);

    THTTPClient http_;
    TFeedFetcher fetcher_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<TJob> waiting_;
    bool busy_ = false;
    // The job the thread works on: the thread's own, for the client's events.
    TJob current_;
    std::optional<TResult> result_;
    std::uint64_t serial_ = 0;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace pelwick
