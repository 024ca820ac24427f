#pragma once

#include <string>

#include "gfx/Bitmap.h"

namespace pelwick {

// The bitmap as a bottom-up 24-bit Windows bitmap file.
std::string EncodeBmp(const TBitmap& bitmap);

}  // namespace pelwick
