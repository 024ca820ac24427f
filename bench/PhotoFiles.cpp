#include "PhotoFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <jpeglib.h>
#include <libheif/heif.h>
#include <png.h>
#include <webp/encode.h>

namespace pelwick::bench {

namespace {

using TRgb = std::vector<std::uint8_t>;

void FillRow(std::uint8_t* row, int y, int w, std::uint32_t& noise) {
    for (int x = 0; x < w; ++x) {
        noise = noise * 1103515245 + 12345;
        const int n = static_cast<int>((noise >> 16) & 31) - 16;
        const double v = 0.5 + 0.25 * std::sin(x / 190.0) + 0.25 * std::cos(y / 130.0);
        for (int k = 0; k < 3; ++k)
            row[3 * x + k] = static_cast<std::uint8_t>(
                std::clamp(static_cast<int>(v * (180 + 30 * k)) + n, 0, 255));
    }
}

TRgb Photo(int w, int h) {
    TRgb rgb(std::size_t(w) * h * 3);
    std::uint32_t noise = 12345;
    for (int y = 0; y < h; ++y)
        FillRow(rgb.data() + std::size_t(y) * w * 3, y, w, noise);
    return rgb;
}

bool WriteJpeg(const std::string& path, int w, int h) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(std::size_t(w) * 3);
    std::uint32_t noise = 12345;
    while (c.next_scanline < c.image_height) {
        FillRow(row.data(), static_cast<int>(c.next_scanline), w, noise);
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(f) == 0;
}

bool WritePng(const std::string& path, int w, int h) {
    const TRgb rgb = Photo(w, h);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

bool WriteWebp(const std::string& path, int w, int h) {
    const TRgb rgb = Photo(w, h);
    std::uint8_t* encoded = nullptr;
    const size_t size = WebPEncodeRGB(rgb.data(), w, h, 3 * w, 90, &encoded);
    bool ok = size > 0;
    if (ok) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(encoded), static_cast<std::streamsize>(size));
        ok = bool(out);
    }
    WebPFree(encoded);
    return ok;
}

heif_error Append(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<std::string*>(userdata)->append(static_cast<const char*>(data), size);
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

bool WriteHeic(const std::string& path, int w, int h) {
    const TRgb rgb = Photo(w, h);
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    std::string bytes;
    if (heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code ==
        heif_error_Ok) {
        heif_image* image = nullptr;
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, w, h, 8);
        int stride = 0;
        std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < h; ++y)
            std::copy_n(rgb.data() + std::size_t(y) * w * 3, w * 3,
                        plane + std::size_t(y) * stride);
        heif_writer writer{1, Append};
        if (heif_context_encode_image(context, image, encoder, nullptr, nullptr).code ==
            heif_error_Ok)
            heif_context_write(context, &writer, &bytes);
        heif_image_release(image);
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bool(out);
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool WritePhoto(const std::string& path, int w, int h) {
    if (EndsWith(path, ".jpg")) return WriteJpeg(path, w, h);
    if (EndsWith(path, ".png")) return WritePng(path, w, h);
    if (EndsWith(path, ".webp")) return WriteWebp(path, w, h);
    if (EndsWith(path, ".heic")) return WriteHeic(path, w, h);
    return false;
}

}  // namespace pelwick::bench
