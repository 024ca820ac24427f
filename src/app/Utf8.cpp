#include "app/Utf8.h"

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

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

}  // namespace

std::size_t SequenceLength(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    const std::size_t n = Announced(lead);
    if (n == 0 || i + n > s.size()) return 0;
    char32_t c = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char d = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(d)) return 0;
        c = (c << 6) | (d & 0x3F);
    }
    static constexpr char32_t Shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < Shortest[n] || c > 0x10FFFF || IsSurrogate(c)) return 0;
    return n;
}

std::size_t CharLength(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    const std::size_t n = SequenceLength(s, i);
    return n ? n : 1;
}

char32_t CodePoint(std::string_view s, std::size_t i) {
    const std::size_t n = SequenceLength(s, i);
    if (n == 0) return Replacement;
    const unsigned char lead = static_cast<unsigned char>(s[i]);
    char32_t c = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return c;
}

bool IsValid(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = SequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
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

void Append(std::string& out, char32_t c) {
    if (c > 0x10FFFF || IsSurrogate(c)) c = Replacement;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace pelwick::utf8
