// The named effects drawn through a region: random squares (128), blinds and shreds
// (137..149, 153, 164), sweeps (144, 145), turning shapes (150..152) and the triangles and
// diamonds of the V reveals, bow ties, crosses and zigzags (154..167). Patterns of many
// rectangles or polygons are gathered in one TComplexRegion and made into a region once.
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

// 128: square cells, columns outer and rows inner; a cell is taken while its fixed number
// is below P, so every cell once shown stays.
TMaybeRegion RandomSquares(TFrame& f) {
    const int s = (std::min(f.W, f.H) / 50) * 2 + 2;
    const int columns = (f.W + s - 1) / s, rows = (f.H + s - 1) / s;
    TFixedPattern local;
    const std::vector<std::uint8_t>& chance =
        FixedPattern(f, local, [&](TRandomSequence& random, std::vector<std::uint8_t>& out) {
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

// 137, 138: slats every 2n growing from their middles.
TMaybeRegion Blinds(const TFrame& f) {
    const bool across = f.Style == 137;
    const int n = (across ? f.W : f.H) / 40 + 1, a = MulDiv(n, f.P, 100);
    TComplexRegion rects;
    for (int t = 0; t < (across ? f.W : f.H); t += 2 * n) {
        if (across)
            rects.AddRect(t + n - a, 0, t + n + a, f.H);
        else
            rects.AddRect(0, t + n - a, f.W, t + n + a);
    }
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

// 139..142: strips as wide as the progress of the extent, every extent.
TMaybeRegion UnevenBlinds(const TFrame& f) {
    const bool across = f.Style <= 140, fromFar = f.Style == 140 || f.Style == 142;
    const int step = across ? f.X : f.Y;
    if (step <= 0) return std::nullopt;
    TComplexRegion rects;
    AddStrips(rects, f, across, fromFar, step, MulDiv(step, f.P, 100));
    return rects.CreateRegion();
}

// 146..149: bands every 3n across the strips of the uneven blinds.
TMaybeRegion BandsAndStrips(const TFrame& f) {
    const bool stripsAcross = f.Style <= 147, fromFar = f.Style == 147 || f.Style == 149;
    const int step = stripsAcross ? f.X : f.Y, n = (stripsAcross ? f.H : f.W) / 20;
    if (step <= 0 || n <= 0) return std::nullopt;
    const int a = MulDiv(n, f.P, 100);
    TComplexRegion rects;
    for (int t = -n; t < (stripsAcross ? f.H : f.W); t += 3 * n) {
        if (stripsAcross)
            rects.AddRect(0, t - a, f.W, t + a);
        else
            rects.AddRect(t - a, 0, t + a, f.H);
    }
    AddStrips(rects, f, stripsAcross, fromFar, step, MulDiv(step, f.P, 100));
    return rects.CreateRegion();
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

// 143, 153, 164: a shape on every cell of a grid, growing with P.
TMaybeRegion Shreds(const TFrame& f) {
    const int m = std::min(f.W, f.H);
    TComplexRegion rects;
    if (f.Style == 164) {
        const int cell = m / 10 + 1, b = MulDiv(cell, f.P, 50);
        for (int i = 0; 2 * i * cell < f.W; ++i)
            for (int j = 0; 2 * j * cell < f.H; ++j) {
                const int x = (2 * i + 1) * cell, y = (2 * j + 1) * cell;
                rects.AddPolygon({{x - b, y}, {x, y - b}, {x + b, y}, {x, y + b}});
            }
        return rects.CreateRegion();
    }
    const int n = m / 10 + 1;
    if (f.Style == 143) {
        const int a = MulDiv(n, f.P, 100);
        for (int x = 0; x < f.W; x += 2 * n)
            for (int y = 0; y < f.H; y += 2 * n)
                rects.AddRect(x + n - a, y + n - a, x + n + a, y + n + a);
        return rects.CreateRegion();
    }
    // 153: circles of radius b about (x + n, y + n).
    const int b = MulDiv(3 * n, f.P, 200);
    for (int x = 0; x < f.W; x += 2 * n)
        for (int y = 0; y < f.H; y += 2 * n)
            AddCircle(rects, x + n, y + n, b);
    return rects.CreateRegion();
}

// 144, 145: a pie from twelve o'clock, clockwise or anticlockwise.
TMaybeRegion Sweep(const TFrame& f) {
    const int hw = f.W / 2, hh = f.H / 2;
    const int r = static_cast<int>(std::ceil(std::sqrt(double(hw) * hw + double(hh) * hh)));
    const double start = -std::numbers::pi / 2, turn = f.P * std::numbers::pi / 50;
    return PieRegion(hw, hh, r, f.P, start, f.Style == 144 ? start + turn : start - turn);
}

// 150..152: the angle turns with P, one way or the other by the transition's seed.
double TurnAngle(const TFrame& f) {
    const double a = f.P * std::numbers::pi / 50;
    return (f.Seed & 1u) ? -a : a;
}

TMaybeRegion Turning(const TFrame& f) {
    const int cx = f.W / 2, cy = f.H / 2, x = f.X / 2, y = f.Y / 2;
    TPoints points;
    if (f.Style == 151)
        points = {{cx - 2 * f.X, cy}, {cx - x, cy - y}, {cx, cy - 2 * f.Y}, {cx + x, cy - y},
                  {cx + 2 * f.X, cy}, {cx + x, cy + y}, {cx, cy + 2 * f.Y}, {cx - x, cy + y}};
    else
        points = {{cx - x, cy - y}, {cx + x, cy - y}, {cx + x, cy + y}, {cx - x, cy + y}};
    if (f.Style == 152)
        RotatePoints(points, f.X, f.Y, TurnAngle(f));
    else
        RotatePoints(points, cx, cy, TurnAngle(f));
    return PolygonRegion(points);
}

// The four triangles from the middles of the edges inward, x and y deep.
void AddCross(TComplexRegion& rects, const TFrame& f, int x, int y) {
    const int W = f.W, H = f.H, hw = W / 2, hh = H / 2;
    rects.AddPolygon({{0, hh - y}, {x, hh}, {0, hh + y}});
    rects.AddPolygon({{W, hh - y}, {W - x, hh}, {W, hh + y}});
    rects.AddPolygon({{hw - x, 0}, {hw, y}, {hw + x, 0}});
    rects.AddPolygon({{hw - x, H}, {hw, H - y}, {hw + x, H}});
}

// 162, 163: a band around the middle with zigzag edges, eleven teeth long; points are
// given along the band (a) and across it (b).
TMaybeRegion Zigzag(const TFrame& f) {
    const bool horizontal = f.Style == 162;
    const int s = (horizontal ? f.W : f.H) / 10, n = (horizontal ? f.H : f.W) / 10;
    const int c = MulDiv(n, f.P, 100) + (horizontal ? f.Y : f.X) / 2;
    const int d = (horizontal ? f.H : f.W) / 2;
    TPoints points;
    auto add = [&](int a, int b) { points.push_back(horizontal ? TPoint{a, b} : TPoint{b, a}); };
    for (int k = 0; k <= 11; ++k)
        add(k * s, k % 2 == 0 ? d + n - c : d - n - c);
    for (int k = 11; k >= 0; --k)
        add(k * s, k % 2 == 0 ? d + n + c : d + c - n);
    return PolygonRegion(points);
}

TRegion Whole(const TFrame& f) {
    return TRegion::Rect(TRect{0, 0, f.W, f.H});
}

// 154..161, 165..167: triangles and diamonds.
TMaybeRegion Shapes(const TFrame& f) {
    const int W = f.W, H = f.H, X = f.X, Y = f.Y, hw = W / 2, hh = H / 2;
    TComplexRegion rects;
    switch (f.Style) {
        case 154:
            return PolygonRegion({{0, hh - Y}, {2 * X, hh}, {0, hh + Y}});
        case 155:
            return PolygonRegion({{W, hh - Y}, {W - 2 * X, hh}, {W, hh + Y}});
        case 156:
            return PolygonRegion({{hw - X, 0}, {hw, 2 * Y}, {hw + X, 0}});
        case 157:
            return PolygonRegion({{hw - X, H}, {hw, H - 2 * Y}, {hw + X, H}});
        case 158:
            rects.AddPolygon({{0, hh - Y}, {X, hh}, {0, hh + Y}});
            rects.AddPolygon({{W, hh - Y}, {W - X, hh}, {W, hh + Y}});
            return rects.CreateRegion();
        case 159:
            rects.AddPolygon({{hw - X, 0}, {hw, 2 * Y}, {hw + X, 0}});
            rects.AddPolygon({{hw - X, H}, {hw, H - 2 * Y}, {hw + X, H}});
            return rects.CreateRegion();
        case 160:
            AddCross(rects, f, X / 2, Y / 2);
            return rects.CreateRegion();
        case 161:
            AddCross(rects, f, (W - X) / 2, (H - Y) / 2);
            return Whole(f).Xored(rects.CreateRegion().value_or(TRegion()));
        case 165:
            return PolygonRegion({{hw - X, hh}, {hw, hh - Y}, {hw + X, hh}, {hw, hh + Y}});
        case 166:
            return Whole(f).Xored(
                PolygonRegion({{X - hw, hh}, {hw, Y - hh}, {3 * hw - X, hh}, {hw, 3 * hh - Y}}));
        case 167: {
            const int x = X / 2, y = Y / 2;
            return PolygonRegion({{-x, hh}, {hw, -y}, {2 * hw + x, hh}, {hw, 2 * hh + y}})
                .Xored(PolygonRegion({{x, hh}, {hw, y}, {2 * hw - x, hh}, {hw, 2 * hh - y}}));
        }
        default:
            return std::nullopt;
    }
}

TMaybeRegion EffectRegion(TFrame& f) {
    const int style = f.Style;
    if (style == 128) return RandomSquares(f);
    if (style == 137 || style == 138) return Blinds(f);
    if (style >= 139 && style <= 142) return UnevenBlinds(f);
    if (style == 143 || style == 153 || style == 164) return Shreds(f);
    if (style == 144 || style == 145) return Sweep(f);
    if (style >= 146 && style <= 149) return BandsAndStrips(f);
    if (style >= 150 && style <= 152) return Turning(f);
    if (style == 162 || style == 163) return Zigzag(f);
    return Shapes(f);
}

}  // namespace

void RegionEffectFrame(TFrame& frame, const TStyleParams& /*params*/) {
    ClipAndCopy(frame, EffectRegion(frame));
}

}  // namespace pelwick
