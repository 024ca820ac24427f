// TForm1, the saver window: showing and hiding its headline panel and placing its item card
// (the overlays themselves are TForm2 in HeadlinePanel.cpp and TForm3 in ItemCard.cpp).
#include <algorithm>

#include "app/Files.h"
#include "app/Process.h"
#include "app/Signals.h"
#include "app/Strings.h"
#include "app/Utf8.h"
#include "saver/CardGeometry.h"
#include "saver/HeadlinePanel.h"
#include "saver/ItemCard.h"
#include "saver/PageView.h"
#include "saver/SaverWindow.h"
#include "saver/Screen.h"
#include "slideshow/PictureScreen.h"
#include "slideshow/SlideshowDriver.h"

namespace pelwick {

namespace {

// A page this long, or with a picture, gets a large card.
constexpr std::size_t LargePageLength = 1000;

}  // namespace

int TForm1::PanelRight() const {
    return form2_ ? form2_->Right() : 0;
}

TForm2& TForm1::PanelForm() {
    if (!form2_) {
        form2_ = new TForm2(this);
        form2_->SetScale(scale_);
        KeepCopyBeneath(*form2_);
        RaiseOverlays();
    }
    return *form2_;
}

void TForm1::RaiseOverlays() {
    if (form2_) form2_->raise();
    if (form3_) form3_->raise();
}

// The overlays keep a copy of what lies beneath them for their fades, and Qt, which then takes
// them for opaque, no longer repaints them when something beneath them changes: whatever
// lies beneath (the slideshow, the status bar, the panel under the card) tells them here.
void TForm1::KeepCopyBeneath(TLayerWindow& layer) {
    layer.OnChanging = [this, &layer](const QRect& area) { ChangingBeneath(area, &layer); };
    layer.SetKeepsBeneath(true);
}

void TForm1::ChangingBeneath(const QRect& area, const QObject* below) {
    bool above = false;
    for (QObject* child : children()) {
        if (!above) {
            above = child == below;
            continue;
        }
        auto* layer = dynamic_cast<TLayerWindow*>(child);
        if (!layer || !layer->isVisible()) continue;
        const QRect part = area & layer->OnScreen();
        if (!part.isEmpty()) layer->BeneathChanged(part.translated(-layer->OnScreen().topLeft()));
    }
}

void TForm1::WatchPictureScreen(TGlimrascreen& screen) {
    screen.OnChanging = [this](TCustomGlimrascreen& sender, const QRect& area) {
        ChangingBeneath(QRect(sender.mapTo(this, area.topLeft()), area.size()), Panel1);
    };
    // It may have been shown before it was watched.
    ChangingBeneath(rect(), Panel1);
}

void TForm1::HidePanel() {
    if (!form2_) return;
    while (form2_->AlphaBlendValue() > 0 && !TSignalWatch::StopRequested()) {
        form2_->SetAlphaBlendValue(form2_->AlphaBlendValue() - 1);
        SleepMs(4);
    }
}

void TForm1::ShowPanel() {
    if (!form2_) return;
    // Top 5 .. H - height - 6 and left 10 .. 9 + PanelLeftRange, drawn in that order.
    const int top = Random(LayoutHeight() - form2_->Height() - 10) + 5;
    const int left = Random(PanelLeftRange) + 10;
    form2_->MoveTo(left, top);
    form2_->SetAlphaBlendValue(0);
    form2_->show();
    RaiseOverlays();
    form2_->Timer1.SetEnabled(true);
}

void TForm1::KeepPanelInside() {
    if (!form2_) return;
    // Lower than the panel's own height, the window gets the panel cut to fit, as a feed
    // shown in it would.
    const int W = LayoutWidth();
    const int H = LayoutHeight();
    if (form2_->Height() > H - 10) form2_->ResizeTo(form2_->Width(), std::max(1, H - 10));
    const int top = std::clamp(form2_->Top(), 5, std::max(5, H - form2_->Height() - 6));
    const int left = std::max(0, std::min(form2_->Left(), W - form2_->Width()));
    form2_->MoveTo(left, top);
}

std::string TForm1::CurrentLink() const {
    return form3_ ? form3_->Link() : std::string();
}

void TForm1::ShowItemCard(std::int32_t a) {
    if (a == -1 || a > RSS.Items().Count() - 1) return;
    const std::string page = ItemPageText(RSS.Items()[a]);
    std::string path;
    try {
        path = ItemPagePath();
        SaveTextFile(page, path, naUserOnly);
    } catch (const std::exception&) {
        // Whatever stands at the path now is not this item's page: it is shown from memory.
        path.clear();
    }
    if (!form3_) {
        form3_ = new TForm3(*this);
        form3_->SetScale(scale_);
        KeepCopyBeneath(*form3_);
    }

    TCardRoom room;
    room.W = LayoutWidth();
    room.H = LayoutHeight();
    room.PR = PanelRight();
    room.LargePage = utf8::CharCount(page) >= LargePageLength || PosNoCase("<img", page) > 0;
    room.Beside = CardBeside;
    room.LastHeight = LastCardHeight;
    room.LastWidth = LastCardWidth;
    const TCardPlace place = GuessCardPlace(room, Random);
    form3_->SetFrame(
        QRect(place.Left, place.Top, std::max(place.Width, 0), std::max(place.Height, 0)));
    form3_->web->SetHint(RSS.Items()[a].Link());
    // Without this item's page on disk (it could not be written, or cannot be read back) the
    // card shows it from memory rather than an empty box or an older page.
    if (path.empty() || !form3_->web->Navigate(path)) form3_->web->ShowPage(page);
    form3_->InvalidateContent();
    if (Paused) {
        form3_->SetAlphaBlendValue(TForm3::FadeInAlpha);
        form3_->show();
    } else {
        form3_->SetAlphaBlendValue(0);
        form3_->show();
        form3_->Timer1.SetEnabled(true);
    }
    RaiseOverlays();
}

}  // namespace pelwick
