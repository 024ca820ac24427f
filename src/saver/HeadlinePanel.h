#pragma once

#include "aatext/AAScrollText.h"
#include "saver/Layer.h"
#include "slideshow/Timer.h"

namespace pelwick {

// The translucent headline panel: a black layer over the slideshow whose one text control
// shows the current feed's headlines in label markup, without scrolling. Its tag keeps the
// height it was made with, the base of the panel's growth for long feeds.
class TForm2 : public TLayerWindow {
  public:
    static constexpr int InitialWidth = 429;
    static constexpr int InitialHeight = 343;
    static constexpr int FadeInAlpha = 190;

    explicit TForm2(QWidget* parent);

    TAAScrollText* AAText = nullptr;
    TTimer Timer1;

    void FormCreate();
    // The fade-in step: one alpha step up every 5 ms until 190.
    void Timer1Timer();
    // Replaces the headline lines (ending a hint first); the text image is rebuilt and
    // repainted at once.
    void SetLines(const std::vector<std::string>& lines);
    // Shows a few lines of advice instead of headlines, in their own look (their Text1 lines
    // white and plain on HintColor) on a panel as large as they need with HintPadding
    // round them, at most maxWidth x maxHeight. The next SetLines brings back the
    // headlines' look and the size the panel had before, as EndHint does.
    void ShowHint(const std::vector<std::string>& lines, int maxWidth, int maxHeight);
    void EndHint();
    bool Hint() const { return hint_; }
    static constexpr TColor HintColor = RGB(0x38, 0x38, 0x38);
    static constexpr int HintPadding = 10;

  protected:
    void StageResized() override;

  private:
    void SetLook(bool hint);
    // The text control's place: the headlines' fixed gaps, or the hint's padding.
    void PlaceText();
    // The width of the widest row and the bottom of the last as the text control lays
    // lines out from the top.
    TSize LinesSize(const std::vector<std::string>& lines);

    bool hint_ = false;
    int headlineWidth_ = 0;
    int headlineHeight_ = 0;
};

}  // namespace pelwick
