#pragma once

#include <QString>

class QFontMetrics;

namespace pelwick {

// text with every character that no installed face can draw in metrics' font replaced by a
// white square, one per character; a flag's regional indicators by their letters. An emoji
// sequence (joined or toned pictographs) no face draws is one square, without the skin tone;
// a keycap is its digit alone, with a face or without. Qt draws a whole script run with a box per
// character when no face has the script, the digits and blanks that lead into it included; with
// those characters replaced, the rest of the line is drawn in its faces.
QString MarkMissingGlyphs(const QFontMetrics& metrics, const QString& text);

}  // namespace pelwick
