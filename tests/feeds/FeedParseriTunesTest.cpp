#include <gtest/gtest.h>

#include "FeedTestSupport.h"
#include "feeds/FeedDocument.h"

namespace pelwick {
namespace {

using test::At;
using test::Load;
using test::Podcast;

constexpr TDateTime LoadTime = test::TFixedClockAndGuids::FixedNow;

class FeedParseriTunes : public ::testing::Test {
  protected:
    void LoadOk(const std::string& channelBody) {
        ASSERT_EQ(Load(feed_, Podcast(channelBody)), "");
    }
    std::string LoadFails(const std::string& channelBody) {
        return Load(feed_, Podcast(channelBody));
    }
    const TRSSItem& Item(int i) { return feed_.Items()[i]; }
    TRSSChannelOpt& Opt() { return feed_.Channel().Optional(); }
    TiTunesChannelExtra& Extra() { return feed_.Channel().iTunes(); }

    test::TFixedClockAndGuids clock_;
    TFeedDocument feed_;
};

TEST_F(FeedParseriTunes, ChannelPodcastRows) {
    LoadOk(
        "<title>Show</title><itunes:block>no</itunes:block>"
        "<itunes:category text='Technology'><itunes:category text='Podcasting'/>"
        "</itunes:category><itunes:explicit>yes</itunes:explicit>"
        "<itunes:keywords> a  b </itunes:keywords>"
        "<itunes:owner><itunes:name>Owner</itunes:name><itunes:email>o@e</itunes:email>"
        "</itunes:owner><itunes:subtitle>Sub</itunes:subtitle>"
        "<itunes:summary>" +
        std::string(5000, 's') +
        "</itunes:summary>"
        "<itunes:image href='http://e/cover.jpg'/><itunes:author>not read</itunes:author>"
        "<item><title>x</title></item>");
    EXPECT_EQ(feed_.XMLType(), xtiTunes);
    EXPECT_TRUE(Extra().Block()) << "present is true, whatever the text";
    EXPECT_EQ(Extra().Category().Category(), "Technology");
    EXPECT_EQ(Extra().Category().SubCategory(), "Podcasting");
    EXPECT_TRUE(Extra().Explict());
    ASSERT_EQ(Extra().KeyWords().Count(), 3);
    EXPECT_EQ(Extra().KeyWords()[1].Value(), "");
    EXPECT_EQ(Extra().Owner().Name(), "Owner");
    EXPECT_EQ(Extra().Owner().EmailAddress(), "o@e");
    EXPECT_EQ(Extra().Subtitle(), "Sub");
    EXPECT_EQ(Extra().Summary(), std::string(4000, 's'));
    EXPECT_EQ(Extra().Image(), "http://e/cover.jpg") << "the address is in href";
    EXPECT_EQ(Extra().Author(), "");
    // Text in the image element wins; an owner without children reads empty; a later category
    // replaces an earlier one entirely; explicit means exactly "yes".
    LoadOk(
        "<itunes:image>http://e/text.jpg</itunes:image><itunes:owner/>"
        "<itunes:category text='A'><itunes:category text='A1'/></itunes:category>"
        "<itunes:category text='B'/><itunes:explicit>Yes</itunes:explicit>"
        "<item><title>x</title></item>");
    EXPECT_EQ(Extra().Image(), "http://e/text.jpg");
    EXPECT_EQ(Extra().Owner().Name(), "");
    EXPECT_EQ(Extra().Category().Category(), "B");
    EXPECT_EQ(Extra().Category().SubCategory(), "");
    EXPECT_FALSE(Extra().Explict());
}

TEST_F(FeedParseriTunes, ItemPodcastSteps) {
    LoadOk(
        "<item><title>Episode</title><itunes:author>Host</itunes:author>"
        "<itunes:block/><itunes:category text='Music'/><itunes:explicit>Yes</itunes:explicit>"
        "<itunes:keywords>jazz live</itunes:keywords><itunes:subtitle>S</itunes:subtitle>"
        "<itunes:summary>Sum</itunes:summary><itunes:duration>1:05:07</itunes:duration>"
        "</item>");
    const TiTunesItemExtra& extra = Item(0).iTunes();
    EXPECT_EQ(extra.Author(), "Host");
    EXPECT_EQ(Item(0).Author().Name(), "Host") << "find author matches the local name";
    EXPECT_TRUE(extra.Block());
    EXPECT_EQ(extra.Category().Category(), "Music");
    EXPECT_EQ(extra.Category().SubCategory(), "");
    EXPECT_FALSE(extra.Explict());
    ASSERT_EQ(extra.KeyWords().Count(), 2);
    EXPECT_EQ(extra.KeyWords()[1].Value(), "live");
    EXPECT_EQ(extra.Subtitle(), "S");
    EXPECT_EQ(extra.Summary(), "Sum");
    EXPECT_EQ(extra.Duration().Duration(), "0:0:00") << "the duration is not read";
    // The podcast category is also an item category by its local name, read as text.
    ASSERT_EQ(Item(0).Categories().Count(), 1);
    EXPECT_EQ(Item(0).Categories()[0].Title(), "");
    // So is a nested one, whose text is that of its descendants.
    LoadOk(
        "<item><title>E</title><itunes:category text='Music'><itunes:category text='Jazz'/>"
        "</itunes:category></item>");
    EXPECT_EQ(Item(0).iTunes().Category().SubCategory(), "Jazz");
    EXPECT_EQ(Item(0).Categories()[0].Title(), "");
    // A plain author comes first and wins.
    LoadOk(
        "<item><title>E</title><author>plain</author><itunes:author>Host</itunes:author>"
        "</item>");
    EXPECT_EQ(Item(0).Author().Name(), "plain");
}

TEST_F(FeedParseriTunes, FoundElementsAreAssignedEvenWhenEmpty) {
    LoadOk(
        "<title></title><copyright></copyright><language></language><generator></generator>"
        "<pubDate></pubDate><category></category>"
        "<item><title>T</title><content:encoded xmlns:content='urn:c'>full</content:encoded>"
        "<description></description><pubDate></pubDate><guid></guid></item>"
        "<item><title>U</title><dc:date xmlns:dc='urn:dc'></dc:date></item>"
        "<item><title>V</title><guid isPermaLink='false'>g</guid>"
        "<source url='http://s/'></source></item>");
    EXPECT_EQ(Opt().Generator(), "") << "the default is replaced by the empty text";
    EXPECT_EQ(Opt().Language(), langX);
    EXPECT_EQ(Opt().XLang(), "");
    EXPECT_EQ(Opt().PubDate().DateTime(), 0);
    ASSERT_EQ(Opt().Categories().Count(), 1);
    EXPECT_EQ(Item(0).Description(), "") << "the empty description is the last found";
    EXPECT_EQ(Item(0).PubDate().DateTime(), 0) << "an empty pubDate reads as 0";
    EXPECT_TRUE(Item(0).GUID().Include());
    EXPECT_EQ(Item(0).GUID().GUID(), "");
    EXPECT_TRUE(Item(0).GUID().IsPermaLink()) << "no isPermaLink reads as a permanent link";
    EXPECT_EQ(Item(1).PubDate().DateTime(), LoadTime) << "an empty dc:date reads as now";
    EXPECT_FALSE(Item(2).GUID().IsPermaLink());
    EXPECT_TRUE(Item(2).Source().Include());
    EXPECT_EQ(Item(2).Source().URL(), "http://s/");
    // Items and categories still open the channel, as in RSS.
    LoadOk("<title>T</title><itunes:subtitle>S</itunes:subtitle>");
    EXPECT_EQ(feed_.Channel().Required().Title(), "");
    EXPECT_EQ(Extra().Subtitle(), "");
}

TEST_F(FeedParseriTunes, RequiredFieldsFailTheLoadWithTheirNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"<item><link>l</link></item>", "item -> title"},
        {"<item><title>t</title><enclosure url='u' length='1'/></item>", "enclosure -> type"},
        {"<item><title>t</title><enclosure type='audio/mpeg'/></item>", "enclosure -> url"},
        {"<item><title>t</title><enclosure url='u' type='t'/></item>", "enclosure -> length"},
        {"<item><title>t</title><source>S</source></item>", "source -> url"},
        {"<image><url>u</url><title>t</title></image><item><title>t</title></item>",
         "image -> link"},
        {"<textInput><title>t</title><description>d</description><link>l</link></textInput>"
         "<item><title>t</title></item>",
         "textInput -> name"},
    };
    for (const auto& [body, field] : cases) {
        const std::string withItemBefore = "<item><title>before</title></item>" + std::string(body);
        EXPECT_EQ(LoadFails(withItemBefore), std::string("Required Field Missing. Field: ") + field)
            << body;
        EXPECT_EQ(Item(0).Title(), "before") << body;
    }
    // The image check comes before Include is set.
    EXPECT_FALSE(Opt().Image().Include());
}

TEST_F(FeedParseriTunes, NothingIsGuarded) {
    const std::pair<const char*, const char*> cases[] = {
        {"<ttl></ttl>", "Could not convert an empty value to an integer"},
        {"<ttl>soon</ttl>", "Could not convert \"soon\" to an integer"},
        {"<cloud domain='d' path='/p'/>", "Could not convert an empty value to an integer"},
        {"<image><url>u</url><title>t</title><link>l</link><width>wide</width></image>",
         "Could not convert \"wide\" to an integer"},
        {"<item><title>t</title><enclosure url='u' length='' type='t'/></item>",
         "Could not convert an empty value to an integer"},
    };
    for (const auto& [body, message] : cases) {
        EXPECT_EQ(
            LoadFails(std::string("<title>T</title>") + body + "<item><title>after</title></item>"),
            message)
            << body;
        EXPECT_EQ(feed_.Channel().Required().Title(), "T") << "fields set before stay";
    }
}

TEST_F(FeedParseriTunes, RssRowsReadStrictly) {
    LoadOk(
        "<cloud domain='d' port='80' path='/p' registerProcedure='r' protocol='soap'/>"
        "<image><url>u</url><title>t</title><link>l</link><width>88</width></image>"
        "<textInput><title>T</title><description>D</description><name>n</name>"
        "<link>L</link></textInput><skipHours><hour>5</hour></skipHours>"
        "<skipDays><day>Friday</day></skipDays><ttl>30</ttl>"
        "<item><title>t</title><enclosure url='http://e/a.mp3' length='9' type='audio/mpeg'/>"
        "<category domain='dd'>c</category></item>");
    EXPECT_TRUE(Opt().Cloud().Include());
    EXPECT_EQ(Opt().Cloud().Port(), 80);
    EXPECT_EQ(Opt().Cloud().Protocol(), "soap");
    EXPECT_TRUE(Opt().Image().Include());
    EXPECT_EQ(Opt().Image().Optional().Width(), 88);
    EXPECT_EQ(Opt().TextInput().TextInputName(), "n");
    EXPECT_TRUE(Opt().SkipHours().Hour(5));
    EXPECT_TRUE(Opt().SkipDays().Friday());
    EXPECT_EQ(Opt().TTL(), 30);
    EXPECT_EQ(Item(0).Enclosure().URL(), "http://e/a.mp3");
    EXPECT_EQ(Item(0).Enclosure().Length(), 9);
    EXPECT_EQ(Item(0).Enclosure().EnclosureType(), "audio/mpeg");
    EXPECT_EQ(Item(0).Categories()[0].Domain(), "dd");
    EXPECT_EQ(feed_.ChannelTitle, "") << "the summary is read as for RSS";
    // Reading the summary adds no empty elements for the strict reader to assign.
    EXPECT_EQ(Opt().PubDate().DateTime(), LoadTime);
    EXPECT_EQ(Opt().Generator(), "RSS 0.4.1");
}

}  // namespace
}  // namespace pelwick
