#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <functional>

#include "app/PictureList.h"
#include "gfx/RandomSequence.h"
#include "slideshow/PicturePreparer.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/ShuffleOrder.h"
#include "slideshow/Timer.h"

namespace pelwick {

struct TRssSaverOptions;
class TPictureScan;

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
// next change only takes it.
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
    const TPictureList& Pictures() const { return pictures_; }
    // Whether the picture folder is still being listed.
    bool Scanning() const { return scan_ != nullptr; }

    // Called once, on the user-interface thread, when the picture folder has been listed and
    // held no picture; with the folder.
    std::function<void(const std::string& folder)> OnNoPictures;

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
    // Puts the picture of currentPath_ into the control: the prepared one, or loaded now.
    void ShowPicture();
    // Before the first change: has the worker prepare the picture the first tick will most
    // likely choose (the order's next one, not drawn yet), while the window is still being
    // made; the tick loads in place whatever else it chooses.
    void PrepareFirstPicture();
    // Adds what the folder's listing has found to the list.
    void TakeScanned();
    // With the list empty while the folder is listed, the timer comes back soon.
    bool WaitForPictures();

    const TSlideshowSettings settings_;
    QPointer<TGlimrascreen> pictureScreen_;
    TTimer timer_;
    int currentIndex_ = -1;
    std::string currentPath_;
    TPictureList pictures_;
    std::unique_ptr<TPictureScan> scan_;
    TShuffleOrder shuffle_;
    TRandomSequence styleRandom_;
    int lastStyle_ = 0;
    std::optional<int> nextIndex_;
    // Seeds the random placements made on the worker.
    TRandomSequence placementRandom_;
    TPicturePreparer preparer_;
};

}  // namespace pelwick
