#include "saver/ItemCard.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <cstdlib>

#include "aatext/Labels.h"
#include "app/DateTime.h"
#include "app/Files.h"
#include "app/Process.h"
#include "app/Strings.h"
#include "app/Utf8.h"
#include "feeds/FeedModel.h"
#include "saver/CardGeometry.h"
#include "saver/HeadlinePanel.h"
#include "saver/PageView.h"
#include "saver/SaverWindow.h"

namespace pelwick {

namespace {

// The user's short date, a blank and the long time; no time at exactly midnight.
std::string PageDate(TDateTime utc) {
    TDateTimeParts p;
    if (!DecodeDateTime(UtcToLocal(utc), p)) return "";
    const QLocale locale;
    std::string text =
        locale.toString(QDate(p.Year, p.Month, p.Day), QLocale::ShortFormat).toStdString();
    if (p.Hour || p.Minute || p.Second || p.MilliSecond) {
        const QTime time(p.Hour, p.Minute, p.Second, p.MilliSecond);
        text += " " + locale.toString(time, LongTimeFormat()).toStdString();
    }
    return text;
}

// Whether a proposed size is close enough to the card's present one to be worth taking.
bool WorthIt(int proposed, int present) {
    return present <= 0 ? proposed > 0 : double(proposed) / present > 0.8;
}

}  // namespace

std::string ItemPageText(const TRSSItem& item) {
    std::string page;
    page += "<html xmlns=\"http://www.w3.org/1999/xhtml\"";
    page +=
        "><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" "
        "/></head><body bgcolor=\"#1B1B1B\" topmargin=\"6\" leftmargin=\"6\" rightmargin=\"6\" "
        "bottommargin=\"6\"><table border=\"1\" width=\"100%\" bordercolor=\"#A5A5A5\" "
        "cellspacing=\"0\" cellpadding=\"8\"><tr><td><h3 align=\"center\"><font "
        "color=\"#FFFFFF\">";
    page += item.Title();
    page += "</font></h3><font color=\"#FFFFFF\">";
    page += item.Description();
    page +=
        "</font><p align=\"right\"><span style=\"font-weight: 400\"><i><font size=\"1\" "
        "color=\"#7C7C7C\">";
    // An item whose date could not be read has none to show, rather than 30 Dec 1899.
    const TDateTime date = item.PubDate().DateTime();
    if (date != 0) page += PageDate(date) + ", ";
    page += "Press Enter to read...</font></i></span></p></td></tr></table></body></html>";
    return page;
}

TForm3::TForm3(TForm1& owner) : TLayerWindow(&owner, 150), owner_(owner) {
    setObjectName("Form3");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    Panel1 = new QWidget(Stage());
    Panel1->setObjectName("Panel1");
    web = new TPageView(Panel1);
    web->setObjectName("web");
    web->OnDocumentComplete = [this] { webDocumentComplete(); };
    Timer1.SetEnabled(false);
    Timer1.SetInterval(3);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    ResizeTo(656, 419);
}

const std::string& TForm3::Link() const {
    return web->Hint();
}

void TForm3::StageResized() {
    Panel1->setGeometry(Stage()->rect());
    web->setGeometry(Panel1->rect());
}

void TForm3::Timer1Timer() {
    if (AlphaBlendValue() >= FadeInAlpha)
        Timer1.SetEnabled(false);
    else
        SetAlphaBlendValue(AlphaBlendValue() + 1);
}

void TForm3::webDocumentComplete() {
    try {
        const int W = owner_.LayoutWidth();
        const int H = owner_.LayoutHeight();
        const int PR = owner_.PanelRight();
        const int SH = web->ScrollHeight();
        const int SW = web->ScrollWidth();
        int top = Top(), left = Left(), w = Width(), h = Height();

        const int CH = h;
        if (SH < CH || SH < H - top - 20) {
            h = SH;
        } else if (SH < H - 60) {
            top = Random(30) + 5;
            h = SH;
        } else {
            const int t = Random(50) + 5;
            const int proposed = H - t - Random(50);
            if (WorthIt(proposed, CH)) {
                top = t;
                h = proposed;
            }
        }

        const int CW = w;
        const int A = W - PR;  // the room right of the panel
        if (SW < CW || SW < A - left - 20) {
            w = SW;
        } else if (SW < A - 60) {
            w = SW;
            if (left + w > W - 10) left = PR + 10 + Random(A - w - 20);
        } else {
            const int l = PR + 10 + Random(50);
            const int proposed = W - l - Random(50);
            if (WorthIt(proposed, CW)) {
                left = l;
                w = proposed;
            }
        }

        if (left + w > W) left = W - w - 20;
        if (top + h > H) top = H - h - 20;
        SetFrame(QRect(left, top, w, h));
        owner_.CardBeside = PR < Left();
        owner_.LastCardHeight = Height();
        owner_.LastCardWidth = Width();
    } catch (const std::exception&) {
        // The card stays where and as it is.
    }
}

}  // namespace pelwick
