#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PictureData.h"
#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"

namespace pelwick {
namespace {

using test::DataFile;
using test::ExpectNear;
using test::ReadData;

const TColor Orange = RGB(200, 100, 50);

using TPixels = std::vector<std::pair<TPoint, TColor>>;
const TPixels Quadrants{{{6, 4}, clRed}, {{30, 4}, clLime}, {{6, 19}, clBlue}, {{30, 19}, clWhite}};
// The quadrants turned a quarter clockwise.
const TPixels Turned{{{3, 3}, clBlue}, {{19, 3}, clRed}, {{3, 33}, clWhite}, {{19, 33}, clLime}};
const TPixels Strip{{{2, 5}, Orange}, {{8, 5}, RGB(100, 50, 25)}, {{15, 5}, clBlack}};

// The samples (made by tests/slideshow/make-heif-pictures.sh) with their size and a pixel of
// each area. deep.heic has ten bits a channel. exif6.heic holds the quadrants with an Exif
// orientation that says "turn a quarter": the file has no rotation of its own, so the pixels come
// out as stored. turned.heic adds that rotation (irot) as phones do: turned once, never twice. The
// alpha samples are composed over black whatever the target's background; premultiplied.heic holds
// its colours multiplied by alpha already and must come out as the others.
const struct {
    const char* file;
    int width, height;
    const TPixels& pixels;
} GoodRows[] = {
    {"quadrants.heic", 37, 23, Quadrants}, {"quadrants.avif", 37, 23, Quadrants},
    {"deep.heic", 37, 23, Quadrants},      {"exif6.heic", 37, 23, Quadrants},
    {"turned.heic", 23, 37, Turned},       {"alpha.heic", 17, 11, Strip},
    {"alpha.avif", 17, 11, Strip},         {"premultiplied.heic", 17, 11, Strip},
};

TEST(HeifDecoder, HeicAndAvifDecodeUprightAndAlphaOverBlack) {
    for (const auto& row : GoodRows) {
        const TBitmap b = DecodePictureFile(DataFile(row.file), {.Background = RGB(1, 2, 3)});
        ASSERT_EQ(b.Width(), row.width) << row.file;
        ASSERT_EQ(b.Height(), row.height) << row.file;
        EXPECT_EQ(b.PixelFormat(), pf24bit) << row.file;
        for (const auto& [at, colour] : row.pixels)
            ExpectNear(
                b.Pixel(at.X, at.Y), colour,
                std::string(row.file) + " at " + std::to_string(at.X) + "," + std::to_string(at.Y));
    }
}

// The file with every image's size box (ispe: version and flags, width, height) claiming
// another size; the primary's and its alpha image's.
std::string WithSize(std::string bytes, std::uint32_t width, std::uint32_t height) {
    for (std::size_t at = bytes.find("ispe"); at != std::string::npos;
         at = bytes.find("ispe", at + 1))
        for (int i = 0; i < 4; ++i) {
            bytes[at + 8 + i] = static_cast<char>(width >> (24 - 8 * i));
            bytes[at + 12 + i] = static_cast<char>(height >> (24 - 8 * i));
        }
    return bytes;
}

// The file with the canvas size of its index-th grid (the descriptors heif-enc keeps in the
// idat box, eight bytes each: version, flags, rows, columns, width and height in 16 bits)
// claiming another size; its size box stays as it was.
std::string WithGridCanvas(std::string bytes, int index, std::uint16_t width,
                           std::uint16_t height) {
    const std::size_t at = bytes.find("idat") + 4 + 8 * index + 4;
    bytes[at] = static_cast<char>(width >> 8), bytes[at + 1] = static_cast<char>(width);
    bytes[at + 2] = static_cast<char>(height >> 8), bytes[at + 3] = static_cast<char>(height);
    return bytes;
}

TEST(HeifDecoder, BrokenForeignAndLyingFilesFail) {
    const std::string heic = ReadData("quadrants.heic");
    const std::string avif = ReadData("quadrants.avif");
    const std::string alpha = ReadData("alpha.heic");
    std::string noise(600, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>(i * 7919 % 251);
    const struct {
        const char* why;
        std::string bytes;
        bool tooLarge = false;
    } rows[] = {
        {"empty", ""},
        {"a JPEG", ReadData("baseline.jpg")},
        {"a PNG", ReadData("quadrants.png")},
        {"noise", noise},
        {"the file type box only", heic.substr(0, 24)},
        {"cut in its boxes", heic.substr(0, heic.size() / 3)},
        {"cut in its coded picture", heic.substr(0, heic.size() - 40)},
        {"AVIF cut in its coded picture", avif.substr(0, avif.size() - 40)},
        {"no size", WithSize(heic, 0, 0)},
        {"268 megapixels", WithSize(heic, 16384, 16384), true},
        {"wider than libheif allows", WithSize(heic, 0xFFFFFFFF, 1), true},
        {"AVIF of 268 megapixels", WithSize(avif, 16384, 16384), true},
        {"64 megapixels with alpha", WithSize(alpha, 8000, 8000), true},
        {"a grid of 400 megapixels", WithGridCanvas(heic, 0, 20000, 20000), true},
        {"an alpha grid of 400 megapixels", WithGridCanvas(alpha, 1, 20000, 20000), true},
    };
    for (const auto& row : rows) {
        try {
            DecodeHeif(row.bytes, {});
            ADD_FAILURE() << row.why << ": decoded";
        } catch (const EInvalidGraphic& e) {
            if (row.tooLarge) {
                EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos)
                    << row.why << ": " << e.what();
            }
        }
    }
}

}  // namespace
}  // namespace pelwick
