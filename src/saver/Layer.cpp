#include "saver/Layer.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
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
    pendingStep_.setSingleShot(true);
    pendingStep_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pendingStep_, &QTimer::timeout, this, [this] { PaintStep(clock_()); });
    hide();
}

void TLayerWindow::SetAlphaBlendValue(int value) {
    value = std::clamp(value, 0, 255);
    if (value == alpha_) return;
    alpha_ = value;
    if (!isVisible()) return;
    Changing(OnScreen());
    const std::int64_t now = clock_();
    const std::int64_t since = lastStepPaint_ ? now - *lastStepPaint_ : -1;
    const int frame = PaintIntervalMs();
    if (since >= 0 && since < frame) {
        // Painted when the frame is over, unless a later step comes first.
        if (!pendingStep_.isActive()) pendingStep_.start(int(frame - since));
        return;
    }
    PaintStep(now);
}

void TLayerWindow::PaintStep(std::int64_t now) {
    pendingStep_.stop();
    lastStepPaint_ = now;
    if (isVisible()) repaint();
}

int TLayerWindow::PaintIntervalMs() const {
    const double hz = screen() ? screen()->refreshRate() : 0;
    return hz >= 24 && hz <= 500 ? int(1000 / hz) : 16;
}

void TLayerWindow::InvalidateContent() {
    dirty_ = true;
    if (isVisible()) Changing(OnScreen());
    update();
}

void TLayerWindow::Changing(const QRect& area) {
    if (OnChanging && !area.isEmpty()) OnChanging(area);
}

void TLayerWindow::SetKeepsBeneath(bool keeps) {
    keepsBeneath_ = keeps;
    // Painted whole, the layer asks Qt for nothing beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, keeps);
    setAttribute(Qt::WA_NoSystemBackground, keeps);
    staleBeneath_ = rect();
    update();
}

void TLayerWindow::BeneathChanged(const QRect& area) {
    const QRect part = area & rect();
    if (!keepsBeneath_ || part.isEmpty()) return;
    staleBeneath_ += part;
    update(part);
}

void TLayerWindow::SetFrame(const QRect& frame) {
    const bool resized = frame.size() != frame_.size();
    const bool moved = frame != frame_;
    if (moved && isVisible()) Changing(OnScreen());
    frame_ = frame;
    PlaceWidget();
    if (moved && isVisible()) Changing(OnScreen());
    if (!resized) return;
    stage_->resize(frame_.size());
    StageResized();
    InvalidateContent();
}

void TLayerWindow::SetScale(double scale) {
    if (scale <= 0 || scale == scale_) return;
    if (isVisible()) Changing(OnScreen());
    scale_ = scale;
    PlaceWidget();
    if (isVisible()) Changing(OnScreen());
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
    if (!keepsBeneath_) {
        const QImage* image = alpha_ > 0 ? ContentImage() : nullptr;
        if (!image) return;
        QPainter painter(this);
        painter.setOpacity(alpha_ / 255.0);
        painter.drawImage(0, 0, *image);
        return;
    }
    const QRect area = event->rect() & rect();
    if (area.isEmpty()) return;
    KeepBeneath();
    const QImage* image = ContentImage();
    QPainter painter(this);
    if (QImage* target = PaintedImage(painter, area)) {
        BlendRows(*target, painter.deviceTransform().map(area.topLeft()), area, image);
        return;
    }
    if (blended_.size() != size()) blended_ = QImage(size(), QImage::Format_RGB32);
    BlendRows(blended_, area.topLeft(), area, image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(area.topLeft(), blended_, area);
}

// The rows of area blended into target from at: the copy beneath at the layer's alpha under
// its picture, or the copy alone while the stage has no area.
void TLayerWindow::BlendRows(QImage& target, QPoint at, const QRect& area, const QImage* image) {
    const auto bytes = static_cast<std::size_t>(area.width()) * 4;
    const std::size_t left = static_cast<std::size_t>(area.left()) * 4;
    const std::size_t into = static_cast<std::size_t>(at.x()) * 4;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* under = beneath_.constScanLine(y) + left;
        uchar* out = target.scanLine(at.y() + y - area.top()) + into;
        if (image)
            BlendBytes(out, under, image->constScanLine(y) + left, bytes, unsigned(alpha_));
        else
            std::copy_n(under, bytes, out);
    }
}

// The picture the painter paints into, when the layer's area can be blended into it
// directly: a raster image of 32-bit opaque pixels, moved but not scaled (on a dense screen
// it is scaled whatever the painter's transform says), that holds all of
// the area and may all be written there. Qt's own backing store is such a picture; blending
// into it spares a copy of every step.
QImage* TLayerWindow::PaintedImage(QPainter& painter, const QRect& area) {
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    auto* target = static_cast<QImage*>(device);
    // A dense screen's picture has more pixels than the layer: Qt scales what is drawn.
    if (target->devicePixelRatio() != 1.0 || painter.device()->devicePixelRatio() != 1.0)
        return nullptr;
    if (target->format() != QImage::Format_RGB32 &&
        target->format() != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()))
        return nullptr;
    const QRect inTarget(t.map(area.topLeft()), area.size());
    if (!target->rect().contains(inTarget)) return nullptr;
    const QRegion allowed = engine->systemClip();
    if (!allowed.isEmpty() && !(QRegion(inTarget) - allowed).isEmpty()) return nullptr;
    if (painter.hasClipping()) return nullptr;
    return target;
}

// What lies beneath is drawn again where the owner said it changed, and all of it when the
// layer moved or was resized, shown or hidden: the owner marks every change beneath the layer
// for a paint of the layer, and a step of the fade, which paints the whole layer, finds
// nothing to draw again.
void TLayerWindow::KeepBeneath() {
    const QRect place = OnScreen();
    if (beneath_.size() != size() || place != beneathPlace_) {
        if (beneath_.size() != size()) beneath_ = QImage(size(), QImage::Format_RGB32);
        staleBeneath_ = rect();
    }
    beneathPlace_ = place;
    const QRegion stale = staleBeneath_ & rect();
    // Each part renders the siblings anew; many small ones cost more than their bounds.
    if (stale.rectCount() > 4) {
        DrawBeneath(stale.boundingRect());
    } else {
        for (const QRect& part : stale)
            DrawBeneath(part);
    }
    staleBeneath_ = QRegion();
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
    staleBeneath_ = rect();
    Changing(OnScreen());
}

void TLayerWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Changing(OnScreen());
}

}  // namespace pelwick
