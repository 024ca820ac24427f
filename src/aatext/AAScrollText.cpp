#include "aatext/AAScrollText.h"

#include <algorithm>
#include <cstring>

#include "aatext/TextLayout.h"

namespace pelwick {

TScrollTextParam::TScrollTextParam(TChangeHandler handler, const void* owner)
    : TCustomTextParam(std::move(handler), owner) {
    SetAlignment(taCenter);
    SetBackGroundMode(TCustomParam::bmTiled);
}

void TScrollTextParam::SetHeadSpace(int value) {
    SetField(headSpace_, std::clamp(value, 0, 150));
}

void TScrollTextParam::SetTailSpace(int value) {
    SetField(tailSpace_, std::clamp(value, 0, 150));
}

void TScrollTextParam::Assign(const TNotifyClass& source) {
    TCustomTextParam::Assign(source);
    const auto* s = dynamic_cast<const TScrollTextParam*>(&source);
    if (!s || s == this) return;
    SetFade(s->fade_);
    SetFadeHeight(s->fadeHeight_);
    SetHeadSpace(s->headSpace_);
    SetTailSpace(s->tailSpace_);
    SetBackColor(s->backColor_);
    SetFont(s->font_);
}

TAAScrollText::TAAScrollText(QWidget* parent)
    : TAACustomText(parent), text_([this](TNotifyClass&) { Changed(); }, this) {
    setMinimumSize(MinSize, MinSize);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel comes from the frame
    resize(240, 280);
    // Nothing scrolls before the text image exists: Reset switches the timer on.
    scrollTimer_.SetEnabled(false);
    scrollTimer_.SetInterval(scrollDelay_);
    scrollTimer_.SetOnTimer([this](TAATimer&) { ScrollTimerTick(); });
    repeatTimer_.setInterval(repeatDelay_);
    QObject::connect(&repeatTimer_, &QTimer::timeout, [this] { RepeatTimerTick(); });
}

TAAScrollText::~TAAScrollText() {
    SetActive(false);
    SetDestroying();
}

void TAAScrollText::SetActive(bool value) {
    active_ = value;
    scrollTimer_.SetEnabled(value && Prepared());
    if (!value) repeatTimer_.stop();
}

void TAAScrollText::SetScrollDelay(std::uint16_t value) {
    scrollDelay_ = value;
    scrollTimer_.SetInterval(value);
}

void TAAScrollText::SetRepeatCount(int value) {
    if (value == repeatCount_) return;
    repeatCount_ = value;
    Changed();
}

void TAAScrollText::SetRepeatDelay(std::uint16_t value) {
    repeatDelay_ = value;
    repeatTimer_.setInterval(value);
}

void TAAScrollText::Reset() {
    const bool wasActive = active_;
    passCount_ = -1;
    SetActive(false);
    BuildTextImage();
    position_ = 0;
    PaintNow();
    SetActive(wasActive);
}

void TAAScrollText::BuildTextImage() {
    const TUpdateBracket bracket(*this);
    const int w = std::max(width(), 1);
    const int h = height();
    TAAGlyphsEx& glyphs = Glyphs();
    const int fade = text_.Fade() ? std::max(text_.FadeHeight(), 0) : 0;
    const TLayoutArea area{0, w, w, fade + h * text_.HeadSpace() / 100};

    glyphs.SetCanvas(&MeasureImage().Canvas());
    int total = LayoutLines(glyphs, text_.Font(), text_, Fonts(), Labels(), area, false);
    total += h * text_.TailSpace() / 100;
    total = std::max(total, h);

    textImage_.SetSize(w, total);
    PaintBackground(textImage_, text_, text_.BackColor());
    glyphs.SetCanvas(&textImage_.Canvas());
    LayoutLines(glyphs, text_.Font(), text_, Fonts(), Labels(), area, true);
    glyphs.SetCanvas(&Canvas());
    glyphs.Effect().Assign(text_.FontEffect());
    Raise(OnTextReady);
}

void TAAScrollText::PaintCanvas() {
    const int w = width();
    const int h = height();
    if (frame_.Width() != w || frame_.Height() != h) frame_.SetSize(w, h);
    const int t = textImage_.Height();
    if (t == 0 || textImage_.Width() != w) {
        frame_.Canvas().Brush = TBrush{TBrush::bsSolid, text_.BackColor()};
        frame_.Canvas().FillRect(frame_.BoundsRect());
    } else {
        // The window wraps round to the top of the image, so the loop shows no seam.
        const auto rowBytes = static_cast<std::size_t>(w) * frame_.BytesPerPixel();
        int source = position_;
        for (int y = 0; y < h; ++y) {
            std::memcpy(frame_.ScanLine(y), textImage_.ScanLine(source), rowBytes);
            if (++source == t) source = 0;
        }
    }
    if (text_.Fade()) FadeEdges(h);
    if (!Destroying()) Canvas().Draw(0, 0, frame_);
    Raise(OnPainted);
}

void TAAScrollText::FadeEdges(int height) {
    // Bands taller than half the control would fade the middle rows twice.
    const int band = std::min(text_.FadeHeight(), height / 2);
    if (band <= 0) return;
    const TColor bg = ColorToRGB(text_.BackColor());
    const int back[3] = {GetBValue(bg), GetGValue(bg), GetRValue(bg)};
    const int bytes = frame_.Width() * 3;
    for (int b = 0; b < band; ++b) {
        // A band of one row is that row in the background colour.
        const int a = band > 1 ? b * 255 / (band - 1) : 0;
        for (int row : {b, height - 1 - b}) {
            std::uint8_t* p = frame_.ScanLine(row);
            for (int i = 0; i < bytes; ++i) {
                const int c = back[i % 3];
                p[i] = static_cast<std::uint8_t>(c + (((p[i] - c) * a) >> 8));
            }
        }
    }
}

void TAAScrollText::SetPosition(std::int64_t value) {
    const int t = textImage_.Height();
    if (value == position_ || t == 0) return;
    position_ = static_cast<int>(((value % t) + t) % t);
    PaintNow();
}

void TAAScrollText::ScrollTimerTick() {
    if (position_ == 0) {
        ++passCount_;
        if (repeatCount_ != 0 && passCount_ >= repeatCount_) {
            SetActive(false);
            passCount_ = -1;
            Raise(OnComplete);
            return;
        }
        if (repeatDelay_ != 0) {
            scrollTimer_.SetEnabled(false);
            repeatTimer_.start();
            return;
        }
    }
    const std::int64_t next = std::int64_t{position_} + scrollStep_;
    if ((scrollStep_ > 0 && next >= textImage_.Height()) || (scrollStep_ < 0 && next < 0))
        SetPosition(0);
    else
        SetPosition(next);
}

void TAAScrollText::RepeatTimerTick() {
    repeatTimer_.stop();
    SetPosition(std::int64_t{position_} + scrollStep_);
    if (active_) scrollTimer_.SetEnabled(true);
}

}  // namespace pelwick
