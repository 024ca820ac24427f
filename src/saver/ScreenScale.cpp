#include "saver/ScreenScale.h"

#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#if defined(PELWICK_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace pelwick {

int ScaleForDpi(double dpi) {
    if (!(dpi >= 144)) return 1;
    return std::clamp(int(std::lround(dpi / 96)), 1, 3);
}

#if defined(PELWICK_HAVE_XCB)
namespace {

// Whether the root window's resources set Xft.dpi, which Qt reads itself.
bool DesktopSetsDpi(xcb_connection_t* c, xcb_window_t root) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(c, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 16);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!reply) return false;
    const std::string resources(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                std::size_t(xcb_get_property_value_length(reply.get())));
    return resources.find("Xft.dpi:") != std::string::npos;
}

}  // namespace
#endif

void ChooseScreenScale() {
    for (const char* chosen : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                               "QT_ENABLE_HIGHDPI_SCALING", "QT_USE_PHYSICAL_DPI"})
        if (qEnvironmentVariableIsSet(chosen)) return;
#if defined(PELWICK_HAVE_XCB)
    int number = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &number);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < number && it.rem; ++i)
        xcb_screen_next(&it);
    if (it.rem && it.data->width_in_millimeters > 0 && !DesktopSetsDpi(c, it.data->root)) {
        const double dpi = it.data->width_in_pixels * 25.4 / it.data->width_in_millimeters;
        if (const int scale = ScaleForDpi(dpi); scale > 1)
            qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    }
    xcb_disconnect(c);
#endif
}

}  // namespace pelwick
