#pragma once

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "aatext/AAGlyphs.h"
#include "aatext/Labels.h"
#include "aatext/TextParams.h"

namespace pelwick {

// Where a control lays out its lines: the left margin, the width rows may take (right-aligned
// rows end at LeftMargin + AvailableWidth), the width that centred rows are centred in, and
// the top of the first row. Lines whose top would lie below StopBelow are left out.
struct TLayoutArea {
    int LeftMargin = 0;
    int AvailableWidth = 0;
    int FullWidth = 0;
    int Top = 0;
    int StopBelow = INT_MAX;
};

// One laid-out row: its text and where it stands (width and height as measured).
struct TLayoutRow {
    std::string Text;
    TRect Bounds;
};

// Lays out the lines of params with glyphs: resolves each line's tags (the per-line font,
// effect and alignment start as textFont, params.FontEffect() and params.Alignment()), splits
// it into rows (wrapping when params.WordWrap() is on, cutting each row to AvailableWidth
// with "…" when params.EndEllipsis() is on), places every row and, when draw is set, draws
// it with glyphs.TextOutput on glyphs' canvas. Returns the top of the row that
// would follow the last one. rows, when given, receives every row.
int LayoutLines(TAAGlyphsEx& glyphs, const TFont& textFont, const TCustomTextParam& params,
                const TFontLabels& fonts, TUserLabels& labels, const TLayoutArea& area, bool draw,
                std::vector<TLayoutRow>* rows = nullptr);

// The rows of a text too wide for width: as many characters per row as the text's start
// fits, broken after blanks and punctuation.
std::vector<std::string> WrapRows(TAAGlyphs& glyphs, const std::string& text, int width);

// Breaks text into rows of at most maxChars characters (at least 2) where it may break:
// after a tab, blank, "!", ",", "-", ".", ":", ";" or "?", at a CR LF pair, or before a wide
// East Asian character; never inside a quotation. A word longer than a row stays whole.
// Break characters and line ends after a break are dropped.
std::vector<std::string> WrapText(const std::string& text, int maxChars);

// Prepares the image behind a control's text: what lies behind the control (paintBehind)
// when params is transparent, else backColor and the background picture placed by its mode.
// Leaves the image's brush clear, so text blends over it.
void PaintBackground(TBitmap& image, const TCustomParam& params, TColor backColor,
                     const std::function<void(TBitmap&)>& paintBehind = {});

}  // namespace pelwick
