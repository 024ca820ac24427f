#include "saver/Layer.h"

#include <QGraphicsOpacityEffect>
#include <algorithm>

namespace pelwick {

TLayerWindow::TLayerWindow(QWidget* parent, int alpha)
    : QWidget(parent),
      effect_(new QGraphicsOpacityEffect(this)),
      alpha_(std::clamp(alpha, 0, 255)) {
    setAutoFillBackground(true);
    effect_->setOpacity(alpha_ / 255.0);
    setGraphicsEffect(effect_);
    hide();
}

void TLayerWindow::SetAlphaBlendValue(int value) {
    value = std::clamp(value, 0, 255);
    if (value == alpha_) return;
    alpha_ = value;
    effect_->setOpacity(alpha_ / 255.0);
    if (isVisible()) repaint();
}

}  // namespace pelwick
