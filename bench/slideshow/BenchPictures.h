#pragma once

#include <cstdint>

#include "gfx/Bitmap.h"

namespace pelwick::bench {

// A picture with detail in every channel (gradients and a pattern), different for each seed,
// so that no frame of a benchmark is a copy of constant bytes.
inline TBitmap PatternPicture(int w, int h, int seed) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<std::uint8_t>((x * 255 / w + seed * 40) & 0xFF);
            row[3 * x + 1] = static_cast<std::uint8_t>((y * 255 / h + seed * 90) & 0xFF);
            row[3 * x + 2] = static_cast<std::uint8_t>(((x ^ y) + seed) & 0xFF);
        }
    }
    return b;
}

}  // namespace pelwick::bench
