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

  private:
    // Adds the item to Items, unless it has neither title nor description (a stray element
    // that costs only itself) or the data ended inside it.
    void ReadItem(const xmlNode* node);
};

}  // namespace pelwick
