#include "slideshow/PictureScreen.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "gfx/Rounding.h"
#include "slideshow/AnimateThread.h"

namespace pelwick {

TCustomGlimrascreen::TCustomGlimrascreen(QWidget* parent) : QWidget(parent) {
    // Opaque: the control covers its whole area and paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    picture_.OnChange = [this] { PictureChanged(); };
    bgPicture_.OnChange = [this] { BgPictureChanged(); };
    screenBitmap_.Canvas().Brush.Color = color_;
    resize(100, 100);
}

TCustomGlimrascreen::~TCustomGlimrascreen() {
    destroying_ = true;
    QuitInPlaceWait();
    // Cancels the hand-over and joins: the thread never waits for this thread again.
    thread_.reset();
    if (align_ == TCustomGlimrascreen::alClient && parentWidget())
        parentWidget()->removeEventFilter(this);
}

// ---- Properties

void TCustomGlimrascreen::SetPicture(const TPicture* picture) {
    if (picture)
        picture_.Assign(*picture);
    else
        picture_.Clear();
}

void TCustomGlimrascreen::SetBgPicture(const TPicture* picture) {
    if (picture)
        bgPicture_.Assign(*picture);
    else
        bgPicture_.Clear();
}

void TCustomGlimrascreen::SetPreviousPicture(const TPicture& picture) {
    if (!previousPicture_) previousPicture_ = std::make_unique<TPicture>();
    previousPicture_->Assign(picture);
}

void TCustomGlimrascreen::SetPreviousPicture(TBitmap picture) {
    if (!previousPicture_) previousPicture_ = std::make_unique<TPicture>();
    previousPicture_->SetBitmap(std::move(picture));
}

void TCustomGlimrascreen::SetBgMode(TCustomGlimrascreen::TBackgroundMode mode) {
    if (mode == bgMode_) return;
    bgMode_ = mode;
    if (bgPicture_.HasImage() && !painting_) Changed();
}

void TCustomGlimrascreen::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    if (picture_.HasImage()) UpdatePlacement();
    InvalidateIfShown();
}

void TCustomGlimrascreen::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    InvalidateIfShown();
}

void TCustomGlimrascreen::SetStretchFine(bool value) {
    if (value == stretchFine_) return;
    stretchFine_ = value;
    InvalidateIfShown();
}

void TCustomGlimrascreen::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    if (autoSize_) AdjustSize();
}

void TCustomGlimrascreen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    if (!painting_) Changed();
}

void TCustomGlimrascreen::SetAlign(TCustomGlimrascreen::TAlign align) {
    if (align == align_) return;
    QWidget* parent = parentWidget();
    if (parent && align_ == TCustomGlimrascreen::alClient) parent->removeEventFilter(this);
    align_ = align;
    if (parent && align_ == TCustomGlimrascreen::alClient) {
        parent->installEventFilter(this);
        setGeometry(parent->rect());
    }
}

bool TCustomGlimrascreen::eventFilter(QObject* watched, QEvent* event) {
    if (align_ == TCustomGlimrascreen::alClient && watched == parentWidget() &&
        event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void TCustomGlimrascreen::SetStep(int value) {
    step_ = static_cast<std::uint16_t>(std::clamp(value, 1, 100));
}

void TCustomGlimrascreen::Changed() {
    Changing(rect());
    update();
}

void TCustomGlimrascreen::Changing(const QRect& area) {
    if (OnChanging && !area.isEmpty()) OnChanging(*this, area);
}

void TCustomGlimrascreen::InvalidateIfShown() {
    if (!screenBitmap_.Empty() && !painting_) Changed();
}

// ---- Change notifications

void TCustomGlimrascreen::PictureChanged() {
    if (destroying_) return;
    if (picture_.HasImage() && autoSize_) AdjustSize();
    if (OnChange) OnChange(*this);
}

void TCustomGlimrascreen::BgPictureChanged() {
    if (bgMode_ != TCustomGlimrascreen::bmNone && !painting_) Changed();
}

void TCustomGlimrascreen::AdjustSize() {
    if (align_ != TCustomGlimrascreen::alNone || !picture_.HasImage()) return;
    resize(picture_.Width(), picture_.Height());
}

void TCustomGlimrascreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Changing(rect());
    if (picture_.HasImage()) {
        UpdatePlacement();
        InvalidateIfShown();
    }
}

void TCustomGlimrascreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Changing(rect());
}

void TCustomGlimrascreen::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Changing(rect());
}

void TCustomGlimrascreen::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (OnMouseEnter) OnMouseEnter(*this);
}

void TCustomGlimrascreen::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (OnMouseLeave) OnMouseLeave(*this);
}

// Mouse events the owner does not handle go on to the parent window, which decides what
// a click means (the saver ends on one).
void TCustomGlimrascreen::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(*this, event->button(), event->modifiers(), p.x(), p.y());
    if (OnMouseDown || OnMouseUp || OnClick)
        event->accept();
    else
        event->ignore();
}

void TCustomGlimrascreen::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (OnMouseUp) OnMouseUp(*this, event->button(), event->modifiers(), p.x(), p.y());
    if (OnClick && event->button() == Qt::LeftButton && rect().contains(p)) OnClick(*this);
    if (OnMouseDown || OnMouseUp || OnClick)
        event->accept();
    else
        event->ignore();
}

void TCustomGlimrascreen::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OnDblClick) {
        OnDblClick(*this);
        event->accept();
    } else {
        mousePressEvent(event);
    }
}

void TCustomGlimrascreen::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (OnMouseMove) OnMouseMove(*this, event->modifiers(), p.x(), p.y());
    event->ignore();
}

// ---- Placement

void TCustomGlimrascreen::UpdatePlacement() {
    if (screenBitmap_.Empty()) return;
    const int sw = screenBitmap_.Width(), sh = screenBitmap_.Height();
    pictureRect_ = TRect{0, 0, sw, sh};
    if (center_) pictureRect_ = OffsetRect(pictureRect_, (width() - sw) / 2, (height() - sh) / 2);
}

TRect TCustomGlimrascreen::FitRect(const TRect& r, const TRect& target) {
    const int rw = RectWidth(r), rh = RectHeight(r), tw = RectWidth(target),
              th = RectHeight(target);
    if (rw <= 0 || rh <= 0) return target;
    int w, h;
    if (static_cast<double>(th) / rh > static_cast<double>(tw) / rw) {
        w = tw;
        h = MulDiv(rh, tw, rw);
    } else {
        w = MulDiv(rw, th, rh);
        h = th;
    }
    const int left = target.Left + (tw - w) / 2, top = target.Top + (th - h) / 2;
    return TRect{left, top, left + w, top + h};
}

void TCustomGlimrascreen::InvalidatePictureArea(TRect r) {
    const TRect p = pictureRect_;
    if (stretch_) {
        const TRect t = stretchFine_ ? FitRect(p, ClientRect()) : ClientRect();
        const int pw = RectWidth(p), ph = RectHeight(p), tw = RectWidth(t), th = RectHeight(t);
        r = TRect{t.Left + MulDiv(r.Left, tw, pw), t.Top + MulDiv(r.Top, th, ph),
                  t.Left + MulDiv(r.Right, tw, pw), t.Top + MulDiv(r.Bottom, th, ph)};
    } else {
        if (center_) r = OffsetRect(r, p.Left, p.Top);
        r = IntersectRect(r, p);
    }
    if (destroying_ || IsRectEmpty(r)) return;
    dirty_ = IsRectEmpty(dirty_)
                 ? r
                 : TRect{std::min(dirty_.Left, r.Left), std::min(dirty_.Top, r.Top),
                         std::max(dirty_.Right, r.Right), std::max(dirty_.Bottom, r.Bottom)};
    const QRect area(r.Left, r.Top, RectWidth(r), RectHeight(r));
    Changing(area);
    update(area);
}

// ---- Painting

void TCustomGlimrascreen::Paint() {
    ComposeArea(ClientRect());
}

// Composes area of the control into PaintBuffer. Outside area PaintBuffer still holds what
// is on screen, so a partial paint composes only what it shows.
void TCustomGlimrascreen::ComposeArea(const TRect& requested) {
    TCanvas& canvas = paintBuffer_.Canvas();
    canvas.Lock();
    TRect area = requested;
    if (paintBuffer_.Width() != width() || paintBuffer_.Height() != height()) {
        paintBuffer_.SetSize(width(), height());
        area = ClientRect();
    }
    const TRect client = ClientRect();
    area = IntersectRect(area, client);

    // Where the picture goes, and whether it hides everything under it there.
    TRect pictureArea{};
    if (!screenBitmap_.Empty())
        pictureArea = !stretch_      ? pictureRect_
                      : stretchFine_ ? FitRect(pictureRect_, client)
                                     : client;
    const bool background = bgPicture_.HasImage() && bgMode_ != TCustomGlimrascreen::bmNone;

    TRegion clip = TRegion::Rect(area);
    if (!background) clip = clip.Subtracted(TRegion::Rect(pictureArea));
    canvas.SetClipRegion(&clip);
    canvas.Brush.Style = TBrush::bsSolid;
    canvas.Brush.Color = color_;
    canvas.FillRect(client);
    const TRegion areaClip = TRegion::Rect(area);
    canvas.SetClipRegion(&areaClip);
    if (background) {
        const TBitmap& bg = *bgPicture_.Bitmap();
        const int w = bg.Width(), h = bg.Height();
        switch (bgMode_) {
            case TCustomGlimrascreen::bmTiled:
                for (int y = 0; y <= client.Bottom / h; ++y)
                    for (int x = 0; x <= client.Right / w; ++x)
                        canvas.Draw(x * w, y * h, bg);
                break;
            case TCustomGlimrascreen::bmStretched:
                canvas.StretchDraw(client, bg);
                break;
            case TCustomGlimrascreen::bmCentered:
                canvas.Draw((client.Right - w) / 2, (client.Bottom - h) / 2, bg);
                break;
            case TCustomGlimrascreen::bmNone:
                break;
        }
    }
    if (!screenBitmap_.Empty()) {
        if (!stretch_)
            canvas.Draw(pictureRect_.Left, pictureRect_.Top, screenBitmap_);
        else
            canvas.StretchDraw(pictureArea, screenBitmap_);
    }
    canvas.SetClipRegion(nullptr);
    canvas.Unlock();
}

void TCustomGlimrascreen::paintEvent(QPaintEvent* event) {
    if (painting_ || QThread::currentThread() != QCoreApplication::instance()->thread()) return;
    painting_ = true;
    try {
        const QRect r = event->rect();
        ComposeArea(TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        QPainter painter(this);
        painter.drawImage(r, paintBuffer_.AsQImage(), r);
    } catch (const std::exception&) {
        // A paint that cannot be composed (out of memory) leaves the screen as it was; the
        // next paint tries again.
    }
    painting_ = false;
}

}  // namespace pelwick
