#include "feeds/FeedDocument.h"

#include <libxml/tree.h>

#include "app/Strings.h"
#include "feeds/FeedException.h"
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

void TFeedDocument::FillSummary() {
    try {
        xmlNode* root = xmlFile_->DocumentElement();
        // An RDF channel is the root's first child, whatever it is.
        xmlNode* channel = xmlType_ == xtRDF ? root->children : ChildNode(root, "channel");
        if (channel == nullptr) throw EFeedException("The document has no channel");
        ChannelTitle = NodeText(ChildNode(channel, "title"));
        ChannelDescription = NodeText(ChildNode(channel, "description"));
        ChannelLink = NodeText(ChildNode(channel, "link"));
        ChannelDate = NodeText(ChildNode(channel, xmlType_ == xtRDF ? "dc:date" : "pubDate"));
    } catch (const Exception&) {
        // A summary element holding markup keeps this string and the following ones as the
        // previous load left them; the reader reports the fault if it matters.
    }
}

}  // namespace pelwick
