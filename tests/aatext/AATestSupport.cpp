#include "AATestSupport.h"

#include <cstdlib>

namespace pelwick::test {

TSize TBlockRasterizer::TextExtent(const TFont& font, const std::string& text) {
    if (Extent) return Extent(font, text);
    const int h = std::abs(font.Height);
    return TSize{static_cast<int>(utf8::CharCount(text)) * (h / 2), h};
}

void TBlockRasterizer::DrawText(TBitmap& surface, const TRect& clip, const TFont& font, int x,
                                int y, const std::string& text) {
    ++Draws;
    LastFont = font;
    LastText = text;
    LastOrigin = TPoint{x, y};
    if (Paint) {
        Paint(surface, x, y);
        return;
    }
    const int h = std::abs(font.Height), w = h / 2;
    int left = x;
    for (std::size_t i = 0; i < text.size(); i += utf8::CharLength(text, i), left += w) {
        if (text[i] == ' ') continue;
        for (int py = std::max(y, clip.Top); py < std::min(y + h, clip.Bottom); ++py)
            for (int px = std::max(left, clip.Left); px < std::min(left + w, clip.Right); ++px)
                surface.ScanLine(py)[px] = 255;
    }
}

TBlockScene::TBlockScene(int width, int height, TColor background)
    : Image(width, height, pf24bit), Glyphs(&Image.Canvas()) {
    Image.Canvas().Brush = TBrush{TBrush::bsSolid, background};
    Image.Canvas().FillRect(Image.BoundsRect());
    Image.Canvas().Brush.Style = TBrush::bsClear;
    Image.Canvas().Font.Color = clWhite;
    Image.Canvas().Font.Height = -8;
    Glyphs.SetRasterizer(Rasterizer);
    Glyphs.SetQuality(aqNone);
}

void SetMask(TAAMask& mask, int width, int height, const std::vector<int>& values) {
    mask.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.ScanLine(y)[x] = static_cast<std::uint8_t>(values.at(std::size_t(y * width + x)));
}

std::vector<int> MaskValues(const TAAMask& mask) {
    std::vector<int> values;
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            values.push_back(mask.ScanLine(y)[x]);
    return values;
}

}  // namespace pelwick::test
