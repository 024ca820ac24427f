#pragma once

#include <QWidget>
#include <memory>

namespace pelwick {

class TRunGlimrascreen;

// The full-screen saver window: borderless, on top of everything, black, no cursor. It loads
// the settings when first shown, runs the picture slideshow in its client panel and ends the
// process on a key or a left or right click.
class TForm1 : public QWidget {
    Q_OBJECT

  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The client panel that the slideshow fills.
    QWidget* Panel1 = nullptr;
    // Created on the first show; kept for the life of the window.
    std::unique_ptr<TRunGlimrascreen> Slideshow;

    void FormShow();
    // Hides the window, deletes the item page and ends the process at once.
    void QuitSaver();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace pelwick
