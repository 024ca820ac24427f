#include "saver/NativeWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>

#if defined(PELWICK_HAVE_XCB)
#include <xcb/xcb.h>

#include <qguiapplication_platform.h>
#endif

namespace pelwick {

namespace {

#if defined(PELWICK_HAVE_XCB)
xcb_connection_t* Connection() {
    const auto* app = qGuiApp;
    if (!app) return nullptr;
    const auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

template <class T>
using TReply = std::unique_ptr<T, decltype(&std::free)>;
#endif

}  // namespace

TWindowId RootWindow() {
#if defined(PELWICK_HAVE_XCB)
    xcb_connection_t* c = Connection();
    if (!c) return 0;
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : 0;
#else
    return 0;
#endif
}

std::optional<QSize> ForeignWindowSize(TWindowId window) {
    if (window == 0) return std::nullopt;
#if defined(PELWICK_HAVE_XCB)
    // A foreign QWindow reports 0 x 0 on X11; the server knows the real size.
    if (xcb_connection_t* c = Connection()) {
        TReply<xcb_get_geometry_reply_t> g(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
        if (!g) return std::nullopt;
        return QSize(g->width, g->height);
    }
#endif
    const std::unique_ptr<QWindow> foreign(QWindow::fromWinId(WId(window)));
    if (!foreign) return std::nullopt;
    return foreign->size();
}

std::unique_ptr<QWindow> EmbedInForeignWindow(QWidget& widget, TWindowId parent) {
    if (!ForeignWindowSize(parent)) return nullptr;
    std::unique_ptr<QWindow> host(QWindow::fromWinId(WId(parent)));
    if (!host) return nullptr;
    widget.setAttribute(Qt::WA_NativeWindow);
    widget.winId();
    QWindow* own = widget.windowHandle();
    if (!own) return nullptr;
    own->setParent(host.get());
    own->setPosition(0, 0);
    return host;
}

void ReleaseFromForeignWindow(QWidget& widget) {
    // The window object is a child of the host's; it must not go down with it.
    if (QWindow* own = widget.windowHandle()) own->setParent(nullptr);
}

TForeignWindowWatch::TForeignWindowWatch(TWindowId window) : window_(window) {
    size_ = ForeignWindowSize(window).value_or(QSize());
#if defined(PELWICK_HAVE_XCB)
    if (xcb_connection_t* c = Connection()) {
        // Our own interest in the host window's structure, beside any other program's.
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c);
    }
#endif
    if (QCoreApplication* app = QCoreApplication::instance()) app->installNativeEventFilter(this);
}

TForeignWindowWatch::~TForeignWindowWatch() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

bool TForeignWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                            qintptr* /*result*/) {
#if defined(PELWICK_HAVE_XCB)
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            if (e->window != window_) break;
            const QSize size(e->width, e->height);
            if (size != size_) {
                size_ = size;
                if (OnResize) OnResize(size);
            }
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (e->window == window_ && OnDestroy) OnDestroy();
            break;
        }
        default:
            break;
    }
#else
    (void)eventType;
    (void)message;
#endif
    return false;
}

}  // namespace pelwick
