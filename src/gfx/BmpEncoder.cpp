#include "gfx/BmpEncoder.h"

#include <cstdint>
#include <vector>

namespace pelwick {

namespace {

constexpr std::uint32_t BiRgb = 0;  // rows as they are, uncompressed

}  // namespace

std::string EncodeBmp(const TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    const std::uint32_t stride = static_cast<std::uint32_t>(TBitmap::StrideFor(w, pf24bit));
    const std::uint32_t dataSize = stride * static_cast<std::uint32_t>(h);
    std::string out;
    auto u16 = [&](std::uint32_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out += "BM";
    u32(54 + dataSize), u32(0), u32(54);
    u32(40), u32(static_cast<std::uint32_t>(w)), u32(static_cast<std::uint32_t>(h));
    u16(1), u16(24), u32(BiRgb), u32(dataSize), u32(2835), u32(2835), u32(0), u32(0);
    std::vector<std::uint8_t> row(stride, 0);
    for (int y = h - 1; y >= 0; --y) {
        ConvertPixels(row.data(), pf24bit, bitmap.ScanLine(y), bitmap.PixelFormat(), w);
        out.append(reinterpret_cast<const char*>(row.data()), row.size());
    }
    return out;
}

}  // namespace pelwick
