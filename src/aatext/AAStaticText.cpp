#include "aatext/AAStaticText.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "aatext/TextLayout.h"
#include "gfx/Rounding.h"

namespace pelwick {

void TTextParam::Assign(const TNotifyClass& source) {
    TCustomTextParam::Assign(source);
    if (const auto* s = dynamic_cast<const TTextParam*>(&source); s && s != this)
        SetBackColor(s->backColor_);
}

TAAText::TAAText(QWidget* parent)
    : TAACustomText(parent), text_([this](TNotifyClass&) { Changed(); }, this) {
    resize(46, 12);
}

void TAAText::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    Changed();
}

void TAAText::CalculateSize() {
    const bool autoWidth = autoSize_ && !text_.WordWrap();
    const bool autoHeight = autoSize_;
    if (!autoWidth && !autoHeight) return;
    const TUpdateBracket bracket(*this);
    TAAGlyphsEx& glyphs = Glyphs();
    glyphs.SetCanvas(&MeasureImage().Canvas());
    std::vector<TLayoutRow> rows;
    const int available = std::max(width() - 2 * Border(), 1);
    LayoutLines(glyphs, Font(), text_, Fonts(), Labels(), TLayoutArea{0, available, available, 0},
                false, &rows);
    glyphs.SetCanvas(&Canvas());
    glyphs.Effect().Assign(text_.FontEffect());

    int w = autoWidth ? 0 : width();
    int h = autoHeight ? 0 : height();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        w = std::max(w, rows[i].Bounds.Right - rows[i].Bounds.Left);
        const int rowHeight = rows[i].Bounds.Bottom - rows[i].Bounds.Top;
        h += rowHeight;
        if (i + 1 < rows.size()) h += Round(rowHeight * text_.RowPitch() / 100.0);
    }
    resize(autoWidth ? w + 2 * Border() : width(), autoHeight ? h + 2 * Border() : height());
}

void TAAText::DrawText(TBitmap& image) {
    const TUpdateBracket bracket(*this);
    TAAGlyphsEx& glyphs = Glyphs();
    glyphs.SetCanvas(&image.Canvas());
    const int b = Border();
    const int w = image.Width();
    const TLayoutArea area{b, w - 2 * b, w, b, image.Height() - b};
    LayoutLines(glyphs, Font(), text_, Fonts(), Labels(), area, true);
    glyphs.SetCanvas(&Canvas());
    glyphs.Effect().Assign(text_.FontEffect());
}

void TAAText::Reset() {
    if (!text_.Transparent()) {
        CalculateSize();
        cache_.SetSize(width(), height());
        PaintBackground(cache_, text_, text_.BackColor());
        DrawText(cache_);
    }
    Invalidate();
}

void TAAText::PaintCanvas() {
    TBitmap& image = Canvas().Bitmap();
    if (text_.Transparent()) {
        CalculateSize();
        if (image.Width() != width() || image.Height() != height())
            image.SetSize(width(), height());
        PaintBackground(image, text_, text_.BackColor(), [this](TBitmap& b) { PaintBehind(b); });
        DrawText(image);
    } else {
        image.Canvas().Draw(0, 0, cache_);
    }
    Raise(OnPainted);
}

TAACaptionParam::TAACaptionParam(TChangeHandler handler, TAAGlyphsEx& glyphs)
    : TCustomParam(std::move(handler)), glyphs_(glyphs) {}

void TAACaptionParam::Assign(const TNotifyClass& source) {
    TCustomParam::Assign(source);
    const auto* s = dynamic_cast<const TAACaptionParam*>(&source);
    if (!s || s == this) return;
    SetQuality(s->quality_);
    SetBackColor(s->backColor_);
    glyphs_.Effect().Assign(s->glyphs_.Effect());
}

TAALabel::TAALabel(QWidget* parent)
    : TAAGraphicControl(parent), effect_([this](TNotifyClass&) { Changed(); }, Glyphs()) {
    resize(46, 12);
}

void TAALabel::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    Changed();
}

void TAALabel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    Changed();
}

TPoint TAALabel::LayoutCaption(TCanvas& canvas) {
    TAAGlyphsEx& glyphs = Glyphs();
    glyphs.SetCanvas(&canvas);
    glyphs.SetQuality(effect_.Quality());
    canvas.Font = Font();
    const TSize extent = glyphs.TextExtent(caption_);
    const int b = Border();
    if (autoSize_) resize(extent.Width + 2 * b, extent.Height + 2 * b);
    const int w = width();
    const int h = height();
    TPoint at{b, b};
    if (effect_.Alignment() == taRightJustify)
        at.X = w - b - extent.Width;
    else if (effect_.Alignment() == taCenter)
        at.X = (w - extent.Width) / 2;
    if (effect_.Layout() == TCustomParam::tlCenter)
        at.Y = (h - extent.Height) / 2;
    else if (effect_.Layout() == TCustomParam::tlBottom)
        at.Y = h - b - extent.Height;
    return at;
}

void TAALabel::BuildCache() {
    const TUpdateBracket bracket(*this);
    const TPoint at = LayoutCaption(cache_.Canvas());
    cache_.SetSize(width(), height());
    PaintBackground(cache_, effect_, effect_.BackColor());
    Glyphs().TextOutput(at.X, at.Y, caption_);
    Glyphs().SetCanvas(&Canvas());
}

void TAALabel::Reset() {
    if (!effect_.Transparent()) BuildCache();
    Invalidate();
}

void TAALabel::PaintCanvas() {
    TBitmap& image = Canvas().Bitmap();
    if (effect_.Transparent()) {
        const TUpdateBracket bracket(*this);
        const TPoint at = LayoutCaption(image.Canvas());
        if (image.Width() != width() || image.Height() != height())
            image.SetSize(width(), height());
        PaintBehind(image);
        image.Canvas().Brush.Style = TBrush::bsClear;
        Glyphs().TextOutput(at.X, at.Y, caption_);
    } else {
        image.Canvas().Draw(0, 0, cache_);
    }
    if (OnPainted) OnPainted();
}

THotLink::THotLink() : TCustomParam(), fontEffect_(ChildHandler(), this) {}

void THotLink::Assign(const TNotifyClass& source) {
    TCustomParam::Assign(source);
    const auto* s = dynamic_cast<const THotLink*>(&source);
    if (!s || s == this) return;
    SetFade(s->fade_);
    SetFadeDelay(s->fadeDelay_);
    SetColor(s->color_);
    SetBackColor(s->backColor_);
    fontEffect_.Assign(s->fontEffect_);
    SetURL(s->url_);
    SetUnderLine(s->underLine_);
}

bool IsOpenableLink(const std::string& url) {
    const QUrl parsed(QString::fromStdString(url), QUrl::StrictMode);
    if (!parsed.isValid()) return false;
    const QString scheme = parsed.scheme().toLower();
    if (scheme == "mailto") return !parsed.path().isEmpty();
    return (scheme == "http" || scheme == "https") && !parsed.host().isEmpty();
}

TAALinkLabel::TAALinkLabel(QWidget* parent) : TAALabel(parent) {
    OpenUrl = [](const std::string& url) {
        // A desktop that cannot open the address has nothing to tell the user.
        QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    };
    fadeTimer_.setInterval(FadeInterval);
    QObject::connect(&fadeTimer_, &QTimer::timeout, [this] { FadeTimerTick(); });
}

void TAALinkLabel::BuildHotImage() {
    const TUpdateBracket bracket(*this);
    TAAGlyphsEx& glyphs = Glyphs();
    TAAEffect kept;
    kept.Assign(glyphs.Effect());
    glyphs.SetCanvas(&hot_.Canvas());
    glyphs.Effect().Assign(hotLink_.FontEffect());
    TFont font = Font();
    font.Color = hotLink_.Color();
    if (hotLink_.UnderLine()) font.Underline = true;
    hot_.Canvas().Font = font;
    TPoint at{Border(), Border()};
    if (!AutoSize()) {
        at = LayoutCaption(hot_.Canvas());
        hot_.Canvas().Font = font;
    }
    hot_.SetSize(width(), height());
    PaintBackground(hot_, hotLink_, hotLink_.BackColor(), [this](TBitmap& b) { PaintBehind(b); });
    glyphs.TextOutput(at.X, at.Y, Caption());
    glyphs.Effect().Assign(kept);
    glyphs.SetCanvas(&Canvas());
}

void TAALinkLabel::MouseEnter() {
    if (isEnabled()) {
        mouseOver_ = true;
        BuildCache();
        BuildHotImage();
        if (hotLink_.Fade()) {
            fadeState_ = 1;
            fadeTimer_.start();
        } else {
            fadeState_ = 0;
            SetProgress(255);
        }
    }
    TAALabel::MouseEnter();
}

void TAALinkLabel::MouseLeave() {
    if (isEnabled()) {
        if (hotLink_.Fade()) {
            fadeState_ = 2;
            fadeTimer_.start();
        } else {
            fadeState_ = 0;
            SetProgress(0);
        }
        mouseOver_ = false;
        if (!hotLink_.Fade()) PaintNow();
    }
    TAALabel::MouseLeave();
}

void TAALinkLabel::Click() {
    const std::string& url = hotLink_.URL();
    if (!url.empty() && IsOpenableLink(url) && OpenUrl) OpenUrl(url);
    TAALabel::Click();
}

void TAALinkLabel::FadeTimerTick() {
    if (std::abs(position_ - progress_) > 1) position_ = progress_;
    if (fadeState_ == 0) {
        fadeTimer_.stop();
        return;
    }
    // At least one step a tick, so that a very long FadeDelay still ends.
    const auto step = static_cast<double>(
        std::max<std::uint32_t>(FadeInterval * 255u / std::max(hotLink_.FadeDelay(), 1u), 1));
    if (fadeState_ == 1) {
        position_ += step;
        if (position_ >= 255) {
            position_ = 255;
            fadeState_ = 0;
        }
    } else {
        position_ -= step;
        if (position_ <= 0) {
            position_ = 0;
            fadeState_ = 0;
        }
    }
    SetProgress(static_cast<std::uint8_t>(Round(position_)));
    if (fadeState_ == 0 && !mouseOver_) PaintNow();
}

void TAALinkLabel::SetProgress(std::uint8_t value) {
    if (value == progress_) return;
    progress_ = value;
    position_ = value;
    ComposeFade(composite_, Cache(), hot_, value);
    PaintNow();
}

void TAALinkLabel::PaintCanvas() {
    if (mouseOver_ || fadeState_ != 0) {
        Canvas().Draw(0, 0, composite_);
        if (OnPainted) OnPainted();
    } else {
        TAALabel::PaintCanvas();
    }
}

void TAALinkLabel::changeEvent(QEvent* event) {
    TAALabel::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || isEnabled()) return;
    fadeTimer_.stop();
    fadeState_ = 0;
    SetProgress(0);
}

}  // namespace pelwick
