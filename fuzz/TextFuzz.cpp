// The headline panel's text: lines of label markup drawn in the panel's fonts, and laid out
// with or without word wrap in a narrow column.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "aatext/HeadlineStyle.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pelwick::fuzz::NeedGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelwick;
    if (size > 4096) return 0;  // a panel holds a few dozen short lines
    std::vector<std::string> lines;
    std::string line;
    for (char c : fuzz::Input(data, size)) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    static THeadlineRenderer renderer;
    renderer.Params().SetWordWrap(size % 2 == 1);
    const TBitmap image = renderer.Render(lines, 200);
    FUZZ_CHECK(image.Width() == 200);
    return 0;
}
