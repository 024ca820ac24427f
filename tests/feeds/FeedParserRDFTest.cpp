#include <gtest/gtest.h>

#include "FeedTestSupport.h"
#include "feeds/FeedDocument.h"

namespace pelwick {
namespace {

using test::At;
using test::Load;
using test::Rdf;

// A typical RSS 1.0 feed: the channel lists its items in an rdf:Seq, the items follow as
// siblings, dates and subjects are Dublin Core elements.
const std::string TypicalFeed =
    Rdf("<channel rdf:about='http://e/'><title>Example</title><link>http://e/</link>"
        "<description>About e</description><dc:date>2024-03-02T15:38:20+00:00</dc:date>"
        "<items><rdf:Seq><rdf:li rdf:resource='http://e/2'/><rdf:li rdf:resource='http://e/1'/>"
        "</rdf:Seq></items><image rdf:resource='http://e/logo.png'/></channel>"
        "<image rdf:about='http://e/logo.png'><title>Logo</title><url>http://e/logo.png</url>"
        "<link>http://e/</link></image>"
        "<item rdf:about='http://e/1'><title>First</title><link>http://e/1</link>"
        "<description>One</description><dc:date>2024-03-02T15:34:00+00:00</dc:date>"
        "<dc:subject>crime</dc:subject><dc:creator>msmash</dc:creator></item>"
        "<item rdf:about='http://e/2'><title>Second</title><link>http://e/2</link>"
        "<dc:date>2024-03-01T08:00:00Z</dc:date><pubDate>Mon, 02 Jan 2006 15:04:05 GMT</pubDate>"
        "</item>"
        "<textinput rdf:about='http://e/search'><title>Search</title><name>q</name></textinput>");

class FeedParserRDF : public ::testing::Test {
  protected:
    void LoadOk(const std::string& xml) { ASSERT_EQ(Load(feed_, xml), ""); }
    const TRSSItem& Item(int i) { return feed_.Items()[i]; }
    TRSSChannelOpt& Opt() { return feed_.Channel().Optional(); }

    test::TFixedClockAndGuids clock_;
    TFeedDocument feed_;
};

TEST_F(FeedParserRDF, TypicalFeedInDocumentOrderWithDublinCoreDatesAndSubjects) {
    LoadOk(TypicalFeed);
    EXPECT_EQ(feed_.XMLType(), xtRDF);
    EXPECT_EQ(feed_.Channel().Required().Title(), "Example");
    EXPECT_EQ(feed_.Channel().Required().Link(), "http://e/");
    EXPECT_EQ(feed_.Channel().Required().Desc(), "About e");
    ASSERT_EQ(feed_.Items().Count(), 2);
    EXPECT_EQ(Item(0).Title(), "First") << "document order, not the rdf:Seq order";
    EXPECT_EQ(Item(0).Link(), "http://e/1");
    EXPECT_EQ(Item(0).Description(), "One");
    // The Dublin Core date of an item in the RSS 1.0 namespace is read, not the load time.
    EXPECT_EQ(Item(0).PubDate().DateTime(), At(2024, 3, 2, 15, 34, 0));
    EXPECT_EQ(Item(0).PubDate().TimeZone(), "+00:00");
    ASSERT_EQ(Item(0).Categories().Count(), 1) << "a Dublin Core subject is a category";
    EXPECT_EQ(Item(0).Categories()[0].Title(), "crime");
    EXPECT_EQ(Item(0).Author().Name(), "") << "dc:creator is not an author";
    EXPECT_EQ(Item(1).PubDate().DateTime(), At(2006, 1, 2, 15, 4, 5)) << "pubDate wins";
    EXPECT_EQ(Item(1).PubDate().TimeZone(), "Z");
    EXPECT_FALSE(Item(1).GUID().Include());
    // The image under the root is read; the lower-case textinput is not.
    EXPECT_TRUE(Opt().Image().Include());
    EXPECT_EQ(Opt().Image().Required().Title(), "Logo");
    EXPECT_FALSE(Opt().TextInput().Include());
}

TEST_F(FeedParserRDF, SummaryTakesTheChannelsDublinCoreDate) {
    LoadOk(TypicalFeed);
    EXPECT_EQ(feed_.ChannelTitle, "Example");
    EXPECT_EQ(feed_.ChannelLink, "http://e/");
    EXPECT_EQ(feed_.ChannelDescription, "About e");
    EXPECT_EQ(feed_.ChannelDate, "2024-03-02T15:38:20+00:00");
    // Without one the date is empty, not the previous feed's.
    LoadOk(Rdf("<channel><title>B</title></channel>"));
    EXPECT_EQ(feed_.ChannelTitle, "B");
    EXPECT_EQ(feed_.ChannelDate, "");
    // A channel without a namespace finds the element by its name.
    LoadOk(
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
        "xmlns:dc='http://purl.org/dc/elements/1.1/'><channel><title>C</title>"
        "<dc:date>2001-01-01</dc:date></channel></rdf:RDF>");
    EXPECT_EQ(feed_.ChannelDate, "2001-01-01");
    // The summary reads the first channel element, whatever comes before it; without one it
    // is empty.
    LoadOk(
        Rdf("<!-- generated --><?stylesheet x?><item><title>not a channel</title></item>"
            "<channel><title>C</title></channel>"));
    EXPECT_EQ(feed_.ChannelTitle, "C");
    EXPECT_EQ(feed_.Channel().Required().Title(), "C");
    LoadOk(Rdf("<item><title>not a channel</title></item>"));
    EXPECT_EQ(feed_.ChannelTitle, "");
}

TEST_F(FeedParserRDF, ChannelAndRootLevelFields) {
    // Only title, link and description of a channel count; a later channel overwrites.
    LoadOk(
        Rdf("<channel><title>A</title><ttl>5</ttl><language>de</language></channel>"
            "<channel><title>B</title></channel><link>root link</link>"
            "<category domain='d'>cat</category><ttl>7</ttl><language>fr</language>"
            "<docs>http://d/</docs><textInput><title>S</title><name>q</name></textInput>"));
    EXPECT_EQ(feed_.Channel().Required().Title(), "B");
    EXPECT_EQ(feed_.Channel().Required().Link(), "root link");
    ASSERT_EQ(Opt().Categories().Count(), 1);
    EXPECT_EQ(Opt().Categories()[0].Domain(), "d");
    EXPECT_EQ(Opt().TTL(), 7);
    EXPECT_EQ(Opt().Language(), langFR);
    EXPECT_EQ(Opt().Docs(), "http://d/");
    EXPECT_TRUE(Opt().TextInput().Include());
    EXPECT_EQ(Opt().TextInput().TextInputName(), "q");
}

TEST_F(FeedParserRDF, ItemSteps) {
    LoadOk(
        Rdf("<item><link>only a link</link></item>"
            "<item><title>T</title><author>A</author><comments>C</comments>"
            "<enclosure url='http://e/a.mp3' length='12' type='audio/mpeg'/>"
            "<guid isPermaLink='true'>G</guid><source url='http://s/'>S</source>"
            "<category domain='x'>c1</category><dc:subject>c2</dc:subject></item>"
            "<item><title>U</title><guid isPermaLink='true'></guid></item>"));
    ASSERT_EQ(feed_.Items().Count(), 3);
    EXPECT_EQ(Item(0).Title(), "") << "no element is required";
    EXPECT_EQ(Item(0).PubDate().DateTime(), test::TFixedClockAndGuids::FixedNow);
    const TRSSItem& item = Item(1);
    EXPECT_EQ(item.Author().Name(), "A");
    EXPECT_EQ(item.Comments(), "C");
    EXPECT_TRUE(item.Enclosure().Include());
    EXPECT_EQ(item.Enclosure().Length(), 12);
    EXPECT_TRUE(item.GUID().Include());
    EXPECT_EQ(item.GUID().GUID(), "G");
    EXPECT_TRUE(item.GUID().IsPermaLink());
    EXPECT_EQ(item.Source().URL(), "http://s/");
    ASSERT_EQ(item.Categories().Count(), 2);
    EXPECT_EQ(item.Categories()[1].Title(), "c2");
    // An empty guid is not included, unlike in RSS 2.0.
    EXPECT_FALSE(Item(2).GUID().Include());
    EXPECT_FALSE(Item(2).GUID().IsPermaLink());
}

TEST_F(FeedParserRDF, ABadNumberOrMarkupCostsNothingElse) {
    LoadOk(
        Rdf("<item><title>a</title><dc:date>2001-02-03T04:05:06Z</dc:date>"
            "<enclosure url='u' length='unknown'/><guid>g</guid><dc:subject>s</dc:subject>"
            "</item><item><title>Bold <b>markup</b></title><description>a <b>b</b></description>"
            "<author><b>A</b></author></item>"));
    ASSERT_EQ(feed_.Items().Count(), 2);
    EXPECT_EQ(Item(0).PubDate().DateTime(), At(2001, 2, 3, 4, 5, 6));
    EXPECT_EQ(Item(0).Enclosure().URL(), "u");
    EXPECT_EQ(Item(0).Enclosure().Length(), 0);
    EXPECT_TRUE(Item(0).Enclosure().Include());
    EXPECT_EQ(Item(0).GUID().GUID(), "g");
    EXPECT_EQ(Item(0).Categories().Count(), 1);
    EXPECT_EQ(Item(1).Title(), "Bold markup");
    EXPECT_EQ(Item(1).Description(), "a <b>b</b>");
    EXPECT_EQ(Item(1).Author().Name(), "A");
    LoadOk(Rdf("<channel><title>a <b>b</b></title></channel><category><b>c</b></category>"));
    EXPECT_EQ(feed_.ChannelTitle, "a b");
    EXPECT_EQ(feed_.Channel().Required().Title(), "a b");
    EXPECT_EQ(Opt().Categories()[0].Category(), "c");
}

TEST_F(FeedParserRDF, NamespacesDecideWhatAnItemFinds) {
    // In the RSS 1.0 namespace, a title of another vocabulary is not the item's title; in an
    // item without a namespace, it is only when the item has no title of its own.
    LoadOk(
        Rdf("<item><x:title xmlns:x='urn:x'>foreign</x:title><title>own</title>"
            "<x:date xmlns:x='urn:x'>2001-01-01T00:00:00</x:date></item>"));
    EXPECT_EQ(Item(0).Title(), "own");
    EXPECT_EQ(Item(0).PubDate().DateTime(), test::TFixedClockAndGuids::FixedNow)
        << "only the Dublin Core date counts";
    LoadOk(
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
        "<item><x:title xmlns:x='urn:x'>foreign</x:title><title>own</title>"
        "<dc:date xmlns:dc='urn:not-dublin-core'>2001-01-01T00:00:00</dc:date></item>"
        "<item><x:title xmlns:x='urn:x'>foreign</x:title></item></rdf:RDF>");
    EXPECT_EQ(Item(0).Title(), "own");
    EXPECT_EQ(Item(1).Title(), "foreign");
    EXPECT_EQ(Item(0).PubDate().DateTime(), At(2001, 1, 1)) << "found by its name";
    // A Dublin Core date bound to another prefix is still the Dublin Core date.
    LoadOk(
        Rdf("<item><title>t</title><meta:date xmlns:meta='http://purl.org/dc/elements/1.1/'>"
            "2002-02-02T02:02:02Z</meta:date></item>"));
    EXPECT_EQ(Item(0).PubDate().DateTime(), At(2002, 2, 2, 2, 2, 2));
}

TEST_F(FeedParserRDF, TenThousandItemsLoad) {
    std::string body = "<channel><title>Big</title></channel>";
    for (int i = 0; i < 10000; ++i)
        body += "<item><title>Item " + std::to_string(i) +
                "</title><link>http://e/</link><dc:date>2020-01-01T00:00:00Z</dc:date></item>";
    LoadOk(Rdf(body));
    ASSERT_EQ(feed_.Items().Count(), 10000);
    EXPECT_EQ(Item(9999).Title(), "Item 9999");
    EXPECT_EQ(Item(9999).PubDate().DateTime(), At(2020, 1, 1));
}

}  // namespace
}  // namespace pelwick
