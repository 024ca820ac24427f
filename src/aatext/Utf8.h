#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text is UTF-8 throughout the text engine. These helpers count and cut it by characters
// (code points), so that measuring, wrapping and tag handling never split one. Invalid
// bytes count as one character each.
namespace pelwick::utf8 {

// The number of bytes of the character that starts at s[i] (at least 1, never past the end).
std::size_t CharLength(std::string_view s, std::size_t i);

// The code point that starts at s[i]; U+FFFD for an invalid sequence.
char32_t CodePoint(std::string_view s, std::size_t i);

std::size_t CharCount(std::string_view s);

// The byte length of the first n characters (all of s when it has fewer).
std::size_t PrefixBytes(std::string_view s, std::size_t n);

// True for the wide characters of East Asian scripts (ideographs, kana, hangul, full-width
// forms): text in those scripts has no blanks, so a row may break before any of them.
bool IsWide(char32_t c);

}  // namespace pelwick::utf8
