#pragma once

#include <functional>
#include <string>

#include "gfx/Color.h"
#include "gfx/Picture.h"

namespace pelwick {

class TSettingsFile;

// The base of the effect parameter objects: a change handler that hears of every real
// change, and an owner that only names the object. The objects are not copyable (their
// sub-objects report to them); Assign copies their values.
class TNotifyClass {
  public:
    using TChangeHandler = std::function<void(TNotifyClass& sender)>;

    explicit TNotifyClass(TChangeHandler handler = {}, const void* owner = nullptr)
        : onChange_(std::move(handler)), owner_(owner) {}
    virtual ~TNotifyClass() = default;
    TNotifyClass(const TNotifyClass&) = delete;
    TNotifyClass& operator=(const TNotifyClass&) = delete;

    virtual const char* ClassName() const { return "TNotifyClass"; }
    // Copies the values of source; a source of another kind raises an Exception.
    virtual void Assign(const TNotifyClass& source);
    // Tells the change handler, if there is one.
    virtual void Changed();
    // Sub-objects report here; it calls Changed.
    virtual void ChildChanged(TNotifyClass& child);

    void SetOnChange(TChangeHandler handler) { onChange_ = std::move(handler); }
    const void* Owner() const { return owner_; }

  protected:
    // Calls the handler even where Changed would not.
    void Notify() {
        if (onChange_) onChange_(*this);
    }
    TChangeHandler ChildHandler() {
        return [this](TNotifyClass& child) { ChildChanged(child); };
    }
    template <class T>
    void SetField(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    [[noreturn]] void CannotAssign(const TNotifyClass& source) const;

  private:
    TChangeHandler onChange_;
    const void* owner_;
};

// An effect that can be switched off: while it is, changes of its other values are not
// reported (they do not show); switching it on or off always is.
class TEnabledClass : public TNotifyClass {
  public:
    using TNotifyClass::TNotifyClass;
    const char* ClassName() const override { return "TEnabledClass"; }
    void Assign(const TNotifyClass& source) override;
    void Changed() override;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

  protected:
    // Reports a change made by Assign: always when Enabled flipped, else as Changed does.
    void AssignDone(bool wasEnabled, bool changed);

    bool enabled_ = false;
};

// The drop shadow: a copy of the text mask, softened, in its own colour and opacity.
class TAAShadow : public TEnabledClass {
  public:
    using TEnabledClass::TEnabledClass;
    const char* ClassName() const override { return "TAAShadow"; }
    void Assign(const TNotifyClass& source) override;
    bool operator==(const TAAShadow& other) const;

    int Blur() const { return blur_; }
    void SetBlur(int value) { SetField(blur_, value); }
    // Percent of the effect's own opacity.
    int Alpha() const { return alpha_; }
    void SetAlpha(int value) { SetField(alpha_, value); }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { SetField(color_, value); }
    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int value) { SetField(offsetX_, value); }
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int value) { SetField(offsetY_, value); }

  private:
    friend class TAAEffect;
    int blur_ = 80;
    int alpha_ = 70;
    TColor color_ = RGB(68, 68, 68);
    int offsetX_ = 2;
    int offsetY_ = 2;
};

// A colour ramp across the text.
class TAAGradual : public TEnabledClass {
  public:
    enum TGradualStyle {
        gsLeftToRight,
        gsRightToLeft,
        gsTopToBottom,
        gsBottomToTop,
        gsCenterToLR,
        gsCenterToTB
    };

    using TEnabledClass::TEnabledClass;
    const char* ClassName() const override { return "TAAGradual"; }
    void Assign(const TNotifyClass& source) override;
    bool operator==(const TAAGradual& other) const;

    TGradualStyle Style() const { return style_; }
    void SetStyle(TGradualStyle value) { SetField(style_, value); }
    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor value) { SetField(startColor_, value); }
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor value) { SetField(endColor_, value); }

  private:
    friend class TAAEffect;
    TGradualStyle style_ = gsLeftToRight;
    TColor startColor_ = clWhite;
    TColor endColor_ = clBlack;
};

enum TTextureMode { tmTiled, tmStretched, tmCenter, tmNormal };

// A picture seen through the text.
class TAATexture : public TEnabledClass {
  public:
    explicit TAATexture(TChangeHandler handler = {}, const void* owner = nullptr);
    const char* ClassName() const override { return "TAATexture"; }
    void Assign(const TNotifyClass& source) override;
    bool operator==(const TAATexture& other) const;

    TTextureMode Mode() const { return mode_; }
    void SetMode(TTextureMode value) { SetField(mode_, value); }
    // Changing the picture reports like any other change.
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }

  private:
    friend class TAAEffect;
    TTextureMode mode_ = tmTiled;
    TPicture picture_;
};

// How a string is drawn beyond its font.
class TAAEffect : public TNotifyClass {
  public:
    explicit TAAEffect(TChangeHandler handler = {}, const void* owner = nullptr);
    const char* ClassName() const override { return "TAAEffect"; }
    // Copies every value and the three sub-objects; reports once if anything differed.
    void Assign(const TNotifyClass& source) override;
    bool operator==(const TAAEffect& other) const;

    // Overall opacity in percent.
    int Alpha() const { return alpha_; }
    void SetAlpha(int value) { SetField(alpha_, value); }
    // Softening of the text mask, 0..100.
    int Blur() const { return blur_; }
    void SetBlur(int value) { SetField(blur_, value); }
    bool Outline() const { return outline_; }
    void SetOutline(bool value) { SetField(outline_, value); }
    // Amplitude of random colour noise, 0..255.
    int Noise() const { return noise_; }
    void SetNoise(int value) { SetField(noise_, value); }
    // Largest pixel displacement of the spray, 0..100.
    int Spray() const { return spray_; }
    void SetSpray(int value) { SetField(spray_, value); }
    // Rotation in degrees, -360..360, counter-clockwise.
    int Angle() const { return angle_; }
    void SetAngle(int value) { SetField(angle_, value); }
    bool HorzMirror() const { return horzMirror_; }
    void SetHorzMirror(bool value) { SetField(horzMirror_, value); }
    bool VertMirror() const { return vertMirror_; }
    void SetVertMirror(bool value) { SetField(vertMirror_, value); }

    TAAShadow& Shadow() { return shadow_; }
    const TAAShadow& Shadow() const { return shadow_; }
    void SetShadow(const TAAShadow& value) { shadow_.Assign(value); }
    TAAGradual& Gradual() { return gradual_; }
    const TAAGradual& Gradual() const { return gradual_; }
    void SetGradual(const TAAGradual& value) { gradual_.Assign(value); }
    TAATexture& Texture() { return texture_; }
    const TAATexture& Texture() const { return texture_; }
    void SetTexture(const TAATexture& value) { texture_.Assign(value); }

    // Reads the effect from a section, keeping the current values for missing or unreadable
    // keys and holding values to their ranges; writes it. Neither reports a change. The
    // texture picture is not stored.
    virtual void LoadFromIni(const TSettingsFile& ini, const std::string& section);
    virtual void SaveToIni(TSettingsFile& ini, const std::string& section) const;

  private:
    int alpha_ = 100;
    int blur_ = 0;
    bool outline_ = false;
    int noise_ = 0;
    int spray_ = 0;
    int angle_ = 0;
    bool horzMirror_ = false;
    bool vertMirror_ = false;
    TAAShadow shadow_;
    TAAGradual gradual_;
    TAATexture texture_;
};

}  // namespace pelwick
