#include "saver/Layer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace pelwick {

QRect ScaledRect(const QRect& frame, double scale) {
    if (scale == 1.0) return frame;
    const auto at = [scale](int v) { return int(std::lround(v * scale)); };
    const int left = at(frame.x());
    const int top = at(frame.y());
    return QRect(left, top, at(frame.x() + frame.width()) - left,
                 at(frame.y() + frame.height()) - top);
}

TLayerWindow::TLayerWindow(QWidget* parent, int alpha)
    : QWidget(parent),
      stage_(new QWidget(this)),
      frame_(geometry()),
      alpha_(std::clamp(alpha, 0, 255)) {
    stage_->setObjectName("Stage");
    stage_->setAutoFillBackground(true);
    stage_->setGeometry(QRect(QPoint(0, 0), frame_.size()));
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

void TLayerWindow::SetFrame(const QRect& frame) {
    const bool resized = frame.size() != frame_.size();
    frame_ = frame;
    PlaceWidget();
    if (!resized) return;
    stage_->resize(frame_.size());
    StageResized();
    InvalidateContent();
}

void TLayerWindow::SetScale(double scale) {
    if (scale <= 0 || scale == scale_) return;
    scale_ = scale;
    PlaceWidget();
    InvalidateContent();
}

void TLayerWindow::PlaceWidget() {
    setGeometry(ScaledRect(frame_, scale_));
}

void TLayerWindow::paintEvent(QPaintEvent*) {
    if (alpha_ == 0 || width() <= 0 || height() <= 0 || stage_->width() <= 0 ||
        stage_->height() <= 0)
        return;
    if (dirty_ || composed_.size() != stage_->size()) {
        composed_ = QImage(stage_->size(), QImage::Format_RGB32);
        stage_->render(&composed_);
        shown_ = QImage();
        dirty_ = false;
    }
    const QImage* image = &composed_;
    if (composed_.size() != size()) {
        if (shown_.size() != size())
            shown_ = composed_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image = &shown_;
    }
    QPainter painter(this);
    painter.setOpacity(alpha_ / 255.0);
    painter.drawImage(0, 0, *image);
}

}  // namespace pelwick
