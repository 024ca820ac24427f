#pragma once

#include <QAbstractNativeEventFilter>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QWidget;
class QWindow;

namespace pelwick {

// Windows of other programs (a screen-saver host's window, the display settings' preview
// area), by the display server's own ids.
using TWindowId = std::uint32_t;

// The root window of the screen; 0 where the display server has none.
TWindowId RootWindow();

// The size of a window of another program; nullopt when no such window exists.
std::optional<QSize> ForeignWindowSize(TWindowId window);

// Makes a top-level widget a child of a window of another program, at its top-left corner,
// and gives the object that stands for that window; null when the window does not exist.
// Call before the widget is shown. The widget's window must be let go (ReleaseFromForeignWindow)
// before the returned object goes.
std::unique_ptr<QWindow> EmbedInForeignWindow(QWidget& widget, TWindowId parent);
void ReleaseFromForeignWindow(QWidget& widget);

// Tells what becomes of a window of another program: its size changes and its end.
class TForeignWindowWatch : public QAbstractNativeEventFilter {
  public:
    explicit TForeignWindowWatch(TWindowId window);
    ~TForeignWindowWatch() override;
    TForeignWindowWatch(const TForeignWindowWatch&) = delete;
    TForeignWindowWatch& operator=(const TForeignWindowWatch&) = delete;

    std::function<void(QSize size)> OnResize;
    std::function<void()> OnDestroy;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    TWindowId window_;
    QSize size_;
};

}  // namespace pelwick
