#include "app/PictureList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "app/PictureScan.h"
#include "app/Strings.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

namespace fs = std::filesystem;
using test::TProgramFolder;

void Link(const TProgramFolder& dir, const std::string& target, const std::string& name) {
    fs::create_directory_symlink(target, dir.File(name));
}

// Paths below the folder, for readable failures.
std::vector<std::string> Relative(const TProgramFolder& dir, std::vector<std::string> list) {
    for (std::string& path : list)
        path.erase(0, dir.Path().size());
    return list;
}

// A library as phones and photo tools leave it: year and month folders, their caches, a
// link back up and two links to one folder outside.
TEST(PictureList, WalksTheLibraryAsAFileManagerShowsIt) {
    TProgramFolder dir;
    for (const char* folder : {"lib", "lib/2024", "lib/2024/07", "lib/2024/12", "lib/2023",
                               "lib/.thumbnails", "lib/@eaDir", "lib/Cat.lrdata", "outside"})
        dir.MakeFolder(folder);
    for (const char* file :
         {"lib/b.jpg", "lib/a10.png", "lib/A2.gif", "lib/notes.txt", "lib/._b.jpg",
          "lib/2024/07/IMG_0001.jpg", "lib/2024/12/x.HEIC", "lib/2023/x.avif",
          "lib/.thumbnails/t.jpg", "lib/@eaDir/e.jpg", "lib/Cat.lrdata/p.jpg", "outside/o.jpg"})
        dir.Write(file, "");
    Link(dir, "../..", "lib/2024/07/up");
    Link(dir, dir.File("outside"), "lib/linked");
    Link(dir, "../outside", "lib/linked2");
    Link(dir, dir.File("gone"), "lib/dangling");

    const struct {
        bool subfolders;
        std::vector<std::string> expected;
    } rows[] = {
        {false, {"lib/A2.gif", "lib/a10.png", "lib/b.jpg"}},
        {true,
         {"lib/A2.gif", "lib/a10.png", "lib/b.jpg", "lib/2023/x.avif", "lib/2024/07/IMG_0001.jpg",
          "lib/2024/12/x.HEIC", "lib/linked/o.jpg"}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> list;
        BuildImageList(dir.File("lib"), list, row.subfolders);
        EXPECT_EQ(Relative(dir, list), row.expected) << row.subfolders;
    }
}

TEST(PictureList, DepthIsBounded) {
    TProgramFolder dir;
    std::string folder = "d";
    for (int depth = 0; depth < 40; ++depth, folder += "/d") {
        dir.MakeFolder(folder);
        dir.Write(folder + "/p.jpg", "");
    }
    std::vector<std::vector<std::string>> found;
    WalkPictureFolder(dir.File("d"), {.Subfolders = true, .MaxDepth = 32},
                      [&](std::vector<std::string>&& paths) { found.push_back(paths); });
    EXPECT_EQ(found.size(), 33u);
}

TEST(PictureList, APathIsListedOnceWhateverItsLetterCase) {
    TPictureList list;
    EXPECT_TRUE(list.Add("/p/IMG_1.jpg"));
    EXPECT_FALSE(list.Add("/P/img_1.JPG"));
    EXPECT_TRUE(list.Add("/p/\xC3\x89t\xC3\xA9.jpg"));
    EXPECT_FALSE(list.Add("/p/\xC3\xA9T\xC3\x89.jpg"));
    EXPECT_TRUE(list.Add("/p/IMG_01.jpg"));
    EXPECT_TRUE(list.Contains("/p/img_01.jpg"));
    EXPECT_FALSE(list.Contains("/p/IMG_2.jpg"));
    EXPECT_EQ(list.Paths(), (std::vector<std::string>{"/p/IMG_1.jpg", "/p/\xC3\x89t\xC3\xA9.jpg",
                                                      "/p/IMG_01.jpg"}));
}

// The slow reference: numbers padded to one width and compared as text, folders read
// recursively, each path checked against the whole list.
std::string PaddedKey(const std::string& name) {
    std::string key;
    for (size_t i = 0; i < name.size();) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            key += name[i++];
            continue;
        }
        size_t end = i;
        while (end < name.size() && std::isdigit(static_cast<unsigned char>(name[end])))
            ++end;
        std::string digits = name.substr(i, end - i);
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
        key += std::string(30 - digits.size(), '0') + digits;
        i = end;
    }
    return key;
}

bool ReferenceLess(const std::string& a, const std::string& b) {
    const int r = CompareText(PaddedKey(a), PaddedKey(b));
    return r != 0 ? r < 0 : LessText(a, b);
}

// The generated names are ASCII, so lower case is the folded form; listed holds it for
// every path of list.
void ReferenceList(const std::string& folder, std::vector<std::string>& list,
                   std::vector<std::string>& listed) {
    std::vector<std::string> files, folders;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (e.is_directory())
            folders.push_back(name);
        else if (IsPictureName(name))
            files.push_back(name);
    }
    std::sort(files.begin(), files.end(), ReferenceLess);
    std::sort(folders.begin(), folders.end(), ReferenceLess);
    for (const std::string& name : files) {
        const std::string path = folder + name;
        if (std::find(listed.begin(), listed.end(), LowerAscii(path)) != listed.end()) continue;
        list.push_back(path);
        listed.push_back(LowerAscii(path));
    }
    for (const std::string& name : folders)
        ReferenceList(folder + name + "/", list, listed);
}

// A generated tree of a few thousand files whose names mix numbers, letter case and
// near-duplicates, listed the fast way and by the reference.
TEST(PictureList, AGeneratedTreeIsListedAsTheReferenceListsIt) {
    TProgramFolder dir;
    std::mt19937 random(17);
    const char* stems[] = {"IMG_", "img_", "Photo ", "DSC", "a", "A", "x-", ""};
    const char* extensions[] = {".jpg", ".JPG", ".jpeg", ".png", ".heic", ".txt", ".gif"};
    std::vector<std::string> folders = {"t"};
    dir.MakeFolder("t");
    for (int i = 0; i < 60; ++i) {
        const std::string parent = folders[random() % folders.size()];
        const std::string name = parent + "/" + stems[random() % 8] + std::to_string(random() % 30);
        if (std::find(folders.begin(), folders.end(), name) != folders.end()) continue;
        dir.MakeFolder(name);
        folders.push_back(name);
    }
    for (int i = 0; i < 3000; ++i) {
        const std::string zeros(random() % 3, '0');
        dir.Write(folders[random() % folders.size()] + "/" + stems[random() % 8] + zeros +
                      std::to_string(random() % 200) + extensions[random() % 7],
                  "");
    }
    std::vector<std::string> reference, listed;
    ReferenceList(dir.File("t/"), reference, listed);
    ASSERT_GT(reference.size(), 1500u);
    std::vector<std::string> list;
    BuildImageList(dir.File("t"), list, true);
    EXPECT_EQ(list, reference);

    // The scan in the background lists the same.
    TPictureList scanned;
    TPictureScan scan(dir.File("t/"), {});
    ASSERT_TRUE(test::WaitUntil([&] { return scan.Finished(); }, std::chrono::seconds(30),
                                "the end of the scan"));
    scan.TakeFound(scanned);
    EXPECT_EQ(scanned.Paths(), reference);

    // Listed again with one picture gone: the same order, and each old picture found where
    // it went.
    auto old = std::make_shared<TPictureList>();
    for (const std::string& path : reference)
        old->Add(path);
    const std::string gone = reference[reference.size() / 2];
    std::filesystem::remove(gone);
    TPictureRescan rescan(dir.File("t/"), {}, {"first.jpg"}, old);
    ASSERT_TRUE(test::WaitUntil([&] { return rescan.Finished(); }, std::chrono::seconds(30),
                                "the end of the rescan"));
    const TPictureRescan::TResult result = rescan.Take();
    ASSERT_TRUE(result.List);
    std::vector<std::string> expected = {"first.jpg"};
    for (const std::string& path : reference)
        if (path != gone) expected.push_back(path);
    EXPECT_EQ(result.List->Paths(), expected);
    EXPECT_EQ(result.WatchFolder, dir.File("t/"));
    ASSERT_EQ(result.NewIndexOf.size(), reference.size());
    for (size_t i = 0; i < reference.size(); ++i) {
        const int at = result.NewIndexOf[i];
        if (reference[i] == gone) {
            EXPECT_EQ(at, -1);
        } else {
            ASSERT_GE(at, 0) << reference[i];
            EXPECT_EQ((*result.List)[size_t(at)], reference[i]);
        }
    }

    // A folder that is not there: nothing, and where its return would show.
    TPictureRescan away(dir.File("t/gone/deeper/"), {}, {}, result.List);
    ASSERT_TRUE(test::WaitUntil([&] { return away.Finished(); }, std::chrono::seconds(30),
                                "the end of the rescan"));
    const TPictureRescan::TResult none = away.Take();
    ASSERT_TRUE(none.List);
    EXPECT_TRUE(none.List->Empty());
    EXPECT_EQ(none.NewIndexOf, std::vector<int>(expected.size(), -1));
    EXPECT_EQ(none.WatchFolder, dir.File("t"));
}

}  // namespace
}  // namespace pelwick
