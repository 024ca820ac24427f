#include "feeds/FeedParseriTunes.h"

#include <libxml/tree.h>

#include "feeds/FeedException.h"

namespace pelwick {

namespace {

// Strict reads: a found element or attribute is assigned even when empty, so a null value
// reads as the empty text, and a number needs text that is one.
std::string Text(const xmlNode* node) {
    return NodeText(node);
}

int Number(const xmlNode* node) {
    return ValueNumber(NodeValue(node));
}

int Number(const xmlAttr* attribute) {
    return ValueNumber(AttributeValue(attribute));
}

// The attribute's text, empty when the element has no such attribute.
std::string AttributeOrEmpty(const xmlNode* element, std::string_view name) {
    return AttributeText(FindAttribute(element, name));
}

// The found child, or the required-field failure naming parent and child.
const xmlNode* RequiredChild(const xmlNode* parent, std::string_view parentName,
                             std::string_view name) {
    const xmlNode* child = FindNode(parent, name);
    if (child == nullptr) RaiseRequiredFieldMissing(parentName, name);
    return child;
}

const xmlAttr* RequiredAttribute(const xmlNode* element, std::string_view elementName,
                                 std::string_view name) {
    const xmlAttr* attribute = FindAttribute(element, name);
    if (attribute == nullptr) RaiseRequiredFieldMissing(elementName, name);
    return attribute;
}

// A podcast category names its category in the "text" attribute and its subcategory in the
// "text" attribute of a single nested category; any other content gives no subcategory.
void ReadPodcastCategory(TiTunesCategory& target, const xmlNode* node) {
    target.SetCategory(AttributeOrEmpty(node, "text"));
    const xmlNode* only = node->children;
    if (only && only->next == nullptr) target.SetSubCategory(AttributeOrEmpty(only, "text"));
}

bool IsYes(const xmlNode* node) {
    return Text(node) == "yes";
}

}  // namespace

void RaiseRequiredFieldMissing(std::string_view parent, std::string_view name) {
    throw EFeedException("Required Field Missing. Field: " + std::string(parent) + " -> " +
                         std::string(name));
}

void TFeedParseriTunes::Parse() {
    xmlNode* channel = ChildNode(Root(), "channel");
    // As in RSS: a channel with neither items nor categories is not read at all.
    if (FindNode(channel, "item") == nullptr && FindNode(channel, "category") == nullptr) return;
    TRSSChannelReq& req = Channel().Required();
    for (xmlNode* node = channel->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (IsNamed(node, "category")) {
            TRSSChannelCategory& category = Channel().Optional().Categories().Add();
            category.SetCategory(Text(node));
            if (const xmlAttr* domain = FindAttribute(node, "domain"))
                category.SetDomain(AttributeText(domain));
        } else if (IsNamed(node, "item")) {
            if (IsComplete(node)) ReadItem(Items().Add(), node);
        } else if (IsNamed(node, "title")) {
            req.SetTitle(Text(node));
        } else if (IsNamed(node, "link")) {
            req.SetLink(Text(node));
        } else if (IsNamed(node, "description")) {
            req.SetDesc(ContentValue(node).value_or(""));
        } else if (!ReadPodcastChannelRow(node)) {
            ReadStrictChannelOption(node);
        }
    }
}

bool TFeedParseriTunes::ReadPodcastChannelRow(const xmlNode* node) {
    TiTunesChannelExtra& extra = Channel().iTunes();
    if (NodeNameIs(node, "itunes:block")) {
        extra.SetBlock(true);
    } else if (NodeNameIs(node, "itunes:category")) {
        // A later category replaces the whole of an earlier one, its subcategory included.
        extra.Category().SetSubCategory("");
        ReadPodcastCategory(extra.Category(), node);
    } else if (NodeNameIs(node, "itunes:explicit")) {
        extra.SetExplict(IsYes(node));
    } else if (NodeNameIs(node, "itunes:keywords")) {
        extra.KeywordsFromText(Text(node));
    } else if (NodeNameIs(node, "itunes:owner")) {
        extra.Owner().SetName(Text(FindNode(node, "itunes:name")));
        extra.Owner().SetEmailAddress(Text(FindNode(node, "itunes:email")));
    } else if (NodeNameIs(node, "itunes:subtitle")) {
        extra.SetSubtitle(Text(node));
    } else if (NodeNameIs(node, "itunes:summary")) {
        extra.SetSummary(Text(node));
    } else if (NodeNameIs(node, "itunes:image")) {
        // Podcast feeds give the image address in "href"; text, where a feed has it, wins.
        std::string image = Text(node);
        if (image.empty()) image = AttributeOrEmpty(node, "href");
        extra.SetImage(std::move(image));
    } else {
        return false;
    }
    return true;
}

void TFeedParseriTunes::ReadStrictChannelOption(xmlNode* node) {
    TRSSChannelOpt& opt = Channel().Optional();
    if (IsNamed(node, "language")) {
        const std::string code = Text(node);
        opt.SetLanguage(LanguageFromCode(code));
        opt.SetXLang(opt.Language() == langX ? code : "");
    } else if (IsNamed(node, "copyright")) {
        opt.SetCopyright(Text(node));
    } else if (IsNamed(node, "managingEditor")) {
        opt.SetManagingEditor(Text(node));
    } else if (IsNamed(node, "webMaster")) {
        opt.SetWebMaster(Text(node));
    } else if (IsNamed(node, "pubDate")) {
        opt.PubDate().ParseRFC822(Text(node));
    } else if (IsNamed(node, "lastBuildDate")) {
        opt.LastBuildDate().ParseRFC822(Text(node));
    } else if (IsNamed(node, "generator")) {
        opt.SetGenerator(Text(node));
    } else if (IsNamed(node, "docs")) {
        opt.SetDocs(Text(node));
    } else if (IsNamed(node, "cloud")) {
        ReadCloud(node);
    } else if (IsNamed(node, "ttl")) {
        opt.SetTTL(Number(node));
    } else if (IsNamed(node, "image")) {
        ReadImage(node);
    } else if (IsNamed(node, "rating")) {
        opt.SetRating(Text(node));
    } else if (IsNamed(node, "textInput")) {
        ReadTextInput(node);
    } else if (IsNamed(node, "skipHours")) {
        ReadSkipHours(node);
    } else if (IsNamed(node, "skipDays")) {
        ReadSkipDays(node);
    }
}

void TFeedParseriTunes::ReadCloud(xmlNode* node) {
    TRSSCloud& cloud = Channel().Optional().Cloud();
    cloud.SetInclude(HasAttributes(node));
    if (!cloud.Include()) return;
    // Absent attributes read as null: empty text, and no port number.
    cloud.SetDomain(AttributeOrEmpty(node, "domain"));
    cloud.SetPort(Number(FindAttribute(node, "port")));
    cloud.SetPath(AttributeOrEmpty(node, "path"));
    cloud.SetRegisterProcedure(AttributeOrEmpty(node, "registerProcedure"));
    cloud.SetProtocol(AttributeOrEmpty(node, "protocol"));
}

void TFeedParseriTunes::ReadImage(const xmlNode* node) {
    const xmlNode* url = RequiredChild(node, "image", "url");
    const xmlNode* title = RequiredChild(node, "image", "title");
    const xmlNode* link = RequiredChild(node, "image", "link");
    TRSSImage& image = Channel().Optional().Image();
    image.SetInclude(HasChildNodes(node));
    image.Required().SetURL(Text(url));
    image.Required().SetTitle(Text(title));
    image.Required().SetLink(Text(link));
    if (const xmlNode* description = FindNode(node, "description"))
        image.Optional().SetDescription(Text(description));
    if (const xmlNode* width = FindNode(node, "width")) image.Optional().SetWidth(Number(width));
    if (const xmlNode* height = FindNode(node, "height"))
        image.Optional().SetHeight(Number(height));
}

void TFeedParseriTunes::ReadTextInput(const xmlNode* node) {
    const xmlNode* title = RequiredChild(node, "textInput", "title");
    const xmlNode* description = RequiredChild(node, "textInput", "description");
    const xmlNode* name = RequiredChild(node, "textInput", "name");
    const xmlNode* link = RequiredChild(node, "textInput", "link");
    TRSSTextInput& input = Channel().Optional().TextInput();
    input.SetInclude(HasChildNodes(node));
    input.SetTitle(Text(title));
    input.SetDescription(Text(description));
    input.SetTextInputName(Text(name));
    input.SetLink(Text(link));
}

void TFeedParseriTunes::ReadItem(TRSSItem& item, const xmlNode* node) {
    const xmlNode* title = FindNode(node, "title");
    const xmlNode* description = FindNode(node, "description");
    if (title == nullptr && description == nullptr) RaiseRequiredFieldMissing("item", "title");

    if (title) item.SetTitle(Text(title));
    if (const xmlNode* link = FindNode(node, "link")) item.SetLink(Text(link));
    ReadPodcastItemFields(item, node);
    // Every found one is assigned, so the last found wins even when it is empty.
    const xmlNode* contents[] = {FindNode(node, "content"), FindNode(node, "content:encoded"),
                                 description};
    for (const xmlNode* content : contents)
        if (content) item.SetDescription(ContentValue(content).value_or(""));
    if (const xmlNode* author = FindNode(node, "author")) item.Author().SetName(Text(author));
    if (const xmlNode* comments = FindNode(node, "comments")) item.SetComments(Text(comments));
    if (const xmlNode* date = FindNode(node, "dc:date")) item.PubDate().ParseISO8601(Text(date));
    if (const xmlNode* enclosure = FindNode(node, "enclosure")) ReadEnclosure(item, enclosure);
    if (const xmlNode* guid = FindNode(node, "guid")) ReadGUID(item, guid);
    if (const xmlNode* pubDate = FindNode(node, "pubDate"))
        item.PubDate().ParseRFC822(Text(pubDate));
    if (const xmlNode* source = FindNode(node, "source")) ReadSource(item, source);
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !LocalNameIs(child, "category")) continue;
        TRSSItemCategory& category = item.Categories().Add();
        category.SetTitle(Text(child));
        if (const xmlAttr* domain = FindAttribute(child, "domain"))
            category.SetDomain(AttributeText(domain));
    }
}

void TFeedParseriTunes::ReadPodcastItemFields(TRSSItem& item, const xmlNode* node) {
    TiTunesItemExtra& extra = item.iTunes();
    if (const xmlNode* author = FindNode(node, "itunes:author")) extra.SetAuthor(Text(author));
    if (FindNode(node, "itunes:block")) extra.SetBlock(true);
    if (const xmlNode* category = FindNode(node, "itunes:category"))
        ReadPodcastCategory(extra.Category(), category);
    if (const xmlNode* explicitNode = FindNode(node, "itunes:explicit"))
        extra.SetExplict(IsYes(explicitNode));
    if (const xmlNode* keywords = FindNode(node, "itunes:keywords"))
        extra.KeywordsFromText(Text(keywords));
    if (const xmlNode* subtitle = FindNode(node, "itunes:subtitle"))
        extra.SetSubtitle(Text(subtitle));
    if (const xmlNode* summary = FindNode(node, "itunes:summary")) extra.SetSummary(Text(summary));
}

void TFeedParseriTunes::ReadEnclosure(TRSSItem& item, const xmlNode* enclosure) {
    const xmlAttr* url = RequiredAttribute(enclosure, "enclosure", "url");
    const xmlAttr* length = RequiredAttribute(enclosure, "enclosure", "length");
    const xmlAttr* type = RequiredAttribute(enclosure, "enclosure", "type");
    TRSSItemEnclosure& target = item.Enclosure();
    target.SetURL(AttributeText(url));
    target.SetLength(Number(length));
    target.SetEnclosureType(AttributeText(type));
    target.SetInclude(true);
}

void TFeedParseriTunes::ReadSource(TRSSItem& item, const xmlNode* source) {
    const xmlAttr* url = RequiredAttribute(source, "source", "url");
    TRSSItemSource& target = item.Source();
    target.SetInclude(true);
    target.SetTitle(SourceTitle(source).value_or(""));
    target.SetURL(AttributeText(url));
}

void TFeedParseriTunes::ReadGUID(TRSSItem& item, const xmlNode* guid) {
    TRSSItemGUID& target = item.GUID();
    target.SetInclude(true);
    target.SetGUID(Text(guid));
    // Unlike RSS, a guid without the attribute counts as a permanent link.
    const xmlAttr* permaLink = FindAttribute(guid, "isPermaLink");
    target.SetIsPermaLink(permaLink == nullptr || AttributeText(permaLink) == "true");
}

}  // namespace pelwick
