#pragma once

#include <QEventLoop>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "gfx/Bitmap.h"
#include "gfx/Picture.h"
#include "slideshow/Effects.h"

namespace pelwick {

class TAnimateThread;
class TCustomGlimrascreen;
struct TFrame;

// How LoadScreenPicture scales a picture to the control; other values leave it unscaled.
enum TPictureSizeMode : std::uint8_t { szShrinkToFit, szOriginal, szFit, szStretch, szTileOrFit };

// Styles known by number: the owner's own drawing (OnCustomDraw), the cross-fade the
// slideshow uses, and the last style of the catalogue.
inline constexpr int StyleCustom = 0;
inline constexpr int StyleCrossFade = 118;
inline constexpr int StyleLast = TEffectTable::Last;

// The picture screen: shows one picture over a background colour (and an optional
// background picture) and changes from what is on screen to a new picture through an
// animated transition. Everything it draws goes through PaintBuffer, which therefore always
// holds what is on screen; the widget never lets the background be erased.
class TCustomGlimrascreen : public QWidget {
    Q_OBJECT

  public:
    enum TBackgroundMode { bmNone, bmTiled, bmStretched, bmCentered };
    enum TAlign { alNone, alClient };

    using TNotifyEvent = std::function<void(TCustomGlimrascreen& sender)>;
    using TCustomDrawEvent =
        std::function<void(TCustomGlimrascreen& sender, TBitmap& picture, TBitmap& screen)>;
    using TMouseEvent = std::function<void(TCustomGlimrascreen& sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, int x, int y)>;
    using TAreaEvent = std::function<void(TCustomGlimrascreen& sender, const QRect& area)>;
    using TMouseMoveEvent =
        std::function<void(TCustomGlimrascreen& sender, Qt::KeyboardModifiers shift, int x, int y)>;

    explicit TCustomGlimrascreen(QWidget* parent = nullptr);
    ~TCustomGlimrascreen() override;

    // ---- Pictures and placement
    TPicture& Picture() { return picture_; }
    void SetPicture(const TPicture* picture);
    TPicture& BgPicture() { return bgPicture_; }
    void SetBgPicture(const TPicture* picture);
    TBackgroundMode BgMode() const { return bgMode_; }
    void SetBgMode(TBackgroundMode mode);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool StretchFine() const { return stretchFine_; }
    void SetStretchFine(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // ---- Transition settings
    int Step() const { return step_; }
    void SetStep(int value);  // 0 stores 1, above 100 stores 100
    int Delay() const { return delay_; }
    void SetDelay(int ms) { delay_ = static_cast<std::uint16_t>(std::clamp(ms, 0, 65535)); }
    int Style() const { return style_; }
    void SetStyle(int style) {
        style_ = static_cast<std::uint8_t>(std::clamp(style, 0, StyleLast));
    }
    bool Reverse() const { return reverse_; }
    void SetReverse(bool value) { reverse_ = value; }
    bool Manual() const { return manual_; }
    void SetManual(bool value);
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool value) { threaded_ = value; }
    QThread::Priority ThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(QThread::Priority p) { threadPriority_ = p; }

    // ---- Picture preparation state (LoadScreenPicture)
    std::uint8_t SizeMode() const { return sizeMode_; }
    void SetSizeMode(std::uint8_t mode) { sizeMode_ = mode; }
    bool RandomPlacement() const { return randomPlacement_; }
    void SetRandomPlacement(bool value) { randomPlacement_ = value; }
    // The last picture LoadScreenPicture prepared, before padding; nullptr before the first.
    TPicture* PreviousPicture() { return previousPicture_.get(); }
    void SetPreviousPicture(const TPicture& picture);
    // The same from a bitmap of its own, moved in.
    void SetPreviousPicture(TBitmap picture);

    // ---- Buffers
    const TBitmap& ScreenBitmap() const { return screenBitmap_; }
    const TBitmap& PaintBuffer() const { return paintBuffer_; }
    TRect PictureRect() const { return pictureRect_; }
    TRect ClientRect() const { return TRect{0, 0, width(), height()}; }
    bool Painting() const { return painting_; }
    bool Destroying() const { return destroying_; }

    // Composes the whole control into PaintBuffer (what Paint shows on screen).
    void Paint();
    // Marks the screen area of r (in ScreenBitmap coordinates) for repainting.
    void InvalidatePictureArea(TRect r);
    // r fitted into target keeping r's aspect ratio, centred in target.
    static TRect FitRect(const TRect& r, const TRect& target);

    // ---- Transitions
    void StartTransition();
    void StopTransition();
    bool Running() const { return running_; }
    bool Stopping() const { return stopping_; }
    int Progress() const { return progress_; }
    void SetProgress(int value);
    // Advances the progress by one Step (the animation's frame step).
    void StepFrame();
    // Composes the frame for the current progress into ScreenBitmap and shows it.
    void RenderFrame();
    // The first half of RenderFrame: the frame composed and its area marked for repainting,
    // but not shown yet (benchmarks time the styles' own work with it).
    void ComposeFrame();
    bool FramesSuspended() const { return framesSuspended_; }
    void SetFramesSuspended(bool value) { framesSuspended_ = value; }
    // Whether an animation thread runs for the current transition.
    bool AnimationThreadRunning() const { return thread_ != nullptr; }
    const TBitmap* OldBitmap() const { return oldBitmap_.get(); }
    const TBitmap* NewBitmap() const { return newBitmap_.get(); }
    // The seed of the running transition's chance patterns (speckles, squares, bars), new
    // for every transition. Setting it before the first frame makes a transition's frames
    // the same wherever it runs (tools and tests compare them).
    std::uint32_t TransitionSeed() const { return transitionSeed_; }
    void SetTransitionSeed(std::uint32_t seed) { transitionSeed_ = seed; }

    // ---- Events
    TNotifyEvent OnChange, OnProgress, OnComplete, OnMouseEnter, OnMouseLeave, OnClick, OnDblClick;
    TCustomDrawEvent OnBeforeNewFrame, OnAfterNewFrame, OnCustomDraw;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    // Called with each area of the control (its pixels) before it is repainted: a layer
    // that keeps a copy of what lies beneath it, and that Qt therefore leaves alone when
    // something beneath changes, is marked for the same paint.
    TAreaEvent OnChanging;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class TAnimateThread;
    void ComposeArea(const TRect& area);
    void UpdatePlacement();
    void PictureChanged();
    void BgPictureChanged();
    void AdjustSize();
    void InvalidateIfShown();
    // Tells OnChanging and repaints the whole control, later.
    void Changed();
    void Changing(const QRect& area);
    void PrepareTransition();
    void Animate();
    void AnimateInPlace();
    void FinishTransition();
    void AnimationThreadEnded(const TAnimateThread* thread);
    void QuitInPlaceWait();
    void ShowFrame();
    TFrame MakeFrame(int w, int h);
    void CompleteFrame(TEffectKind kind, const TFrame& frame);
    void CompleteRegionFrame(const TFrame& frame);
    void CompleteRectFrame(const TFrame& frame);
    void DrawCustomFrame(TFrame& frame);

    TPicture picture_, bgPicture_;
    TBackgroundMode bgMode_ = bmTiled;
    bool center_ = false, stretch_ = false, stretchFine_ = false, autoSize_ = true;
    TColor color_ = clWindow;
    TAlign align_ = alNone;
    std::uint16_t step_ = 4, delay_ = 30;
    std::uint8_t style_ = 101;
    bool reverse_ = false, manual_ = false, threaded_ = true;
    QThread::Priority threadPriority_ = QThread::NormalPriority;

    std::uint8_t sizeMode_ = 0;
    bool randomPlacement_ = false;
    std::unique_ptr<TPicture> previousPicture_;

    TBitmap screenBitmap_{0, 0, pf24bit};
    TBitmap paintBuffer_{0, 0, pf32bit};
    TRect pictureRect_{};
    TRect dirty_{};  // what the frame being composed invalidated
    bool painting_ = false, destroying_ = false;

    std::uint8_t progress_ = 0;
    bool running_ = false, stopping_ = false, framesSuspended_ = false;
    std::unique_ptr<TAnimateThread> thread_;
    std::unique_ptr<TBitmap> oldBitmap_, newBitmap_;
    std::uint32_t transitionSeed_ = 0;
    TFixedPattern fixedPattern_;  // the running transition's, drawn by its first frame
    QEventLoop* inPlaceWait_ = nullptr;
};

// The control as the slideshow uses it.
class TGlimrascreen : public TCustomGlimrascreen {
    Q_OBJECT

  public:
    using TCustomGlimrascreen::TCustomGlimrascreen;
};

}  // namespace pelwick
