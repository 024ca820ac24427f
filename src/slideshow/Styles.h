#pragma once

#include "slideshow/Effects.h"

// The frame routines of the style catalogue, by family; each family has a file of its own
// and serves all its styles, reading TFrame::Style:
//   CrossFade.cpp     118, the cross-fade
//   StylesRect.cpp    1..57, rectangles that move, stretch and mirror
//   StylesRegion.cpp  58..117 and 123..127, regions from the builders in gfx/RegionBuilders
//   StylesPivot.cpp   119..122, the picture turned about a corner
//   EffectsRegion.cpp 128, 137..167, the named effects drawn through a region
//   EffectsPush.cpp   129..136, the pushes and squeezes
//   EffectsPixel.cpp  168..172, the named effects that work on pixels
namespace pelwick {

// 118: each channel becomes old * (100 - P) / 100 + new * P / 100.
void FadeFrame(TFrame& frame);

// 1..57: sets Dest and Src, copying the extra pieces of a style first.
void RectStyleFrame(TFrame& frame);

// 58..117 and 123..127: sets Region.
void RegionStyleFrame(TFrame& frame);

// 119..122: turns the new picture onto Screen.
void PivotFrame(TFrame& frame);

// The named effects, called only for progress 1..99; Screen holds the old snapshot unless
// frame.Snapshot is set.
void RegionEffectFrame(TFrame& frame);
void PushEffectFrame(TFrame& frame);
void PixelEffectFrame(TFrame& frame);

}  // namespace pelwick
