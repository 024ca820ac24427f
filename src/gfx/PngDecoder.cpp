// PNG pictures through libpng's simplified reader, which reports every error by its return
// value: nothing jumps out of it and nothing ends the process. A picture the target shrinks
// is read a row at a time instead and reduced as it comes, so that it is never held at full
// size; libpng's errors then jump back to the one frame that called it. Every picture's
// header and first row are read that way first, so that no memory is taken for a picture
// whose file cannot hold it or ends before its first row.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"
#include "gfx/PictureLimits.h"
#include "gfx/RowShrink.h"

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

void CheckSize(std::uint64_t w, std::uint64_t h) {
    if (w == 0 || h == 0) Fail("the picture is empty");
    if (w * h > MaxPicturePixels || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        Fail("the picture is too large");
}

// Everything the row reader owns lives here, on the heap, so that a jump back from libpng
// leaves nothing in a changed local variable.
struct TRowReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string_view bytes;
    std::size_t at = 0;
    char message[256] = "";
    TRowShrinker shrinker;
    std::vector<std::uint8_t> row, bgr;
    ~TRowReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

[[noreturn]] void JumpBack(png_structp png, png_const_charp why) {
    auto* reader = static_cast<TRowReader*>(png_get_error_ptr(png));
    std::snprintf(reader->message, sizeof reader->message, "%s", why);
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<TRowReader*>(png_get_io_ptr(png));
    if (count > reader->bytes.size() - reader->at) png_error(png, "the data ends early");
    std::memcpy(out, reader->bytes.data() + reader->at, count);
    reader->at += count;
}

// The picture composed over black, channel times alpha, as the whole decode does.
void ComposeRow(std::uint8_t* d, const std::uint8_t* s, int width) {
    for (int x = 0; x < width; ++x, s += 4, d += 3)
        for (int c = 0; c < 3; ++c)
            d[c] = static_cast<std::uint8_t>((s[c] * s[3] + 127) / 255);
}

// The rows of a w x h picture as the file stores them, before compression: each row with its
// filter byte. Interlacing only adds to it.
std::uint64_t StoredBytes(png_structp png, png_infop info, std::uint64_t w, std::uint64_t h) {
    const std::uint64_t bits =
        std::uint64_t(png_get_bit_depth(png, info)) * png_get_channels(png, info);
    return h * (1 + (w * bits + 7) / 8);
}

// Reads the rows of a picture the target shrinks by a whole factor into out, reduced as
// they come; false when it does not shrink or is interlaced, whose rows come in passes over
// the whole picture: then only its header and first row have been read, to check them.
bool ReadShrunk(std::string_view bytes, const TDecodeTarget& target, TBitmap& out) {
    const auto owner = std::make_unique<TRowReader>();
    TRowReader* const r = owner.get();
    r->bytes = bytes;
    r->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, r, JumpBack, IgnoreWarning);
    if (r->png) r->info = png_create_info_struct(r->png);
    if (!r->info) Fail("the decoder cannot start");
    if (setjmp(png_jmpbuf(r->png))) Fail(r->message);
    png_set_read_fn(r->png, r, ReadBytes);
    png_read_info(r->png, r->info);
    const std::uint32_t w = png_get_image_width(r->png, r->info);
    const std::uint32_t h = png_get_image_height(r->png, r->info);
    CheckSize(w, h);
    CheckPlausible("PNG", w, h, bytes.size(),
                   StoredBytes(r->png, r->info, w, h) / DeflateExpansion);
    const bool interlaced = png_get_interlace_type(r->png, r->info) != PNG_INTERLACE_NONE;
    const int factor = interlaced ? 1 : ShrinkFactor(int(w), int(h), target);
    CheckHeldSize("PNG", (w + factor - 1) / factor, (h + factor - 1) / factor, target);
    png_set_expand(r->png);
    png_set_strip_16(r->png);
    png_set_gray_to_rgb(r->png);
    png_set_bgr(r->png);
    png_read_update_info(r->png, r->info);
    const int channels = png_get_channels(r->png, r->info);
    if (channels != 3 && channels != 4) Fail("unsupported colour type");
    r->row.resize(std::size_t(w) * channels);
    if (channels == 4) r->bgr.resize(std::size_t(w) * 3);
    // An interlaced picture's first row is a row of its first pass, no wider than a row.
    png_read_row(r->png, r->row.data(), nullptr);
    if (factor <= 1) return false;
    r->shrinker.Start(int(w), int(h), factor);
    for (std::uint32_t y = 0; y < h; ++y) {
        if (y > 0) png_read_row(r->png, r->row.data(), nullptr);
        if (channels == 4) ComposeRow(r->bgr.data(), r->row.data(), int(w));
        r->shrinker.AddRow(channels == 4 ? r->bgr.data() : r->row.data());
    }
    out = std::move(r->shrinker.Result());
    return true;
}

}  // namespace

TBitmap DecodePng(std::string_view bytes, const TDecodeTarget& target) {
    if (bytes.empty()) Fail("the file is empty");
    if (TBitmap shrunk; ReadShrunk(bytes, target, shrunk)) return shrunk;
    TPngImage png;
    if (!png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()))
        Fail(png.image.message);
    // The header's size, checked in 64 bits before anything is allocated.
    const std::uint64_t w = png.image.width, h = png.image.height;
    CheckSize(w, h);
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
    for (int y = 0; y < int(h); ++y)
        ComposeRow(out.ScanLine(y), rgba.ScanLine(y), int(w));
    return out;
}

}  // namespace pelwick
