#include "saver/Form1.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/Files.h"
#include "app/Process.h"
#include "app/Settings.h"

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
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    FormShow();
}

void TForm1::FormShow() {
    if (!SettingsFile) LoadSettings();
    setCursor(Qt::BlankCursor);
    activateWindow();
    setFocus();
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
