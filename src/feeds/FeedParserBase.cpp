#include "feeds/FeedParserBase.h"

#include <libxml/tree.h>

#include <array>
#include <string_view>

#include "feeds/FeedException.h"
#include "feeds/FeedParserAtom.h"
#include "feeds/FeedParserRDF.h"
#include "feeds/FeedParserRSS.h"
#include "feeds/FeedParseriTunes.h"

namespace pelwick {

namespace {

constexpr std::array<std::string_view, 7> DayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                      "Friday", "Saturday", "Sunday"};

void SetSkipDay(TRSSChannelSkipDays& days, std::size_t index) {
    switch (index) {
        case 0:
            days.SetMonday(true);
            break;
        case 1:
            days.SetTuesday(true);
            break;
        case 2:
            days.SetWednesday(true);
            break;
        case 3:
            days.SetThursday(true);
            break;
        case 4:
            days.SetFriday(true);
            break;
        case 5:
            days.SetSaturday(true);
            break;
        default:
            days.SetSunday(true);
            break;
    }
}

}  // namespace

bool TFeedParserBase::IsNamed(const xmlNode* node, std::string_view name) const {
    if (NodeNameIs(node, name)) return true;
    return node->ns != nullptr && node->ns->href != nullptr && LocalNameIs(node, name) &&
           IsOwnNamespace(node);
}

bool TFeedParserBase::IsOwnNamespace(const xmlNode* element) const {
    const xmlNode* root = feed_.XMLFile().DocumentElement();
    return root != nullptr && root->ns != nullptr && root->ns->href != nullptr &&
           xmlStrcasecmp(root->ns->href, element->ns->href) == 0;
}

TXMLValue TFeedParserBase::FoundValue(const xmlNode* parent, std::string_view name) {
    const xmlNode* found = FindNode(parent, name);
    return found ? NodeValue(found) : std::nullopt;
}

bool TFeedParserBase::ReadChannelRequired(const xmlNode* node) {
    TRSSChannelReq& req = Channel().Required();
    if (IsNamed(node, "title"))
        AssignIfPresent(NodeValue(node), [&](std::string v) { req.SetTitle(std::move(v)); });
    else if (IsNamed(node, "link"))
        AssignIfPresent(NodeValue(node), [&](std::string v) { req.SetLink(std::move(v)); });
    else if (IsNamed(node, "description"))
        AssignIfPresent(ContentValue(node), [&](std::string v) { req.SetDesc(std::move(v)); });
    else
        return false;
    return true;
}

void TFeedParserBase::ReadChannelCategory(const xmlNode* node) {
    TRSSChannelCategory& category = Channel().Optional().Categories().Add();
    AssignIfPresent(NodeValue(node), [&](std::string v) { category.SetCategory(std::move(v)); });
    AssignIfPresent(AttributeValue(FindAttribute(node, "domain")),
                    [&](std::string v) { category.SetDomain(std::move(v)); });
}

bool TFeedParserBase::ReadChannelOption(xmlNode* node) {
    TRSSChannelOpt& opt = Channel().Optional();
    auto text = [&](void (TRSSChannelOpt::*setter)(std::string)) {
        Guarded([&] {
            AssignIfPresent(NodeValue(node), [&](std::string v) { (opt.*setter)(std::move(v)); });
        });
    };
    auto date = [&](TRFC822DateTime& target) {
        Guarded([&] {
            AssignIfPresent(NodeValue(node), [&](const std::string& v) { target.ParseRFC822(v); });
        });
    };
    if (IsNamed(node, "language"))
        Guarded([&] { ReadLanguage(node); });
    else if (IsNamed(node, "copyright"))
        text(&TRSSChannelOpt::SetCopyright);
    else if (IsNamed(node, "managingEditor"))
        text(&TRSSChannelOpt::SetManagingEditor);
    else if (IsNamed(node, "webMaster"))
        text(&TRSSChannelOpt::SetWebMaster);
    else if (IsNamed(node, "pubDate"))
        date(opt.PubDate());
    else if (IsNamed(node, "lastBuildDate"))
        date(opt.LastBuildDate());
    else if (IsNamed(node, "generator"))
        text(&TRSSChannelOpt::SetGenerator);
    else if (IsNamed(node, "docs"))
        text(&TRSSChannelOpt::SetDocs);
    else if (IsNamed(node, "cloud"))
        Guarded([&] { ReadCloud(node); });
    else if (IsNamed(node, "ttl"))
        Guarded([&] {
            AssignIfPresent(NodeValue(node),
                            [&](const std::string& v) { opt.SetTTL(ValueNumber(v)); });
        });
    else if (IsNamed(node, "image"))
        Guarded([&] { ReadImage(node); });
    else if (IsNamed(node, "rating"))
        text(&TRSSChannelOpt::SetRating);
    else if (IsNamed(node, "textInput"))
        Guarded([&] { ReadTextInput(node); });
    else if (IsNamed(node, "skipHours"))
        Guarded([&] { ReadSkipHours(node); });
    else if (IsNamed(node, "skipDays"))
        Guarded([&] { ReadSkipDays(node); });
    else
        return false;
    return true;
}

void TFeedParserBase::ReadLanguage(const xmlNode* node) {
    TRSSChannelOpt& opt = Channel().Optional();
    const TXMLValue value = NodeValue(node);
    if (value) opt.SetLanguage(LanguageFromCode(*value));
    // Only a code outside the table is kept as written.
    if (opt.Language() == langX) {
        if (value) opt.SetXLang(*value);
    } else
        opt.SetXLang("");
}

void TFeedParserBase::ReadCloud(const xmlNode* node) {
    TRSSCloud& cloud = Channel().Optional().Cloud();
    cloud.SetInclude(HasAttributes(node));
    if (!cloud.Include()) return;
    auto attr = [&](std::string_view name) { return AttributeValue(FindAttribute(node, name)); };
    AssignIfPresent(attr("domain"), [&](std::string v) { cloud.SetDomain(std::move(v)); });
    AssignIfPresent(attr("port"), [&](const std::string& v) { cloud.SetPort(ValueNumber(v)); });
    AssignIfPresent(attr("path"), [&](std::string v) { cloud.SetPath(std::move(v)); });
    AssignIfPresent(attr("registerProcedure"),
                    [&](std::string v) { cloud.SetRegisterProcedure(std::move(v)); });
    AssignIfPresent(attr("protocol"), [&](std::string v) { cloud.SetProtocol(std::move(v)); });
}

void TFeedParserBase::ReadImage(const xmlNode* node) {
    TRSSImage& image = Channel().Optional().Image();
    image.SetInclude(HasChildNodes(node));
    if (!image.Include()) return;
    TRSSImageReq& req = image.Required();
    TRSSImageOpt& opt = image.Optional();
    AssignIfPresent(FoundValue(node, "url"), [&](std::string v) { req.SetURL(std::move(v)); });
    AssignIfPresent(FoundValue(node, "title"), [&](std::string v) { req.SetTitle(std::move(v)); });
    AssignIfPresent(FoundValue(node, "link"), [&](std::string v) { req.SetLink(std::move(v)); });
    AssignIfPresent(FoundValue(node, "description"),
                    [&](std::string v) { opt.SetDescription(std::move(v)); });
    AssignIfPresent(FoundValue(node, "width"),
                    [&](const std::string& v) { opt.SetWidth(ValueNumber(v)); });
    AssignIfPresent(FoundValue(node, "height"),
                    [&](const std::string& v) { opt.SetHeight(ValueNumber(v)); });
}

void TFeedParserBase::ReadTextInput(const xmlNode* node) {
    TRSSTextInput& input = Channel().Optional().TextInput();
    input.SetInclude(HasChildNodes(node));
    if (!input.Include()) return;
    AssignIfPresent(FoundValue(node, "title"),
                    [&](std::string v) { input.SetTitle(std::move(v)); });
    AssignIfPresent(FoundValue(node, "description"),
                    [&](std::string v) { input.SetDescription(std::move(v)); });
    AssignIfPresent(FoundValue(node, "link"), [&](std::string v) { input.SetLink(std::move(v)); });
    AssignIfPresent(FoundValue(node, "name"),
                    [&](std::string v) { input.SetTextInputName(std::move(v)); });
}

void TFeedParserBase::ReadSkipHours(const xmlNode* node) {
    TRSSChannelSkipHours& hours = Channel().Optional().SkipHours();
    // The children's names are not checked; only values "0" to "23" written plainly count.
    for (const xmlNode* child = node->children; child; child = child->next) {
        const TXMLValue value = NodeValue(child);
        if (!value || value->empty() || value->size() > 2) continue;
        if (value->size() == 2 && (*value)[0] == '0') continue;
        int hour = 0;
        bool digits = true;
        for (char c : *value) {
            digits = digits && c >= '0' && c <= '9';
            hour = hour * 10 + (c - '0');
        }
        if (digits && hour <= 23) hours.SetHour(hour, true);
    }
}

void TFeedParserBase::ReadSkipDays(const xmlNode* node) {
    TRSSChannelSkipDays& days = Channel().Optional().SkipDays();
    for (const xmlNode* child = node->children; child; child = child->next) {
        const TXMLValue value = NodeValue(child);
        if (!value) continue;
        for (std::size_t i = 0; i < DayNames.size(); ++i)
            if (*value == DayNames[i]) SetSkipDay(days, i);
    }
}

void TFeedParserBase::ReadEnclosure(TRSSItem& item, const xmlNode* enclosure) {
    TRSSItemEnclosure& target = item.Enclosure();
    auto attr = [&](std::string_view name) {
        return AttributeValue(FindAttribute(enclosure, name));
    };
    AssignIfPresent(attr("url"), [&](std::string v) { target.SetURL(std::move(v)); });
    if (const std::optional<int> length = TryValueNumber(attr("length"))) target.SetLength(*length);
    AssignIfPresent(attr("type"), [&](std::string v) { target.SetEnclosureType(std::move(v)); });
    target.SetInclude(true);
}

void TFeedParserBase::ReadSource(TRSSItem& item, const xmlNode* source) {
    TRSSItemSource& target = item.Source();
    target.SetInclude(true);
    AssignIfPresent(SourceTitle(source), [&](std::string v) { target.SetTitle(std::move(v)); });
    AssignIfPresent(AttributeValue(FindAttribute(source, "url")),
                    [&](std::string v) { target.SetURL(std::move(v)); });
}

TXMLValue TFeedParserBase::SourceTitle(const xmlNode* source) {
    for (const xmlNode* child = source->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE) return FoundValue(source, "title");
    return NodeValue(source);
}

void TFeedParserBase::ReadItemCategory(TRSSItem& item, const xmlNode* category) {
    TRSSItemCategory& target = item.Categories().Add();
    AssignIfPresent(NodeValue(category), [&](std::string v) { target.SetTitle(std::move(v)); });
    AssignIfPresent(AttributeValue(FindAttribute(category, "domain")),
                    [&](std::string v) { target.SetDomain(std::move(v)); });
}

std::unique_ptr<TFeedParserBase> CreateFeedParser(TXMLType type, TFeedDocument& feed) {
    switch (type) {
        case xtRSS:
            return std::make_unique<TFeedParserRSS>(feed);
        case xtRDF:
            return std::make_unique<TFeedParserRDF>(feed);
        case xtAtom:
            return std::make_unique<TFeedParserAtom>(feed);
        case xtiTunes:
            return std::make_unique<TFeedParseriTunes>(feed);
    }
    throw EFeedException("unkown format");
}

}  // namespace pelwick
