#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/Bitmap.h"

namespace pelwick {

// dst[i] = old[i] * (100 - p) / 100 + now[i] * p / 100 for count bytes, each quotient
// truncated (p in 0..100). dst may be old itself.
void CrossFadeBytes(std::uint8_t* dst, const std::uint8_t* old, const std::uint8_t* now,
                    std::size_t count, unsigned p);

// The cross-fade of two bitmaps of screen's size and format into screen.
void CrossFade(TBitmap& screen, const TBitmap& old, const TBitmap& now, unsigned p);

}  // namespace pelwick
