#include "app/Strings.h"

#include <QString>
#include <algorithm>
#include <charconv>

#include "app/Utf8.h"

namespace pelwick {

namespace {

char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
char ToUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c < 0x80; });
}

int CompareAsciiNoCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = ToLowerAscii(a[i]), y = ToLowerAscii(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

std::string UpperAscii(std::string_view s) {
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), ToUpperAscii);
    return r;
}

std::string LowerAscii(std::string_view s) {
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), ToLowerAscii);
    return r;
}

std::string TrimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (unsigned char)s[b] <= ' ')
        ++b;
    while (e > b && (unsigned char)s[e - 1] <= ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

bool IsValidUtf8(std::string_view s) {
    return utf8::IsValid(s);
}

int CompareText(std::string_view a, std::string_view b) {
    if ((IsAscii(a) && IsAscii(b)) || !IsValidUtf8(a) || !IsValidUtf8(b))
        return CompareAsciiNoCase(a, b);
    const QString qa = QString::fromUtf8(a.data(), qsizetype(a.size()));
    const QString qb = QString::fromUtf8(b.data(), qsizetype(b.size()));
    const int r = qa.compare(qb, Qt::CaseInsensitive);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool SameText(std::string_view a, std::string_view b) {
    return CompareText(a, b) == 0;
}

bool LessText(std::string_view a, std::string_view b) {
    const int r = CompareText(a, b);
    return r != 0 ? r < 0 : a < b;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digit runs by value: leading zeros dropped, then the longer number is the larger.
int CompareNumbers(std::string_view a, std::string_view b) {
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string_view DigitRun(std::string_view s, size_t i) {
    size_t end = i;
    while (end < s.size() && IsDigit(s[end]))
        ++end;
    return s.substr(i, end - i);
}

// A character without its letter case; an invalid byte stands for itself, above them all.
char32_t FoldedCharAt(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return static_cast<char32_t>(ToLowerAscii(char(c)));
    if (utf8::SequenceLength(s, i) == 0) return 0x110000u + c;
    return static_cast<char32_t>(QChar::toCaseFolded(static_cast<char32_t>(utf8::CodePoint(s, i))));
}

}  // namespace

int CompareNatural(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    // Character by character, where a run of digits on both sides is one number.
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view x = DigitRun(a, i), y = DigitRun(b, j);
            if (const int r = CompareNumbers(x, y); r != 0) return r;
            i += x.size();
            j += y.size();
            continue;
        }
        const char32_t x = FoldedCharAt(a, i), y = FoldedCharAt(b, j);
        if (x != y) return x < y ? -1 : 1;
        i += utf8::CharLength(a, i);
        j += utf8::CharLength(b, j);
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    // Equal as numbers and letters: leading zeros and letter case decide, as in LessText.
    if (const int r = CompareText(a, b); r != 0) return r;
    return a < b ? -1 : (a > b ? 1 : 0);
}

std::string FoldText(std::string_view s) {
    if (IsAscii(s) || !IsValidUtf8(s)) return LowerAscii(s);
    return QString::fromUtf8(s.data(), qsizetype(s.size())).toCaseFolded().toStdString();
}

std::optional<int> TryParseInt(std::string_view s) {
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-') return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 10);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

int PosNoCase(std::string_view sub, std::string_view s) {
    if (sub.empty()) return 0;
    const std::string ls = LowerAscii(s);
    const size_t p = ls.find(LowerAscii(sub));
    return p == std::string::npos ? 0 : int(p) + 1;
}

std::string MarkupEscape(std::string_view text, TApostrophe apostrophe) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += apostrophe == apEscaped ? "&#39;" : "'";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace pelwick
