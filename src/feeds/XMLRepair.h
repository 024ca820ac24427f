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

}  // namespace pelwick
