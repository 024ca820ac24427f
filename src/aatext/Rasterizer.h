#pragma once

#include <memory>
#include <string>

#include "gfx/Bitmap.h"

namespace pelwick {

// What the text engine needs of a font machinery: the extent of a string and the string
// drawn white on black onto an 8-bit surface. The engine hands it fonts already enlarged
// by the oversampling scale; the reduction to coverage, the blends and every size rule are
// the engine's own.
class TGlyphRasterizer {
  public:
    virtual ~TGlyphRasterizer() = default;

    // The advance width of text and the height of the font's character cell, in pixels,
    // ignoring the font's escapement.
    virtual TSize TextExtent(const TFont& font, const std::string& text) = 0;

    // Draws text in white onto surface (pf8bit, 0 inside clip when called) with the top-left
    // corner of its first character cell at (x, y), turned counter-clockwise by
    // font.Escapement about that corner: afterwards each pixel inside clip holds the glyphs'
    // coverage of it, 0 to 255. Pixels outside clip are left alone.
    virtual void DrawText(TBitmap& surface, const TRect& clip, const TFont& font, int x, int y,
                          const std::string& text) = 0;
};

// The rasteriser on Qt's font machinery, shared by every text object unless one is given
// another. It keeps the last font it built, since lines are drawn in few fonts.
std::shared_ptr<TGlyphRasterizer> DefaultRasterizer();

}  // namespace pelwick
