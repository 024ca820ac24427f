#include "aatext/HeadlineStyle.h"

#include <algorithm>

#include "aatext/TextLayout.h"

namespace pelwick {

namespace {

TFont Font(const char* face, int height, TColor color, bool bold = false, bool italic = false) {
    return LabelFont(face, height, color, bold, italic, ANSI_CHARSET);
}

}  // namespace

TFont HeadlineTextFont() {
    return Font("Verdana", -12, clWindowText);
}

void SetHeadlineTextParams(TCustomTextParam& params) {
    params.SetAlignment(taLeftJustify);
    params.SetRowPitch(HeadlineRowPitch);
    // The panel never scrolls sideways: a long headline ends cleanly instead of at its edge.
    params.SetEndEllipsis(true);
    params.FontEffect().Shadow().SetEnabled(true);
}

void AddHeadlineFontLabels(TFontLabels& fonts) {
    {
        TAAEffect& e = AddFontLabel(fonts, "Title1", Font("Verdana", -19, clWhite, true)).Effect();
        e.Shadow().SetEnabled(true);
        e.Shadow().SetOffsetX(1);
        e.Shadow().SetOffsetY(1);
        e.SetAlpha(80);
        e.SetBlur(1);
    }
    {
        TAAEffect& e =
            AddFontLabel(fonts, "Text1", Font("Verdana", -15, RGB(247, 247, 247))).Effect();
        e.Shadow().SetBlur(10);
        e.Shadow().SetAlpha(90);
        e.Shadow().SetColor(RGB(97, 97, 97));
        e.Shadow().SetOffsetX(1);
        e.Shadow().SetOffsetY(1);
        e.Gradual().SetEnabled(true);
        e.Gradual().SetStyle(TAAGradual::gsTopToBottom);
        e.Gradual().SetStartColor(RGB(243, 243, 243));
        e.Gradual().SetEndColor(RGB(198, 198, 198));
        e.Texture().SetMode(tmStretched);
        e.SetAlpha(90);
    }
    {
        TAAEffect& e =
            AddFontLabel(fonts, "Text2", Font("MS PGothic", -11, RGB(210, 210, 210), false, true))
                .Effect();
        e.Shadow().SetOffsetX(0);
        e.SetAlpha(90);
    }
    {
        TAAEffect& e = AddFontLabel(fonts, "text3", Font("Verdana", -15, clWhite, true)).Effect();
        e.Shadow().SetEnabled(true);
        e.Shadow().SetBlur(60);
        e.Shadow().SetOffsetX(1);
        e.Shadow().SetOffsetY(1);
        e.Gradual().SetEnabled(true);
        e.Gradual().SetStartColor(RGB(239, 239, 239));
        e.Gradual().SetEndColor(RGB(183, 183, 183));
    }
    AddFontLabel(fonts, "line", Font("Small Fonts", -3, clWindowText));
}

THeadlineRenderer::THeadlineRenderer() : glyphs_(&measure_.Canvas()) {
    glyphs_.SetQuality(aqHigh);
    SetHeadlineTextParams(params_);
    AddHeadlineFontLabels(fonts_);
    labels_.AddStandardLabels();
}

TBitmap THeadlineRenderer::Render(const std::vector<std::string>& lines, int width) {
    params_.Lines().Assign(lines);
    const TLayoutArea area{0, width, width, Margin};
    glyphs_.SetCanvas(&measure_.Canvas());
    const int bottom =
        LayoutLines(glyphs_, HeadlineTextFont(), params_, fonts_, labels_, area, false);
    TBitmap image(std::max(width, 1), std::max(bottom + Margin, 1), pf24bit);
    PaintBackground(image, params_, HeadlineBackColor);
    glyphs_.SetCanvas(&image.Canvas());
    LayoutLines(glyphs_, HeadlineTextFont(), params_, fonts_, labels_, area, true);
    glyphs_.SetCanvas(&measure_.Canvas());
    return image;
}

}  // namespace pelwick
