#include <gtest/gtest.h>

#include "FeedTestSupport.h"
#include "feeds/FeedDocument.h"
#include "feeds/MemoryStream.h"

namespace pelwick {
namespace {

using test::Load;
using test::Rss;

const std::string TwoItems =
    Rss("<title>First feed</title><link>http://a/</link><description>About</description>"
        "<pubDate>Mon, 02 Jan 2006 15:04:05 GMT</pubDate>"
        "<item><title>One</title></item><item><title>Two</title></item>");

TEST(FeedDocument, DetectsTheFormatFromTheRootName) {
    TFeedDocument feed;
    EXPECT_EQ(Load(feed, "<RSS><channel><item><title>x</title></item></channel></RSS>"), "");
    EXPECT_EQ(feed.XMLType(), xtRSS);
    EXPECT_EQ(feed.Items().Count(), 1);
    // Declaring the itunes prefix is not the marker; an attribute named itunes is.
    EXPECT_EQ(Load(feed,
                   "<rss xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'>"
                   "<channel><item><title>x</title></item></channel></rss>"),
              "");
    EXPECT_EQ(feed.XMLType(), xtRSS);
    EXPECT_EQ(Load(feed, "<rss itunes='yes'><channel/></rss>"), "");
    EXPECT_EQ(feed.XMLType(), xtiTunes);
    EXPECT_EQ(Load(feed, "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'/>"), "");
    EXPECT_EQ(feed.XMLType(), xtRDF);
    EXPECT_EQ(Load(feed, "<feed xmlns='http://www.w3.org/2005/Atom'/>"), "");
    EXPECT_EQ(feed.XMLType(), xtAtom);
    // A prefix does not hide a root in the format's namespace, nor the elements below it.
    const std::pair<std::string, TXMLType> prefixed[] = {
        {"<a:feed xmlns:a='http://www.w3.org/2005/Atom'><a:entry><a:title>x</a:title>"
         "</a:entry></a:feed>",
         xtAtom},
        {"<a:feed xmlns:a='http://purl.org/atom/ns#'><a:entry><a:title>x</a:title></a:entry>"
         "</a:feed>",
         xtAtom},
        {"<RDF xmlns='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
         "xmlns:r='http://purl.org/rss/1.0/'>"
         "<r:channel><r:title>C</r:title></r:channel><r:item><r:title>x</r:title></r:item></RDF>",
         xtRDF},
        {"<x:rss xmlns:x='urn:x'><x:channel><x:item><x:title>x</x:title></x:item></x:channel>"
         "</x:rss>",
         xtRSS},
    };
    for (const auto& [xml, type] : prefixed) {
        ASSERT_EQ(Load(feed, xml), "") << xml;
        EXPECT_EQ(feed.XMLType(), type) << xml;
        ASSERT_EQ(feed.Items().Count(), 1) << xml;
        EXPECT_EQ(feed.Items()[0].Title(), "x") << xml;
    }
    // Each format goes to its own reader: the same channel-less item is read by RDF only.
    const std::string lone = "<title>T</title><item><title>i</title></item>";
    ASSERT_EQ(Load(feed, "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>" +
                             lone + "</rdf:RDF>"),
              "");
    EXPECT_EQ(feed.Items().Count(), 1);
    ASSERT_EQ(Load(feed, "<rss>" + lone + "</rss>"), "");
    EXPECT_EQ(feed.Items().Count(), 0);
}

TEST(FeedDocument, UnknownRootFailsWithItsNameAndEmptiesTheModel) {
    TFeedDocument feed;
    ASSERT_EQ(Load(feed, TwoItems), "");
    feed.SetXMLType(xtAtom);
    EXPECT_EQ(Load(feed, "<html><body>Not a feed</body></html>"), "unkown format: html");
    EXPECT_EQ(feed.Items().Count(), 0);
    EXPECT_EQ(feed.Channel().Required().Title(), "");
    EXPECT_EQ(feed.XMLType(), xtAtom) << "only a successful detection sets the format";
    EXPECT_EQ(feed.ChannelTitle, "First feed") << "the summary stays";
    // Outside the formats' namespaces a prefixed name is just a name.
    EXPECT_EQ(Load(feed, "<x:feed xmlns:x='urn:x'/>"), "unkown format: x:feed");
    EXPECT_EQ(Load(feed, "<x:RDF xmlns:x='urn:x'/>"), "unkown format: x:RDF");
}

TEST(FeedDocument, MalformedXmlKeepsThePreviousModel) {
    TFeedDocument feed;
    ASSERT_EQ(Load(feed, TwoItems), "");
    for (const std::string& bad :
         {std::string(), std::string("<rss><channel>"), std::string(64, '\0')}) {
        EXPECT_NE(Load(feed, bad), "");
        EXPECT_EQ(feed.Items().Count(), 2);
        EXPECT_EQ(feed.Items()[1].Title(), "Two");
        EXPECT_EQ(feed.ChannelTitle, "First feed");
        EXPECT_TRUE(feed.XMLFile().IsEmpty());
    }
}

TEST(FeedDocument, SummaryIsTheChannelTextAsWritten) {
    TFeedDocument feed;
    ASSERT_EQ(Load(feed, TwoItems), "");
    EXPECT_EQ(feed.ChannelTitle, "First feed");
    EXPECT_EQ(feed.ChannelLink, "http://a/");
    EXPECT_EQ(feed.ChannelDescription, "About");
    EXPECT_EQ(feed.ChannelDate, "Mon, 02 Jan 2006 15:04:05 GMT");
    // Without pubDate the date is empty, even after a feed that had one.
    ASSERT_EQ(Load(feed, Rss("<title>B</title><item><title>x</title></item>")), "");
    EXPECT_EQ(feed.ChannelTitle, "B");
    EXPECT_EQ(feed.ChannelDate, "");
    // A channel without items is not read, but its summary is.
    ASSERT_EQ(Load(feed, Rss("<title>Only a title</title>")), "");
    EXPECT_EQ(feed.ChannelTitle, "Only a title");
    EXPECT_EQ(feed.Channel().Required().Title(), "");
    EXPECT_EQ(feed.Items().Count(), 0);
}

TEST(FeedDocument, MarkupInTheChannelReadsAsText) {
    TFeedDocument feed;
    ASSERT_EQ(Load(feed, TwoItems), "");
    ASSERT_EQ(Load(feed, Rss("<title>New <b>bold</b> <i>title</i></title>"
                             "<description>D <i>x</i></description><link>L2</link>"
                             "<item><title>x</title></item>")),
              "");
    // The panel shows the summary as plain text; the model keeps the description's markup.
    EXPECT_EQ(feed.ChannelTitle, "New bold title");
    EXPECT_EQ(feed.ChannelDescription, "D x");
    EXPECT_EQ(feed.ChannelLink, "L2");
    EXPECT_EQ(feed.ChannelDate, "");
    EXPECT_EQ(feed.Channel().Required().Title(), "New bold title");
    EXPECT_EQ(feed.Channel().Required().Desc(), "D <i>x</i>");
}

TEST(FeedDocument, NearlyValidXmlIsRecoveredWhenItYieldsItems) {
    test::TFixedClockAndGuids clock;
    TFeedDocument feed;
    int parsed = 0;
    feed.OnParseXML = [&](TFeedDocument&) { ++parsed; };
    ASSERT_EQ(Load(feed, TwoItems), "");
    EXPECT_EQ(feed.Recovered(), "");
    // A bare "&", and a download that stopped inside the third item: the complete items load.
    ASSERT_EQ(Load(feed,
                   "<rss><channel><title>Fish & Chips</title>"
                   "<item><title>A</title><link>http://e/?a=1&b=2</link></item>"
                   "<item><title>B</title></item><item><title>Cut"),
              "");
    EXPECT_EQ(feed.Recovered(), "Line 1: xmlParseEntityRef: no name");
    EXPECT_EQ(feed.ChannelTitle, "Fish & Chips");
    ASSERT_EQ(feed.Items().Count(), 2);
    EXPECT_EQ(feed.Items()[0].Link(), "http://e/?a=1&b=2");
    EXPECT_FALSE(feed.XMLFile().IsEmpty());
    EXPECT_EQ(parsed, 2);
    // Nothing usable: the strict parser's first error, and the previous model stays.
    const std::pair<std::string, std::string> refused[] = {
        {"<rss><channel><title>T</title><item><title>Cut",
         "Line 1: Premature end of data in tag title line 1"},
        {"<rss><channel><title>No items & no luck</title></channel></rss>",
         "Line 1: xmlParseEntityRef: no name"},
        {"<!DOCTYPE html><html><head><meta charset=utf-8></head><body><p>Moved</body></html>",
         "Line 1: AttValue: \" or ' expected"},
        {"<catalog><item><title>x</title></item>",
         "Line 1: Premature end of data in tag catalog line 1"},
        {"\x1F\x8B\x08\x00\x00\x00", "Line 1: Start tag expected, '<' not found"},
    };
    for (const auto& [bytes, error] : refused) {
        EXPECT_EQ(Load(feed, bytes), error) << bytes;
        EXPECT_EQ(feed.Items().Count(), 2) << bytes;
        EXPECT_EQ(feed.ChannelTitle, "Fish & Chips") << bytes;
        EXPECT_EQ(feed.Recovered(), "Line 1: xmlParseEntityRef: no name") << bytes;
        EXPECT_TRUE(feed.XMLFile().IsEmpty()) << bytes;
    }
    EXPECT_EQ(parsed, 2);
    // A reader failing on the recovered document counts as nothing usable.
    EXPECT_EQ(Load(feed,
                   "<rss itunes='yes'><channel><item><title>a</title></item>"
                   "<item><link>no title</link></item><item>"),
              "Line 1: Premature end of data in tag item line 1");
    EXPECT_EQ(feed.Items().Count(), 2);
    // The next well-formed load is no longer recovered.
    ASSERT_EQ(Load(feed, TwoItems), "");
    EXPECT_EQ(feed.Recovered(), "");
}

TEST(FeedDocument, VersionIsKeptWhenTheRootHasNone) {
    TFeedDocument feed;
    ASSERT_EQ(
        Load(feed, "<rss version='0.91'><channel><item><title>x</title></item></channel></rss>"),
        "");
    EXPECT_EQ(feed.Version(), "0.91");
    ASSERT_EQ(Load(feed, "<feed xmlns='http://www.w3.org/2005/Atom'><title>A</title></feed>"), "");
    EXPECT_EQ(feed.Version(), "0.91");
}

TEST(FeedDocument, ParseEventAndStreamPosition) {
    int parsed = 0;
    TFeedDocument feed;
    feed.OnParseXML = [&](TFeedDocument&) { ++parsed; };
    TMemoryStream stream("garbage before" + TwoItems);
    stream.SetPosition(14);
    feed.LoadFromStream(stream);
    EXPECT_EQ(parsed, 1);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(feed.Items().Count(), 2);
    EXPECT_NE(Load(feed, "<html/>"), "");
    EXPECT_EQ(parsed, 1) << "no event for a failed load";
}

TEST(FeedDocument, TwentyMegabyteFeedLoads) {
    // About 20 MB in 40 000 items, beyond any limit a small feed would meet.
    std::string body = "<title>Big</title>";
    body.reserve(21u << 20);
    const std::string filler(400, 'x');
    for (int i = 0; i < 40000; ++i)
        body += "<item><title>Item " + std::to_string(i) + "</title><link>http://e/" +
                std::to_string(i) + "</link><description><![CDATA[<p>" + filler +
                "</p>]]></description><pubDate>Mon, 02 Jan 2006 15:04:05 GMT</pubDate></item>\n";
    const std::string xml = Rss(body);
    ASSERT_GT(xml.size(), 20u << 20);
    TFeedDocument feed;
    ASSERT_EQ(Load(feed, xml), "");
    EXPECT_EQ(feed.Items().Count(), 40000);
    EXPECT_EQ(feed.Items()[39999].Title(), "Item 39999");
    EXPECT_EQ(feed.Items()[39999].Description(), "<p>" + filler + "</p>");
}

}  // namespace
}  // namespace pelwick
