#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "FeedTestSupport.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedException.h"
#include "feeds/FeedModel.h"

namespace pelwick {
namespace {

TEST(FeedModel, DocumentDefaults) {
    int created = 0;
    TFeedDocument feed([&](TFeedDocument& sender) {
        ++created;
        EXPECT_EQ(&sender.Channel(), &sender.Channel());  // usable inside OnCreate
    });
    EXPECT_EQ(created, 1);
    EXPECT_EQ(feed.Version(), "2.0");
    EXPECT_EQ(feed.XMLType(), xtRSS);
    EXPECT_EQ(feed.ModelVersion(), "0.4.1");
    EXPECT_TRUE(feed.XMLFile().IsEmpty());
    EXPECT_EQ(feed.HTTPClient(), nullptr);
    EXPECT_EQ(feed.Items().Count(), 0);
    EXPECT_EQ(feed.ChannelTitle + feed.ChannelLink + feed.ChannelDescription + feed.ChannelDate,
              "");
    const TRSSChannelOpt& opt = feed.Channel().Optional();
    EXPECT_EQ(opt.Language(), langEN);
    EXPECT_EQ(opt.Generator(), "RSS 0.4.1");
    EXPECT_EQ(opt.Docs(), "Doc");
    EXPECT_EQ(opt.TTL(), 60);
    EXPECT_FALSE(opt.Image().Include());
    for (int h = 0; h < 24; ++h)
        EXPECT_FALSE(opt.SkipHours().Hour(h));
}

TEST(FeedModel, BlankRequiredTextReadsEmpty) {
    TRSSChannel channel;
    channel.Required().SetTitle("   ");
    channel.Required().SetDesc("\t\r\n\x01");
    channel.Required().SetLink(" x ");
    EXPECT_EQ(channel.Required().Title(), "");
    EXPECT_EQ(channel.Required().Desc(), "");
    EXPECT_EQ(channel.Required().Link(), " x ");  // text is otherwise unchanged
    TRSSImage image;
    image.Required().SetURL("  ");
    EXPECT_EQ(image.Required().URL(), "");
    // Other strings are stored as they come.
    TRSSItem item;
    item.SetTitle("  ");
    EXPECT_EQ(item.Title(), "  ");
}

TEST(FeedModel, NumbersAreClamped) {
    TRSSChannelOpt opt;
    opt.SetTTL(-5);
    EXPECT_EQ(opt.TTL(), 0);
    opt.SetTTL(90);
    EXPECT_EQ(opt.TTL(), 90);
    opt.Image().Optional().SetWidth(500);
    EXPECT_EQ(opt.Image().Optional().Width(), 144);
    opt.Image().Optional().SetWidth(-1);
    EXPECT_EQ(opt.Image().Optional().Width(), 0);
    opt.Image().Optional().SetHeight(401);
    EXPECT_EQ(opt.Image().Optional().Height(), 400);
    opt.Image().Optional().SetHeight(400);
    EXPECT_EQ(opt.Image().Optional().Height(), 400);
    opt.Cloud().SetPort(0);
    EXPECT_EQ(opt.Cloud().Port(), 1);
    opt.Cloud().SetPort(2);
    EXPECT_EQ(opt.Cloud().Port(), 2);
}

TEST(FeedModel, LanguageCodesMatchExactly) {
    EXPECT_EQ(LanguageFromCode("de-ch"), langDE_CH);
    EXPECT_EQ(LanguageFromCode("DE"), langX);
    EXPECT_EQ(LanguageFromCode("en-US"), langX);
    EXPECT_EQ(LanguageFromCode("af"), langAF);
    EXPECT_EQ(LanguageFromCode("uk"), langUK);
    EXPECT_EQ(LanguageFromCode("zh-cn"), langZH_CN);
    EXPECT_EQ(LanguageFromCode("haw"), langHAW);
    EXPECT_EQ(LanguageFromCode(""), langX);
    EXPECT_EQ(int(langX), 96);
    // Every table code maps back to itself, so the table and the enumeration agree.
    for (int i = 0; i < int(langX); ++i)
        EXPECT_EQ(LanguageFromCode(LanguageCode(TLanguages(i))), TLanguages(i)) << i;
}

TEST(FeedModel, KeywordsFromText) {
    TiTunesChannelExtra extra;
    extra.KeywordsFromText("  a  b ");
    ASSERT_EQ(extra.KeyWords().Count(), 3);
    EXPECT_EQ(extra.KeyWords()[0].Value(), "a");
    EXPECT_EQ(extra.KeyWords()[1].Value(), "");
    EXPECT_EQ(extra.KeyWords()[2].Value(), "b");
    extra.KeywordsFromText(" \t ");
    EXPECT_EQ(extra.KeyWords().Count(), 3);  // blank text adds nothing
    TiTunesItemExtra item;
    item.KeywordsFromText("one");
    ASSERT_EQ(item.KeyWords().Count(), 1);
    EXPECT_EQ(item.KeyWords()[0].Value(), "one");
}

TEST(FeedModel, DurationReadsAndWritesOnlyTheThreePartForm) {
    TiTunesDuration d;
    EXPECT_EQ(d.Duration(), "0:0:00");
    d.SetDuration("1:5:7");
    EXPECT_EQ(d.Hour(), 1);
    EXPECT_EQ(d.Minute(), 5);
    EXPECT_EQ(d.Second(), 7);
    EXPECT_EQ(d.Duration(), "1:5:07");
    for (const char* bad : {"5:30", "330", "", "1:2:x", "1:2:3:4", "a:b:c", "1::3"}) {
        try {
            d.SetDuration(bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const EConvertError& e) {
            EXPECT_NE(e.Message().find(std::string("\"") + bad + "\""), std::string::npos)
                << e.Message();
        }
        EXPECT_EQ(d.Duration(), "1:5:07") << "a failed write changes nothing";
    }
}

TEST(FeedModel, SummaryKeepsFourThousandCharactersNotBytes) {
    TiTunesItemExtra extra;
    extra.SetSummary(std::string(5000, 'a'));
    EXPECT_EQ(extra.Summary().size(), 4000u);
    // Two-byte characters: 4000 of them are 8000 bytes, and no character is split.
    std::string umlauts;
    for (int i = 0; i < 4500; ++i)
        umlauts += "\xC3\xBC";
    extra.SetSummary(umlauts);
    EXPECT_EQ(extra.Summary(), umlauts.substr(0, 8000));
    // A four-byte character straddling the limit is kept whole or dropped whole.
    TiTunesChannelExtra channel;
    channel.SetSummary(std::string(3999, 'x') + "\xF0\x9D\x84\x9E" + "yz");
    EXPECT_EQ(channel.Summary(), std::string(3999, 'x') + "\xF0\x9D\x84\x9E");
    channel.SetSummary("short");
    EXPECT_EQ(channel.Summary(), "short");
}

TEST(FeedModel, NewItemsHaveDistinctBracedGuidsAndTheCreationTime) {
    const std::regex braced(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    TRSSItems items;
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string& guid = items.Add().GUID().GUID();
        EXPECT_EQ(guid.size(), 38u);
        EXPECT_TRUE(std::regex_match(guid, braced)) << guid;
        seen.insert(guid);
    }
    EXPECT_EQ(seen.size(), 1000u);
    EXPECT_FALSE(items[0].GUID().Include());
    test::TFixedClockAndGuids clock;
    TRSSItem item;
    EXPECT_EQ(item.PubDate().DateTime(), test::TFixedClockAndGuids::FixedNow);
    EXPECT_EQ(item.PubDate().TimeZone(), "GMT");
    EXPECT_EQ(item.ContentType(), ctText);
}

TEST(FeedModel, CollectionsKeepOrderAndReferences) {
    TRSSItemCategories categories;
    TRSSItemCategory& first = categories.Add();
    first.SetTitle("one");
    for (int i = 0; i < 100; ++i)
        categories.Add().SetTitle(std::to_string(i));
    EXPECT_EQ(&first, &categories[0]);
    EXPECT_EQ(categories[0].Title(), "one");
    EXPECT_EQ(categories[100].Title(), "99");
    EXPECT_EQ(categories.Count(), 101);
    EXPECT_THROW(categories.Items(101), std::out_of_range);
}

}  // namespace
}  // namespace pelwick
