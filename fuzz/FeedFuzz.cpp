// The feed loader on any bytes: every format reader, the forgiving second parse, and the
// JSON dump of what was read (for one input in sixteen, chosen by its first byte, so that
// most runs cost one load).
#include "FuzzSupport.h"
#include "feeds/FeedDocument.h"
#include "feeds/FeedJson.h"
#include "feeds/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    static TFeedDocument feed;
    TMemoryStream stream{std::string(fuzz::Input(data, size))};
    try {
        feed.LoadFromStream(stream);
    } catch (const std::exception&) {
        return 0;
    }
    if (size > 0 && data[0] % 16 == 0) FUZZ_CHECK(!FeedToJson(feed).empty());
    return 0;
}
