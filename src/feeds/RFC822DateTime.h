#pragma once

#include <string>
#include <string_view>

#include "app/DateTime.h"

namespace pelwick {

// A feed date: the wall-clock time as written in the feed (never converted between zones) and
// the zone text that came with it. A new one holds the local time of its creation and "GMT".
class TRFC822DateTime {
  public:
    TRFC822DateTime();

    TDateTime DateTime() const { return dateTime_; }
    void SetDateTime(TDateTime value);
    const std::string& TimeZone() const { return timeZone_; }
    void SetTimeZone(const std::string& value);

    // Internet date text such as "Mon, 02 Jan 2006 15:04:05 GMT" or "02-Jan-06 10:00". Text
    // it cannot read gives 0 (30 Dec 1899, midnight). TimeZone is not touched.
    void ParseRFC822(std::string_view text);
    // Text shaped like "2006-01-02T15:04:05Z"; what follows the seconds becomes TimeZone. An
    // impossible date or time gives the current local time.
    void ParseISO8601(std::string_view text);

  private:
    TDateTime dateTime_;
    std::string timeZone_ = "GMT";
};

// The date-time an internet date text stands for, 0 when it cannot be read.
TDateTime RFC822ToDateTime(std::string_view text);

}  // namespace pelwick
