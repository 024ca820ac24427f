#pragma once

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "app/Geometry.h"
#include "gfx/Region.h"

namespace pelwick {

// Collects rectangles (and the pixel rows of polygons) and turns them into one region in a
// single step. Regions that are rebuilt every frame from hundreds of thin rectangles are
// made this way: one union per rectangle would cost a region operation each.
class TComplexRegion {
  public:
    // The rectangle list grows by this many at a time.
    static constexpr int Growth = 500;

    // Empty rectangles are kept in the list (they count) but add no pixels.
    void AddRect(int left, int top, int right, int bottom);
    void AddRect(const TRect& r) { AddRect(r.Left, r.Top, r.Right, r.Bottom); }
    // The pixel rows of a closed polygon, filled by the winding rule: a pixel belongs to it
    // when its centre does (a centre on an edge does when the polygon lies right of it).
    void AddPolygon(const std::vector<TPoint>& points);
    // Makes room for this many more rectangles at once, for a caller that knows about how
    // many it adds: the list then grows by Growth again only past them.
    void Reserve(int more) {
        rects_.reserve(rects_.size() + static_cast<size_t>(std::max(more, 0)));
    }
    // Forgets every rectangle and releases the list.
    void Clear();
    // Hands the list over, and forgets it as Clear does.
    std::vector<TRect> TakeRects();

    int Count() const { return static_cast<int>(rects_.size()); }
    int Capacity() const { return static_cast<int>(rects_.capacity()); }
    const std::vector<TRect>& Rects() const { return rects_; }
    // Least left and top, greatest right and bottom of everything added; before anything
    // is added, INT_MAX and -INT_MAX.
    const TRect& Bounds() const { return bounds_; }

    // The region of all rectangles added; none when nothing was added.
    std::optional<TRegion> CreateRegion() const;

  private:
    static constexpr TRect NoBounds{INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
    std::vector<TRect> rects_;
    TRect bounds_ = NoBounds;
};

// A closed polygon's region, winding rule, as TComplexRegion::AddPolygon fills it.
TRegion PolygonRegion(const std::vector<TPoint>& points);
TRegion TriangleRegion(int x1, int y1, int x2, int y2, int x3, int y3);

// The pie polygon of N + 1 points: the centre, then N points on the circle of radius r from
// angle a0 in steps of (a1 - a0) / N (radians, y pointing down, rounded ties to even).
TRegion PieRegion(int cx, int cy, int r, int n, double a0, double a1);

// Turns each point about (cx, cy) by angle (radians), rounding ties to even.
void RotatePoints(std::vector<TPoint>& points, int cx, int cy, double angle);

}  // namespace pelwick
