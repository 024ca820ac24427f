#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "aatext/AAGlyphs.h"
#include "aatext/Rasterizer.h"
#include "app/Utf8.h"

namespace pelwick::test {

// A rasteriser that writes only 0 and 255, so coverage levels are exact. By default every
// character is a cell of |Height| / 2 x |Height| enlarged pixels, inked in full except for
// blanks; Extent and Paint replace that.
class TBlockRasterizer : public TGlyphRasterizer {
  public:
    std::function<TSize(const TFont&, const std::string&)> Extent;
    // Paints into the surface with the text's cell at (x, y).
    std::function<void(TBitmap& surface, int x, int y)> Paint;
    // The surface the mask is drawn on: 8-bit coverage, or 32-bit pixels whose first byte is
    // the coverage (as the real rasteriser hands them over).
    TPixelFormat Format = pf8bit;
    TPixelFormat SurfaceFormat() const override { return Format; }

    // What the last draw was given.
    TFont LastFont;
    std::string LastText;
    TPoint LastOrigin;
    int Draws = 0;

    TSize TextExtent(const TFont& font, const std::string& text) override;
    void DrawText(TBitmap& surface, const TRect& clip, const TFont& font, int x, int y,
                  const std::string& text) override;
};

// A 24-bit picture of one colour, with glyphs drawing on it through a block rasteriser.
struct TBlockScene {
    explicit TBlockScene(int width, int height, TColor background = clBlack);
    TBitmap Image;
    std::shared_ptr<TBlockRasterizer> Rasterizer = std::make_shared<TBlockRasterizer>();
    TAAGlyphsEx Glyphs;
};

// Lights the given mask values in row-major order, for effect tests.
void SetMask(TAAMask& mask, int width, int height, const std::vector<int>& values);
std::vector<int> MaskValues(const TAAMask& mask);

}  // namespace pelwick::test
