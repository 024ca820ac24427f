#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "gfx/ComplexRegion.h"
#include "gfx/Compose.h"
#include "slideshow/Effects.h"

// What the named effects share: the old picture, the clip-and-copy step, the transition's
// fixed random numbers and the blend of a rectangle.
namespace pelwick {

// The old picture as an effect reads it: the snapshot, or Screen while it holds it.
inline const TBitmap& OldPicture(const TFrame& f) {
    return f.Snapshot ? *f.Snapshot : f.Screen;
}

// Makes Screen hold the old snapshot, for an effect that changes only some of its pixels.
void UseSnapshot(TFrame& f);

// The new picture drawn through region over the old one; without a region Screen keeps the
// old picture.
void ClipAndCopy(TFrame& f, const std::optional<TRegion>& region);
// The same through the union of rects (empties it): over the snapshot straight from its
// bands, never through a region made of thousands of rows of polygons.
void ClipAndCopy(TFrame& f, TComplexRegion& rects);
// The same through a shape that gives its bands itself.
void ClipAndCopy(TFrame& f, const TBandSource& bands);

// A transition's fixed numbers: fill draws them in layout from a sequence seeded with the
// transition's seed the first time one of its frames asks, and later frames get the same
// bytes. A frame without a place for them (composed alone) keeps them in local.
using TPatternFill = std::function<void(TRandomSequence& random, std::vector<std::uint8_t>& out)>;
const std::vector<std::uint8_t>& FixedPattern(TFrame& f, TFixedPattern& local,
                                              TPatternLayout layout, const TPatternFill& fill);

// Each colour channel s of screen inside (left, top, width, height) moves toward the same
// channel p of picture: s + floor(c * (p - s) / 256), with c = 256 * amount / 100 rounded.
// The rectangle is cut to both bitmaps; both must be 24-bit.
void BlendRect(TBitmap& screen, const TBitmap& picture, int amount, int left, int top, int width,
               int height);

// The order in which Channel Mix (172) moves the colour channels (byte offsets in a
// pixel): two different ones drawn by the transition's seed, then the third.
std::array<int, 3> ChannelOrder(std::uint32_t seed);

}  // namespace pelwick
