#pragma once

#include "aatext/AAEffect.h"
#include "gfx/Bitmap.h"

// The foreground pictures that text is filled with, each made at the mask's size in 24 bits.
namespace pelwick {

// Places picture on the whole of target: repeated from the top-left corner, stretched over
// it, centred, or once at the top-left corner.
void PlacePicture(TBitmap& target, const TBitmap& picture, TTextureMode mode);

// The colour ramp of gradual across a width x height picture. A picture that is only the
// part of a wider text from column left on takes that part of the ramp across fullWidth.
void BuildGradient(TBitmap& picture, int width, int height, const TAAGradual& gradual, int left = 0,
                   int fullWidth = -1);

// The texture's picture placed by its mode over the font colour.
void BuildTexture(TBitmap& picture, int width, int height, TColor fontColor,
                  const TAATexture& texture);

// The font colour with every channel of every pixel moved by random(0..noise-1) - noise div 2.
void BuildNoise(TBitmap& picture, int width, int height, TColor fontColor, int noise);

// Moves every channel of an existing picture in the same way.
void AddNoise(TBitmap& picture, int noise);

}  // namespace pelwick
