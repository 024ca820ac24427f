#include "slideshow/Effects.h"

#include "slideshow/Styles.h"

namespace pelwick {

TFrame::TValues TFrame::Values() const {
    TValues v{};
    v.hx = (W - X) / 2;
    v.u = X / 2;
    v.s = v.u + 1;
    v.o = W - v.u;
    v.k = v.o - 1;
    v.v = (W + X) / 2;
    v.hw = W / 2;
    v.q = v.hw + 1;
    v.hh = H / 2;
    v.r = v.hh + 1;
    v.yh = Y / 2;
    return v;
}

namespace {

// The parameters of the families whose rows set several, in the order the rows give them.
constexpr TStyleParams Move(TMotion motion, TEdge x, TEdge y) {
    return {.X = x, .Y = y, .Motion = motion};
}
constexpr TStyleParams Edges(TEdge x, TEdge y) {
    return {.X = x, .Y = y};
}
constexpr TStyleParams Curve(TEdge x, TEdge y, TCorner corner) {
    return {.X = x, .Y = y, .Corner = corner};
}
constexpr bool Snapped = true, Unsnapped = false;
constexpr TStyleParams Bars(int reach, TBarKind across, TBarKind down, bool snap) {
    return {.Reach = reach, .HBars = across, .VBars = down, .Snap = snap};
}
constexpr TStyleParams Shreds(TShredKind across, TShredKind down) {
    return {.HShreds = across, .VShreds = down};
}

}  // namespace

// The catalogue, one row a style: its number, what it leaves for the completion step, the
// routine of its family (Styles.h) with the style's own parameters, and its name. The names
// are the system's own, spelling included; where two styles had the same one, words in
// brackets say how they differ, so that every style can be told by its name.
// clang-format off
constinit const TEffectTable EffectTable({{
    // Rectangles (Dest and Src, and extra pieces before them). Across the width: a band at an
    // edge, about the middle or at both sides, through which the new picture is squeezed, slid,
    // revealed in place or zoomed (MoveFrame); the picture unrolled, or built up with its
    // leading line smeared over the rest, from an edge.
    /*   1 */ {ekRects, MoveFrame,    Move(moSqueeze, edFar, edNone),    "Expand from right"},
    /*   2 */ {ekRects, MoveFrame,    Move(moSqueeze, edNear, edNone),   "Expand from left"},
    /*   3 */ {ekRects, MoveFrame,    Move(moSlide, edFar, edNone),      "Slide in from right"},
    /*   4 */ {ekRects, MoveFrame,    Move(moSlide, edNear, edNone),     "Slide in from left"},
    /*   5 */ {ekRects, MoveFrame,    Move(moReveal, edNear, edNone),    "Reveal from left"},
    /*   6 */ {ekRects, MoveFrame,    Move(moReveal, edFar, edNone),     "Reveal from right"},
    /*   7 */ {ekRects, MoveFrame,    Move(moZoom, edNear, edNone),      "Expand in from right"},
    /*   8 */ {ekRects, MoveFrame,    Move(moZoom, edFar, edNone),       "Expand in from left"},
    /*   9 */ {ekRects, MoveFrame,    Move(moZoom, edMiddle, edNone),    "Expand in to middle"},
    /*  10 */ {ekRects, MoveFrame,    Move(moSqueeze, edMiddle, edNone), "Expand out from middle"},
    /*  11 */ {ekRects, MoveFrame,    Move(moReveal, edMiddle, edNone),  "Reveal out from middle"},
    /*  12 */ {ekRects, MoveFrame,    Move(moReveal, edSides, edNone),   "Reveal in from sides"},
    /*  13 */ {ekRects, MoveFrame,    Move(moSqueeze, edSides, edNone),  "Expand in from sides"},
    /*  14 */ {ekRects, UnrollFrame,  Edges(edNear, edNone),             "Unroll from left"},
    /*  15 */ {ekRects, UnrollFrame,  Edges(edFar, edNone),              "Unroll from right"},
    /*  16 */ {ekRects, BuildUpFrame, Edges(edNear, edNone),             "Build up from right"},
    /*  17 */ {ekRects, BuildUpFrame, Edges(edFar, edNone),              "Build up from left"},

    // The same down the height.
    /*  18 */ {ekRects, MoveFrame,    Move(moSqueeze, edNone, edFar),    "Expand from bottom"},
    /*  19 */ {ekRects, MoveFrame,    Move(moSqueeze, edNone, edNear),   "Expand from top"},
    /*  20 */ {ekRects, MoveFrame,    Move(moSlide, edNone, edFar),      "Slide in from bottom"},
    /*  21 */ {ekRects, MoveFrame,    Move(moSlide, edNone, edNear),     "Slide in from top"},
    /*  22 */ {ekRects, MoveFrame,    Move(moReveal, edNone, edNear),    "Reveal from top"},
    /*  23 */ {ekRects, MoveFrame,    Move(moReveal, edNone, edFar),     "Reveal from bottom"},
    /*  24 */ {ekRects, MoveFrame,    Move(moZoom, edNone, edNear),      "Expand in from bottom"},
    /*  25 */ {ekRects, MoveFrame,    Move(moZoom, edNone, edFar),       "Expand in from top"},
    /*  26 */ {ekRects, MoveFrame,    Move(moZoom, edNone, edMiddle),    "Expand in to middle (horiz)"},
    /*  27 */ {ekRects, MoveFrame,    Move(moSqueeze, edNone, edMiddle), "Expand out from middle (horiz)"},
    /*  28 */ {ekRects, MoveFrame,    Move(moReveal, edNone, edMiddle),  "Reveal from middle (horiz)"},
    /*  29 */ {ekRects, MoveFrame,    Move(moReveal, edNone, edSides),   "Slide in from top / bottom"},
    /*  30 */ {ekRects, MoveFrame,    Move(moSqueeze, edNone, edSides),  "Expand in from top / bottom"},
    /*  31 */ {ekRects, UnrollFrame,  Edges(edNone, edNear),             "Unroll from top"},
    /*  32 */ {ekRects, UnrollFrame,  Edges(edNone, edFar),              "Unroll from bottom"},
    /*  33 */ {ekRects, BuildUpFrame, Edges(edNone, edNear),             "Expand from bottom (build up)"},
    /*  34 */ {ekRects, BuildUpFrame, Edges(edNone, edFar),              "Expand in from top (build up)"},

    // From a corner along both axes, or about the centre.
    /*  35 */ {ekRects, MoveFrame, Move(moSqueeze, edFar, edFar),       "Expand from bottom right"},
    /*  36 */ {ekRects, MoveFrame, Move(moSqueeze, edFar, edNear),      "Expand from top right"},
    /*  37 */ {ekRects, MoveFrame, Move(moSqueeze, edNear, edNear),     "Expand from top left"},
    /*  38 */ {ekRects, MoveFrame, Move(moSqueeze, edNear, edFar),      "Expand from bottom left"},
    /*  39 */ {ekRects, MoveFrame, Move(moSlide, edFar, edFar),         "Slide in from bottom right"},
    /*  40 */ {ekRects, MoveFrame, Move(moSlide, edFar, edNear),        "Slide in from top right"},
    /*  41 */ {ekRects, MoveFrame, Move(moSlide, edNear, edNear),       "Slide in from top left"},
    /*  42 */ {ekRects, MoveFrame, Move(moSlide, edNear, edFar),        "Slide in from bottom left"},
    /*  43 */ {ekRects, MoveFrame, Move(moReveal, edNear, edNear),      "Reveal from top left"},
    /*  44 */ {ekRects, MoveFrame, Move(moReveal, edNear, edFar),       "Reveal from bottom left"},
    /*  45 */ {ekRects, MoveFrame, Move(moReveal, edFar, edFar),        "Reveal from bottom right"},
    /*  46 */ {ekRects, MoveFrame, Move(moReveal, edFar, edNear),       "Reveal from top right"},
    /*  47 */ {ekRects, MoveFrame, Move(moZoom, edNear, edNear),        "Appear and Contract to top left"},
    /*  48 */ {ekRects, MoveFrame, Move(moZoom, edNear, edFar),         "Appear and Contract to bottom left"},
    /*  49 */ {ekRects, MoveFrame, Move(moZoom, edFar, edFar),          "Appear and Contract to bottom right"},
    /*  50 */ {ekRects, MoveFrame, Move(moZoom, edFar, edNear),         "Appear and Contract to top right"},
    /*  51 */ {ekRects, MoveFrame, Move(moZoom, edMiddle, edMiddle),    "Appear and Contract to middle"},
    /*  52 */ {ekRects, MoveFrame, Move(moSqueeze, edMiddle, edMiddle), "Expand out from centre"},
    /*  53 */ {ekRects, MoveFrame, Move(moReveal, edMiddle, edMiddle),  "Reveal out from centre"},

    // Bands at all four edges, and the quarters: revealed, squeezed into the corners, slid in.
    /*  54 */ {ekRects, RevealInToCentreFrame, {},                               "Reveal in to centre"},
    /*  55 */ {ekRects, MoveFrame,             Move(moReveal, edSides, edSides), "Quarters Reveal in to middle"},
    /*  56 */ {ekRects, QuartersExpandFrame,   {},                               "Quarters Expand to middle"},
    /*  57 */ {ekRects, QuartersSlideFrame,    {},                               "Quarters Slide in to middle"},

    // Regions, rebuilt every frame. Across the width: a rounded rectangle reaching in from an
    // edge; bars 5 pixels thick and 10 apart, reaching Reach times the extent, snapped to the
    // edge within the band step or not; bands with ragged ends.
    /*  58 */ {ekRegion, CurvedFrame, Curve(edNear, edNone, cnWidthCircle),    "Curved Reveal from left"},
    /*  59 */ {ekRegion, CurvedFrame, Curve(edFar, edNone, cnWidthCircle),     "Curved Reveal from right"},
    /*  60 */ {ekRegion, BarsFrame,   Bars(2, bkFromFar, bkNone, Snapped),     "Bars in from right"},
    /*  61 */ {ekRegion, BarsFrame,   Bars(2, bkFromNear, bkNone, Snapped),    "Bars in from left"},
    /*  62 */ {ekRegion, BarsFrame,   Bars(2, bkNearThenFar, bkNone, Snapped), "Bars left then right"},
    /*  63 */ {ekRegion, BarsFrame,   Bars(2, bkFarThenNear, bkNone, Snapped), "Bars right then left"},
    /*  64 */ {ekRegion, BarsFrame,   Bars(1, bkFromBoth, bkNone, Unsnapped),  "Bars from both sides"},
    /*  65 */ {ekRegion, ShredFrame,  Shreds(skFromFar, skNone),               "Uneven shred from right"},
    /*  66 */ {ekRegion, ShredFrame,  Shreds(skFromNear, skNone),              "Uneven shred from left"},
    /*  67 */ {ekRegion, ShredFrame,  Shreds(skOutFromMiddle, skNone),         "Uneven shred out from middle (horiz)"},
    /*  68 */ {ekRegion, ShredFrame,  Shreds(skInToMiddle, skNone),            "Uneven shred in to middle (horiz)"},

    // The same down the height.
    /*  69 */ {ekRegion, CurvedFrame, Curve(edNone, edNear, cnHeightCircle),   "Curved Reveal from top"},
    /*  70 */ {ekRegion, CurvedFrame, Curve(edNone, edFar, cnHeightCircle),    "Curved Reveal from bottom"},
    /*  71 */ {ekRegion, BarsFrame,   Bars(2, bkNone, bkFromFar, Snapped),     "Bars from bottom"},
    /*  72 */ {ekRegion, BarsFrame,   Bars(2, bkNone, bkFromNear, Snapped),    "Bars from top"},
    /*  73 */ {ekRegion, BarsFrame,   Bars(2, bkNone, bkNearThenFar, Snapped), "Bars top then bottom"},
    /*  74 */ {ekRegion, BarsFrame,   Bars(2, bkNone, bkFarThenNear, Snapped), "Bars bottom then top"},
    /*  75 */ {ekRegion, BarsFrame,   Bars(1, bkNone, bkFromBoth, Unsnapped),  "Bars from top and bottom"},
    /*  76 */ {ekRegion, ShredFrame,  Shreds(skNone, skFromFar),               "Unven shred from bottom"},
    /*  77 */ {ekRegion, ShredFrame,  Shreds(skNone, skFromNear),              "Uneven shred from top"},
    /*  78 */ {ekRegion, ShredFrame,  Shreds(skNone, skOutFromMiddle),         "Uneven shred from horizon"},
    /*  79 */ {ekRegion, ShredFrame,  Shreds(skNone, skInToMiddle),            "Uneven shred in to horizon"},

    // From a corner, rounded by an ellipse of twice the picture (the bottom right one by a
    // circle of twice its height); an ellipse about the centre, opening out or closing in.
    /*  80 */ {ekRegion, CurvedFrame,  Curve(edNear, edNear, cnEllipse),    "Curved reveal from top left"},
    /*  81 */ {ekRegion, CurvedFrame,  Curve(edFar, edNear, cnEllipse),     "Curved reveal from top right"},
    /*  82 */ {ekRegion, CurvedFrame,  Curve(edNear, edFar, cnEllipse),     "Curved reveal from bottom left"},
    /*  83 */ {ekRegion, CurvedFrame,  Curve(edFar, edFar, cnHeightCircle), "Curved reveal from bottom right"},
    /*  84 */ {ekRegion, EllipseFrame, {.Inward = false},                   "Elliptic reveal out from centre"},
    /*  85 */ {ekRegion, EllipseFrame, {.Inward = true},                    "Elliptic reveal in to centre"},

    // Bars across and down at once; 99 where the bars from its corner cross those from the
    // opposite one.
    /*  86 */ {ekRegion, BarsFrame,        Bars(2, bkFromFar, bkFromFar, Snapped),         "Criss Cross reveal from bottom right"},
    /*  87 */ {ekRegion, BarsFrame,        Bars(2, bkFromFar, bkFromNear, Snapped),        "Criss Cross reveal from top right"},
    /*  88 */ {ekRegion, BarsFrame,        Bars(2, bkFromNear, bkFromFar, Snapped),        "Criss Cross reveal from bottom left"},
    /*  89 */ {ekRegion, BarsFrame,        Bars(2, bkFromNear, bkFromNear, Snapped),       "Criss Cross reveal from top left"},
    /*  90 */ {ekRegion, BarsFrame,        Bars(2, bkNearThenFar, bkNearThenFar, Snapped), "Criss Cross reveal bounce from top left"},
    /*  91 */ {ekRegion, BarsFrame,        Bars(2, bkNearThenFar, bkFarThenNear, Snapped), "Criss Cross reveal bounce from bottom left"},
    /*  92 */ {ekRegion, BarsFrame,        Bars(2, bkFarThenNear, bkNearThenFar, Snapped), "Criss Cross reveal bounce from top right"},
    /*  93 */ {ekRegion, BarsFrame,        Bars(2, bkFarThenNear, bkFarThenNear, Snapped), "Criss Cross reveal bounce from bottom right"},
    /*  94 */ {ekRegion, BarsFrame,        Bars(1, bkFromFar, bkFromBoth, Snapped),        "Criss Cross reveal from right top and bottom"},
    /*  95 */ {ekRegion, BarsFrame,        Bars(1, bkFromNear, bkFromBoth, Snapped),       "Criss Cross reveal from left top and bottom"},
    /*  96 */ {ekRegion, BarsFrame,        Bars(1, bkFromBoth, bkFromFar, Snapped),        "Criss Cross reveal from left right and bottom"},
    /*  97 */ {ekRegion, BarsFrame,        Bars(1, bkFromBoth, bkFromNear, Snapped),       "Criss Cross reveal from left right and top"},
    /*  98 */ {ekRegion, BarsFrame,        Bars(1, bkFromBoth, bkFromBoth, Unsnapped),     "Criss Cross reveal from top left right and bottom"},
    /*  99 */ {ekRegion, CrossedBarsFrame, Bars(2, bkFromFar, bkFromFar, Snapped),         "Criss Cross reveal from bottom left top right"},

    // Ragged bands across and down at once.
    /* 100 */ {ekRegion, ShredFrame, Shreds(skFromFar, skFromFar),             "Uneven shred from bottom and right"},
    /* 101 */ {ekRegion, ShredFrame, Shreds(skFromFar, skFromNear),            "Uneven shred from top and right"},
    /* 102 */ {ekRegion, ShredFrame, Shreds(skFromNear, skFromFar),            "Uneven shred from bottom and left"},
    /* 103 */ {ekRegion, ShredFrame, Shreds(skFromNear, skFromNear),           "Uneven shred from top and left"},
    /* 104 */ {ekRegion, ShredFrame, Shreds(skFromFar, skOutFromMiddle),       "Uneven shred from horiz and right"},
    /* 105 */ {ekRegion, ShredFrame, Shreds(skFromNear, skOutFromMiddle),      "Uneven shred from horiz and left"},
    /* 106 */ {ekRegion, ShredFrame, Shreds(skOutFromMiddle, skFromFar),       "Uneven shred from bottom and vert middle"},
    /* 107 */ {ekRegion, ShredFrame, Shreds(skOutFromMiddle, skFromNear),      "Uneven shred from top and vert middle"},
    /* 108 */ {ekRegion, ShredFrame, Shreds(skOutFromMiddle, skOutFromMiddle), "Uneven shred from centre"},
    /* 109 */ {ekRegion, ShredFrame, Shreds(skInToMiddle, skInToMiddle),       "Uneven shred to centre"},

    // Triangles: from a corner, sweeping in from two corners, round the centre, on a grid.
    /* 110 */ {ekRegion, DiagonalFrame,        Edges(edNear, edNear), "Reveal diagonal from top left"},
    /* 111 */ {ekRegion, DiagonalFrame,        Edges(edFar, edNear),  "Reveal diagonal from top right"},
    /* 112 */ {ekRegion, DiagonalFrame,        Edges(edNear, edFar),  "Reveal diagonal from bottom left"},
    /* 113 */ {ekRegion, DiagonalFrame,        Edges(edFar, edFar),   "Reveal diagonal from bottom right"},
    /* 114 */ {ekRegion, DiagonalSweepFrame,   {.Clockwise = false},  "Diagonal sweep from top left bottom right anticlockwise"},
    /* 115 */ {ekRegion, DiagonalSweepFrame,   {.Clockwise = true},   "Diagonal sweep from top left bottom right clockwise"},
    /* 116 */ {ekRegion, StarburstFrame,       {},                    "Starburst clockwise from center"},
    /* 117 */ {ekRegion, TriangularShredFrame, {},                    "Triangular shred"},

    // The cross-fade, and the pivots that turn the picture about a point just outside a corner.
    /* 118 */ {ekDrawn, FadeFrame,  {},                    "Fade"},
    /* 119 */ {ekDrawn, PivotFrame, Edges(edNear, edNear), "Pivot from top left"},
    /* 120 */ {ekDrawn, PivotFrame, Edges(edNear, edFar),  "Pivot from bottom left"},
    /* 121 */ {ekDrawn, PivotFrame, Edges(edFar, edNear),  "Pivot from top right"},
    /* 122 */ {ekDrawn, PivotFrame, Edges(edFar, edFar),   "Pivot from bottom right"},

    // Speckles growing from an edge, and random squares, both drawn anew every frame.
    /* 123 */ {ekRegion, SpeckleFrame, Shreds(skFromFar, skNone),  "Speckle appear from right"},
    /* 124 */ {ekRegion, SpeckleFrame, Shreds(skFromNear, skNone), "Speckle appear from left"},
    /* 125 */ {ekRegion, SpeckleFrame, Shreds(skNone, skFromFar),  "Speckle appear from bottom"},
    /* 126 */ {ekRegion, SpeckleFrame, Shreds(skNone, skFromNear), "Speckle appear from top"},
    /* 127 */ {ekRegion, SquaresFrame, {},                         "Random squares appear (redrawn each frame)"},

    // The named effects: random squares that stay once shown; the old picture pushed out, slid
    // or squeezed, by the new one coming in at an edge.
    /* 128 */ {ekEffect, RandomSquaresFrame, {},                              "Random squares appear (each one stays)"},
    /* 129 */ {ekEffect, PushFrame,          Move(moSlide, edNear, edNone),   "Push right"},
    /* 130 */ {ekEffect, PushFrame,          Move(moSlide, edFar, edNone),    "Push left"},
    /* 131 */ {ekEffect, PushFrame,          Move(moSqueeze, edNear, edNone), "Push and squeeze right"},
    /* 132 */ {ekEffect, PushFrame,          Move(moSqueeze, edFar, edNone),  "Push and squeeze left"},
    /* 133 */ {ekEffect, PushFrame,          Move(moSlide, edNone, edNear),   "Push down"},
    /* 134 */ {ekEffect, PushFrame,          Move(moSlide, edNone, edFar),    "Push up"},
    /* 135 */ {ekEffect, PushFrame,          Move(moSqueeze, edNone, edNear), "Push and sqeeze down"},
    /* 136 */ {ekEffect, PushFrame,          Move(moSqueeze, edNone, edFar),  "Push and sqeeze up"},

    // Blinds, strips and bands, grids of growing shapes, sweeps and turning shapes.
    /* 137 */ {ekEffect, BlindsFrame,       {.Orientation = orVertical},   "Blind vertically"},
    /* 138 */ {ekEffect, BlindsFrame,       {.Orientation = orHorizontal}, "Blind horizontally"},
    /* 139 */ {ekEffect, UnevenBlindsFrame, Edges(edNear, edNone),         "Uneven blind from left"},
    /* 140 */ {ekEffect, UnevenBlindsFrame, Edges(edFar, edNone),          "Uneven blind from right"},
    /* 141 */ {ekEffect, UnevenBlindsFrame, Edges(edNone, edNear),         "Uneven blind from top"},
    /* 142 */ {ekEffect, UnevenBlindsFrame, Edges(edNone, edFar),          "Uneven blind from bottom"},
    /* 143 */ {ekEffect, SquareShredFrame,  {},                            "Rectangular shred"},
    /* 144 */ {ekEffect, SweepFrame,        {.Clockwise = true},           "Sweep clockwise"},
    /* 145 */ {ekEffect, SweepFrame,        {.Clockwise = false},          "Sweep anticlockwise"},
    /* 146 */ {ekEffect, BandsFrame,        Edges(edNear, edNone),         "Rectangles apear from left and disapear to right"},
    /* 147 */ {ekEffect, BandsFrame,        Edges(edFar, edNone),          "Rectangles apear from right and disapear to left"},
    /* 148 */ {ekEffect, BandsFrame,        Edges(edNone, edNear),         "Rectangles apear from up and disapear to bottom"},
    /* 149 */ {ekEffect, BandsFrame,        Edges(edNone, edFar),          "Rectangles apear from bottom and disapear to up"},
    /* 150 */ {ekEffect, TurningRectFrame,  {},                            "Rotational rectangle in center"},
    /* 151 */ {ekEffect, TurningStarFrame,  {},                            "Rotational star in center"},
    /* 152 */ {ekEffect, SpiralRectFrame,   {},                            "Spiral rectangle"},
    /* 153 */ {ekEffect, CircleShredFrame,  {},                            "Circular shred"},

    // Triangles and diamonds: from the middles of edges, about the centre.
    /* 154 */ {ekEffect, VFrame,            Edges(edNear, edNone),         "Reveal V from left"},
    /* 155 */ {ekEffect, VFrame,            Edges(edFar, edNone),          "Reveal V from right"},
    /* 156 */ {ekEffect, VFrame,            Edges(edNone, edNear),         "Reveal V from top"},
    /* 157 */ {ekEffect, VFrame,            Edges(edNone, edFar),          "Reveal V from bottom"},
    /* 158 */ {ekEffect, BowTieFrame,       {.X = edSides, .Reach = 1},    "Bow Tie Horizontal"},
    /* 159 */ {ekEffect, BowTieFrame,       {.Y = edSides, .Reach = 2},    "Bow Tie Vertical"},
    /* 160 */ {ekEffect, CrossFrame,        {.Inward = true},              "Diagonal Cross In"},
    /* 161 */ {ekEffect, CrossFrame,        {.Inward = false},             "Diagonal Cross Out"},
    /* 162 */ {ekEffect, ZigzagFrame,       {.Orientation = orHorizontal}, "Zigzag Horizontal"},
    /* 163 */ {ekEffect, ZigzagFrame,       {.Orientation = orVertical},   "Zigzag Vertical"},
    /* 164 */ {ekEffect, DiamondShredFrame, {},                            "Diamond shred"},
    /* 165 */ {ekEffect, DiamondFrame,      {.Inward = false},             "Reveal diamond out from centre"},
    /* 166 */ {ekEffect, DiamondFrame,      {.Inward = true},              "Reveal diamond in to centre"},
    /* 167 */ {ekEffect, DiagonalBoxFrame,  {},                            "Diagonal Box Out"},

    // Pixel work: coarser and finer blocks, pixels, rows or columns at random, channels.
    /* 168 */ {ekEffect, PixelateFrame,   {},                            "Pixelate"},
    /* 169 */ {ekEffect, DissolveFrame,   {},                            "Dissolve"},
    /* 170 */ {ekEffect, RandomBarsFrame, {.Orientation = orHorizontal}, "Random Bars Horizontal"},
    /* 171 */ {ekEffect, RandomBarsFrame, {.Orientation = orVertical},   "Random Bars Vertical"},
    /* 172 */ {ekEffect, ChannelMixFrame, {},                            "Channel Mix"},
}});
// clang-format on

}  // namespace pelwick
