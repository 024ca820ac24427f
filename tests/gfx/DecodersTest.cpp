#include "gfx/PictureDecoders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "PictureData.h"
#include "gfx/Picture.h"

namespace pelwick {
namespace {

using test::Crc32;

using test::DataFile;
using test::ExpectNear;
using test::ReadData;

// The quadrant fixtures: red, green / blue, white, 37 x 23.
void ExpectQuadrants(const TBitmap& b, const std::string& name) {
    ASSERT_EQ(b.Width(), 37) << name;
    ASSERT_EQ(b.Height(), 23) << name;
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    ExpectNear(b.Pixel(6, 4), clRed, name + " top left");
    ExpectNear(b.Pixel(30, 4), clLime, name + " top right");
    ExpectNear(b.Pixel(6, 19), clBlue, name + " bottom left");
    ExpectNear(b.Pixel(30, 19), clWhite, name + " bottom right");
}

TEST(JpegDecoder, BaselineProgressiveAndCmykDecodeToColour) {
    for (const char* name : {"baseline.jpg", "progressive.jpg", "cmyk.jpg"})
        ExpectQuadrants(DecodePictureFile(DataFile(name)), name);
}

TEST(JpegDecoder, GrayscaleBecomesGrayColour) {
    const TBitmap b = DecodePictureFile(DataFile("gray.jpg"));
    ASSERT_EQ(b.Width(), 33);
    ASSERT_EQ(b.Height(), 17);
    ExpectNear(b.Pixel(3, 8), RGB(40, 40, 40), "left");
    ExpectNear(b.Pixel(29, 8), RGB(200, 200, 200), "right");
    const TColor p = b.Pixel(29, 8);
    EXPECT_EQ(GetRValue(p), GetGValue(p));
    EXPECT_EQ(GetGValue(p), GetBValue(p));
}

TEST(JpegDecoder, BrokenFilesFailWithoutEndingTheProcess) {
    const std::string good = ReadData("baseline.jpg");
    const std::string progressive = ReadData("progressive.jpg");
    const std::vector<std::pair<const char*, std::string>> broken{
        {"empty", ""},
        {"not a JPEG", "GIF89a and then some"},
        {"start marker only", good.substr(0, 2)},
        {"truncated header", good.substr(0, 100)},
        {"truncated data", good.substr(0, good.size() * 3 / 4)},
        {"truncated progressive", progressive.substr(0, progressive.size() / 2)},
        {"garbage after the start marker", good.substr(0, 2) + std::string(400, '\x5A')},
    };
    for (const auto& [why, bytes] : broken)
        EXPECT_THROW(DecodeJpeg(bytes), EInvalidGraphic) << why;
}

TEST(JpegDecoder, TooManyScansAndTooLargeHeadersAreRefused) {
    try {
        DecodePictureFile(DataFile("manyscans.jpg"));
        FAIL() << "a picture of 631 scans was decoded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("500 scans"), std::string::npos) << e.what();
    }
    // The size fields of the frame header (SOF0): 60000 x 60000 is 3600 megapixels.
    std::string huge = ReadData("baseline.jpg");
    const size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = huge[sof + 7] = static_cast<char>(0xEA);
    huge[sof + 6] = huge[sof + 8] = static_cast<char>(0x60);
    try {
        DecodeJpeg(huge);
        FAIL() << "a 3600-megapixel header was accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
}

// The quadrants' corners (top left, top right, bottom left, bottom right) as each Exif
// orientation shows them upright, worked out by hand from the eight Exif meanings.
const struct {
    int orientation;
    TColor corners[4];
} OrientationRows[] = {
    {1, {clRed, clLime, clBlue, clWhite}}, {2, {clLime, clRed, clWhite, clBlue}},
    {3, {clWhite, clBlue, clLime, clRed}}, {4, {clBlue, clWhite, clRed, clLime}},
    {5, {clRed, clBlue, clLime, clWhite}}, {6, {clBlue, clRed, clWhite, clLime}},
    {7, {clWhite, clLime, clBlue, clRed}}, {8, {clLime, clWhite, clRed, clBlue}},
};

// An Exif block with one directory entry (tag, type, count, value) in big-endian order.
std::string Exif(int tag, int type, int count, int value, std::uint32_t ifd = 8) {
    auto be = [](std::uint32_t v, int bytes) {
        std::string s;
        for (int i = bytes - 1; i >= 0; --i)
            s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return s;
    };
    return std::string("Exif\0\0MM\0\x2A", 10) + be(ifd, 4) + be(1, 2) + be(tag, 2) + be(type, 2) +
           be(count, 4) + be(value, 2) + be(0, 2) + be(0, 4);
}

// baseline.jpg with an APP1 segment right after its start marker.
std::string WithApp1(const std::string& app1) {
    const std::string jpeg = ReadData("baseline.jpg");
    const size_t length = app1.size() + 2;
    return jpeg.substr(0, 2) + "\xFF\xE1" + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + app1 + jpeg.substr(2);
}

TEST(JpegDecoder, ExifOrientationTurnsThePictureUpright) {
    for (const auto& row : OrientationRows) {
        const TBitmap b = DecodeJpeg(WithApp1(Exif(0x0112, 3, 1, row.orientation)));
        const bool turned = row.orientation >= 5;
        const std::string name = "orientation " + std::to_string(row.orientation);
        ASSERT_EQ(b.Width(), turned ? 23 : 37) << name;
        ASSERT_EQ(b.Height(), turned ? 37 : 23) << name;
        const int r = b.Width() - 4, d = b.Height() - 4;
        ExpectNear(b.Pixel(3, 3), row.corners[0], name + " top left");
        ExpectNear(b.Pixel(r, 3), row.corners[1], name + " top right");
        ExpectNear(b.Pixel(3, d), row.corners[2], name + " bottom left");
        ExpectNear(b.Pixel(r, d), row.corners[3], name + " bottom right");
    }
}

TEST(JpegDecoder, BogusExifBlocksLeaveThePictureAsStored) {
    std::string little = Exif(0x0112, 3, 1, 6);
    little.replace(6, 8, std::string("II\x2A\0\x08\0\0\0", 8));  // byte order only: wrong
    const std::vector<std::pair<const char*, std::string>> rows{
        {"no Exif header", "Exif"},
        {"directory past the end", Exif(0x0112, 3, 1, 6, 0xFFFFFFF0)},
        {"entry cut off", Exif(0x0112, 3, 1, 6).substr(0, 20)},
        {"not a SHORT", Exif(0x0112, 4, 1, 6)},
        {"two values", Exif(0x0112, 3, 2, 6)},
        {"orientation 9", Exif(0x0112, 3, 1, 9)},
        {"another tag", Exif(0x0100, 3, 1, 6)},
        {"entries read in the wrong byte order", little},
    };
    for (const auto& [why, block] : rows) {
        EXPECT_EQ(ExifOrientation(block), 1) << why;
        ExpectQuadrants(DecodeJpeg(WithApp1(block)), why);
    }
    EXPECT_EQ(ExifOrientation(Exif(0x0112, 3, 1, 8)), 8);
}

TEST(JpegDecoder, AShrinkingTargetDecodesAtAFractionNeverBelowIt) {
    const struct {
        TDecodeTarget target;
        int width, height;
    } rows[] = {
        {{}, 2048, 1024},
        {{300, 200, false}, 2048, 1024},  // shown at its own size: decoded whole
        {{300, 200, true}, 512, 256},     // a quarter: the height keeps 256
        {{600, 300, true}, 1024, 512},
        {{1000, 600, true}, 2048, 1024},  // half would be below the target
    };
    const std::string large = ReadData("large.jpg");
    for (const auto& row : rows) {
        const TBitmap b = DecodeJpeg(large, row.target);
        EXPECT_EQ(b.Width(), row.width) << row.target.Width;
        EXPECT_EQ(b.Height(), row.height) << row.target.Width;
        ExpectNear(b.Pixel(b.Width() - 8, b.Height() - 8), clWhite, "bottom right");
    }
}

TEST(JpegDecoder, UnreadableFilesAreFileErrors) {
    EXPECT_THROW(DecodePictureFile(DataFile("missing.jpg")), EFileError);
    // The folder itself, read as a JPEG file.
    EXPECT_THROW(DecodePictureFile(PictureFormatOf("x.jpg"), DataFile("")), EFileError);
}

const TColor Background = RGB(1, 2, 3);
const TDecodeTarget OverBackground{.Background = Background};

TEST(GifDecoder, FirstImageOnlyClippedToTheLogicalScreen) {
    const TBitmap b = DecodePictureFile(DataFile("partial.gif"), OverBackground);
    ASSERT_EQ(b.Width(), 20);
    ASSERT_EQ(b.Height(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            TColor expected = clBlue;  // the GIF's background colour
            if (x >= 14 && y >= 4) expected = ((x - 14) + (y - 4)) % 2 ? clLime : clRed;
            ASSERT_EQ(b.Pixel(x, y), expected) << x << "," << y;
        }
}

TEST(GifDecoder, InterlacedRowsLandInTheirPlaces) {
    const TBitmap b = DecodePictureFile(DataFile("interlaced.gif"), OverBackground);
    ASSERT_EQ(b.Height(), 9);
    for (int y = 0; y < 9; ++y)
        EXPECT_EQ(b.Pixel(2, y), y % 3 == 0 ? clRed : y % 3 == 1 ? clLime : clBlue) << y;
}

TEST(GifDecoder, TransparencyMissingTablesAndBadIndicesShowTheBackground) {
    const TBitmap holes = DecodePictureFile(DataFile("transparent.gif"), OverBackground);
    EXPECT_EQ(holes.Pixel(0, 0), Background);
    EXPECT_EQ(holes.Pixel(3, 3), clRed);
    const TBitmap nomap = DecodePictureFile(DataFile("nomap.gif"), OverBackground);
    EXPECT_EQ(nomap.Pixel(1, 1), Background);
    const TBitmap bad = DecodePictureFile(DataFile("badindex.gif"), OverBackground);
    EXPECT_EQ(bad.Pixel(1, 0), clRed);
    EXPECT_EQ(bad.Pixel(0, 0), clBlue);  // index 200 of a two-entry table
    EXPECT_EQ(bad.Pixel(3, 0), clBlue);
    const TBitmap tiny = DecodePictureFile(DataFile("tiny.gif"), OverBackground);
    EXPECT_EQ(tiny.Width(), 1);
    EXPECT_EQ(tiny.Pixel(0, 0), clRed);
}

TEST(GifDecoder, HostileAndBrokenFilesFail) {
    EXPECT_THROW(DecodePictureFile(DataFile("huge.gif"), OverBackground), EInvalidGraphic);
    const std::string good = ReadData("partial.gif");
    for (const std::string& bytes : {std::string(), std::string("GIF89a"), good.substr(0, 40),
                                     good.substr(0, 13), std::string("\xFF\xD8 not a gif")})
        EXPECT_THROW(DecodeGif(bytes, OverBackground), EInvalidGraphic) << bytes.size();
    // A screen descriptor with no image after it.
    EXPECT_THROW(DecodeGif(good.substr(0, 13 + 12) + ";", OverBackground), EInvalidGraphic);
}

TEST(GifDecoder, AHugeScreenShownSmallerIsMadeAtAFraction) {
    std::string bytes = ReadData("huge.gif");  // a 1 x 1 red image on a 10000 x 10000 screen
    bytes[6] = bytes[8] = static_cast<char>(10000 & 0xFF);
    bytes[7] = bytes[9] = static_cast<char>(10000 >> 8);
    const TBitmap b = DecodeGif(bytes, {1280, 800, true, Background});
    EXPECT_EQ(b.Width(), 1429);  // every seventh pixel: 10000 / 7 still covers 1280
    EXPECT_EQ(b.Height(), 1429);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 1), clBlack);  // the GIF's background (palette entry 0)
}

void ExpectStrip(const TBitmap& b, const std::string& name) {
    ASSERT_EQ(b.Width(), 4) << name;
    ASSERT_EQ(b.Height(), 2) << name;
    EXPECT_EQ(b.Pixel(0, 1), RGB(200, 100, 50)) << name;
    EXPECT_EQ(b.Pixel(1, 1), RGB(100, 50, 25)) << name << " half alpha over black";
    EXPECT_EQ(b.Pixel(2, 1), clBlack) << name;
    EXPECT_EQ(b.Pixel(3, 0), RGB(200, 100, 50)) << name;
}

TEST(PngAndWebp, PicturesAndAlphaOverBlack) {
    ExpectQuadrants(DecodePictureFile(DataFile("quadrants.png")), "PNG");
    ExpectQuadrants(DecodePictureFile(DataFile("quadrants.webp")), "WebP");
    ExpectStrip(DecodePictureFile(DataFile("alpha.png")), "PNG");
    ExpectStrip(DecodePictureFile(DataFile("alpha.webp")), "WebP");
}

// The file with a header that claims 16384 x 16384 (268 megapixels), otherwise valid.
std::string Lying(std::string bytes, bool png) {
    if (png) {  // IHDR's width and height, then its CRC
        bytes.replace(16, 8, std::string("\0\0\x40\0\0\0\x40\0", 8));
        const std::uint32_t crc = Crc32(std::string_view(bytes).substr(12, 17));
        for (int i = 0; i < 4; ++i)
            bytes[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    } else {  // VP8L: 14 bits of width - 1, 14 of height - 1, alpha and version bits clear
        bytes.replace(21, 4, "\xFF\xFF\xFF\x0F");
    }
    return bytes;
}

TEST(PngAndWebp, BrokenAndLyingFilesFail) {
    for (const auto& [file, decode] :
         {std::pair<const char*, TPictureDecoder>{"quadrants.png", DecodePng},
          {"quadrants.webp", DecodeWebp}}) {
        const std::string good = ReadData(file);
        for (const std::string& bytes :
             {std::string(), good.substr(0, 8), good.substr(0, 30),
              good.substr(0, good.size() - 20), std::string("GIF89a and then some")})
            EXPECT_THROW(decode(bytes, {}), EInvalidGraphic) << file << " " << bytes.size();
        try {
            decode(Lying(good, decode == DecodePng), {});
            FAIL() << file << ": a 268-megapixel header was accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(DecodePictureFile(DataFile("missing.png")), EFileError);
}

}  // namespace
}  // namespace pelwick
