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

// Bars 5 pixels thick, 10 apart, reaching A across (hKind) or B down (vKind). Kinds: 1 grows
// from the right (bottom), 2 from the left (top), 3 alternate bars from both sides, 4 from
// the left (top) and then from the right (bottom), 5 the other way round; 0 adds nothing in
// that direction. A first phase reveals every other bar; past the picture's width (height)
// a second phase fills the rest. A first-phase reach closer than snap to the edge is taken
// as the whole width (height).
void BarsRegion(TComplexRegion& out, const TFrameExtents& e, int A, int B, int hKind, int vKind,
                int snap);

// Bands 5 pixels high (wide) whose ends are ragged by random amounts while the reach is
// short of the picture: kind 1 from the right (bottom), 2 from the left (top), 3 out from
// the middle, 4 in to the middle; 0 adds nothing in that direction.
void ShredRegion(TComplexRegion& out, const TFrameExtents& e, int A, int B, int hKind, int vKind,
                 TRandomSequence& random);

// A solid part reaching X (Y) from the right or bottom (kind 1) or the left or top (kind 2),
// with random cells scattered in the zone in front of it.
void SpeckleRegion(TComplexRegion& out, const TFrameExtents& e, int hKind, int vKind,
                   TRandomSequence& random);

// Overlapping squares on a grid, each present with chance P / 100.
void SquaresRegion(TComplexRegion& out, const TFrameExtents& e, TRandomSequence& random);

}  // namespace pelwick
