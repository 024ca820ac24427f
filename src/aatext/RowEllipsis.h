#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "aatext/AAGlyphs.h"

namespace pelwick {

// "…", what a row cut short ends with.
inline constexpr const char* RowEllipsis = "\xE2\x80\xA6";

// Where a row may be cut after a whole word, as byte offsets into text in ascending order:
// before a run of blanks that follows a word, and at each character boundary beside a wide
// East Asian character (those scripts have no blanks). Never between a character and the
// marks that combine with it.
std::vector<std::size_t> WordEnds(const std::string& text);

// Where a word may be cut: every boundary of what a reader sees as one character (a base
// and its combining marks stay together; no UTF-8 sequence is split), ascending, without 0
// and text.size().
std::vector<std::size_t> CharacterEnds(const std::string& text);

// text itself when glyphs measure it at most width wide (in the canvas's font and the
// effect, as it is drawn). Else its longest start that ends at a whole word and fits with
// RowEllipsis after it, followed by RowEllipsis; when the word after that start is wider
// than width by itself (or not even the first word fits), that word is cut between two
// characters instead. RowEllipsis alone when nothing else fits.
// The ellipsis follows the text's logical end, so right-to-left text shows it at its left.
std::string EllipsizeRow(TAAGlyphs& glyphs, const std::string& text, int width);

}  // namespace pelwick
