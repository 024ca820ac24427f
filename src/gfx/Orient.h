#pragma once

#include "gfx/Bitmap.h"

namespace pelwick {

// A 24-bit picture turned upright from how a camera stored it, by the Exif orientation:
// 1 as it is, 2 mirrored, 3 turned half round, 4 flipped, 5 mirrored and turned a quarter to
// the left... (the eight Exif values); anything else leaves it as it is.
TBitmap Oriented(TBitmap picture, int orientation);

}  // namespace pelwick
