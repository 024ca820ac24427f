#include "slideshow/PictureDecoders.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "SlideshowTestSupport.h"
#include "gfx/Picture.h"

namespace pelwick {
namespace {

using test::DataFile;
using test::ReadData;

// JPEG is lossy: a channel is right when it is within a few steps of the original.
void ExpectNear(TColor actual, TColor expected, const std::string& where) {
    EXPECT_LE(std::abs(GetRValue(actual) - GetRValue(expected)), 12) << where;
    EXPECT_LE(std::abs(GetGValue(actual) - GetGValue(expected)), 12) << where;
    EXPECT_LE(std::abs(GetBValue(actual) - GetBValue(expected)), 12) << where;
}

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
        ExpectQuadrants(DecodeJpegFile(DataFile(name)), name);
}

TEST(JpegDecoder, GrayscaleBecomesGrayColour) {
    const TBitmap b = DecodeJpegFile(DataFile("gray.jpg"));
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
        DecodeJpegFile(DataFile("manyscans.jpg"));
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

TEST(JpegDecoder, UnreadableFilesAreFileErrors) {
    EXPECT_THROW(DecodeJpegFile(DataFile("missing.jpg")), EFileError);
    EXPECT_THROW(DecodeJpegFile(DataFile("")), EFileError);  // the folder itself
}

const TColor Background = RGB(1, 2, 3);

TEST(GifDecoder, FirstImageOnlyClippedToTheLogicalScreen) {
    const TBitmap b = DecodeGifFile(DataFile("partial.gif"), Background);
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
    const TBitmap b = DecodeGifFile(DataFile("interlaced.gif"), Background);
    ASSERT_EQ(b.Height(), 9);
    for (int y = 0; y < 9; ++y)
        EXPECT_EQ(b.Pixel(2, y), y % 3 == 0 ? clRed : y % 3 == 1 ? clLime : clBlue) << y;
}

TEST(GifDecoder, TransparencyMissingTablesAndBadIndicesShowTheBackground) {
    const TBitmap holes = DecodeGifFile(DataFile("transparent.gif"), Background);
    EXPECT_EQ(holes.Pixel(0, 0), Background);
    EXPECT_EQ(holes.Pixel(3, 3), clRed);
    const TBitmap nomap = DecodeGifFile(DataFile("nomap.gif"), Background);
    EXPECT_EQ(nomap.Pixel(1, 1), Background);
    const TBitmap bad = DecodeGifFile(DataFile("badindex.gif"), Background);
    EXPECT_EQ(bad.Pixel(1, 0), clRed);
    EXPECT_EQ(bad.Pixel(0, 0), clBlue);  // index 200 of a two-entry table
    EXPECT_EQ(bad.Pixel(3, 0), clBlue);
    const TBitmap tiny = DecodeGifFile(DataFile("tiny.gif"), Background);
    EXPECT_EQ(tiny.Width(), 1);
    EXPECT_EQ(tiny.Pixel(0, 0), clRed);
}

TEST(GifDecoder, HostileAndBrokenFilesFail) {
    EXPECT_THROW(DecodeGifFile(DataFile("huge.gif"), Background), EInvalidGraphic);
    const std::string good = ReadData("partial.gif");
    for (const std::string& bytes : {std::string(), std::string("GIF89a"), good.substr(0, 40),
                                     good.substr(0, 13), std::string("\xFF\xD8 not a gif")})
        EXPECT_THROW(DecodeGif(bytes, Background), EInvalidGraphic) << bytes.size();
    // A screen descriptor with no image after it.
    EXPECT_THROW(DecodeGif(good.substr(0, 13 + 12) + ";", Background), EInvalidGraphic);
}

}  // namespace
}  // namespace pelwick
