// The region styles: a region, rebuilt for every frame, through which the completion step
// draws the whole new picture. Shapes made of many rectangles or triangles are gathered in
// one list and made into a region once.
#include <utility>

#include "gfx/Rounding.h"
#include "slideshow/Styles.h"

namespace pelwick {

namespace {

// Where a curved reveal's rounded rectangle lies along an axis of length L whose extent is
// E: from far outside the near edge to twice the extent, from the far edge back by twice
// the extent to far outside, or a little past the picture on both sides.
std::pair<int, int> CurveSpan(TEdge edge, int L, int E) {
    switch (edge) {
        case edNear:
            return {-2 * L, 2 * E};
        case edFar:
            return {L - 2 * E, 3 * L};
        default:
            return {-5, L + 5};
    }
}

// The other edge's bars: from the near edge instead of the far one, and the other way round.
TBarKind Opposite(TBarKind kind) {
    switch (kind) {
        case bkFromFar:
            return bkFromNear;
        case bkFromNear:
            return bkFromFar;
        case bkNearThenFar:
            return bkFarThenNear;
        case bkFarThenNear:
            return bkNearThenFar;
        default:
            return kind;
    }
}

void AddBars(TComplexRegion& rects, const TFrame& f, const TStyleParams& p, TBarKind across,
             TBarKind down) {
    BarsRegion(rects, f.Extents(), p.Reach * f.X, p.Reach * f.Y, across, down, p.Snap ? f.BS : 0);
}

}  // namespace

void CurvedFrame(TFrame& frame, const TStyleParams& params) {
    const auto [left, right] = CurveSpan(params.X, frame.W, frame.X);
    const auto [top, bottom] = CurveSpan(params.Y, frame.H, frame.Y);
    const int ew = params.Corner == cnHeightCircle ? 2 * frame.H : 2 * frame.W;
    const int eh = params.Corner == cnWidthCircle ? 2 * frame.W : 2 * frame.H;
    frame.Region = RoundRectRegion(left, top, right, bottom, ew, eh);
}

void EllipseFrame(TFrame& frame, const TStyleParams& params) {
    const int W = frame.W, H = frame.H, X = frame.X, Y = frame.Y, hw = W / 2, hh = H / 2;
    if (!params.Inward) {
        frame.Region = RoundRectRegion(hw - X, hh - Y, hw + X, hh + Y, (9 * X) / 5, (9 * Y) / 5);
        return;
    }
    // The picture but for an ellipse that shrinks to nothing about the centre.
    frame.Region = TRegion::Rect(TRect{0, 0, W, H})
                       .Xored(RoundRectRegion(X - hw, Y - hh, (3 * W) / 2 - X, (3 * H) / 2 - Y,
                                              (9 * (W - X)) / 5, (9 * (H - Y)) / 5));
}

void BarsFrame(TFrame& frame, const TStyleParams& params) {
    TComplexRegion rects;
    AddBars(rects, frame, params, params.HBars, params.VBars);
    frame.Shape = TRectRegion(rects.TakeRects());
}

void CrossedBarsFrame(TFrame& frame, const TStyleParams& params) {
    TComplexRegion bars, opposite;
    AddBars(bars, frame, params, params.HBars, params.VBars);
    AddBars(opposite, frame, params, Opposite(params.HBars), Opposite(params.VBars));
    frame.Shape = TRectRegion(bars.TakeRects(), opposite.TakeRects());
}

void ShredFrame(TFrame& frame, const TStyleParams& params) {
    TComplexRegion rects;
    ShredRegion(rects, frame.Extents(), frame.X, frame.Y, params.HShreds, params.VShreds,
                frame.Random);
    frame.Shape = TRectRegion(rects.TakeRects());
}

void DiagonalFrame(TFrame& frame, const TStyleParams& params) {
    // The corner the triangle stands in, and its legs along the two edges that meet there.
    const int x = params.X == edFar ? frame.W : 0, y = params.Y == edFar ? frame.H : 0;
    const int across = params.X == edFar ? -2 * frame.X : 2 * frame.X;
    const int down = params.Y == edFar ? -2 * frame.Y : 2 * frame.Y;
    TComplexRegion rects;
    rects.AddPolygon({{x, y}, {x + across, y}, {x, y + down}});
    frame.Shape = TRectRegion(rects.TakeRects());
}

void DiagonalSweepFrame(TFrame& frame, const TStyleParams& params) {
    const int W = frame.W, H = frame.H, X = frame.X, Y = frame.Y;
    TComplexRegion rects;
    if (params.Clockwise) {
        rects.AddPolygon({{W, 0}, {0, 0}, {W, Y}});
        rects.AddPolygon({{W, H}, {0, H}, {0, H - Y}});
    } else {
        rects.AddPolygon({{0, H}, {0, 0}, {X, H}});
        rects.AddPolygon({{W, H}, {W, 0}, {W - X, 0}});
    }
    frame.Shape = TRectRegion(rects.TakeRects());
}

void StarburstFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const int W = frame.W, H = frame.H, X = frame.X, Y = frame.Y, hw = W / 2, hh = H / 2;
    TComplexRegion rects;
    rects.AddPolygon({{hw, hh}, {0, H}, {0, H - Y}});
    rects.AddPolygon({{0, 0}, {X, 0}, {hw, hh}});
    rects.AddPolygon({{W - X, H}, {hw, hh}, {W, H}});
    rects.AddPolygon({{hw, hh}, {W, 0}, {W, Y}});
    frame.Shape = TRectRegion(rects.TakeRects());
}

void TriangularShredFrame(TFrame& frame, const TStyleParams& /*params*/) {
    // Right-angled triangles at the corners of a 10 x 10 grid, legs in the picture's
    // proportions: one shape moved by whole pixels, so its rows are worked out once.
    const int W = frame.W, H = frame.H;
    const int across = frame.X / 5, down = MulDiv(across, H, W);
    TComplexRegion shape, rects;
    shape.AddPolygon({{0, 0}, {across, 0}, {0, down}});
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            const int x = W * i / 10, y = H * j / 10;
            for (const TRect& r : shape.Rects())
                rects.AddRect(r.Left + x, r.Top + y, r.Right + x, r.Bottom + y);
        }
    frame.Shape = TRectRegion(rects.TakeRects());
}

void SpeckleFrame(TFrame& frame, const TStyleParams& params) {
    TComplexRegion rects;
    SpeckleRegion(rects, frame.Extents(), params.HShreds, params.VShreds, frame.Random);
    frame.Shape = TRectRegion(rects.TakeRects());
}

void SquaresFrame(TFrame& frame, const TStyleParams& /*params*/) {
    TComplexRegion rects;
    SquaresRegion(rects, frame.Extents(), frame.Random);
    frame.Shape = TRectRegion(rects.TakeRects());
}

}  // namespace pelwick
