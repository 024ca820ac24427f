#pragma once

#include "aatext/Labels.h"
#include "aatext/TextParams.h"

// The look of the saver's headline panel: its text font and settings and the five font
// labels that the feed cycle's lines use ("<Title1>", "<Text1>", "<Text2>", "<text3>",
// "<line>"). The panel and pelwick-text share them.
namespace pelwick {

inline constexpr int HeadlineTextWidth = 418;
inline constexpr int HeadlineRowPitch = 50;
inline constexpr TColor HeadlineBackColor = clBlack;

// "Verdana", 12 pixels, regular, in the window-text colour.
TFont HeadlineTextFont();

// Left aligned, row pitch 50, the default effect with its shadow on.
void SetHeadlineTextParams(TCustomTextParam& params);

// Title1, Text1, Text2, text3 and line, in that order.
void AddHeadlineFontLabels(TFontLabels& fonts);

}  // namespace pelwick
