#include <array>
#include <cstring>
#include <vector>

#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"
#include "gfx/PictureLimits.h"

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

// What the file and info headers say.
struct TBmpHeader {
    std::uint32_t dataOffset = 0, headerSize = 0;
    std::int64_t width = 0, height = 0;
    int bitCount = 0;
    std::uint32_t compression = BiRgb, colorsUsed = 0;
    int paletteEntrySize = 4;
    bool topDown = false;
};

TBmpHeader ReadHeader(const TReader& in) {
    const std::string_view bytes = in.bytes;
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') Invalid("not a bitmap file");
    TBmpHeader h;
    h.dataOffset = in.U32(10);
    h.headerSize = in.U32(14);
    if (h.headerSize == 12) {  // the oldest header, with 16-bit sizes and 3-byte palette entries
        h.width = in.U16(18);
        h.height = static_cast<std::int16_t>(in.U16(20));
        if (in.U16(22) != 1) Invalid("the plane count is not 1");
        h.bitCount = in.U16(24);
        h.paletteEntrySize = 3;
    } else if (h.headerSize == 40 || h.headerSize == 52 || h.headerSize == 56 ||
               h.headerSize == 108 || h.headerSize == 124) {
        h.width = static_cast<std::int32_t>(in.U32(18));
        h.height = static_cast<std::int32_t>(in.U32(22));
        if (in.U16(26) != 1) Invalid("the plane count is not 1");
        h.bitCount = in.U16(28);
        h.compression = in.U32(30);
        h.colorsUsed = in.U32(46);
    } else {
        Invalid("unknown header size " + std::to_string(h.headerSize));
    }
    if (14 + static_cast<std::uint64_t>(h.headerSize) > bytes.size())
        Invalid("the file is truncated");
    h.topDown = h.height < 0;
    if (h.topDown) h.height = -h.height;
    if (h.width <= 0 || h.height <= 0) Invalid("the size is zero or negative");
    if (static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height) >
        MaxPicturePixels)
        Invalid("the picture is too large");
    const int b = h.bitCount;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
        Invalid("unsupported bit count " + std::to_string(b));
    if (h.compression != BiRgb && !(h.compression == BiBitFields && (b == 16 || b == 32)))
        Invalid("unsupported compression " + std::to_string(h.compression));
    return h;
}

struct TMasks {
    TMask red, green, blue;
};

// Bit masks: in the header from version 52 on, else right after a 40-byte header, which
// moves the palette (or the pixels) back by 12 bytes.
TMasks ReadMasks(const TReader& in, const TBmpHeader& h, std::uint64_t& tableStart) {
    TMasks m;
    if (h.compression == BiBitFields) {
        const std::size_t at = h.headerSize >= 52 ? 54 : 14 + h.headerSize;
        const std::uint32_t r = in.U32(at), g = in.U32(at + 4), b = in.U32(at + 8);
        if (!ContiguousMask(r) || !ContiguousMask(g) || !ContiguousMask(b) ||
            ((r & g) | (g & b) | (r & b)))
            Invalid("the colour masks are inconsistent");
        m = {TMask(r), TMask(g), TMask(b)};
        if (h.headerSize == 40) tableStart += 12;
    } else if (h.bitCount == 16) {
        m = {TMask(0x7C00), TMask(0x03E0), TMask(0x001F)};
    }
    return m;
}

using TPalette = std::vector<std::array<std::uint8_t, 3>>;  // blue, green, red

TPalette ReadPalette(const TReader& in, const TBmpHeader& h, std::uint64_t tableStart) {
    TPalette palette;
    if (h.bitCount > 8) return palette;
    const std::uint32_t maxColors = 1u << h.bitCount;
    if (h.colorsUsed > maxColors) Invalid("the palette is larger than the bit count allows");
    const std::uint32_t count = h.colorsUsed ? h.colorsUsed : maxColors;
    const std::uint64_t tableEnd =
        tableStart + static_cast<std::uint64_t>(count) * h.paletteEntrySize;
    if (tableEnd > h.dataOffset || tableEnd > in.bytes.size()) Invalid("the palette does not fit");
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(in.bytes.data() + tableStart +
                                                              i * h.paletteEntrySize);
        palette.push_back({p[0], p[1], p[2]});
    }
    return palette;
}

// One row of each pixel format, as blue, green, red bytes.
void Row24(const std::uint8_t* s, std::uint8_t* d, int w, const TMasks&, const TPalette&) {
    std::memcpy(d, s, static_cast<size_t>(w) * 3);
}

void Row32(const std::uint8_t* s, std::uint8_t* d, int w, const TMasks&, const TPalette&) {
    for (int x = 0; x < w; ++x)
        d[3 * x] = s[4 * x], d[3 * x + 1] = s[4 * x + 1], d[3 * x + 2] = s[4 * x + 2];
}

void Row32Masked(const std::uint8_t* s, std::uint8_t* d, int w, const TMasks& m, const TPalette&) {
    for (int x = 0; x < w; ++x) {
        const std::uint32_t v = s[4 * x] | (s[4 * x + 1] << 8) | (s[4 * x + 2] << 16) |
                                (std::uint32_t(s[4 * x + 3]) << 24);
        d[3 * x] = m.blue.Get(v), d[3 * x + 1] = m.green.Get(v), d[3 * x + 2] = m.red.Get(v);
    }
}

void Row16(const std::uint8_t* s, std::uint8_t* d, int w, const TMasks& m, const TPalette&) {
    for (int x = 0; x < w; ++x) {
        const std::uint32_t v = s[2 * x] | (s[2 * x + 1] << 8);
        d[3 * x] = m.blue.Get(v), d[3 * x + 1] = m.green.Get(v), d[3 * x + 2] = m.red.Get(v);
    }
}

// Palette indices, highest bits first; an index past the palette shows black rather than
// reading beyond it.
template <int Bits>
void RowIndexed(const std::uint8_t* s, std::uint8_t* d, int w, const TMasks&,
                const TPalette& palette) {
    constexpr int perByte = 8 / Bits, mask = (1 << Bits) - 1;
    static constexpr std::array<std::uint8_t, 3> Black{0, 0, 0};
    for (int x = 0; x < w; ++x) {
        const int shift = 8 - Bits * (x % perByte + 1);
        const std::size_t index = (s[x / perByte] >> shift) & mask;
        const auto& c = index < palette.size() ? palette[index] : Black;
        d[3 * x] = c[0], d[3 * x + 1] = c[1], d[3 * x + 2] = c[2];
    }
}

using TRowDecoder = void (*)(const std::uint8_t*, std::uint8_t*, int, const TMasks&,
                             const TPalette&);

TRowDecoder RowDecoder(const TBmpHeader& h) {
    switch (h.bitCount) {
        case 24:
            return Row24;
        case 32:
            return h.compression == BiRgb ? Row32 : Row32Masked;
        case 16:
            return Row16;
        case 8:
            return RowIndexed<8>;
        case 4:
            return RowIndexed<4>;
        default:
            return RowIndexed<1>;
    }
}

}  // namespace

TBitmap DecodeBmp(std::string_view bytes, const TDecodeTarget& target) {
    const TReader in{bytes};
    const TBmpHeader h = ReadHeader(in);
    CheckHeldSize("BMP", std::uint64_t(h.width), std::uint64_t(h.height), target);
    std::uint64_t tableStart = 14 + static_cast<std::uint64_t>(h.headerSize);
    const TMasks masks = ReadMasks(in, h, tableStart);
    const TPalette palette = ReadPalette(in, h, tableStart);

    const std::uint64_t stride = ((static_cast<std::uint64_t>(h.width) * h.bitCount + 31) / 32) * 4;
    if (h.dataOffset < tableStart || h.dataOffset > bytes.size() ||
        stride * static_cast<std::uint64_t>(h.height) > bytes.size() - h.dataOffset)
        Invalid("the pixel data does not fit in the file");

    const int w = static_cast<int>(h.width), height = static_cast<int>(h.height);
    TBitmap out = TBitmap::Uninitialized(w, height, pf24bit);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data() + h.dataOffset);
    const TRowDecoder decode = RowDecoder(h);
    for (int y = 0; y < height; ++y) {
        const std::uint64_t row = h.topDown ? y : height - 1 - y;
        decode(data + stride * row, out.ScanLine(y), w, masks, palette);
    }
    return out;
}

}  // namespace pelwick
