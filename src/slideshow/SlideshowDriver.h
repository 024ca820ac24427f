#pragma once

#include <QPointer>
#include <memory>
#include <string>

#include "gfx/RandomSequence.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/Timer.h"

namespace pelwick {

// The slideshow: owns a picture screen that fills panel, and on its timer loads the next
// entry of the picture list and changes to it by the transition of the TransitionStyle
// setting (the cross-fade by default). The next change comes ImageInterval seconds after a
// transition has ended.
class TRunGlimrascreen {
  public:
    // The mouse handlers (any may be empty) go to the control's events of the same names.
    explicit TRunGlimrascreen(QWidget* panel, TCustomGlimrascreen::TMouseMoveEvent onMouseMove = {},
                              TCustomGlimrascreen::TMouseEvent onMouseDown = {},
                              TCustomGlimrascreen::TMouseEvent onMouseUp = {});
    ~TRunGlimrascreen();
    TRunGlimrascreen(const TRunGlimrascreen&) = delete;
    TRunGlimrascreen& operator=(const TRunGlimrascreen&) = delete;

    TGlimrascreen* PictureScreen() const { return pictureScreen_; }
    TTimer& Timer() { return timer_; }
    int CurrentIndex() const { return currentIndex_; }
    const std::string& CurrentPath() const { return currentPath_; }

    // The timer's handler and its steps.
    void TimerTick();
    void ChooseNextPicture();
    void BeginTransition();
    // The control's OnComplete.
    void TransitionDone();
    // The style of the next transition: the setting's, or with 0 a built style drawn at
    // random, never the one just used when there is another.
    int NextStyle();
    // Draws the random styles; its own, so that the picture order's sequence stays as it
    // would be without them. Seeded from the clock; tests seed it themselves.
    TRandomSequence& StyleRandom() { return styleRandom_; }

  private:
    void ApplySpeed();
    int IntervalMs() const;

    QPointer<TGlimrascreen> pictureScreen_;
    TTimer timer_;
    int currentIndex_ = -1;
    std::string currentPath_;
    TRandomSequence styleRandom_;
    int lastStyle_ = 0;
};

}  // namespace pelwick
