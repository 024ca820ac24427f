#pragma once

#include "slideshow/Effects.h"

// The frame routines of the style catalogue, by family; each family has a file of its own
// and serves all its styles, reading TFrame::Style:
//   CrossFade.cpp     118, the cross-fade
//   StylesRect.cpp    1..57, rectangles that move, stretch and mirror
//   StylesRegion.cpp  58..117 and 123..127, regions from the builders in gfx/RegionBuilders
//   StylesPivot.cpp   119..122, the picture turned about a corner
//   Effects*.cpp      128..172, the named effects
namespace pelwick {

// 118: each channel becomes old * (100 - P) / 100 + new * P / 100.
void FadeFrame(TFrame& frame);

// 1..57: sets Dest and Src, copying the extra pieces of a style first.
void RectStyleFrame(TFrame& frame);

// 58..117 and 123..127: sets Region.
void RegionStyleFrame(TFrame& frame);

// 119..122: turns the new picture onto Screen.
void PivotFrame(TFrame& frame);

}  // namespace pelwick
