#include "gfx/Orient.h"

#include <cstring>

namespace pelwick {

namespace {

// Where the pixel at (x, y) of the stored picture (w x h) goes in the upright one.
struct TMap {
    bool swap;     // the upright picture is h x w
    bool mirrorX;  // x counted from the right (before any swap)
    bool mirrorY;  // y counted from the bottom
};

TMap MapOf(int orientation) {
    switch (orientation) {
        case 2:
            return {false, true, false};
        case 3:
            return {false, true, true};
        case 4:
            return {false, false, true};
        case 5:
            return {true, false, false};
        case 6:
            return {true, false, true};
        case 7:
            return {true, true, true};
        case 8:
            return {true, true, false};
        default:
            return {false, false, false};
    }
}

}  // namespace

TBitmap Oriented(TBitmap picture, int orientation) {
    if (orientation < 2 || orientation > 8 || picture.PixelFormat() != pf24bit) return picture;
    const TMap m = MapOf(orientation);
    const int w = picture.Width(), h = picture.Height();
    TBitmap out = TBitmap::Uninitialized(m.swap ? h : w, m.swap ? w : h, pf24bit);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = picture.ScanLine(y);
        const int yy = m.mirrorY ? h - 1 - y : y;
        if (!m.swap) {
            std::uint8_t* d = out.ScanLine(yy);
            if (!m.mirrorX) {
                std::memcpy(d, s, static_cast<std::size_t>(w) * 3);
            } else {
                for (int x = 0; x < w; ++x)
                    std::memcpy(d + 3 * (w - 1 - x), s + 3 * x, 3);
            }
            continue;
        }
        // Stored row y becomes upright column yy; stored column x becomes upright row xx.
        for (int x = 0; x < w; ++x) {
            const int xx = m.mirrorX ? w - 1 - x : x;
            std::memcpy(out.ScanLine(xx) + 3 * yy, s + 3 * x, 3);
        }
    }
    // Rows are padded to whole words; the padding stays zero.
    for (int y = 0; y < out.Height(); ++y) {
        std::uint8_t* row = out.ScanLine(y);
        const int used = out.Width() * 3;
        std::memset(row + used, 0, static_cast<std::size_t>(out.Stride() - used));
    }
    return out;
}

}  // namespace pelwick
