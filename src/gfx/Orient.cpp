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

// The Exif orientations 1..8 (1 and anything else: as stored).
TMap MapOf(int orientation) {
    static constexpr TMap Maps[] = {
        {false, false, false},  // 1: upright
        {false, true, false},   // 2: mirrored left to right
        {false, true, true},    // 3: turned half round
        {false, false, true},   // 4: mirrored top to bottom
        {true, false, false},   // 5: mirrored across the main diagonal
        {true, false, true},    // 6: turned a quarter clockwise to be upright
        {true, true, true},     // 7: mirrored across the other diagonal
        {true, true, false},    // 8: turned a quarter anticlockwise to be upright
    };
    return orientation >= 1 && orientation <= 8 ? Maps[orientation - 1] : Maps[0];
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
