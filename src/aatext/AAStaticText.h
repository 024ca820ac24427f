#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "aatext/AAControl.h"
#include "aatext/TextParams.h"

namespace pelwick {

// The settings of a static text block: TCustomTextParam plus the colour behind the text.
class TTextParam : public TCustomTextParam {
  public:
    using TCustomTextParam::TCustomTextParam;
    const char* ClassName() const override { return "TTextParam"; }
    void Assign(const TNotifyClass& source) override;

    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value) { SetField(backColor_, value); }

  private:
    TColor backColor_ = clWhite;
};

// A block of markup lines that can size itself to its text; lines that start below the
// control are not drawn.
class TAAText : public TAACustomText {
  public:
    explicit TAAText(QWidget* parent = nullptr);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TTextParam& Text() { return text_; }

    // Sizes the control to its lines where AutoSize allows.
    void CalculateSize();

  protected:
    void LoadedEx() override { Reset(); }
    void Reset() override;
    void PaintCanvas() override;

  private:
    void DrawText(TBitmap& image);

    bool autoSize_ = true;
    TTextParam text_;
    TBitmap cache_;
};

// The settings of a caption: its placement, quality and what lies behind it. FontEffect is
// the effect of the control's glyphs.
class TAACaptionParam : public TCustomParam {
  public:
    TAACaptionParam(TChangeHandler handler, TAAGlyphsEx& glyphs);
    const char* ClassName() const override { return "TAACaptionParam"; }
    void Assign(const TNotifyClass& source) override;

    TAAQuality Quality() const { return quality_; }
    void SetQuality(TAAQuality value) { SetField(quality_, value); }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value) { SetField(backColor_, value); }
    TAAEffect& FontEffect() { return glyphs_.Effect(); }

  private:
    TAAGlyphsEx& glyphs_;
    TAAQuality quality_ = aqNormal;
    TColor backColor_ = clWhite;
};

// A one-line caption, drawn as it stands: tags in it are text, not markup.
class TAALabel : public TAAGraphicControl {
  public:
    explicit TAALabel(QWidget* parent = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TAACaptionParam& Effect() { return effect_; }

    TAAGraphicControl::TNotifyEvent OnPainted;

  protected:
    void Reset() override;
    void PaintCanvas() override;
    // Sizes the control when AutoSize is on and returns where the caption goes.
    TPoint LayoutCaption(TCanvas& canvas);
    // The normal look, rebuilt by Reset unless the label is transparent.
    TBitmap& Cache() { return cache_; }
    void BuildCache();

  private:
    std::string caption_;
    bool autoSize_ = true;
    TAACaptionParam effect_;
    TBitmap cache_;
};

// How a link caption looks under the mouse and where it leads.
class THotLink : public TCustomParam {
  public:
    THotLink();
    const char* ClassName() const override { return "THotLink"; }
    void Assign(const TNotifyClass& source) override;

    bool Fade() const { return fade_; }
    void SetFade(bool value) { SetField(fade_, value); }
    std::uint32_t FadeDelay() const { return fadeDelay_; }
    void SetFadeDelay(std::uint32_t value) { SetField(fadeDelay_, value); }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { SetField(color_, value); }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value) { SetField(backColor_, value); }
    TAAEffect& FontEffect() { return fontEffect_; }
    const std::string& URL() const { return url_; }
    void SetURL(const std::string& value) { SetField(url_, value); }
    bool UnderLine() const { return underLine_; }
    void SetUnderLine(bool value) { SetField(underLine_, value); }

  private:
    bool fade_ = true;
    std::uint32_t fadeDelay_ = 600;
    TColor color_ = clBlue;
    TColor backColor_ = clBtnFace;
    TAAEffect fontEffect_;
    std::string url_;
    bool underLine_ = false;
};

// Whether a link may be handed to the desktop: http, https and mailto addresses only, so a
// caption can never start a program or open a local file.
bool IsOpenableLink(const std::string& url);

// A caption that lights up under the mouse (fading in and out) and opens URL when clicked.
class TAALinkLabel : public TAALabel {
  public:
    static constexpr int FadeInterval = 55;

    explicit TAALinkLabel(QWidget* parent = nullptr);

    THotLink& HotLink() { return hotLink_; }
    // Hands an address to the desktop's default handler; tests replace it.
    std::function<void(const std::string& url)> OpenUrl;

    void MouseEnter() override;
    void MouseLeave() override;
    void Click() override;
    void FadeTimerTick();

    std::uint8_t Progress() const { return progress_; }
    int FadeState() const { return fadeState_; }
    bool FadeTimerActive() const { return fadeTimer_.isActive(); }
    const TBitmap& HotImage() const { return hot_; }

  protected:
    void PaintCanvas() override;
    void changeEvent(QEvent* event) override;

  private:
    void BuildHotImage();
    void SetProgress(std::uint8_t value);

    THotLink hotLink_;
    TBitmap hot_;
    TBitmap composite_;
    QTimer fadeTimer_;
    bool mouseOver_ = false;
    int fadeState_ = 0;  // 0 none, 1 fading in, 2 fading out
    std::uint8_t progress_ = 0;
    double position_ = 0;
};

}  // namespace pelwick
