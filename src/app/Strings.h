#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelwick {

std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);

// Whether markup escaping turns the apostrophe into a reference too.
enum TApostrophe { apKept, apEscaped };
// Text made safe inside markup and its double-quoted attributes: & < > " become references,
// and ' too with apEscaped.
std::string MarkupEscape(std::string_view text, TApostrophe apostrophe);
// For HTML pages, where single-quoted attributes may follow.
inline std::string HtmlEscape(std::string_view text) {
    return MarkupEscape(text, apEscaped);
}

// Removes blanks and control characters (everything up to U+0020) at both ends.
std::string TrimBlanks(std::string_view s);

// Case-insensitive comparison of UTF-8 text. ASCII is folded directly; other letters are
// folded with Unicode rules when both strings are valid UTF-8, otherwise bytes are compared.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// Orders case-insensitively, then by bytes, so that sorting is deterministic.
bool LessText(std::string_view a, std::string_view b);

// Compares names as people sort them: runs of digits by their value ("IMG_2" before
// "IMG_10"), the rest as CompareText does. Names equal in that sense (case, leading zeros)
// fall back to LessText's tie-break, so that sorting stays deterministic.
int CompareNatural(std::string_view a, std::string_view b);
inline bool LessNatural(std::string_view a, std::string_view b) {
    return CompareNatural(a, b) < 0;
}

// The text as CompareText sees it: two texts that compare equal fold to the same bytes.
std::string FoldText(std::string_view s);

bool IsValidUtf8(std::string_view s);

// A signed 32-bit decimal integer with an optional sign and nothing else; nullopt otherwise.
std::optional<int> TryParseInt(std::string_view s);

// 1-based position of sub in s with ASCII letters compared without case; 0 when absent.
int PosNoCase(std::string_view sub, std::string_view s);

}  // namespace pelwick
