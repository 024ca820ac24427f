#include "feeds/FeedAhead.h"

#include <exception>

namespace pelwick {

TFeedAhead::TFeedAhead(TFeedStore& store) : fetcher_(http_, store) {
    http_.Stop = &stop_;
    http_.OnStatus = [this](THTTPClient&, THTTPClient::THTTPStatus status,
                            const std::string& text) {
        Report({TProgress::pkStatus, status, text, 0});
    };
    http_.OnWorkBegin = [this](THTTPClient&, THTTPClient::TWorkMode, std::int64_t expected) {
        Report({TProgress::pkWorkBegin, THTTPClient::hsConnected, "", expected});
    };
    http_.OnWork = [this](THTTPClient&, THTTPClient::TWorkMode, std::int64_t count) {
        Report({TProgress::pkWork, THTTPClient::hsConnected, "", count});
    };
    http_.OnWorkEnd = [this](THTTPClient&, THTTPClient::TWorkMode) {
        Report({TProgress::pkWorkEnd, THTTPClient::hsConnected, "", 0});
    };
}

TFeedAhead::~TFeedAhead() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
        waiting_.reset();
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

std::uint64_t TFeedAhead::Start(TJob job) {
    std::uint64_t serial = 0;
    {
        const std::lock_guard lock(mutex_);
        serial = job.Serial = ++serial_;
        result_.reset();
        waiting_ = std::move(job);
        if (busy_) stop_ = true;
        // The thread is made on first use: a window that never fetches costs none.
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_all();
    return serial;
}

void TFeedAhead::Cancel() {
    const std::lock_guard lock(mutex_);
    ++serial_;
    waiting_.reset();
    result_.reset();
    if (busy_) stop_ = true;
}

std::optional<TFeedAhead::TResult> TFeedAhead::Take() {
    const std::lock_guard lock(mutex_);
    std::optional<TResult> result = std::move(result_);
    result_.reset();
    return result;
}

bool TFeedAhead::Idle() const {
    const std::lock_guard lock(mutex_);
    return !busy_ && !waiting_ && !result_;
}

void TFeedAhead::Run() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || waiting_; });
            if (quit_) return;
            current_ = std::move(*waiting_);
            waiting_.reset();
            busy_ = true;
            stop_ = false;
        }
        std::optional<TResult> result;
        try {
            result = Fetch(current_);
        } catch (const EHTTPCancelled&) {
            // Dropped by a newer start or a cancel: nobody waits for this one.
        }
        bool done = false;
        {
            const std::lock_guard lock(mutex_);
            busy_ = false;
            if (result && current_.Serial == serial_) {
                result_ = std::move(result);
                done = true;
            }
        }
        if (done && OnDone) OnDone(current_);
    }
}

TFeedAhead::TResult TFeedAhead::Fetch(const TJob& job) {
    TResult result{job, TFeedDocument(), false, {}};
    fetcher_.RefreshMinutes = job.RefreshMinutes;
    try {
        const TFeedFetcher::TResult got = fetcher_.Fetch(
            job.Address,
            [&result](TMemoryStream& stream) { result.Document.LoadFromStream(stream); });
        result.FromStore = got.FromStore;
    } catch (const EHTTPCancelled&) {
        throw;
    } catch (const std::exception& e) {
        // The feed could not be fetched or read and has no stored copy: the caller shows
        // nothing new and tries again at its next turn.
        result.Error = *e.what() ? e.what() : "The feed could not be fetched.";
    }
    return result;
}

void TFeedAhead::Report(const TProgress& progress) {
    if (OnProgress && !stop_) OnProgress(current_, progress);
}

}  // namespace pelwick
