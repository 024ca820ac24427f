// Styles 58..117 and 123..127: a region, rebuilt for every frame, through which the
// completion step draws the whole new picture. Shapes made of many rectangles or triangles
// are gathered in one list and made into a region once.
#include "gfx/Rounding.h"
#include "slideshow/Styles.h"

namespace pelwick {

namespace {

// 58, 59, 69, 70, 80..85: rounded rectangles and ellipses.
TRegion Curved(const TFrame& f, const TFrame::TValues& v) {
    const int W = f.W, H = f.H, X = f.X, Y = f.Y;
    switch (f.Style) {
        case 58:
            return RoundRectRegion(-2 * W, -5, 2 * X, H + 5, 2 * W, 2 * W);
        case 59:
            return RoundRectRegion(W - 2 * X, -5, 3 * W, H + 5, 2 * W, 2 * W);
        case 69:
            return RoundRectRegion(-5, -2 * H, W + 5, 2 * Y, 2 * H, 2 * H);
        case 70:
            return RoundRectRegion(-5, H - 2 * Y, W + 5, 3 * H, 2 * H, 2 * H);
        case 80:
            return RoundRectRegion(-2 * W, -2 * H, 2 * X, 2 * Y, 2 * W, 2 * H);
        case 81:
            return RoundRectRegion(W - 2 * X, -2 * H, 3 * W, 2 * Y, 2 * W, 2 * H);
        case 82:
            return RoundRectRegion(-2 * W, H - 2 * Y, 2 * X, 3 * H, 2 * W, 2 * H);
        // Its corner ellipse is 2H x 2H, unlike the other three corners'.
        case 83:
            return RoundRectRegion(W - 2 * X, H - 2 * Y, 3 * W, 3 * H, 2 * H, 2 * H);
        case 84:
            return RoundRectRegion(v.hw - X, v.hh - Y, v.hw + X, v.hh + Y, (9 * X) / 5,
                                   (9 * Y) / 5);
        case 85:
            return TRegion::Rect(TRect{0, 0, W, H})
                .Xored(RoundRectRegion(X - v.hw, Y - v.hh, (3 * W) / 2 - X, (3 * H) / 2 - Y,
                                       (9 * (W - X)) / 5, (9 * (H - Y)) / 5));
        default:
            return TRegion();
    }
}

// The bars' reaches and kinds: {style, A, B, hKind, vKind, snapped}, A and B in units of
// X and Y (2 for twice the extent); snapped bars take the band step BS as their snap, the
// others none.
struct TBarsRow {
    int style, a, b;
    TBarKind hKind, vKind;
    bool snapped;
};
constexpr TBarsRow BarsRows[] = {
    {60, 2, 0, bkFromFar, bkNone, true},
    {61, 2, 0, bkFromNear, bkNone, true},
    {62, 2, 0, bkNearThenFar, bkNone, true},
    {63, 2, 0, bkFarThenNear, bkNone, true},
    {64, 1, 0, bkFromBoth, bkNone, false},
    {71, 0, 2, bkNone, bkFromFar, true},
    {72, 0, 2, bkNone, bkFromNear, true},
    {73, 0, 2, bkNone, bkNearThenFar, true},
    {74, 0, 2, bkNone, bkFarThenNear, true},
    {75, 0, 1, bkNone, bkFromBoth, false},
    {86, 2, 2, bkFromFar, bkFromFar, true},
    {87, 2, 2, bkFromFar, bkFromNear, true},
    {88, 2, 2, bkFromNear, bkFromFar, true},
    {89, 2, 2, bkFromNear, bkFromNear, true},
    {90, 2, 2, bkNearThenFar, bkNearThenFar, true},
    {91, 2, 2, bkNearThenFar, bkFarThenNear, true},
    {92, 2, 2, bkFarThenNear, bkNearThenFar, true},
    {93, 2, 2, bkFarThenNear, bkFarThenNear, true},
    {94, 1, 1, bkFromFar, bkFromBoth, true},
    {95, 1, 1, bkFromNear, bkFromBoth, true},
    {96, 1, 1, bkFromBoth, bkFromFar, true},
    {97, 1, 1, bkFromBoth, bkFromNear, true},
    {98, 1, 1, bkFromBoth, bkFromBoth, false},
};

// {style, A, B, hKind, vKind} with A = X or 0 and B = Y or 0.
struct TShredRow {
    int style, a, b;
    TShredKind hKind, vKind;
};
constexpr TShredRow ShredRows[] = {
    {65, 1, 0, skFromFar, skNone},
    {66, 1, 0, skFromNear, skNone},
    {67, 1, 0, skOutFromMiddle, skNone},
    {68, 1, 0, skInToMiddle, skNone},
    {76, 0, 1, skNone, skFromFar},
    {77, 0, 1, skNone, skFromNear},
    {78, 0, 1, skNone, skOutFromMiddle},
    {79, 0, 1, skNone, skInToMiddle},
    {100, 1, 1, skFromFar, skFromFar},
    {101, 1, 1, skFromFar, skFromNear},
    {102, 1, 1, skFromNear, skFromFar},
    {103, 1, 1, skFromNear, skFromNear},
    {104, 1, 1, skFromFar, skOutFromMiddle},
    {105, 1, 1, skFromNear, skOutFromMiddle},
    {106, 1, 1, skOutFromMiddle, skFromFar},
    {107, 1, 1, skOutFromMiddle, skFromNear},
    {108, 1, 1, skOutFromMiddle, skOutFromMiddle},
    {109, 1, 1, skInToMiddle, skInToMiddle},
};

bool AddBars(TComplexRegion& rects, const TFrame& f) {
    for (const TBarsRow& row : BarsRows)
        if (row.style == f.Style) {
            BarsRegion(rects, f.Extents(), row.a * f.X, row.b * f.Y, row.hKind, row.vKind,
                       row.snapped ? f.BS : 0);
            return true;
        }
    return false;
}

bool AddShreds(TComplexRegion& rects, TFrame& f) {
    for (const TShredRow& row : ShredRows)
        if (row.style == f.Style) {
            ShredRegion(rects, f.Extents(), row.a * f.X, row.b * f.Y, row.hKind, row.vKind,
                        f.Random);
            return true;
        }
    return false;
}

// 110..117: triangles, a union where there are several.
bool AddTriangles(TComplexRegion& rects, const TFrame& f, const TFrame::TValues& v) {
    const int W = f.W, H = f.H, X = f.X, Y = f.Y, hw = v.hw, hh = v.hh;
    switch (f.Style) {
        case 110:
            rects.AddPolygon({{0, 0}, {2 * X, 0}, {0, 2 * Y}});
            return true;
        case 111:
            rects.AddPolygon({{W, 0}, {W - 2 * X, 0}, {W, 2 * Y}});
            return true;
        case 112:
            rects.AddPolygon({{0, H}, {2 * X, H}, {0, H - 2 * Y}});
            return true;
        case 113:
            rects.AddPolygon({{W, H}, {W - 2 * X, H}, {W, H - 2 * Y}});
            return true;
        case 114:
            rects.AddPolygon({{0, H}, {0, 0}, {X, H}});
            rects.AddPolygon({{W, H}, {W, 0}, {W - X, 0}});
            return true;
        case 115:
            rects.AddPolygon({{W, 0}, {0, 0}, {W, Y}});
            rects.AddPolygon({{W, H}, {0, H}, {0, H - Y}});
            return true;
        case 116:
            rects.AddPolygon({{hw, hh}, {0, H}, {0, H - Y}});
            rects.AddPolygon({{0, 0}, {X, 0}, {hw, hh}});
            rects.AddPolygon({{W - X, H}, {hw, hh}, {W, H}});
            rects.AddPolygon({{hw, hh}, {W, 0}, {W, Y}});
            return true;
        case 117: {
            // Right-angled triangles at the corners of a 10 x 10 grid, legs in the
            // picture's proportions: one shape moved by whole pixels, so its rows are
            // worked out once.
            const int across = X / 5, down = MulDiv(across, H, W);
            TComplexRegion shape;
            shape.AddPolygon({{0, 0}, {across, 0}, {0, down}});
            for (int i = 0; i < 10; ++i)
                for (int j = 0; j < 10; ++j) {
                    const int x = W * i / 10, y = H * j / 10;
                    for (const TRect& r : shape.Rects())
                        rects.AddRect(r.Left + x, r.Top + y, r.Right + x, r.Bottom + y);
                }
            return true;
        }
        default:
            return false;
    }
}

bool AddScattered(TComplexRegion& rects, TFrame& f) {
    switch (f.Style) {
        case 123:
            SpeckleRegion(rects, f.Extents(), skFromFar, skNone, f.Random);
            return true;
        case 124:
            SpeckleRegion(rects, f.Extents(), skFromNear, skNone, f.Random);
            return true;
        case 125:
            SpeckleRegion(rects, f.Extents(), skNone, skFromFar, f.Random);
            return true;
        case 126:
            SpeckleRegion(rects, f.Extents(), skNone, skFromNear, f.Random);
            return true;
        case 127:
            SquaresRegion(rects, f.Extents(), f.Random);
            return true;
        default:
            return false;
    }
}

}  // namespace

void RegionStyleFrame(TFrame& frame, const TStyleParams& /*params*/) {
    const TFrame::TValues v = frame.Values();
    if (frame.Style == 99) {
        // Where the bars from the bottom right cross those from the top left.
        TComplexRegion a, b;
        BarsRegion(a, frame.Extents(), 2 * frame.X, 2 * frame.Y, bkFromFar, bkFromFar, frame.BS);
        BarsRegion(b, frame.Extents(), 2 * frame.X, 2 * frame.Y, bkFromNear, bkFromNear, frame.BS);
        frame.Shape = TRectRegion(a.TakeRects(), b.TakeRects());
        return;
    }
    TComplexRegion rects;
    if (AddBars(rects, frame) || AddShreds(rects, frame) || AddTriangles(rects, frame, v) ||
        AddScattered(rects, frame)) {
        frame.Shape = TRectRegion(rects.TakeRects());
        return;
    }
    frame.Region = Curved(frame, v);
}

}  // namespace pelwick
