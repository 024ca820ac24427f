#include "aatext/Utf8.h"

namespace pelwick::utf8 {

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length a lead byte announces, 0 for a byte that cannot start a character.
std::size_t Announced(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c >> 5) == 6) return 2;
    if ((c >> 4) == 14) return 3;
    if ((c >> 3) == 30) return 4;
    return 0;
}

}  // namespace

std::size_t CharLength(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    const std::size_t n = Announced(static_cast<unsigned char>(s[i]));
    if (n <= 1 || i + n > s.size()) return 1;
    for (std::size_t k = 1; k < n; ++k)
        if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return 1;
    return n;
}

char32_t CodePoint(std::string_view s, std::size_t i) {
    const std::size_t n = CharLength(s, i);
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    if (n == 1) return lead < 0x80 ? lead : U'\uFFFD';
    char32_t c = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return c;
}

std::size_t CharCount(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
        ++count;
    return count;
}

std::size_t PrefixBytes(std::string_view s, std::size_t n) {
    std::size_t i = 0;
    for (; n > 0 && i < s.size(); --n)
        i += CharLength(s, i);
    return i;
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace pelwick::utf8
