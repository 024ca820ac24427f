// The moving half of the picture screen: preparing a transition, pacing it (on an
// animation thread or in place), composing its frames and ending it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <optional>

#include "gfx/ComplexRegion.h"
#include "gfx/Compose.h"
#include "gfx/Rounding.h"
#include "slideshow/AnimateThread.h"
#include "slideshow/CrossFade.h"
#include "slideshow/Effects.h"
#include "slideshow/PictureScreen.h"

namespace pelwick {

namespace {

// A value for each transition, different from the last: the seed of its fixed patterns.
std::uint32_t NextTransitionSeed() {
    static std::atomic<std::uint32_t> counter{0};
    std::uint32_t x = counter.fetch_add(1, std::memory_order_relaxed) + 1;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    return x ^ (x >> 16);
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
    // Frames stretch by pixel replication, the drawing surface's own way: averaging
    // (halftone) is for preparing pictures once, and would cost a whole-screen stretch of a
    // moving picture many times the frame's budget.
    screenBitmap_.Canvas().StretchMode = smReplicate;
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
    transitionSeed_ = NextTransitionSeed();

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
    ComposeFrame();
    ShowFrame();
}

// The old snapshot, then the style's routine for the progress between the ends, then the
// completion step by what the routine left. Without a hook between the snapshot and the
// routine the snapshot is not copied onto Screen first: the routine reads it where it needs
// the old picture, and what it leaves of it is drawn only where the new picture does not go.
void TCustomGlimrascreen::ComposeFrame() {
    if (!oldBitmap_ || !newBitmap_) return;
    TBitmap& screen = screenBitmap_;
    TBitmap& now = *newBitmap_;
    screen.Canvas().Lock();
    now.Canvas().Lock();
    const TEffect* effect = TEffectTable::Contains(style_) ? &EffectTable[style_] : nullptr;
    const bool composed = effect && progress_ > 0 && progress_ < 100;
    const bool fromSnapshot = composed && !OnBeforeNewFrame && !screen.Canvas().HasClip();
    if (!fromSnapshot) screen.Canvas().Draw(0, 0, *oldBitmap_);
    if (OnBeforeNewFrame) OnBeforeNewFrame(*this, now, screen);
    // The bitmap's own size: the picture may have been changed since the transition began.
    TFrame frame = MakeFrame(now.Width(), now.Height());
    frame.Pattern = &fixedPattern_;
    if (fromSnapshot) frame.Snapshot = oldBitmap_.get();
    if (style_ == StyleCustom)
        DrawCustomFrame(frame);
    else if (composed)
        effect->Compose(frame);

    if (progress_ == 100)
        screen.Canvas().Draw(0, 0, now);
    else if (composed)
        CompleteFrame(effect->Kind, frame);
    InvalidatePictureArea(frame.Dest);
    if (OnAfterNewFrame) OnAfterNewFrame(*this, now, screen);
    now.Canvas().Unlock();
    screen.Canvas().Unlock();
}

TFrame TCustomGlimrascreen::MakeFrame(int w, int h) {
    const int p = progress_;
    int x, y;
    if (h > w) {
        y = MulDiv(h, p, 100);
        x = MulDiv(y, w, h);
    } else {
        x = MulDiv(w, p, 100);
        y = MulDiv(x, h, w);
    }
    TFrame frame{screenBitmap_, *newBitmap_, w, h, x, y, p, MulDiv(h > w ? h : w, step_, 90)};
    frame.Seed = transitionSeed_;
    // Ragged and speckled edges change with every step, and a step composed again comes
    // out alike.
    frame.Random.Seed((std::uint64_t{transitionSeed_} << 8) | static_cast<std::uint64_t>(p));
    return frame;
}

// What the routine left: rectangles to copy, a region to draw through, or a frame it composed
// itself (a snapshot it did not use is what that frame shows).
void TCustomGlimrascreen::CompleteFrame(TEffectKind kind, const TFrame& frame) {
    if (kind == ekRegion)
        CompleteRegionFrame(frame);
    else if (kind == ekRects)
        CompleteRectFrame(frame);
    else if (frame.Snapshot)
        screenBitmap_.Canvas().Draw(0, 0, *frame.Snapshot);
}

// The new picture through the region, over the snapshot (drawn here when it is not yet).
void TCustomGlimrascreen::CompleteRegionFrame(const TFrame& frame) {
    TCanvas& canvas = screenBitmap_.Canvas();
    if (frame.Snapshot && frame.Shape) {
        ComposeThroughRects(screenBitmap_, *frame.Snapshot, frame.Picture, *frame.Shape);
    } else if (frame.Snapshot && frame.Region) {
        ComposeThroughRegion(screenBitmap_, *frame.Snapshot, frame.Picture, *frame.Region);
    } else if (frame.Snapshot) {
        canvas.Draw(0, 0, *frame.Snapshot);
    } else if (frame.Region || frame.Shape) {
        const TRegion region = frame.Shape ? frame.Shape->Region() : *frame.Region;
        canvas.SetClipRegion(&region);
        canvas.Draw(0, 0, frame.Picture);
        canvas.SetClipRegion(nullptr);
    }
}

// The pieces, each repainted, and then Src onto Dest; the snapshot, when it is not drawn
// yet, only where none of them goes.
void TCustomGlimrascreen::CompleteRectFrame(const TFrame& frame) {
    TCanvas& canvas = screenBitmap_.Canvas();
    if (frame.Snapshot) {
        TComplexRegion copied;
        for (const TFrame::TPiece& piece : frame.Pieces)
            copied.AddRect(TCanvas::CopiedArea(piece.Dest, frame.Picture, piece.Src));
        copied.AddRect(TCanvas::CopiedArea(frame.Dest, frame.Picture, frame.Src));
        const TRegion rest = TRegion::Rect(screenBitmap_.BoundsRect())
                                 .Subtracted(copied.CreateRegion().value_or(TRegion()));
        if (!rest.Empty()) {
            canvas.SetClipRegion(&rest);
            canvas.Draw(0, 0, *frame.Snapshot);
            canvas.SetClipRegion(nullptr);
        }
    }
    for (const TFrame::TPiece& piece : frame.Pieces) {
        canvas.CopyRect(piece.Dest, frame.Picture, piece.Src);
        InvalidatePictureArea(TCanvas::CopiedArea(piece.Dest, frame.Picture, piece.Src));
    }
    canvas.CopyRect(frame.Dest, frame.Picture, frame.Src);
}

// Style 0: the owner draws the frame, or the new picture appears at once.
void TCustomGlimrascreen::DrawCustomFrame(TFrame& frame) {
    if (OnCustomDraw) {
        OnCustomDraw(*this, *newBitmap_, screenBitmap_);
        return;
    }
    screenBitmap_.Canvas().Draw(0, 0, *newBitmap_);
    frame.Region = TRegion::Rect(frame.Dest);
    // The progress jumps to the end of its direction, so the animation ends at its next test
    // (a reverse one too, which would otherwise be pushed back to 100 on every step and
    // never reach 0).
    progress_ = reverse_ ? 0 : 100;
}

// Puts the frame on screen before returning: a visible control repaints what the frame
// invalidated at once; a hidden one still composes PaintBuffer, which the next transition
// takes its snapshot from.
void TCustomGlimrascreen::ShowFrame() {
    if (painting_ || destroying_ || IsRectEmpty(dirty_)) return;
    const TRect r = dirty_;
    dirty_ = TRect{};
    if (isVisible()) {
        const QRect area(r.Left, r.Top, RectWidth(r), RectHeight(r));
        Changing(area);
        repaint(area);
    } else {
        ComposeArea(r);
    }
}

}  // namespace pelwick
