#pragma once

#include <functional>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/RectRegion.h"
#include "gfx/Region.h"

namespace pelwick {

// Composes dst from two pictures of its size: inside where region covers it, outside
// everywhere else; each pixel is written once. Pictures of another size or format than dst
// are drawn as a copy of outside with inside drawn over it through region.
void ComposeThroughRegion(TBitmap& dst, const TBitmap& outside, const TBitmap& inside,
                          const TRegion& region);
// The same through a region kept as rectangles, composed from its bands as they are swept.
void ComposeThroughRects(TBitmap& dst, const TBitmap& outside, const TBitmap& inside,
                         const TRectRegion& shape);
// The same through a shape that gives its bands itself, as TRectRegion::Bands would: from
// the top, each with its spans sorted and separate.
using TBandSource = std::function<void(const TRectRegion::TBandVisitor& visit)>;
void ComposeThroughBands(TBitmap& dst, const TBitmap& outside, const TBitmap& inside,
                         const TBandSource& bands);
// The rectangles of such a shape's bands.
std::vector<TRect> BandRects(const TBandSource& bands);

}  // namespace pelwick
