#include "aatext/AAGlyphs.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "aatext/ForePictures.h"

namespace pelwick {

namespace {

// Gives a canvas its font's escapement and brush style back, also when drawing fails.
class TCanvasStateGuard {
  public:
    explicit TCanvasStateGuard(TCanvas& canvas)
        : canvas_(canvas), escapement_(canvas.Font.Escapement), brush_(canvas.Brush.Style) {}
    ~TCanvasStateGuard() {
        canvas_.Font.Escapement = escapement_;
        canvas_.Brush.Style = brush_;
    }
    TCanvasStateGuard(const TCanvasStateGuard&) = delete;
    TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

  private:
    TCanvas& canvas_;
    int escapement_;
    TBrush::TBrushStyle brush_;
};

}  // namespace

// ---- TAAGlyphs

TAAGlyphs::TAAGlyphs(TCanvas* canvas) : canvas_(canvas), rasterizer_(DefaultRasterizer()) {}

void TAAGlyphs::SetRasterizer(std::shared_ptr<TGlyphRasterizer> rasterizer) {
    rasterizer_ = rasterizer ? std::move(rasterizer) : DefaultRasterizer();
    mask_.ForgetDrawings();
}

TSize TAAGlyphs::TextExtent(const std::string& text) {
    return mask_.TextExtent(text);
}

// ---- TAAGlyphsEx

TSize TAAGlyphsEx::TextExtent(const std::string& text) {
    TCanvas* canvas = Canvas();
    if (!canvas) return TSize{};
    TSize extent;
    if (effect_.Angle() != 0) {
        TCanvasStateGuard guard(*canvas);
        canvas->Font.Escapement = effect_.Angle() * 10;
        extent = TAAGlyphs::TextExtent(text);
    } else {
        extent = TAAGlyphs::TextExtent(text);
    }
    const TAAShadow& shadow = effect_.Shadow();
    if (shadow.Enabled()) {
        extent.Width += std::abs(shadow.OffsetX());
        extent.Height += std::abs(shadow.OffsetY());
    }
    return extent;
}

// The mask columns that can reach the canvas when the mask is placed at textX: whatever the
// softening, outline, spray and shadow move sideways stays within the margin. Mirrored or
// turned text keeps every column.
TAAGlyphsEx::TSpan TAAGlyphsEx::VisibleSpan(const TCanvas& canvas, int textX) const {
    if (effect_.Angle() != 0 || effect_.HorzMirror()) return TSpan{};
    const TAAShadow& shadow = effect_.Shadow();
    const int reach = 16 + effect_.Spray() + (shadow.Enabled() ? std::abs(shadow.OffsetX()) : 0);
    const std::int64_t left = std::int64_t(-textX) - reach;
    const std::int64_t right = std::int64_t(canvas.Bitmap().Width()) - textX + reach;
    auto clamp = [](std::int64_t v) {
        return int(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                            std::numeric_limits<int>::max()));
    };
    return TSpan{clamp(left), clamp(right)};
}

void TAAGlyphsEx::TextOutput(int x, int y, const std::string& text) {
    TCanvas* canvas = Canvas();
    if (!canvas || text.empty()) return;
    TCanvasStateGuard guard(*canvas);
    if (effect_.Angle() != 0) canvas->Font.Escapement = effect_.Angle() * 10;

    const TAAShadow& shadow = effect_.Shadow();
    int textX = x, textY = y;
    if (shadow.Enabled()) {
        textX = x + std::max(-shadow.OffsetX(), 0);
        textY = y + std::max(-shadow.OffsetY(), 0);
    }

    TAAMask& mask = Mask();
    const TSpan span = VisibleSpan(*canvas, textX);
    mask.DrawText(text, span.Left, span.Right);
    textX += mask.Left();  // only the part that can show was drawn
    const int shadowX = x + mask.Left() + std::max(shadow.OffsetX(), 0);
    if (effect_.Outline()) mask.Outline();
    if (effect_.Spray() > 0) mask.Spray(effect_.Spray());
    if (effect_.HorzMirror()) mask.HorzMirror();
    if (effect_.VertMirror()) mask.VertMirror();

    if (shadow.Enabled()) {
        // The shadow keeps the outline, spray and mirroring but not the text's own softening;
        // its opacity is a share of the text's.
        shadowMask_.Assign(mask);
        if (shadow.Blur() > 0) shadowMask_.Blur(shadow.Blur());
        Blend().Blend(shadowX, y + std::max(shadow.OffsetY(), 0), shadowMask_,
                      effect_.Alpha() * shadow.Alpha() / 100, shadow.Color());
        canvas->Brush.Style = TBrush::bsClear;  // the text goes over the shadow, not over a new box
    }

    if (effect_.Blur() > 0) mask.Blur(effect_.Blur());

    const TColor fontColor = canvas->Font.Color;
    TBitmap& fore = Blend().ForeBmp();
    const TAATexture& texture = effect_.Texture();
    if (texture.Enabled() && texture.Picture().HasImage()) {
        BuildTexture(fore, mask.Width(), mask.Height(), fontColor, texture);
        if (effect_.Noise() > 0) AddNoise(fore, effect_.Noise());
        Blend().BlendEx(textX, textY, mask, effect_.Alpha());
    } else if (effect_.Gradual().Enabled()) {
        BuildGradient(fore, mask.Width(), mask.Height(), effect_.Gradual(), mask.Left(),
                      mask.FullWidth());
        if (effect_.Noise() > 0) AddNoise(fore, effect_.Noise());
        Blend().BlendEx(textX, textY, mask, effect_.Alpha());
    } else if (effect_.Noise() > 0) {
        BuildNoise(fore, mask.Width(), mask.Height(), fontColor, effect_.Noise());
        Blend().BlendEx(textX, textY, mask, effect_.Alpha());
    } else {
        Blend().Blend(textX, textY, mask, effect_.Alpha(), fontColor);
    }
}

}  // namespace pelwick
