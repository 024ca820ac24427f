#pragma once

#include <QWidget>
#include <memory>
#include <vector>

class QScreen;

namespace pelwick {

class TRunGlimrascreen;

// A monitor other than the one with the news wall: a black window over the whole of it with
// a slideshow of the same pictures, so that no monitor is left showing the desktop. Input
// on it reaches the saver's application-wide hook like input on the wall.
class TScreenCover : public QWidget {
  public:
    explicit TScreenCover(QScreen& screen);
    ~TScreenCover() override;
    TScreenCover(const TScreenCover&) = delete;
    TScreenCover& operator=(const TScreenCover&) = delete;

    // Starts the slideshow (after the window is shown, as the wall's does).
    void Start();
    TRunGlimrascreen* Slideshow() const { return slideshow_.get(); }

  private:
    std::unique_ptr<TRunGlimrascreen> slideshow_;
};

// What the wall's window and every cover are: captioned "Pelwick", black, opaque, no cursor.
void MakeBlackSaverWindow(QWidget& window);

// One cover for each screen but wall's, shown and started.
std::vector<std::unique_ptr<TScreenCover>> CoverOtherScreens(const QScreen* wall);

}  // namespace pelwick
