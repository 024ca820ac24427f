#include "saver/Layer.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "gfx/Blend.h"

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
      alpha_(std::clamp(alpha, 0, 255)),
      clock_([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now().time_since_epoch())
              .count();
      }) {
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
    ++changes_;
    if (!isVisible()) return;
    const std::int64_t now = clock_();
    if (lastStepPaint_ && now - *lastStepPaint_ >= 0 && now - *lastStepPaint_ < MinPaintMs) {
        update();
        return;
    }
    lastStepPaint_ = now;
    repaint();
}

void TLayerWindow::InvalidateContent() {
    dirty_ = true;
    ++changes_;
    update();
}

void TLayerWindow::SetChangesBeneath(TChangesBeneath changes) {
    changesBeneath_ = std::move(changes);
    // Painted whole, the layer asks Qt for nothing beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, bool(changesBeneath_));
    setAttribute(Qt::WA_NoSystemBackground, bool(changesBeneath_));
    beneathCount_.reset();
    update();
}

void TLayerWindow::SetFrame(const QRect& frame) {
    const bool resized = frame.size() != frame_.size();
    if (frame != frame_) ++changes_;
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
    ++changes_;
    PlaceWidget();
    InvalidateContent();
}

void TLayerWindow::PlaceWidget() {
    setGeometry(ScaledRect(frame_, scale_));
}

const QImage* TLayerWindow::ContentImage() {
    if (width() <= 0 || height() <= 0 || stage_->width() <= 0 || stage_->height() <= 0)
        return nullptr;
    if (dirty_ || composed_.size() != stage_->size()) {
        composed_ = QImage(stage_->size(), QImage::Format_RGB32);
        stage_->render(&composed_);
        shown_ = QImage();
        dirty_ = false;
    }
    if (composed_.size() == size()) return &composed_;
    if (shown_.size() != size()) {
        shown_ = composed_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        shown_.convertTo(QImage::Format_RGB32);
    }
    return &shown_;
}

void TLayerWindow::paintEvent(QPaintEvent* event) {
    if (!changesBeneath_) {
        const QImage* image = alpha_ > 0 ? ContentImage() : nullptr;
        if (!image) return;
        QPainter painter(this);
        painter.setOpacity(alpha_ / 255.0);
        painter.drawImage(0, 0, *image);
        return;
    }
    const QRect area = event->rect() & rect();
    if (area.isEmpty()) return;
    KeepBeneath(area);
    const QImage* image = ContentImage();
    if (blended_.size() != size()) blended_ = QImage(size(), QImage::Format_RGB32);
    const auto bytes = static_cast<std::size_t>(area.width()) * 4;
    const std::size_t left = static_cast<std::size_t>(area.left()) * 4;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* under = beneath_.constScanLine(y) + left;
        if (image)
            BlendBytes(blended_.scanLine(y) + left, under, image->constScanLine(y) + left, bytes,
                       unsigned(alpha_));
        else
            std::copy_n(under, bytes, blended_.scanLine(y) + left);
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(area.topLeft(), blended_, area);
}

// What lies beneath is drawn again where the layer is painted whenever the owner's count
// moved, and all of it when the layer moved, was resized or was hidden: every change
// beneath the layer comes with a paint of the layer over it, and a step of the fade,
// which paints the whole layer, finds the count where it was.
void TLayerWindow::KeepBeneath(const QRect& area) {
    const std::optional<std::uint64_t> count = changesBeneath_();
    const QRect place = OnScreen();
    if (beneath_.size() != size() || place != beneathPlace_ || !beneathCount_) {
        if (beneath_.size() != size()) beneath_ = QImage(size(), QImage::Format_RGB32);
        DrawBeneath(rect());
    } else if (count != beneathCount_) {
        DrawBeneath(area);
    }
    beneathPlace_ = place;
    beneathCount_ = count;
}

// The parent's background, then the siblings stacked below the layer, as Qt would paint
// them under a translucent child.
void TLayerWindow::DrawBeneath(const QRect& area) {
    QWidget* parent = parentWidget();
    QPainter painter(&beneath_);
    painter.setClipRect(area);
    painter.fillRect(area, parent ? parent->palette().color(parent->backgroundRole()) : Qt::black);
    if (!parent) return;
    const QPoint origin = OnScreen().topLeft();
    const QRect wanted = area.translated(origin);
    for (QObject* child : parent->children()) {
        if (child == this) break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || sibling->isHidden() || sibling->isWindow()) continue;
        const QRect part = wanted & sibling->geometry();
        if (part.isEmpty()) continue;
        sibling->render(&painter, part.topLeft() - origin,
                        QRegion(part.translated(-sibling->pos())), QWidget::DrawChildren);
    }
}

void TLayerWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ++changes_;
    beneathCount_.reset();
}

void TLayerWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    ++changes_;
}

}  // namespace pelwick
