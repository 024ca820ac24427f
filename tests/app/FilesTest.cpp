#include <gtest/gtest.h>

#include <QCoreApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/DateTime.h"
#include "app/Exception.h"
#include "app/Files.h"
#include "app/PrivateFolder.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using test::TEnvironmentValue;
using test::TProgramFolder;
using test::TSharedFolder;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

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

TEST(PrivateFolder, IsTheUsersAloneAndGoesWithItsOwner) {
    TSharedFolder shared;
    std::string first, second;
    {
        TPrivateFolder a(shared.Path()), b(shared.Path());
        first = a.Path(), second = b.Path();
        EXPECT_NE(first, second);
        EXPECT_EQ(first.substr(0, shared.Path().size()), shared.Path());
        EXPECT_EQ(ModeOf(first) & 07777, 0700u);
        EXPECT_TRUE(UserOnlyFolder(first));
        WriteFileAtomically(a.Path() + "page.htm", "x");
    }
    EXPECT_FALSE(DirectoryExists(first));
    EXPECT_FALSE(DirectoryExists(second));
    EXPECT_FALSE(UserOnlyFolder(shared.Path()));
    EXPECT_THROW(TPrivateFolder(shared.File("missing")), EFileError);
}

// Where others can write, the page goes to a private folder: a file or link planted at the
// predictable name is neither replaced nor followed, and the folder goes when the page does.
TEST(Files, ItemPageStaysOutOfFoldersOthersCanWrite) {
    for (bool runtimeShared : {false, true}) {
        TSharedFolder temp, program;
        const TEnvironmentValue home("PELWICK_HOME", program.Path().c_str());
        const TEnvironmentValue tmp("TMPDIR", temp.Path().c_str());
        const TEnvironmentValue runtime("XDG_RUNTIME_DIR",
                                        runtimeShared ? temp.Path().c_str() : nullptr);
        const std::string name =
            "tmp-" + std::to_string(QCoreApplication::applicationPid()) + ".htm";
        program.Plant(name, "planted");
        temp.Plant("target", "target");
        ASSERT_EQ(::symlink(temp.File("target").c_str(), temp.File(name).c_str()), 0);

        const std::string page = ItemPagePath();
        const std::string folder = page.substr(0, page.rfind('/') + 1);
        EXPECT_EQ(page.substr(folder.size()), name);
        EXPECT_EQ(folder.substr(0, temp.Path().size()), temp.Path()) << runtimeShared;
        EXPECT_NE(folder, temp.Path());
        EXPECT_EQ(ModeOf(folder) & 07777, 0700u);
        SaveTextFile("page", page, naUserOnly);
        EXPECT_EQ(ItemPagePath(), page);  // one folder for the run
        EXPECT_EQ(ReadFileBytes(program.File(name)), "planted");
        EXPECT_EQ(ReadFileBytes(temp.File("target")), "target");
        EXPECT_TRUE(S_ISLNK(ModeOf(temp.File(name))));
        DeleteItemPage();
        EXPECT_FALSE(DirectoryExists(folder));
    }
}

// A file written over another keeps its mode only when it is the user's own regular file:
// a planted link or another user's file never makes the page or the settings writable by all.
TEST(Files, WritingOverAFileBorrowsNoModeThroughALink) {
    const mode_t mask = ::umask(022);
    enum TPlanted { plNothing, plLink, plOthersFile, plOwnFile };
    const struct {
        TPlanted planted;
        TNewFileAccess access;
        mode_t mode;
    } rows[] = {
        {plNothing, naUserOnly, 0600},     {plNothing, naUmaskDefault, 0644},
        {plLink, naUserOnly, 0600},        {plLink, naUmaskDefault, 0644},
        {plOthersFile, naUserOnly, 0600},  {plOwnFile, naUserOnly, 0640},
        {plOwnFile, naUmaskDefault, 0640},
    };
    for (const auto& row : rows) {
        TSharedFolder shared;
        const std::string file = shared.File("Pelwick.ini");
        shared.Plant("target", "target");
        if (row.planted == plLink) {
            ASSERT_EQ(::symlink(shared.File("target").c_str(), file.c_str()), 0);
        }
        if (row.planted == plOthersFile) shared.Plant("Pelwick.ini", "old");
        if (row.planted == plOwnFile) {
            WriteFileAtomically(file, "old");
            ::chmod(file.c_str(), 0640);
        }
        WriteFileAtomically(file, "new", row.access);
        EXPECT_EQ(ModeOf(file), S_IFREG | row.mode) << row.planted << " " << row.access;
        EXPECT_EQ(ReadFileBytes(file), "new");
        EXPECT_EQ(ReadFileBytes(shared.File("target")), "target");
        EXPECT_EQ(ModeOf(shared.File("target")) & 07777, 0666u);
    }
    ::umask(mask);
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
