#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text is UTF-8 throughout. These helpers decode, count, cut and build it by characters (code
// points) with one idea of what is valid: the shortest form of a code point up to U+10FFFF
// that is not a surrogate. Anything else (an overlong form, a surrogate, a stray continuation
// byte, a sequence cut short) is an invalid byte that counts as one character of its own and
// reads as U+FFFD.
namespace pelwick::utf8 {

inline constexpr char32_t Replacement = U'\uFFFD';

// The length of the valid sequence that starts at s[i], or 0 when none starts there.
std::size_t SequenceLength(std::string_view s, std::size_t i);

// The number of bytes of the character that starts at s[i]: the sequence's length, 1 for an
// invalid byte, 0 at the end.
std::size_t CharLength(std::string_view s, std::size_t i);

// The code point that starts at s[i]; U+FFFD for an invalid byte.
char32_t CodePoint(std::string_view s, std::size_t i);

// Whether all of s is valid.
bool IsValid(std::string_view s);

std::size_t CharCount(std::string_view s);

// The byte length of the first n characters (all of s when it has fewer).
std::size_t PrefixBytes(std::string_view s, std::size_t n);

// Appends the encoding of a code point; a surrogate or a value past U+10FFFF appends U+FFFD.
void Append(std::string& out, char32_t c);

// True for the wide characters of East Asian scripts (ideographs, kana, hangul, full-width
// forms): text in those scripts has no blanks, so a row may break before any of them.
bool IsWide(char32_t c);

}  // namespace pelwick::utf8
