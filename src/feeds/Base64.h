#pragma once

#include <string>
#include <string_view>

namespace pelwick {

// The bytes that Base64 text (standard alphabet) stands for. Blanks and line breaks are
// skipped. Decoding is forgiving, as feeds are: it stops at the first "=" or at the first
// character outside the alphabet and keeps what decoded before; a trailing group of two or
// three characters still gives its one or two whole bytes.
std::string DecodeBase64(std::string_view text);

// DecodeBase64 taken as text: the decoded bytes when they are UTF-8, otherwise read as
// windows-1252 (what an older feed means by 8-bit text) and converted to UTF-8.
std::string DecodeBase64Text(std::string_view text);

// Bytes in windows-1252 as UTF-8; the five bytes that code page leaves undefined become U+FFFD.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace pelwick
