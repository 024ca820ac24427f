#pragma once

#include <QImage>
#include <QWidget>

namespace pelwick {

// An overlay of the saver window drawn with one constant alpha over what lies below it, as
// a layered window would be. Its content lives on Stage, a child that is never shown on its
// own: the stage is composed opaque into a picture when the content changes, and every
// paint of the layer blends that picture as a whole. The slideshow below repaints many
// times a second, and each time the layer costs one blend, not a redraw of its content.
// A change of alpha repaints the layer at once, so a fade that blocks the user-interface
// thread is still seen step by step.
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

    // The window's integer tag.
    int Tag = 0;

  protected:
    // The frame changed size; the stage already has the new size.
    virtual void StageResized() {}
    void paintEvent(QPaintEvent* event) override;

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

    QWidget* stage_;
    QRect frame_;
    double scale_ = 1.0;
    QImage composed_;
    // composed_ drawn at the widget's size when the layer is scaled.
    QImage shown_;
    bool dirty_ = true;
    int alpha_;
};

// The rectangle a frame covers on screen at a scale: edges are scaled, not sizes, so frames
// that touch in the layout touch on screen.
QRect ScaledRect(const QRect& frame, double scale);

}  // namespace pelwick
