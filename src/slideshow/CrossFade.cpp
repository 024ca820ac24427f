#include "slideshow/CrossFade.h"

#include <algorithm>

#include "gfx/Simd.h"

namespace pelwick {

// The formula stays exactly the integer one; the speed comes from a loop the compiler can
// vectorise (16-bit lanes; the division by the constant 100 becomes a multiply) and, on
// x86-64, from an AVX2 version chosen at run time.

PELWICK_CLONES
void CrossFadeBytes(std::uint8_t* dst, const std::uint8_t* old, const std::uint8_t* now,
                    std::size_t count, unsigned p) {
    const std::uint16_t a = static_cast<std::uint16_t>(100 - p), b = static_cast<std::uint16_t>(p);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t o = static_cast<std::uint16_t>(old[i] * a);
        const std::uint16_t n = static_cast<std::uint16_t>(now[i] * b);
        dst[i] = static_cast<std::uint8_t>(o / 100 + n / 100);
    }
}

void CrossFade(TBitmap& screen, const TBitmap& old, const TBitmap& now, unsigned p) {
    if (p > 100) p = 100;
    const int h = std::min({screen.Height(), old.Height(), now.Height()});
    const int w = std::min({screen.Width(), old.Width(), now.Width()});
    if (w <= 0 || h <= 0) return;
    const bool sameShape = screen.PixelFormat() == old.PixelFormat() &&
                           screen.PixelFormat() == now.PixelFormat() &&
                           screen.Stride() == old.Stride() && screen.Stride() == now.Stride();
    if (sameShape && w == screen.Width() && screen.PixelFormat() != pf32bit) {
        // One pass over all rows, padding included: the rows are contiguous.
        CrossFadeBytes(screen.Bits(), old.Bits(), now.Bits(),
                       static_cast<std::size_t>(screen.Stride()) * h, p);
        return;
    }
    if (screen.PixelFormat() != old.PixelFormat() || screen.PixelFormat() != now.PixelFormat())
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * screen.BytesPerPixel();
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = screen.ScanLine(y);
        CrossFadeBytes(row, old.ScanLine(y), now.ScanLine(y), rowBytes, p);
        if (screen.PixelFormat() == pf32bit)  // the unused byte stays opaque for Qt
            for (int x = 0; x < w; ++x)
                row[4 * x + 3] = 0xFF;
    }
}

}  // namespace pelwick
