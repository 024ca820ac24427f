// Writes the test pictures of the decoders and the slideshow, and the demo's pictures:
//   make_slideshow_pictures fixtures DIR   small files of every picture format, for the tests
//   make_slideshow_pictures demo DIR       a few 1280 x 800 JPEG pictures for scripts/demo
// The GIF files are written byte by byte (so that broken ones can be made on purpose), the
// JPEG, PNG and WebP files with their libraries, the BMP files with the program's own writer.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <webp/encode.h>

#include "gfx/Bitmap.h"
#include "gfx/BmpEncoder.h"

namespace {

using Rgb = std::array<std::uint8_t, 3>;
using PixelFn = std::function<Rgb(int x, int y)>;

void Save(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        std::cerr << "cannot write " << path << "\n";
        std::exit(1);
    }
}

// ---- JPEG

enum JpegKind { jkBaseline, jkProgressive, jkGray, jkCmyk, jkManyScans };

void WriteJpeg(const std::string& path, int w, int h, const PixelFn& pixel, JpegKind kind,
               int quality = 92) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::cerr << "cannot write " << path << "\n";
        std::exit(1);
    }
    jpeg_stdio_dest(&c, f);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    const bool gray = kind == jkGray || kind == jkManyScans;
    c.input_components = gray ? 1 : kind == jkCmyk ? 4 : 3;
    c.in_color_space = gray ? JCS_GRAYSCALE : kind == jkCmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (kind == jkProgressive) jpeg_simple_progression(&c);
    std::vector<jpeg_scan_info> scans;
    if (kind == jkManyScans) {
        // DC, then every AC coefficient on its own, sent in ten successive refinements:
        // 631 scans, each one valid.
        scans.push_back({1, {0}, 0, 0, 0, 0});
        for (int k = 1; k < 64; ++k) {
            scans.push_back({1, {0}, k, k, 0, 9});
            for (int al = 8; al >= 0; --al)
                scans.push_back({1, {0}, k, k, al + 1, al});
        }
        c.scan_info = scans.data();
        c.num_scans = static_cast<int>(scans.size());
    }
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(static_cast<size_t>(w) * c.input_components);
    while (c.next_scanline < c.image_height) {
        const int y = static_cast<int>(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            const Rgb p = pixel(x, y);
            if (gray) {
                row[x] = p[0];
            } else if (kind == jkCmyk) {
                // Adobe's inverted CMYK, which libjpeg marks with the Adobe marker.
                row[4 * x] = p[0], row[4 * x + 1] = p[1], row[4 * x + 2] = p[2];
                row[4 * x + 3] = 255;
            } else {
                row[3 * x] = p[0], row[3 * x + 1] = p[1], row[3 * x + 2] = p[2];
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
}

// ---- PNG and WebP, from rows of RGBA

using RgbaFn = std::function<std::array<std::uint8_t, 4>(int x, int y)>;

std::vector<std::uint8_t> RgbaPixels(int w, int h, const RgbaFn& pixel) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (std::uint8_t c : pixel(x, y))
                out.push_back(c);
    return out;
}

void WritePng(const std::string& path, int w, int h, const RgbaFn& pixel, bool alpha) {
    std::vector<std::uint8_t> rgba = RgbaPixels(w, h, pixel);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (!alpha) {  // drop every fourth byte
        size_t to = 0;
        for (size_t i = 0; i < rgba.size(); ++i)
            if (i % 4 != 3) rgba[to++] = rgba[i];
        rgba.resize(to);
    }
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr)) {
        std::cerr << "cannot write " << path << ": " << image.message << "\n";
        std::exit(1);
    }
}

void WriteWebp(const std::string& path, int w, int h, const RgbaFn& pixel) {
    const std::vector<std::uint8_t> rgba = RgbaPixels(w, h, pixel);
    std::uint8_t* encoded = nullptr;
    const size_t size = WebPEncodeLosslessRGBA(rgba.data(), w, h, 4 * w, &encoded);
    if (size == 0) {
        std::cerr << "cannot encode " << path << "\n";
        std::exit(1);
    }
    Save(path, std::string(reinterpret_cast<const char*>(encoded), size));
    WebPFree(encoded);
}

// ---- GIF

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlace = false;
    std::vector<Rgb> localMap;  // empty: none
    int transparent = -1;
    std::vector<std::uint8_t> indices;  // rows in display order
};

// LZW with 9-bit codes only: every pixel is a literal and a clear code comes before the
// table would need 10 bits. Valid for every decoder, and simple.
std::string LzwLiteral(const std::vector<std::uint8_t>& indices) {
    std::string bytes;
    std::uint32_t acc = 0;
    int bits = 0;
    auto put = [&](std::uint32_t code) {
        acc |= code << bits;
        bits += 9;
        while (bits >= 8) {
            bytes.push_back(static_cast<char>(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    int sinceClear = 0;
    put(256);
    for (std::uint8_t i : indices) {
        if (sinceClear == 250) {
            put(256);
            sinceClear = 0;
        }
        put(i);
        ++sinceClear;
    }
    put(257);
    if (bits > 0) bytes.push_back(static_cast<char>(acc & 0xFF));
    std::string blocks;
    blocks.push_back(8);  // minimum code size
    for (size_t at = 0; at < bytes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, bytes.size() - at);
        blocks.push_back(static_cast<char>(n));
        blocks.append(bytes, at, n);
    }
    blocks.push_back(0);
    return blocks;
}

int TableBits(size_t entries) {
    int bits = 1;
    while ((size_t(1) << bits) < entries)
        ++bits;
    return bits;
}

std::string ColorTable(const std::vector<Rgb>& map) {
    std::string out;
    const size_t size = size_t(1) << TableBits(map.size());
    for (size_t i = 0; i < size; ++i) {
        const Rgb c = i < map.size() ? map[i] : Rgb{0, 0, 0};
        out.append({static_cast<char>(c[0]), static_cast<char>(c[1]), static_cast<char>(c[2])});
    }
    return out;
}

void U16(std::string& s, int v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

std::string Gif(int screenW, int screenH, const std::vector<Rgb>& globalMap, int background,
                const std::vector<GifFrame>& frames) {
    std::string s = "GIF89a";
    U16(s, screenW), U16(s, screenH);
    s.push_back(
        static_cast<char>(globalMap.empty() ? 0 : 0x80 | 0x70 | (TableBits(globalMap.size()) - 1)));
    s.push_back(static_cast<char>(background));
    s.push_back(0);
    if (!globalMap.empty()) s += ColorTable(globalMap);
    for (const GifFrame& f : frames) {
        if (f.transparent >= 0) {
            s += "\x21\xF9\x04";
            s.push_back(1);
            U16(s, 10);
            s.push_back(static_cast<char>(f.transparent));
            s.push_back(0);
        }
        s.push_back(0x2C);
        U16(s, f.left), U16(s, f.top), U16(s, f.width), U16(s, f.height);
        int flags = f.interlace ? 0x40 : 0;
        if (!f.localMap.empty()) flags |= 0x80 | (TableBits(f.localMap.size()) - 1);
        s.push_back(static_cast<char>(flags));
        if (!f.localMap.empty()) s += ColorTable(f.localMap);
        std::vector<std::uint8_t> stream;  // in the file's row order
        if (f.interlace) {
            static constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < f.height; y += step[pass])
                    stream.insert(stream.end(), f.indices.begin() + y * f.width,
                                  f.indices.begin() + (y + 1) * f.width);
        } else {
            stream = f.indices;
        }
        s += LzwLiteral(stream);
    }
    s.push_back(0x3B);
    return s;
}

GifFrame Frame(int left, int top, int w, int h, const std::function<int(int, int)>& index) {
    GifFrame f;
    f.left = left, f.top = top, f.width = w, f.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            f.indices.push_back(static_cast<std::uint8_t>(index(x, y)));
    return f;
}

// ---- Fixtures

Rgb Quadrants(int x, int y, int w, int h) {
    const bool right = x >= w / 2, bottom = y >= h / 2;
    if (!right && !bottom) return {255, 0, 0};
    if (right && !bottom) return {0, 255, 0};
    if (!right && bottom) return {0, 0, 255};
    return {255, 255, 255};
}

void Fixtures(const std::string& dir) {
    const int w = 37, h = 23;
    auto quad = [&](int x, int y) { return Quadrants(x, y, w, h); };
    WriteJpeg(dir + "/baseline.jpg", w, h, quad, jkBaseline);
    WriteJpeg(dir + "/progressive.jpg", w, h, quad, jkProgressive);
    WriteJpeg(dir + "/cmyk.jpg", w, h, quad, jkCmyk);
    WriteJpeg(
        dir + "/gray.jpg", 33, 17,
        [](int x, int) {
            const std::uint8_t v = x < 16 ? 40 : 200;
            return Rgb{v, v, v};
        },
        jkGray);
    WriteJpeg(
        dir + "/manyscans.jpg", 16, 16,
        [](int x, int y) {
            const std::uint8_t v = static_cast<std::uint8_t>((x * 16 + y * 7) & 0xFF);
            return Rgb{v, v, v};
        },
        jkManyScans);

    const std::vector<Rgb> palette{{0, 0, 0}, {0, 0, 255}, {255, 0, 0}, {0, 255, 0}};
    // A 20 x 10 screen with a blue background; its first image (a red and green
    // checkerboard) stands at (14, 4) and reaches past the right and bottom edges; a second
    // image in white would cover everything and must never show.
    GifFrame first = Frame(14, 4, 10, 10, [](int x, int y) { return (x + y) % 2 ? 3 : 2; });
    GifFrame second = Frame(0, 0, 20, 10, [](int, int) { return 0; });
    second.localMap = {{255, 255, 255}};
    Save(dir + "/partial.gif", Gif(20, 10, palette, 1, {first, second}));
    // Rows 0..8 of an interlaced image take the index of their row's parity, so a decoder
    // that forgets the interlacing shows stripes in the wrong order.
    GifFrame interlaced = Frame(0, 0, 5, 9, [](int, int y) {
        return y % 3 == 0 ? 2 : y % 3 == 1 ? 3 : 1;
    });
    interlaced.interlace = true;
    Save(dir + "/interlaced.gif", Gif(5, 9, palette, 0, {interlaced}));
    // Index 0 transparent: shows the control's colour.
    GifFrame holes = Frame(0, 0, 4, 4, [](int x, int) { return x < 2 ? 0 : 2; });
    holes.transparent = 0;
    Save(dir + "/transparent.gif", Gif(4, 4, palette, 1, {holes}));
    Save(dir + "/tiny.gif", Gif(1, 1, palette, 0, {Frame(0, 0, 1, 1, [](int, int) { return 2; })}));
    Save(dir + "/huge.gif",
         Gif(65535, 65535, palette, 0, {Frame(0, 0, 1, 1, [](int, int) { return 2; })}));
    // No colour table at all, and indices past a two-entry table: both show the background.
    Save(dir + "/nomap.gif", Gif(3, 3, {}, 0, {Frame(0, 0, 3, 3, [](int, int) { return 1; })}));
    Save(dir + "/badindex.gif",
         Gif(4, 1, {{0, 0, 255}, {255, 0, 0}}, 0,
             {Frame(0, 0, 4, 1, [](int x, int) { return x == 1 ? 1 : 200; })}));

    // 2048 x 1024 quadrants, for decoding at a fraction of the size.
    WriteJpeg(
        dir + "/large.jpg", 2048, 1024, [](int x, int y) { return Quadrants(x, y, 2048, 1024); },
        jkBaseline, 50);
    // The quadrants opaque, and a 4 x 2 strip whose columns have alpha 255, 128, 0, 255.
    auto opaque = [&](int x, int y) {
        const Rgb c = Quadrants(x, y, w, h);
        return std::array<std::uint8_t, 4>{c[0], c[1], c[2], 255};
    };
    auto strip = [](int x, int) {
        static constexpr std::uint8_t alpha[] = {255, 128, 0, 255};
        return std::array<std::uint8_t, 4>{200, 100, 50, alpha[x]};
    };
    WritePng(dir + "/quadrants.png", w, h, opaque, false);
    WritePng(dir + "/alpha.png", 4, 2, strip, true);
    WriteWebp(dir + "/quadrants.webp", w, h, opaque);
    WriteWebp(dir + "/alpha.webp", 4, 2, strip);

    // A 5 x 3 bitmap: odd width, so every row carries padding.
    pelwick::TBitmap bmp(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            bmp.SetPixel(x, y,
                         pelwick::RGB(static_cast<std::uint8_t>(x * 50),
                                      static_cast<std::uint8_t>(y * 100), 7));
    Save(dir + "/rgb24.bmp", pelwick::EncodeBmp(bmp));
}

// ---- Demo pictures

double Smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

Rgb Mix(Rgb a, Rgb b, double t) {
    Rgb r;
    for (int i = 0; i < 3; ++i)
        r[i] = static_cast<std::uint8_t>(std::lround(a[i] + (b[i] - a[i]) * t));
    return r;
}

void Demo(const std::string& dir) {
    const int w = 1280, h = 800;
    // Dusk over hills.
    WriteJpeg(
        dir + "/dusk.jpg", w, h,
        [&](int x, int y) {
            Rgb sky = Mix({28, 36, 92}, {244, 150, 96}, Smooth(double(y) / (h * 0.7)));
            const double sun = std::hypot(x - w * 0.7, y - h * 0.55);
            if (sun < 70) sky = Mix({255, 236, 170}, sky, Smooth((sun - 60) / 10));
            const double hill = h * 0.68 + 40 * std::sin(x / 170.0) + 25 * std::sin(x / 61.0 + 1);
            if (y > hill) return Mix({52, 40, 70}, {20, 16, 34}, Smooth((y - hill) / 200));
            return sky;
        },
        jkBaseline, 85);
    // Sea and sky.
    WriteJpeg(
        dir + "/sea.jpg", w, h,
        [&](int x, int y) {
            const double horizon = h * 0.55;
            if (y < horizon) return Mix({120, 180, 235}, {214, 236, 250}, Smooth(y / horizon));
            const double wave = 0.5 + 0.5 * std::sin(x / 37.0 + y / 5.0) * std::sin(y / 23.0);
            return Mix(Mix({30, 110, 150}, {10, 50, 90}, Smooth((y - horizon) / (h - horizon))),
                       {90, 170, 200}, 0.15 * wave);
        },
        jkBaseline, 85);
    // Soft circles on green.
    WriteJpeg(
        dir + "/meadow.jpg", w, h,
        [&](int x, int y) {
            Rgb c = Mix({170, 210, 120}, {40, 110, 60}, Smooth(double(x + y) / (w + h)));
            const int cx[] = {300, 700, 1050, 500}, cy[] = {250, 520, 300, 650},
                      r[] = {140, 190, 110, 80};
            const Rgb tint[] = {{250, 240, 180}, {250, 200, 210}, {220, 240, 255}, {255, 255, 255}};
            for (int i = 0; i < 4; ++i) {
                const double d = std::hypot(x - cx[i], y - cy[i]);
                if (d < r[i]) c = Mix(c, tint[i], 0.45 * Smooth((r[i] - d) / 30));
            }
            return c;
        },
        jkProgressive, 85);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::string(argv[1]) != "fixtures" && std::string(argv[1]) != "demo")) {
        std::cerr << "usage: make_slideshow_pictures fixtures|demo DIR\n";
        return 2;
    }
    if (std::string(argv[1]) == "fixtures")
        Fixtures(argv[2]);
    else
        Demo(argv[2]);
    return 0;
}
