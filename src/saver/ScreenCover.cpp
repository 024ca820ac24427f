#include "saver/ScreenCover.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/Settings.h"
#include "slideshow/SlideshowDriver.h"

namespace pelwick {

void MakeBlackSaverWindow(QWidget& window) {
    window.setWindowTitle("Pelwick");
    window.setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, Qt::black);
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    window.setCursor(Qt::BlankCursor);
}

TScreenCover::TScreenCover(QScreen& screen)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool) {
    MakeBlackSaverWindow(*this);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A screen of its own X screen has its own origin: the window must be made there.
    setScreen(&screen);
    // Placed by hand, as the wall is: a bare X server never answers a full-screen request.
    setGeometry(screen.geometry());
}

TScreenCover::~TScreenCover() = default;

void TScreenCover::Start() {
    if (slideshow_) return;
    slideshow_ = std::make_unique<TRunGlimrascreen>(this, SlideshowSettingsOf(SaverOptions));
    if (TGlimrascreen* pictures = slideshow_->PictureScreen()) pictures->SetThreaded(true);
}

std::vector<std::unique_ptr<TScreenCover>> CoverOtherScreens(const QScreen* wall) {
    std::vector<std::unique_ptr<TScreenCover>> covers;
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen == wall || screen->geometry().isEmpty()) continue;
        auto cover = std::make_unique<TScreenCover>(*screen);
        cover->show();
        cover->Start();
        covers.push_back(std::move(cover));
    }
    return covers;
}

}  // namespace pelwick
