#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "support/TestSupport.h"

namespace pelwick {
namespace {

struct TToolRun {
    int exitCode = -1;
    std::string out, err;
};

TToolRun RunTool(const QStringList& args) {
    QProcess tool;
    tool.start(PELWICK_FEED_TOOL, args);
    TToolRun run;
    if (!tool.waitForFinished(30000)) return run;
    run.exitCode = tool.exitCode();
    run.out = tool.readAllStandardOutput().toStdString();
    run.err = tool.readAllStandardError().toStdString();
    return run;
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
