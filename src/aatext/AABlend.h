#pragma once

#include "aatext/AAMask.h"
#include "gfx/Bitmap.h"

namespace pelwick {

// BlendEx was given a foreground picture that does not match the mask.
class EInvalidForeBmp : public Exception {
  public:
    EInvalidForeBmp() : Exception("Invalid foreground bitmap!") {}
};

class TAAGlyphs;

// Lays a coverage mask onto the canvas of Font, in one colour or through a foreground
// picture, with an overall opacity. A solid canvas brush gives the text an opaque box of the
// brush colour; a clear one lays it over the pixels already there.
class TAABlend {
  public:
    explicit TAABlend(TAAGlyphs* font = nullptr) : font_(font) {}
    TAABlend(const TAABlend&) = delete;
    TAABlend& operator=(const TAABlend&) = delete;

    // The foreground picture (24-bit) that BlendEx lays through the mask.
    TBitmap& ForeBmp() { return foreBmp_; }
    const TBitmap& ForeBmp() const { return foreBmp_; }
    TAAGlyphs* Font() const { return font_; }

    void Assign(const TAABlend& source);

    // Mask at (x, y) in color, alpha percent (0..100) opaque.
    void Blend(int x, int y, const TAAMask& mask, int alpha, TColor color);
    // Mask at (x, y) with the colours of ForeBmp, which must be a 24-bit bitmap of the
    // mask's size (else EInvalidForeBmp and nothing is drawn).
    void BlendEx(int x, int y, const TAAMask& mask, int alpha);

  private:
    void Lay(int x, int y, const TAAMask& mask, int alpha, TColor color, const TBitmap* fore);

    TAAGlyphs* font_;
    TBitmap foreBmp_;
};

}  // namespace pelwick
