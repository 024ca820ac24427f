#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/Bitmap.h"

namespace pelwick {

// Pictures larger than this many pixels are refused before any pixel memory is taken.
inline constexpr std::uint64_t MaxPicturePixels = 100'000'000;

// Progressive JPEG files with more scans than this are refused: each scan costs a pass over
// the whole picture, so a file made of tiny scans could keep the decoder busy for minutes.
inline constexpr int MaxJpegScans = 500;
// The passes over coefficients a progressive JPEG may cost in all (scans times pixels): a
// 48-megapixel photo keeps 20 scans, a small picture the full MaxJpegScans.
inline constexpr std::uint64_t JpegScanWork = 1'000'000'000;
// What libjpeg may hold for one picture (a progressive picture keeps all its coefficients).
inline constexpr long JpegMemory = 320L << 20;

// What the picture will be shown at, so that a decoder may make it no larger than needed.
// Shrinks: the size mode scales a larger picture down to about Width x Height.
struct TDecodeTarget {
    int Width = 0, Height = 0;
    bool Shrinks = false;
};

// Decodes a whole JPEG file (baseline or progressive; colour, gray, CMYK or YCCK) into a
// 24-bit bitmap, turned upright as its Exif orientation says. When the target shrinks it,
// a picture of at least twice the target's size is decoded at a half, a quarter or an
// eighth of its size, never below the target. Raises EInvalidGraphic for a corrupt,
// truncated or too large picture and EFileError when the file cannot be read; never ends
// the process.
TBitmap DecodeJpegFile(const std::string& fileName, const TDecodeTarget& target = {});
TBitmap DecodeJpeg(std::string_view bytes, const TDecodeTarget& target = {});

// The orientation (1..8) an Exif block of a JPEG gives, 1 when there is none or it cannot be
// read; only the orientation tag is read, every offset checked.
int ExifOrientation(std::string_view app1);

// Decodes the first image of a GIF file onto a 24-bit bitmap of the file's logical-screen
// size; later images are never decoded. The image is clipped to the logical screen. What
// it does not cover shows the GIF's background colour, transparent pixels show background,
// and so does every pixel whose colour cannot be looked up (no colour table, an index past
// the table). A huge logical screen that the target shrinks is made at a whole fraction of
// its size. Raises EInvalidGraphic or EFileError like DecodeJpegFile.
TBitmap DecodeGifFile(const std::string& fileName, TColor background,
                      const TDecodeTarget& target = {});
TBitmap DecodeGif(std::string_view bytes, TColor background, const TDecodeTarget& target = {});

// A PNG or WebP picture with alpha passes through four bytes a pixel on its way to three,
// so it may have fewer pixels.
inline constexpr std::uint64_t MaxAlphaPixels = 50'000'000;

// PNG and WebP pictures (any of their colour types and depths) as 24-bit bitmaps, alpha
// composed over black. Raises EInvalidGraphic or EFileError like DecodeJpegFile.
TBitmap DecodePngFile(const std::string& fileName);
TBitmap DecodePng(std::string_view bytes);
TBitmap DecodeWebpFile(const std::string& fileName);
TBitmap DecodeWebp(std::string_view bytes);

// Decodes a Windows bitmap file (1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or
// with bit fields, bottom-up or top-down) into a 24-bit bitmap. Every header field is
// checked against the file before a row is read; raises EInvalidGraphic when one does not
// fit and EFileError when the file cannot be read.
TBitmap ReadBmpFile(const std::string& fileName);
TBitmap DecodeBmp(std::string_view bytes);

}  // namespace pelwick
