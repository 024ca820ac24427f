#include <gtest/gtest.h>

#include "FeedTestSupport.h"
#include "feeds/FeedDocument.h"

namespace pelwick {
namespace {

using test::At;
using test::Load;
using test::Rss;

class FeedParserRSS : public ::testing::Test {
  protected:
    // Loads a channel body; the load must succeed.
    void LoadChannel(const std::string& body) { ASSERT_EQ(Load(feed_, Rss(body)), ""); }
    const TRSSItem& Item(int i) { return feed_.Items()[i]; }
    TRSSChannelOpt& Opt() { return feed_.Channel().Optional(); }

    test::TFixedClockAndGuids clock_;
    TFeedDocument feed_;
};

TEST_F(FeedParserRSS, ChannelWithoutItemsOrCategoriesIsNotRead) {
    LoadChannel("<title>T</title><ttl>5</ttl>");
    EXPECT_EQ(feed_.Channel().Required().Title(), "");
    EXPECT_EQ(Opt().TTL(), 60);
    // A category alone opens the channel.
    LoadChannel("<title>T</title><category domain='d'>News</category><ttl>5</ttl>");
    EXPECT_EQ(feed_.Channel().Required().Title(), "T");
    EXPECT_EQ(Opt().TTL(), 5);
    ASSERT_EQ(Opt().Categories().Count(), 1);
    EXPECT_EQ(Opt().Categories()[0].Category(), "News");
    EXPECT_EQ(Opt().Categories()[0].Domain(), "d");
    // Items outside the channel are never read.
    ASSERT_EQ(Load(feed_,
                   "<rss><channel><category>c</category></channel>"
                   "<item><title>outside</title></item></rss>"),
              "");
    EXPECT_EQ(feed_.Items().Count(), 0);
}

TEST_F(FeedParserRSS, ItemWithoutTitleOrDescriptionIsSkipped) {
    LoadChannel("<item><description>only text</description></item>");
    EXPECT_EQ(Item(0).Title(), "");
    EXPECT_EQ(Item(0).Description(), "only text");
    LoadChannel(
        "<item><title>a</title></item><item><link>l</link></item><item><title>c</title></item>");
    ASSERT_EQ(feed_.Items().Count(), 2) << "the stray item costs only itself";
    EXPECT_EQ(Item(0).Title(), "a");
    EXPECT_EQ(Item(1).Title(), "c");
}

TEST_F(FeedParserRSS, ItemFields) {
    LoadChannel(
        "<item><title>T</title><link>L</link><author>me@x (Me)</author><comments>C</comments>"
        "<enclosure url='http://e/a.mp3' length='123' type='audio/mpeg'/>"
        "<guid isPermaLink='true'>G</guid><source url='http://s/'>S</source>"
        "<category domain='dom'>one</category><dc:category xmlns:dc='urn:dc'>two</dc:category>"
        "</item>");
    const TRSSItem& item = Item(0);
    EXPECT_EQ(item.Title(), "T");
    EXPECT_EQ(item.Link(), "L");
    EXPECT_EQ(item.Author().Name(), "me@x (Me)");
    EXPECT_EQ(item.Comments(), "C");
    EXPECT_TRUE(item.Enclosure().Include());
    EXPECT_EQ(item.Enclosure().URL(), "http://e/a.mp3");
    EXPECT_EQ(item.Enclosure().Length(), 123);
    EXPECT_EQ(item.Enclosure().EnclosureType(), "audio/mpeg");
    EXPECT_TRUE(item.GUID().Include());
    EXPECT_EQ(item.GUID().GUID(), "G");
    EXPECT_TRUE(item.GUID().IsPermaLink());
    EXPECT_TRUE(item.Source().Include());
    EXPECT_EQ(item.Source().Title(), "S");
    EXPECT_EQ(item.Source().URL(), "http://s/");
    ASSERT_EQ(item.Categories().Count(), 2) << "dc:category counts by its local name";
    EXPECT_EQ(item.Categories()[0].Domain(), "dom");
    EXPECT_EQ(item.Categories()[1].Title(), "two");
    EXPECT_EQ(item.ContentType(), ctText);
}

TEST_F(FeedParserRSS, GuidWithoutPermaLinkAndEmptyElements) {
    LoadChannel(
        "<item><title>T</title><guid>g</guid><enclosure/><source/><link></link></item>"
        "<item><title>U</title><guid isPermaLink='True'/></item>");
    EXPECT_TRUE(Item(0).GUID().Include());
    EXPECT_FALSE(Item(0).GUID().IsPermaLink());
    EXPECT_TRUE(Item(0).Enclosure().Include());
    EXPECT_EQ(Item(0).Enclosure().URL(), "");
    EXPECT_TRUE(Item(0).Source().Include());
    EXPECT_EQ(Item(0).Link(), "");
    // An empty guid keeps the generated identifier; only "true" is true.
    EXPECT_TRUE(Item(1).GUID().Include());
    EXPECT_EQ(Item(1).GUID().GUID().front(), '{');
    EXPECT_FALSE(Item(1).GUID().IsPermaLink());
}

TEST_F(FeedParserRSS, ContentRuleLastPresentWins) {
    LoadChannel(
        "<item><title>1</title><description><![CDATA[<p>html</p>]]></description></item>"
        "<item><title>2</title><content:encoded xmlns:content='urn:c'>full</content:encoded>"
        "<description></description></item>"
        "<item><title>3</title><content>c</content><content:encoded xmlns:content='urn:c'>e"
        "</content:encoded><description>d</description></item>"
        "<item><title>4</title><description><p>first</p>tail</description></item>"
        "<item><title>5</title><description>text <b>then markup</b></description></item>");
    EXPECT_EQ(Item(0).Description(), "<p>html</p>");
    EXPECT_EQ(Item(1).Description(), "full");
    EXPECT_EQ(Item(2).Description(), "d");
    EXPECT_EQ(Item(3).Description(), "<p>first</p>tail") << "unescaped HTML as HTML";
    EXPECT_EQ(Item(4).Description(), "text <b>then markup</b>");
    EXPECT_EQ(feed_.Items().Count(), 5);
}

TEST_F(FeedParserRSS, MarkupInAPlainFieldReadsAsItsText) {
    LoadChannel(
        "<item><title>Hello <b>big</b> <i>world</i></title><author><name>N</name></author>"
        "<category>a <b>b</b></category><link><b>http://e/</b></link></item>");
    EXPECT_EQ(Item(0).Title(), "Hello big world");
    EXPECT_EQ(Item(0).Author().Name(), "N");
    EXPECT_EQ(Item(0).Categories()[0].Title(), "a b");
    EXPECT_EQ(Item(0).Link(), "http://e/");
}

TEST_F(FeedParserRSS, TheElementItselfWinsOverANamesakeOfAnotherVocabulary) {
    LoadChannel(
        "<item xmlns:media='urn:m' xmlns:atom='http://www.w3.org/2005/Atom'>"
        "<media:title>media</media:title><atom:link rel='self' href='http://e/feed'/>"
        "<title>plain</title><link>http://e/1</link></item>"
        "<item xmlns:media='urn:m'><media:title>only media</media:title></item>");
    EXPECT_EQ(Item(0).Title(), "plain");
    EXPECT_EQ(Item(0).Link(), "http://e/1");
    EXPECT_EQ(Item(1).Title(), "only media") << "a namesake still stands in for an absent one";
}

TEST_F(FeedParserRSS, Dates) {
    LoadChannel(
        "<item><title>1</title><dc:date xmlns:dc='urn:dc'>2001-02-03T04:05:06Z</dc:date>"
        "<pubDate>Mon, 02 Jan 2006 15:04:05 GMT</pubDate></item>"
        "<item><title>2</title><dc:date "
        "xmlns:dc='urn:dc'>2001-02-03T04:05:06+01:00</dc:date></item>"
        "<item><title>3</title></item>"
        "<item><title>4</title><pubDate>yesterday</pubDate></item>"
        "<item><title>5</title><pubDate></pubDate></item>");
    EXPECT_EQ(Item(0).PubDate().DateTime(), At(2006, 1, 2, 15, 4, 5));
    EXPECT_EQ(Item(0).PubDate().TimeZone(), "Z") << "set by dc:date, kept by pubDate";
    EXPECT_EQ(Item(1).PubDate().DateTime(), At(2001, 2, 3, 4, 5, 6));
    EXPECT_EQ(Item(1).PubDate().TimeZone(), "+01:00");
    EXPECT_EQ(Item(2).PubDate().DateTime(), test::TFixedClockAndGuids::FixedNow);
    EXPECT_EQ(Item(3).PubDate().DateTime(), 0);
    EXPECT_EQ(Item(4).PubDate().DateTime(), test::TFixedClockAndGuids::FixedNow);
}

TEST_F(FeedParserRSS, ChannelOptions) {
    LoadChannel(
        "<title>T</title><link>L</link><description>D</description><language>en-us</language>"
        "<copyright>C</copyright><managingEditor>M</managingEditor><webMaster>W</webMaster>"
        "<pubDate>Mon, 02 Jan 2006 15:04:05 GMT</pubDate><lastBuildDate>02-Jan-06 10:00"
        "</lastBuildDate><generator>G</generator><docs>http://d/</docs>"
        "<cloud domain='rpc.sys.com' port='80' path='/RPC2' registerProcedure='p' "
        "protocol='xml-rpc'/><ttl>30</ttl><rating>R</rating>"
        "<image><url>http://i/</url><title>IT</title><link>IL</link><description>ID"
        "</description><width>88</width><height>31</height></image>"
        "<textInput><title>TT</title><description>TD</description><name>q</name>"
        "<link>TL</link></textInput>"
        "<skipHours><hour>0</hour><hour>7</hour><hour>23</hour><hour>24</hour><hour>07</hour>"
        "<hour> 5</hour></skipHours>"
        "<skipDays><day>Monday</day><day>sunday</day><x>Friday</x></skipDays>"
        "<item><title>i</title></item>");
    EXPECT_EQ(feed_.Channel().Required().Link(), "L");
    EXPECT_EQ(feed_.Channel().Required().Desc(), "D");
    EXPECT_EQ(Opt().Language(), langEN_US);
    EXPECT_EQ(Opt().XLang(), "");
    EXPECT_EQ(Opt().Copyright() + Opt().ManagingEditor() + Opt().WebMaster(), "CMW");
    EXPECT_EQ(Opt().PubDate().DateTime(), At(2006, 1, 2, 15, 4, 5));
    EXPECT_EQ(Opt().LastBuildDate().DateTime(), At(2006, 1, 2, 10, 0, 0));
    EXPECT_EQ(Opt().Generator(), "G");
    EXPECT_EQ(Opt().Docs(), "http://d/");
    const TRSSCloud& cloud = Opt().Cloud();
    EXPECT_TRUE(cloud.Include());
    EXPECT_EQ(cloud.Domain() + cloud.Path() + cloud.RegisterProcedure() + cloud.Protocol(),
              "rpc.sys.com/RPC2pxml-rpc");
    EXPECT_EQ(cloud.Port(), 80);
    EXPECT_EQ(Opt().TTL(), 30);
    EXPECT_EQ(Opt().Rating(), "R");
    const TRSSImage& image = Opt().Image();
    EXPECT_TRUE(image.Include());
    EXPECT_EQ(image.Required().URL() + image.Required().Title() + image.Required().Link(),
              "http://i/ITIL");
    EXPECT_EQ(image.Optional().Description(), "ID");
    EXPECT_EQ(image.Optional().Width(), 88);
    EXPECT_EQ(image.Optional().Height(), 31);
    const TRSSTextInput& input = Opt().TextInput();
    EXPECT_TRUE(input.Include());
    EXPECT_EQ(input.Title() + input.Description() + input.TextInputName() + input.Link(),
              "TTTDqTL");
    for (int h = 0; h < 24; ++h)
        EXPECT_EQ(Opt().SkipHours().Hour(h), h == 0 || h == 7 || h == 23) << h;
    const TRSSChannelSkipDays& days = Opt().SkipDays();
    EXPECT_TRUE(days.Monday());
    EXPECT_FALSE(days.Sunday());
    EXPECT_TRUE(days.Friday()) << "the children's names are not checked";
}

TEST_F(FeedParserRSS, LanguageOutsideTheTableIsKeptAsWritten) {
    LoadChannel("<language>EN-US</language><item><title>x</title></item>");
    EXPECT_EQ(Opt().Language(), langX);
    EXPECT_EQ(Opt().XLang(), "EN-US");
    LoadChannel("<language>EN-US</language><language>de</language><item><title>x</title></item>");
    EXPECT_EQ(Opt().Language(), langDE);
    EXPECT_EQ(Opt().XLang(), "");
}

TEST_F(FeedParserRSS, BrokenOptionalRowsCostOnlyThemselves) {
    LoadChannel(
        "<ttl>1.5</ttl><image><url>u</url><width>wide</width><height>31</height></image>"
        "<cloud port='x' domain='d' path='p'/><copyright>a <b>b</b></copyright>"
        "<skipHours><hour>3</hour><hour><b>4</b></hour><hour>5</hour></skipHours>"
        "<rating>after</rating><item><title>x</title></item>");
    EXPECT_EQ(Opt().TTL(), 2);
    EXPECT_EQ(Opt().Image().Required().URL(), "u");
    EXPECT_EQ(Opt().Image().Optional().Height(), 0) << "the rest of a failing row is skipped";
    EXPECT_EQ(Opt().Cloud().Domain(), "d");
    EXPECT_EQ(Opt().Cloud().Path(), "");
    EXPECT_EQ(Opt().Copyright(), "a b");
    EXPECT_TRUE(Opt().SkipHours().Hour(3));
    EXPECT_TRUE(Opt().SkipHours().Hour(4));
    EXPECT_TRUE(Opt().SkipHours().Hour(5));
    EXPECT_EQ(Opt().Rating(), "after");
    EXPECT_EQ(feed_.Items().Count(), 1);
}

TEST_F(FeedParserRSS, NumbersInTtlLengthAndWidth) {
    const std::pair<const char*, int> ttl[] = {{"1.5", 2}, {"1e3", 1000}, {" 7", 7},
                                               {"", 60},   {"-4", 0},     {"x", 60}};
    for (const auto& [text, expected] : ttl) {
        LoadChannel(std::string("<ttl>") + text + "</ttl><item><title>x</title></item>");
        EXPECT_EQ(Opt().TTL(), expected) << text;
    }
    LoadChannel(
        "<image><width>1e3</width><height> 7</height></image><item><title>x</title></item>");
    EXPECT_EQ(Opt().Image().Optional().Width(), 144);
    EXPECT_EQ(Opt().Image().Optional().Height(), 7);
    const std::pair<const char*, int> length[] = {{"1.5", 2}, {"1e3", 1000}, {" 7", 7}, {"", 0}};
    for (const auto& [text, expected] : length) {
        LoadChannel(std::string("<item><title>x</title><enclosure url='u' length='") + text +
                    "'/></item>");
        EXPECT_EQ(Item(0).Enclosure().Length(), expected) << text;
    }
    // An item number that is no number leaves that field at its default, nothing else.
    LoadChannel(
        "<item><title>a</title></item><item><title>b</title>"
        "<enclosure url='u' length='unknown' type='audio/mpeg'/><guid>g</guid></item>");
    ASSERT_EQ(feed_.Items().Count(), 2);
    EXPECT_EQ(Item(1).Enclosure().Length(), 0);
    EXPECT_EQ(Item(1).Enclosure().EnclosureType(), "audio/mpeg");
    EXPECT_TRUE(Item(1).Enclosure().Include());
    EXPECT_EQ(Item(1).GUID().GUID(), "g");
}

}  // namespace
}  // namespace pelwick
