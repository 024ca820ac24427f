#pragma once

#include "feeds/FeedParserBase.h"

namespace pelwick {

// Reads a document whose root is "rss" (any version, podcast feeds that only declare the
// itunes prefix included): the channel element's children in document order, items inside
// the channel only.
class TFeedParserRSS : public TFeedParserBase {
  public:
    using TFeedParserBase::TFeedParserBase;
    void Parse() override;

  protected:
    // Raises EFeedException "Required Field Missing. Field: item -> title" when the item has
    // neither title nor description; the item then stays in Items, empty.
    void ReadItem(TRSSItem& item, const xmlNode* node);
};

}  // namespace pelwick
