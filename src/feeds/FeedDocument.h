#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "feeds/FeedModel.h"
#include "feeds/MemoryStream.h"
#include "feeds/XMLDocument.h"

namespace pelwick {

class THTTPClient;

// One feed: the parsed document, the model built from it, and the channel summary the saver
// shows. Every load replaces document and model; a failed load never leaves it unusable.
class TFeedDocument {
  public:
    using TNotifyEvent = std::function<void(TFeedDocument& sender)>;

    // onCreate becomes OnCreate and is fired at the end of construction.
    explicit TFeedDocument(TNotifyEvent onCreate = {});
    ~TFeedDocument();
    TFeedDocument(const TFeedDocument&) = delete;
    TFeedDocument& operator=(const TFeedDocument&) = delete;
    // Moved whole, so that a feed parsed on a worker thread is handed over without a copy.
    TFeedDocument(TFeedDocument&& other) noexcept;
    TFeedDocument& operator=(TFeedDocument&& other) noexcept;

    TRSSChannel& Channel() { return *channel_; }
    const TRSSChannel& Channel() const { return *channel_; }
    TRSSItems& Items() { return *items_; }
    const TRSSItems& Items() const { return *items_; }

    // The root element's version attribute of the last load that had one; "2.0" before.
    const std::string& Version() const { return version_; }
    void SetVersion(const std::string& value) { version_ = value; }
    TXMLType XMLType() const { return xmlType_; }
    void SetXMLType(TXMLType value) { xmlType_ = value; }
    const TXMLDocument& XMLFile() const { return *xmlFile_; }
    TXMLDocument& XMLFile() { return *xmlFile_; }
    // Stored for the window that downloads; loading never uses it.
    THTTPClient* HTTPClient() const { return httpClient_; }
    void SetHTTPClient(THTTPClient* value) { httpClient_ = value; }
    std::string ModelVersion() const { return FeedModelVersion; }

    TNotifyEvent OnCreate;
    // Fired after each successful ParseXML.
    TNotifyEvent OnParseXML;
    // Stored only: feeds are never written.
    TNotifyEvent OnGenerateXML;

    // The channel summary, as written in the feed (the date is never parsed); filled by every
    // load before the format's reader runs.
    std::string ChannelTitle;
    std::string ChannelLink;
    std::string ChannelDescription;
    std::string ChannelDate;

    // Parses the bytes from the stream's position to its end and rebuilds the model. Bytes
    // that are not well-formed XML are parsed again the forgiving way (TXMLDocument::
    // RecoverFromBytes); when that gives a feed with at least one item, the load succeeds and
    // Recovered() names what was wrong. Raises EXMLError with the strict parser's first error
    // for XML that stays unusable (the previous model and summary then stay), EFeedException
    // for an unknown format or a reader failure (items read before the failure stay), and
    // EConvertError for a number the reader needed.
    void LoadFromStream(TMemoryStream& stream);
    void LoadFromBytes(std::string_view bytes);
    // The strict parser's first error when the current model comes from a recovered document;
    // "" after a load of well-formed XML.
    const std::string& Recovered() const { return recovered_; }
    // Frees the document and starts a new, empty one.
    void ResetXMLFile();
    // Detects the format of the loaded document, rebuilds the model, fills the summary, runs
    // the format's reader and fires OnParseXML.
    void ParseXML();

  private:
    void Load(std::string_view bytes, TMemoryStream* stream);
    // Replaces Channel and Items by empty ones.
    void ResetModel();
    // Sets XMLType from the root element; false when the root is no feed root.
    bool DetectFormat(const xmlNode* root);
    // ParseXML without the event, for a document whose format is detected.
    void BuildModel();
    bool LoadRecovered(std::string_view bytes, const std::string& strictError);
    void FillSummary();
    void FillAtomSummary(xmlNode* root);

    std::unique_ptr<TRSSChannel> channel_;
    std::unique_ptr<TRSSItems> items_;
    std::unique_ptr<TXMLDocument> xmlFile_;
    std::string version_ = "2.0";
    TXMLType xmlType_ = xtRSS;
    THTTPClient* httpClient_ = nullptr;
    std::string recovered_;
};

// The lower-case name of a format: "rss", "rdf", "atom" or "itunes".
const char* XMLTypeName(TXMLType type);

}  // namespace pelwick
