#include "saver/HtmlText.h"

#include <algorithm>
#include <vector>

#include "app/Strings.h"
#include "app/Utf8.h"

namespace pelwick {
namespace {

char LowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool MatchesAt(std::string_view text, size_t pos, std::string_view sub, bool noCase) {
    if (text.size() - pos < sub.size()) return false;
    for (size_t i = 0; i < sub.size(); ++i) {
        const char a = text[pos + i], b = sub[i];
        if (noCase ? LowerChar(a) != LowerChar(b) : a != b) return false;
    }
    return true;
}

// One pass from left to right; replaced text is not searched again.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to, bool noCase) {
    if (from.empty() || text.size() < from.size()) return;
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (MatchesAt(text, i, from, noCase)) {
            out += to;
            i += from.size();
        } else {
            out += text[i++];
        }
    }
    text = std::move(out);
}

// The tag removal works on "the first '<' and the first '>'" of the whole text, again and
// again. Cutting never leaves an angle bracket in front of the scan position, so one scan
// gives the same result in linear time: a '<' cuts up to the next '>' (or to the end when
// there is none); a '>' without a '<' before it cuts everything kept so far.
void RemoveTags(std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t angle = text.find_first_of("<>", i);
        if (angle == std::string::npos) {
            out.append(text, i, std::string::npos);
            break;
        }
        if (text[angle] == '>') {
            out.clear();
            i = angle + 1;
            continue;
        }
        out.append(text, i, angle - i);
        const size_t gt = text.find('>', angle + 1);
        if (gt == std::string::npos) break;
        i = gt + 1;
    }
    text = std::move(out);
}

// Lines end at CR, LF or CR LF; a break at the very end opens no further line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t brk = text.find_first_of("\r\n", start);
        if (brk == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, brk - start));
        start = brk + (text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

void TrimLines(std::string& text) {
    const std::vector<std::string_view> lines = SplitLines(text);
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line = TrimBlanks(lines[i]);
        if (line.empty()) continue;
        out += line;
        if (i + 1 < lines.size()) out += "\r\n";
    }
    text = std::move(out);
}

// A character a headline can show: a Unicode scalar value that is no control character.
bool IsShowableCodePoint(unsigned long long cp) {
    if (cp > 0x10FFFF) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
    return cp >= 0x20 && !(cp >= 0x7F && cp <= 0x9F);
}

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Length of the reference "&#NNN;" or "&#xHHH;" at pos and its value; 0 when there is none
// or its value is nothing to show (the reference then stays as it is).
size_t NumericReferenceAt(std::string_view text, size_t pos, unsigned& value) {
    size_t i = pos + 2;
    if (i > text.size() || text.compare(pos, 2, "&#") != 0) return 0;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const size_t digitsStart = i;
    unsigned long long cp = 0;
    for (int d; i < text.size() && (d = DigitValue(text[i], hex)) >= 0; ++i)
        cp = std::min<unsigned long long>(cp * (hex ? 16 : 10) + unsigned(d), 0x110000);
    if (i == digitsStart || i >= text.size() || text[i] != ';') return 0;
    if (!IsShowableCodePoint(cp)) return 0;
    value = unsigned(cp);
    return i + 1 - pos;
}

void DecodeNumericReferences(std::string& text) {
    if (text.find("&#") == std::string::npos) return;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned cp = 0;
        const size_t len = text[i] == '&' ? NumericReferenceAt(text, i, cp) : 0;
        if (len > 0) {
            utf8::Append(out, cp);
            i += len;
        } else {
            out += text[i++];
        }
    }
    text = std::move(out);
}

}  // namespace

void RemoveAllNoCase(std::string_view sub, std::string& text) {
    const int first = PosNoCase(sub, text);
    if (first == 0) return;
    // Cutting the first occurrence again and again equals keeping a stack of the kept text
    // and dropping its tail whenever it ends in sub: with one length for every occurrence,
    // the first to start is also the first to end. That makes it linear instead of quadratic.
    std::string out(text, 0, size_t(first - 1));
    for (size_t i = size_t(first - 1); i < text.size(); ++i) {
        out += text[i];
        if (out.size() >= sub.size() && MatchesAt(out, out.size() - sub.size(), sub, true))
            out.resize(out.size() - sub.size());
    }
    text = std::move(out);
}

std::string HtmlToText(std::string text, bool trimLines, bool convertBreaks) {
    if (convertBreaks) {
        ReplaceAll(text, "\r\n", "", false);
        ReplaceAll(text, "\n", "", false);
        for (const char* tag : {"<br>", "<p>", "</p>", "<div>", "</div>"})
            ReplaceAll(text, tag, "\r\n", true);
    }
    RemoveTags(text);
    // The headline list shows plain text: these two references become their characters, and
    // whatever is left of them without the semicolon is dropped.
    ReplaceAll(text, "&nbsp;", " ", true);
    ReplaceAll(text, "&gt;", ">", true);
    RemoveAllNoCase("&nbsp", text);
    RemoveAllNoCase("&gt", text);
    if (trimLines && !text.empty()) TrimLines(text);
    ReplaceAll(text, "&quot;", "\"", false);
    ReplaceAll(text, "&#39;", "'", false);
    // Feeds escape their titles twice all the time, so numeric references reach us as text.
    DecodeNumericReferences(text);
    ReplaceAll(text, "&amp;", "&", false);
    return text;
}

}  // namespace pelwick
