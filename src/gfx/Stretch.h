#pragma once

#include "gfx/Bitmap.h"

namespace pelwick {

// Copies source (inside src) onto dest of dst, scaled to dest's size; a dest whose right
// lies left of its left, or bottom above its top, mirrors the picture. Only destination
// pixels inside clip and inside dst are written, so dest may reach beyond the bitmap.
// The source rectangle is cut to src first.
void StretchBitmap(TBitmap& dst, const TRect& dest, const TBitmap& src, const TRect& source,
                   TStretchMode mode, const TRect& clip);

}  // namespace pelwick
