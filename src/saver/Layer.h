#pragma once

#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class QPainter;

namespace pelwick {

// An overlay of the saver window drawn with one constant alpha over what lies below it, as
// a layered window would be. Its content lives on Stage, a child that is never shown on its
// own: the stage is composed opaque into a picture when the content changes, and every
// paint of the layer blends that picture as a whole. The slideshow below repaints many
// times a second, and each time the layer costs one blend, not a redraw of its content.
// A change of alpha repaints the layer at once, so a fade that blocks the user-interface
// thread is still seen step by step; but not more often than the display shows frames: a
// step that comes sooner after the last paint than PaintIntervalMs is painted when that
// frame is over, or by a later step that comes after it.
//
// A fade steps the alpha some two hundred times, and what lies beneath the layer rarely
// changes meanwhile. Once its owner tells it of every such change (SetKeepsBeneath), the
// layer paints itself whole: it keeps a copy of what lies beneath it, drawn again only
// where the owner said it changed, and each step is one blend of that copy with the
// picture of its content, painted over the layer's rectangle alone. Qt then takes the
// layer for opaque and no longer repaints it when something beneath it is repainted: the
// owner's BeneathChanged does.
//
// The layer is placed and sized through its frame, in the units its owner lays the wall
// out in. On a screen those are pixels. In a host's window smaller than a screen the wall
// is laid out as for a screen and shown as a miniature: the widget takes the frame times
// Scale, and the stage, which keeps the frame's size, is drawn smoothly scaled into it.
class TLayerWindow : public QWidget {
  public:
    explicit TLayerWindow(QWidget* parent, int alpha);

    int AlphaBlendValue() const { return alpha_; }
    // Held to 0..255.
    void SetAlphaBlendValue(int value);

    // The parent of the layer's content; it always has the frame's size.
    QWidget* Stage() const { return stage_; }
    // The content changed: the next paint composes the stage again.
    void InvalidateContent();

    QRect Frame() const { return frame_; }
    int Left() const { return frame_.x(); }
    int Top() const { return frame_.y(); }
    int Right() const { return frame_.x() + frame_.width(); }
    int Width() const { return frame_.width(); }
    int Height() const { return frame_.height(); }
    void SetFrame(const QRect& frame);
    void MoveTo(int left, int top) { SetFrame(QRect(left, top, Width(), Height())); }
    void ResizeTo(int width, int height) { SetFrame(QRect(Left(), Top(), width, height)); }

    // The window's size over the layout's: 1 on a screen, less in a small host window.
    double Scale() const { return scale_; }
    void SetScale(double scale);

    // Where the layer lies in the window, in pixels.
    QRect OnScreen() const { return QWidget::geometry(); }

    // Whether the layer keeps its copy of what lies beneath it. The owner then calls
    // BeneathChanged with every change beneath the layer before it is repainted; otherwise
    // Qt composes what lies beneath at every paint, as for any translucent child.
    void SetKeepsBeneath(bool keeps);
    bool KeepsBeneath() const { return keepsBeneath_; }
    // What lies beneath area (the layer's pixels) is about to change: the copy is drawn
    // again there and the layer repaints it in the same paint.
    void BeneathChanged(const QRect& area);

    // Called with the area of the parent (its pixels) that the layer's own look is about
    // to change (alpha, content, place, visibility): a layer above it keeping a copy of it
    // must be told.
    std::function<void(const QRect& area)> OnChanging;

    // One frame of the display the layer is on (16 ms when it cannot be told): the least
    // time between two painted steps.
    int PaintIntervalMs() const;

    // Milliseconds of a steady clock; tests set their own.
    using TMilliseconds = std::function<std::int64_t()>;
    void SetClock(TMilliseconds clock) { clock_ = std::move(clock); }

    // The window's integer tag.
    int Tag = 0;

  protected:
    // The frame changed size; the stage already has the new size.
    virtual void StageResized() {}
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // The widget's own geometry is the frame's image on screen: placing, sizing and
    // reading go through the frame, so nothing mixes the two sets of units.
    using QWidget::geometry;
    using QWidget::height;
    using QWidget::move;
    using QWidget::resize;
    using QWidget::setGeometry;
    using QWidget::width;
    using QWidget::x;
    using QWidget::y;

    void PlaceWidget();
    void PaintStep(std::int64_t now);
    void Changing(const QRect& area);
    // The stage's picture at the widget's size; null while the stage has no area.
    const QImage* ContentImage();
    // Keeps beneath_ true to what lies under the layer.
    void KeepBeneath();
    void DrawBeneath(const QRect& area);
    void BlendRows(QImage& target, QPoint at, const QRect& area, const QImage* image);
    static QImage* PaintedImage(QPainter& painter, const QRect& area);

    QWidget* stage_;
    QRect frame_;
    double scale_ = 1.0;
    QImage composed_;
    // composed_ drawn at the widget's size when the layer is scaled.
    QImage shown_;
    bool dirty_ = true;
    int alpha_;
    TMilliseconds clock_;
    std::optional<std::int64_t> lastStepPaint_;
    QTimer pendingStep_;
    bool keepsBeneath_ = false;
    // What lay beneath the layer at beneathPlace_, but where the owner said it changed.
    QImage beneath_;
    QRect beneathPlace_;
    QRegion staleBeneath_;
    // The blend of beneath_ and the content, painted as it is where it cannot be blended
    // into the picture being painted.
    QImage blended_;
};

// The rectangle a frame covers on screen at a scale: edges are scaled, not sizes, so frames
// that touch in the layout touch on screen.
QRect ScaledRect(const QRect& frame, double scale);

}  // namespace pelwick
