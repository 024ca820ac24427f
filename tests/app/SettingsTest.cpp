#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "app/Exception.h"
#include "app/Files.h"
#include "app/PictureList.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::TProgramFolder;

TEST(Settings, MissingFileGivesDefaults) {
    TProgramFolder dir;
    dir.Write("shot.jpg", "x");
    LoadSettings();
    const TRssSaverOptions& o = SaverOptions;
    EXPECT_EQ(o.ImagePath, dir.Path());
    EXPECT_EQ(o.ImageSize, 4);
    EXPECT_EQ(o.EffectSpeed2, 2);
    EXPECT_EQ(o.ImageInterval, 17);
    EXPECT_EQ(o.ImageSequence, 1);
    EXPECT_EQ(o.BlogInterval, 12);
    EXPECT_FALSE(o.RandomPosition || o.RandomFeed || o.Loop || o.Mute || o.ShowCursor ||
                 o.OnlyEscKeyExit);
    EXPECT_TRUE(o.MouseMoveExit && o.MousePressExit && o.KeyboardPressExit);
    EXPECT_TRUE(o.FeedNames.empty());
    EXPECT_EQ(PictureFolderOf(o), dir.Path());
    EXPECT_TRUE(o.ImageSubfolders);
    EXPECT_EQ(o.FeedRefresh, 30);
    EXPECT_FALSE(NoExitOptionSet());
}

TEST(Settings, ValuesTruncationAndUnparsableDefaults) {
    TProgramFolder dir;
    dir.Write("Pelwick.ini",
              "[Set]\nImageSize=260\nImageSequence=-1\nImageInterval=5\nBlogInterval=abc\n"
              "RandomFeed=true\nRandomPosition=1\n[set]\nMouseMoveExit=0\nMute=7\n");
    LoadSettings();
    EXPECT_EQ(SaverOptions.ImageSize, 4);
    EXPECT_EQ(SaverOptions.ImageSequence, 255);
    EXPECT_EQ(SaverOptions.ImageInterval, 5);
    EXPECT_EQ(SaverOptions.BlogInterval, 12);
    EXPECT_FALSE(SaverOptions.RandomFeed);
    EXPECT_TRUE(SaverOptions.RandomPosition);
    EXPECT_FALSE(SaverOptions.MouseMoveExit);
    EXPECT_TRUE(SaverOptions.Mute);
}

// 0 (random) and the styles 1..172 are kept; anything else reads as the cross-fade.
TEST(Settings, TransitionStyleKeepsTheStyleNumbersAndDefaultsToTheCrossFade) {
    const std::pair<const char*, int> cases[] = {{"", 118},   {"0", 0},     {"1", 1},
                                                 {"60", 60},  {"172", 172}, {"173", 118},
                                                 {"-1", 118}, {"abc", 118}, {"2147483647", 118}};
    for (const auto& [text, expected] : cases) {
        TProgramFolder dir;
        dir.Write("Pelwick.ini",
                  std::string("[set]\n") + (*text ? "TransitionStyle=" : "") + text + "\n");
        LoadSettings();
        EXPECT_EQ(SaverOptions.TransitionStyle, expected) << text;
    }
}

TEST(Settings, FeedNamesKeepOrderAndFollowUsefeed) {
    TProgramFolder dir;
    dir.Write("Pelwick.ini",
              "[feeds]\nZeta=http://z\nAlpha=http://a\nOff=http://off\nMid=http://m\n"
              "[usefeed]\nAlpha=1\noff=0\nMid=junk\n");
    LoadSettings();
    EXPECT_EQ(SaverOptions.FeedNames, (std::vector<std::string>{"Zeta", "Alpha", "Mid"}));
    EXPECT_FALSE(IsFeedUsed("Off [http://off]"));
    EXPECT_TRUE(IsFeedUsed("Zeta [http://z]"));
    EXPECT_TRUE(IsFeedUsed("Unknown"));
    // The feed that is not in use stays in the file.
    EXPECT_EQ(SettingsFile->ReadString("feeds", "Off", ""), "http://off");
}

TEST(Settings, EmptyFeedsSection) {
    TProgramFolder dir;
    dir.Write("Pelwick.ini", "[feeds]\n[usefeed]\n");
    LoadSettings();
    EXPECT_TRUE(SaverOptions.FeedNames.empty());
}

// Natural order, every format together, letter case ignored.
TEST(Settings, ImageListOrder) {
    TProgramFolder dir;
    for (const char* name :
         {"f.webp", "b.jpg", "a.JPG", "c.gif", "a.bmp", "notes.txt", "d.png", "e.jpeg", "g.tif"})
        dir.Write(name, "x");
    dir.MakeFolder("x.jpg");
    std::vector<std::string> list;
    BuildImageList(dir.Path(), list);
    EXPECT_EQ(list, (std::vector<std::string>{
                        dir.File("a.bmp"), dir.File("a.JPG"), dir.File("b.jpg"), dir.File("c.gif"),
                        dir.File("d.png"), dir.File("e.jpeg"), dir.File("f.webp")}));
    // Appending the same folder again adds nothing; a missing folder adds nothing.
    BuildImageList(dir.Path(), list);
    BuildImageList(dir.File("missing/"), list);
    EXPECT_EQ(list.size(), 7u);
}

// A folder written by hand without its separator still lists its pictures, and the stored
// value is kept as written.
TEST(Settings, ImagePathWithoutItsSeparator) {
    TProgramFolder dir;
    dir.MakeFolder("pics");
    dir.Write("pics/p.jpg", "x");
    std::string folder = dir.File("pics");
    dir.Write("Pelwick.ini", "[set]\nImagePath=" + folder + "\n");
    LoadSettings();
    EXPECT_EQ(SaverOptions.ImagePath, folder);
    std::vector<std::string> list;
    BuildImageList(PictureFolderOf(SaverOptions), list);
    EXPECT_EQ(list, (std::vector<std::string>{dir.File("pics/p.jpg")}));
}

TEST(Settings, MissingImagePathUsesProgramFolderPictures) {
    TProgramFolder dir;
    dir.Write("here.gif", "x");
    dir.Write("Pelwick.ini", "[set]\nImagePath=" + dir.File("gone/") + "\n");
    LoadSettings();
    EXPECT_EQ(SaverOptions.ImagePath, dir.File("gone/"));
    EXPECT_EQ(PictureFolderOf(SaverOptions), dir.Path());
}

TEST(Settings, ImagePathNamingAFile) {
    TProgramFolder dir;
    dir.Write("here.bmp", "x");
    dir.Write("file.jpg", "x");
    dir.Write("Pelwick.ini", "[set]\nImagePath=" + dir.File("file.jpg") + "\n");
    LoadSettings();
    std::vector<std::string> list;
    BuildImageList(PictureFolderOf(SaverOptions), list);
    EXPECT_EQ(list, (std::vector<std::string>{dir.File("file.jpg"), dir.File("here.bmp")}));
}

TEST(Settings, ResolveImagePathOrder) {
    TProgramFolder dir;
    dir.MakeFolder("pics");
    dir.Write("pics/both.jpg", "x");
    dir.Write("both.jpg", "x");
    dir.Write("only-home.jpg", "x");
    SaverOptions.ImagePath = dir.File("pics/");

    std::string path = dir.File("only-home.jpg");
    EXPECT_TRUE(ResolveImagePath(path));
    EXPECT_EQ(path, dir.File("only-home.jpg"));

    path = "both.jpg";
    EXPECT_TRUE(ResolveImagePath(path));
    EXPECT_EQ(path, dir.File("pics/both.jpg"));

    path = "only-home.jpg";
    EXPECT_TRUE(ResolveImagePath(path));
    EXPECT_EQ(path, dir.File("only-home.jpg"));

    path = "nowhere.jpg";
    EXPECT_FALSE(ResolveImagePath(path));
    EXPECT_EQ(path, "nowhere.jpg");

    path = "pics";  // a folder is not a picture
    EXPECT_FALSE(ResolveImagePath(path));
}

TEST(Settings, SaveWritesAllOptionKeysInOrder) {
    TProgramFolder dir;
    LoadSettings();
    SaverOptions.BlogInterval = 30;
    SaverOptions.OnlyEscKeyExit = true;
    SaveSettings();
    EXPECT_EQ(dir.Read("Pelwick.ini"),
              "[set]\r\nEffectSpeed2=2\r\nImageSize=4\r\nImageInterval=17\r\nImageSequence=1\r\n"
              "RandomPosition=0\r\nBlogInterval=30\r\nRandomFeed=0\r\nLoop=0\r\nMute=0\r\n"
              "MouseMoveExit=1\r\nMousePressExit=1\r\nKeyboardPressExit=1\r\nShowCursor=0\r\n"
              "OnlyEscKeyExit=1\r\nTransitionStyle=118\r\nImageSubfolders=1\r\n"
              "FeedRefresh=30\r\n");

    // Reading the file back gives the same record.
    UnloadSettings();
    LoadSettings();
    EXPECT_EQ(SaverOptions.BlogInterval, 30);
    EXPECT_TRUE(SaverOptions.OnlyEscKeyExit);
}

TEST(Settings, FeedRefreshTakesMinutesAndZeroAndRefusesNegatives) {
    const std::pair<std::string, int> cases[] = {
        {"FeedRefresh=45", 45},   {"FeedRefresh=0", 0}, {"FeedRefresh=-5", 30},
        {"FeedRefresh=soon", 30}, {"feedrefresh=7", 7},
    };
    for (const auto& [line, expected] : cases) {
        TProgramFolder dir;
        dir.Write("Pelwick.ini", "[set]\n" + line + "\n");
        LoadSettings();
        EXPECT_EQ(SaverOptions.FeedRefresh, expected) << line;
    }
}

TEST(Settings, SaveKeepsFeedsAndUpdatesExistingKeys) {
    TProgramFolder dir;
    dir.Write("Pelwick.ini", "[feeds]\nNews=http://n\n[Set]\nBlogInterval=9\n");
    LoadSettings();
    SaverOptions.BlogInterval = 10;
    SaveSettings();
    const TSettingsFile reread(dir.File("Pelwick.ini"));
    EXPECT_EQ(reread.ReadString("feeds", "News", ""), "http://n");
    EXPECT_EQ(reread.ReadInteger("set", "BlogInterval", 0), 10);
    EXPECT_EQ(reread.SectionNames(), (std::vector<std::string>{"feeds", "Set"}));
}

TEST(Settings, FailedSaveLeavesTheFileUntouched) {
    TProgramFolder dir;
    const std::string original = "[feeds]\nNews=http://n\n[set]\nBlogInterval=9\n";
    dir.Write("Pelwick.ini", original);
    LoadSettings();
    SaverOptions.BlogInterval = 99;

    const std::string message = test::MessageOfFailedWrite(32, [] { SaveSettings(); });
    EXPECT_NE(message.find("Pelwick.ini"), std::string::npos) << message;
    EXPECT_EQ(dir.Read("Pelwick.ini"), original);
    // Once the disk takes it again, the same settings save.
    SaveSettings();
    EXPECT_EQ(TSettingsFile(dir.File("Pelwick.ini")).ReadInteger("set", "BlogInterval", 0), 99);
}

// An installed program's picture folder, when the user never chose one, is decided at every
// start: the desktop's pictures folder once there is one, never the settings folder frozen
// by a Save (nor by the earlier versions that froze it).
TEST(Settings, AnUnchosenPictureFolderIsNotFrozenBySave) {
    TProgramFolder dir;
    const auto keep = [](const char* name) {
        const char* value = std::getenv(name);
        return std::pair<std::string, std::optional<std::string>>(
            name, value ? std::optional<std::string>(value) : std::nullopt);
    };
    const auto saved = {keep("HOME"), keep("XDG_CONFIG_HOME"), keep("PELWICK_HOME")};
    setenv("HOME", dir.Path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    unsetenv("PELWICK_HOME");
    const std::string settings = dir.File("config/pelwick/");
    const auto reload = [] {
        UnloadSettings();
        LoadSettings();
    };

    reload();
    EXPECT_EQ(SaverOptions.ImagePath, settings);
    SaveSettings();
    EXPECT_EQ(TSettingsFile(settings + "Pelwick.ini").ReadString("set", "ImagePath", "-"), "-");
    dir.MakeFolder("Pictures");
    reload();
    EXPECT_EQ(SaverOptions.ImagePath, dir.File("Pictures/"));
    // What an earlier version froze is no choice either; a real choice is kept.
    dir.Write("config/pelwick/Pelwick.ini", "[set]\nImagePath=" + settings + "\n");
    reload();
    EXPECT_EQ(SaverOptions.ImagePath, dir.File("Pictures/"));
    dir.MakeFolder("Photos");
    SaverOptions.ImagePath = dir.File("Photos/");
    SaveSettings();
    reload();
    EXPECT_EQ(SaverOptions.ImagePath, dir.File("Photos/"));
    EXPECT_TRUE(SaverOptions.ImagePathChosen);

    UnloadSettings();
    for (const auto& [name, value] : saved) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

// The user's configuration folder does not exist before the first save, which makes it; a
// folder that cannot be made fails the save.
TEST(Settings, SaveMakesAMissingFolderOrFails) {
    TProgramFolder dir;
    setenv("PELWICK_HOME", dir.File("new/pelwick").c_str(), 1);
    UnloadSettings();
    LoadSettings();
    SaveSettings();
    EXPECT_TRUE(FileExists(dir.File("new/pelwick/Pelwick.ini")));
    dir.Write("file", "x");
    setenv("PELWICK_HOME", dir.File("file/pelwick").c_str(), 1);
    UnloadSettings();
    LoadSettings();
    EXPECT_THROW(SaveSettings(), EFileError);
}

TEST(Settings, NoExitOptionSet) {
    TProgramFolder dir;
    TRssSaverOptions& o = SaverOptions;
    o.MouseMoveExit = o.MousePressExit = o.KeyboardPressExit = o.OnlyEscKeyExit = false;
    o.ShowCursor = true;
    EXPECT_TRUE(NoExitOptionSet());
    for (bool* flag :
         {&o.MouseMoveExit, &o.MousePressExit, &o.KeyboardPressExit, &o.OnlyEscKeyExit}) {
        *flag = true;
        EXPECT_FALSE(NoExitOptionSet());
        *flag = false;
    }
}

}  // namespace
}  // namespace pelwick
