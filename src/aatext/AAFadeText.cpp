#include "aatext/AAFadeText.h"

#include <algorithm>
#include <cmath>

#include "aatext/TextLayout.h"
#include "gfx/Rounding.h"

namespace pelwick {

TFadeTextParam::TFadeTextParam(TChangeHandler handler, const void* owner)
    : TCustomTextParam(std::move(handler), owner) {
    SetAlignment(taCenter);
    SetLayout(TCustomParam::tlCenter);
}

void TFadeTextParam::SetFadeDelay(std::uint32_t value) {
    // A line delay below the gap leaves no upper bound (the difference wraps round).
    value = std::min(value, lineDelay_ - FadeGap);
    SetField(fadeDelay_, std::max(value, MinFadeDelay));
}

void TFadeTextParam::SetLineDelay(std::uint32_t value) {
    SetField(lineDelay_, std::max(value, fadeDelay_ + FadeGap));
}

void TFadeTextParam::Assign(const TNotifyClass& source) {
    TCustomTextParam::Assign(source);
    const auto* s = dynamic_cast<const TFadeTextParam*>(&source);
    if (!s || s == this) return;
    SetField(fadeDelay_, s->fadeDelay_);
    SetLineDelay(s->lineDelay_);
    SetBackColor(s->backColor_);
}

TAAFadeText::TAAFadeText(QWidget* parent)
    : TAACustomText(parent), text_([this](TNotifyClass&) { Changed(); }, this) {
    resize(240, 34);
    fadeTimer_.setInterval(FadeInterval);
    QObject::connect(&fadeTimer_, &QTimer::timeout, [this] { FadeTimerTick(); });
    QObject::connect(&lineTimer_, &QTimer::timeout, [this] { LineTimerTick(); });
}

TAAFadeText::~TAAFadeText() {
    SetDestroying();
    fadeTimer_.stop();
    lineTimer_.stop();
}

void TAAFadeText::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (!Prepared()) return;
    if (value) {
        passCount_ = 0;
        RestartLineTimer();
        ShowLine(current_ + 1);
    } else {
        lineTimer_.stop();  // a fade under way completes
    }
}

void TAAFadeText::RestartLineTimer() {
    lineTimer_.stop();
    lineTimer_.setInterval(static_cast<int>(std::min<std::uint32_t>(text_.LineDelay(), INT32_MAX)));
    lineTimer_.start();
}

void TAAFadeText::LoadedEx() {
    alignment_ = text_.Alignment();
    for (TBitmap* image : {&display_, &newImage_, &oldImage_})
        image->Canvas().Font = Font();
    Reset();
    passCount_ = 0;
    if (active_) {
        RestartLineTimer();
        ShowLine(current_ + 1);
    }
}

void TAAFadeText::ShowLine(int index) {
    const int count = text_.Lines().Count();
    if (count == 0) return;
    index = std::max(index, 0);
    if (index >= count) {
        ++passCount_;
        if (repeatCount_ != 0 && passCount_ >= repeatCount_) {
            active_ = false;
            lineTimer_.stop();
            passCount_ = 0;
            current_ = -1;
            FadeTo("");
            Raise(OnComplete);
            return;
        }
        index = 0;
    }
    FadeTo(text_.Lines()[index]);
    current_ = index;
}

void TAAFadeText::FadeTo(const std::string& line) {
    oldImage_ = display_;
    RenderLine(newImage_, line);
    oldText_ = newText_;
    newText_ = line;
    progress_ = 0;
    fadeTimer_.stop();
    fadeTimer_.start();
    if (lineTimer_.isActive()) RestartLineTimer();
}

void TAAFadeText::FadeTimerTick() {
    if (std::abs(position_ - progress_) > 1) position_ = progress_;
    // At least one step a tick: a FadeDelay above 6375 ms would otherwise never finish.
    position_ += static_cast<double>(
        std::max<std::uint32_t>(FadeInterval * 255u / std::max(text_.FadeDelay(), 1u), 1));
    if (position_ > 255) {
        position_ = 255;
        fadeTimer_.stop();
    }
    const auto progress = static_cast<std::uint8_t>(Round(position_));
    if (progress == progress_) return;
    progress_ = progress;
    PaintNow();
}

void TAAFadeText::RenderLine(TBitmap& image, const std::string& source) {
    const TUpdateBracket bracket(*this);
    TAAGlyphsEx& glyphs = Glyphs();
    TCanvas& canvas = image.Canvas();
    glyphs.SetCanvas(&canvas);
    if (text_.LabelEffect() == TCustomTextParam::leOnlyALine) {
        canvas.Font = Font();
        glyphs.Effect().Assign(text_.FontEffect());
        alignment_ = text_.Alignment();
    }
    std::string line = source;
    TAAEffect effect;
    effect.Assign(glyphs.Effect());
    Fonts().ApplyTags(line, &canvas.Font, &effect);
    Labels().ApplyTags(line, alignment_);
    glyphs.Effect().Assign(effect);

    const int w = width();
    const int h = height();
    const TSize extent = glyphs.TextExtent(line);
    int x = 0;
    if (alignment_ == taRightJustify)
        x = w - extent.Width;
    else if (alignment_ == taCenter)
        x = (w - extent.Width) / 2;
    int y = 0;
    if (text_.Layout() == TCustomParam::tlCenter)
        y = (h - extent.Height) / 2;
    else if (text_.Layout() == TCustomParam::tlBottom)
        y = h - extent.Height;

    image.SetSize(w, h);
    PaintBackground(image, text_, text_.BackColor(), [this](TBitmap& b) { PaintBehind(b); });
    if (!line.empty()) glyphs.TextOutput(x, y, line);
    glyphs.SetCanvas(&Canvas());
}

void TAAFadeText::Reset() {
    if (progress_ != 0) {
        RenderLine(oldImage_, oldText_);
        RenderLine(newImage_, newText_);
        ComposeFade(display_, oldImage_, newImage_, progress_);
    } else {
        RenderLine(display_, newText_);
    }
    Invalidate();
}

void TAAFadeText::PaintCanvas() {
    if (text_.Transparent()) {
        // What lies behind may have changed since the lines were rendered.
        if (progress_ != 0) {
            RenderLine(oldImage_, oldText_);
            RenderLine(newImage_, newText_);
        } else {
            RenderLine(display_, newText_);
        }
    }
    if (progress_ != 0) ComposeFade(display_, oldImage_, newImage_, progress_);
    Canvas().Draw(0, 0, display_);
    Raise(OnPainted);
}

}  // namespace pelwick
