#pragma once

#include <QRegion>
#include <vector>

#include "app/Geometry.h"

namespace pelwick {

// A set of pixels built from rectangles, rounded rectangles, ellipses and polygons, as the
// drawing code selects it for clipping. Coordinates follow TRect: right and bottom exclusive.
class TRegion {
  public:
    enum TPolyFillMode { pfmAlternate, pfmWinding };

    TRegion() = default;
    static TRegion Rect(const TRect& r);
    static TRegion RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight);
    static TRegion Ellipse(const TRect& r);
    static TRegion Polygon(const std::vector<TPoint>& points, TPolyFillMode mode = pfmWinding);
    // The union of rectangles that may overlap, in one step (no union per rectangle);
    // empty ones add nothing.
    static TRegion FromRects(const std::vector<TRect>& rects);
    // The intersection of the unions of two such lists, without making either union.
    static TRegion IntersectionOfRects(const std::vector<TRect>& a, const std::vector<TRect>& b);

    bool Empty() const { return region_.isEmpty(); }
    bool Contains(int x, int y) const { return region_.contains(QPoint(x, y)); }
    TRect Bounds() const;
    // The region as disjoint rectangles, top to bottom, left to right.
    std::vector<TRect> Rects() const;

    TRegion United(const TRegion& other) const { return TRegion(region_.united(other.region_)); }
    TRegion Intersected(const TRegion& other) const {
        return TRegion(region_.intersected(other.region_));
    }
    TRegion Xored(const TRegion& other) const { return TRegion(region_.xored(other.region_)); }
    TRegion Subtracted(const TRegion& other) const {
        return TRegion(region_.subtracted(other.region_));
    }
    TRegion Translated(int dx, int dy) const { return TRegion(region_.translated(dx, dy)); }

    const QRegion& AsQRegion() const { return region_; }
    friend bool operator==(const TRegion& a, const TRegion& b) { return a.region_ == b.region_; }

  private:
    friend class TRectRegion;  // makes its regions from bands it has swept
    explicit TRegion(QRegion region) : region_(std::move(region)) {}
    QRegion region_;
};

}  // namespace pelwick
