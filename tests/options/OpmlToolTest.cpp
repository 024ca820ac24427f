#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <regex>

#include "app/Strings.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using TToolRun = test::TProgramRun;

using test::RunTool;

TEST(OpmlTool, ExportThenShowListsTheEntriesInOrder) {
    test::TProgramFolder dir;
    const QString out = QString::fromStdString(dir.File("feeds"));
    const TToolRun exported =
        RunTool({"--export-opml", out, "Tom & Jerry=http://a/?x=1&y=2", "Plain=http://b/"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, dir.File("feeds.opml") + "\n");
    EXPECT_NE(dir.Read("feeds.opml").find("xmlUrl=\"http://a/?x=1&amp;y=2\""), std::string::npos);

    const TToolRun shown = RunTool({"--opml", QString::fromStdString(dir.File("feeds.opml"))});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "[\n  {\"name\": \"Tom & Jerry\", \"address\": \"http://a/?x=1&y=2\"},\n"
              "  {\"name\": \"Plain\", \"address\": \"http://b/\"}\n]\n");
}

TEST(OpmlTool, CollidingNamesBecomeDistinctIgnoringCase) {
    test::TProgramFolder dir;
    dir.Write("same.opml",
              "<opml version=\"1.0\"><body><outline text=\"News\" xmlUrl=\"http://1/\"/>"
              "<outline text=\"news\" xmlUrl=\"http://2/\"/><outline text=\"NEWS\" "
              "xmlUrl=\"http://3/\"/></body></opml>");
    const TToolRun shown = RunTool({"--opml", QString::fromStdString(dir.File("same.opml"))});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    // The suffixes carry the time of the run, so only their distinctness is compared.
    std::vector<std::string> names;
    const std::regex entry("\\{\"name\": \"([^\"]*)\", \"address\": \"http://(\\d)/\"\\}");
    for (std::sregex_iterator it(shown.out.begin(), shown.out.end(), entry), end; it != end; ++it) {
        EXPECT_EQ((*it)[2].str(), std::to_string(names.size() + 1));
        names.push_back((*it)[1].str());
    }
    ASSERT_EQ(names.size(), 3u) << shown.out;
    EXPECT_EQ(names[0], "News");
    EXPECT_FALSE(SameText(names[0], names[1]) || SameText(names[1], names[2]) ||
                 SameText(names[0], names[2]))
        << shown.out;
}

TEST(OpmlTool, ReportsBadInput) {
    test::TProgramFolder dir;
    EXPECT_EQ(RunTool({"--opml", QString::fromStdString(dir.File("none.opml"))}).exitCode, 2);
    dir.Write("plain.txt", "no outlines here");
    const TToolRun plain = RunTool({"--opml", QString::fromStdString(dir.File("plain.txt"))});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_EQ(plain.out, "");
    EXPECT_NE(plain.err.find(dir.File("plain.txt") + " is not an OPML file."), std::string::npos)
        << plain.err;
    EXPECT_EQ(
        RunTool({"--export-opml", QString::fromStdString(dir.File("x")), "no-equals"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("x.opml"))));
    const TToolRun unwritable = RunTool(
        {"--export-opml", QString::fromStdString(dir.File("missing/x.opml")), "A=http://a/"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("Cannot write"), std::string::npos) << unwritable.err;
}

}  // namespace
}  // namespace pelwick
