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
    // Whether node is the element name of this format: its node name is name, or its local
    // name is name in one of the format's own namespaces, whatever prefix it is written with.
    bool IsNamed(const xmlNode* node, std::string_view name) const;
    // An item or entry the data ended inside (a truncated download that was recovered) is
    // not read: its fields may be cut anywhere.
    static bool IsComplete(const xmlNode* element) { return TXMLDocument::IsComplete(element); }
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
    // The content rule: the element's text, or its markup written as HTML (MarkupValue).
    static TXMLValue ContentValue(const xmlNode* element) { return MarkupValue(element); }
    // A length that is no number (servers write "unknown") leaves Length at its default.
    static void ReadEnclosure(TRSSItem& item, const xmlNode* enclosure);
    static void ReadSource(TRSSItem& item, const xmlNode* source);
    // The title of a source: its text, or, for a source holding elements (an Atom source is
    // the head of the feed the entry came from), the text of its "title" child.
    static TXMLValue SourceTitle(const xmlNode* source);
    static void ReadItemCategory(TRSSItem& item, const xmlNode* category);

    // The flags named by the children's values ("0" to "23"; "Monday" to "Sunday").
    void ReadSkipHours(const xmlNode* node);
    void ReadSkipDays(const xmlNode* node);

  private:
    // Whether element is in a namespace whose elements count under their local names: the
    // root's own.
    virtual bool IsOwnNamespace(const xmlNode* element) const;

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
