#include "saver/Form1.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include "app/Files.h"
#include "app/Process.h"
#include "app/Settings.h"
#include "slideshow/Glimrascreen.h"
#include "slideshow/RunGlimrascreen.h"

namespace pelwick {

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle("Pelwick");
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    setCursor(Qt::BlankCursor);
    setFocusPolicy(Qt::StrongFocus);
    // Full screen from the start: without a window manager (a bare X server) the request
    // to go full screen is never answered, and the window would keep a default size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setAttribute(Qt::WA_NoSystemBackground);
    Panel1->setGeometry(rect());
}

TForm1::~TForm1() = default;

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel1->setGeometry(rect());
}

// The window manager's own show events (a restore, a workspace switch) are not the window
// being shown by the program.
void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TForm1::FormShow() {
    if (!SettingsFile) LoadSettings();
    setCursor(Qt::BlankCursor);
    activateWindow();
    setFocus();
    if (Slideshow) {
        try {
            if (TGlimrascreen* screen = Slideshow->PictureScreen()) screen->StartTransition();
        } catch (const std::exception&) {
            // The picture stays as it is; the slideshow's own timer goes on.
        }
    } else {
        Slideshow = std::make_unique<TRunGlimrascreen>(Panel1);
        if (TGlimrascreen* screen = Slideshow->PictureScreen()) screen->SetThreaded(true);
    }
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    event->accept();
    QuitSaver();
}

void TForm1::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) QuitSaver();
}

void TForm1::QuitSaver() {
    hide();
    DeleteFileIfExists(ProgramFolder() + "tmp.htm");
    Halt(0);
}

}  // namespace pelwick
