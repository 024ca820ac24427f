// TForm1, the saver window: the feeds of its cycle. While one feed is on the wall the worker
// fetches and parses the one the cycle shows next; its download's status and progress come
// to the status bar, and the parsed feed to the cycle, by queued calls, so that nothing the
// network does holds the user-interface thread.
#include <QMetaObject>

#include "app/Process.h"
#include "app/Settings.h"
#include "saver/SaverWindow.h"

namespace pelwick {

void TForm1::SetUpFeedAhead() {
    FeedAhead.Client().LowSpeedTime = WallLowSpeedTime;
    // Both run on the worker thread: they only queue a call to this window's thread, which
    // drops it when the window is gone.
    FeedAhead.OnProgress = [this](const TFeedAhead::TJob& job,
                                  const TFeedAhead::TProgress& progress) {
        QMetaObject::invokeMethod(
            this,
            [this, serial = job.Serial, name = job.Name, progress] {
                if (serial == aheadSerial_) ShowFetchProgress(name, progress);
            },
            Qt::QueuedConnection);
    };
    FeedAhead.OnDone = [this](const TFeedAhead::TJob&) {
        QMetaObject::invokeMethod(
            this, [this] { FeedArrived(); }, Qt::QueuedConnection);
    };
}

std::string TForm1::AddressOf(std::int32_t feed) const {
    const auto& feeds = SaverOptions.FeedNames;
    if (!SettingsFile || feed < 0 || feed >= std::int32_t(feeds.size())) return {};
    return SettingsFile->ReadString("feeds", feeds[feed], "");
}

// The worker's result, when it is the one the wall asked for last.
void TForm1::CollectAhead() {
    std::optional<TFeedAhead::TResult> result = FeedAhead.Take();
    if (result && result->Job.Serial == aheadSerial_) ready_ = std::move(result);
}

void TForm1::FeedArrived() {
    CollectAhead();
    if (Loading && ready_ && aheadFeed_ == CurFeed) ShowFetched();
}

void TForm1::ShowFetched() {
    TFeedAhead::TResult result = std::move(*ready_);
    ready_.reset();
    aheadFeed_ = -1;
    Loading = false;
    awaitBounded_ = false;
    skips_ = 0;
    CurFeed = result.Job.Feed;
    FeedName = result.Job.Name;
    // A feed that could not be fetched or read, and has no stored copy, leaves the screen as
    // it was; the cycle moves on and tries it again when its turn comes.
    if (result.Error.empty()) ShowFeed(std::move(result.Document), result.FromStore);
    PlanNext();
}

bool TForm1::ShowStored(std::int32_t feed) {
    const std::string address = AddressOf(feed);
    if (address.empty()) return false;
    const std::optional<TFeedStore::TEntry> stored = FeedStore.Read(address);
    if (!stored) return false;
    TFeedDocument document;
    try {
        document.LoadFromBytes(stored->Body);
    } catch (const std::exception&) {
        return false;  // a copy that no longer parses is as good as none
    }
    // The late download gives way to the next feed's.
    FeedAhead.Cancel();
    aheadFeed_ = -1;
    ready_.reset();
    skips_ = 0;
    ShowFeed(std::move(document), true);
    PlanNext();
    return true;
}

void TForm1::ShowFeed(TFeedDocument&& document, bool fromStore) {
    RSS = std::move(document);
    try {
        // The status bar shows a download until it ends; a stored copy ends none.
        if (fromStore && !Paused && Panel2->isVisible()) SetStatusVisible(false);
        CardBeside = false;
        ShowItem(0);
        ShowPanel();
    } catch (const std::exception&) {
        // The panel keeps what it showed; the cycle goes on with the feed's items.
    }
}

// The next feed is chosen as soon as one is shown, so that the cycle's next step can start
// fetching it.
void TForm1::PlanNext() {
    const std::int32_t count = std::int32_t(SaverOptions.FeedNames.size());
    if (count == 0) return;
    if (SaverOptions.RandomFeed)
        nextFeed_ = Random(count);
    else
        nextFeed_ = CurFeed >= count - 1 ? 0 : CurFeed + 1;
}

void TForm1::FetchAhead() {
    if (nextFeed_ >= 0 && aheadFeed_ != nextFeed_ && !Loading) StartAhead(nextFeed_);
}

void TForm1::StartAhead(std::int32_t feed) {
    ready_.reset();
    const std::string address = AddressOf(feed);
    if (address.empty()) {
        FeedAhead.Cancel();
        aheadFeed_ = -1;
        return;
    }
    TFeedAhead::TJob job;
    job.Feed = feed;
    job.Name = SaverOptions.FeedNames[feed];
    job.Address = address;
    job.RefreshMinutes = SaverOptions.FeedRefresh;
    aheadFeed_ = feed;
    aheadSerial_ = FeedAhead.Start(std::move(job));
}

void TForm1::ShowFetchProgress(const std::string& name, const TFeedAhead::TProgress& progress) {
    switch (progress.Kind) {
        case TFeedAhead::TProgress::pkStatus:
            StatusText(name, progress.Text);
            break;
        case TFeedAhead::TProgress::pkWorkBegin:
            httpWorkBegin(http, THTTPClient::wmRead, progress.Count);
            break;
        case TFeedAhead::TProgress::pkWork:
            httpWork(http, THTTPClient::wmRead, progress.Count);
            break;
        case TFeedAhead::TProgress::pkWorkEnd:
            httpWorkEnd(http, THTTPClient::wmRead);
            break;
    }
}

void TForm1::StatusText(const std::string& name, const std::string& text) {
    Panel2->SetText("[" + name + "] " + text);
}

}  // namespace pelwick
