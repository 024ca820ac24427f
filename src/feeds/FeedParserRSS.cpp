#include "feeds/FeedParserRSS.h"

#include <libxml/tree.h>

namespace pelwick {

void TFeedParserRSS::Parse() {
    xmlNode* channel = ChildNode(Root(), "channel");
    // A channel with neither items nor categories is not read at all, not even its title.
    if (FindNode(channel, "item") == nullptr && FindNode(channel, "category") == nullptr) return;
    for (xmlNode* node = channel->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        if (IsNamed(node, "category"))
            ReadChannelCategory(node);
        else if (IsNamed(node, "item"))
            ReadItem(node);
        else if (!ReadChannelRequired(node))
            ReadChannelOption(node);
    }
}

void TFeedParserRSS::ReadItem(const xmlNode* node) {
    const xmlNode* title = FindNode(node, "title");
    const xmlNode* description = FindNode(node, "description");
    if ((title == nullptr && description == nullptr) || !IsComplete(node)) return;
    TRSSItem& item = Items().Add();

    if (title)
        AssignIfPresent(NodeValue(title), [&](std::string v) { item.SetTitle(std::move(v)); });
    if (const xmlNode* link = FindNode(node, "link"))
        AssignIfPresent(NodeValue(link), [&](std::string v) { item.SetLink(std::move(v)); });
    // The last present of these wins: description over content:encoded over content.
    const xmlNode* contents[] = {FindNode(node, "content"), FindNode(node, "content:encoded"),
                                 description};
    for (const xmlNode* content : contents) {
        if (content)
            AssignIfPresent(ContentValue(content),
                            [&](std::string v) { item.SetDescription(std::move(v)); });
    }
    if (const xmlNode* author = FindNode(node, "author"))
        AssignIfPresent(NodeValue(author),
                        [&](std::string v) { item.Author().SetName(std::move(v)); });
    if (const xmlNode* comments = FindNode(node, "comments"))
        AssignIfPresent(NodeValue(comments),
                        [&](std::string v) { item.SetComments(std::move(v)); });
    if (const xmlNode* date = FindNode(node, "dc:date"))
        AssignIfPresent(NodeValue(date),
                        [&](const std::string& v) { item.PubDate().ParseISO8601(v); });
    if (const xmlNode* enclosure = FindNode(node, "enclosure")) ReadEnclosure(item, enclosure);
    if (const xmlNode* guid = FindNode(node, "guid")) {
        TRSSItemGUID& target = item.GUID();
        target.SetInclude(true);
        AssignIfPresent(NodeValue(guid), [&](std::string v) { target.SetGUID(std::move(v)); });
        AssignIfPresent(AttributeValue(FindAttribute(guid, "isPermaLink")),
                        [&](const std::string& v) { target.SetIsPermaLink(v == "true"); });
    }
    if (const xmlNode* pubDate = FindNode(node, "pubDate"))
        AssignIfPresent(NodeValue(pubDate),
                        [&](const std::string& v) { item.PubDate().ParseRFC822(v); });
    if (const xmlNode* source = FindNode(node, "source")) ReadSource(item, source);
    for (const xmlNode* child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE && LocalNameIs(child, "category"))
            ReadItemCategory(item, child);
}

}  // namespace pelwick
