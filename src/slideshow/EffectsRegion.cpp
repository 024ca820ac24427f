// The named effects drawn through a region: random squares, blinds and shreds, sweeps,
// turning shapes and the triangles and diamonds of the V reveals, bow ties, crosses and
// zigzags. Patterns of many rectangles or polygons are gathered in one TComplexRegion and
// made into a region once.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "gfx/Rounding.h"
#include "slideshow/EffectsSupport.h"
#include "slideshow/Styles.h"

namespace pelwick {

namespace {

using TPoints = std::vector<TPoint>;
using TMaybeRegion = std::optional<TRegion>;

// Square cells, columns outer and rows inner; a cell is taken while its fixed number is
// below P, so every cell once shown stays.
TMaybeRegion RandomSquares(TFrame& f) {
    const int s = (std::min(f.W, f.H) / 50) * 2 + 2;
    const int columns = (f.W + s - 1) / s, rows = (f.H + s - 1) / s;
    TFixedPattern local;
    const std::vector<std::uint8_t>& chance = FixedPattern(
        f, local, plSquareCells, [&](TRandomSequence& random, std::vector<std::uint8_t>& out) {
            out.resize(static_cast<size_t>(columns) * rows);
            for (std::uint8_t& c : out)
                c = static_cast<std::uint8_t>(random.Next(100));
        });
    TComplexRegion rects;
    size_t i = 0;
    for (int x = 0; x < f.W; x += s)
        for (int y = 0; y < f.H; y += s)
            if (chance[i++] < f.P) rects.AddRect(x, y, x + s, y + s);
    return rects.CreateRegion();
}

// Strips of width a every step from one side: from the left or top they start at 0, 1
// step, ...; from the right or bottom they end at the far side, one step less, ...
void AddStrips(TComplexRegion& rects, const TFrame& f, bool across, bool fromFar, int step, int a) {
    const int length = across ? f.W : f.H;
    auto add = [&](int from, int to) {
        if (across)
            rects.AddRect(from, 0, to, f.H);
        else
            rects.AddRect(0, from, f.W, to);
    };
    if (fromFar) {
        for (int t = length; t > 0; t -= step)
            add(t - a, t);
    } else {
        for (int t = 0; t < length; t += step)
            add(t, t + a);
    }
}

// The pixel rows of the circle of radius r about the pixel corner (cx, cy): the pixels whose
// centres it holds, one rectangle a row.
void AddCircle(TComplexRegion& rects, int cx, int cy, int r) {
    const double r2 = double(r) * r;
    for (int y = cy - r; y < cy + r; ++y) {
        const double dy = y + 0.5 - cy;
        if (dy * dy >= r2) continue;
        const double half = std::sqrt(r2 - dy * dy);
        const int left = static_cast<int>(std::ceil(cx - half - 0.5));
        const int right = static_cast<int>(std::floor(cx + half - 0.5)) + 1;
        rects.AddRect(left, y, right, y + 1);
    }
}

// The angle of the turning shapes grows with P, one way or the other by the transition's
// seed.
double TurnAngle(const TFrame& f) {
    const double a = f.P * std::numbers::pi / 50;
    return (f.Seed & 1u) ? -a : a;
}

// The X x Y rectangle centred in the picture.
TPoints CentredRect(const TFrame& f) {
    const int cx = f.W / 2, cy = f.H / 2, x = f.X / 2, y = f.Y / 2;
    return {{cx - x, cy - y}, {cx + x, cy - y}, {cx + x, cy + y}, {cx - x, cy + y}};
}

// A triangle standing on the middle of an edge, as wide as twice the extent along that
// edge, its tip depth in from it.
TPoints Wedge(const TFrame& f, bool down, bool fromFar, int depth) {
    const int hw = f.W / 2, hh = f.H / 2;
    if (down) {
        const int y = fromFar ? f.H : 0, tip = fromFar ? f.H - depth : depth;
        return {{hw - f.X, y}, {hw, tip}, {hw + f.X, y}};
    }
    const int x = fromFar ? f.W : 0, tip = fromFar ? f.W - depth : depth;
    return {{x, hh - f.Y}, {tip, hh}, {x, hh + f.Y}};
}

// The four triangles from the middles of the edges inward, x and y deep.
void AddCross(TComplexRegion& rects, const TFrame& f, int x, int y) {
    const int W = f.W, H = f.H, hw = W / 2, hh = H / 2;
    rects.AddPolygon({{0, hh - y}, {x, hh}, {0, hh + y}});
    rects.AddPolygon({{W, hh - y}, {W - x, hh}, {W, hh + y}});
    rects.AddPolygon({{hw - x, 0}, {hw, y}, {hw + x, 0}});
    rects.AddPolygon({{hw - x, H}, {hw, H - y}, {hw + x, H}});
}

TRegion Whole(const TFrame& f) {
    return TRegion::Rect(TRect{0, 0, f.W, f.H});
}

}  // namespace

void RandomSquaresFrame(TFrame& frame, const TStyleParams& /*params*/) {
    ClipAndCopy(frame, RandomSquares(frame));
}

void BlindsFrame(TFrame& frame, const TStyleParams& params) {
    // Slats every 2n, growing from their middles.
    const bool across = params.Orientation == orVertical;
    const int length = across ? frame.W : frame.H;
    const int n = length / 40 + 1, a = MulDiv(n, frame.P, 100);
    TComplexRegion rects;
    for (int t = 0; t < length; t += 2 * n) {
        if (across)
            rects.AddRect(t + n - a, 0, t + n + a, frame.H);
        else
            rects.AddRect(0, t + n - a, frame.W, t + n + a);
    }
    ClipAndCopy(frame, rects);
}

void UnevenBlindsFrame(TFrame& frame, const TStyleParams& params) {
    // Strips as wide as the progress of the extent, every extent.
    const TAlong a(frame, params);
    if (a.E <= 0) return;
    TComplexRegion rects;
    AddStrips(rects, frame, !a.Down, a.Far, a.E, MulDiv(a.E, frame.P, 100));
    ClipAndCopy(frame, rects);
}

void SquareShredFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const int n = std::min(frame.W, frame.H) / 10 + 1, a = MulDiv(n, frame.P, 100);
    TComplexRegion rects;
    for (int x = 0; x < frame.W; x += 2 * n)
        for (int y = 0; y < frame.H; y += 2 * n)
            rects.AddRect(x + n - a, y + n - a, x + n + a, y + n + a);
    ClipAndCopy(frame, rects);
}

void CircleShredFrame(TFrame& frame, const TStyleParams& /*params*/) {
    // Circles of radius b about the middles of cells 2n wide.
    const int n = std::min(frame.W, frame.H) / 10 + 1, b = MulDiv(3 * n, frame.P, 200);
    TComplexRegion rects;
    for (int x = 0; x < frame.W; x += 2 * n)
        for (int y = 0; y < frame.H; y += 2 * n)
            AddCircle(rects, x + n, y + n, b);
    ClipAndCopy(frame, rects);
}

// Every diamond is one polygon moved by whole pixels, so its rows are found once. A row of
// the frame joins the rows that the diamonds above and below it put there, the same for
// every column of diamonds, and runs that meet are merged; rows alike make one band. The
// compose takes the bands as they come, where a polygon each gave thousands of
// overlapping rows to sort out.
void DiamondShredFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const int cell = std::min(frame.W, frame.H) / 10 + 1, b = MulDiv(cell, frame.P, 50);
    if (b <= 0) return;
    TComplexRegion one;
    one.AddPolygon({{-b, 0}, {0, -b}, {b, 0}, {0, b}});
    // The diamond's rows by their distance from its middle, -b .. b - 1 at 0 .. 2b - 1.
    std::vector<TRectRegion::TSpans> shape(static_cast<size_t>(b) * 2);
    for (const TRect& r : one.Rects())
        for (int y = std::max(r.Top, -b); y < std::min(r.Bottom, b); ++y) {
            const int at = y + b;
            shape[static_cast<size_t>(at)].emplace_back(r.Left, r.Right);
        }
    const auto runsOfRow = [&](int y, TRectRegion::TSpans& runs) {
        runs.clear();
        for (int j = std::max(0, (y - b - cell) / (2 * cell) - 1); 2 * j * cell < frame.H; ++j) {
            const int dy = y - (2 * j + 1) * cell;
            if (dy < -b) break;
            if (dy < b) {
                const int at = dy + b;
                const TRectRegion::TSpans& part = shape[static_cast<size_t>(at)];
                runs.insert(runs.end(), part.begin(), part.end());
            }
        }
        std::sort(runs.begin(), runs.end());
    };
    const auto spansOfRow = [&](const TRectRegion::TSpans& runs, TRectRegion::TSpans& row) {
        row.clear();
        for (int i = 0; 2 * i * cell < frame.W; ++i)
            for (const auto& [l, r] : runs) {
                const int x = (2 * i + 1) * cell;
                if (!row.empty() && x + l <= row.back().second)
                    row.back().second = std::max(row.back().second, x + r);
                else
                    row.emplace_back(x + l, x + r);
            }
    };
    ClipAndCopy(frame, [&](const TRectRegion::TBandVisitor& visit) {
        TRectRegion::TSpans runs, row, band;
        int top = 0;
        for (int y = -b; y <= frame.H + b; ++y) {
            row.clear();
            if (y < frame.H + b) {
                runsOfRow(y, runs);
                spansOfRow(runs, row);
            }
            if (row == band) continue;
            if (!band.empty()) visit(top, y, band);
            band.swap(row);
            top = y;
        }
    });
}

void SweepFrame(TFrame& frame, const TStyleParams& params) {
    // A pie from twelve o'clock.
    const int hw = frame.W / 2, hh = frame.H / 2;
    const int r = static_cast<int>(std::ceil(std::sqrt(double(hw) * hw + double(hh) * hh)));
    const double start = -std::numbers::pi / 2, turn = frame.P * std::numbers::pi / 50;
    ClipAndCopy(frame, PieRegion(hw, hh, r, frame.P, start,
                                 params.Clockwise ? start + turn : start - turn));
}

void BandsFrame(TFrame& frame, const TStyleParams& params) {
    // Bands every 3n across the strips of the uneven blinds.
    const TAlong a(frame, params);
    const int n = a.Span / 20;
    if (a.E <= 0 || n <= 0) return;
    const int half = MulDiv(n, frame.P, 100);
    TComplexRegion rects;
    for (int t = -n; t < a.Span; t += 3 * n) {
        if (a.Down)
            rects.AddRect(t - half, 0, t + half, frame.H);
        else
            rects.AddRect(0, t - half, frame.W, t + half);
    }
    AddStrips(rects, frame, !a.Down, a.Far, a.E, MulDiv(a.E, frame.P, 100));
    ClipAndCopy(frame, rects);
}

void TurningRectFrame(TFrame& frame, const TStyleParams& /*params*/) {
    TPoints points = CentredRect(frame);
    RotatePoints(points, frame.W / 2, frame.H / 2, TurnAngle(frame));
    ClipAndCopy(frame, PolygonRegion(points));
}

void TurningStarFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const int cx = frame.W / 2, cy = frame.H / 2, X = frame.X, Y = frame.Y, x = X / 2, y = Y / 2;
    TPoints points = {{cx - 2 * X, cy}, {cx - x, cy - y}, {cx, cy - 2 * Y}, {cx + x, cy - y},
                      {cx + 2 * X, cy}, {cx + x, cy + y}, {cx, cy + 2 * Y}, {cx - x, cy + y}};
    RotatePoints(points, cx, cy, TurnAngle(frame));
    ClipAndCopy(frame, PolygonRegion(points));
}

void SpiralRectFrame(TFrame& frame, const TStyleParams& /*params*/) {
    // The turning rectangle, turned about the point (X, Y) instead of its centre.
    TPoints points = CentredRect(frame);
    RotatePoints(points, frame.X, frame.Y, TurnAngle(frame));
    ClipAndCopy(frame, PolygonRegion(points));
}

void VFrame(TFrame& frame, const TStyleParams& params) {
    const TAlong a(frame, params);
    ClipAndCopy(frame, PolygonRegion(Wedge(frame, a.Down, a.Far, 2 * a.E)));
}

void BowTieFrame(TFrame& frame, const TStyleParams& params) {
    const TAlong a(frame, params);
    const int depth = params.Reach * a.E;
    TComplexRegion rects;
    rects.AddPolygon(Wedge(frame, a.Down, false, depth));
    rects.AddPolygon(Wedge(frame, a.Down, true, depth));
    ClipAndCopy(frame, rects);
}

void CrossFrame(TFrame& frame, const TStyleParams& params) {
    TComplexRegion rects;
    if (params.Inward) {
        AddCross(rects, frame, frame.X / 2, frame.Y / 2);
        ClipAndCopy(frame, rects);
        return;
    }
    // The picture but for the triangles, which shrink back to the edges.
    AddCross(rects, frame, (frame.W - frame.X) / 2, (frame.H - frame.Y) / 2);
    ClipAndCopy(frame, Whole(frame).Xored(rects.CreateRegion().value_or(TRegion())));
}

void ZigzagFrame(TFrame& frame, const TStyleParams& params) {
    // A band around the middle with zigzag edges, eleven teeth long; points are given along
    // the band (a) and across it (b).
    const bool horizontal = params.Orientation == orHorizontal;
    const int length = horizontal ? frame.W : frame.H, span = horizontal ? frame.H : frame.W;
    const int s = length / 10, n = span / 10, d = span / 2;
    const int c = MulDiv(n, frame.P, 100) + (horizontal ? frame.Y : frame.X) / 2;
    TPoints points;
    auto add = [&](int a, int b) { points.push_back(horizontal ? TPoint{a, b} : TPoint{b, a}); };
    for (int k = 0; k <= 11; ++k)
        add(k * s, k % 2 == 0 ? d + n - c : d - n - c);
    for (int k = 11; k >= 0; --k)
        add(k * s, k % 2 == 0 ? d + n + c : d + c - n);
    ClipAndCopy(frame, PolygonRegion(points));
}

void DiamondFrame(TFrame& frame, const TStyleParams& params) {
    const int X = frame.X, Y = frame.Y, hw = frame.W / 2, hh = frame.H / 2;
    if (!params.Inward) {
        ClipAndCopy(frame, PolygonRegion({{hw - X, hh}, {hw, hh - Y}, {hw + X, hh}, {hw, hh + Y}}));
        return;
    }
    // The picture but for a diamond that shrinks to nothing about the centre.
    ClipAndCopy(frame, Whole(frame).Xored(PolygonRegion(
                           {{X - hw, hh}, {hw, Y - hh}, {3 * hw - X, hh}, {hw, 3 * hh - Y}})));
}

void DiagonalBoxFrame(TFrame& frame, const TStyleParams& /*params*/) {
    // Between two diamonds about the centre: the outer one grows, the inner one shrinks.
    const int hw = frame.W / 2, hh = frame.H / 2, x = frame.X / 2, y = frame.Y / 2;
    ClipAndCopy(frame,
                PolygonRegion({{-x, hh}, {hw, -y}, {2 * hw + x, hh}, {hw, 2 * hh + y}})
                    .Xored(PolygonRegion({{x, hh}, {hw, y}, {2 * hw - x, hh}, {hw, 2 * hh - y}})));
}

}  // namespace pelwick
