#include "saver/Browser.h"
namespace pelwick {
namespace {
TUrlOpener& Opener() {
    static TUrlOpener o;
    return o;
}
}  // namespace
std::string WebLink(const std::string& link) {
    return link.rfind("http", 0) == 0 ? link : "";
}
void OpenInBrowser(const std::string& address, const std::string&) {
    if (Opener()) Opener()(address);
}
TUrlOpener SetUrlOpener(TUrlOpener opener) {
    auto p = Opener();
    Opener() = std::move(opener);
    return p;
}
}  // namespace pelwick
