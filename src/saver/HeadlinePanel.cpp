#include "saver/HeadlinePanel.h"

#include <algorithm>
#include <climits>

#include "aatext/HeadlineStyle.h"
#include "aatext/TextLayout.h"
#include "app/Process.h"
#include "saver/Screen.h"

namespace pelwick {

namespace {

// The text control sits 5 pixels in from the left and reaches 6 pixels above the top; it
// follows every change of the panel's size on all four sides.
constexpr int TextLeft = 5;
constexpr int TextTop = -6;
constexpr int TextRightGap = TForm2::InitialWidth - TextLeft - HeadlineTextWidth;
constexpr int TextBottomGap = TForm2::InitialHeight - TextTop - 342;

void SetUpHeadlineText(TAAScrollText& text) {
    const TUpdateBracket bracket(text);
    text.SetActive(false);
    text.SetScrollDelay(10);
    text.SetRepeatDelay(1000);
    text.Glyphs().SetQuality(aqHigh);
    SetHeadlineTextParams(text.Text());
    text.Text().SetTailSpace(80);
    text.Text().SetBackColor(HeadlineBackColor);
    text.Text().SetFont(HeadlineTextFont());
    AddHeadlineFontLabels(text.Fonts());
    text.Labels().AddStandardLabels();
}

// The stage's colour shows round the text control's edges.
void SetWindowColor(QWidget& stage, TColor color) {
    const TColor rgb = ColorToRGB(color);
    QPalette pal = stage.palette();
    pal.setColor(QPalette::Window, QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
    stage.setPalette(pal);
}

}  // namespace

TForm2::TForm2(QWidget* parent) : TLayerWindow(parent, 180) {
    setObjectName("Form2");
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    AAText = new TAAScrollText(Stage());
    AAText->setObjectName("AAText");
    ResizeTo(InitialWidth, InitialHeight);
    AAText->setGeometry(TextLeft, TextTop, HeadlineTextWidth, 342);
    SetUpHeadlineText(*AAText);
    AAText->Loaded();
    Timer1.SetEnabled(false);
    Timer1.SetInterval(5);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    FormCreate();
}

void TForm2::FormCreate() {
    Tag = Height();
    if (ScreenWidth() <= 1400) ResizeTo(int(ScreenWidth() / 3.6), Height());
}

void TForm2::StageResized() {
    PlaceText();
}

void TForm2::PlaceText() {
    if (hint_) {
        // The text starts below the control's faded band, HintPadding in on every side.
        const TScrollTextParam& text = AAText->Text();
        const int fade = text.Fade() ? std::max(text.FadeHeight(), 0) : 0;
        AAText->setGeometry(HintPadding, HintPadding - fade, Width() - 2 * HintPadding,
                            Height() - 2 * (HintPadding - fade));
        return;
    }
    AAText->setGeometry(TextLeft, TextTop, Width() - TextLeft - TextRightGap,
                        Height() - TextTop - TextBottomGap);
}

void TForm2::Timer1Timer() {
    if (AlphaBlendValue() >= FadeInAlpha)
        Timer1.SetEnabled(false);
    else
        SetAlphaBlendValue(AlphaBlendValue() + 1);
}

void TForm2::SetLines(const std::vector<std::string>& lines) {
    EndHint();
    AAText->Text().Lines().Assign(lines);
    InvalidateContent();
}

void TForm2::EndHint() {
    if (!hint_) return;
    SetLook(false);
    ResizeTo(headlineWidth_, headlineHeight_);
}

void TForm2::ShowHint(const std::vector<std::string>& lines, int maxWidth, int maxHeight) {
    if (!hint_) {
        headlineWidth_ = Width();
        headlineHeight_ = Height();
        SetLook(true);
    }
    const TSize text = LinesSize(lines);
    ResizeTo(std::clamp(text.Width + 2 * HintPadding, 1, std::max(maxWidth, 1)),
             std::clamp(text.Height + 2 * HintPadding, 1, std::max(maxHeight, 1)));
    AAText->Text().Lines().Assign(lines);
    InvalidateContent();
}

// Advice is read once, often on a black screen before any picture: white on grey stands out
// where the headlines' soft grey on black, made to sit over pictures, would not.
void TForm2::SetLook(bool hint) {
    hint_ = hint;
    PlaceText();
    const TUpdateBracket bracket(*AAText);
    const TColor back = hint ? HintColor : HeadlineBackColor;
    AAText->Text().SetBackColor(back);
    SetWindowColor(*Stage(), back);
    TFontLabels& fonts = AAText->Fonts();
    fonts.Clear();
    AddHeadlineFontLabels(fonts);
    if (!hint) return;
    TFontLabel& text1 = fonts[fonts.IndexOf("Text1")];
    TFont font = text1.Font();
    font.Color = clWhite;
    text1.SetFont(font);
    TAAEffect& e = text1.Effect();
    e.Gradual().SetEnabled(false);
    e.SetAlpha(100);
    e.Shadow().SetEnabled(true);
    e.Shadow().SetColor(clBlack);
}

TSize TForm2::LinesSize(const std::vector<std::string>& lines) {
    TBitmap measure(1, 1);
    TAAGlyphsEx glyphs(&measure.Canvas());
    glyphs.SetQuality(AAText->Glyphs().Quality());
    TCustomTextParam params;
    params.Assign(AAText->Text());
    params.Lines().Assign(lines);
    std::vector<TLayoutRow> rows;
    LayoutLines(glyphs, AAText->Text().Font(), params, AAText->Fonts(), AAText->Labels(),
                TLayoutArea{0, INT_MAX / 2, INT_MAX / 2, 0}, false, &rows);
    TSize size;
    for (const TLayoutRow& row : rows)
        size = TSize{std::max(size.Width, row.Bounds.Right), row.Bounds.Bottom};
    return size;
}

}  // namespace pelwick
