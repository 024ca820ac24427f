#pragma once

#include <cstdint>
#include <string>

#include "saver/Layer.h"
#include "slideshow/Timer.h"

namespace pelwick {

class TForm1;
class TPageView;
class TRSSItem;

// The item page: the item's title, description (its HTML rendered) and date on a dark
// page with the hint to press Enter.
std::string ItemPageText(const TRSSItem& item);

// The item card: a translucent layer beside the headline panel showing the current item's
// page, faded in when it is shown and fitted to the page once the page is laid out. It keeps
// the item's link for the Enter key.
class TForm3 : public TLayerWindow {
  public:
    static constexpr int FadeInAlpha = 210;

    explicit TForm3(TForm1& owner);

    QWidget* Panel1 = nullptr;
    TPageView* web = nullptr;
    TTimer Timer1;

    // The current item's link, kept in the page view's hint.
    const std::string& Link() const;

    // The fade-in step: one alpha step up every 3 ms until 210.
    void Timer1Timer();
    // Fits the card to the page's content once it is laid out.
    void webDocumentComplete();

  protected:
    void StageResized() override;

  private:
    TForm1& owner_;
};

}  // namespace pelwick
