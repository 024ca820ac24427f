#include "aatext/MissingGlyphs.h"

#include <QFontMetrics>
#include <QList>
#include <QStringView>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace pelwick {
namespace {

constexpr char32_t MissingGlyph = 0x25A1;  // WHITE SQUARE
// The regional indicator symbols, which pair into flags.
constexpr char32_t RegionalA = 0x1F1E6, RegionalZ = 0x1F1FF;
constexpr char32_t Joiner = 0x200D, Keycap = 0x20E3, EmojiStyle = 0xFE0F;

bool IsVariationSelector(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

bool IsSkinTone(char32_t c) {
    return c >= 0x1F3FB && c <= 0x1F3FF;
}

// Characters that draw nothing of their own: blanks, controls, joiners, isolates and
// variation selectors.
bool DrawsNothing(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return QChar::isSpace(c) || category == QChar::Other_Control ||
           category == QChar::Other_Format || IsVariationSelector(c);
}

bool Missing(const QFontMetrics& metrics, char32_t c) {
    return c >= 0x80 && !DrawsNothing(c) && !metrics.inFontUcs4(c);
}

// A cluster that reads as one emoji: pictographs joined, toned, keycapped or asked to show
// as emoji.
bool IsEmojiSequence(const QList<uint>& cluster) {
    return cluster.size() > 1 && std::any_of(cluster.begin(), cluster.end(), [](char32_t c) {
               return c == Joiner || c == Keycap || c == EmojiStyle || IsSkinTone(c);
           });
}

// cluster as it is drawn: its characters no face draws become one square each, except in
// an emoji sequence, which shows one square for all of them and leaves out the skin tone it
// cannot draw (a silhouette has no tone either). A keycap shows as its digit: Qt draws the
// frame apart from the digit, in the emoji face, and as coverage the frame is a blank square
// that hides the digit's meaning.
void MarkCluster(const QFontMetrics& metrics, const QList<uint>& cluster, QString& marked) {
    const bool emoji = IsEmojiSequence(cluster);
    bool squared = false;
    for (const char32_t c : cluster) {
        if (c == Keycap) continue;
        if (!Missing(metrics, c)) {
            marked += QString::fromUcs4(&c, 1);
        } else if (c >= RegionalA && c <= RegionalZ) {
            // A flag no face draws shows as its region's two letters.
            marked += QChar(char16_t(u'A' + (c - RegionalA)));
        } else if (!emoji || (!squared && !IsSkinTone(c))) {
            marked += QChar(MissingGlyph);
            squared = true;
        }
    }
}

}  // namespace

QString MarkMissingGlyphs(const QFontMetrics& metrics, const QString& text) {
    bool plain = true;
    for (const QChar c : text)
        plain = plain && c.unicode() < 0x80;
    if (plain) return text;
    const QList<uint> all = text.toUcs4();
    if (std::none_of(all.begin(), all.end(),
                     [&](char32_t c) { return c == Keycap || Missing(metrics, c); }))
        return text;
    QString marked;
    marked.reserve(text.size());
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = clusters.toNextBoundary(); end != -1;
         start = end, end = clusters.toNextBoundary())
        MarkCluster(metrics, QStringView(text).mid(start, end - start).toUcs4(), marked);
    return marked;
}

}  // namespace pelwick
