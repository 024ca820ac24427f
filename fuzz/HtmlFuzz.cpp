// What the saver does with an item's HTML: the plain text of a title, and the page of the
// card with its data: images decoded.
#include <string>

#include "FuzzSupport.h"
#include "saver/HtmlText.h"
#include "saver/PreparedPage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pelwick::fuzz::NeedGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    const std::string html(fuzz::Input(data, size));
    (void)HtmlToText(html, size % 2 == 0, size % 3 == 0);
    const TPreparedPage page = PreparePage(html);
    for (const TPageImage& image : page.images)
        FUZZ_CHECK(!image.image.isNull());
    return 0;
}
