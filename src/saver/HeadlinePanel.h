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
    // Replaces the headline lines; the text image is rebuilt and repainted at once.
    void SetLines(const std::vector<std::string>& lines);

  protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace pelwick
