#pragma once

#include <string_view>

#include "feeds/FeedParserBase.h"

namespace pelwick {

// Reads an RSS 2.0 document marked for podcasts (its root carries an attribute named
// "itunes"): everything the RSS reader reads, in the same order, plus the podcast elements.
// It is strict: found elements are assigned even when empty, more elements are required
// ("Required Field Missing. Field: enclosure -> type"), and nothing is guarded, so any failure
// ends the load with the items completed before it.
class TFeedParseriTunes : public TFeedParserBase {
  public:
    using TFeedParserBase::TFeedParserBase;
    void Parse() override;

  private:
    bool ReadPodcastChannelRow(const xmlNode* node);
    void ReadStrictChannelOption(xmlNode* node);
    void ReadCloud(xmlNode* node);
    void ReadImage(const xmlNode* node);
    void ReadTextInput(const xmlNode* node);
    void ReadItem(TRSSItem& item, const xmlNode* node);
    static void ReadPodcastItemFields(TRSSItem& item, const xmlNode* node);
    static void ReadEnclosure(TRSSItem& item, const xmlNode* enclosure);
    static void ReadSource(TRSSItem& item, const xmlNode* source);
    static void ReadGUID(TRSSItem& item, const xmlNode* guid);
};

// The failure of a podcast element the reader requires: "Required Field Missing. Field: " +
// parent + " -> " + name.
[[noreturn]] void RaiseRequiredFieldMissing(std::string_view parent, std::string_view name);

}  // namespace pelwick
