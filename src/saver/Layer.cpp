#include "saver/Layer.h"

#include <QPainter>
#include <algorithm>

namespace pelwick {

TLayerWindow::TLayerWindow(QWidget* parent, int alpha)
    : QWidget(parent), stage_(new QWidget(this)), alpha_(std::clamp(alpha, 0, 255)) {
    stage_->setObjectName("Stage");
    stage_->setAutoFillBackground(true);
    stage_->hide();
    hide();
}

void TLayerWindow::SetAlphaBlendValue(int value) {
    value = std::clamp(value, 0, 255);
    if (value == alpha_) return;
    alpha_ = value;
    if (isVisible()) repaint();
}

void TLayerWindow::InvalidateContent() {
    dirty_ = true;
    update();
}

void TLayerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    stage_->setGeometry(rect());
    InvalidateContent();
}

void TLayerWindow::paintEvent(QPaintEvent*) {
    if (alpha_ == 0 || width() <= 0 || height() <= 0) return;
    if (dirty_ || composed_.size() != size()) {
        composed_ = QImage(size(), QImage::Format_RGB32);
        stage_->render(&composed_);
        dirty_ = false;
    }
    QPainter painter(this);
    painter.setOpacity(alpha_ / 255.0);
    painter.drawImage(0, 0, composed_);
}

}  // namespace pelwick
