#pragma once

#include <string>
#include <string_view>

namespace pelwick {

// Byte-level help for XML that is nearly right, used by TXMLDocument.

// bytes without the blanks and line breaks some servers send before the XML declaration (a
// UTF-8 byte-order mark before them goes too); bytes unchanged when no declaration follows.
std::string_view SkipBlanksBeforeDeclaration(std::string_view bytes);

// The encoding named by the XML declaration at the start of bytes, or "".
std::string DeclaredEncoding(std::string_view bytes);

// The common superset of an encoding that documents declare while using characters only the
// superset has (EUC-KR for CP949, Shift_JIS for CP932, ...), or nullptr.
const char* EncodingSuperset(std::string_view encoding);

// Sets escaped to bytes with every "&" that starts no character or entity reference written as
// "&amp;", so that "?a=1&b=2" in an address survives a forgiving parse, and returns true; returns
// false, leaving escaped empty, when there is no such "&". Character data sections, comments,
// processing instructions and the document type declaration are left as they are.
bool EscapeBareAmpersands(std::string_view bytes, std::string& escaped);

// Whether bytes may be scanned for "&" and "<" byte by byte: not UTF-16 or UTF-32, not one of
// the 7-bit ISO 2022 encodings whose characters reuse those bytes.
bool IsAsciiCompatible(std::string_view bytes);

// text with every byte that starts no valid UTF-8 sequence replaced by U+FFFD.
std::string ReplaceInvalidUtf8(std::string_view text);

}  // namespace pelwick
