#include "saver/HeadlinePanel.h"

#include "aatext/HeadlineStyle.h"
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

}  // namespace

TForm2::TForm2(QWidget* parent) : TLayerWindow(parent, 180) {
    setObjectName("Form2");
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(InitialWidth, InitialHeight);
    AAText = new TAAScrollText(Stage());
    AAText->setObjectName("AAText");
    AAText->setGeometry(TextLeft, TextTop, HeadlineTextWidth, 342);
    SetUpHeadlineText(*AAText);
    AAText->Loaded();
    Timer1.SetEnabled(false);
    Timer1.SetInterval(5);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    FormCreate();
}

void TForm2::FormCreate() {
    Tag = height();
    if (ScreenWidth() <= 1400) resize(int(ScreenWidth() / 3.6), height());
}

void TForm2::resizeEvent(QResizeEvent* event) {
    TLayerWindow::resizeEvent(event);
    AAText->setGeometry(TextLeft, TextTop, width() - TextLeft - TextRightGap,
                        height() - TextTop - TextBottomGap);
}

void TForm2::Timer1Timer() {
    if (AlphaBlendValue() >= FadeInAlpha)
        Timer1.SetEnabled(false);
    else
        SetAlphaBlendValue(AlphaBlendValue() + 1);
}

void TForm2::SetLines(const std::vector<std::string>& lines) {
    AAText->Text().Lines().Assign(lines);
    InvalidateContent();
}

}  // namespace pelwick
