#include "aatext/AAEffect.h"

#include <algorithm>
#include <cstring>

#include "app/SettingsFile.h"

namespace pelwick {

namespace {

bool SamePicture(const TPicture& a, const TPicture& b) {
    const TBitmap* x = a.Bitmap();
    const TBitmap* y = b.Bitmap();
    if (!x || !y) return x == y;
    return x == y || (x->Width() == y->Width() && x->Height() == y->Height() &&
                      x->PixelFormat() == y->PixelFormat() &&
                      std::memcmp(x->Bits(), y->Bits(), x->ByteSize()) == 0);
}

}  // namespace

// ---- TNotifyClass

void TNotifyClass::CannotAssign(const TNotifyClass& source) const {
    throw Exception(std::string("Cannot assign a ") + source.ClassName() + " to a " + ClassName());
}

void TNotifyClass::Assign(const TNotifyClass& source) {
    CannotAssign(source);
}

void TNotifyClass::Changed() {
    Notify();
}

void TNotifyClass::ChildChanged(TNotifyClass&) {
    Changed();
}

// ---- TEnabledClass

void TEnabledClass::Assign(const TNotifyClass& source) {
    const auto* s = dynamic_cast<const TEnabledClass*>(&source);
    if (!s) CannotAssign(source);
    SetEnabled(s->enabled_);
}

void TEnabledClass::Changed() {
    if (enabled_) Notify();
}

void TEnabledClass::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Notify();
}

void TEnabledClass::AssignDone(bool wasEnabled, bool changed) {
    if (wasEnabled != enabled_)
        Notify();
    else if (changed)
        Changed();
}

// ---- TAAShadow

bool TAAShadow::operator==(const TAAShadow& o) const {
    return enabled_ == o.enabled_ && blur_ == o.blur_ && alpha_ == o.alpha_ && color_ == o.color_ &&
           offsetX_ == o.offsetX_ && offsetY_ == o.offsetY_;
}

void TAAShadow::Assign(const TNotifyClass& source) {
    const auto* s = dynamic_cast<const TAAShadow*>(&source);
    if (!s) CannotAssign(source);
    if (s == this) return;
    const bool wasEnabled = enabled_, changed = !(*this == *s);
    enabled_ = s->enabled_;
    blur_ = s->blur_;
    alpha_ = s->alpha_;
    color_ = s->color_;
    offsetX_ = s->offsetX_;
    offsetY_ = s->offsetY_;
    AssignDone(wasEnabled, changed);
}

// ---- TAAGradual

bool TAAGradual::operator==(const TAAGradual& o) const {
    return enabled_ == o.enabled_ && style_ == o.style_ && startColor_ == o.startColor_ &&
           endColor_ == o.endColor_;
}

void TAAGradual::Assign(const TNotifyClass& source) {
    const auto* s = dynamic_cast<const TAAGradual*>(&source);
    if (!s) CannotAssign(source);
    if (s == this) return;
    const bool wasEnabled = enabled_, changed = !(*this == *s);
    enabled_ = s->enabled_;
    style_ = s->style_;
    startColor_ = s->startColor_;
    endColor_ = s->endColor_;
    AssignDone(wasEnabled, changed);
}

// ---- TAATexture

TAATexture::TAATexture(TChangeHandler handler, const void* owner)
    : TEnabledClass(std::move(handler), owner) {
    picture_.OnChange = [this] { Changed(); };
}

bool TAATexture::operator==(const TAATexture& o) const {
    return enabled_ == o.enabled_ && mode_ == o.mode_ && SamePicture(picture_, o.picture_);
}

void TAATexture::Assign(const TNotifyClass& source) {
    const auto* s = dynamic_cast<const TAATexture*>(&source);
    if (!s) CannotAssign(source);
    if (s == this) return;
    const bool wasEnabled = enabled_, changed = !(*this == *s);
    enabled_ = s->enabled_;
    mode_ = s->mode_;
    if (!SamePicture(picture_, s->picture_)) {
        picture_.OnChange = nullptr;  // reported once below
        picture_.Assign(s->picture_);
        picture_.OnChange = [this] { Changed(); };
    }
    AssignDone(wasEnabled, changed);
}

// ---- TAAEffect

TAAEffect::TAAEffect(TChangeHandler handler, const void* owner)
    : TNotifyClass(std::move(handler), owner),
      shadow_(ChildHandler(), this),
      gradual_(ChildHandler(), this),
      texture_(ChildHandler(), this) {}

bool TAAEffect::operator==(const TAAEffect& o) const {
    return alpha_ == o.alpha_ && blur_ == o.blur_ && outline_ == o.outline_ && noise_ == o.noise_ &&
           spray_ == o.spray_ && angle_ == o.angle_ && horzMirror_ == o.horzMirror_ &&
           vertMirror_ == o.vertMirror_ && shadow_ == o.shadow_ && gradual_ == o.gradual_ &&
           texture_ == o.texture_;
}

void TAAEffect::Assign(const TNotifyClass& source) {
    const auto* s = dynamic_cast<const TAAEffect*>(&source);
    if (!s) CannotAssign(source);
    if (s == this || *this == *s) return;
    alpha_ = s->alpha_;
    blur_ = s->blur_;
    outline_ = s->outline_;
    noise_ = s->noise_;
    spray_ = s->spray_;
    angle_ = s->angle_;
    horzMirror_ = s->horzMirror_;
    vertMirror_ = s->vertMirror_;
    // The sub-objects are copied without reporting: the whole copy is one change.
    const TChangeHandler silent = [](TNotifyClass&) {};
    shadow_.SetOnChange(silent);
    gradual_.SetOnChange(silent);
    texture_.SetOnChange(silent);
    shadow_.Assign(s->shadow_);
    gradual_.Assign(s->gradual_);
    texture_.Assign(s->texture_);
    shadow_.SetOnChange(ChildHandler());
    gradual_.SetOnChange(ChildHandler());
    texture_.SetOnChange(ChildHandler());
    Changed();
}

void TAAEffect::LoadFromIni(const TSettingsFile& ini, const std::string& section) {
    auto number = [&](const char* key, int current, int low, int high) {
        return std::clamp(ini.ReadInteger(section, key, current), low, high);
    };
    auto color = [&](const char* key, TColor current) {
        return static_cast<TColor>(ini.ReadInteger(section, key, static_cast<int>(current)));
    };
    alpha_ = number("Alpha", alpha_, 0, 100);
    blur_ = number("Blur", blur_, 0, 100);
    noise_ = number("Noise", noise_, 0, 255);
    spray_ = number("Spray", spray_, 0, 100);
    angle_ = number("Angle", angle_, -360, 360);
    outline_ = ini.ReadBool(section, "Outline", outline_);
    horzMirror_ = ini.ReadBool(section, "HorzMirror", horzMirror_);
    vertMirror_ = ini.ReadBool(section, "VertMirror", vertMirror_);
    shadow_.enabled_ = ini.ReadBool(section, "Shadow", shadow_.enabled_);
    shadow_.alpha_ = number("ShadowAlpha", shadow_.alpha_, 0, 100);
    shadow_.blur_ = number("ShadowBlur", shadow_.blur_, 0, 100);
    shadow_.color_ = color("ShadowColor", shadow_.color_);
    shadow_.offsetX_ = number("ShadowOffsetX", shadow_.offsetX_, -20, 20);
    shadow_.offsetY_ = number("ShadowOffsetY", shadow_.offsetY_, -20, 20);
    gradual_.enabled_ = ini.ReadBool(section, "Gradual", gradual_.enabled_);
    gradual_.startColor_ = color("GradualStartColor", gradual_.startColor_);
    gradual_.endColor_ = color("GradualEndColor", gradual_.endColor_);
    const int style = ini.ReadInteger(section, "GradualStyle", gradual_.style_);
    gradual_.style_ = style >= TAAGradual::gsLeftToRight && style <= TAAGradual::gsCenterToTB
                          ? static_cast<TAAGradual::TGradualStyle>(style)
                          : TAAGradual::gsLeftToRight;
    texture_.enabled_ = ini.ReadBool(section, "Texture", texture_.enabled_);
    const int mode = ini.ReadInteger(section, "TextureMode", texture_.mode_);
    texture_.mode_ =
        mode >= tmTiled && mode <= tmNormal ? static_cast<TTextureMode>(mode) : tmTiled;
}

void TAAEffect::SaveToIni(TSettingsFile& ini, const std::string& section) const {
    ini.WriteInteger(section, "Alpha", alpha_);
    ini.WriteInteger(section, "Blur", blur_);
    ini.WriteInteger(section, "Noise", noise_);
    ini.WriteInteger(section, "Spray", spray_);
    ini.WriteInteger(section, "Angle", angle_);
    ini.WriteBool(section, "Outline", outline_);
    ini.WriteBool(section, "HorzMirror", horzMirror_);
    ini.WriteBool(section, "VertMirror", vertMirror_);
    ini.WriteBool(section, "Shadow", shadow_.enabled_);
    ini.WriteInteger(section, "ShadowAlpha", shadow_.alpha_);
    ini.WriteInteger(section, "ShadowBlur", shadow_.blur_);
    ini.WriteInteger(section, "ShadowColor", static_cast<int>(shadow_.color_));
    ini.WriteInteger(section, "ShadowOffsetX", shadow_.offsetX_);
    ini.WriteInteger(section, "ShadowOffsetY", shadow_.offsetY_);
    ini.WriteBool(section, "Gradual", gradual_.enabled_);
    ini.WriteInteger(section, "GradualStartColor", static_cast<int>(gradual_.startColor_));
    ini.WriteInteger(section, "GradualEndColor", static_cast<int>(gradual_.endColor_));
    ini.WriteInteger(section, "GradualStyle", gradual_.style_);
    ini.WriteBool(section, "Texture", texture_.enabled_);
    ini.WriteInteger(section, "TextureMode", texture_.mode_);
}

}  // namespace pelwick
