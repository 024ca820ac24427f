// Pictures decoded smaller than they are because the screen shows them smaller: the
// reduction a row at a time (PNG) and libwebp's scaled decode (WebP).
#include "gfx/RowShrink.h"

#include <gtest/gtest.h>

#include <png.h>
#include <webp/encode.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "PictureData.h"
#include "gfx/Picture.h"

namespace pelwick {
namespace {

const TDecodeTarget Screen300{.Width = 300, .Height = 300, .Shrinks = true};

// Quadrants of 600 x 450 each: red, green / blue, white; alpha 255 or 128 everywhere.
std::vector<std::uint8_t> Quadrants(int w, int h, std::uint8_t alpha) {
    std::vector<std::uint8_t> rgba(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c =
                y < h / 2 ? (x < w / 2 ? clRed : clLime) : (x < w / 2 ? clBlue : clWhite);
            std::uint8_t* p = rgba.data() + (std::size_t(y) * w + x) * 4;
            p[0] = GetRValue(c), p[1] = GetGValue(c), p[2] = GetBValue(c), p[3] = alpha;
        }
    return rgba;
}

std::string Png(int w, int h, std::uint8_t alpha) {
    const std::vector<std::uint8_t> rgba = Quadrants(w, h, alpha);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w), image.height = png_uint_32(h);
    image.format = alpha == 255 ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgb;
    const void* pixels = rgba.data();
    if (alpha == 255) {
        for (std::size_t i = 0; i < rgba.size(); i += 4)
            rgb.insert(rgb.end(), rgba.begin() + std::ptrdiff_t(i),
                       rgba.begin() + std::ptrdiff_t(i) + 3);
        pixels = rgb.data();
    }
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr));
    std::string bytes(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, nullptr));
    return bytes;
}

std::string Webp(int w, int h, std::uint8_t alpha) {
    const std::vector<std::uint8_t> rgba = Quadrants(w, h, alpha);
    std::uint8_t* out = nullptr;
    const size_t size = WebPEncodeLosslessRGBA(rgba.data(), w, h, 4 * w, &out);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    WebPFree(out);
    return bytes;
}

TEST(ShrunkDecode, TheReductionNeverGoesBelowTheTargetNor256Pixels) {
    // width, height, target width, height, shrinks: factor, size
    const std::vector<std::tuple<int, int, int, int, bool, int, TSize>> rows{
        {6000, 4000, 1920, 1080, true, 3, {1920, 1280}},  // 24 MP on a 1080p screen
        {4000, 3000, 1920, 1080, true, 2, {1920, 1440}},
        {1919, 5000, 1920, 1080, true, 1, {1919, 5000}},   // narrower than the screen
        {2000, 2000, 100, 100, true, 7, {256, 256}},       // never below 256 pixels
        {6000, 4000, 1920, 1080, false, 1, {6000, 4000}},  // a size mode that does not scale
        {6000, 4000, 0, 1080, true, 1, {6000, 4000}},      // a control without area
    };
    for (const auto& [w, h, tw, th, shrinks, factor, size] : rows) {
        const TDecodeTarget target{.Width = tw, .Height = th, .Shrinks = shrinks};
        EXPECT_EQ(ShrinkFactor(w, h, target), factor) << w << " x " << h << " to " << tw;
        EXPECT_EQ(ShrunkSize(w, h, target), size) << w << " x " << h << " to " << tw;
    }
}

TEST(ShrunkDecode, EachPixelIsTheAverageOfItsBlockTheEdgeBlocksSmaller) {
    const int w = 7, h = 5, k = 3;
    auto value = [](int x, int y, int c) { return (x * 37 + y * 11 + c * 90) % 256; };
    TRowShrinker shrinker;
    shrinker.Start(w, h, k);
    for (int y = 0; y < h; ++y) {
        std::vector<std::uint8_t> row(w * 3);
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                row[std::size_t(3 * x + c)] = std::uint8_t(value(x, y, c));
        shrinker.AddRow(row.data());
    }
    const TBitmap& out = shrinker.Result();
    ASSERT_EQ(out.Width(), 3);
    ASSERT_EQ(out.Height(), 2);
    for (int oy = 0; oy < 2; ++oy)
        for (int ox = 0; ox < 3; ++ox)
            for (int c = 0; c < 3; ++c) {
                int sum = 0, n = 0;
                for (int y = oy * k; y < std::min(h, oy * k + k); ++y)
                    for (int x = ox * k; x < std::min(w, ox * k + k); ++x)
                        sum += value(x, y, c), ++n;
                EXPECT_EQ(out.ScanLine(oy)[3 * ox + c], (sum + n / 2) / n)
                    << ox << "," << oy << " channel " << c;
            }
}

TEST(ShrunkDecode, PngAndWebpComeAtTheSizeShownWithTheirColours) {
    for (const auto& [name, bytes, decode] :
         {std::tuple<const char*, std::string, TPictureDecoder>{"PNG", Png(1200, 900, 255),
                                                                DecodePng},
          {"PNG with alpha", Png(1200, 900, 128), DecodePng},
          {"WebP", Webp(1200, 900, 255), DecodeWebp},
          {"WebP with alpha", Webp(1200, 900, 128), DecodeWebp}}) {
        const TBitmap whole = decode(bytes, {});
        ASSERT_EQ(whole.Width(), 1200) << name;
        const TBitmap b = decode(bytes, Screen300);
        ASSERT_EQ(b.Width(), 400) << name;
        ASSERT_EQ(b.Height(), 300) << name;
        // Each quadrant's inside keeps the colour of the whole decode (over black with alpha).
        for (const auto& [x, y] : {std::pair{50, 50}, {350, 50}, {50, 250}, {350, 250}})
            test::ExpectNear(b.Pixel(x, y), whole.Pixel(3 * x, 3 * y), name);
    }
}

TEST(ShrunkDecode, BrokenFilesFailAsWhenDecodedWhole) {
    const std::string png = Png(1200, 900, 255);
    for (const std::string& bytes : {png.substr(0, png.size() / 2), png.substr(0, 40)})
        EXPECT_THROW(DecodePng(bytes, Screen300), EInvalidGraphic) << bytes.size();
    const std::string webp = Webp(1200, 900, 255);
    EXPECT_THROW(DecodeWebp(webp.substr(0, webp.size() / 2), Screen300), EInvalidGraphic);
}

}  // namespace
}  // namespace pelwick
