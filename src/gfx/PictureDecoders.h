#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/Bitmap.h"

namespace pelwick {

// The picture formats the program reads: a decoder per format, each in a file of its own
// (JpegDecoder.cpp, GifDecoder.cpp, ...), and the table PictureFormats at the end, which
// whatever reads or fuzzes pictures consults instead of naming formats itself. The picture
// list (PictureList.cpp in app, below this library) keeps a list of the table's extensions.
//
// Every decoder takes a whole file's bytes and gives a 24-bit bitmap. It checks the sizes a
// file claims before it takes memory for them, raises EInvalidGraphic for a corrupt,
// truncated or too large picture, and never ends the process.

// Pictures larger than this many pixels are refused before any pixel memory is taken.
inline constexpr std::uint64_t MaxPicturePixels = 100'000'000;
// A picture with alpha passes through four bytes a pixel on its way to three, so it may
// have fewer pixels.
inline constexpr std::uint64_t MaxAlphaPixels = 50'000'000;
// Files larger than this are refused before they are read: no picture within the limits
// above takes as many bytes, and a file is read whole before it is decoded.
inline constexpr std::uint64_t MaxPictureFileBytes = std::uint64_t(1) << 30;

// What the picture will be shown at, so that a decoder may make it no larger than needed.
// Shrinks: the size mode scales a larger picture down to about Width x Height.
// Background: what shows where a picture leaves its area uncovered or transparent, for the
// formats that do not compose over black.
// MaxPixels: the most pixels the decoder may hold the picture at, at once (the whole
// picture, or what it keeps while it reduces one that arrives a row at a time).
// Stretches: the size mode scales to exactly Width x Height, each direction on its own.
struct TDecodeTarget {
    int Width = 0, Height = 0;
    bool Shrinks = false;
    TColor Background = clBlack;
    std::uint64_t MaxPixels = MaxPicturePixels;
    bool Stretches = false;
};

// However small the screen, the slideshow takes pictures of this many pixels.
inline constexpr std::uint64_t ScreenPixelFloor = 32'000'000;
// The most pixels the slideshow lets a decoder hold for a screen of width x height: four
// times its area (a picture shown at half its size in each direction), never less than
// ScreenPixelFloor nor more than MaxPicturePixels.
std::uint64_t ScreenPixelLimit(int width, int height);
// The largest file read for a target: what a picture of target.MaxPixels could take
// uncompressed at 16 bits a channel with alpha, plus room for what files carry beside the
// picture; MaxPictureFileBytes without a limit of the target's own.
std::uint64_t MaxPictureFileBytesFor(const TDecodeTarget& target);

using TPictureDecoder = TBitmap (*)(std::string_view bytes, const TDecodeTarget& target);

// Progressive JPEG files with more scans than this are refused: each scan costs a pass over
// the whole picture, so a file made of tiny scans could keep the decoder busy for minutes.
inline constexpr int MaxJpegScans = 500;
// The passes over coefficients a progressive JPEG may cost in all (scans times pixels): a
// 48-megapixel photo keeps 20 scans, a small picture the full MaxJpegScans.
inline constexpr std::uint64_t JpegScanWork = 1'000'000'000;
// What libjpeg may hold for one picture (a progressive picture keeps all its coefficients).
inline constexpr long JpegMemory = 320L << 20;

// A JPEG picture (baseline or progressive; colour, gray, CMYK or YCCK), turned upright as
// its Exif orientation says. When the target shrinks it, a picture of at least twice the
// target's size is decoded at a half, a quarter or an eighth of its size, never below the
// target.
TBitmap DecodeJpeg(std::string_view bytes, const TDecodeTarget& target = {});

// The orientation (1..8) an Exif block of a JPEG gives, 1 when there is none or it cannot be
// read; only the orientation tag is read, every offset checked.
int ExifOrientation(std::string_view app1);

// The first image of a GIF on a bitmap of the file's logical-screen size; later images are
// never decoded. The image is clipped to the logical screen. What it does not cover shows
// the GIF's background colour, transparent pixels show the target's Background, and so does
// every pixel whose colour cannot be looked up (no colour table, an index past the table).
// A huge logical screen that the target shrinks is made at a whole fraction of its size:
// the same in both directions as far as the fitted picture allows, each direction's own
// when the target stretches. The screen is made only once the image's first row has come.
TBitmap DecodeGif(std::string_view bytes, const TDecodeTarget& target = {});

// A Windows bitmap (1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or with bit fields,
// bottom-up or top-down); every header field is checked against the file before a row is
// read. Always decoded whole.
TBitmap DecodeBmp(std::string_view bytes, const TDecodeTarget& target = {});

// PNG and WebP pictures (any of their colour types and depths), alpha composed over black.
// A picture the target shrinks is never held at full size: a PNG is reduced by a whole
// factor a row at a time as it is read (an interlaced one, whose rows come in passes, is
// decoded whole), a WebP is decoded by libwebp straight at the smallest size of its
// proportions that still covers the target; neither below the target nor 256 pixels.
TBitmap DecodePng(std::string_view bytes, const TDecodeTarget& target = {});
TBitmap DecodeWebp(std::string_view bytes, const TDecodeTarget& target = {});

// The primary image of a HEIF file: HEIC from phones, AVIF, any other coding libheif reads.
// Turned and mirrored as the file's own properties say, never again by an Exif orientation
// inside it. Alpha composed over black, as PNG and WebP. Always decoded whole.
TBitmap DecodeHeif(std::string_view bytes, const TDecodeTarget& target = {});

// A row of the table of formats.
struct TPictureFormat {
    // Lower case; also the name of the format's fuzz target and seed folder.
    std::string_view Name;
    // With their dot, in lower case; a file name's is matched without regard to case.
    // Unused places stay empty.
    std::array<std::string_view, 3> Extensions;
    TPictureDecoder Decode = nullptr;
    // Pictures may have transparent parts: the slideshow flattens them onto its colour.
    bool Transparency = false;
    // A file of the format that is not there is no failure: the slideshow goes on with the
    // picture it holds, as it always has for JPEG files.
    bool MissingIsNoFailure = false;
};

// A file name's extension finds its row; the order is the order formats were added.
inline constexpr TPictureFormat PictureFormats[] = {
    {.Name = "jpeg",
     .Extensions = {".jpg", ".jpeg"},
     .Decode = DecodeJpeg,
     .MissingIsNoFailure = true},
    {.Name = "gif", .Extensions = {".gif"}, .Decode = DecodeGif, .Transparency = true},
    {.Name = "bmp", .Extensions = {".bmp"}, .Decode = DecodeBmp},
    {.Name = "png", .Extensions = {".png"}, .Decode = DecodePng, .Transparency = true},
    {.Name = "webp", .Extensions = {".webp"}, .Decode = DecodeWebp, .Transparency = true},
    // AVIF is a HEIF file too: one reader and one fuzz target for the family.
    {.Name = "heif",
     .Extensions = {".heic", ".heif", ".avif"},
     .Decode = DecodeHeif,
     .Transparency = true},
};

// The format the file name's extension names, in any letter case; raises EInvalidGraphic
// for an extension that no format has.
const TPictureFormat& PictureFormatOf(std::string_view fileName);
// The format of that name, nullptr when there is none.
const TPictureFormat* PictureFormatNamed(std::string_view name);

// Reads the file and decodes it as format. Raises EFileError when it cannot be read or is
// larger than MaxPictureFileBytesFor(target), else what the decoder raises.
TBitmap DecodePictureFile(const TPictureFormat& format, const std::string& fileName,
                          const TDecodeTarget& target = {});
// The same in the format that the file name's extension names.
TBitmap DecodePictureFile(const std::string& fileName, const TDecodeTarget& target = {});

}  // namespace pelwick
