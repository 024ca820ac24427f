#include "feeds/FeedDocument.h"

#include <libxml/tree.h>

#include <initializer_list>
#include <string_view>

#include "app/Strings.h"
#include "feeds/FeedException.h"
#include "feeds/FeedParserAtom.h"
#include "feeds/FeedParserBase.h"
#include "feeds/FeedParserRDF.h"
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
TFeedDocument::TFeedDocument(TFeedDocument&& other) noexcept = default;
TFeedDocument& TFeedDocument::operator=(TFeedDocument&& other) noexcept = default;

void TFeedDocument::ResetXMLFile() {
    xmlFile_ = std::make_unique<TXMLDocument>();
}

void TFeedDocument::LoadFromStream(TMemoryStream& stream) {
    Load(stream.Remaining(), &stream);
}

void TFeedDocument::LoadFromBytes(std::string_view bytes) {
    Load(bytes, nullptr);
}

void TFeedDocument::Load(std::string_view bytes, TMemoryStream* stream) {
    ResetXMLFile();
    try {
        xmlFile_->LoadFromBytes(bytes);
    } catch (const EXMLError& strict) {
        if (!LoadRecovered(bytes, strict.Message())) throw;
        if (stream) stream->SetPosition(stream->Size());
        return;
    }
    if (stream) stream->SetPosition(stream->Size());
    ParseXML();
}

void TFeedDocument::ParseXML() {
    ResetModel();
    xmlNode* root = xmlFile_->DocumentElement();
    if (root == nullptr) throw EFeedException("unkown format: ");
    if (!DetectFormat(root)) throw EFeedException("unkown format: " + NodeName(root));
    BuildModel();
    if (OnParseXML) OnParseXML(*this);
}

void TFeedDocument::ResetModel() {
    channel_ = std::make_unique<TRSSChannel>();
    items_ = std::make_unique<TRSSItems>();
    recovered_.clear();
}

bool TFeedDocument::DetectFormat(const xmlNode* root) {
    // The name as written decides, and so does the namespace whatever the prefix:
    // "atom:feed" in the Atom namespace is an Atom feed.
    const std::string lower = LowerAscii(NodeName(root));
    const std::string_view local = reinterpret_cast<const char*>(root->name);
    if (lower == "rdf:rdf" || (local == "RDF" && InNamespace(root, RDFNamespace))) {
        xmlType_ = xtRDF;
    } else if (LowerAscii(local) == "rss") {
        // Only an attribute written exactly "itunes" marks the podcast reader; declaring the
        // itunes prefix does not.
        bool marked = false;
        for (const xmlAttr* a = root->properties; a && !marked; a = a->next)
            marked = a->ns == nullptr && xmlStrEqual(a->name, BAD_CAST "itunes");
        xmlType_ = marked ? xtiTunes : xtRSS;
    } else if (lower == "feed" || (local == "feed" && (InNamespace(root, AtomNamespace) ||
                                                       InNamespace(root, Atom03Namespace)))) {
        xmlType_ = xtAtom;
    } else {
        return false;
    }
    return true;
}

void TFeedDocument::BuildModel() {
    xmlNode* root = xmlFile_->DocumentElement();
    if (const xmlAttr* version = FindAttribute(root, "version")) version_ = AttributeText(version);
    std::unique_ptr<TFeedParserBase> parser = CreateFeedParser(xmlType_, *this);
    FillSummary();
    parser->Parse();
}

bool TFeedDocument::LoadRecovered(std::string_view bytes, const std::string& strictError) {
    try {
        xmlFile_->RecoverFromBytes(bytes);
    } catch (const EXMLError&) {
        // Nothing came of it; the strict parser's error stands.
        return false;
    }
    const TXMLType oldType = xmlType_;
    if (!DetectFormat(xmlFile_->DocumentElement())) {
        ResetXMLFile();
        return false;
    }
    // The previous model stays unless the recovered document yields items.
    std::unique_ptr<TRSSChannel> oldChannel = std::move(channel_);
    std::unique_ptr<TRSSItems> oldItems = std::move(items_);
    const std::string oldVersion = version_;
    std::string oldSummary[] = {ChannelTitle, ChannelLink, ChannelDescription, ChannelDate};
    const std::string oldRecovered = recovered_;
    bool accepted = false;
    try {
        ResetModel();
        BuildModel();
        accepted = items_->Count() > 0;
    } catch (const Exception&) {
        // A reader failing on what was recovered: the document was broken after all, and the
        // strict parser's error says best how.
    }
    if (!accepted) {
        channel_ = std::move(oldChannel);
        items_ = std::move(oldItems);
        version_ = oldVersion;
        xmlType_ = oldType;
        ChannelTitle = std::move(oldSummary[0]);
        ChannelLink = std::move(oldSummary[1]);
        ChannelDescription = std::move(oldSummary[2]);
        ChannelDate = std::move(oldSummary[3]);
        recovered_ = oldRecovered;
        ResetXMLFile();
        return false;
    }
    recovered_ = strictError;
    if (OnParseXML) OnParseXML(*this);
    return true;
}

namespace {

// The text of the named child; an absent child reads as empty. The lookup leaves the document
// as it is: an element added here would change what the reader finds afterwards (the podcast
// reader assigns even empty elements).
std::string SummaryText(const xmlNode* parent, std::string_view name) {
    return NodeText(FindNode(parent, name));
}

}  // namespace

void TFeedDocument::FillSummary() {
    xmlNode* root = xmlFile_->DocumentElement();
    if (xmlType_ == xtAtom) {
        FillAtomSummary(root);
        return;
    }
    const xmlNode* channel =
        xmlType_ == xtRDF ? TFeedParserRDF::FindChannel(root) : FindNode(root, "channel");
    if (channel == nullptr) {
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
    // The channel's date is a Dublin Core element, outside the RSS 1.0 namespace the channel is
    // normally in.
    if (const xmlNode* date = FindNodeInNamespace(channel, DublinCoreNamespace, "date"))
        ChannelDate = NodeText(date);
    else
        ChannelDate = SummaryText(channel, "dc:date");
}

void TFeedDocument::FillAtomSummary(xmlNode* root) {
    // An Atom feed has no channel element; its feed element carries the same facts under its
    // own names, so that the headline panel and the feed list can name the feed.
    const xmlNode* feed = TFeedParserAtom::Container(root);
    auto firstText = [feed](std::initializer_list<std::string_view> names) {
        for (std::string_view name : names)
            if (const xmlNode* node = FindNode(feed, name)) return NodeText(node);
        return std::string();
    };
    ChannelTitle = firstText({"title"});
    ChannelDescription = firstText({"subtitle", "tagline"});
    const xmlNode* link = TFeedParserAtom::AlternateLink(feed);
    ChannelLink = link ? AttributeText(FindAttribute(link, "href")) : "";
    ChannelDate = firstText({"updated", "modified"});
}

}  // namespace pelwick
