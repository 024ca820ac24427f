// The moving half of the picture screen: preparing a transition, pacing it (on an
// animation thread or in place), composing its frames and ending it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <optional>

#include "gfx/Rounding.h"
#include "slideshow/AnimateThread.h"
#include "slideshow/CrossFade.h"
#include "slideshow/Glimrascreen.h"

namespace pelwick {

namespace {

// What a style leaves for the completion step of a frame.
enum TFrameKind {
    fkNothing,  // the style composed no frame of its own
    fkRects,    // copy Src of the new picture onto Dest
    fkRegion,   // copy the new picture through the clip region
    fkDrawn,    // the style drew the frame itself
};

bool IsEffectStyle(int style) {
    return style >= 128 && style <= StyleLast;
}

}  // namespace

void TCustomGlimrascreen::StartTransition() {
    if (running_ || !picture_.HasImage()) return;
    running_ = true;
    try {
        PrepareTransition();
        if (!manual_) Animate();
    } catch (...) {
        newBitmap_.reset();
        oldBitmap_.reset();
        running_ = false;
        throw;
    }
}

void TCustomGlimrascreen::PrepareTransition() {
    const TBitmap& picture = *picture_.Bitmap();
    const int w = picture.Width(), h = picture.Height();
    screenBitmap_.Canvas().Brush.Color = color_;
    screenBitmap_.SetSize(w, h);
    UpdatePlacement();

    // The old snapshot: what PaintBuffer shows where the new picture will appear. Parts of
    // that area outside PaintBuffer (a picture larger than the control) show Color.
    const TRect client = ClientRect();
    const TRect source = !stretch_      ? pictureRect_
                         : stretchFine_ ? FitRect(pictureRect_, client)
                                        : client;
    auto old = std::make_unique<TBitmap>(TBitmap::Uninitialized(w, h, pf24bit));
    old->Canvas().Brush.Color = color_;
    if (source.Left < 0 || source.Top < 0 || source.Right > paintBuffer_.Width() ||
        source.Bottom > paintBuffer_.Height())
        old->Canvas().FillRect(old->BoundsRect());
    old->Canvas().CopyRect(old->BoundsRect(), paintBuffer_, source);
    oldBitmap_ = std::move(old);

    // The frame routines read the new picture's rows as 24-bit, whatever the file held.
    newBitmap_ = std::make_unique<TBitmap>(picture);
    newBitmap_->SetPixelFormat(pf24bit);
    newBitmap_->Canvas().SetClipRegion(nullptr);

    SetProgress(reverse_ ? 100 : 0);
}

void TCustomGlimrascreen::Animate() {
    if (threaded_) {
        // A thread that is still winding down (the transition was paused and resumed
        // before its end was handled) is cancelled; its end handler no longer applies.
        thread_.reset();
        thread_ = std::make_unique<TAnimateThread>(this);
        return;
    }
    AnimateInPlace();
}

void TCustomGlimrascreen::AnimateInPlace() {
    QPointer<TCustomGlimrascreen> self(this);
    bool done = false;
    do {
        QElapsedTimer clock;
        clock.start();
        StepFrame();
        if (!self) return;
        done = reverse_ ? progress_ == 0 : progress_ == 100;
        if (!done && clock.elapsed() < delay_ && running_ && !manual_ && !stopping_) {
            // Serve the user interface until the frame's time is up; Stop, Manual and the
            // end of the transition cut the wait short.
            QEventLoop wait;
            QTimer timer;
            timer.setSingleShot(true);
            timer.setTimerType(Qt::PreciseTimer);
            QObject::connect(&timer, &QTimer::timeout, &wait, &QEventLoop::quit);
            timer.start(static_cast<int>(std::max<qint64>(0, delay_ - clock.elapsed())));
            inPlaceWait_ = &wait;
            wait.exec();
            if (!self) return;
            inPlaceWait_ = nullptr;
        }
    } while (!done && running_ && !manual_ && !stopping_);
    if (done) FinishTransition();
}

void TCustomGlimrascreen::QuitInPlaceWait() {
    if (inPlaceWait_) inPlaceWait_->quit();
}

void TCustomGlimrascreen::StepFrame() {
    int next;
    if (reverse_)
        next = progress_ < step_ ? 0 : progress_ - step_;
    else
        next = progress_ + step_;
    SetProgress(next);
}

void TCustomGlimrascreen::SetProgress(int value) {
    value = std::clamp(value, 0, 100);
    if (!running_ || value == progress_) return;
    if (value < progress_ && !painting_)
        InvalidatePictureArea(TRect{0, 0, screenBitmap_.Width(), screenBitmap_.Height()});
    progress_ = static_cast<std::uint8_t>(value);
    if (!framesSuspended_) RenderFrame();
    if (OnProgress && !destroying_) OnProgress(*this);
}

void TCustomGlimrascreen::FinishTransition() {
    thread_.reset();
    if (!stopping_ && manual_) return;  // paused: the owner drives it by hand
    running_ = false;
    newBitmap_.reset();
    oldBitmap_.reset();
    QuitInPlaceWait();
    if (OnComplete && !destroying_ && !stopping_) OnComplete(*this);
}

void TCustomGlimrascreen::AnimationThreadEnded(const TAnimateThread* thread) {
    if (thread_.get() != thread) return;  // a thread that was replaced meanwhile
    FinishTransition();
}

void TCustomGlimrascreen::StopTransition() {
    if (!running_ || stopping_) return;
    stopping_ = true;
    QuitInPlaceWait();
    try {
        if (thread_)
            thread_->Terminate();
        else
            FinishTransition();
    } catch (...) {
        stopping_ = false;
        throw;
    }
    stopping_ = false;
}

void TCustomGlimrascreen::SetManual(bool value) {
    if (value == manual_) return;
    manual_ = value;
    if (!running_) {
        progress_ = reverse_ ? 100 : 0;
    } else if (manual_) {
        QuitInPlaceWait();
    } else {
        Animate();
    }
}

void TCustomGlimrascreen::RenderFrame() {
    if (!oldBitmap_ || !newBitmap_) return;
    TBitmap& screen = screenBitmap_;
    TBitmap& now = *newBitmap_;
    const int p = progress_;

    if (IsEffectStyle(style_)) {
        screen.Canvas().Lock();
        now.Canvas().Lock();
        screen.Canvas().Draw(0, 0, *oldBitmap_);
        if (OnBeforeNewFrame) OnBeforeNewFrame(*this, now, screen);
        const int w = picture_.Width(), h = picture_.Height();
        if (p == 100) screen.Canvas().Draw(0, 0, now);
        // The effect routines of the named effects join here with (screen, now, w, h, X, Y, p).
        InvalidatePictureArea(TRect{0, 0, w, h});
        if (OnAfterNewFrame) OnAfterNewFrame(*this, now, screen);
        now.Canvas().Unlock();
        screen.Canvas().Unlock();
        ShowFrame();
        return;
    }

    screen.Canvas().Lock();
    // The cross-fade reads every old pixel anyway, so without a hook between the two steps
    // it starts from the snapshot directly instead of copying it first.
    const bool fuseFade = style_ == StyleCrossFade && !OnBeforeNewFrame && p < 100;
    if (!fuseFade) screen.Canvas().Draw(0, 0, *oldBitmap_);
    if (OnBeforeNewFrame) OnBeforeNewFrame(*this, now, screen);
    const int w = now.Width(), h = now.Height();
    TRect dest{0, 0, w, h}, src{0, 0, w, h};
    std::optional<TRegion> region;
    int x, y;
    if (h > w) {
        y = MulDiv(h, p, 100);
        x = MulDiv(y, w, h);
    } else {
        x = MulDiv(w, p, 100);
        y = MulDiv(x, h, w);
    }
    const int bandStep = MulDiv(h > w ? h : w, step_, 90);
    (void)x, (void)y, (void)bandStep;  // the geometric styles' inputs
    if (style_ > StyleLast) {
        screen.Canvas().Unlock();
        return;
    }

    TFrameKind kind = fkNothing;
    if (style_ == StyleCustom) {
        if (OnCustomDraw) {
            OnCustomDraw(*this, now, screen);
            kind = fkDrawn;
        } else {
            screen.Canvas().Draw(0, 0, now);
            region = TRegion::Rect(dest);
            // An instant change: the progress jumps to the end of its direction, so the
            // animation ends at its next test (a reverse one too, which would otherwise be
            // pushed back to 100 on every step and never reach 0).
            progress_ = reverse_ ? 0 : 100;
            kind = fkDrawn;
        }
    } else if (style_ == StyleCrossFade) {
        if (fuseFade)
            CrossFade(screen, *oldBitmap_, now, static_cast<unsigned>(p));
        else if (p < 100)
            CrossFade(screen, screen, now, static_cast<unsigned>(p));
        kind = fkDrawn;
    }
    // Styles 1..117 and 119..127 compose their geometry here in later versions; until then
    // they leave the old snapshot until progress 100.

    if (progress_ == 100) {
        screen.Canvas().Draw(0, 0, now);
    } else if (p > 0 && kind != fkDrawn) {
        if (kind == fkRegion && region) {
            screen.Canvas().SetClipRegion(&*region);
            screen.Canvas().Draw(0, 0, now);
            screen.Canvas().SetClipRegion(nullptr);
        } else if (kind == fkRects) {
            screen.Canvas().CopyRect(dest, now, src);
        }
    }
    region.reset();
    InvalidatePictureArea(dest);
    if (OnAfterNewFrame) OnAfterNewFrame(*this, now, screen);
    screen.Canvas().Unlock();
    ShowFrame();
}

// Puts the frame on screen before returning: a visible control repaints what the frame
// invalidated at once; a hidden one still composes PaintBuffer, which the next transition
// takes its snapshot from.
void TCustomGlimrascreen::ShowFrame() {
    if (painting_ || destroying_ || IsRectEmpty(dirty_)) return;
    const TRect r = dirty_;
    dirty_ = TRect{};
    if (isVisible())
        repaint(QRect(r.Left, r.Top, RectWidth(r), RectHeight(r)));
    else
        ComposeArea(r);
}

}  // namespace pelwick
