#pragma once

#include <string>

#include "gfx/Bitmap.h"
#include "slideshow/PictureScreen.h"

namespace pelwick::test {

// A fixture picture of tests/data/slideshow.
std::string DataFile(const std::string& name);
std::string ReadData(const std::string& name);

TBitmap Solid(int w, int h, TColor color);
// Every pixel different: red from x, green from y, blue from both.
TBitmap Pattern(int w, int h);
// Writes bitmap as a BMP file at path.
void WritePicture(const std::string& path, const TBitmap& bitmap);

// Brings bitmap on screen at once: a manual transition to 100, then stopped.
void ShowAtOnce(TCustomGlimrascreen& control, const TBitmap& bitmap);

// Whether every pixel of a matches b.
bool SamePixels(const TBitmap& a, const TBitmap& b);
// How far a transition of a w x h picture has gone at progress p, worked out here from the
// styles' definition: the longer side goes p percent of the way, the other in proportion.
TPoint ProgressXY(int w, int h, int p);
// Whether the control's PaintBuffer shows bitmap with its top-left at (x, y).
bool ShowsAt(const TCustomGlimrascreen& control, const TBitmap& bitmap, int x, int y);

}  // namespace pelwick::test
