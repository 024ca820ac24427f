#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/Exception.h"
#include "feeds/FeedDocument.h"
#include "feeds/XMLAccess.h"

namespace pelwick {

// A reader of one feed format. It is created for one load and fills the Channel and Items of
// the TFeedDocument it was given (not owned) from that document's XMLFile, following the
// access rules of XMLAccess.h.
class TFeedParserBase {
  public:
    explicit TFeedParserBase(TFeedDocument& feed) : feed_(feed) {}
    virtual ~TFeedParserBase() = default;
    TFeedParserBase(const TFeedParserBase&) = delete;
    TFeedParserBase& operator=(const TFeedParserBase&) = delete;

    virtual void Parse() = 0;

  protected:
    TFeedDocument& Feed() { return feed_; }
    TRSSChannel& Channel() { return feed_.Channel(); }
    TRSSItems& Items() { return feed_.Items(); }
    xmlNode* Root() { return feed_.XMLFile().DocumentElement(); }

    // Runs a step whose failure must not stop the reader: feed and conversion errors are
    // swallowed (the fields set before the failure stay set). Other failures, such as memory
    // exhaustion, still propagate.
    template <class Step>
    static void Guarded(Step&& step) {
        try {
            step();
        } catch (const Exception&) {
            // Deliberately ignored: a broken optional element costs only that element.
        }
    }

    // The optional channel rows shared by the readers (language, copyright, managingEditor,
    // webMaster, pubDate, lastBuildDate, generator, docs, cloud, ttl, image, rating,
    // textInput, skipHours, skipDays), each under a guard. Returns whether the node's name
    // was one of them.
    bool ReadChannelOption(xmlNode* node);
    // A channel "category": its value and the "domain" attribute, each if present.
    void ReadChannelCategory(const xmlNode* node);
    // The required channel rows, "title", "link" and "description", unguarded: a present
    // value is assigned. Returns whether the node's name was one of them.
    bool ReadChannelRequired(const xmlNode* node);

    // The value of the child found by name, or null when there is none.
    static TXMLValue FoundValue(const xmlNode* parent, std::string_view name);

    // Item steps shared by the readers, each reading an element found among an item's
    // children and assigning only present values.
    // The content rule: the first child's value when the element has children, else its own.
    static TXMLValue ContentValue(const xmlNode* element);
    static void ReadEnclosure(TRSSItem& item, const xmlNode* enclosure);
    static void ReadSource(TRSSItem& item, const xmlNode* source);
    static void ReadItemCategory(TRSSItem& item, const xmlNode* category);

    // The flags named by the children's values ("0" to "23"; "Monday" to "Sunday"); a child
    // holding markup raises and ends the reading there.
    void ReadSkipHours(const xmlNode* node);
    void ReadSkipDays(const xmlNode* node);

  private:
    void ReadLanguage(const xmlNode* node);
    void ReadCloud(const xmlNode* node);
    void ReadImage(const xmlNode* node);
    void ReadTextInput(const xmlNode* node);

    TFeedDocument& feed_;
};

// The reader for a detected format.
std::unique_ptr<TFeedParserBase> CreateFeedParser(TXMLType type, TFeedDocument& feed);

// Hands a present value to a setter, moving it: AssignIfPresent(NodeValue(n), [&](std::string s)
// { x.SetTitle(std::move(s)); }).
template <class Setter>
inline void AssignIfPresent(TXMLValue&& value, Setter&& setter) {
    if (value) setter(std::move(*value));
}

}  // namespace pelwick
