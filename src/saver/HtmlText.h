#pragma once

#include <string>
#include <string_view>

namespace pelwick {

// Plain text from a piece of HTML (a feed item's title): tags and stray angle brackets go,
// the common character references are decoded. trimLines trims every line and drops empty
// ones; convertBreaks turns the HTML line and paragraph breaks into CR LF first.
std::string HtmlToText(std::string text, bool trimLines, bool convertBreaks);

// Removes every occurrence of sub (ASCII letters without case) from text, including the
// occurrences that the cutting joins anew. An empty sub removes nothing.
void RemoveAllNoCase(std::string_view sub, std::string& text);

}  // namespace pelwick
