#include "feeds/FeedDocument.h"

#include <libxml/tree.h>

#include <initializer_list>
#include <string_view>

#include "app/Strings.h"
#include "feeds/FeedException.h"
#include "feeds/FeedParserAtom.h"
#include "feeds/FeedParserBase.h"
#include "feeds/XMLAccess.h"

namespace pelwick {

const char* XMLTypeName(TXMLType type) {
    switch (type) {
        case xtRDF:
            return "rdf";
        case xtRSS:
            return "rss";
        case xtAtom:
            return "atom";
        case xtiTunes:
            return "itunes";
    }
    return "rss";
}

TFeedDocument::TFeedDocument(TNotifyEvent onCreate)
    : OnCreate(std::move(onCreate)),
      channel_(std::make_unique<TRSSChannel>()),
      items_(std::make_unique<TRSSItems>()),
      xmlFile_(std::make_unique<TXMLDocument>()) {
    if (OnCreate) OnCreate(*this);
}

TFeedDocument::~TFeedDocument() = default;

void TFeedDocument::ResetXMLFile() {
    xmlFile_ = std::make_unique<TXMLDocument>();
}

void TFeedDocument::LoadFromStream(TMemoryStream& stream) {
    const std::string_view bytes = stream.Remaining();
    ResetXMLFile();
    xmlFile_->LoadFromBytes(bytes);
    stream.SetPosition(stream.Size());
    ParseXML();
}

void TFeedDocument::LoadFromBytes(std::string_view bytes) {
    ResetXMLFile();
    xmlFile_->LoadFromBytes(bytes);
    ParseXML();
}

void TFeedDocument::ParseXML() {
    channel_ = std::make_unique<TRSSChannel>();
    items_ = std::make_unique<TRSSItems>();
    xmlNode* root = xmlFile_->DocumentElement();
    if (root == nullptr) throw EFeedException("unkown format: ");

    const std::string rootName = NodeName(root);
    const std::string lower = LowerAscii(rootName);
    if (lower == "rdf:rdf") {
        xmlType_ = xtRDF;
    } else if (lower == "rss") {
        // Only an attribute written exactly "itunes" marks the podcast reader; declaring the
        // itunes prefix does not.
        bool marked = false;
        for (const xmlAttr* a = root->properties; a && !marked; a = a->next)
            marked = a->ns == nullptr && xmlStrEqual(a->name, BAD_CAST "itunes");
        xmlType_ = marked ? xtiTunes : xtRSS;
    } else if (lower == "feed") {
        xmlType_ = xtAtom;
    } else {
        throw EFeedException("unkown format: " + rootName);
    }
    if (const xmlAttr* version = FindAttribute(root, "version")) version_ = AttributeText(version);

    std::unique_ptr<TFeedParserBase> parser = CreateFeedParser(xmlType_, *this);
    FillSummary();
    parser->Parse();
    if (OnParseXML) OnParseXML(*this);
}

namespace {

// The text of the named child; an absent child reads as empty. The lookup leaves the document
// as it is: an element added here would change what the reader finds afterwards (text beside
// an element fails to read, and the podcast reader assigns even empty elements).
std::string SummaryText(const xmlNode* parent, std::string_view name) {
    if (!IsElement(parent)) throw EXMLError("The channel is not an element");
    return NodeText(FindNode(parent, name));
}

}  // namespace

void TFeedDocument::FillSummary() {
    try {
        xmlNode* root = xmlFile_->DocumentElement();
        if (xmlType_ == xtAtom) {
            FillAtomSummary(root);
            return;
        }
        // An RDF channel is the root's first child, whatever it is.
        const xmlNode* channel = xmlType_ == xtRDF ? root->children : FindNode(root, "channel");
        if (xmlType_ != xtRDF && channel == nullptr) {
            // Without a channel every string reads as empty.
            ChannelTitle = ChannelDescription = ChannelLink = ChannelDate = "";
            return;
        }
        ChannelTitle = SummaryText(channel, "title");
        ChannelDescription = SummaryText(channel, "description");
        ChannelLink = SummaryText(channel, "link");
        if (xmlType_ != xtRDF) {
            ChannelDate = SummaryText(channel, "pubDate");
            return;
        }
        // The channel's date is a Dublin Core element, outside the RSS 1.0 namespace the
        // channel is normally in.
        if (const xmlNode* date = FindNodeInNamespace(channel, DublinCoreNamespace, "date"))
            ChannelDate = NodeText(date);
        else
            ChannelDate = SummaryText(channel, "dc:date");
    } catch (const Exception&) {
        // A summary element holding markup keeps this string and the following ones as the
        // previous load left them; the reader reports the fault if it matters.
    }
}

void TFeedDocument::FillAtomSummary(xmlNode* root) {
    // An Atom feed has no channel element; its feed element carries the same facts under its
    // own names, so that the headline panel and the feed list can name the feed.
    const xmlNode* feed = TFeedParserAtom::Container(root);
    // Each string on its own: the load may well succeed, and then no string may be left over
    // from the previous feed, so one that cannot be read (markup) is empty.
    auto read = [](std::string& target, auto&& reader) {
        try {
            target = reader();
        } catch (const Exception&) {
            target.clear();
        }
    };
    auto firstText = [feed](std::initializer_list<std::string_view> names) {
        for (std::string_view name : names)
            if (const xmlNode* node = FindNode(feed, name)) return NodeText(node);
        return std::string();
    };
    read(ChannelTitle, [&] { return firstText({"title"}); });
    read(ChannelDescription, [&] { return firstText({"subtitle", "tagline"}); });
    read(ChannelLink, [&] { return AtomAlternateLink(feed); });
    read(ChannelDate, [&] { return firstText({"updated", "modified"}); });
}

std::string TFeedDocument::AtomAlternateLink(const xmlNode* feed) {
    for (const xmlNode* node = feed->children; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE || !NodeNameIs(node, "link")) continue;
        const TXMLValue rel = AttributeValue(FindAttribute(node, "rel"));
        if (!rel || *rel == "alternate") return AttributeText(FindAttribute(node, "href"));
    }
    return "";
}

}  // namespace pelwick
