#include "gfx/BmpFile.h"

#include <array>
#include <cstring>
#include <vector>

#include "app/Files.h"
#include "gfx/Picture.h"

namespace pelwick {

namespace {

constexpr std::uint32_t BiRgb = 0, BiBitFields = 3;

[[noreturn]] void Invalid(const std::string& why) {
    throw EInvalidGraphic("Invalid bitmap: " + why);
}

struct TReader {
    std::string_view bytes;
    std::uint32_t U32(std::size_t at) const {
        if (at + 4 > bytes.size()) Invalid("the file is truncated");
        const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
    }
    std::uint16_t U16(std::size_t at) const {
        if (at + 2 > bytes.size()) Invalid("the file is truncated");
        const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
};

// A colour channel given as a bit mask, scaled to 8 bits.
struct TMask {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit TMask(std::uint32_t m = 0) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1))
            ++shift;
        while (bits + shift < 32 && ((m >> (shift + bits)) & 1))
            ++bits;
    }
    std::uint8_t Get(std::uint32_t pixel) const {
        if (!bits) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        return static_cast<std::uint8_t>((static_cast<std::uint64_t>(v) * 255 + max / 2) / max);
    }
};

bool ContiguousMask(std::uint32_t m) {
    if (!m) return true;
    while (!(m & 1))
        m >>= 1;
    return (m & (m + 1)) == 0;
}

}  // namespace

TBitmap ReadBmpFile(const std::string& fileName) {
    return DecodeBmp(ReadFileBytes(fileName));
}

TBitmap DecodeBmp(std::string_view bytes) {
    const TReader in{bytes};
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') Invalid("not a bitmap file");
    const std::uint32_t dataOffset = in.U32(10);
    const std::uint32_t headerSize = in.U32(14);
    std::int64_t width, height;
    int bitCount;
    std::uint32_t compression = BiRgb, colorsUsed = 0;
    int paletteEntrySize = 4;
    if (headerSize == 12) {  // the oldest header, with 16-bit sizes and 3-byte palette entries
        width = in.U16(18);
        height = static_cast<std::int16_t>(in.U16(20));
        if (in.U16(22) != 1) Invalid("the plane count is not 1");
        bitCount = in.U16(24);
        paletteEntrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        width = static_cast<std::int32_t>(in.U32(18));
        height = static_cast<std::int32_t>(in.U32(22));
        if (in.U16(26) != 1) Invalid("the plane count is not 1");
        bitCount = in.U16(28);
        compression = in.U32(30);
        colorsUsed = in.U32(46);
    } else {
        Invalid("unknown header size " + std::to_string(headerSize));
    }
    if (14 + static_cast<std::uint64_t>(headerSize) > bytes.size())
        Invalid("the file is truncated");
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) Invalid("the size is zero or negative");
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > MaxPicturePixels)
        Invalid("the picture is too large");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        Invalid("unsupported bit count " + std::to_string(bitCount));
    if (compression != BiRgb && !(compression == BiBitFields && (bitCount == 16 || bitCount == 32)))
        Invalid("unsupported compression " + std::to_string(compression));

    // Bit masks: in the header from version 52 on, else right after a 40-byte header.
    TMask red, green, blue;
    std::uint64_t tableStart = 14 + static_cast<std::uint64_t>(headerSize);
    if (compression == BiBitFields) {
        const std::size_t at = headerSize >= 52 ? 54 : 14 + headerSize;
        const std::uint32_t r = in.U32(at), g = in.U32(at + 4), b = in.U32(at + 8);
        if (!ContiguousMask(r) || !ContiguousMask(g) || !ContiguousMask(b) ||
            ((r & g) | (g & b) | (r & b)))
            Invalid("the colour masks are inconsistent");
        red = TMask(r), green = TMask(g), blue = TMask(b);
        if (headerSize == 40) tableStart += 12;
    } else if (bitCount == 16) {
        red = TMask(0x7C00), green = TMask(0x03E0), blue = TMask(0x001F);
    }

    std::vector<std::array<std::uint8_t, 3>> palette;  // blue, green, red
    if (bitCount <= 8) {
        const std::uint32_t maxColors = 1u << bitCount;
        if (colorsUsed > maxColors) Invalid("the palette is larger than the bit count allows");
        const std::uint32_t count = colorsUsed ? colorsUsed : maxColors;
        const std::uint64_t tableEnd =
            tableStart + static_cast<std::uint64_t>(count) * paletteEntrySize;
        if (tableEnd > dataOffset || tableEnd > bytes.size()) Invalid("the palette does not fit");
        for (std::uint32_t i = 0; i < count; ++i) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + tableStart +
                                                                  i * paletteEntrySize);
            palette.push_back({p[0], p[1], p[2]});
        }
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    if (dataOffset < tableStart || dataOffset > bytes.size() ||
        stride * static_cast<std::uint64_t>(height) > bytes.size() - dataOffset)
        Invalid("the pixel data does not fit in the file");

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    TBitmap out = TBitmap::Uninitialized(w, h, pf24bit);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data() + dataOffset);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = data + stride * static_cast<std::uint64_t>(topDown ? y : h - 1 - y);
        std::uint8_t* d = out.ScanLine(y);
        switch (bitCount) {
            case 24:
                std::memcpy(d, s, static_cast<size_t>(w) * 3);
                break;
            case 32:
                for (int x = 0; x < w; ++x) {
                    if (compression == BiRgb) {
                        d[3 * x] = s[4 * x], d[3 * x + 1] = s[4 * x + 1],
                              d[3 * x + 2] = s[4 * x + 2];
                    } else {
                        const std::uint32_t v = s[4 * x] | (s[4 * x + 1] << 8) |
                                                (s[4 * x + 2] << 16) |
                                                (std::uint32_t(s[4 * x + 3]) << 24);
                        d[3 * x] = blue.Get(v), d[3 * x + 1] = green.Get(v),
                              d[3 * x + 2] = red.Get(v);
                    }
                }
                break;
            case 16:
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t v = s[2 * x] | (s[2 * x + 1] << 8);
                    d[3 * x] = blue.Get(v), d[3 * x + 1] = green.Get(v), d[3 * x + 2] = red.Get(v);
                }
                break;
            default: {  // palette indices, highest bits first
                const int perByte = 8 / bitCount, mask = (1 << bitCount) - 1;
                for (int x = 0; x < w; ++x) {
                    const int shift = 8 - bitCount * (x % perByte + 1);
                    const std::size_t index = (s[x / perByte] >> shift) & mask;
                    // An index past the palette shows black rather than reading beyond it.
                    static constexpr std::array<std::uint8_t, 3> black{0, 0, 0};
                    const auto& c = index < palette.size() ? palette[index] : black;
                    d[3 * x] = c[0], d[3 * x + 1] = c[1], d[3 * x + 2] = c[2];
                }
            }
        }
    }
    return out;
}

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
