#pragma once
#include <string>
#include <string_view>
namespace pelwick {
std::string HtmlToText(std::string text, bool trimLines, bool convertBreaks);
void RemoveAllNoCase(std::string_view sub, std::string& text);
}  // namespace pelwick
