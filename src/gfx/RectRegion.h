#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "app/Geometry.h"
#include "gfx/Region.h"

namespace pelwick {

// A region kept as the rectangles it is made of: the union of one list, or the intersection
// of the unions of two. A transition's frame is composed straight from its bands, so the
// shapes rebuilt for every frame from thousands of rectangles never pass through a TRegion;
// Region() makes one when it is needed.
class TRectRegion {
  public:
    using TSpans = std::vector<std::pair<int, int>>;  // [left, right), sorted and separate
    using TBandVisitor = std::function<void(int top, int bottom, const TSpans& spans)>;

    TRectRegion() = default;
    explicit TRectRegion(std::vector<TRect> rects) : a_(std::move(rects)) {}
    TRectRegion(std::vector<TRect> a, std::vector<TRect> b)
        : a_(std::move(a)), b_(std::move(b)), crossed_(true) {}

    // The region's bands from the top: rows [top, bottom) with their spans; no band is empty.
    void Bands(const TBandVisitor& visit) const;
    TRegion Region() const;

  private:
    std::vector<TRect> a_, b_;
    bool crossed_ = false;
};

}  // namespace pelwick
