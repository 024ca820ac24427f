#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/DateTime.h"
#include "app/Exception.h"
#include "app/Files.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::TProgramFolder;

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(Files, FindFilesSkipsFoldersAndMatchesWithoutCase) {
    TProgramFolder dir;
    dir.MakeFolder("x.jpg");
    for (const char* name : {"y.jpg", "Z.JPG", "a.b.jpg", "README", "photo.jpeg", ".hidden.jpg"})
        dir.Write(name, "x");
    std::vector<std::string> list = {"stale"};
    FindFiles(dir.Path(), "*.jpg", list, true);
    EXPECT_EQ(Sorted(list), (std::vector<std::string>{".hidden.jpg", "Z.JPG", "a.b.jpg", "y.jpg"}));

    FindFiles(dir.Path(), "*", list, false);
    EXPECT_EQ(Sorted(list),
              (std::vector<std::string>{".hidden", "README", "Z", "a.b", "photo", "y"}));

    // A folder given without its trailing separator works the same.
    std::string folder = dir.Path();
    folder.pop_back();
    FindFiles(folder, "?.jpg", list, true);
    EXPECT_EQ(Sorted(list), (std::vector<std::string>{"Z.JPG", "y.jpg"}));

    FindFiles(dir.File("missing"), "*", list, true);
    EXPECT_TRUE(list.empty());
}

TEST(Files, Wildcards) {
    EXPECT_TRUE(MatchesWildcard("a.JPG", "*.jpg"));
    EXPECT_TRUE(MatchesWildcard("abc", "a*c"));
    EXPECT_TRUE(MatchesWildcard("ac", "a*c"));
    EXPECT_TRUE(MatchesWildcard("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesWildcard("", "*"));
    EXPECT_FALSE(MatchesWildcard("a.jpgx", "*.jpg"));
    EXPECT_FALSE(MatchesWildcard("ab", "a?c"));
    EXPECT_FALSE(MatchesWildcard("", "?"));
    EXPECT_TRUE(MatchesWildcard(std::string(10000, 'a') + "b", "*a*a*b"));
}

TEST(Files, SaveTextFileEndsEveryLineWithCrLf) {
    TProgramFolder dir;
    const std::pair<std::string, std::string> cases[] = {
        {"one\ntwo\nthree", "one\r\ntwo\r\nthree\r\n"},
        {"one\rtwo\r\nthree\n", "one\r\ntwo\r\nthree\r\n"},
        {"a\n\nb", "a\r\n\r\nb\r\n"},
        {"\n", "\r\n"},
        {"", ""},
        {std::string("cut\0here", 8), "cut\r\n"},
        {"bytes \xff\xfe stay", "bytes \xff\xfe stay\r\n"},
    };
    for (const auto& [text, expected] : cases) {
        SaveTextFile(text, dir.File("out.txt"));
        EXPECT_EQ(dir.Read("out.txt"), expected);
    }
    SaveTextFile("ignored", "");  // an empty name writes nothing and raises nothing
}

TEST(Files, SaveTextFileFailureKeepsTheOldFile) {
    TProgramFolder dir;
    EXPECT_THROW(SaveTextFile("x", dir.File("no/such/folder/out.txt")), EFileError);

    dir.Write("keep.txt", "old contents\r\n");
    const std::string message = test::MessageOfFailedWrite(
        64, [&] { SaveTextFile(std::string(4096, 'x'), dir.File("keep.txt")); });
    EXPECT_NE(message.find("keep.txt"), std::string::npos) << message;
    EXPECT_EQ(dir.Read("keep.txt"), "old contents\r\n");
}

TEST(Files, ReadFileBytesReadsWholeFilesUpToABound) {
    TProgramFolder dir;
    const std::string bytes = std::string(100'000, 'x') + std::string("\0\r\n", 3);
    dir.Write("f.bin", bytes);
    EXPECT_EQ(ReadFileBytes(dir.File("f.bin")), bytes);
    EXPECT_EQ(ReadFileBytes(dir.File("f.bin"), bytes.size()), bytes);
    EXPECT_THROW(ReadFileBytes(dir.File("f.bin"), bytes.size() - 1), EFileError);
#ifndef _WIN32
    // Without a size to check first, the bound holds while the file is read.
    EXPECT_THROW(ReadFileBytes("/dev/zero", 100'000), EFileError);
#endif
    EXPECT_THROW(ReadFileBytes(dir.Path()), EFileError);
    try {
        ReadFileBytes(dir.File("missing"));
        ADD_FAILURE() << "a missing file was read";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOENT)), std::string::npos) << e.what();
    }
}

TEST(Files, ProgramFolderFollowsPelwickHome) {
    TProgramFolder dir;
    EXPECT_EQ(ProgramFolder(), dir.Path());
    setenv("PELWICK_HOME", "/tmp/no-separator", 1);
    EXPECT_EQ(ProgramFolder(), "/tmp/no-separator/");
}

// An installed program's folder is read-only: settings live there only when a Pelwick.ini
// that may be rewritten is already there (a portable folder), else in the user's
// configuration folder.
TEST(Files, ProgramFolderRule) {
    const struct {
        TFolderFacts facts;
        const char* folder;
    } rows[] = {
        {{"/home/u/pw", "/usr/bin", true, "/home/u/cfg", "/home/u"}, "/home/u/pw/"},
        {{"", "/opt/pelwick", true, "/home/u/cfg", "/home/u"}, "/opt/pelwick/"},
        {{"", "/usr/bin", false, "/home/u/cfg", "/home/u"}, "/home/u/cfg/pelwick/"},
        {{"", "/usr/bin", false, "", "/home/u"}, "/home/u/.config/pelwick/"},
        // A relative XDG_CONFIG_HOME is to be ignored.
        {{"", "/usr/bin", false, "cfg", "/home/u/"}, "/home/u/.config/pelwick/"},
        {{"", "/usr/bin", false, "", ""}, "/usr/bin/"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ChooseProgramFolder(row.facts), row.folder) << row.folder;

    // This test's executable has no settings beside it.
    unsetenv("PELWICK_HOME");
    setenv("XDG_CONFIG_HOME", "/tmp/pelwick-config-test", 1);
    EXPECT_EQ(ProgramFolder(), "/tmp/pelwick-config-test/pelwick/");
    EXPECT_EQ(UserConfigFolder(), "/tmp/pelwick-config-test/pelwick/");
    unsetenv("XDG_CONFIG_HOME");
}

// One page per process; where the program folder cannot be written, the runtime folder.
TEST(Files, ItemPageIsPerProcessAndWritable) {
    TProgramFolder dir;
    const std::string pid = std::to_string(QCoreApplication::applicationPid());
    EXPECT_EQ(ItemPagePath(), dir.File("tmp-" + pid + ".htm"));
    setenv("PELWICK_HOME", dir.File("missing").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    EXPECT_EQ(ItemPagePath(), dir.File("tmp-" + pid + ".htm"));
    unsetenv("XDG_RUNTIME_DIR");
}

TEST(Files, ShellFoldersAndRegistry) {
    const std::string pictures = GetShellFolder("My Pictures");
    if (!pictures.empty()) {
        EXPECT_EQ(pictures.back(), PathDelim);
    }
    EXPECT_EQ(GetShellFolder("No Such Folder"), "");
    EXPECT_EQ(ReadRegistryString(rrCurrentUser, "\\Software\\Nothing", "Value"), "");
}

class TimeZone {
  public:
    explicit TimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
        setenv("TZ", tz, 1);
    }
    ~TimeZone() {
        had_ ? setenv("TZ", old_.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

  private:
    std::string old_;
    bool had_ = false;
};

TEST(Files, UtcToLocalAppliesTheStandardBiasOnly) {
    const TDateTime noonJuly = 46200.5;  // a summer day: daylight saving must not count
    {
        TimeZone tz("CET-1CEST,M3.5.0,M10.5.0/3");
        EXPECT_EQ(StandardTimeZoneBias(), -60);
        EXPECT_DOUBLE_EQ(UtcToLocal(noonJuly), noonJuly + 1.0 / 24);
    }
    {
        TimeZone tz("EST5EDT,M3.2.0,M11.1.0");
        EXPECT_DOUBLE_EQ(UtcToLocal(noonJuly), noonJuly - 5.0 / 24);
    }
    {
        TimeZone tz("UTC0");
        EXPECT_DOUBLE_EQ(UtcToLocal(noonJuly), noonJuly);
    }
    {
        TimeZone tz("IST-5:30");
        EXPECT_DOUBLE_EQ(UtcToLocal(0), 330.0 / 1440);
    }
}

TEST(Files, RectSizes) {
    EXPECT_EQ(RectWidth(TRect{10, 20, 110, 70}), 100);
    EXPECT_EQ(RectHeight(TRect{10, 20, 110, 70}), 50);
    EXPECT_EQ(RectWidth(TRect{5, 0, 2, 0}), -3);
}

}  // namespace
}  // namespace pelwick
