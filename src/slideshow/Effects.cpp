#include "slideshow/Effects.h"

#include "slideshow/Styles.h"

namespace pelwick {

void TFrame::CopyPiece(const TRect& dest, const TRect& src) {
    Screen.Canvas().CopyRect(dest, Picture, src);
    if (OnPiece) OnPiece(dest);
}

// The names are the catalogue's own, spelling included; entries 33 and 34 repeat the names of
// 18 and 25.
const TEffectTable EffectTable({{
    // Rectangles: Dest and Src move, stretch or mirror.
    {"Expand from right", ekRects, nullptr},  // 1
    {"Expand from left", ekRects, nullptr},  // 2
    {"Slide in from right", ekRects, nullptr},  // 3
    {"Slide in from left", ekRects, nullptr},  // 4
    {"Reveal from left", ekRects, nullptr},  // 5
    {"Reveal from right", ekRects, nullptr},  // 6
    {"Expand in from right", ekRects, nullptr},  // 7
    {"Expand in from left", ekRects, nullptr},  // 8
    {"Expand in to middle", ekRects, nullptr},  // 9
    {"Expand out from middle", ekRects, nullptr},  // 10
    {"Reveal out from middle", ekRects, nullptr},  // 11
    {"Reveal in from sides", ekRects, nullptr},  // 12
    {"Expand in from sides", ekRects, nullptr},  // 13
    {"Unroll from left", ekRects, nullptr},  // 14
    {"Unroll from right", ekRects, nullptr},  // 15
    {"Build up from right", ekRects, nullptr},  // 16
    {"Build up from left", ekRects, nullptr},  // 17
    {"Expand from bottom", ekRects, nullptr},  // 18
    {"Expand from top", ekRects, nullptr},  // 19
    {"Slide in from bottom", ekRects, nullptr},  // 20
    {"Slide in from top", ekRects, nullptr},  // 21
    {"Reveal from top", ekRects, nullptr},  // 22
    {"Reveal from bottom", ekRects, nullptr},  // 23
    {"Expand in from bottom", ekRects, nullptr},  // 24
    {"Expand in from top", ekRects, nullptr},  // 25
    {"Expand in to middle (horiz)", ekRects, nullptr},  // 26
    {"Expand out from middle (horiz)", ekRects, nullptr},  // 27
    {"Reveal from middle (horiz)", ekRects, nullptr},  // 28
    {"Slide in from top / bottom", ekRects, nullptr},  // 29
    {"Expand in from top / bottom", ekRects, nullptr},  // 30
    {"Unroll from top", ekRects, nullptr},  // 31
    {"Unroll from bottom", ekRects, nullptr},  // 32
    {"Expand from bottom", ekRects, nullptr},  // 33
    {"Expand in from top", ekRects, nullptr},  // 34
    {"Expand from bottom right", ekRects, nullptr},  // 35
    {"Expand from top right", ekRects, nullptr},  // 36
    {"Expand from top left", ekRects, nullptr},  // 37
    {"Expand from bottom left", ekRects, nullptr},  // 38
    {"Slide in from bottom right", ekRects, nullptr},  // 39
    {"Slide in from top right", ekRects, nullptr},  // 40
    {"Slide in from top left", ekRects, nullptr},  // 41
    {"Slide in from bottom left", ekRects, nullptr},  // 42
    {"Reveal from top left", ekRects, nullptr},  // 43
    {"Reveal from bottom left", ekRects, nullptr},  // 44
    {"Reveal from bottom right", ekRects, nullptr},  // 45
    {"Reveal from top right", ekRects, nullptr},  // 46
    {"Appear and Contract to top left", ekRects, nullptr},  // 47
    {"Appear and Contract to bottom left", ekRects, nullptr},  // 48
    {"Appear and Contract to bottom right", ekRects, nullptr},  // 49
    {"Appear and Contract to top right", ekRects, nullptr},  // 50
    {"Appear and Contract to middle", ekRects, nullptr},  // 51
    {"Expand out from centre", ekRects, nullptr},  // 52
    {"Reveal out from centre", ekRects, nullptr},  // 53
    {"Reveal in to centre", ekRects, nullptr},  // 54
    {"Quarters Reveal in to middle", ekRects, nullptr},  // 55
    {"Quarters Expand to middle", ekRects, nullptr},  // 56
    {"Quarters Slide in to middle", ekRects, nullptr},  // 57
    // Regions: rounded corners, bars, shreds and triangles.
    {"Curved Reveal from left", ekRegion, nullptr},  // 58
    {"Curved Reveal from right", ekRegion, nullptr},  // 59
    {"Bars in from right", ekRegion, nullptr},  // 60
    {"Bars in from left", ekRegion, nullptr},  // 61
    {"Bars left then right", ekRegion, nullptr},  // 62
    {"Bars right then left", ekRegion, nullptr},  // 63
    {"Bars from both sides", ekRegion, nullptr},  // 64
    {"Uneven shred from right", ekRegion, nullptr},  // 65
    {"Uneven shred from left", ekRegion, nullptr},  // 66
    {"Uneven shred out from middle (horiz)", ekRegion, nullptr},  // 67
    {"Uneven shred in to middle (horiz)", ekRegion, nullptr},  // 68
    {"Curved Reveal from top", ekRegion, nullptr},  // 69
    {"Curved Reveal from bottom", ekRegion, nullptr},  // 70
    {"Bars from bottom", ekRegion, nullptr},  // 71
    {"Bars from top", ekRegion, nullptr},  // 72
    {"Bars top then bottom", ekRegion, nullptr},  // 73
    {"Bars bottom then top", ekRegion, nullptr},  // 74
    {"Bars from top and bottom", ekRegion, nullptr},  // 75
    {"Unven shred from bottom", ekRegion, nullptr},  // 76
    {"Uneven shred from top", ekRegion, nullptr},  // 77
    {"Uneven shred from horizon", ekRegion, nullptr},  // 78
    {"Uneven shred in to horizon", ekRegion, nullptr},  // 79
    {"Curved reveal from top left", ekRegion, nullptr},  // 80
    {"Curved reveal from top right", ekRegion, nullptr},  // 81
    {"Curved reveal from bottom left", ekRegion, nullptr},  // 82
    {"Curved reveal from bottom right", ekRegion, nullptr},  // 83
    {"Elliptic reveal out from centre", ekRegion, nullptr},  // 84
    {"Elliptic reveal in to centre", ekRegion, nullptr},  // 85
    {"Criss Cross reveal from bottom right", ekRegion, nullptr},  // 86
    {"Criss Cross reveal from top right", ekRegion, nullptr},  // 87
    {"Criss Cross reveal from bottom left", ekRegion, nullptr},  // 88
    {"Criss Cross reveal from top left", ekRegion, nullptr},  // 89
    {"Criss Cross reveal bounce from top left", ekRegion, nullptr},  // 90
    {"Criss Cross reveal bounce from bottom left", ekRegion, nullptr},  // 91
    {"Criss Cross reveal bounce from top right", ekRegion, nullptr},  // 92
    {"Criss Cross reveal bounce from bottom right", ekRegion, nullptr},  // 93
    {"Criss Cross reveal from right top and bottom", ekRegion, nullptr},  // 94
    {"Criss Cross reveal from left top and bottom", ekRegion, nullptr},  // 95
    {"Criss Cross reveal from left right and bottom", ekRegion, nullptr},  // 96
    {"Criss Cross reveal from left right and top", ekRegion, nullptr},  // 97
    {"Criss Cross reveal from top left right and bottom", ekRegion, nullptr},  // 98
    {"Criss Cross reveal from bottom left top right", ekRegion, nullptr},  // 99
    {"Uneven shred from bottom and right", ekRegion, nullptr},  // 100
    {"Uneven shred from top and right", ekRegion, nullptr},  // 101
    {"Uneven shred from bottom and left", ekRegion, nullptr},  // 102
    {"Uneven shred from top and left", ekRegion, nullptr},  // 103
    {"Uneven shred from horiz and right", ekRegion, nullptr},  // 104
    {"Uneven shred from horiz and left", ekRegion, nullptr},  // 105
    {"Uneven shred from bottom and vert middle", ekRegion, nullptr},  // 106
    {"Uneven shred from top and vert middle", ekRegion, nullptr},  // 107
    {"Uneven shred from centre", ekRegion, nullptr},  // 108
    {"Uneven shred to centre", ekRegion, nullptr},  // 109
    {"Reveal diagonal from top left", ekRegion, nullptr},  // 110
    {"Reveal diagonal from top right", ekRegion, nullptr},  // 111
    {"Reveal diagonal from bottom left", ekRegion, nullptr},  // 112
    {"Reveal diagonal from bottom right", ekRegion, nullptr},  // 113
    {"Diagonal sweep from top left bottom right anticlockwise", ekRegion, nullptr},  // 114
    {"Diagonal sweep from top left bottom right clockwise", ekRegion, nullptr},  // 115
    {"Starburst clockwise from center", ekRegion, nullptr},  // 116
    {"Starburst anticlockwise from center", ekRegion, nullptr},  // 117
    // The cross-fade, and the pivots that turn the picture in place.
    {"Fade", ekDrawn, FadeFrame},  // 118
    {"Triangular shred", ekDrawn, nullptr},  // 119
    {"Pivot from top left", ekDrawn, nullptr},  // 120
    {"Pivot from bottom left", ekDrawn, nullptr},  // 121
    {"Pivot from top right", ekDrawn, nullptr},  // 122
    // Speckles and squares.
    {"Pivot from bottom right", ekRegion, nullptr},  // 123
    {"Speckle appear from right", ekRegion, nullptr},  // 124
    {"Speckle appear from left", ekRegion, nullptr},  // 125
    {"Speckle appear from bottom", ekRegion, nullptr},  // 126
    {"Speckle appear from top", ekRegion, nullptr},  // 127
    // The named effects: regions, pushes and squeezes, pixel work.
    {"Random squares appear", ekEffect, nullptr},  // 128
    {"Push right", ekEffect, nullptr},  // 129
    {"Push left", ekEffect, nullptr},  // 130
    {"Push and squeeze right", ekEffect, nullptr},  // 131
    {"Push and squeeze left", ekEffect, nullptr},  // 132
    {"Push down", ekEffect, nullptr},  // 133
    {"Push up", ekEffect, nullptr},  // 134
    {"Push and sqeeze down", ekEffect, nullptr},  // 135
    {"Push and sqeeze up", ekEffect, nullptr},  // 136
    {"Blind vertically", ekEffect, nullptr},  // 137
    {"Blind horizontally", ekEffect, nullptr},  // 138
    {"Uneven blind from left", ekEffect, nullptr},  // 139
    {"Uneven blind from right", ekEffect, nullptr},  // 140
    {"Uneven blind from top", ekEffect, nullptr},  // 141
    {"Uneven blind from bottom", ekEffect, nullptr},  // 142
    {"Rectangular shred", ekEffect, nullptr},  // 143
    {"Sweep clockwise", ekEffect, nullptr},  // 144
    {"Sweep anticlockwise", ekEffect, nullptr},  // 145
    {"Rectangles apear from left and disapear to right", ekEffect, nullptr},  // 146
    {"Rectangles apear from right and disapear to left", ekEffect, nullptr},  // 147
    {"Rectangles apear from up and disapear to bottom", ekEffect, nullptr},  // 148
    {"Rectangles apear from bottom and disapear to up", ekEffect, nullptr},  // 149
    {"Rotational rectangle in center", ekEffect, nullptr},  // 150
    {"Rotational star in center", ekEffect, nullptr},  // 151
    {"Spiral rectangle", ekEffect, nullptr},  // 152
    {"Circular shred", ekEffect, nullptr},  // 153
    {"Reveal V from left", ekEffect, nullptr},  // 154
    {"Reveal V from right", ekEffect, nullptr},  // 155
    {"Reveal V from top", ekEffect, nullptr},  // 156
    {"Reveal V from bottom", ekEffect, nullptr},  // 157
    {"Bow Tie Horizontal", ekEffect, nullptr},  // 158
    {"Bow Tie Vertical", ekEffect, nullptr},  // 159
    {"Diagonal Cross In", ekEffect, nullptr},  // 160
    {"Diagonal Cross Out", ekEffect, nullptr},  // 161
    {"Zigzag Horizontal", ekEffect, nullptr},  // 162
    {"Zigzag Vertical", ekEffect, nullptr},  // 163
    {"Diamond shred", ekEffect, nullptr},  // 164
    {"Reveal diamond out from centre", ekEffect, nullptr},  // 165
    {"Reveal diamond in to centre", ekEffect, nullptr},  // 166
    {"Diagonal Box Out", ekEffect, nullptr},  // 167
    {"Pixelate", ekEffect, nullptr},  // 168
    {"Dissolve", ekEffect, nullptr},  // 169
    {"Random Bars Horizontal", ekEffect, nullptr},  // 170
    {"Random Bars Vertical", ekEffect, nullptr},  // 171
    {"Channel Mix", ekEffect, nullptr},  // 172
}});

}  // namespace pelwick
