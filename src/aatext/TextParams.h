#pragma once

#include <functional>
#include <string>
#include <vector>

#include "aatext/AAEffect.h"
#include "aatext/Labels.h"
#include "gfx/Picture.h"

namespace pelwick {

// A list of text lines that reports every change.
class TStringList {
  public:
    std::function<void()> OnChange;

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const {
        return lines_.at(static_cast<std::size_t>(index));
    }
    const std::vector<std::string>& Strings() const { return lines_; }

    void Add(const std::string& line);
    void Insert(int index, const std::string& line);
    void Set(int index, const std::string& line);
    void Delete(int index);
    void Clear();
    // Replaces every line at once (one change).
    void Assign(std::vector<std::string> lines);
    // The lines split at CR LF, LF or CR; joined with LF.
    void SetText(const std::string& text);
    std::string Text() const;

  private:
    void Changed();
    std::vector<std::string> lines_;
};

// The settings of one text control: alignment, wrapping, cutting and what lies behind the
// text.
// Every setter reports a real change.
class TCustomParam : public TNotifyClass {
  public:
    // How a background picture is placed (same order as TTextureMode).
    enum TBackGroundMode { bmTiled, bmStretched, bmCenter, bmNormal };

    enum TTextLayout { tlTop, tlCenter, tlBottom };

    explicit TCustomParam(TChangeHandler handler = {}, const void* owner = nullptr);
    const char* ClassName() const override { return "TCustomParam"; }
    void Assign(const TNotifyClass& source) override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { SetField(alignment_, value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { SetField(wordWrap_, value); }
    // A row wider than the control ends at its last whole word that fits, followed by "…".
    bool EndEllipsis() const { return endEllipsis_; }
    void SetEndEllipsis(bool value) { SetField(endEllipsis_, value); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { SetField(transparent_, value); }
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value) { SetField(layout_, value); }
    TPicture& BackGround() { return backGround_; }
    const TPicture& BackGround() const { return backGround_; }
    TBackGroundMode BackGroundMode() const { return backGroundMode_; }
    void SetBackGroundMode(TBackGroundMode value) { SetField(backGroundMode_, value); }

  private:
    TAlignment alignment_ = taLeftJustify;
    bool wordWrap_ = false;
    bool endEllipsis_ = false;
    bool transparent_ = false;
    TTextLayout layout_ = tlTop;
    TPicture backGround_;
    TBackGroundMode backGroundMode_ = bmCenter;
};

// Extra space between rows in percent of the row's height.
inline constexpr int MinRowPitch = -100;
inline constexpr int MaxRowPitch = 150;

// The settings of a multi-line text control: its lines, their default effect and spacing.
class TCustomTextParam : public TCustomParam {
  public:
    // How long a tag's font, effect and alignment last: its own line, or until another tag.
    enum TLabelEffect { leOnlyALine, leUntilNextLabel };

    explicit TCustomTextParam(TChangeHandler handler = {}, const void* owner = nullptr);
    const char* ClassName() const override { return "TCustomTextParam"; }
    void Assign(const TNotifyClass& source) override;

    TStringList& Lines() { return lines_; }
    const TStringList& Lines() const { return lines_; }
    // The effect of lines without a font tag.
    TAAEffect& FontEffect() { return fontEffect_; }
    const TAAEffect& FontEffect() const { return fontEffect_; }
    int RowPitch() const { return rowPitch_; }
    // Held to MinRowPitch..MaxRowPitch.
    void SetRowPitch(int value);
    TLabelEffect LabelEffect() const { return labelEffect_; }
    void SetLabelEffect(TLabelEffect value) { SetField(labelEffect_, value); }

  private:
    TStringList lines_;
    TAAEffect fontEffect_;
    int rowPitch_ = 20;
    TLabelEffect labelEffect_ = leUntilNextLabel;
};

}  // namespace pelwick
