#include "slideshow/PictureLoader.h"

#include <gtest/gtest.h>

#include <QDir>

#include "SlideshowTestSupport.h"
#include "app/Files.h"
#include "app/Process.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::DataFile;
using test::Pattern;
using test::SamePixels;
using test::Solid;
using test::WritePicture;

const TColor Back = RGB(9, 9, 9);

// A control of a fixed size in one size mode, and a folder for its pictures.
struct Loader {
    test::TProgramFolder dir;
    TGlimrascreen c;
    explicit Loader(int mode, int w = 1024, int h = 768) {
        c.SetAutoSize(false);
        c.resize(w, h);
        c.SetColor(Back);
        c.SetSizeMode(static_cast<std::uint8_t>(mode));
    }
    std::string Put(const std::string& name, const TBitmap& b) {
        WritePicture(dir.File(name), b);
        return dir.File(name);
    }
    const TBitmap& Shown() { return *c.Picture().Bitmap(); }
    TSize Size() { return TSize{c.Picture().Width(), c.Picture().Height()}; }
    // The size the picture was prepared at, before padding.
    TSize Prepared() { return TSize{c.PreviousPicture()->Width(), c.PreviousPicture()->Height()}; }
};

TEST(LoadScreenPicture, TileOrFitTilesNarrowPicturesAndFitsTheRest) {
    Loader l(szTileOrFit);
    const TBitmap narrow = Pattern(200, 600);
    LoadScreenPicture(l.c, l.Put("narrow.bmp", narrow));
    ASSERT_EQ(l.Size(), (TSize{1024, 768}));
    EXPECT_EQ(l.Shown().Pixel(0, 0), narrow.Pixel(0, 0));
    EXPECT_EQ(l.Shown().Pixel(200, 0), narrow.Pixel(0, 0));
    EXPECT_EQ(l.Shown().Pixel(1023, 767), narrow.Pixel(1023 % 200, 767 % 600));

    LoadScreenPicture(l.c, l.Put("square.bmp", Solid(300, 300, clRed)));
    EXPECT_EQ(l.Prepared(), (TSize{768, 768}));  // bound by the height
    LoadScreenPicture(l.c, l.Put("wide.bmp", Solid(1600, 900, clRed)));
    EXPECT_EQ(l.Prepared(), (TSize{1024, 576}));
}

TEST(LoadScreenPicture, ShrinkToFitLeavesSmallPicturesAndFitScalesThemUp) {
    Loader shrink(szShrinkToFit);
    LoadScreenPicture(shrink.c, shrink.Put("a.bmp", Solid(640, 480, clRed)));
    EXPECT_EQ(shrink.Size(), (TSize{640, 480}));
    LoadScreenPicture(shrink.c, shrink.Put("b.bmp", Solid(2048, 768, clRed)));
    EXPECT_EQ(shrink.Prepared(), (TSize{1024, 384}));
    Loader fit(szFit);
    LoadScreenPicture(fit.c, fit.Put("a.bmp", Solid(640, 480, clRed)));
    EXPECT_EQ(fit.Size(), (TSize{1024, 768}));
    Loader stretch(szStretch);
    LoadScreenPicture(stretch.c, stretch.Put("a.bmp", Solid(10, 700, clRed)));
    EXPECT_EQ(stretch.Size(), (TSize{1024, 768}));
}

TEST(LoadScreenPicture, OriginalCutsOutTheMiddle) {
    Loader l(szOriginal);
    const TBitmap wide = Pattern(2000, 500);
    LoadScreenPicture(l.c, l.Put("wide.bmp", wide));
    ASSERT_EQ(l.Size(), (TSize{1024, 768}));
    EXPECT_EQ(l.Shown().Pixel(0, 133), Back);
    EXPECT_EQ(l.Shown().Pixel(0, 134), wide.Pixel(488, 0));
    EXPECT_EQ(l.Shown().Pixel(1023, 633), wide.Pixel(1511, 499));
    EXPECT_EQ(l.Shown().Pixel(0, 634), Back);
    // A picture that fits is left alone.
    LoadScreenPicture(l.c, l.Put("small.bmp", Pattern(30, 20)));
    EXPECT_EQ(l.Size().Width, 1027);  // padded to cover the previous one, see below
}

TEST(LoadScreenPicture, RandomPlacementOnlyForSmallerPictures) {
    Loader l(szOriginal);
    l.c.SetRandomPlacement(true);
    LoadScreenPicture(l.c, l.Put("full.bmp", Solid(1024, 768, clRed)));
    EXPECT_EQ(l.Size(), (TSize{1024, 768}));
    EXPECT_EQ(l.Shown().Pixel(0, 0), clRed);

    RandSeed(77);
    (void)Random(0);  // x: no span, no draw
    const int y = Random(192);
    RandSeed(77);
    LoadScreenPicture(l.c, l.Put("low.bmp", Solid(1024, 576, clLime)));
    ASSERT_EQ(l.Size(), (TSize{1024, 768}));
    EXPECT_EQ(l.Shown().Pixel(0, y), clLime);
    EXPECT_EQ(l.Shown().Pixel(1023, y + 575), clLime);
    if (y > 0) {
        EXPECT_EQ(l.Shown().Pixel(0, y - 1), Back);
    }
    if (y + 576 < 768) {
        EXPECT_EQ(l.Shown().Pixel(0, y + 576), Back);
    }
}

TEST(LoadScreenPicture, ASmallerPictureIsPaddedToCoverThePreviousOne) {
    Loader l(szOriginal);
    LoadScreenPicture(l.c, l.Put("big.bmp", Solid(1024, 768, clRed)));
    ASSERT_NE(l.c.PreviousPicture(), nullptr);
    const TBitmap small = Pattern(640, 480);
    LoadScreenPicture(l.c, l.Put("small.bmp", small));
    ASSERT_EQ(l.Size(), (TSize{1027, 771}));
    EXPECT_EQ(l.Shown().Pixel(193, 146), Back);
    EXPECT_EQ(l.Shown().Pixel(194, 146), small.Pixel(0, 0));
    EXPECT_EQ(l.Shown().Pixel(194 + 639, 146 + 479), small.Pixel(639, 479));
    EXPECT_EQ(l.Shown().Pixel(194 + 640, 146), Back);
    EXPECT_TRUE(SamePixels(*l.c.PreviousPicture()->Bitmap(), small));  // before padding
    // The next 800 x 600 picture is compared with the unpadded 640 x 480 one.
    LoadScreenPicture(l.c, l.Put("mid.bmp", Solid(800, 600, clBlue)));
    EXPECT_EQ(l.Size(), (TSize{800, 600}));
}

TEST(LoadScreenPicture, ExtensionsAreReadWithoutRegardToCase) {
    Loader l(szOriginal, 37, 23);
    for (const auto& [name, source] : {std::pair{"a.jpeg", "baseline.jpg"},
                                       {"b.JpG", "baseline.jpg"},
                                       {"c.JPEG", "baseline.jpg"},
                                       {"d.PNG", "quadrants.png"},
                                       {"e.WebP", "quadrants.webp"},
                                       {"f.HEIC", "quadrants.heic"},
                                       {"g.Avif", "quadrants.avif"}}) {
        l.c.Picture().Clear();
        test::WriteFile(l.dir.File(name), test::ReadData(source));
        LoadScreenPicture(l.c, l.dir.File(name));
        EXPECT_EQ(l.Size(), (TSize{37, 23})) << name;
    }
    l.c.Picture().Clear();
    test::WriteFile(l.dir.File("p.GiF"), test::ReadData("transparent.gif"));
    LoadScreenPicture(l.c, l.dir.File("p.GiF"));
    // Padded to 40 x 26 to cover the previous picture, the GIF at (19, 12): its transparent
    // left half shows the colour.
    ASSERT_EQ(l.Size(), (TSize{40, 26}));
    EXPECT_EQ(l.Shown().Pixel(19, 12), Back);
    EXPECT_EQ(l.Shown().Pixel(22, 12), clRed);
}

TEST(LoadScreenPicture, BadFilesLeaveTheGoodPictureInPlace) {
    Loader l(szOriginal, 64, 48);
    const TBitmap good = Pattern(64, 48);
    LoadScreenPicture(l.c, l.Put("good.bmp", good));
    ASSERT_TRUE(SamePixels(l.Shown(), good));
    const std::string jpeg = test::ReadData("baseline.jpg");
    test::WriteFile(l.dir.File("truncated.jpg"), jpeg.substr(0, jpeg.size() / 2));
    test::WriteFile(l.dir.File("corrupt.jpg"), std::string("\xFF\xD8\xFF\xE0 nonsense", 14));
    test::WriteFile(l.dir.File("empty.jpg"), "");
    test::WriteFile(l.dir.File("empty.gif"), "");
    test::WriteFile(l.dir.File("lying.bmp"), "BM" + std::string(60, '\x7F'));
    test::WriteFile(l.dir.File("notes.txt"), "hello");
    for (const char* ext : {"png", "webp"}) {
        const std::string bytes = test::ReadData(std::string("quadrants.") + ext);
        test::WriteFile(l.dir.File(std::string("truncated.") + ext), bytes.substr(0, 40));
    }
    l.dir.MakeFolder("folder.jpg");
    l.dir.MakeFolder("folder.bmp");
    for (const char* name :
         {"truncated.jpg", "corrupt.jpg", "empty.jpg", "empty.gif", "lying.bmp", "notes.txt",
          "huge.gif", "folder.bmp", "truncated.png", "truncated.webp"}) {
        const std::string path =
            std::string(name) == "huge.gif" ? DataFile(name) : l.dir.File(name);
        EXPECT_NE(TryLoadScreenPicture(l.c, path), "") << name;
        EXPECT_TRUE(SamePixels(l.Shown(), good)) << name;
    }
    EXPECT_NE(TryLoadScreenPicture(l.c, l.dir.File("noextension")), "");
    // A JPEG that is not there (a folder is not a file) is no failure: the held picture
    // goes through the steps again.
    for (const char* name : {"gone.jpg", "folder.jpg"}) {
        EXPECT_EQ(TryLoadScreenPicture(l.c, l.dir.File(name)), "") << name;
        EXPECT_TRUE(SamePixels(l.Shown(), good)) << name;
    }
}

// The screen sets how many pixels a picture may take: a picture beyond this screen's limit
// is refused before it is read, saying why, and the slideshow goes on with another.
TEST(LoadScreenPicture, APictureBeyondTheScreensLimitFailsSayingWhy) {
    test::TProgramFolder dir;
    // The header of a 32-bit bitmap of 10000 x 10000, without its rows.
    std::string bmp = "BM" + std::string(52, '\0');
    const auto put32 = [&](size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(10, 54), put32(14, 40), put32(18, 10000), put32(22, 10000), put32(26, 1 | (32 << 16));
    test::WriteFile(dir.File("huge.bmp"), bmp);
    const struct {
        int width, height;
        const char* why;
    } rows[] = {{1920, 1080, "more than the 32 megapixels"},
                {7680, 4320, "does not fit in the file"}};
    for (const auto& row : rows) {
        const TPictureStage stage{row.width, row.height, clBlack, szTileOrFit, false, {}};
        const TPreparedPicture p = PreparePicture(dir.File("huge.bmp"), stage, 0);
        EXPECT_NE(p.Error.find(row.why), std::string::npos) << row.width << ": " << p.Error;
    }
}

TEST(LoadScreenPicture, AControlWithoutAreaFailsCleanly) {
    Loader l(szFit, 0, 300);
    const TBitmap picture = Pattern(40, 30);
    EXPECT_NE(TryLoadScreenPicture(l.c, l.Put("a.bmp", picture)), "");
    EXPECT_TRUE(SamePixels(l.Shown(), picture));  // as decoded: scaling failed
    l.c.SetSizeMode(szTileOrFit);
    EXPECT_NE(TryLoadScreenPicture(l.c, l.Put("b.bmp", picture)), "");
    l.c.SetSizeMode(szStretch);
    EXPECT_NE(TryLoadScreenPicture(l.c, l.Put("c.bmp", picture)), "");
}

TEST(LoadScreenPicture, ATinyGifFillsTheControlAndEveryReplacementNotifies) {
    Loader l(szTileOrFit, 33, 21);
    int changes = 0;
    l.c.OnChange = [&](TCustomGlimrascreen&) { ++changes; };
    LoadScreenPicture(l.c, DataFile("tiny.gif"));
    ASSERT_EQ(l.Size(), (TSize{33, 21}));
    EXPECT_TRUE(SamePixels(l.Shown(), Solid(33, 21, clRed)));
    EXPECT_EQ(changes, 3);  // decoded, flattened, tiled
}

}  // namespace
}  // namespace pelwick
