#pragma once

#include <QTimer>
#include <cstdint>

#include "aatext/AAControl.h"
#include "aatext/AATimer.h"
#include "aatext/TextParams.h"

namespace pelwick {

// The settings of a scrolling text: its lines and effects plus the faded edges, the space
// above and below the text, its colour and font.
class TScrollTextParam : public TCustomTextParam {
  public:
    explicit TScrollTextParam(TChangeHandler handler = {}, const void* owner = nullptr);
    const char* ClassName() const override { return "TScrollTextParam"; }
    void Assign(const TNotifyClass& source) override;

    bool Fade() const { return fade_; }
    void SetFade(bool value) { SetField(fade_, value); }
    int FadeHeight() const { return fadeHeight_; }
    void SetFadeHeight(int value) { SetField(fadeHeight_, value); }
    // Percentages of the control's height, held to 0..150.
    int HeadSpace() const { return headSpace_; }
    void SetHeadSpace(int value);
    int TailSpace() const { return tailSpace_; }
    void SetTailSpace(int value);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value) { SetField(backColor_, value); }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value) { SetField(font_, value); }

  private:
    bool fade_ = true;
    int fadeHeight_ = 10;
    int headSpace_ = 0;
    int tailSpace_ = 60;
    TColor backColor_ = clWhite;
    TFont font_;
};

// Markup lines rendered once into a tall text image, shown through a window that scrolls
// upwards in a loop with faded top and bottom edges. A pass starts each time the window is
// back at the top; after RepeatCount passes (0: endless) it stops.
class TAAScrollText : public TAACustomText {
  public:
    static constexpr int MinSize = 20;

    explicit TAAScrollText(QWidget* parent = nullptr);
    ~TAAScrollText() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    std::uint16_t ScrollDelay() const { return scrollDelay_; }
    void SetScrollDelay(std::uint16_t value);
    int ScrollStep() const { return scrollStep_; }
    void SetScrollStep(int value) { scrollStep_ = value; }
    int RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int value);
    std::uint16_t RepeatDelay() const { return repeatDelay_; }
    void SetRepeatDelay(std::uint16_t value);
    TScrollTextParam& Text() { return text_; }

    int Position() const { return position_; }
    // Moves the window to value (taken modulo the image height) and repaints at once.
    void SetPosition(std::int64_t value);
    int PassCount() const { return passCount_; }
    const TBitmap& TextImage() const { return textImage_; }
    bool ScrollTimerEnabled() const { return scrollTimer_.Enabled(); }
    bool RepeatTimerEnabled() const { return repeatTimer_.isActive(); }

    // The scroll timer's step and the end of the pause at the top of a pass.
    void ScrollTimerTick();
    void RepeatTimerTick();

  protected:
    void LoadedEx() override { Reset(); }
    void Reset() override;
    void PaintCanvas() override;

  private:
    void BuildTextImage();
    void FadeEdges(int height);

    bool active_ = true;
    std::uint16_t scrollDelay_ = 60;
    int scrollStep_ = 1;
    int repeatCount_ = 0;
    std::uint16_t repeatDelay_ = 2000;
    TScrollTextParam text_;
    TBitmap textImage_;
    TBitmap frame_;
    int position_ = 0;
    int passCount_ = -1;
    TAATimer scrollTimer_;
    QTimer repeatTimer_;
};

}  // namespace pelwick
