#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace pelwick::test {

// A virtual X server on a display number of its own choosing, stopped on destruction, and the
// few things end-to-end tests do on it: run the real program there, find and drive its
// windows as a user would (through xdotool), and read the server's own state.
class TVirtualDisplay {
  public:
    // screens: one "WxHxD" per screen; options go to Xvfb as they are (say, "-dpi", "192").
    explicit TVirtualDisplay(const QStringList& screens = {"1280x800x24"},
                             const QStringList& options = {});
    ~TVirtualDisplay();
    TVirtualDisplay(const TVirtualDisplay&) = delete;
    TVirtualDisplay& operator=(const TVirtualDisplay&) = delete;

    // Whether Xvfb is installed; a test skips without it.
    static bool Found();
    // Whether xdotool is installed.
    static bool XdotoolFound();
    // ":N", or "" when the server did not start.
    const QString& Display() const { return display_; }

    // The environment of a program shown on this display: no offscreen platform, and the
    // sanitizer's strict string checks off (the X keyboard library hands strndup strings
    // that are not NUL-terminated, which strndup allows).
    QProcessEnvironment Environment() const;

    // Runs xdotool on this display; its standard output trimmed, nullopt when it failed.
    std::optional<std::string> Xdotool(const QStringList& args) const;
    // The first visible window whose name matches the regular expression, waiting up to
    // timeoutMs for it to appear; 0 when none did.
    std::uint32_t WaitForWindow(const QString& name, int timeoutMs = 15000) const;
    // The window's name (its caption), "" when it has none or does not exist.
    std::string WindowName(std::uint32_t window) const;
    // Clicks the left button at (x, y) of a window's client area.
    void ClickAt(std::uint32_t window, int x, int y) const;
    // Asks a window to close as a window manager's close button does (WM_DELETE_WINDOW).
    bool RequestClose(std::uint32_t window) const;

    // What the screen shows inside a window (the root window of X screen screen when 0), as
    // the server holds it.
    QImage Grab(std::uint32_t window = 0, int screen = 0) const;

    // The size of a window, or an empty size when it does not exist.
    QSize WindowSize(std::uint32_t window) const;
    // The windows directly inside a window.
    std::vector<std::uint32_t> Children(std::uint32_t window) const;
    // The mapped windows directly on the root window that a process owns (by _NET_WM_PID).
    std::vector<std::uint32_t> TopLevelWindowsOf(qint64 pid) const;

    // The X server's own screen saver: its idle timeout, and whether it is on now.
    void SetScreenSaverTimeout(int seconds) const;
    int ScreenSaverTimeout() const;
    bool ScreenSaverOn() const;

  private:
    QProcess server_;
    QString display_;
};

// A plain window that a test makes on the display, as a screen-saver host or the display
// settings' preview area do, for the program to draw into. It lives as long as this object
// (its own connection to the server), or until Destroy.
class THostWindow {
  public:
    THostWindow(const QString& display, int width, int height);
    ~THostWindow();
    THostWindow(const THostWindow&) = delete;
    THostWindow& operator=(const THostWindow&) = delete;

    std::uint32_t Id() const { return window_; }
    void Resize(int width, int height);
    void Destroy();

  private:
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
};

// Waits up to timeoutMs for a process to end; true when it did.
bool WaitForExit(QProcess& process, int timeoutMs);

}  // namespace pelwick::test
