#include "gfx/PictureDecoders.h"

#include <gtest/gtest.h>

#include "gfx/BmpEncoder.h"
#include "gfx/Picture.h"

namespace pelwick {
namespace {

void Put16(std::string& s, size_t at, std::uint32_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, size_t at, std::uint32_t v) {
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}

// A bitmap file with a 40-byte header, the given palette and raw rows (file order).
std::string Bmp(int w, int h, int bits, const std::vector<std::uint32_t>& palette,
                const std::string& rows, std::uint32_t compression = 0) {
    std::string s(54, '\0');
    s[0] = 'B', s[1] = 'M';
    Put32(s, 10, static_cast<std::uint32_t>(54 + palette.size() * 4));
    Put32(s, 14, 40);
    Put32(s, 18, static_cast<std::uint32_t>(w));
    Put32(s, 22, static_cast<std::uint32_t>(h));
    Put16(s, 26, 1);
    Put16(s, 28, static_cast<std::uint32_t>(bits));
    Put32(s, 30, compression);
    Put32(s, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::uint32_t c : palette) {
        s.resize(s.size() + 4);
        Put32(s, s.size() - 4, c);  // 0x00RRGGBB as stored: blue, green, red, 0
    }
    Put32(s, 2, static_cast<std::uint32_t>(s.size() + rows.size()));
    return s + rows;
}

std::string Bytes(std::initializer_list<int> v) {
    std::string s;
    for (int b : v)
        s.push_back(static_cast<char>(b));
    return s;
}

TEST(BmpFile, TheFixtureDecodesExactlyWithItsRowPadding) {
    const TBitmap b = DecodePictureFile(PELWICK_GFX_DATA "rgb24.bmp");
    ASSERT_EQ(b.Width(), 5);
    ASSERT_EQ(b.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.Pixel(x, y), RGB(std::uint8_t(x * 50), std::uint8_t(y * 100), 7));
}

TEST(BmpFile, EncodeAndDecodeRoundTripOddSizes) {
    for (int w : {1, 2, 3, 7}) {
        TBitmap b(w, 2);
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, 1, RGB(std::uint8_t(x + 1), 2, 3));
        const TBitmap back = DecodeBmp(EncodeBmp(b));
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(back.Pixel(x, 1), b.Pixel(x, 1));
        EXPECT_EQ(back.Pixel(0, 0), clBlack);
    }
}

TEST(BmpFile, PalettesBitFieldsAndTopDownRows) {
    // 8 bits, top-down (negative height), index 9 lies past the 2-entry palette: black.
    std::string pal8 =
        Bmp(3, -2, 8, {0x00FF0000, 0x0000FF00}, Bytes({0, 1, 9, 0, 1, 1, 0, 0, 0, 0, 0, 0}));
    const TBitmap p = DecodeBmp(pal8);
    EXPECT_EQ(p.Pixel(0, 0), clRed);
    EXPECT_EQ(p.Pixel(1, 0), clLime);
    EXPECT_EQ(p.Pixel(2, 0), clBlack);
    EXPECT_EQ(p.Pixel(0, 1), clLime);
    // 1 bit, bottom-up, highest bit first.
    const TBitmap mono = DecodeBmp(Bmp(3, 1, 1, {0x000000, 0xFFFFFF}, Bytes({0xA0, 0, 0, 0})));
    EXPECT_EQ(mono.Pixel(0, 0), clWhite);
    EXPECT_EQ(mono.Pixel(1, 0), clBlack);
    EXPECT_EQ(mono.Pixel(2, 0), clWhite);
    // 16 bits 5-5-5: pure red is 0x7C00.
    const TBitmap r16 = DecodeBmp(Bmp(1, 1, 16, {}, Bytes({0x00, 0x7C, 0, 0})));
    EXPECT_EQ(r16.Pixel(0, 0), clRed);
    // 32 bits with bit fields after the header: red in the lowest byte here.
    std::string fields = Bmp(1, 1, 32, {}, Bytes({0x10, 0x20, 0x30, 0x00}), 3);
    fields.insert(54, Bytes({0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}));
    Put32(fields, 10, 66);
    EXPECT_EQ(DecodeBmp(fields).Pixel(0, 0), RGB(0x10, 0x20, 0x30));
}

TEST(BmpFile, LyingHeadersAreRefusedBeforeAnyRowIsRead) {
    const std::string good = Bmp(2, 2, 24, {}, std::string(16, '\x40'));
    ASSERT_EQ(DecodeBmp(good).Pixel(1, 1), RGB(0x40, 0x40, 0x40));
    auto with = [&](size_t at, std::uint32_t v, bool wide = true) {
        std::string s = good;
        wide ? Put32(s, at, v) : Put16(s, at, v);
        return s;
    };
    const std::vector<std::pair<const char*, std::string>> lies{
        {"empty file", ""},
        {"not a bitmap", "PK" + good.substr(2)},
        {"truncated header", good.substr(0, 30)},
        {"rows missing", good.substr(0, good.size() - 1)},
        {"larger than the data", with(18, 1000)},
        {"zero width", with(18, 0)},
        {"zero height", with(22, 0)},
        {"most negative height", with(22, 0x80000000u)},
        {"huge", with(18, 70000) /* and height patched below */},
        {"unknown header size", with(14, 41)},
        {"two planes", with(26, 2, false)},
        {"two bits per pixel", with(28, 2, false)},
        {"run-length compression", with(30, 1)},
        {"data offset past the end", with(10, 5000)},
        {"data offset inside the header", with(10, 20)},
    };
    for (const auto& [why, bytes] : lies) {
        std::string s = bytes;
        if (std::string(why) == "huge") Put32(s, 22, 70000);
        EXPECT_THROW(DecodeBmp(s), EInvalidGraphic) << why;
    }
    // A palette count beyond what 8 bits can index, and one that runs into the pixels.
    std::string pal = Bmp(1, 1, 8, {0, 0}, Bytes({1, 0, 0, 0}));
    Put32(pal, 46, 300);
    EXPECT_THROW(DecodeBmp(pal), EInvalidGraphic);
    Put32(pal, 46, 200);
    EXPECT_THROW(DecodeBmp(pal), EInvalidGraphic);
    // Overlapping colour masks.
    std::string fields = Bmp(1, 1, 32, {}, Bytes({0, 0, 0, 0}), 3);
    fields.insert(54, Bytes({0xFF, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}));
    Put32(fields, 10, 66);
    EXPECT_THROW(DecodeBmp(fields), EInvalidGraphic);
}

TEST(BmpFile, UnreadableFilesRaiseFileErrors) {
    EXPECT_THROW(DecodePictureFile("/nonexistent/x.bmp"), EFileError);
    // A folder, read as a BMP file.
    EXPECT_THROW(DecodePictureFile(PictureFormatOf("x.bmp"), PELWICK_GFX_DATA), EFileError);
}

}  // namespace
}  // namespace pelwick
