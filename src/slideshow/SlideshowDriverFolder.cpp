// The slideshow driver's following of its picture folder: listing it again on a worker, and
// carrying the round, the current and the prepared picture over to the new list.
#include "slideshow/SlideshowDriver.h"

#include <algorithm>
#include <utility>

namespace pelwick {

namespace {

// Where index of the old list went; a picture that left gives way to the nearest one before
// it that stayed, so that list order goes on after it. None stayed: the last, so that list
// order starts again at the first.
int Remapped(int index, const std::vector<int>& newIndexOf, int count) {
    if (index < 0) return -1;
    for (int i = std::min(index, static_cast<int>(newIndexOf.size()) - 1); i >= 0; --i)
        if (newIndexOf[static_cast<std::size_t>(i)] >= 0)
            return newIndexOf[static_cast<std::size_t>(i)];
    return count - 1;
}

}  // namespace

void TRunGlimrascreen::SetRescanPeriod(int ms) {
    rescanPeriodMs_ = ms;
    if (!rescan_ && !rescanDue_) rescanTimer_.SetInterval(ms);
}

void TRunGlimrascreen::Rescan() {
    if (settings_.ImageFolder.empty() || scan_ || rescan_) return;
    rescanDue_.reset();
    rescanStart_ = std::chrono::steady_clock::now();
    rescan_ = std::make_unique<TPictureRescan>(
        settings_.ImageFolder, TPictureWalk{.Subfolders = settings_.ImageSubfolders},
        settings_.ImageFiles, base_);
    rescanTimer_.SetInterval(ScanPollMs);
    rescanTimer_.SetEnabled(true);
}

void TRunGlimrascreen::RescanTimerFired() {
    if (rescan_) {
        if (rescan_->Finished()) TakeRescan();
        return;
    }
    // While the first listing runs there is nothing to list again; the period comes round.
    if (!scan_) Rescan();
}

void TRunGlimrascreen::FolderChanged() {
    if (rescan_)
        rescanAgain_ = true;
    else
        RequestRescan(WatchDelay());
}

int TRunGlimrascreen::WatchDelay() const {
    return std::clamp(10 * lastListingMs_, WatchDelayMs, RescanPeriodMs);
}

void TRunGlimrascreen::RequestRescan(int delayMs) {
    if (settings_.ImageFolder.empty() || scan_ || rescan_) return;
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs);
    if (rescanDue_ && *rescanDue_ <= due) return;
    rescanDue_ = due;
    // An interval of 0 never ticks.
    rescanTimer_.SetInterval(std::max(1, delayMs));
    rescanTimer_.SetEnabled(true);
}

int TRunGlimrascreen::NextRetryMs() {
    const int wait = retryMs_;
    retryMs_ = std::clamp(retryMs_ * 2, RetryFirstMs, RetryMaxMs);
    return wait;
}

void TRunGlimrascreen::NoteOutcome(bool shown) {
    if (shown) {
        failedInARow_ = 0;
        retryMs_ = 0;
        return;
    }
    // Every listed picture failed in a row: most likely the folder is gone, unmounted or
    // unreadable. It is listed again at once, and then less and less often while that lasts.
    if (++failedInARow_ < static_cast<int>(pictures_->Size())) return;
    failedInARow_ = 0;
    RequestRescan(NextRetryMs());
}

void TRunGlimrascreen::TakeRescan() {
    TPictureRescan::TResult result = rescan_->Take();
    rescan_.reset();
    lastListingMs_ = static_cast<int>(
        std::min<long long>(RescanPeriodMs, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - rescanStart_)
                                                .count()));
    const std::string watchFolder = result.WatchFolder;
    UseList(std::move(result));
    Watch(watchFolder);
    rescanTimer_.SetInterval(rescanPeriodMs_);
    if (std::exchange(rescanAgain_, false))
        RequestRescan(WatchDelay());
    else if (pictures_->Empty())
        RequestRescan(std::max(RetryFirstMs, NextRetryMs()));
}

void TRunGlimrascreen::UseList(TPictureRescan::TResult&& result) {
    // Listing failed (memory ran out): the list in use stays, rather than a part of one.
    if (!result.List) return;
    failedInARow_ = 0;
    const bool hadPictures = !pictures_->Empty();
    pictures_ = std::move(result.List);
    if (pictures_->Empty()) {
        // Gone, emptied or unreadable: the screen keeps its picture, and the round waits in
        // base_ for the folder's return.
        if (hadPictures && OnNoPictures) OnNoPictures(settings_.ImageFolder);
        return;
    }
    const std::vector<int>& newIndexOf = result.NewIndexOf;
    const int n = static_cast<int>(pictures_->Size());
    shuffle_.Remap(newIndexOf, n);
    currentIndex_ = Remapped(currentIndex_, newIndexOf, n);
    if (nextIndex_) {
        const int next = *nextIndex_ < static_cast<int>(newIndexOf.size())
                             ? newIndexOf[static_cast<std::size_t>(*nextIndex_)]
                             : -1;
        nextIndex_ = next >= 0 ? std::optional<int>(next) : std::nullopt;
    }
    base_ = pictures_;
    if (currentIndex_ == -1) {
        // The first picture is not on screen yet: the one asked for may no longer be first,
        // and the timer looks for the new one as it does at the start.
        preparer_.Cancel();
        PrepareFirstPicture();
        if (pictureScreen_ && !pictureScreen_->Running()) {
            timer_.SetInterval(FirstPicturePollMs);
            timer_.SetEnabled(true);
        }
    } else if (!nextIndex_) {
        // The picture prepared has left the list, or none was: the next change should not
        // have to load one in place.
        PrepareNextPicture();
    }
}

void TRunGlimrascreen::Watch(const std::string& folder) {
    if (settings_.ImageFolder.empty()) return;
    if (!watcher_) {
        watcher_ = std::make_unique<QFileSystemWatcher>();
        QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged,
                         [this](const QString&) { FolderChanged(); });
    }
    // A folder removed has dropped out of the watch already.
    const QString path = QString::fromStdString(folder);
    const QStringList watched = watcher_->directories();
    if (watched.size() == 1 && watched.front() == path) return;
    if (!watched.isEmpty()) watcher_->removePaths(watched);
    if (!path.isEmpty()) watcher_->addPath(path);
}

}  // namespace pelwick
