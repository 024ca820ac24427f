#include "gfx/ComplexRegion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gfx/Rounding.h"

namespace pelwick {

namespace {

// Smallest integer not below a / b, and greatest not above it, for b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return q + ((a % b != 0 && a > 0) ? 1 : 0);
}
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return q - ((a % b != 0 && a < 0) ? 1 : 0);
}

// One polygon edge that is not horizontal, from its upper end y0 to its lower end y1;
// direction +1 when the polygon runs down along it, -1 when up. It crosses the centre lines
// y + 1/2 of the rows y0 .. y1 - 1; x is the first pixel whose centre lies at or right of the
// crossing on the current row, ceil(crossing - 1/2). As a fraction that is ceil(n / d) with
// n = 2 x0 dy + (2y + 1 - 2 y0) dx - dy and d = 2 dy, and n grows by 2 dx a row: the walk
// keeps x and the slack x d - n (0 <= slack < d) and steps them exactly, without dividing.
struct TEdge {
    int y0, y1, direction;
    std::int64_t x, slack, d, stepX, stepSlack;

    TEdge(std::int64_t x0, int top, std::int64_t x1, int bottom, int dir)
        : y0(top), y1(bottom), direction(dir) {
        const std::int64_t dx = x1 - x0, dy = bottom - top;
        const std::int64_t n = 2 * x0 * dy + dx - dy;
        d = 2 * dy;
        x = CeilDiv(n, d);
        slack = x * d - n;
        stepX = FloorDiv(2 * dx, d);
        stepSlack = 2 * dx - stepX * d;
    }

    void Step() {
        x += stepX;
        slack -= stepSlack;
        if (slack < 0) slack += d, ++x;
    }
};

struct TCrossing {
    int x;
    int direction;
};

}  // namespace

void TComplexRegion::AddRect(int left, int top, int right, int bottom) {
    if (rects_.size() == rects_.capacity()) rects_.reserve(rects_.capacity() + Growth);
    rects_.push_back(TRect{left, top, right, bottom});
    bounds_.Left = std::min(bounds_.Left, left);
    bounds_.Top = std::min(bounds_.Top, top);
    bounds_.Right = std::max(bounds_.Right, right);
    bounds_.Bottom = std::max(bounds_.Bottom, bottom);
}

void TComplexRegion::AddPolygon(const std::vector<TPoint>& points) {
    if (points.size() < 3) return;
    std::vector<TEdge> edges;
    edges.reserve(points.size());
    int minY = points[0].Y, maxY = points[0].Y;
    for (size_t i = 0; i < points.size(); ++i) {
        const TPoint& a = points[i];
        const TPoint& b = points[(i + 1) % points.size()];
        minY = std::min(minY, a.Y);
        maxY = std::max(maxY, a.Y);
        if (a.Y < b.Y)
            edges.emplace_back(a.X, a.Y, b.X, b.Y, 1);
        else if (a.Y > b.Y)
            edges.emplace_back(b.X, b.Y, a.X, a.Y, -1);
    }
    std::vector<TCrossing> crossings;
    for (int y = minY; y < maxY; ++y) {
        // An edge from y0 to y1 crosses the centre lines of the rows y0 .. y1 - 1.
        crossings.clear();
        for (TEdge& e : edges)
            if (e.y0 <= y && y < e.y1) {
                crossings.push_back(TCrossing{static_cast<int>(e.x), e.direction});
                e.Step();
            }
        std::sort(crossings.begin(), crossings.end(),
                  [](const TCrossing& a, const TCrossing& b) { return a.x < b.x; });
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].direction;
            if (winding != 0 && crossings[i + 1].x > crossings[i].x)
                AddRect(crossings[i].x, y, crossings[i + 1].x, y + 1);
        }
    }
}

void TComplexRegion::Clear() {
    std::vector<TRect>().swap(rects_);
    bounds_ = NoBounds;
}

std::vector<TRect> TComplexRegion::TakeRects() {
    std::vector<TRect> rects = std::move(rects_);
    Clear();
    return rects;
}

std::optional<TRegion> TComplexRegion::CreateRegion() const {
    if (rects_.empty()) return std::nullopt;
    return TRegion::FromRects(rects_);
}

TRegion PolygonRegion(const std::vector<TPoint>& points) {
    TComplexRegion rows;
    rows.AddPolygon(points);
    return rows.CreateRegion().value_or(TRegion());
}

TRegion TriangleRegion(int x1, int y1, int x2, int y2, int x3, int y3) {
    return PolygonRegion({{x1, y1}, {x2, y2}, {x3, y3}});
}

TRegion PieRegion(int cx, int cy, int r, int n, double a0, double a1) {
    if (n <= 0) return TRegion();
    std::vector<TPoint> points{{cx, cy}};
    const double d = (a1 - a0) / n;
    for (int i = 0; i < n; ++i) {
        const double a = a0 + i * d;
        points.push_back(TPoint{cx + Round(r * std::cos(a)), cy + Round(r * std::sin(a))});
    }
    return PolygonRegion(points);
}

void RotatePoints(std::vector<TPoint>& points, int cx, int cy, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    for (TPoint& p : points) {
        const double dx = p.X - cx, dy = p.Y - cy;
        p = TPoint{cx + Round(c * dx - s * dy), cy + Round(s * dx + c * dy)};
    }
}

}  // namespace pelwick
