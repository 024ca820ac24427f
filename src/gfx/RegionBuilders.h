#pragma once

#include "gfx/ComplexRegion.h"
#include "gfx/RandomSequence.h"
#include "gfx/Region.h"

// The region shapes of the built-in transition styles, rebuilt for every frame. The
// builders that make many rectangles add them to a TComplexRegion, so a style can combine
// several and make its region once.
namespace pelwick {

// The picture's size and a frame's extents and progress (1..99).
struct TFrameExtents {
    int W, H;
    int X, Y;
    int P;
};

// The rounded rectangle (x1, y1)-(x2, y2) with corner ellipses of ew x eh.
TRegion RoundRectRegion(int x1, int y1, int x2, int y2, int ew, int eh);

// Where bars grow from along their axis: across the width from the right (far) or the left
// (near) edge, down the height from the bottom (far) or the top (near).
enum TBarKind {
    bkNone,         // no bars along this axis
    bkFromFar,      // from the far edge, in both phases
    bkFromNear,     // from the near edge, in both phases
    bkFromBoth,     // alternate bars from both edges
    bkNearThenFar,  // from the near edge, then the rest from the far one
    bkFarThenNear,  // from the far edge, then the rest from the near one
};

// Where the ragged bands of a shred (or the solid part of a speckle) grow from along their
// axis, far and near as for the bars.
enum TShredKind {
    skNone,           // nothing along this axis
    skFromFar,        // from the far edge
    skFromNear,       // from the near edge
    skOutFromMiddle,  // out from the middle to both edges
    skInToMiddle,     // in from both edges to the middle
};

// Bars 5 pixels thick, 10 apart, reaching A across (hKind) or B down (vKind). A first phase
// reveals every other bar; past the picture's width (height) a second phase fills the rest.
// A first-phase reach closer than snap to the edge is taken as the whole width (height).
void BarsRegion(TComplexRegion& out, const TFrameExtents& e, int A, int B, TBarKind hKind,
                TBarKind vKind, int snap);

// Bands 5 pixels high (wide) whose ends are ragged by random amounts while the reach is
// short of the picture.
void ShredRegion(TComplexRegion& out, const TFrameExtents& e, int A, int B, TShredKind hKind,
                 TShredKind vKind, TRandomSequence& random);

// A solid part reaching X (Y) from the far edge (skFromFar) or the near one (skFromNear),
// with random cells scattered in the zone in front of it.
void SpeckleRegion(TComplexRegion& out, const TFrameExtents& e, TShredKind hKind, TShredKind vKind,
                   TRandomSequence& random);

// Overlapping squares on a grid, each present with chance P / 100.
void SquaresRegion(TComplexRegion& out, const TFrameExtents& e, TRandomSequence& random);

}  // namespace pelwick
