#include <gtest/gtest.h>

#include "FeedTestSupport.h"
#include "feeds/FeedDocument.h"

namespace pelwick {
namespace {

using test::At;
using test::Atom;
using test::Load;

constexpr TDateTime LoadTime = test::TFixedClockAndGuids::FixedNow;

class FeedParserAtom : public ::testing::Test {
  protected:
    void LoadOk(const std::string& xml) { ASSERT_EQ(Load(feed_, xml), ""); }
    // Loads one entry of an Atom 1.0 feed.
    void LoadEntry(const std::string& entryBody) {
        LoadOk(Atom("<entry>" + entryBody + "</entry>"));
    }
    const TRSSItem& Item(int i) { return feed_.Items()[i]; }
    TRSSChannelReq& Req() { return feed_.Channel().Required(); }
    TRSSChannelOpt& Opt() { return feed_.Channel().Optional(); }

    test::TFixedClockAndGuids clock_;
    TFeedDocument feed_;
};

TEST_F(FeedParserAtom, FeedFieldsOfAtom03) {
    LoadOk(
        "<feed version='0.3' xmlns='http://purl.org/atom/ns#'><title>T</title>"
        "<link rel='alternate' href='http://e/'/><link rel='self' href='http://e/feed'/>"
        "<link xmlns:x='urn:x' x:href='http://e/ignored'/><tagline>Tag</tagline>"
        "<generator>Gen</generator><modified>2004-05-06T07:08:09Z</modified>"
        "<copyright>C</copyright><language>de</language><ttl>15</ttl><docs>D</docs>"
        "<cloud domain='d' port='80'/><rating>R</rating></feed>");
    EXPECT_EQ(feed_.XMLType(), xtAtom);
    EXPECT_EQ(feed_.Version(), "0.3");
    EXPECT_EQ(Req().Title(), "T");
    EXPECT_EQ(Req().Link(), "http://e/") << "the alternate link is the feed's page";
    EXPECT_EQ(Req().Desc(), "Tag");
    EXPECT_EQ(Opt().Generator(), "Gen");
    EXPECT_EQ(Opt().PubDate().DateTime(), At(2004, 5, 6, 7, 8, 9));
    // Only some RSS channel options are read from an Atom feed.
    EXPECT_EQ(Opt().Language(), langDE);
    EXPECT_EQ(Opt().TTL(), 15);
    EXPECT_EQ(Opt().Rating(), "R");
    EXPECT_EQ(Opt().Copyright(), "");
    EXPECT_EQ(Opt().Docs(), "Doc");
    EXPECT_FALSE(Opt().Cloud().Include());
}

TEST_F(FeedParserAtom, Atom10SubtitleIsTheDescriptionUnlessThereIsATagline) {
    LoadOk(Atom("<title>T</title><subtitle>Sub</subtitle>"));
    EXPECT_EQ(Req().Desc(), "Sub");
    LoadOk(Atom("<subtitle>Sub</subtitle><tagline>Tag</tagline>"));
    EXPECT_EQ(Req().Desc(), "Tag");
    LoadOk(Atom("<tagline></tagline><subtitle>Sub</subtitle>"));
    EXPECT_EQ(Req().Desc(), "") << "an empty tagline still rules the subtitle out";
    // An xhtml subtitle is its markup inside the XHTML div.
    LoadOk(
        Atom("<title>T</title><subtitle type='xhtml'><div xmlns='http://www.w3.org/1999/xhtml'>"
             "a <b>b</b></div></subtitle><entry><title>e</title></entry>"));
    EXPECT_EQ(Req().Desc(), "a <b>b</b>");
    EXPECT_EQ(feed_.Items().Count(), 1);
}

TEST_F(FeedParserAtom, TheAlternateLinkIsThePage) {
    // Without an alternate link the feed keeps the last link and an entry the first, as the
    // summary keeps none; an alternate link without an address does not count.
    LoadOk(
        Atom("<link rel='self' href='http://e/self'/><link rel='hub' href='http://e/hub'/>"
             "<entry><link rel='replies' href='http://e/1/replies'/>"
             "<link rel='edit' href='http://e/1/edit'/></entry>"
             "<entry><link rel='replies' href='http://e/2/replies'/><link href=''/>"
             "<link rel='alternate' href='http://e/2'/><link href='http://e/2/other'/></entry>"));
    EXPECT_EQ(Req().Link(), "http://e/hub");
    EXPECT_EQ(feed_.ChannelLink, "");
    EXPECT_EQ(Item(0).Link(), "http://e/1/replies");
    EXPECT_EQ(Item(1).Link(), "http://e/2");
    LoadOk(
        Atom("<link rel='self' href='http://e/self'/><link rel='alternate' href=''/>"
             "<link href='http://e/'/><link rel='related' href='http://e/related'/>"));
    EXPECT_EQ(Req().Link(), "http://e/");
    EXPECT_EQ(feed_.ChannelLink, "http://e/");
}

TEST_F(FeedParserAtom, SummaryNamesTheFeed) {
    LoadOk(
        Atom("<title>My feed</title><subtitle>About it</subtitle>"
             "<link rel='self' href='http://e/feed.atom'/><link href='http://e/'/>"
             "<link rel='alternate' href='http://e/other'/><updated>2024-01-02T03:04:05Z</updated>"
             "<modified>2003-01-01T00:00:00Z</modified>"));
    EXPECT_EQ(feed_.ChannelTitle, "My feed");
    EXPECT_EQ(feed_.ChannelDescription, "About it");
    EXPECT_EQ(feed_.ChannelLink, "http://e/") << "the first link without a rel or alternate";
    EXPECT_EQ(feed_.ChannelDate, "2024-01-02T03:04:05Z");
    // Atom 0.3 names: tagline and modified; no usable link gives an empty one.
    LoadOk(
        Atom("<title>Old</title><tagline>Tag</tagline><link rel='self' href='http://e/f'/>"
             "<modified>2003-01-01T00:00:00Z</modified>"));
    EXPECT_EQ(feed_.ChannelTitle, "Old");
    EXPECT_EQ(feed_.ChannelDescription, "Tag");
    EXPECT_EQ(feed_.ChannelLink, "");
    EXPECT_EQ(feed_.ChannelDate, "2003-01-01T00:00:00Z");
    // The summary comes from the container, a "head" when there is one.
    LoadOk(Atom("<head><title>In head</title></head><title>Beside</title>"));
    EXPECT_EQ(feed_.ChannelTitle, "In head");
    EXPECT_EQ(feed_.Channel().Required().Title(), "In head");
}

TEST_F(FeedParserAtom, SummaryOfAFeedWithMarkup) {
    LoadOk(
        Atom("<title>First</title><subtitle>S1</subtitle><link href='http://a/'/>"
             "<updated>2001-01-01T00:00:00Z</updated>"));
    // Nothing of the previous feed is left in the summary; markup reads as its text.
    LoadOk(
        Atom("<title type='xhtml'><div xmlns='http://www.w3.org/1999/xhtml'>Second <b>feed</b>"
             "</div></title><subtitle type='xhtml'><div>x <b>y</b></div></subtitle>"
             "<link href='http://b/'/>"));
    EXPECT_EQ(feed_.ChannelTitle, "Second feed");
    EXPECT_EQ(feed_.Channel().Required().Title(), "Second feed");
    EXPECT_EQ(feed_.ChannelDescription, "x y");
    EXPECT_EQ(feed_.ChannelLink, "http://b/");
    EXPECT_EQ(feed_.ChannelDate, "");
}

TEST_F(FeedParserAtom, EntriesAreLookedForInsideTheContainerOnly) {
    LoadOk(Atom("<head><title>H</title></head><entry><title>beside head</title></entry>"));
    EXPECT_EQ(feed_.Items().Count(), 0);
    LoadOk(Atom("<head><title>H</title><entry><title>inside</title></entry></head>"));
    ASSERT_EQ(feed_.Items().Count(), 1);
    EXPECT_EQ(Item(0).Title(), "inside");
}

TEST_F(FeedParserAtom, EntryFields) {
    LoadEntry(
        "<title>T</title><link rel='replies' href='http://e/1#comments'/>"
        "<link rel='alternate' href='http://e/1'/><author><name>N</name><email>m@e</email>"
        "<url>http://me/</url></author><comments>C</comments><id>tag:e,2024:1</id>"
        "<enclosure url='http://e/a.mp3' length='5' type='audio/mpeg'/>"
        "<source url='http://s/'>S</source><category domain='d'>c</category>"
        "<category term='atom10'/>");
    const TRSSItem& item = Item(0);
    EXPECT_EQ(item.Title(), "T");
    EXPECT_EQ(item.Link(), "http://e/1") << "the alternate link, not the replies";
    EXPECT_EQ(item.Author().Name(), "N");
    EXPECT_EQ(item.Author().EMail(), "m@e");
    EXPECT_EQ(item.Author().URL(), "http://me/");
    EXPECT_EQ(item.Comments(), "C");
    EXPECT_TRUE(item.GUID().Include());
    EXPECT_EQ(item.GUID().GUID(), "tag:e,2024:1");
    EXPECT_FALSE(item.GUID().IsPermaLink());
    EXPECT_TRUE(item.Enclosure().Include());
    EXPECT_EQ(item.Enclosure().Length(), 5);
    EXPECT_EQ(item.Source().Title(), "S");
    ASSERT_EQ(item.Categories().Count(), 2);
    EXPECT_EQ(item.Categories()[0].Domain(), "d");
    EXPECT_EQ(item.Categories()[1].Title(), "") << "the term attribute is not read";
    EXPECT_EQ(item.ContentType(), ctText);
}

TEST_F(FeedParserAtom, ContentThenSummaryWithBase64Mode) {
    LoadOk(
        Atom("<entry><content></content><summary>S</summary></entry>"
             "<entry><summary>only summary</summary></entry>"
             "<entry><content type='html'>&lt;p&gt;x&lt;/p&gt;</content><summary>S</summary>"
             "</entry>"
             "<entry><content mode='base64'>PHA+SGVsbG88L3A+</content></entry>"
             "<entry><summary mode='base64'>PGI+aGk8L2I+</summary></entry>"
             "<entry><content mode='base64'>PHA+!!not base64</content></entry>"
             "<entry><content mode='escaped'>PHA+</content></entry>"
             "<entry><content><![CDATA[<i>cdata</i>]]></content></entry>"));
    ASSERT_EQ(feed_.Items().Count(), 8);
    EXPECT_EQ(Item(0).Description(), "") << "empty content, summary not read";
    EXPECT_EQ(Item(1).Description(), "only summary");
    EXPECT_EQ(Item(2).Description(), "<p>x</p>");
    EXPECT_EQ(Item(3).Description(), "<p>Hello</p>");
    EXPECT_EQ(Item(4).Description(), "<b>hi</b>");
    EXPECT_EQ(Item(5).Description(), "<p>") << "what decodes before the fault";
    EXPECT_EQ(Item(6).Description(), "PHA+");
    EXPECT_EQ(Item(7).Description(), "<i>cdata</i>");
}

TEST_F(FeedParserAtom, EntryDates) {
    LoadOk(Atom(
        "<entry><modified>2004-01-01T10:00:00Z</modified><pubDate>Mon, 02 Jan 2006 15:04:05 GMT"
        "</pubDate><published>2001-01-01T00:00:00Z</published></entry>"
        "<entry><modified>2004-01-01T10:00:00+02:00</modified>"
        "<updated>2005-01-01T00:00:00Z</updated></entry>"
        "<entry><updated>2005-06-07T08:09:10Z</updated></entry>"
        "<entry><updated>2005-06-07T08:09:10Z</updated><published>2003-12-13T08:29:29-04:00"
        "</published></entry>"
        "<entry><title>none</title></entry>"
        "<entry><published></published><updated>2005-06-07T08:09:10Z</updated></entry>"));
    EXPECT_EQ(Item(0).PubDate().DateTime(), At(2006, 1, 2, 15, 4, 5)) << "pubDate wins";
    EXPECT_EQ(Item(1).PubDate().DateTime(), At(2004, 1, 1, 10, 0, 0)) << "modified is kept";
    EXPECT_EQ(Item(1).PubDate().TimeZone(), "+02:00");
    EXPECT_EQ(Item(2).PubDate().DateTime(), At(2005, 6, 7, 8, 9, 10)) << "Atom 1.0 updated";
    EXPECT_EQ(Item(2).PubDate().TimeZone(), "Z");
    EXPECT_EQ(Item(3).PubDate().DateTime(), At(2003, 12, 13, 8, 29, 29)) << "published first";
    EXPECT_EQ(Item(3).PubDate().TimeZone(), "-04:00");
    EXPECT_EQ(Item(4).PubDate().DateTime(), LoadTime);
    EXPECT_EQ(Item(5).PubDate().DateTime(), At(2005, 6, 7, 8, 9, 10));
}

TEST_F(FeedParserAtom, MarkupInAnEntryNeverFailsTheLoad) {
    LoadOk(
        Atom("<entry><title type='xhtml'><div xmlns='http://www.w3.org/1999/xhtml'>a <b>b</b>"
             "</div></title><content type='xhtml'><div xmlns='http://www.w3.org/1999/xhtml'>"
             "<p>Hello <a href='http://e/?a=1&amp;b=2'>there</a></p></div></content>"
             "<author><name>a <b>b</b></name></author></entry>"
             "<entry><summary type='xhtml'><div xmlns='http://www.w3.org/1999/xhtml'>plain</div>"
             "</summary></entry>"
             "<entry><title>a</title><updated>2005-01-01T00:00:00Z</updated>"
             "<enclosure url='u' length='unknown'/><id>i</id><category>c</category>"
             "</entry>"));
    ASSERT_EQ(feed_.Items().Count(), 3);
    EXPECT_EQ(Item(0).Title(), "a b");
    EXPECT_EQ(Item(0).Description(), "<p>Hello <a href=\"http://e/?a=1&amp;b=2\">there</a></p>");
    EXPECT_EQ(Item(0).Author().Name(), "a b");
    EXPECT_EQ(Item(1).Description(), "plain");
    // A length that is no number costs only itself.
    EXPECT_TRUE(Item(2).Enclosure().Include());
    EXPECT_EQ(Item(2).Enclosure().Length(), 0);
    EXPECT_EQ(Item(2).GUID().GUID(), "i");
    EXPECT_EQ(Item(2).Categories().Count(), 1);
    EXPECT_EQ(Item(2).PubDate().DateTime(), At(2005, 1, 1));
    // An Atom source is the head of another feed: its title is the title element's.
    LoadEntry(
        "<source><id>tag:s</id><title>Source feed</title><author><name>N</name></author>"
        "</source>");
    EXPECT_EQ(Item(0).Source().Title(), "Source feed");
    // A broken channel option costs only itself.
    LoadOk(Atom("<ttl>soon</ttl><rating>R</rating><entry><title>x</title></entry>"));
    EXPECT_EQ(Opt().TTL(), 60);
    EXPECT_EQ(Opt().Rating(), "R");
}

TEST_F(FeedParserAtom, NamespacesDecideWhatAnEntryFinds) {
    // Inside the Atom namespace another vocabulary's title is not the entry's.
    LoadEntry(
        "<media:title xmlns:media='http://search.yahoo.com/mrss/'>media</media:title>"
        "<title>atom</title>");
    EXPECT_EQ(Item(0).Title(), "atom");
    // In a feed without a namespace it is found by its local name, when the title itself is
    // absent.
    LoadOk(
        "<feed><entry><media:title xmlns:media='http://search.yahoo.com/mrss/'>media"
        "</media:title><title>plain</title></entry><entry><media:title "
        "xmlns:media='http://search.yahoo.com/mrss/'>media</media:title></entry></feed>");
    EXPECT_EQ(Item(0).Title(), "plain");
    EXPECT_EQ(Item(1).Title(), "media");
    // An Atom 0.3 feed with Atom 1.0 elements mixed in reads only its own namespace.
    LoadOk(
        "<feed version='0.3' xmlns='http://purl.org/atom/ns#'><title>T</title>"
        "<a:subtitle xmlns:a='http://www.w3.org/2005/Atom'>new</a:subtitle>"
        "<entry><a:link xmlns:a='http://www.w3.org/2005/Atom' href='http://new/'/>"
        "<link href='http://old/'/></entry></feed>");
    EXPECT_EQ(Req().Desc(), "");
    EXPECT_EQ(Item(0).Link(), "http://old/");
}

TEST_F(FeedParserAtom, PrefixedFeedIsReadThroughItsNamespace) {
    LoadOk(
        "<atom:feed xmlns:atom='http://www.w3.org/2005/Atom'><atom:title>T</atom:title>"
        "<atom:link rel='alternate' href='http://e/'/><atom:entry><atom:title>x</atom:title>"
        "<atom:link rel='edit' href='http://e/edit'/><atom:link href='http://e/1'/>"
        "</atom:entry></atom:feed>");
    EXPECT_EQ(feed_.XMLType(), xtAtom);
    EXPECT_EQ(Req().Title(), "T");
    EXPECT_EQ(Req().Link(), "http://e/");
    EXPECT_EQ(feed_.ChannelTitle, "T");
    ASSERT_EQ(feed_.Items().Count(), 1);
    EXPECT_EQ(Item(0).Title(), "x");
    EXPECT_EQ(Item(0).Link(), "http://e/1");
}

}  // namespace
}  // namespace pelwick
