// PNG pictures through libpng's simplified reader, which reports every error by its return
// value: nothing jumps out of it and nothing ends the process.
#include <png.h>

#include <cstring>

#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"

namespace pelwick {

namespace {

[[noreturn]] void Fail(const std::string& why) {
    throw EInvalidGraphic("Invalid PNG picture: " + why);
}

struct TPngImage {
    png_image image{};
    TPngImage() { image.version = PNG_IMAGE_VERSION; }
    ~TPngImage() { png_image_free(&image); }
};

}  // namespace

TBitmap DecodePng(std::string_view bytes, const TDecodeTarget&) {
    if (bytes.empty()) Fail("the file is empty");
    TPngImage png;
    if (!png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()))
        Fail(png.image.message);
    // The header's size, checked in 64 bits before anything is allocated.
    const std::uint64_t w = png.image.width, h = png.image.height;
    if (w == 0 || h == 0) Fail("the picture is empty");
    if (w * h > MaxPicturePixels || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        Fail("the picture is too large");
    TBitmap out(int(w), int(h), pf24bit);
    if (!(png.image.format & PNG_FORMAT_FLAG_ALPHA)) {
        png.image.format = PNG_FORMAT_BGR;
        if (!png_image_finish_read(&png.image, nullptr, out.Bits(), out.Stride(), nullptr))
            Fail(png.image.message);
        return out;
    }
    // libpng would compose in linear light; the picture is composed over black the way
    // every browser shows it, channel times alpha, which is how WebP pictures come out too.
    if (w * h > MaxAlphaPixels) Fail("the picture is too large");
    png.image.format = PNG_FORMAT_BGRA;
    TBitmap rgba(int(w), int(h), pf32bit);
    if (!png_image_finish_read(&png.image, nullptr, rgba.Bits(), rgba.Stride(), nullptr))
        Fail(png.image.message);
    for (int y = 0; y < int(h); ++y) {
        const std::uint8_t* s = rgba.ScanLine(y);
        std::uint8_t* d = out.ScanLine(y);
        for (int x = 0; x < int(w); ++x, s += 4, d += 3)
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<std::uint8_t>((s[c] * s[3] + 127) / 255);
    }
    return out;
}

}  // namespace pelwick
