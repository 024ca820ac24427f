#include <gtest/gtest.h>

#include "app/Exception.h"
#include "app/SettingsFile.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

TSettingsFile Parse(const std::string& text) {
    TSettingsFile ini;
    ini.SetText(text);
    return ini;
}

TEST(SettingsFile, LineRules) {
    const TSettingsFile ini = Parse(
        "stray=before any section\n"
        "  [ Feeds ]  \r\n"
        "; a comment=not a key\n"
        "  News  =  http://example.com/rss  \n"
        "\n"
        "Empty=\n"
        "=no key\n"
        "no equals sign\n"
        "url=http://a/?x=1&y=2\n"
        "[set]\rBlogInterval=30\r");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Feeds", "set"}));
    EXPECT_EQ(ini.ReadSection("feeds"), (std::vector<std::string>{"News", "Empty", "url"}));
    EXPECT_EQ(ini.ReadString("FEEDS", "news", "?"), "http://example.com/rss");
    EXPECT_EQ(ini.ReadString("feeds", "Empty", "?"), "");
    EXPECT_EQ(ini.ReadString("feeds", "url", "?"), "http://a/?x=1&y=2");
    EXPECT_EQ(ini.ReadString("feeds", "stray", "?"), "?");
    EXPECT_EQ(ini.ReadString("feeds", "; a comment", "?"), "?");
    EXPECT_EQ(ini.ReadString("feeds", "", "?"), "?");
    EXPECT_EQ(ini.ReadInteger("Set", "BlogInterval", 12), 30);
}

TEST(SettingsFile, DuplicatesReadTheFirstAndSectionsMerge) {
    TSettingsFile ini = Parse("[feeds]\nA=first\na=second\n[Set]\nX=1\n[set]\nY=2\n[FEEDS]\nB=b\n");
    EXPECT_EQ(ini.ReadString("feeds", "A", ""), "first");
    EXPECT_EQ(ini.ReadSection("feeds"), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"feeds", "Set"}));
    EXPECT_EQ(ini.ReadInteger("set", "Y", 0), 2);
    // Writing updates the first of the duplicates and keeps the second line.
    ini.WriteString("feeds", "a", "updated");
    EXPECT_EQ(ini.ReadString("feeds", "A", ""), "updated");
    EXPECT_NE(ini.Text().find("a=second"), std::string::npos);
}

TEST(SettingsFile, NumbersAndBooleans) {
    const TSettingsFile ini =
        Parse("[s]\nn=42\nneg=-7\nbad=12abc\nhuge=99999999999\nt=true\nz=0\nnz=5\nsp=  8  \n");
    EXPECT_EQ(ini.ReadInteger("s", "n", 1), 42);
    EXPECT_EQ(ini.ReadInteger("s", "neg", 1), -7);
    EXPECT_EQ(ini.ReadInteger("s", "bad", 1), 1);
    EXPECT_EQ(ini.ReadInteger("s", "huge", 1), 1);
    EXPECT_EQ(ini.ReadInteger("s", "sp", 1), 8);
    EXPECT_EQ(ini.ReadInteger("s", "missing", 3), 3);
    EXPECT_TRUE(ini.ReadBool("s", "t", true));
    EXPECT_FALSE(ini.ReadBool("s", "t", false));
    EXPECT_FALSE(ini.ReadBool("s", "z", true));
    EXPECT_TRUE(ini.ReadBool("s", "nz", false));
}

TEST(SettingsFile, WritingAndErasing) {
    TSettingsFile ini;
    ini.WriteString("set", "ImagePath", "/pics/");
    ini.WriteInteger("Set", "BlogInterval", 30);
    ini.WriteBool("usefeed", "News", false);
    EXPECT_EQ(ini.Text(),
              "[set]\r\nImagePath=/pics/\r\nBlogInterval=30\r\n\r\n"
              "[usefeed]\r\nNews=0\r\n");
    ini.EraseSection("USEFEED");
    EXPECT_FALSE(ini.SectionExists("usefeed"));
    ini.DeleteKey("set", "imagepath");
    EXPECT_EQ(ini.ReadSection("set"), (std::vector<std::string>{"BlogInterval"}));

    // Keys that would not read back as themselves are refused, and nothing changes.
    for (const char* key : {"", "a=b", ";x", "[x", " pad", "line\nbreak"})
        EXPECT_THROW(ini.WriteString("feeds", key, "v"), Exception) << key;
    EXPECT_THROW(ini.WriteString("feeds", "k", "two\nlines"), Exception);
    EXPECT_FALSE(ini.SectionExists("feeds"));
}

TEST(SettingsFile, RoundTripKeepsCommentsAndOrder) {
    const std::string text =
        "; written by hand\r\n\r\n[feeds]\r\n; my favourites\r\nB=http://b\r\nA=http://a\r\n";
    TSettingsFile ini = Parse(text);
    EXPECT_EQ(ini.Text(), text);
    const TSettingsFile again = Parse(ini.Text());
    EXPECT_EQ(again.ReadSection("feeds"), (std::vector<std::string>{"B", "A"}));
}

TEST(SettingsFile, GarbageLoadsWithoutHarm) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) & 0xFF);
    const TSettingsFile binary = Parse("[set]\n" + garbage + "\nBlogInterval=5\n");
    EXPECT_EQ(binary.ReadInteger("set", "BlogInterval", 12), 5);

    const TSettingsFile invalidUtf8 = Parse("[feeds]\n\xff\xfe=\xc3\n");
    EXPECT_EQ(invalidUtf8.ReadString("feeds", "\xff\xfe", ""), "\xc3");
    EXPECT_EQ(invalidUtf8.ReadString("feeds", "\xfe\xff", "none"), "none");

    const std::string longLine(10 * 1024 * 1024, 'x');
    const TSettingsFile huge = Parse("[set]\nImagePath=" + longLine + "\nBlogInterval=7\n");
    EXPECT_EQ(huge.ReadString("set", "ImagePath", "").size(), longLine.size());
    EXPECT_EQ(huge.ReadInteger("set", "BlogInterval", 12), 7);
}

TEST(SettingsFile, LoadsFromDisk) {
    test::TProgramFolder dir;
    EXPECT_TRUE(TSettingsFile(dir.File("missing.ini")).SectionNames().empty());
    dir.Write("empty.ini", "");
    EXPECT_TRUE(TSettingsFile(dir.File("empty.ini")).SectionNames().empty());
    dir.MakeFolder("folder.ini");
    EXPECT_TRUE(TSettingsFile(dir.File("folder.ini")).SectionNames().empty());
    dir.Write("a.ini", "[x]\ny=1\n");
    TSettingsFile ini(dir.File("a.ini"));
    EXPECT_EQ(ini.ReadInteger("x", "y", 0), 1);
    ini.WriteInteger("x", "y", 2);
    ini.UpdateFile();
    EXPECT_EQ(dir.Read("a.ini"), "[x]\r\ny=2\r\n");
}

}  // namespace
}  // namespace pelwick
