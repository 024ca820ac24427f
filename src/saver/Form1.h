#pragma once

#include <QWidget>

namespace pelwick {

// The full-screen saver window: borderless, on top of everything, black, no cursor. It loads
// the settings when first shown and ends the process on a key or a left or right click.
class TForm1 : public QWidget {
    Q_OBJECT

  public:
    explicit TForm1(QWidget* parent = nullptr);

    void FormShow();
    // Hides the window, deletes the item page and ends the process at once.
    void QuitSaver();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    bool shownOnce_ = false;
};

}  // namespace pelwick
