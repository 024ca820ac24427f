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
class TLayerWindow : public QWidget {
  public:
    explicit TLayerWindow(QWidget* parent, int alpha);

    int AlphaBlendValue() const { return alpha_; }
    // Held to 0..255.
    void SetAlphaBlendValue(int value);

    // The parent of the layer's content; it always has the layer's size.
    QWidget* Stage() const { return stage_; }
    // The content changed: the next paint composes the stage again.
    void InvalidateContent();

    // The window's integer tag.
    int Tag = 0;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* stage_;
    QImage composed_;
    bool dirty_ = true;
    int alpha_;
};

}  // namespace pelwick
