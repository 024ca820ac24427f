#include "gfx/PictureLimits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "PictureData.h"
#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"

namespace pelwick {
namespace {

using test::Crc32;

using test::ReadData;

std::string Little(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string Big(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string Chunk(const std::string& type, const std::string& data) {
    return Big(std::uint32_t(data.size()), 4) + type + data + Big(Crc32(type + data), 4);
}

// An 8-bit palette PNG of w x h whose IDAT holds data; without data the file ends after the
// IDAT chunk's header.
std::string PalettePng(std::uint32_t w, std::uint32_t h, const std::string& data) {
    std::string png = "\x89PNG\r\n\x1A\n" +
                      Chunk("IHDR", Big(w, 4) + Big(h, 4) + std::string("\x08\x03\0\0\0", 5)) +
                      Chunk("PLTE", std::string(6, '\x40'));
    return data.empty() ? png + Big(100'000, 4) + "IDAT"
                        : png + Chunk("IDAT", data) + Chunk("IEND", "");
}

// A lossless WebP of w x h in one colour in 38 bytes: no transforms, and prefix codes of a
// single symbol each, which cost no bits at all a pixel.
std::string LosslessWebp(std::uint32_t w, std::uint32_t h) {
    const std::string payload = "\x2F" + Little((w - 1) | ((h - 1) << 14), 4) +
                                std::string("\x88\x88\xFE\x07", 4) + std::string(9, '\0');
    return "RIFF" + Little(std::uint32_t(payload.size() + 12), 4) + "WEBPVP8L" +
           Little(std::uint32_t(payload.size()), 4) + payload;
}

// A GIF with a screen of screenW x screenH and a first image of w x h at (0, 0), whose data
// is a 1 x 1 picture of palette entry 1 when w and h are 1, and missing otherwise.
std::string Gif(std::uint32_t screenW, std::uint32_t screenH, std::uint32_t w, std::uint32_t h) {
    std::string gif = "GIF89a" + Little(screenW, 2) + Little(screenH, 2) +
                      std::string("\x80\0\0", 3) + std::string("\0\0\0\xFF\0\0", 6) + "," +
                      Little(0, 4) + Little(w, 2) + Little(h, 2) + std::string(1, '\0') + "\x02";
    // Clear (4), index 1, end (5) in 3-bit codes.
    return w == 1 && h == 1 ? gif + std::string("\x02\x4C\x01\0;", 5) : gif;
}

// baseline.jpg with its frame header claiming w x h.
std::string JpegDeclaring(std::uint32_t w, std::uint32_t h) {
    std::string jpeg = ReadData("baseline.jpg");
    const size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos) return {};
    jpeg.replace(sof + 5, 4, Big(h, 2) + Big(w, 2));
    return jpeg;
}

// A 32-bit bitmap header of w x h without its rows.
std::string Bmp32(std::uint32_t w, std::uint32_t h) {
    return "BM" + Little(54 + 4 * w * h, 4) + Little(0, 4) + Little(54, 4) + Little(40, 4) +
           Little(w, 4) + Little(h, 4) + Little(1, 2) + Little(32, 2) + std::string(24, '\0');
}

const TDecodeTarget Shown{1920, 1080, true, clBlack, ScreenPixelLimit(1920, 1080)};
const TDecodeTarget Unscaled{1920, 1080, false, clBlack, ScreenPixelLimit(1920, 1080)};

TEST(PictureLimits, TheScreenLimitIsFourScreensNeverBelow32Megapixels) {
    const struct {
        int width, height;
        std::uint64_t limit;
    } rows[] = {
        {0, 0, 32'000'000},       {1920, 1080, 32'000'000},  {3840, 2160, 33'177'600},
        {5120, 2880, 58'982'400}, {7680, 4320, 100'000'000}, {-5, 100, 32'000'000},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ScreenPixelLimit(row.width, row.height), row.limit) << row.width;
}

// Tiny files that claim huge pictures, and pictures held whole beyond the screen's limit,
// are refused before memory is taken for them, saying why.
TEST(PictureLimits, HostileFilesAreRefusedSayingWhy) {
    const std::string palette(100'000, '\0');
    const struct {
        const char* what;
        std::string bytes;
        TPictureDecoder decode;
        const TDecodeTarget& target;
        const char* why;
    } rows[] = {
        {"lossless WebP", LosslessWebp(16383, 6103), DecodeWebp, Shown,
         "declares 16383 x 6103 pixels in 38 bytes"},
        {"JPEG of 98 megapixels", JpegDeclaring(12000, 8192), DecodeJpeg, Shown,
         "declares 12000 x 8192 pixels in 948 bytes"},
        {"PNG ending after its header", PalettePng(10000, 10000, ""), DecodePng, Shown,
         "declares 10000 x 10000 pixels in 59 bytes"},
        {"GIF ending after its header", Gif(10000, 10000, 10000, 10000), DecodeGif, Shown,
         "declares 10000 x 10000 pixels in 30 bytes"},
        {"palette PNG held whole", PalettePng(10000, 10000, palette), DecodePng, Unscaled,
         "10000 x 10000 pixels are more than the 32 megapixels"},
        {"32-bit bitmap", Bmp32(10000, 10000), DecodeBmp, Shown,
         "10000 x 10000 pixels are more than the 32 megapixels"},
        {"GIF screen held whole", Gif(65535, 1525, 1, 1), DecodeGif, Unscaled,
         "65535 x 1525 pixels are more than the 32 megapixels"},
    };
    for (const auto& row : rows) {
        try {
            row.decode(row.bytes, row.target);
            ADD_FAILURE() << row.what << " was decoded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find(row.why), std::string::npos)
                << row.what << ": " << e.what();
        }
    }
}

// A small image on a long, narrow screen is made at a fraction of the screen: in both
// directions alike when it is fitted, each on its own when it is stretched.
TEST(PictureLimits, AHugeGifScreenIsReducedAsTheSizeModeShowsIt) {
    const std::string gif = Gif(65535, 1525, 1, 1);
    TDecodeTarget stretched = Shown;
    stretched.Stretches = true;
    const struct {
        const TDecodeTarget& target;
        int width, height;
    } rows[] = {{Shown, 13107, 305}, {stretched, 1928, 1525}};
    for (const auto& row : rows) {
        const TBitmap b = DecodeGif(gif, row.target);
        EXPECT_EQ(b.Width(), row.width);
        EXPECT_EQ(b.Height(), row.height);
        EXPECT_EQ(b.Pixel(0, 0), clRed);
        EXPECT_EQ(b.Pixel(1, 1), clBlack);
    }
}

}  // namespace
}  // namespace pelwick
