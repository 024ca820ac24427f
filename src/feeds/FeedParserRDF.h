#pragma once

#include "feeds/FeedParserBase.h"

namespace pelwick {

// Reads an RSS 1.0 document (root "rdf:RDF"): channel, items, image and text input are all
// children of the root and are taken in document order; the channel's item sequence and the
// RDF linking attributes are not read.
class TFeedParserRDF : public TFeedParserBase {
  public:
    using TFeedParserBase::TFeedParserBase;
    void Parse() override;

    // The first element named "channel" among the root's children, or nullptr: what comes
    // before it (a comment, a processing instruction) does not matter.
    static const xmlNode* FindChannel(const xmlNode* root);

  private:
    // The RSS 1.0 and RSS 0.9 namespaces, whose elements count whatever their prefix.
    bool IsOwnNamespace(const xmlNode* element) const override;

    void ReadChannel(const xmlNode* channel);
    void ReadItem(const xmlNode* node);
    static void ReadItemExtras(TRSSItem& item, const xmlNode* node);
};

}  // namespace pelwick
