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

  private:
    void ReadChannel(const xmlNode* channel);
    void ReadItem(TRSSItem& item, const xmlNode* node);
    static void ReadItemExtras(TRSSItem& item, const xmlNode* node);
};

}  // namespace pelwick
