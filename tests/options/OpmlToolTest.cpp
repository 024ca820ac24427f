#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "support/TestSupport.h"

namespace pelwick {
namespace {

using TToolRun = test::TProgramRun;

TToolRun RunTool(const QStringList& args) {
    std::vector<std::string> arguments;
    for (const QString& arg : args)
        arguments.push_back(arg.toStdString());
    return test::RunProgram(PELWICK_FEED_TOOL, arguments);
}

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

TEST(OpmlTool, ReportsBadInput) {
    test::TProgramFolder dir;
    EXPECT_EQ(RunTool({"--opml", QString::fromStdString(dir.File("none.opml"))}).exitCode, 2);
    dir.Write("plain.txt", "no outlines here");
    const TToolRun empty = RunTool({"--opml", QString::fromStdString(dir.File("plain.txt"))});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "[]\n");
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
