#pragma once

#include <string>

#include "feeds/FeedDocument.h"

namespace pelwick {

// The model of a feed as one JSON object, the shape pelwick-feed prints (see README): format,
// version, the channel summary, "channel" with every channel field, "items" with every item
// field, "recovered" only when the model comes from XML that was not well-formed, and "error"
// only when error is not empty. Two-space indented, ending in a newline.
std::string FeedToJson(const TFeedDocument& feed, const std::string& error = "");

// Where a load through the feed store got its bytes.
struct TFeedOrigin {
    bool FromStore = false;
    std::string Reason;
};
// As above, with "from_store" and, when it is true, "reason" before "error".
std::string FeedToJson(const TFeedDocument& feed, const std::string& error,
                       const TFeedOrigin& origin);

// A JSON string literal; bytes that are not UTF-8 become U+FFFD so the output stays valid.
std::string JsonString(std::string_view text);

}  // namespace pelwick
