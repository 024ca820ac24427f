#include "aatext/AAControl.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstring>

namespace pelwick {

namespace {

// Clears a flag when a scope ends, however it ends.
class TFlagGuard {
  public:
    explicit TFlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagGuard() { flag_ = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

TAAGraphicControl::TAAGraphicControl(QWidget* parent) : QWidget(parent) {
    glyphs_.SetCanvas(&image_.Canvas());
    glyphs_.Effect().SetOnChange([this](TNotifyClass&) { Changed(); });
}

TAAGraphicControl::~TAAGraphicControl() {
    destroying_ = true;
}

void TAAGraphicControl::SetBorder(int value) {
    value = std::max(value, 0);
    if (value == border_) return;
    border_ = value;
    Changed();
}

void TAAGraphicControl::SetFont(const TFont& value) {
    if (value == font_) return;
    font_ = value;
    Changed();
}

void TAAGraphicControl::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    Changed();
}

void TAAGraphicControl::Changed() {
    if (prepared_ && autoUpdate_ && !destroying_ && updateCount_ == 0) Reset();
}

void TAAGraphicControl::Loaded() {
    prepared_ = true;
    LoadedEx();
}

void TAAGraphicControl::Paint() {
    if (destroying_ || updateCount_ != 0) return;
    if (!prepared_) Loaded();
    if (painting_) return;
    const TFlagGuard guard(painting_);
    if (image_.Width() != width() || image_.Height() != height()) image_.SetSize(width(), height());
    PaintCanvas();
    dirty_ = false;
}

void TAAGraphicControl::PaintNow() {
    Paint();
    update();
}

void TAAGraphicControl::Invalidate() {
    dirty_ = true;
    update();
}

void TAAGraphicControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter();
}

void TAAGraphicControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave();
}

void TAAGraphicControl::Click() {
    if (OnClick) OnClick();
}

void TAAGraphicControl::PaintBehind(TBitmap& image) {
    if (image.Empty()) return;
    QImage behind(image.Width(), image.Height(), QImage::Format_RGB32);
    QWidget* parent = parentWidget();
    if (!parent || grabbing_) {
        behind.fill(QColor(GetRValue(ColorToRGB(color_)), GetGValue(ColorToRGB(color_)),
                           GetBValue(ColorToRGB(color_))));
    } else {
        const TFlagGuard guard(grabbing_);
        behind.fill(parent->palette().color(QPalette::Window));
        QPainter painter(&behind);
        const QRect area = geometry();
        parent->render(&painter, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
        // Children are stacked in the order of the list: those before this one lie below.
        for (QObject* child : parent->children()) {
            if (child == this) break;
            auto* sibling = qobject_cast<QWidget*>(child);
            if (!sibling || sibling->isHidden() || sibling->isWindow() ||
                !sibling->geometry().intersects(area))
                continue;
            sibling->render(&painter, sibling->pos() - area.topLeft(), QRegion(),
                            QWidget::DrawChildren);
        }
    }
    image.Canvas().Draw(0, 0, TBitmap::FromQImage(behind, clBlack, image.PixelFormat()));
}

void TAAGraphicControl::paintEvent(QPaintEvent*) {
    if (grabbing_) return;  // being grabbed as the background of a control above
    if (dirty_ || image_.Width() != width() || image_.Height() != height()) Paint();
    if (image_.Empty()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_.AsQImage());
}

void TAAGraphicControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (width() == lastWidth_ && height() == lastHeight_) return;
    lastWidth_ = width();
    lastHeight_ = height();
    dirty_ = true;
    Changed();
}

void TAAGraphicControl::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    MouseEnter();
}

void TAAGraphicControl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    MouseLeave();
}

void TAAGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

TAACustomText::TAACustomText(QWidget* parent) : TAAGraphicControl(parent) {
    fonts_.OnChange = [this] { Changed(); };
    labels_.OnChange = [this] { Changed(); };
}

void ComposeFade(TBitmap& display, const TBitmap& old, const TBitmap& fresh, std::uint8_t a) {
    if (display.Width() != old.Width() || display.Height() != old.Height() ||
        display.PixelFormat() != old.PixelFormat()) {
        display.SetPixelFormat(old.PixelFormat());
        display.SetSize(old.Width(), old.Height());
    }
    if (a == 0 || fresh.PixelFormat() != old.PixelFormat()) {
        display.Canvas().Draw(0, 0, old);
        return;
    }
    if (a == 255) {
        display.Canvas().Draw(0, 0, old);
        display.Canvas().Draw(0, 0, fresh);
        return;
    }
    const int height = std::min(old.Height(), fresh.Height());
    const int bytes = std::min(old.Width(), fresh.Width()) * old.BytesPerPixel();
    for (int y = 0; y < old.Height(); ++y) {
        std::uint8_t* d = display.ScanLine(y);
        const std::uint8_t* o = old.ScanLine(y);
        std::memcpy(d, o, static_cast<std::size_t>(old.Width()) * old.BytesPerPixel());
        if (y >= height) continue;
        const std::uint8_t* n = fresh.ScanLine(y);
        for (int i = 0; i < bytes; ++i)
            d[i] = static_cast<std::uint8_t>(o[i] + (((n[i] - o[i]) * a) >> 8));
    }
}

}  // namespace pelwick
