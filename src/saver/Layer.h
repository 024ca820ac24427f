#pragma once

#include <QWidget>

class QGraphicsOpacityEffect;

namespace pelwick {

// An overlay of the saver window drawn with one constant alpha over what lies below it, as
// a layered window would be: the layer and its children are composed opaque and then
// blended as a whole. A change of alpha repaints the layer at once, so a fade that blocks
// the user-interface thread is still seen step by step.
class TLayerWindow : public QWidget {
  public:
    explicit TLayerWindow(QWidget* parent, int alpha);

    int AlphaBlendValue() const { return alpha_; }
    // Held to 0..255.
    void SetAlphaBlendValue(int value);

    // The window's integer tag.
    int Tag = 0;

  private:
    QGraphicsOpacityEffect* effect_;
    int alpha_;
};

}  // namespace pelwick
