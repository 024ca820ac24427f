#pragma once

#include <string>
#include <vector>

#include "aatext/AAGlyphs.h"
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

// Left aligned, row pitch 50, rows too wide cut with "…", the default effect with its
// shadow on.
void SetHeadlineTextParams(TCustomTextParam& params);

// Title1, Text1, Text2, text3 and line, in that order.
void AddHeadlineFontLabels(TFontLabels& fonts);

// Draws lines of markup as the headline panel does, into a picture of a given width whose
// height is what the lines need: the rows start below the panel's fade band and the picture
// ends as far below the last row.
class THeadlineRenderer {
  public:
    static constexpr int Margin = 10;

    THeadlineRenderer();
    TFontLabels& Fonts() { return fonts_; }
    TUserLabels& Labels() { return labels_; }
    TCustomTextParam& Params() { return params_; }
    TAAGlyphsEx& Glyphs() { return glyphs_; }

    TBitmap Render(const std::vector<std::string>& lines, int width);

  private:
    TBitmap measure_{1, 1};
    TAAGlyphsEx glyphs_;
    TCustomTextParam params_;
    TFontLabels fonts_;
    TUserLabels labels_;
};

}  // namespace pelwick
