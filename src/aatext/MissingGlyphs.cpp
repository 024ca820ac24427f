#include "aatext/MissingGlyphs.h"

#include <QFontMetrics>
#include <QList>

namespace pelwick {
namespace {

constexpr char32_t MissingGlyph = 0x25A1;  // WHITE SQUARE
// The regional indicator symbols, which pair into flags.
constexpr char32_t RegionalA = 0x1F1E6, RegionalZ = 0x1F1FF;

// Characters that draw nothing of their own: blanks, controls, joiners and isolates.
bool DrawsNothing(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return QChar::isSpace(c) || category == QChar::Other_Control || category == QChar::Other_Format;
}

}  // namespace

QString MarkMissingGlyphs(const QFontMetrics& metrics, const QString& text) {
    bool plain = true;
    for (const QChar c : text)
        plain = plain && c.unicode() < 0x80;
    if (plain) return text;
    QString marked;
    marked.reserve(text.size());
    bool changed = false;
    for (const char32_t c : text.toUcs4()) {
        if (c >= 0x80 && !DrawsNothing(c) && !metrics.inFontUcs4(c)) {
            // A flag no face draws shows as its region's two letters.
            const bool regional = c >= RegionalA && c <= RegionalZ;
            marked += regional ? QChar(char16_t(u'A' + (c - RegionalA))) : QChar(MissingGlyph);
            changed = true;
        } else {
            marked += QString::fromUcs4(&c, 1);
        }
    }
    return changed ? marked : text;
}

}  // namespace pelwick
