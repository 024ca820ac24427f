// OPML import by both of its paths (the XML reading and the scan of text that is not
// well-formed, which the first byte can force by breaking the document), and the entries an
// import makes: each must read back as the name and address it was made of.
#include <string>

#include "FuzzSupport.h"
#include "options/Opml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    std::string text(fuzz::Input(data, size));
    if (!text.empty() && text[0] == '!') text += "<";  // never well-formed
    for (const TOpmlFeed& feed : ReadOpmlFeeds(text))
        FUZZ_CHECK(!feed.Address.empty());
    const TOpmlImport import = ImportOpml(text, {}, [] { return std::string("10:20:30"); });
    for (const std::string& entry : import.Added)
        FUZZ_CHECK(FeedEntryText(FeedEntryName(entry), FeedEntryAddress(entry)) == entry);
    // Every feed the file names is either added or counted as one the list had.
    FUZZ_CHECK(import.Added.size() + std::size_t(import.Skipped) == ReadOpmlFeeds(text).size());
    return 0;
}
