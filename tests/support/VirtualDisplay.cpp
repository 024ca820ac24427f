#include "support/VirtualDisplay.h"

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QStandardPaths>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "support/TestSupport.h"

namespace pelwick::test {
namespace {

// One short-lived connection to the display per query: tests ask rarely.
class TXConnection {
  public:
    explicit TXConnection(const QString& display)
        : connection_(xcb_connect(display.toLocal8Bit().constData(), &screenNumber_)) {
        if (xcb_connection_has_error(connection_)) return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screenNumber_ && it.rem; ++i)
            xcb_screen_next(&it);
        if (it.rem) root_ = it.data->root;
    }
    // A round trip first: the server serves clients in its own order, so a request left in
    // the socket could be overtaken by the next connection's query.
    ~TXConnection() {
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        xcb_disconnect(connection_);
    }
    bool Ok() const { return root_ != 0; }
    xcb_connection_t* operator*() const { return connection_; }
    xcb_window_t Root() const { return root_; }

    xcb_atom_t Atom(const char* name) const {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(
                connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

  private:
    int screenNumber_ = 0;
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
};

}  // namespace

TVirtualDisplay::TVirtualDisplay(const QStringList& screens, const QStringList& options) {
    if (!Found()) return;
    // No reset when the last client leaves: settings a test makes must outlive its connection.
    QStringList args{"-displayfd", "1", "-nolisten", "tcp", "-noreset"};
    args << options;
    for (int i = 0; i < screens.size(); ++i)
        args << "-screen" << QString::number(i) << screens[i];
    server_.start(QStandardPaths::findExecutable("Xvfb"), args);
    QElapsedTimer clock;
    clock.start();
    while (!server_.canReadLine() && clock.elapsed() < 15000)
        server_.waitForReadyRead(500);
    const QString number = QString::fromLatin1(server_.readLine()).trimmed();
    if (!number.isEmpty()) display_ = ":" + number;
}

TVirtualDisplay::~TVirtualDisplay() {
    server_.terminate();
    if (!server_.waitForFinished(5000)) server_.kill();
    server_.waitForFinished(2000);
}

bool TVirtualDisplay::Found() {
    return !QStandardPaths::findExecutable("Xvfb").isEmpty();
}

bool TVirtualDisplay::XdotoolFound() {
    return !QStandardPaths::findExecutable("xdotool").isEmpty();
}

QProcessEnvironment TVirtualDisplay::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    env.insert("DISPLAY", display_);
    QString asan = env.value("ASAN_OPTIONS");
    asan.replace("strict_string_checks=1", "strict_string_checks=0");
    env.insert("ASAN_OPTIONS", asan);
    return env;
}

std::optional<std::string> TVirtualDisplay::Xdotool(const QStringList& args) const {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    tool.setProcessEnvironment(env);
    tool.start(QStandardPaths::findExecutable("xdotool"), args);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed().toStdString();
}

std::uint32_t TVirtualDisplay::WaitForWindow(const QString& name, int timeoutMs) const {
    std::uint32_t window = 0;
    PollUntil(
        [&] {
            const auto found = Xdotool({"search", "--onlyvisible", "--name", name});
            const std::string first = found ? found->substr(0, found->find('\n')) : "";
            if (!first.empty()) window = std::uint32_t(std::strtoul(first.c_str(), nullptr, 10));
            return window != 0;
        },
        std::chrono::milliseconds(timeoutMs), std::chrono::milliseconds(100));
    return window;
}

std::string TVirtualDisplay::WindowName(std::uint32_t window) const {
    return Xdotool({"getwindowname", QString::number(window)}).value_or("");
}

void TVirtualDisplay::ClickAt(std::uint32_t window, int x, int y) const {
    Xdotool({"mousemove", "--window", QString::number(window), QString::number(x),
             QString::number(y), "click", "1"});
}

bool TVirtualDisplay::RequestClose(std::uint32_t window) const {
    TXConnection c(display_);
    if (!c.Ok()) return false;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = c.Atom("WM_PROTOCOLS");
    event.data.data32[0] = c.Atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(*c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    return xcb_flush(*c) > 0;
}

QImage TVirtualDisplay::Grab(std::uint32_t window, int screen) const {
    TXConnection c(screen ? display_ + "." + QString::number(screen) : display_);
    if (!c.Ok()) return {};
    const xcb_drawable_t drawable = window ? window : c.Root();
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(*c, xcb_get_geometry(*c, drawable), nullptr), &std::free);
    if (!geometry || geometry->depth != 24) return {};
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(*c,
                            xcb_get_image(*c, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, 0, 0,
                                          geometry->width, geometry->height, ~0u),
                            nullptr),
        &std::free);
    if (!reply) return {};
    // 24-bit visuals come as 32-bit pixels, blue first, rows without padding.
    const int w = geometry->width, h = geometry->height;
    if (xcb_get_image_data_length(reply.get()) < w * h * 4) return {};
    const QImage view(xcb_get_image_data(reply.get()), w, h, w * 4, QImage::Format_RGB32);
    return view.copy();
}

QSize TVirtualDisplay::WindowSize(std::uint32_t window) const {
    TXConnection c(display_);
    if (!c.Ok()) return {};
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> g(
        xcb_get_geometry_reply(*c, xcb_get_geometry(*c, window), nullptr), &std::free);
    return g ? QSize(g->width, g->height) : QSize();
}

std::vector<std::uint32_t> TVirtualDisplay::Children(std::uint32_t window) const {
    TXConnection c(display_);
    std::vector<std::uint32_t> children;
    if (!c.Ok()) return children;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(*c, xcb_query_tree(*c, window ? window : c.Root()), nullptr),
        &std::free);
    if (!tree) return children;
    const xcb_window_t* list = xcb_query_tree_children(tree.get());
    children.assign(list, list + xcb_query_tree_children_length(tree.get()));
    return children;
}

std::vector<std::uint32_t> TVirtualDisplay::TopLevelWindowsOf(qint64 pid) const {
    std::vector<std::uint32_t> found;
    TXConnection c(display_);
    if (!c.Ok()) return found;
    const xcb_atom_t pidAtom = c.Atom("_NET_WM_PID");
    for (const std::uint32_t w : Children(0)) {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> a(
            xcb_get_window_attributes_reply(*c, xcb_get_window_attributes(*c, w), nullptr),
            &std::free);
        if (!a || a->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> p(
            xcb_get_property_reply(*c, xcb_get_property(*c, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1),
                                   nullptr),
            &std::free);
        if (p && xcb_get_property_value_length(p.get()) == 4 &&
            *static_cast<const std::uint32_t*>(xcb_get_property_value(p.get())) == pid)
            found.push_back(w);
    }
    return found;
}

THostWindow::THostWindow(const QString& display, int width, int height)
    : connection_(xcb_connect(display.toLocal8Bit().constData(), nullptr)) {
    if (xcb_connection_has_error(connection_)) return;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const std::uint32_t values[] = {screen->black_pixel};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0,
                      std::uint16_t(width), std::uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL, values);
    xcb_map_window(connection_, window_);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

THostWindow::~THostWindow() {
    xcb_disconnect(connection_);
}

void THostWindow::Resize(int width, int height) {
    const std::uint32_t values[] = {std::uint32_t(width), std::uint32_t(height)};
    xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

void THostWindow::Destroy() {
    if (!window_) return;
    xcb_destroy_window(connection_, window_);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    window_ = 0;
}

void TVirtualDisplay::SetScreenSaverTimeout(int seconds) const {
    TXConnection c(display_);
    if (!c.Ok()) return;
    xcb_set_screen_saver(*c, std::int16_t(seconds), 0, XCB_BLANKING_PREFERRED,
                         XCB_EXPOSURES_DEFAULT);
    xcb_flush(*c);
}

int TVirtualDisplay::ScreenSaverTimeout() const {
    TXConnection c(display_);
    if (!c.Ok()) return -1;
    std::unique_ptr<xcb_get_screen_saver_reply_t, decltype(&std::free)> reply(
        xcb_get_screen_saver_reply(*c, xcb_get_screen_saver(*c), nullptr), &std::free);
    return reply ? reply->timeout : -1;
}

bool TVirtualDisplay::ScreenSaverOn() const {
    TXConnection c(display_);
    if (!c.Ok()) return false;
    std::unique_ptr<xcb_screensaver_query_info_reply_t, decltype(&std::free)> reply(
        xcb_screensaver_query_info_reply(*c, xcb_screensaver_query_info(*c, c.Root()), nullptr),
        &std::free);
    return reply && reply->state == XCB_SCREENSAVER_STATE_ON;
}

bool WaitForExit(QProcess& process, int timeoutMs) {
    // waitForFinished answers false at once for a process that has already ended.
    return process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs) ||
           process.state() == QProcess::NotRunning;
}

}  // namespace pelwick::test
