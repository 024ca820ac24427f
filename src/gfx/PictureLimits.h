#pragma once

#include <cstdint>
#include <string_view>

#include "gfx/PictureDecoders.h"

namespace pelwick {

// What a picture file may ask of memory. A decoder checks the size a file declares before
// it takes memory for it: that the file is large enough to hold so many pixels of a real
// picture, and that what it must hold at once fits the target.

// Pictures up to this many pixels cost little whatever their file holds; larger ones must
// bring at least the bytes that real pictures of their size always take.
inline constexpr std::uint64_t FreePicturePixels = 4'000'000;

// How many pixels one byte of a file holds at most, for formats whose coding has no hard
// bound a decoder could compute from the header. Every figure lies far beyond what real
// pictures reach (a flat single colour is the most compressible picture there is).
// JPEG codes each 8 x 8 block of each component in at least one bit with Huffman coding,
// 512 pixels a byte for gray; arithmetic coding can do better, hence 4096.
inline constexpr std::uint64_t JpegPixelsPerByte = 4096;
// LZW emits a code of at most 12 bits for a run of at most 4096 pixels: 2731 pixels a byte.
inline constexpr std::uint64_t GifPixelsPerByte = 4096;
// Lossless WebP and HEIF codings can code a flat picture in next to no bits at all; 65536
// pixels a byte still refuses a file of a few hundred bytes that claims 100 megapixels.
inline constexpr std::uint64_t WebpPixelsPerByte = 65536;
inline constexpr std::uint64_t HeifPixelsPerByte = 65536;
// Deflate expands a byte into at most 1032 bytes (258-byte matches of 2 bits each), so a PNG
// whose rows need more than 1032 times its size cannot hold them.
inline constexpr std::uint64_t DeflateExpansion = 1032;

// The fewest bytes a real picture of pixels takes at pixelsPerByte; 0 when it is small
// enough to cost little (FreePicturePixels).
std::uint64_t LeastPictureBytes(std::uint64_t pixels, std::uint64_t pixelsPerByte);

// Raises EInvalidGraphic ("Invalid <format> picture: declares W x H pixels in N bytes")
// when a file of fileBytes is smaller than leastBytes.
void CheckPlausible(std::string_view format, std::uint64_t width, std::uint64_t height,
                    std::uint64_t fileBytes, std::uint64_t leastBytes);

// Raises EInvalidGraphic when a decoder would hold a picture of width x height at once
// (the whole picture, or what it keeps of it while reducing) and that is more than the
// target takes.
void CheckHeldSize(std::string_view format, std::uint64_t width, std::uint64_t height,
                   const TDecodeTarget& target);

}  // namespace pelwick
