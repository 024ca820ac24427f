#pragma once

#include <limits>
#include <memory>
#include <string>

#include "aatext/AABlend.h"
#include "aatext/AAEffect.h"
#include "aatext/AAMask.h"
#include "aatext/Rasterizer.h"
#include "gfx/Bitmap.h"

namespace pelwick {

// Measures and draws anti-aliased text on one canvas, in the canvas's font. Without a canvas
// every extent is 0 x 0 and nothing is drawn.
class TAAGlyphs {
  public:
    explicit TAAGlyphs(TCanvas* canvas = nullptr);
    virtual ~TAAGlyphs() = default;
    TAAGlyphs(const TAAGlyphs&) = delete;
    TAAGlyphs& operator=(const TAAGlyphs&) = delete;

    TCanvas* Canvas() const { return canvas_; }
    void SetCanvas(TCanvas* canvas) { canvas_ = canvas; }
    TAAMask& Mask() { return mask_; }
    TAABlend& Blend() { return blend_; }

    TAAQuality Quality() const { return mask_.Quality(); }
    void SetQuality(TAAQuality quality) { mask_.SetQuality(quality); }

    // The size text takes, in pixels.
    virtual TSize TextExtent(const std::string& text);
    int TextHeight(const std::string& text) { return TextExtent(text).Height; }
    int TextWidth(const std::string& text) { return TextExtent(text).Width; }

    // The font machinery that measures and draws glyphs (DefaultRasterizer() unless set).
    TGlyphRasterizer& Rasterizer() const { return *rasterizer_; }
    void SetRasterizer(std::shared_ptr<TGlyphRasterizer> rasterizer);

  private:
    TCanvas* canvas_;
    std::shared_ptr<TGlyphRasterizer> rasterizer_;
    TAAMask mask_{this};
    TAABlend blend_{this};
};

// TAAGlyphs with an effect set: shadow, opacity, softening, fills, outline, spray, mirrors
// and rotation.
class TAAGlyphsEx : public TAAGlyphs {
  public:
    explicit TAAGlyphsEx(TCanvas* canvas = nullptr) : TAAGlyphs(canvas) {}

    TAAEffect& Effect() { return effect_; }
    const TAAEffect& Effect() const { return effect_; }

    // The turned text's extent, grown by the shadow's offsets when the shadow is on.
    TSize TextExtent(const std::string& text) override;
    // Draws text with every effect so that text and shadow together start at (x, y).
    void TextOutput(int x, int y, const std::string& text);

  private:
    struct TSpan {
        int Left = std::numeric_limits<int>::min(), Right = std::numeric_limits<int>::max();
    };
    TSpan VisibleSpan(const TCanvas& canvas, int textX) const;

    TAAEffect effect_;
    TAAMask shadowMask_;
};

}  // namespace pelwick
