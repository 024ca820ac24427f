#pragma once

#include <QTimer>
#include <cstdint>
#include <string>

#include "aatext/AAControl.h"
#include "aatext/TextParams.h"

namespace pelwick {

// The settings of a fading text: its lines, how long a cross-fade takes and how long each
// line stays. A fade always ends at least 200 ms before the next line is due.
class TFadeTextParam : public TCustomTextParam {
  public:
    static constexpr std::uint32_t MinFadeDelay = 50;
    static constexpr std::uint32_t FadeGap = 200;

    explicit TFadeTextParam(TChangeHandler handler = {}, const void* owner = nullptr);
    const char* ClassName() const override { return "TFadeTextParam"; }
    void Assign(const TNotifyClass& source) override;

    std::uint32_t FadeDelay() const { return fadeDelay_; }
    // Held to 50 .. LineDelay - 200.
    void SetFadeDelay(std::uint32_t value);
    std::uint32_t LineDelay() const { return lineDelay_; }
    // Raised to at least FadeDelay + 200.
    void SetLineDelay(std::uint32_t value);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value) { SetField(backColor_, value); }

  private:
    std::uint32_t fadeDelay_ = 600;
    std::uint32_t lineDelay_ = 3000;
    TColor backColor_ = clWhite;
};

// Shows one line at a time and cross-fades to the next after LineDelay; after RepeatCount
// passes through the lines (0: endless) it fades to an empty line and stops.
class TAAFadeText : public TAACustomText {
  public:
    static constexpr int FadeInterval = 25;

    explicit TAAFadeText(QWidget* parent = nullptr);
    ~TAAFadeText() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    int RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int value) { repeatCount_ = value; }
    TFadeTextParam& Text() { return text_; }

    int CurrentLine() const { return current_; }
    int PassCount() const { return passCount_; }
    std::uint8_t Progress() const { return progress_; }
    const std::string& NewText() const { return newText_; }
    bool FadeTimerActive() const { return fadeTimer_.isActive(); }
    bool LineTimerActive() const { return lineTimer_.isActive(); }

    // Shows line index (past the last line: the next pass or, when the passes are done, an
    // empty line).
    void ShowLine(int index);
    void FadeTo(const std::string& line);
    // The fade timer's step and the line timer's change to the next line.
    void FadeTimerTick();
    void LineTimerTick() { ShowLine(current_ + 1); }

  protected:
    void LoadedEx() override;
    void Reset() override;
    void PaintCanvas() override;

  private:
    void RenderLine(TBitmap& image, const std::string& line);
    void RestartLineTimer();

    bool active_ = true;
    int repeatCount_ = 0;
    TFadeTextParam text_;
    TBitmap display_;
    TBitmap newImage_;
    TBitmap oldImage_;
    std::string oldText_;
    std::string newText_;
    int current_ = -1;
    std::uint8_t progress_ = 0;
    double position_ = 0;
    int passCount_ = 0;
    TAlignment alignment_ = taCenter;
    QTimer fadeTimer_;
    QTimer lineTimer_;
};

}  // namespace pelwick
