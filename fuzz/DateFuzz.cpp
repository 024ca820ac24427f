// The RFC 822 and ISO 8601 date parsers on any text: they never fail, and always give a
// date that can be written out again.
#include "FuzzSupport.h"
#include "feeds/RFC822DateTime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    const std::string_view text = fuzz::Input(data, size);
    TRFC822DateTime date;
    date.ParseRFC822(text);
    date.ParseISO8601(text);
    (void)RFC822ToDateTime(text);
    return 0;
}
