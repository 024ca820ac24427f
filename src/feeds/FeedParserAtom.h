#pragma once

#include "feeds/FeedParserBase.h"

namespace pelwick {

// Reads a document whose root is "feed" by the element names of Atom 0.3 ("tagline",
// "modified", content "mode") and the few RSS names Atom feeds borrow; Atom 1.0 is read through
// the names it shares, plus its "subtitle" and its entry dates. The feed fields come from the
// container: a "head" element of the root when there is one, else the root itself.
class TFeedParserAtom : public TFeedParserBase {
  public:
    using TFeedParserBase::TFeedParserBase;
    void Parse() override;

    // The element the feed fields and entries are read from.
    static xmlNode* Container(xmlNode* root);
    // The first "link" child (as FindNode finds it) whose "rel" is absent or "alternate" and
    // whose "href" is not empty: the page a feed or an entry stands for, which Blogger and
    // Feedburner put after their "replies", "edit" and "self" links. nullptr when none is.
    static const xmlNode* AlternateLink(const xmlNode* parent);

  private:
    bool IsAtomChannelOption(const xmlNode* node) const;
    void ReadFeedFields(const xmlNode* container);
    void ReadItem(const xmlNode* node);
    static void ReadItemExtras(TRSSItem& item, const xmlNode* node);
};

}  // namespace pelwick
