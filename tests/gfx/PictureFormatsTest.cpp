#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>

#include "PictureData.h"
#include "app/PictureList.h"
#include "app/Settings.h"
#include "gfx/Picture.h"
#include "gfx/PictureDecoders.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::DataFile;
using test::ReadData;

TEST(PictureFormats, TheExtensionNamesTheFormatInAnyLetterCase) {
    const struct {
        const char* file;
        const char* format;
    } known[] = {{"a.jpg", "jpeg"},       {"/x/b.JPEG", "jpeg"}, {"c.JpG", "jpeg"},
                 {"d.tar.GIF", "gif"},    {"e.Bmp", "bmp"},      {"C:\\f.png", "png"},
                 {"/x.y/g.WebP", "webp"}, {".jpg", "jpeg"},      {"IMG_1.HEIC", "heif"},
                 {"h.heif", "heif"},      {"i.Avif", "heif"}};
    for (const auto& row : known)
        EXPECT_EQ(PictureFormatOf(row.file).Name, row.format) << row.file;
    // The message names the extension as the slideshow always has: upper-cased.
    const struct {
        const char* file;
        const char* extension;
    } unknown[] = {{"notes.txt", "\".TXT\""},
                   {"a.jpg.tif", "\".TIF\""},
                   {"a.jpgx", "\".JPGX\""},
                   {"noextension", "\"\""},
                   {"/pictures.jpg/readme", "\"\""},
                   {"C:\\x.gif\\readme", "\"\""},
                   {"a.", "\".\""}};
    for (const auto& row : unknown) {
        try {
            PictureFormatOf(row.file);
            ADD_FAILURE() << row.file << " has a format";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find(row.extension), std::string::npos) << e.what();
        }
    }
}

// One sample of every format: it decodes through its file name, and every other format's
// decoder refuses it, so no row points at another format's decoder.
TEST(PictureFormats, EveryRowDecodesItsOwnFormatOnly) {
    std::set<std::string_view> covered;
    for (const char* name : {"baseline.jpg", "tiny.gif", "rgb24.bmp", "quadrants.png",
                             "quadrants.webp", "quadrants.heic"}) {
        const TPictureFormat& format = PictureFormatOf(name);
        const TBitmap b = DecodePictureFile(DataFile(name));
        EXPECT_FALSE(b.Empty()) << name;
        EXPECT_EQ(b.PixelFormat(), pf24bit) << name;
        const std::string bytes = ReadData(name);
        for (const TPictureFormat& other : PictureFormats) {
            if (&other == &format) continue;
            EXPECT_THROW(other.Decode(bytes, {}), EInvalidGraphic) << other.Name << ": " << name;
        }
        covered.insert(format.Name);
    }
    EXPECT_EQ(covered.size(), std::size(PictureFormats)) << "a format without a sample here";
}

TEST(PictureFormats, RowsAreDistinctAndEachHasFuzzSeeds) {
    std::set<std::string_view> names, extensions;
    for (const TPictureFormat& format : PictureFormats) {
        EXPECT_TRUE(names.insert(format.Name).second) << format.Name;
        EXPECT_EQ(PictureFormatNamed(format.Name), &format);
        EXPECT_NE(format.Decode, nullptr) << format.Name;
        EXPECT_FALSE(format.Extensions[0].empty()) << format.Name;
        for (std::string_view ext : format.Extensions)
            EXPECT_TRUE(ext.empty() || (ext[0] == '.' && extensions.insert(ext).second)) << ext;
        // The format's fuzz target starts from these.
        const std::filesystem::path seeds =
            std::string(PELWICK_FUZZ_CORPUS) + std::string(format.Name);
        std::error_code error;
        EXPECT_FALSE(std::filesystem::is_empty(seeds, error) || error) << seeds;
    }
    EXPECT_EQ(PictureFormatNamed("tiff"), nullptr);
}

// The picture list is made below the decoders, in app, by extensions of its own: they must
// take every extension of the table, and nothing else.
TEST(PictureFormats, ThePictureListTakesEveryExtension) {
    test::TProgramFolder dir;
    std::vector<std::string> expected;
    for (const TPictureFormat& format : PictureFormats)
        for (std::string_view ext : format.Extensions)
            if (!ext.empty()) {
                const std::string name = "p" + std::string(ext);
                dir.Write(name, "");
                expected.push_back(dir.File(name));
            }
    dir.Write("p.tif", "");
    std::vector<std::string> list;
    BuildImageList(dir.Path(), list);
    std::sort(list.begin(), list.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(list, expected);
}

}  // namespace
}  // namespace pelwick
