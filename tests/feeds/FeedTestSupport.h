#pragma once

#include <string>

#include "app/DateTime.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedModel.h"

namespace pelwick::test {

// While it lives, Now() returns FixedNow and new GUIDs are numbered
// {00000000-0000-0000-0000-000000000001}, ... so that models compare exactly.
class TFixedClockAndGuids {
  public:
    static constexpr TDateTime FixedNow = 45000.5;  // 15 Mar 2023 12:00
    TFixedClockAndGuids();
    ~TFixedClockAndGuids();
    TFixedClockAndGuids(const TFixedClockAndGuids&) = delete;
    TFixedClockAndGuids& operator=(const TFixedClockAndGuids&) = delete;

  private:
    TClock oldClock_;
    TGuidGenerator oldGenerator_;
};

// An RSS 2.0 document whose channel holds channelBody.
std::string Rss(const std::string& channelBody);
// The same marked for the podcast reader (the root carries itunes="yes" and declares the
// itunes prefix).
std::string Podcast(const std::string& channelBody);
// An RSS 1.0 document: body sits under the rdf:RDF root, whose default namespace is RSS 1.0's
// and which declares the dc prefix.
std::string Rdf(const std::string& body);
// An Atom 1.0 document: body sits under the feed root.
std::string Atom(const std::string& body);

inline constexpr const char* RssOneNamespace = "http://purl.org/rss/1.0/";
inline constexpr const char* AtomNamespace = "http://www.w3.org/2005/Atom";

// A document type whose entities nest ten deep, each ten references to the one below
// ("billion laughs"): &a10; would expand to 5 * 10^11 bytes.
std::string EntityBombDoctype();

// Loads bytes through LoadFromStream; returns the failure's message, "" on success.
std::string Load(TFeedDocument& feed, const std::string& bytes);

// The date-time of a calendar date and time of day, for expectations.
TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

}  // namespace pelwick::test
