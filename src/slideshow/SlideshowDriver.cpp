#include "slideshow/SlideshowDriver.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

#include "app/PictureScan.h"
#include "app/Process.h"
#include "app/Settings.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureLoader.h"

namespace pelwick {

namespace {

struct TSpeed {
    int Step;
    int Delay;
};
// EffectSpeed2 1..5; other values keep the control's own Step and Delay.
constexpr TSpeed SpeedTable[] = {{10, 1}, {6, 20}, {4, 30}, {2, 30}, {1, 30}};

std::uint64_t ClockSeed() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

TSlideshowSettings SlideshowSettingsOf(const TRssSaverOptions& options) {
    TSlideshowSettings s;
    s.ImageFolder = PictureFolderOf(options);
    s.ImageSubfolders = options.ImageSubfolders;
    s.ImagePath = options.ImagePath;
    s.ImageSize = options.ImageSize;
    s.EffectSpeed2 = options.EffectSpeed2;
    s.ImageInterval = options.ImageInterval;
    s.ImageSequence = options.ImageSequence;
    s.RandomPosition = options.RandomPosition;
    s.TransitionStyle = options.TransitionStyle;
    return s;
}

TRunGlimrascreen::TRunGlimrascreen(QWidget* panel, TSlideshowSettings settings,
                                   TCustomGlimrascreen::TMouseMoveEvent onMouseMove,
                                   TCustomGlimrascreen::TMouseEvent onMouseDown,
                                   TCustomGlimrascreen::TMouseEvent onMouseUp)
    : settings_(std::move(settings)),
      pictures_(std::make_shared<TPictureList>()),
      base_(pictures_),
      shuffle_(ClockSeed()),
      styleRandom_(ClockSeed() ^ 0x5DEECE66Dull),
      placementRandom_(ClockSeed() ^ 0x2545F4914F6CDD1Dull) {
    timer_.SetEnabled(false);
    for (const std::string& path : settings_.ImageFiles)
        pictures_->Add(path);
    shuffle_.Grow(static_cast<int>(pictures_->Size()));
    if (!settings_.ImageFolder.empty())
        scan_ = std::make_unique<TPictureScan>(
            settings_.ImageFolder, TPictureWalk{.Subfolders = settings_.ImageSubfolders});
    try {
        auto* screen = new TGlimrascreen(panel);
        pictureScreen_ = screen;
        screen->SetColor(clBlack);
        screen->SetAlign(TCustomGlimrascreen::alClient);
        screen->SetAutoSize(false);
        screen->SetBgMode(TCustomGlimrascreen::bmNone);
        screen->SetCenter(true);
        screen->SetStretch(false);
        screen->SetStretchFine(false);
        ApplySpeed();
        screen->OnComplete = [this](TCustomGlimrascreen&) { TransitionDone(); };
        screen->OnMouseMove = std::move(onMouseMove);
        screen->OnMouseDown = std::move(onMouseDown);
        screen->OnMouseUp = std::move(onMouseUp);
        screen->show();
    } catch (const std::exception&) {
        // Without a picture screen the saver still runs, over its black window.
    }
    currentPath_.clear();
    currentIndex_ = -1;
    timer_.OnTimer = [this] { TimerFired(); };
    // The first picture comes as soon as it is ready: the timer looks for it often.
    timer_.SetInterval(FirstPicturePollMs);
    timer_.SetEnabled(true);
    PrepareFirstPicture();
    rescanTimer_.OnTimer = [this] { RescanTimerFired(); };
    rescanTimer_.SetInterval(rescanPeriodMs_);
    rescanTimer_.SetEnabled(!settings_.ImageFolder.empty());
}

TRunGlimrascreen::~TRunGlimrascreen() {
    timer_.SetEnabled(false);
    rescanTimer_.SetEnabled(false);
    watcher_.reset();
    if (pictureScreen_) {
        pictureScreen_->SetFramesSuspended(true);
        pictureScreen_->OnComplete = nullptr;
        try {
            pictureScreen_->StopTransition();
        } catch (const std::exception&) {
            // Going away anyway.
        }
        delete pictureScreen_.data();
    }
}

void TRunGlimrascreen::ApplySpeed() {
    const TSlideshowSettings& o = settings_;
    pictureScreen_->SetSizeMode(o.ImageSize);
    if (o.EffectSpeed2 >= 1 && o.EffectSpeed2 <= 5) {
        const TSpeed& s = SpeedTable[o.EffectSpeed2 - 1];
        pictureScreen_->SetStep(s.Step);
        pictureScreen_->SetDelay(s.Delay);
    }
}

int TRunGlimrascreen::IntervalMs() const {
    const long long ms = static_cast<long long>(settings_.ImageInterval) * 1000;
    return static_cast<int>(std::clamp<long long>(ms, 0, std::numeric_limits<int>::max()));
}

void TRunGlimrascreen::TimerFired() {
    TakeScanned();  // pictures just found start the first one's preparation
    if (currentIndex_ == -1 && !preparer_.Asked().empty() && !preparer_.Ready()) {
        timer_.SetEnabled(false);
        timer_.SetInterval(FirstPicturePollMs);
        timer_.SetEnabled(true);
        return;
    }
    TimerTick();
}

void TRunGlimrascreen::TimerTick() {
    timer_.SetEnabled(false);
    if (!pictureScreen_) {
        currentPath_.clear();
        return;
    }
    if (WaitForPictures()) return;
    timer_.SetInterval(IntervalMs());
    ChooseNextPicture();
    BeginTransition();
    PrepareNextPicture();
}

void TRunGlimrascreen::TakeScanned() {
    if (!scan_) return;
    // Finished is asked first: what the worker found before it finished is then all taken.
    const bool finished = scan_->Finished();
    scan_->TakeFound(*pictures_);
    shuffle_.Grow(static_cast<int>(pictures_->Size()));
    PrepareFirstPicture();
    if (!finished) return;
    const std::string folder = scan_->Folder();
    scan_.reset();
    if (!pictures_->Empty()) {
        Watch(folder);
        return;
    }
    if (OnNoPictures) OnNoPictures(folder);
    // Pictures may come later, or the folder may be mounted later.
    RequestRescan(std::max(RetryFirstMs, NextRetryMs()));
}

bool TRunGlimrascreen::WaitForPictures() {
    TakeScanned();
    if (!pictures_->Empty() || !scan_) return false;
    timer_.SetInterval(currentIndex_ == -1 ? FirstPicturePollMs : ScanPollMs);
    timer_.SetEnabled(true);
    return true;
}

int TRunGlimrascreen::PickIndex(int count) {
    if (settings_.ImageSequence == 1) return shuffle_.Next();
    return currentIndex_ < count - 1 ? currentIndex_ + 1 : 0;
}

void TRunGlimrascreen::ChooseNextPicture() {
    try {
        TakeScanned();
        const int n = static_cast<int>(pictures_->Size());
        // Nothing listed: the screen keeps its picture; one prepared stays for the list's return.
        if (n == 0) return;
        currentIndex_ = nextIndex_ && *nextIndex_ < n ? *nextIndex_ : PickIndex(n);
        currentPath_ = (*pictures_)[static_cast<size_t>(currentIndex_)];
        nextIndex_.reset();
        NoteOutcome(pictureScreen_ && ResolveImagePath(currentPath_, settings_.ImagePath) &&
                    ShowPicture());
    } catch (const std::exception&) {
        // The control keeps its picture; the cross-fade then shows it again.
    }
}

bool TRunGlimrascreen::ShowPicture() {
    TGlimrascreen& screen = *pictureScreen_;
    std::optional<TPreparedPicture> prepared = preparer_.Take(currentPath_, StageOf(screen));
    if (!prepared) return TryLoadScreenPicture(screen, currentPath_).empty();
    if (prepared->Missing) {
        // Gone since it was listed: the control's own picture goes through the steps, as a
        // missing file's always has, but nothing new was shown.
        LoadScreenPicture(screen, currentPath_);
        return false;
    }
    // One the worker could not make leaves the control's picture, as a bad file always has.
    if (!prepared->Ready()) return false;
    TakePreparedPicture(screen, std::move(*prepared));
    return true;
}

void TRunGlimrascreen::PrepareNextPicture() {
    try {
        TakeScanned();
        const int n = static_cast<int>(pictures_->Size());
        if (!pictureScreen_ || n == 0) return;
        nextIndex_ = PickIndex(n);
        std::string path = (*pictures_)[static_cast<size_t>(*nextIndex_)];
        if (!ResolveImagePath(path, settings_.ImagePath)) return;
        preparer_.Prepare(path, StageOf(*pictureScreen_),
                          static_cast<std::uint64_t>(placementRandom_.Next(0x7FFFFFFF)));
    } catch (const std::exception&) {
        // Nothing prepared: the next change loads its picture in place.
    }
}

void TRunGlimrascreen::PrepareFirstPicture() {
    if (currentIndex_ != -1 || !pictureScreen_ || pictures_->Empty() || !preparer_.Asked().empty())
        return;
    try {
        const int n = static_cast<int>(pictures_->Size());
        TShuffleOrder peek = shuffle_;
        std::string path = (*pictures_)[static_cast<size_t>(
            settings_.ImageSequence == 1 ? peek.Next()
                                         : (currentIndex_ < n - 1 ? currentIndex_ + 1 : 0))];
        if (ResolveImagePath(path, settings_.ImagePath))
            preparer_.Prepare(path, StageOf(*pictureScreen_),
                              static_cast<std::uint64_t>(placementRandom_.Next(0x7FFFFFFF)));
    } catch (const std::exception&) {
        // Nothing prepared: the first change loads its picture in place.
    }
}

void TRunGlimrascreen::BeginTransition() {
    try {
        if (!pictures_->Empty() && pictureScreen_) {
            if (pictureScreen_->Running()) pictureScreen_->StopTransition();
            timer_.SetInterval(IntervalMs());
            pictureScreen_->SetRandomPlacement(settings_.RandomPosition);
            pictureScreen_->SetStyle(NextStyle());
            pictureScreen_->StartTransition();
        }
    } catch (const std::exception&) {
        // A transition that fails to start is treated like one that had nothing to show.
    }
    // No transition means no completion to re-arm the timer: arm it here, so a picture
    // that loads on a later tick is still shown.
    if (pictureScreen_ && !pictureScreen_->Running() && !timer_.Enabled()) {
        timer_.SetInterval(IntervalMs());
        timer_.SetEnabled(true);
    }
}

int TRunGlimrascreen::NextStyle() {
    const int setting = settings_.TransitionStyle;
    if (setting != 0) return TEffectTable::Contains(setting) ? setting : StyleCrossFade;
    std::vector<int> styles;
    for (int style = TEffectTable::First; style <= TEffectTable::Last; ++style)
        if (style != lastStyle_) styles.push_back(style);
    lastStyle_ =
        styles.empty()
            ? lastStyle_
            : styles[static_cast<size_t>(styleRandom_.Next(static_cast<int>(styles.size())))];
    return lastStyle_ ? lastStyle_ : StyleCrossFade;
}

void TRunGlimrascreen::TransitionDone() {
    if (pictureScreen_) timer_.SetEnabled(true);
}

}  // namespace pelwick
