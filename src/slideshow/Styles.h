#pragma once

#include "slideshow/Effects.h"

// The frame routines of the style catalogue. A routine draws a family of styles, which differ
// only in the parameters (TStyleParams) their rows of EffectTable (Effects.cpp) give it: a
// routine never asks which style it draws, and a style's row says all that it does. A
// routine composes one frame (TFrame), or leaves rectangles or a region in it for the
// completion step, as the row's kind says. Each family has a file of its own:
//   CrossFade.cpp     the cross-fade
//   StylesRect.cpp    rectangles that move, stretch and mirror
//   StylesRegion.cpp  regions from the builders in gfx/RegionBuilders
//   StylesPivot.cpp   the picture turned about a corner
//   EffectsRegion.cpp the named effects drawn through a region
//   EffectsPush.cpp   the pushes and squeezes
//   EffectsPixel.cpp  the named effects that work on pixels
namespace pelwick {

// The frame of reference of a style that works along one axis from one edge: positions are
// measured along the axis from that edge, so a style from the far edge is the one from the
// near edge reflected, and a style down the height the one across the width turned.
struct TAlong {
    bool Down;  // down the height, else across the width
    bool Far;   // from the far edge (the right, or the bottom)
    int L;      // the picture's length along the axis: W or H
    int E;      // the extent along the axis: X or Y
    int Span;   // the picture's size across the axis: H or W

    TAlong(const TFrame& f, const TStyleParams& p)
        : Down(p.X == edNone),
          Far((Down ? p.Y : p.X) == edFar),
          L(Down ? f.H : f.W),
          E(Down ? f.Y : f.X),
          Span(Down ? f.W : f.H) {}

    // The band from a to b along the axis, across the whole picture.
    TRect Band(int a, int b) const {
        if (Far) {
            const int t = L - b;
            b = L - a;
            a = t;
        }
        return Down ? TRect{0, a, Span, b} : TRect{a, 0, b, Span};
    }
};

// The cross-fade: each channel becomes old * (100 - P) / 100 + new * P / 100.
void FadeFrame(TFrame& frame, const TStyleParams& params);

// Rectangles: each sets Dest and Src, copying the extra pieces of its style first.
// A band at an edge, about the middle or at both edges, along either axis or both, through
// which the picture is squeezed, slid, revealed or zoomed.
void MoveFrame(TFrame& frame, const TStyleParams& params);
// The picture unrolled from an edge, the roll's underside mirrored ahead of it.
void UnrollFrame(TFrame& frame, const TStyleParams& params);
// The picture revealed from an edge, its leading line smeared over the rest.
void BuildUpFrame(TFrame& frame, const TStyleParams& params);
// Bands at all four edges, revealed in place.
void RevealInToCentreFrame(TFrame& frame, const TStyleParams& params);
// The four quarters of the picture squeezed into the corners.
void QuartersExpandFrame(TFrame& frame, const TStyleParams& params);
// The four quarters of the picture slid in from the corners' sides.
void QuartersSlideFrame(TFrame& frame, const TStyleParams& params);

// Regions: each sets Region, or Shape for a shape of many rectangles.
// A rounded rectangle reaching in from an edge or a corner.
void CurvedFrame(TFrame& frame, const TStyleParams& params);
// An ellipse opening out from the centre, or closing in on it.
void EllipseFrame(TFrame& frame, const TStyleParams& params);
// Bars across the width, down the height, or both.
void BarsFrame(TFrame& frame, const TStyleParams& params);
// Where the bars cross the same bars from the opposite edges.
void CrossedBarsFrame(TFrame& frame, const TStyleParams& params);
// Bands with ragged ends, across the width, down the height, or both.
void ShredFrame(TFrame& frame, const TStyleParams& params);
// A triangle growing from a corner.
void DiagonalFrame(TFrame& frame, const TStyleParams& params);
// Two triangles sweeping in from opposite corners.
void DiagonalSweepFrame(TFrame& frame, const TStyleParams& params);
// Four triangles sweeping round the centre.
void StarburstFrame(TFrame& frame, const TStyleParams& params);
// Triangles at the corners of a grid.
void TriangularShredFrame(TFrame& frame, const TStyleParams& params);
// A solid part growing from an edge, random cells in front of it.
void SpeckleFrame(TFrame& frame, const TStyleParams& params);
// Random squares on a grid, drawn anew every frame.
void SquaresFrame(TFrame& frame, const TStyleParams& params);

// The picture turned about a point just outside a corner, drawn onto Screen.
void PivotFrame(TFrame& frame, const TStyleParams& params);

// The named effects, called only for progress 1..99. Screen holds the old snapshot unless
// frame.Snapshot is set; an effect that composes every pixel itself clears it.
// Random square cells that stay once shown.
void RandomSquaresFrame(TFrame& frame, const TStyleParams& params);
// The old picture pushed (slid or squeezed) out by the new one coming in from an edge.
void PushFrame(TFrame& frame, const TStyleParams& params);
// Slats opening about their middles.
void BlindsFrame(TFrame& frame, const TStyleParams& params);
// Strips from an edge, as wide as the progress of the extent, every extent.
void UnevenBlindsFrame(TFrame& frame, const TStyleParams& params);
// Squares, circles or diamonds growing on every cell of a grid.
void SquareShredFrame(TFrame& frame, const TStyleParams& params);
void CircleShredFrame(TFrame& frame, const TStyleParams& params);
void DiamondShredFrame(TFrame& frame, const TStyleParams& params);
// A pie from twelve o'clock.
void SweepFrame(TFrame& frame, const TStyleParams& params);
// The uneven blinds crossed by bands every 3 twentieths of the picture.
void BandsFrame(TFrame& frame, const TStyleParams& params);
// A rectangle or a star turning about the centre as it grows, or a rectangle turning about
// the point (X, Y).
void TurningRectFrame(TFrame& frame, const TStyleParams& params);
void TurningStarFrame(TFrame& frame, const TStyleParams& params);
void SpiralRectFrame(TFrame& frame, const TStyleParams& params);
// A triangle from the middle of an edge, its tip twice the extent in.
void VFrame(TFrame& frame, const TStyleParams& params);
// Triangles from the middles of two opposite edges, their tips Reach extents in.
void BowTieFrame(TFrame& frame, const TStyleParams& params);
// Triangles from the middles of all four edges, closing in or opening out.
void CrossFrame(TFrame& frame, const TStyleParams& params);
// A band about the middle with zigzag edges.
void ZigzagFrame(TFrame& frame, const TStyleParams& params);
// A diamond opening out from the centre, or closing in on it.
void DiamondFrame(TFrame& frame, const TStyleParams& params);
// Between two diamonds about the centre, the outer growing and the inner shrinking.
void DiagonalBoxFrame(TFrame& frame, const TStyleParams& params);
// Pixel work: ever coarser blocks of the old picture, then ever finer ones of the new;
// pixels, whole rows or whole columns taken at random; one colour channel after another.
void PixelateFrame(TFrame& frame, const TStyleParams& params);
void DissolveFrame(TFrame& frame, const TStyleParams& params);
void RandomBarsFrame(TFrame& frame, const TStyleParams& params);
void ChannelMixFrame(TFrame& frame, const TStyleParams& params);

}  // namespace pelwick
