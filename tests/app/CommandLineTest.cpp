#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace pelwick {
namespace {

struct TCase {
    std::vector<std::string> args;
    int mode;
    int parent;
};

TEST(CommandLine, SwitchTable) {
    const TCase cases[] = {
        {{}, rmOptions, 0},
        {{"/s"}, rmSaver, 0},
        {{"/S"}, rmSaver, 0},
        {{"-s"}, rmSaver, 0},
        {{"/x"}, rmSaver, 0},
        {{"/c"}, rmOptionsC, 0},
        {{"/C"}, rmOptionsC, 0},
        {{"/c:1234"}, rmOptionsC, 0},
        {{"/p", "1234"}, rmPreview, 1234},
        {{"/p"}, rmOptions, 0},
        {{"/p", "abc"}, rmPreview, 0},
        {{"/a", "1234"}, rmNothing, 1234},
        {{"/a"}, rmOptions, 0},
        // Without a prefix the first letter is what gets deleted.
        {{"ss"}, rmSaver, 0},
        {{"sc"}, rmOptionsC, 0},
        {{"sp", "7"}, rmPreview, 7},
        // Only the first two arguments count.
        {{"/p", "5", "/c", "9"}, rmPreview, 5},
        {{"/s", "1234"}, rmSaver, 0},
    };
    for (const TCase& c : cases) {
        ParseCommandLine(c.args);
        const std::string label = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(RunMode, c.mode) << label;
        EXPECT_EQ(PreviewParent, c.parent) << label;
    }
}

TEST(CommandLine, ArgumentsWithoutALetter) {
    for (const char* arg : {"/", "-", "s", "P"}) {
        ParseCommandLine({arg});
        EXPECT_EQ(RunMode, rmSaver) << arg;
    }
    ParseCommandLine({""});
    EXPECT_EQ(RunMode, rmOptions);
    ParseCommandLine({"", "1234"});
    EXPECT_EQ(RunMode, rmOptions);
}

TEST(CommandLine, WindowIds) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},           {"1234", 1234},
        {"-1", -1},         {"+12", 12},
        {"0x1F", 31},       {"0X1f", 31},
        {"0xFFFFFFFF", -1}, {"2147483647", 2147483647},
        {"99999999999", 0}, {"0x100000000", 0},
        {"0x", 0},          {"12a", 0},
        {" 12", 0},         {"", 0},
        {"0x-1", 0},        {"$1F", 0},
    };
    for (const auto& [text, id] : cases)
        EXPECT_EQ(ParseWindowId(text), id) << text;
    ParseCommandLine({"/P", "0x1F"});
    EXPECT_EQ(RunMode, rmPreview);
    EXPECT_EQ(PreviewParent, 31);
    ParseCommandLine({"/p", "99999999999"});
    EXPECT_EQ(RunMode, rmPreview);
    EXPECT_EQ(PreviewParent, 0);
}

TEST(CommandLine, ProcessArgumentsSkipTheProgramName) {
    char prog[] = "pelwick", sw[] = "/p", id[] = "42";
    char* argv[] = {prog, sw, id};
    SetProcessArguments(3, argv);
    ParseCommandLine();
    EXPECT_EQ(RunMode, rmPreview);
    EXPECT_EQ(PreviewParent, 42);
    SetProcessArguments(1, argv);
    ParseCommandLine();
    EXPECT_EQ(RunMode, rmOptions);
    EXPECT_EQ(PreviewParent, 0);
}

// What a screen-saver host adds: its window (the option wins over the variable), the root
// window, and this run's options. The switches still decide the run mode.
TEST(CommandLine, HostWindowAndRunOptions) {
    const struct {
        std::vector<std::string> args;
        const char* variable;
        std::uint32_t window;
        bool root;
        int itemInterval;
    } rows[] = {
        {{"-root"}, nullptr, 0, true, 0},
        {{"-root"}, "0x3a00007", 0x3a00007, true, 0},
        {{"/s"}, "4194311", 4194311, false, 0},
        {{"-root", "-window-id", "0x1f"}, "0x3a00007", 0x1f, true, 0},
        {{"--window-id", "77", "--root"}, nullptr, 77, true, 0},
        {{"-root", "--item-interval", "30"}, nullptr, 0, true, 30},
        {{"-root", "--item-interval", "0"}, nullptr, 0, true, 0},  // out of range: unset
        {{"-window-id"}, nullptr, 0, false, 0},                    // no value: ignored
        {{"-root"}, "junk", 0, true, 0},
    };
    for (const auto& row : rows) {
        const TSaverArguments a = ParseSaverArguments(row.args, row.variable);
        EXPECT_EQ(a.Window, row.window) << row.args[0];
        EXPECT_EQ(a.Root, row.root) << row.args[0];
        EXPECT_EQ(a.ItemInterval, row.itemInterval) << row.args[0];
        ParseCommandLine(row.args);
        EXPECT_EQ(RunMode, rmSaver) << row.args[0];
    }
    const TSaverArguments all = ParseSaverArguments(
        {"-root", "--picture-folder", "/p", "--picture-interval", "9"}, nullptr);
    EXPECT_EQ(all.PictureFolder, "/p");
    EXPECT_EQ(all.PictureInterval, 9);
    EXPECT_EQ(InfoRequest({"--help"}), irHelp);
    EXPECT_EQ(InfoRequest({"--version", "/s"}), irVersion);
    EXPECT_EQ(InfoRequest({"/s", "--help"}), irNone);
}

// The ways people ask for help or the version; whatever else stays a switch.
TEST(CommandLine, InfoRequests) {
    const std::pair<std::vector<std::string>, TInfoRequest> rows[] = {
        {{"--help"}, irHelp},       {{"-h"}, irHelp},          {{"-?"}, irHelp},
        {{"--version"}, irVersion}, {{"-v", "/s"}, irVersion}, {{}, irNone},
        {{"/h"}, irNone},           {{"-hv"}, irNone},         {{"/s", "-v"}, irNone},
    };
    for (const auto& [args, request] : rows)
        EXPECT_EQ(InfoRequest(args), request) << (args.empty() ? "(none)" : args[0]);
}

}  // namespace
}  // namespace pelwick
