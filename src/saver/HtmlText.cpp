#include "saver/HtmlText.h"
namespace pelwick {
std::string HtmlToText(std::string text, bool, bool) {
    return text;
}
void RemoveAllNoCase(std::string_view, std::string&) {}
}  // namespace pelwick
