#include "feeds/Base64.h"

#include <cstdint>

#include "app/Strings.h"
#include "app/Utf8.h"

namespace pelwick {

namespace {

// 0..63 for a character of the alphabet, -1 for a blank to skip, -2 for anything else.
int Base64Digit(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return -1;
    return -2;
}

// The characters of 0x80..0x9F in windows-1252; 0 where the code page defines none.
constexpr char16_t HighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string DecodeBase64(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3 + 3);
    std::uint32_t bits = 0;
    int count = 0;
    for (const char ch : text) {
        const int digit = Base64Digit((unsigned char)ch);
        if (digit == -1) continue;
        if (digit < 0) break;
        bits = (bits << 6) | std::uint32_t(digit);
        if (++count == 4) {
            out += char((bits >> 16) & 0xFF);
            out += char((bits >> 8) & 0xFF);
            out += char(bits & 0xFF);
            bits = 0;
            count = 0;
        }
    }
    // Two characters carry one whole byte, three carry two; a lone one carries none.
    if (count == 2) {
        out += char((bits >> 4) & 0xFF);
    } else if (count == 3) {
        out += char((bits >> 10) & 0xFF);
        out += char((bits >> 2) & 0xFF);
    }
    return out;
}

std::string DecodeBase64Text(std::string_view text) {
    std::string bytes = DecodeBase64(text);
    if (IsValidUtf8(bytes)) return bytes;
    return Windows1252ToUtf8(bytes);
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (const char ch : bytes) {
        const unsigned char c = (unsigned char)ch;
        if (c >= 0x80 && c <= 0x9F) {
            const char16_t mapped = HighControls[c - 0x80];
            utf8::Append(out, mapped ? mapped : char32_t(0xFFFD));
        } else {
            utf8::Append(out, c);
        }
    }
    return out;
}

}  // namespace pelwick
