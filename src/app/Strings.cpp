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
