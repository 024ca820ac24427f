#pragma once

#include <QFileSystemWatcher>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/PictureList.h"
#include "app/PictureScan.h"
#include "gfx/RandomSequence.h"
#include "slideshow/PicturePreparer.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/ShuffleOrder.h"
#include "slideshow/Timer.h"

namespace pelwick {

struct TRssSaverOptions;

// What the slideshow runs by: the saver's settings of the same names (TRssSaverOptions says
// what each means), with their defaults.
struct TSlideshowSettings {
    // Pictures to show before those of ImageFolder.
    std::vector<std::string> ImageFiles;
    // The folder whose pictures are listed in the background while the slideshow runs;
    // none when empty. With ImageSubfolders the folders below it too.
    std::string ImageFolder;
    bool ImageSubfolders = true;
    // Where a picture of ImageFiles that is not found as listed is looked for first.
    std::string ImagePath;
    std::uint8_t ImageSize = 4;
    std::int32_t EffectSpeed2 = 2;
    std::int32_t ImageInterval = 17;
    std::uint8_t ImageSequence = 1;
    bool RandomPosition = false;
    std::int32_t TransitionStyle = 118;  // the cross-fade

    bool operator==(const TSlideshowSettings&) const = default;
};

// The slideshow's part of the saver's settings; the picture folder is listed in the
// background.
TSlideshowSettings SlideshowSettingsOf(const TRssSaverOptions& options);

// The slideshow: owns a picture screen that fills panel, and on its timer loads the next
// entry of the picture list (which grows while the picture folder is listed) and changes to it by
// the transition of the TransitionStyle setting (the cross-fade by default). The next change comes
// ImageInterval seconds after a transition has ended. It runs by the settings it was made with.
// Once a change has begun, the picture after it is chosen and prepared on a worker, so that the
// next change only takes it. The list follows its folder: the folder is listed again on a worker
// now and then, soon after its top changes, and at once when every listed picture has failed in a
// row; while it yields nothing the screen keeps its picture and the listings come less often.
class TRunGlimrascreen {
  public:
    // The mouse handlers (any may be empty) go to the control's events of the same names.
    TRunGlimrascreen(QWidget* panel, TSlideshowSettings settings,
                     TCustomGlimrascreen::TMouseMoveEvent onMouseMove = {},
                     TCustomGlimrascreen::TMouseEvent onMouseDown = {},
                     TCustomGlimrascreen::TMouseEvent onMouseUp = {});
    ~TRunGlimrascreen();
    TRunGlimrascreen(const TRunGlimrascreen&) = delete;
    TRunGlimrascreen& operator=(const TRunGlimrascreen&) = delete;

    TGlimrascreen* PictureScreen() const { return pictureScreen_; }
    TTimer& Timer() { return timer_; }
    int CurrentIndex() const { return currentIndex_; }
    const std::string& CurrentPath() const { return currentPath_; }
    const TPictureList& Pictures() const { return *pictures_; }
    // Whether the picture folder is still being listed.
    bool Scanning() const { return scan_ != nullptr; }

    // Called on the user-interface thread, with the folder, when the picture folder has been
    // listed and held no picture: after the first listing, and again whenever a listing
    // finds none where the last one found some.
    std::function<void(const std::string& folder)> OnNoPictures;

    // How often the folder is listed again. inotify (behind the watch) does not report
    // changes below the folder's top nor those made on another machine of a network share, so
    // a listing now and then is what finds them. Five minutes keeps that cost (a walk of the
    // tree on a worker, a few seconds for a large library on a slow share) far from the
    // pictures' own pace, and a picture added where no watch sees it is still shown within
    // minutes.
    static constexpr int RescanPeriodMs = 5 * 60 * 1000;
    // A change to the folder's top is listed this long after it is seen, so that a burst of
    // files copied in comes in with one listing; and at least ten times as long as the last
    // listing took, so that a folder that keeps changing keeps the worker busy a tenth of
    // the time at most.
    static constexpr int WatchDelayMs = 2000;
    // While listings find no picture, or none that can be shown, the wait before the next
    // doubles from the first to the last of these: a folder that comes back is soon used
    // again, and one that stays away costs a listing a minute.
    static constexpr int RetryFirstMs = 2000;
    static constexpr int RetryMaxMs = 60000;

    // The period of the listings (tests make it short).
    void SetRescanPeriod(int ms);
    TTimer& RescanTimer() { return rescanTimer_; }
    // Whether the folder is being listed again.
    bool Rescanning() const { return rescan_ != nullptr; }
    // Lists the folder again now, unless a listing is under way.
    void Rescan();
    // The rescan timer's handler: starts a listing when one is due, swaps in the one that
    // has finished.
    void RescanTimerFired();
    // The folder's top changed, or the folder above it while it is away: a listing soon.
    void FolderChanged();

    // How often an empty list is looked at again while the folder is listed.
    static constexpr int ScanPollMs = 50;
    // How often the timer looks for the first picture: in the list while the folder is
    // listed, then on the worker while it decodes it.
    static constexpr int FirstPicturePollMs = 10;

    // The timer's handler: TimerTick, unless the worker is still decoding the first picture;
    // the user-interface thread does not wait for that, the timer comes back soon.
    void TimerFired();
    // The timer's step and its parts.
    void TimerTick();
    // Takes the picture chosen and prepared ahead when there is one, else chooses and loads
    // one in place.
    void ChooseNextPicture();
    void BeginTransition();
    // Chooses the next picture now and has the worker prepare it for the control as it is.
    void PrepareNextPicture();
    // The index PrepareNextPicture chose, which the next ChooseNextPicture takes.
    std::optional<int> NextIndex() const { return nextIndex_; }
    TPicturePreparer& Preparer() { return preparer_; }
    // The control's OnComplete.
    void TransitionDone();
    // The style of the next transition: the setting's, or with 0 a built style drawn at
    // random, never the one just used when there is another.
    int NextStyle();
    // Draws the random styles; its own, so that the picture order's sequence stays as it
    // would be without them. Seeded from the clock; tests seed it themselves.
    TRandomSequence& StyleRandom() { return styleRandom_; }
    // Orders the pictures with ImageSequence 1; its own, for the same reason.
    TShuffleOrder& Shuffle() { return shuffle_; }

  private:
    void ApplySpeed();
    int IntervalMs() const;
    int PickIndex(int count);
    // Puts the picture of currentPath_ into the control: the prepared one, or loaded now;
    // whether it could.
    bool ShowPicture();
    // Before the first change: has the worker prepare the picture the first tick will most
    // likely choose (the order's next one, not drawn yet), while the window is still being
    // made; the tick loads in place whatever else it chooses.
    void PrepareFirstPicture();
    // Adds what the folder's listing has found to the list.
    void TakeScanned();
    // With the list empty while the folder is listed, the timer comes back soon.
    bool WaitForPictures();
    // Counts the pictures that failed in a row; a whole list of them sends for a listing.
    void NoteOutcome(bool shown);
    int NextRetryMs();
    // Has a listing begin within delayMs, unless one is under way or due sooner.
    void RequestRescan(int delayMs);
    void TakeRescan();
    int WatchDelay() const;
    // Swaps in a listing: the shuffle's round, the current and the prepared picture carry
    // over to the new list.
    void UseList(TPictureRescan::TResult&& result);
    // Watches folder (the picture folder's top, or while that is away the folder above it
    // where its return will show), instead of what was watched; nothing for "".
    void Watch(const std::string& folder);

    const TSlideshowSettings settings_;
    QPointer<TGlimrascreen> pictureScreen_;
    TTimer timer_;
    int currentIndex_ = -1;
    std::string currentPath_;
    std::shared_ptr<TPictureList> pictures_;
    // The list the shuffle, currentIndex_ and nextIndex_ refer to: pictures_, unless that is
    // empty; then the last list that was not, so that a folder that comes back goes on with
    // its round.
    std::shared_ptr<const TPictureList> base_;
    std::unique_ptr<TPictureScan> scan_;
    std::unique_ptr<TPictureRescan> rescan_;
    TTimer rescanTimer_;
    int rescanPeriodMs_ = RescanPeriodMs;
    // When the listing asked for soon is due; none when it only comes with the period.
    std::optional<std::chrono::steady_clock::time_point> rescanDue_;
    // The folder changed while it was being listed: list it again.
    bool rescanAgain_ = false;
    std::chrono::steady_clock::time_point rescanStart_;
    int lastListingMs_ = 0;
    int failedInARow_ = 0;
    int retryMs_ = 0;
    TShuffleOrder shuffle_;
    TRandomSequence styleRandom_;
    int lastStyle_ = 0;
    std::optional<int> nextIndex_;
    // Seeds the random placements made on the worker.
    TRandomSequence placementRandom_;
    TPicturePreparer preparer_;
    // Last, so that it goes first and reports no change to a driver half gone.
    std::unique_ptr<QFileSystemWatcher> watcher_;
};

}  // namespace pelwick
