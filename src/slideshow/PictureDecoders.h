#pragma once

#include <string>
#include <string_view>

#include "gfx/Bitmap.h"

namespace pelwick {

// Progressive JPEG files with more scans than this are refused: each scan costs a pass over
// the whole picture, so a file made of tiny scans could keep the decoder busy for minutes.
inline constexpr int MaxJpegScans = 500;

// Decodes a whole JPEG file (baseline or progressive; colour, gray, CMYK or YCCK) at full
// scale into a 24-bit bitmap. Raises EInvalidGraphic for a corrupt, truncated or too large
// picture and EFileError when the file cannot be read; never ends the process.
TBitmap DecodeJpegFile(const std::string& fileName);
TBitmap DecodeJpeg(std::string_view bytes);

// Decodes the first image of a GIF file onto a 24-bit bitmap of the file's logical-screen
// size; later images are never decoded. The image is clipped to the logical screen. What
// it does not cover shows the GIF's background colour, transparent pixels show background,
// and so does every pixel whose colour cannot be looked up (no colour table, an index past
// the table). Raises EInvalidGraphic or EFileError like DecodeJpegFile.
TBitmap DecodeGifFile(const std::string& fileName, TColor background);
TBitmap DecodeGif(std::string_view bytes, TColor background);

}  // namespace pelwick
