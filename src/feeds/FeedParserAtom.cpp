#include "feeds/FeedParserAtom.h"

#include <libxml/tree.h>

#include <string_view>

#include "feeds/Base64.h"

namespace pelwick {

namespace {

bool IsAlternate(const xmlNode* link) {
    const TXMLValue rel = AttributeValue(FindAttribute(link, "rel"));
    return !rel || *rel == "alternate";
}

// Whether child counts for FindNode(parent, name), by the same namespace rule.
bool IsFoundAs(const xmlNode* parent, const xmlNode* child, std::string_view name) {
    if (child->type != XML_ELEMENT_NODE || !LocalNameIs(child, name)) return false;
    if (parent->ns == nullptr) return true;
    return child->ns && child->ns->href && parent->ns->href &&
           xmlStrcasecmp(child->ns->href, parent->ns->href) == 0;
}

bool IsBase64Mode(const xmlNode* element) {
    const TXMLValue mode = AttributeValue(FindAttribute(element, "mode"));
    return mode && *mode == "base64";
}

// Sets the date from the element's text read as ISO 8601; false when it has no text.
bool ReadISODate(TRFC822DateTime& date, const xmlNode* element) {
    if (element == nullptr) return false;
    TXMLValue value = NodeValue(element);
    if (!value) return false;
    date.ParseISO8601(*value);
    return true;
}

}  // namespace

xmlNode* TFeedParserAtom::Container(xmlNode* root) {
    if (xmlNode* head = FindNode(root, "head")) return head;
    return root;
}

const xmlNode* TFeedParserAtom::AlternateLink(const xmlNode* parent) {
    for (const xmlNode* node = parent->children; node; node = node->next) {
        if (!IsFoundAs(parent, node, "link") || !IsAlternate(node)) continue;
        if (AttributeValue(FindAttribute(node, "href"))) return node;
    }
    return nullptr;
}

// The channel options an Atom feed may carry; the other RSS options are not read.
bool TFeedParserAtom::IsAtomChannelOption(const xmlNode* node) const {
    for (std::string_view name :
         {"language", "ttl", "image", "rating", "textInput", "skipHours", "skipDays"})
        if (IsNamed(node, name)) return true;
    return false;
}

void TFeedParserAtom::Parse() {
    const xmlNode* container = Container(Root());
    ReadFeedFields(container);
    // Entries are looked for inside the container only: beside a "head" they are not read.
    for (xmlNode* node = container->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (IsNamed(node, "entry")) ReadItem(node);
        if (IsAtomChannelOption(node)) ReadChannelOption(node);
    }
}

void TFeedParserAtom::ReadFeedFields(const xmlNode* container) {
    TRSSChannelReq& req = Channel().Required();
    TRSSChannelOpt& opt = Channel().Optional();
    bool hasTagline = false;
    bool hasAlternate = false;
    const xmlNode* subtitle = nullptr;
    for (const xmlNode* node = container->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (IsNamed(node, "title")) {
            AssignIfPresent(NodeValue(node), [&](std::string v) { req.SetTitle(std::move(v)); });
        } else if (IsNamed(node, "link")) {
            // The first alternate link is the feed's page; without one, every link with an
            // address overwrites the one before.
            const xmlAttr* href = FindAttributeNamed(node, "href");
            if (href == nullptr || hasAlternate) continue;
            req.SetLink(AttributeText(href));
            hasAlternate = IsAlternate(node) && !req.Link().empty();
        } else if (IsNamed(node, "tagline")) {
            hasTagline = true;
            AssignIfPresent(ContentValue(node), [&](std::string v) { req.SetDesc(std::move(v)); });
        } else if (IsNamed(node, "generator")) {
            AssignIfPresent(NodeValue(node),
                            [&](std::string v) { opt.SetGenerator(std::move(v)); });
        } else if (IsNamed(node, "modified")) {
            ReadISODate(opt.PubDate(), node);
        } else if (IsNamed(node, "subtitle") && subtitle == nullptr) {
            subtitle = node;
        }
    }
    // Atom 1.0 names its description "subtitle".
    if (!hasTagline && subtitle)
        AssignIfPresent(ContentValue(subtitle), [&](std::string v) { req.SetDesc(std::move(v)); });
}

void TFeedParserAtom::ReadItem(const xmlNode* node) {
    if (!IsComplete(node)) return;
    TRSSItem& item = Items().Add();
    AssignIfPresent(FoundValue(node, "title"), [&](std::string v) { item.SetTitle(std::move(v)); });
    // The alternate link is the entry's page; without one the first link counts, whatever its
    // relation.
    const xmlNode* link = AlternateLink(node);
    if (link == nullptr) link = FindNode(node, "link");
    if (link)
        if (const xmlAttr* href = FindAttribute(link, "href")) item.SetLink(AttributeText(href));
    // The summary stands in only for absent content, not for empty content.
    const xmlNode* content = FindNode(node, "content");
    if (content == nullptr) content = FindNode(node, "summary");
    if (content) {
        AssignIfPresent(ContentValue(content),
                        [&](std::string v) { item.SetDescription(std::move(v)); });
        if (IsBase64Mode(content)) item.SetDescription(DecodeBase64Text(item.Description()));
    }
    if (const xmlNode* author = FindNode(node, "author")) {
        TRSSAuthor& target = item.Author();
        AssignIfPresent(FoundValue(author, "name"),
                        [&](std::string v) { target.SetName(std::move(v)); });
        AssignIfPresent(FoundValue(author, "email"),
                        [&](std::string v) { target.SetEMail(std::move(v)); });
        AssignIfPresent(FoundValue(author, "url"),
                        [&](std::string v) { target.SetURL(std::move(v)); });
    }
    AssignIfPresent(FoundValue(node, "comments"),
                    [&](std::string v) { item.SetComments(std::move(v)); });
    // A broken optional element costs the rest of these steps, not the entry or the feed.
    Guarded([&] { ReadItemExtras(item, node); });
}

void TFeedParserAtom::ReadItemExtras(TRSSItem& item, const xmlNode* node) {
    bool dated = ReadISODate(item.PubDate(), FindNode(node, "modified"));
    if (const xmlNode* enclosure = FindNode(node, "enclosure")) ReadEnclosure(item, enclosure);
    AssignIfPresent(FoundValue(node, "id"), [&](std::string v) {
        item.GUID().SetInclude(true);
        item.GUID().SetGUID(std::move(v));
    });
    if (const xmlNode* pubDate = FindNode(node, "pubDate")) {
        if (TXMLValue value = NodeValue(pubDate)) {
            item.PubDate().ParseRFC822(*value);
            dated = true;
        }
    }
    // Atom 1.0 dates its entries with "published" and "updated" only; without them every
    // entry would carry the time of the load.
    if (!dated && !ReadISODate(item.PubDate(), FindNode(node, "published")))
        ReadISODate(item.PubDate(), FindNode(node, "updated"));
    if (const xmlNode* source = FindNode(node, "source")) ReadSource(item, source);
    for (const xmlNode* child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE && LocalNameIs(child, "category"))
            ReadItemCategory(item, child);
}

}  // namespace pelwick
