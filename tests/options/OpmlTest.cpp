#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/DateTime.h"
#include "app/Exception.h"
#include "app/Files.h"
#include "options/Opml.h"
#include "support/TestSupport.h"

namespace pelwick {
namespace {

using Entries = std::vector<std::string>;

std::string Fixture(const std::string& name) {
    return ReadFileBytes(test::SharedFixtures() + "opml/" + name);
}

Entries Import(std::string_view text, Entries existing = {}) {
    return ImportOpml(text, std::move(existing), [] { return std::string("12:00:00"); }).Added;
}

std::vector<std::string> Names(const Entries& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries)
        names.push_back(FeedEntryName(e));
    return names;
}

TEST(FeedEntry, SplitsAtTheFirstSeparator) {
    const std::string entry = FeedEntryText("News", "http://a/b?x=[1]");
    EXPECT_EQ(entry, "News [http://a/b?x=[1]]");
    EXPECT_EQ(FeedEntryName(entry), "News");
    EXPECT_EQ(FeedEntryAddress(entry), "http://a/b?x=[1]");
    EXPECT_EQ(FeedEntryName("no separator"), "");
    EXPECT_EQ(FeedEntryAddress("no separator"), "");
}

TEST(UniqueFeedName, MendsNamesTheSettingsFileCannotHold) {
    EXPECT_EQ(MendFeedName("a=b", "t"), "a-b");
    EXPECT_EQ(MendFeedName(";comment", "t"), "comment");
    EXPECT_EQ(MendFeedName("  [section] x ", "t"), "section] x");
    EXPECT_EQ(MendFeedName("News [daily]", "t"), "News (daily]");
    EXPECT_EQ(MendFeedName("two\r\nlines", "t"), "two  lines");
    EXPECT_EQ(MendFeedName("", "10:11:12"), "notitle (10:11:12)");
    EXPECT_EQ(MendFeedName(" ;[ ", "10:11:12"), "notitle (10:11:12)");
    EXPECT_EQ(MendFeedName("Plain name", "t"), "Plain name");
}

// Settings keys ignore letter case, so a name is taken when any entry carries it in any case;
// a taken timed name is numbered until it is free.
TEST(UniqueFeedName, IsUniqueIgnoringLetterCase) {
    const Entries list = {"News [http://a/]",
                          "Other [http://b/]",
                          "Daily (09:00:00) [http://c/]",
                          "Daily [http://d/]",
                          "Busy [http://e/]",
                          "BUSY (09:00:00) [http://f/]",
                          "busy (09:00:00) (2) [http://g/]"};
    const struct {
        const char* proposed;
        const char* expected;
    } rows[] = {
        {"Third", "Third"},
        {"News", "News (09:00:00)"},
        {"news", "news (09:00:00)"},
        {" News ", "News (09:00:00)"},  // the mended name is what is compared
        {"daily", "daily (09:00:00) (2)"},
        {"Busy", "Busy (09:00:00) (3)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(UniqueFeedName(row.proposed, list, "09:00:00"), row.expected) << row.proposed;
}

TEST(OpmlExport, WritesTheExactDocument) {
    const Entries list = {"First [http://a.example/rss]", "Second [https://b.example/feed?x=1]"};
    EXPECT_EQ(BuildOpmlDocument(list, "09/12/2026"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><opml version=\"1.0\"><head><title>"
              "Glimra VER Irirureridi OPML - 09/12/2026</title></head><body><outline "
              "title=\"Glimra opml\" text=\"Glimra opml\"><outline text=\"First\" "
              "title=\"First\" type=\"rss\" xmlUrl=\"http://a.example/rss\" "
              "htmlUrl=\"http://a.example/rss\"/><outline text=\"Second\" title=\"Second\" "
              "type=\"rss\" xmlUrl=\"https://b.example/feed?x=1\" "
              "htmlUrl=\"https://b.example/feed?x=1\"/></outline></body></opml>");
    EXPECT_EQ(BuildOpmlDocument({}, "d"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><opml version=\"1.0\"><head><title>"
              "Glimra VER Irirureridi OPML - d</title></head><body><outline title=\"Glimra "
              "opml\" text=\"Glimra opml\"></outline></body></opml>");
}

TEST(OpmlExport, EscapesWhatXmlReserves) {
    const std::string doc = BuildOpmlDocument({"A & \"B\" <C> [http://x/?a=1&b=2]"}, "d");
    EXPECT_NE(doc.find("text=\"A &amp; &quot;B&quot; &lt;C&gt;\""), std::string::npos);
    EXPECT_NE(doc.find("xmlUrl=\"http://x/?a=1&amp;b=2\""), std::string::npos);
}

TEST(OpmlExport, CutsLongAddresses) {
    const std::string address(1200, 'a');
    const std::string doc = BuildOpmlDocument({"N [" + address + "]"}, "d");
    EXPECT_NE(doc.find("xmlUrl=\"" + std::string(999, 'a') + "\""), std::string::npos);
}

TEST(OpmlExport, AppendsTheExtensionOnlyWhenThereIsNone) {
    EXPECT_EQ(OpmlFileName("/tmp/feeds"), "/tmp/feeds.opml");
    EXPECT_EQ(OpmlFileName("/tmp/feeds.xml"), "/tmp/feeds.xml");
    EXPECT_EQ(OpmlFileName("/tmp/my.dir/feeds"), "/tmp/my.dir/feeds.opml");
    EXPECT_EQ(OpmlFileName("feeds.opml"), "feeds.opml");
}

TEST(OpmlExport, FileHoldsTheLineAndCrLf) {
    test::TProgramFolder dir;
    const Entries list = {"One [http://one/]"};
    ExportOpml(list, dir.File("out.opml"));
    const std::string bytes = dir.Read("out.opml");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(bytes.find('\n'), bytes.size() - 1);
    EXPECT_EQ(Import(bytes), list);
}

TEST(OpmlExport, UnwritableFileRaisesAndKeepsTheOldFile) {
    test::TProgramFolder dir;
    EXPECT_THROW(ExportOpml({"A [http://a/]"}, dir.File("missing/out.opml")), Exception);
}

TEST(OpmlImport, RoundTripIsExact) {
    const Entries list = {"Tom & Jerry's <news> \"daily\" [http://x/?a=1&b=<2>]",
                          "Plain [https://plain.example/rss]", "Same [http://1/]",
                          "Same (12:00:00) [http://2/]"};
    EXPECT_EQ(Import(BuildOpmlDocument(list, "d")), list);
}

TEST(OpmlImport, NamesAreMadeUniqueAgainstTheGrowingList) {
    const Entries list = {"Same [http://1/]"};
    const std::string doc = BuildOpmlDocument({"Same [http://9/]", "New [http://2/]"}, "d");
    EXPECT_EQ(Import(doc, list), (Entries{"Same (12:00:00) [http://9/]", "New [http://2/]"}));
    const std::string dup = BuildOpmlDocument({"A [http://1/]", "A [http://2/]", "a [http://3/]",
                                               "Daily News [http://4/]", "daily news [http://5/]"},
                                              "d");
    EXPECT_EQ(Import(dup),
              (Entries{"A [http://1/]", "A (12:00:00) [http://2/]", "a (12:00:00) (2) [http://3/]",
                       "Daily News [http://4/]", "daily news (12:00:00) [http://5/]"}));
}

TEST(OpmlImport, AddressesAlreadyListedAreSkippedAndCounted) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"http://Example.COM/feed", "http://example.com/feed", true},
        {"HTTPS://example.com", "https://example.com/", true},
        {"http://example.com?q=1", "http://example.com/?q=1", true},
        {"http://example.com:8080", "http://EXAMPLE.com:8080/", true},
        {"http://example.com/Feed", "http://example.com/feed", false},
        {"http://example.com/feed/", "http://example.com/feed", false},
        {"https://example.com/", "http://example.com/", false},
        {"example.com/feed", "example.com/feed", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SameFeedAddress(row.a, row.b), row.same) << row.a << " ~ " << row.b;

    const std::string doc = BuildOpmlDocument(
        {"Listed [HTTP://A.example]", "New [http://b.example/]", "Again [http://b.example]"}, "d");
    const TOpmlImport import =
        ImportOpml(doc, {"Mine [http://a.example/]"}, [] { return std::string("t"); });
    EXPECT_EQ(import.Added, (Entries{"New [http://b.example/]"}));
    EXPECT_EQ(import.Skipped, 2);
    EXPECT_EQ(ImportMessage(import), "Add feeds: 1 (2 already in the list)");
    EXPECT_EQ(ImportMessage({{"x"}, 0}), "Add feeds: 1");
    EXPECT_TRUE(IsOpmlText("<opml version=\"2.0\"><body/></opml>"));
    EXPECT_FALSE(IsOpmlText("<?xml version=\"1.0\"?><rss/>"));
    EXPECT_EQ(NotOpmlMessage("/tmp/x.txt"), "/tmp/x.txt is not an OPML file.");
}

TEST(OpmlImport, ReadsOutlinesOfAnyAttributeOrderAndNesting) {
    const std::string doc =
        "<?xml version='1.0'?>\n<opml version='2.0'><body>"
        "<outline title='Category'>"
        "  <outline type='rss' xmlUrl='http://a/' title='Title only'/>"
        "  <outline xmlUrl='http://b/' text='Text wins' title='not this'/>"
        "</outline>"
        "<outline xmlUrl=' http://c/ ' text='' title=''/>"
        "<outline text='Empty address' xmlUrl=''/>"
        "<outline text='a=b' xmlUrl='http://d/'/>"
        "</body></opml>";
    EXPECT_EQ(Import(doc), (Entries{"Title only [http://a/]", "Text wins [http://b/]",
                                    "http://c/ [http://c/]", "a-b [http://d/]"}));
}

TEST(OpmlImport, TextWithoutOutlinesAddsNothing) {
    EXPECT_TRUE(Import("").empty());
    EXPECT_TRUE(Import("just some text xmlUrl=\"http://a/\"").empty());
    EXPECT_TRUE(Import("<?xml version=\"1.0\"?><rss/>").empty());
}

// Ill-formed text (here an unescaped "&" or an unclosed element) goes through the scan.
TEST(OpmlImport, IllFormedTextIsScannedLiterally) {
    const std::string doc =
        "<opml version=\"1.0\"><body>\r\n"
        "<outline text=\"One\" xmlUrl=\"http://one/?a=1&b=2\"/>\n"
        "<outline title=\"Title first\" text=\"lost\" xmlUrl=\"http://lost/\"/>\n"
        "<outline text='Single' xmlUrl='http://single/'/>\n"
        "<outline text=\"Category\">\n"
        "<outline text=\"Swallowed\" xmlUrl=\"http://swallowed/\"/>\n"
        "<outline text=\"Tom &amp; Jerry\" xmlUrl=\"http://t/?a&amp;b\"/>\n"
        "<outline text=\"Empty\" xmlUrl=\"\"/>\n"
        "<outline text=\"Dangling\">\n"
        "<outline text=\"Unfinished\" xmlUrl=\"http://cut";
    EXPECT_EQ(Import(doc), (Entries{"One [http://one/?a=1&b=2]", "Category [http://swallowed/]",
                                    "Tom & Jerry [http://t/?a&b]"}));
}

TEST(OpmlImport, FixturesOfOtherReaders) {
    PELWICK_REQUIRE_FIXTURES();
    for (const char* name : {"commafeed/opml_noversion.xml", "commafeed/opml_v1.0.xml",
                             "commafeed/opml_v1.1.xml", "commafeed/opml_v2.0.xml"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Import(Fixture(name)),
                  (Entries{"feed1 [https://hostname.local/commafeed/feed1.xml]"}));
    }

    const Entries example = Import(Fixture("newsboat/example.opml"));
    EXPECT_EQ(Names(example),
              (std::vector<std::string>{"example.com website", "Distrowatch mirror",
                                        "example.com website (Atom feed)",
                                        "example.com website (RSS 0.9 feed)", "John's musings",
                                        "Notes by Mike", "Fred on everything"}));
    EXPECT_EQ(FeedEntryAddress(example[5]), "https://blogs.example.com/~mike/.rss");

    EXPECT_EQ(Import(Fixture("newsboat/category.opml")),
              (Entries{"http://feeds.bbci.co.uk/news/business/rss.xml?edition-int "
                       "[http://feeds.bbci.co.uk/news/business/rss.xml?edition=int]"}));
    EXPECT_TRUE(Import(Fixture("newsboat/body-element-missing.opml")).empty());
    EXPECT_TRUE(Import(Fixture("rome/opml_1.0_links.xml")).empty());
    EXPECT_EQ(Import(Fixture("newsboat/test-urls+.opml")).size(), 4u);

    const Entries guard = Import(Fixture("feeder/rssguard_1.opml"));
    EXPECT_EQ(guard.size(), 30u);
    EXPECT_EQ(guard.front(), "avril de perthuis [http://www.avrildeperthuis.com/feed/]");
    bool mosque = false;
    for (const auto& e : guard)
        if (e ==
            "Mosquee de Paris [http://www.mosqueedeparis.net/index.php?format=feed&amp;"
            "type=atom]")
            mosque = true;
    EXPECT_TRUE(mosque);

    // 207 outlines, one feed twice: as http://feed.katiefloyd.com and with its "/".
    EXPECT_EQ(Import(Fixture("netnewswire/Subs.opml")).size(), 206u);
    EXPECT_EQ(Import(Fixture("netnewswire/SubsNoTitleAttributes.opml")).size(), 206u);

    // Not well-formed ("<" inside an attribute value): the literal scan still finds the feeds.
    const Entries programming = Import(Fixture("feeder/Programming.opml"));
    EXPECT_EQ(programming.size(), 50u);
    EXPECT_EQ(programming.front(),
              "Better Programming - Medium [https://medium.com/feed/better-programming]");
}

TEST(OpmlImport, EveryFixtureAddressSurvivesAnExportRoundTrip) {
    PELWICK_REQUIRE_FIXTURES();
    for (const char* name :
         {"feeder/rssguard_2.opml", "feeder/Flym_auto_backup.opml", "feeder/antennapod-feeds.opml",
          "rome/opml_2.0.xml", "newsboat/piped.opml"}) {
        SCOPED_TRACE(name);
        const Entries imported = Import(Fixture(name));
        EXPECT_FALSE(imported.empty());
        EXPECT_EQ(Import(BuildOpmlDocument(imported, "d")), imported);
    }
}

}  // namespace
}  // namespace pelwick
