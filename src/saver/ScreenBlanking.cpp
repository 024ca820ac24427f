#include "saver/ScreenBlanking.h"

#include <QGuiApplication>

#if defined(PELWICK_HAVE_XCB)
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <qguiapplication_platform.h>
#endif

namespace pelwick {

namespace {

#if defined(PELWICK_HAVE_XCB)
xcb_connection_t* XConnection() {
    auto* app = qGuiApp;
    if (!app) return nullptr;
    const auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The screen saver extension's suspension covers blanking and power saving alike and is
// undone by the server when our connection closes, so a crash cannot leave it on.
bool Suspend(bool on) {
    xcb_connection_t* connection = XConnection();
    if (!connection) return false;
    const xcb_query_extension_reply_t* ext =
        xcb_get_extension_data(connection, &xcb_screensaver_id);
    if (!ext || !ext->present) return false;
    xcb_screensaver_suspend(connection, on ? 1 : 0);
    xcb_flush(connection);
    return true;
}
#else
bool Suspend(bool) {
    return false;
}
#endif

}  // namespace

TBlankingGuard::TBlankingGuard() : active_(Suspend(true)) {}

TBlankingGuard::~TBlankingGuard() {
    if (active_) Suspend(false);
}

}  // namespace pelwick
