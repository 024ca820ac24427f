#include "feeds/FeedParserRDF.h"

#include <libxml/tree.h>

namespace pelwick {

namespace {

bool IsRDFChannelNamespace(const xmlChar* namespaceName) {
    return xmlStrcasecmp(namespaceName, BAD_CAST "http://purl.org/rss/1.0/") == 0 ||
           xmlStrcasecmp(namespaceName, BAD_CAST "http://my.netscape.com/rdf/simple/0.9/") == 0;
}

// The item's date: "dc:date" as the access rules find it, which inside an item in the RSS 1.0
// namespace is never the Dublin Core element; that one is then looked up by its namespace, so
// that RSS 1.0 items keep their dates instead of the time of the load.
const xmlNode* FindItemDate(const xmlNode* item) {
    if (const xmlNode* date = FindNode(item, "dc:date")) return date;
    return FindNodeInNamespace(item, DublinCoreNamespace, "date");
}

}  // namespace

const xmlNode* TFeedParserRDF::FindChannel(const xmlNode* root) {
    for (const xmlNode* node = root->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE || !LocalNameIs(node, "channel")) continue;
        if (NodeNameIs(node, "channel") || (node->ns && IsRDFChannelNamespace(node->ns->href)))
            return node;
    }
    return nullptr;
}

bool TFeedParserRDF::IsOwnNamespace(const xmlNode* element) const {
    return IsRDFChannelNamespace(element->ns->href);
}

void TFeedParserRDF::Parse() {
    for (xmlNode* node = Root()->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (IsNamed(node, "channel"))
            ReadChannel(node);
        else if (IsNamed(node, "category"))
            ReadChannelCategory(node);
        else if (IsNamed(node, "item"))
            ReadItem(node);
        else if (!ReadChannelRequired(node))
            ReadChannelOption(node);
    }
}

void TFeedParserRDF::ReadChannel(const xmlNode* channel) {
    for (const xmlNode* node = channel->children; node; node = node->next)
        if (node->type == XML_ELEMENT_NODE) ReadChannelRequired(node);
}

void TFeedParserRDF::ReadItem(const xmlNode* node) {
    // An RSS 1.0 item has no required element.
    if (!IsComplete(node)) return;
    TRSSItem& item = Items().Add();
    AssignIfPresent(FoundValue(node, "title"), [&](std::string v) { item.SetTitle(std::move(v)); });
    AssignIfPresent(FoundValue(node, "link"), [&](std::string v) { item.SetLink(std::move(v)); });
    if (const xmlNode* description = FindNode(node, "description"))
        AssignIfPresent(ContentValue(description),
                        [&](std::string v) { item.SetDescription(std::move(v)); });
    AssignIfPresent(FoundValue(node, "author"),
                    [&](std::string v) { item.Author().SetName(std::move(v)); });
    AssignIfPresent(FoundValue(node, "comments"),
                    [&](std::string v) { item.SetComments(std::move(v)); });
    // A broken optional element costs the rest of these steps, not the item or the feed.
    Guarded([&] { ReadItemExtras(item, node); });
}

void TFeedParserRDF::ReadItemExtras(TRSSItem& item, const xmlNode* node) {
    if (const xmlNode* date = FindItemDate(node))
        AssignIfPresent(NodeValue(date),
                        [&](const std::string& v) { item.PubDate().ParseISO8601(v); });
    if (const xmlNode* enclosure = FindNode(node, "enclosure")) ReadEnclosure(item, enclosure);
    if (const xmlNode* guid = FindNode(node, "guid")) {
        // Only a guid with text counts here, unlike in RSS 2.0.
        if (TXMLValue value = NodeValue(guid)) {
            TRSSItemGUID& target = item.GUID();
            target.SetInclude(true);
            target.SetGUID(std::move(*value));
            AssignIfPresent(AttributeValue(FindAttribute(guid, "isPermaLink")),
                            [&](const std::string& v) { target.SetIsPermaLink(v == "true"); });
        }
    }
    if (const xmlNode* pubDate = FindNode(node, "pubDate"))
        AssignIfPresent(NodeValue(pubDate),
                        [&](const std::string& v) { item.PubDate().ParseRFC822(v); });
    if (const xmlNode* source = FindNode(node, "source")) ReadSource(item, source);
    // Categories of any vocabulary count by their local name; a Dublin Core subject is one.
    for (const xmlNode* child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE &&
            (LocalNameIs(child, "category") || LocalNameIs(child, "subject")))
            ReadItemCategory(item, child);
}

}  // namespace pelwick
