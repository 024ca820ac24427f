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

// The names are the catalogue's own, spelling included; entries 33 and 34 repeat the names of
// 18 and 25. Each entry is named after what it draws.
const TEffectTable EffectTable({{
    // Rectangles: Dest and Src move, stretch or mirror.
    {"Expand from right", ekRects, RectStyleFrame},                    // 1
    {"Expand from left", ekRects, RectStyleFrame},                     // 2
    {"Slide in from right", ekRects, RectStyleFrame},                  // 3
    {"Slide in from left", ekRects, RectStyleFrame},                   // 4
    {"Reveal from left", ekRects, RectStyleFrame},                     // 5
    {"Reveal from right", ekRects, RectStyleFrame},                    // 6
    {"Expand in from right", ekRects, RectStyleFrame},                 // 7
    {"Expand in from left", ekRects, RectStyleFrame},                  // 8
    {"Expand in to middle", ekRects, RectStyleFrame},                  // 9
    {"Expand out from middle", ekRects, RectStyleFrame},               // 10
    {"Reveal out from middle", ekRects, RectStyleFrame},               // 11
    {"Reveal in from sides", ekRects, RectStyleFrame},                 // 12
    {"Expand in from sides", ekRects, RectStyleFrame},                 // 13
    {"Unroll from left", ekRects, RectStyleFrame},                     // 14
    {"Unroll from right", ekRects, RectStyleFrame},                    // 15
    {"Build up from right", ekRects, RectStyleFrame},                  // 16
    {"Build up from left", ekRects, RectStyleFrame},                   // 17
    {"Expand from bottom", ekRects, RectStyleFrame},                   // 18
    {"Expand from top", ekRects, RectStyleFrame},                      // 19
    {"Slide in from bottom", ekRects, RectStyleFrame},                 // 20
    {"Slide in from top", ekRects, RectStyleFrame},                    // 21
    {"Reveal from top", ekRects, RectStyleFrame},                      // 22
    {"Reveal from bottom", ekRects, RectStyleFrame},                   // 23
    {"Expand in from bottom", ekRects, RectStyleFrame},                // 24
    {"Expand in from top", ekRects, RectStyleFrame},                   // 25
    {"Expand in to middle (horiz)", ekRects, RectStyleFrame},          // 26
    {"Expand out from middle (horiz)", ekRects, RectStyleFrame},       // 27
    {"Reveal from middle (horiz)", ekRects, RectStyleFrame},           // 28
    {"Slide in from top / bottom", ekRects, RectStyleFrame},           // 29
    {"Expand in from top / bottom", ekRects, RectStyleFrame},          // 30
    {"Unroll from top", ekRects, RectStyleFrame},                      // 31
    {"Unroll from bottom", ekRects, RectStyleFrame},                   // 32
    {"Expand from bottom", ekRects, RectStyleFrame},                   // 33
    {"Expand in from top", ekRects, RectStyleFrame},                   // 34
    {"Expand from bottom right", ekRects, RectStyleFrame},             // 35
    {"Expand from top right", ekRects, RectStyleFrame},                // 36
    {"Expand from top left", ekRects, RectStyleFrame},                 // 37
    {"Expand from bottom left", ekRects, RectStyleFrame},              // 38
    {"Slide in from bottom right", ekRects, RectStyleFrame},           // 39
    {"Slide in from top right", ekRects, RectStyleFrame},              // 40
    {"Slide in from top left", ekRects, RectStyleFrame},               // 41
    {"Slide in from bottom left", ekRects, RectStyleFrame},            // 42
    {"Reveal from top left", ekRects, RectStyleFrame},                 // 43
    {"Reveal from bottom left", ekRects, RectStyleFrame},              // 44
    {"Reveal from bottom right", ekRects, RectStyleFrame},             // 45
    {"Reveal from top right", ekRects, RectStyleFrame},                // 46
    {"Appear and Contract to top left", ekRects, RectStyleFrame},      // 47
    {"Appear and Contract to bottom left", ekRects, RectStyleFrame},   // 48
    {"Appear and Contract to bottom right", ekRects, RectStyleFrame},  // 49
    {"Appear and Contract to top right", ekRects, RectStyleFrame},     // 50
    {"Appear and Contract to middle", ekRects, RectStyleFrame},        // 51
    {"Expand out from centre", ekRects, RectStyleFrame},               // 52
    {"Reveal out from centre", ekRects, RectStyleFrame},               // 53
    {"Reveal in to centre", ekRects, RectStyleFrame},                  // 54
    {"Quarters Reveal in to middle", ekRects, RectStyleFrame},         // 55
    {"Quarters Expand to middle", ekRects, RectStyleFrame},            // 56
    {"Quarters Slide in to middle", ekRects, RectStyleFrame},          // 57
    // Regions: rounded corners, bars, shreds and triangles.
    {"Curved Reveal from left", ekRegion, RegionStyleFrame},                                  // 58
    {"Curved Reveal from right", ekRegion, RegionStyleFrame},                                 // 59
    {"Bars in from right", ekRegion, RegionStyleFrame},                                       // 60
    {"Bars in from left", ekRegion, RegionStyleFrame},                                        // 61
    {"Bars left then right", ekRegion, RegionStyleFrame},                                     // 62
    {"Bars right then left", ekRegion, RegionStyleFrame},                                     // 63
    {"Bars from both sides", ekRegion, RegionStyleFrame},                                     // 64
    {"Uneven shred from right", ekRegion, RegionStyleFrame},                                  // 65
    {"Uneven shred from left", ekRegion, RegionStyleFrame},                                   // 66
    {"Uneven shred out from middle (horiz)", ekRegion, RegionStyleFrame},                     // 67
    {"Uneven shred in to middle (horiz)", ekRegion, RegionStyleFrame},                        // 68
    {"Curved Reveal from top", ekRegion, RegionStyleFrame},                                   // 69
    {"Curved Reveal from bottom", ekRegion, RegionStyleFrame},                                // 70
    {"Bars from bottom", ekRegion, RegionStyleFrame},                                         // 71
    {"Bars from top", ekRegion, RegionStyleFrame},                                            // 72
    {"Bars top then bottom", ekRegion, RegionStyleFrame},                                     // 73
    {"Bars bottom then top", ekRegion, RegionStyleFrame},                                     // 74
    {"Bars from top and bottom", ekRegion, RegionStyleFrame},                                 // 75
    {"Unven shred from bottom", ekRegion, RegionStyleFrame},                                  // 76
    {"Uneven shred from top", ekRegion, RegionStyleFrame},                                    // 77
    {"Uneven shred from horizon", ekRegion, RegionStyleFrame},                                // 78
    {"Uneven shred in to horizon", ekRegion, RegionStyleFrame},                               // 79
    {"Curved reveal from top left", ekRegion, RegionStyleFrame},                              // 80
    {"Curved reveal from top right", ekRegion, RegionStyleFrame},                             // 81
    {"Curved reveal from bottom left", ekRegion, RegionStyleFrame},                           // 82
    {"Curved reveal from bottom right", ekRegion, RegionStyleFrame},                          // 83
    {"Elliptic reveal out from centre", ekRegion, RegionStyleFrame},                          // 84
    {"Elliptic reveal in to centre", ekRegion, RegionStyleFrame},                             // 85
    {"Criss Cross reveal from bottom right", ekRegion, RegionStyleFrame},                     // 86
    {"Criss Cross reveal from top right", ekRegion, RegionStyleFrame},                        // 87
    {"Criss Cross reveal from bottom left", ekRegion, RegionStyleFrame},                      // 88
    {"Criss Cross reveal from top left", ekRegion, RegionStyleFrame},                         // 89
    {"Criss Cross reveal bounce from top left", ekRegion, RegionStyleFrame},                  // 90
    {"Criss Cross reveal bounce from bottom left", ekRegion, RegionStyleFrame},               // 91
    {"Criss Cross reveal bounce from top right", ekRegion, RegionStyleFrame},                 // 92
    {"Criss Cross reveal bounce from bottom right", ekRegion, RegionStyleFrame},              // 93
    {"Criss Cross reveal from right top and bottom", ekRegion, RegionStyleFrame},             // 94
    {"Criss Cross reveal from left top and bottom", ekRegion, RegionStyleFrame},              // 95
    {"Criss Cross reveal from left right and bottom", ekRegion, RegionStyleFrame},            // 96
    {"Criss Cross reveal from left right and top", ekRegion, RegionStyleFrame},               // 97
    {"Criss Cross reveal from top left right and bottom", ekRegion, RegionStyleFrame},        // 98
    {"Criss Cross reveal from bottom left top right", ekRegion, RegionStyleFrame},            // 99
    {"Uneven shred from bottom and right", ekRegion, RegionStyleFrame},                       // 100
    {"Uneven shred from top and right", ekRegion, RegionStyleFrame},                          // 101
    {"Uneven shred from bottom and left", ekRegion, RegionStyleFrame},                        // 102
    {"Uneven shred from top and left", ekRegion, RegionStyleFrame},                           // 103
    {"Uneven shred from horiz and right", ekRegion, RegionStyleFrame},                        // 104
    {"Uneven shred from horiz and left", ekRegion, RegionStyleFrame},                         // 105
    {"Uneven shred from bottom and vert middle", ekRegion, RegionStyleFrame},                 // 106
    {"Uneven shred from top and vert middle", ekRegion, RegionStyleFrame},                    // 107
    {"Uneven shred from centre", ekRegion, RegionStyleFrame},                                 // 108
    {"Uneven shred to centre", ekRegion, RegionStyleFrame},                                   // 109
    {"Reveal diagonal from top left", ekRegion, RegionStyleFrame},                            // 110
    {"Reveal diagonal from top right", ekRegion, RegionStyleFrame},                           // 111
    {"Reveal diagonal from bottom left", ekRegion, RegionStyleFrame},                         // 112
    {"Reveal diagonal from bottom right", ekRegion, RegionStyleFrame},                        // 113
    {"Diagonal sweep from top left bottom right anticlockwise", ekRegion, RegionStyleFrame},  // 114
    {"Diagonal sweep from top left bottom right clockwise", ekRegion, RegionStyleFrame},      // 115
    {"Starburst clockwise from center", ekRegion, RegionStyleFrame},                          // 116
    {"Triangular shred", ekRegion, RegionStyleFrame},                                         // 117
    // The cross-fade, and the pivots that turn the picture in place.
    {"Fade", ekDrawn, FadeFrame},                      // 118
    {"Pivot from top left", ekDrawn, PivotFrame},      // 119
    {"Pivot from bottom left", ekDrawn, PivotFrame},   // 120
    {"Pivot from top right", ekDrawn, PivotFrame},     // 121
    {"Pivot from bottom right", ekDrawn, PivotFrame},  // 122
    // Speckles and squares.
    {"Speckle appear from right", ekRegion, RegionStyleFrame},   // 123
    {"Speckle appear from left", ekRegion, RegionStyleFrame},    // 124
    {"Speckle appear from bottom", ekRegion, RegionStyleFrame},  // 125
    {"Speckle appear from top", ekRegion, RegionStyleFrame},     // 126
    {"Random squares appear", ekRegion, RegionStyleFrame},       // 127
    // The named effects: regions, pushes and squeezes, pixel work.
    {"Random squares appear", ekEffect, RegionEffectFrame},                             // 128
    {"Push right", ekEffect, PushEffectFrame},                                          // 129
    {"Push left", ekEffect, PushEffectFrame},                                           // 130
    {"Push and squeeze right", ekEffect, PushEffectFrame},                              // 131
    {"Push and squeeze left", ekEffect, PushEffectFrame},                               // 132
    {"Push down", ekEffect, PushEffectFrame},                                           // 133
    {"Push up", ekEffect, PushEffectFrame},                                             // 134
    {"Push and sqeeze down", ekEffect, PushEffectFrame},                                // 135
    {"Push and sqeeze up", ekEffect, PushEffectFrame},                                  // 136
    {"Blind vertically", ekEffect, RegionEffectFrame},                                  // 137
    {"Blind horizontally", ekEffect, RegionEffectFrame},                                // 138
    {"Uneven blind from left", ekEffect, RegionEffectFrame},                            // 139
    {"Uneven blind from right", ekEffect, RegionEffectFrame},                           // 140
    {"Uneven blind from top", ekEffect, RegionEffectFrame},                             // 141
    {"Uneven blind from bottom", ekEffect, RegionEffectFrame},                          // 142
    {"Rectangular shred", ekEffect, RegionEffectFrame},                                 // 143
    {"Sweep clockwise", ekEffect, RegionEffectFrame},                                   // 144
    {"Sweep anticlockwise", ekEffect, RegionEffectFrame},                               // 145
    {"Rectangles apear from left and disapear to right", ekEffect, RegionEffectFrame},  // 146
    {"Rectangles apear from right and disapear to left", ekEffect, RegionEffectFrame},  // 147
    {"Rectangles apear from up and disapear to bottom", ekEffect, RegionEffectFrame},   // 148
    {"Rectangles apear from bottom and disapear to up", ekEffect, RegionEffectFrame},   // 149
    {"Rotational rectangle in center", ekEffect, RegionEffectFrame},                    // 150
    {"Rotational star in center", ekEffect, RegionEffectFrame},                         // 151
    {"Spiral rectangle", ekEffect, RegionEffectFrame},                                  // 152
    {"Circular shred", ekEffect, RegionEffectFrame},                                    // 153
    {"Reveal V from left", ekEffect, RegionEffectFrame},                                // 154
    {"Reveal V from right", ekEffect, RegionEffectFrame},                               // 155
    {"Reveal V from top", ekEffect, RegionEffectFrame},                                 // 156
    {"Reveal V from bottom", ekEffect, RegionEffectFrame},                              // 157
    {"Bow Tie Horizontal", ekEffect, RegionEffectFrame},                                // 158
    {"Bow Tie Vertical", ekEffect, RegionEffectFrame},                                  // 159
    {"Diagonal Cross In", ekEffect, RegionEffectFrame},                                 // 160
    {"Diagonal Cross Out", ekEffect, RegionEffectFrame},                                // 161
    {"Zigzag Horizontal", ekEffect, RegionEffectFrame},                                 // 162
    {"Zigzag Vertical", ekEffect, RegionEffectFrame},                                   // 163
    {"Diamond shred", ekEffect, RegionEffectFrame},                                     // 164
    {"Reveal diamond out from centre", ekEffect, RegionEffectFrame},                    // 165
    {"Reveal diamond in to centre", ekEffect, RegionEffectFrame},                       // 166
    {"Diagonal Box Out", ekEffect, RegionEffectFrame},                                  // 167
    {"Pixelate", ekEffect, PixelEffectFrame},                                           // 168
    {"Dissolve", ekEffect, PixelEffectFrame},                                           // 169
    {"Random Bars Horizontal", ekEffect, PixelEffectFrame},                             // 170
    {"Random Bars Vertical", ekEffect, PixelEffectFrame},                               // 171
    {"Channel Mix", ekEffect, PixelEffectFrame},                                        // 172
}});

}  // namespace pelwick
