#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/Bitmap.h"

namespace pelwick {

// Pictures larger than this many pixels are refused before any pixel memory is taken.
inline constexpr std::uint64_t MaxPicturePixels = 100'000'000;

// Decodes a Windows bitmap file (1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or
// with bit fields, bottom-up or top-down) into a 24-bit bitmap. Every header field is
// checked against the file before a row is read; raises EInvalidGraphic when one does not
// fit and EFileError when the file cannot be read.
TBitmap ReadBmpFile(const std::string& fileName);
TBitmap DecodeBmp(std::string_view bytes);

// The bitmap as a bottom-up 24-bit Windows bitmap file.
std::string EncodeBmp(const TBitmap& bitmap);

}  // namespace pelwick
