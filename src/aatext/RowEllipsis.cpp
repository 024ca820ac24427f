#include "aatext/RowEllipsis.h"

#include <QString>
#include <QTextBoundaryFinder>
#include <functional>
#include <optional>

#include "app/Utf8.h"

namespace pelwick {

namespace {

// Blanks that separate words; the no-break spaces (U+00A0, U+2007, U+202F) hold theirs
// together.
bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0x1680 || (c >= 0x2000 && c <= 0x200A && c != 0x2007) ||
           c == 0x205F || c == 0x3000;
}

// The byte offsets where the characters a reader sees start, text.size() last. Qt knows
// which marks combine (Unicode's grapheme clusters); it is handed the text character by
// character as the UTF-8 helpers read it, so that every offset is one of theirs, also
// around invalid bytes.
std::vector<std::size_t> ClusterStarts(const std::string& text) {
    QString units;
    std::vector<std::size_t> byteOf;  // the byte offset of each UTF-16 unit's character
    for (std::size_t i = 0; i < text.size(); i += utf8::CharLength(text, i)) {
        const char32_t c = utf8::CodePoint(text, i);
        if (QChar::requiresSurrogates(c)) {
            units += QChar(QChar::highSurrogate(c));
            units += QChar(QChar::lowSurrogate(c));
            byteOf.insert(byteOf.end(), 2, i);
        } else {
            units += QChar(char16_t(c));
            byteOf.push_back(i);
        }
    }
    byteOf.push_back(text.size());
    std::vector<std::size_t> starts{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, units);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        const std::size_t byte = byteOf[std::size_t(at)];
        if (byte > starts.back()) starts.push_back(byte);
    }
    if (starts.back() != text.size()) starts.push_back(text.size());
    return starts;
}

// The index of the last of ends whose cut fits, nullopt when the first does not. Widths
// grow with the cut, so the search gallops from the start and then halves: it measures cuts
// about as long as the answer, not the whole of a runaway line.
std::optional<std::size_t> LastFitting(const std::vector<std::size_t>& ends,
                                       const std::function<bool(std::size_t)>& fits) {
    if (ends.empty() || !fits(ends[0])) return std::nullopt;
    std::size_t good = 0, bad = 1;
    while (bad < ends.size() && fits(ends[bad])) {
        good = bad;
        bad *= 2;
    }
    bad = std::min(bad, ends.size());
    while (bad - good > 1) {
        const std::size_t mid = good + (bad - good) / 2;
        (fits(ends[mid]) ? good : bad) = mid;
    }
    return good;
}

// The word that starts after the blanks at text[from], up to the next of ends (or the end).
std::string NextWord(const std::string& text, std::size_t from, std::size_t nextEnd) {
    while (from < nextEnd && IsBlank(utf8::CodePoint(text, from)))
        from += utf8::CharLength(text, from);
    return text.substr(from, nextEnd - from);
}

}  // namespace

std::vector<std::size_t> WordEnds(const std::string& text) {
    const std::vector<std::size_t> starts = ClusterStarts(text);
    std::vector<std::size_t> ends;
    for (std::size_t k = 1; k + 1 < starts.size(); ++k) {
        const char32_t before = utf8::CodePoint(text, starts[k - 1]);
        const char32_t after = utf8::CodePoint(text, starts[k]);
        if (IsBlank(before)) continue;
        if (IsBlank(after) || utf8::IsWide(before) || utf8::IsWide(after))
            ends.push_back(starts[k]);
    }
    return ends;
}

std::vector<std::size_t> CharacterEnds(const std::string& text) {
    std::vector<std::size_t> starts = ClusterStarts(text);
    if (starts.size() <= 2) return {};
    return std::vector<std::size_t>(starts.begin() + 1, starts.end() - 1);
}

std::string EllipsizeRow(TAAGlyphs& glyphs, const std::string& text, int width) {
    if (glyphs.TextWidth(text) <= width) return text;
    const auto cut = [&](std::size_t end) { return text.substr(0, end) + RowEllipsis; };
    const auto fits = [&](std::size_t end) { return glyphs.TextWidth(cut(end)) <= width; };
    const std::vector<std::size_t> words = WordEnds(text);
    if (const auto last = LastFitting(words, fits)) {
        // A word after it that no row could hold is cut inside instead: ending before it
        // would leave the row all but empty ("4.…").
        const std::size_t end = words[*last];
        const std::size_t nextEnd = *last + 1 < words.size() ? words[*last + 1] : text.size();
        if (glyphs.TextWidth(NextWord(text, end, nextEnd)) <= width) return cut(end);
    }
    const std::vector<std::size_t> characters = CharacterEnds(text);
    if (const auto last = LastFitting(characters, fits)) return cut(characters[*last]);
    return RowEllipsis;
}

}  // namespace pelwick
