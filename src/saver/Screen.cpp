#include "saver/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace pelwick {

namespace {

QSize& ScreenSizeOverride() {
    static QSize size;
    return size;
}

QSize PrimaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

}  // namespace

int ScreenWidth() {
    const QSize& size = ScreenSizeOverride();
    return size.isEmpty() ? PrimaryScreenSize().width() : size.width();
}

int ScreenHeight() {
    const QSize& size = ScreenSizeOverride();
    return size.isEmpty() ? PrimaryScreenSize().height() : size.height();
}

void SetScreenSize(int width, int height) {
    ScreenSizeOverride() = QSize(width, height);
}

}  // namespace pelwick
