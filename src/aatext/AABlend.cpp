#include "aatext/AABlend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "aatext/AAGlyphs.h"

namespace pelwick {

namespace {

struct TRGB {
    int R, G, B;
};

TRGB Channels(TColor c) {
    c = ColorToRGB(c);
    return TRGB{GetRValue(c), GetGValue(c), GetBValue(c)};
}

// One row of a blend straight onto the target. This gives what laying the mask onto a
// 24-bit copy of the target's rectangle (or onto the brush's box) and copying that back
// gives, pixel by pixel, without the two copies.
template <int Bpp, bool Solid, bool Fore>
void BlendRow(std::uint8_t* dst, const std::uint8_t* mask, const std::uint8_t* fore, int count,
              int a256, TRGB color, TRGB brush) {
    for (int x = 0; x < count; ++x, dst += Bpp) {
        if constexpr (!Solid) {
            // Most of a text mask is empty; runs of eight empty pixels are passed at once.
            if (mask[x] == 0 && x + 8 <= count) {
                std::uint64_t eight;
                std::memcpy(&eight, mask + x, 8);
                if (eight == 0) {
                    x += 7;
                    dst += 7 * Bpp;
                    continue;
                }
            }
        }
        const int w = (mask[x] * a256) >> 8;
        if (w == 0 && !Solid) continue;
        TRGB d;
        if constexpr (Solid) {
            d = brush;
        } else if constexpr (Bpp == 1) {
            d = TRGB{dst[0], dst[0], dst[0]};
        } else {
            d = TRGB{dst[2], dst[1], dst[0]};
        }
        TRGB c = color;
        if constexpr (Fore) c = TRGB{fore[3 * x + 2], fore[3 * x + 1], fore[3 * x]};
        TRGB r;
        if (w == 0) {
            r = d;
        } else if (w == 255) {
            r = c;
        } else {
            // An arithmetic shift rounds toward minus infinity, so r stays between d and c.
            r = TRGB{d.R + (((c.R - d.R) * w) >> 8), d.G + (((c.G - d.G) * w) >> 8),
                     d.B + (((c.B - d.B) * w) >> 8)};
        }
        if constexpr (Bpp == 1) {
            dst[0] = GrayOf(std::uint8_t(r.R), std::uint8_t(r.G), std::uint8_t(r.B));
        } else {
            dst[0] = std::uint8_t(r.B);
            dst[1] = std::uint8_t(r.G);
            dst[2] = std::uint8_t(r.R);
            if constexpr (Bpp == 4) dst[3] = 0xFF;
        }
    }
}

using TBlendRow = void (*)(std::uint8_t*, const std::uint8_t*, const std::uint8_t*, int, int, TRGB,
                           TRGB);

template <bool Solid, bool Fore>
TBlendRow PickFor(int bpp) {
    return bpp == 1   ? BlendRow<1, Solid, Fore>
           : bpp == 3 ? BlendRow<3, Solid, Fore>
                      : BlendRow<4, Solid, Fore>;
}

TBlendRow Pick(int bpp, bool solid, bool fore) {
    if (solid) return fore ? PickFor<true, true>(bpp) : PickFor<true, false>(bpp);
    return fore ? PickFor<false, true>(bpp) : PickFor<false, false>(bpp);
}

}  // namespace

void TAABlend::Assign(const TAABlend& source) {
    if (&source != this) foreBmp_ = source.foreBmp_;
}

void TAABlend::Blend(int x, int y, const TAAMask& mask, int alpha, TColor color) {
    Lay(x, y, mask, alpha, color, nullptr);
}

void TAABlend::BlendEx(int x, int y, const TAAMask& mask, int alpha) {
    if (foreBmp_.PixelFormat() != pf24bit || foreBmp_.Width() != mask.Width() ||
        foreBmp_.Height() != mask.Height())
        throw EInvalidForeBmp();
    Lay(x, y, mask, alpha, clBlack, &foreBmp_);
}

void TAABlend::Lay(int x, int y, const TAAMask& mask, int alpha, TColor color,
                   const TBitmap* fore) {
    TCanvas* canvas = font_ ? font_->Canvas() : nullptr;
    if (!canvas || mask.Width() == 0 || mask.Height() == 0) return;
    // Opacity beyond 0..100 is out of range; it is held there rather than wrapping around.
    const int a256 = std::clamp(alpha, 0, 100) * 256 / 100;
    TBitmap& target = canvas->Bitmap();
    const bool solid = canvas->Brush.Style == TBrush::bsSolid;
    const TBlendRow row = Pick(target.BytesPerPixel(), solid, fore != nullptr);
    const TRGB c = Channels(color), brush = Channels(canvas->Brush.Color);
    // Far-off positions lie outside every bitmap; the sums must not wrap around first.
    auto edge = [](int from, int size) {
        return static_cast<int>(std::min<std::int64_t>(std::int64_t(from) + size, INT32_MAX));
    };
    const TRect area{x, y, edge(x, mask.Width()), edge(y, mask.Height())};
    for (const TRect& part : canvas->VisibleParts(area)) {
        const int bpp = target.BytesPerPixel();
        for (int ty = part.Top; ty < part.Bottom; ++ty) {
            const std::uint8_t* foreRow =
                fore ? fore->ScanLine(ty - y) + 3 * (part.Left - x) : nullptr;
            row(target.ScanLine(ty) + part.Left * bpp, mask.ScanLine(ty - y) + (part.Left - x),
                foreRow, part.Right - part.Left, a256, c, brush);
        }
    }
}

}  // namespace pelwick
