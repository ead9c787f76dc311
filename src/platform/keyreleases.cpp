#include "platform/keyreleases.h"

#include <QGuiApplication>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
// The keyboard extension's header names a field "explicit", a keyword of C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#endif

namespace vq {

void askForTrueKeyReleases() {
#if QT_CONFIG(xcb)
    auto* app = qGuiApp;
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    // A request of an extension the server lacks would close the connection.
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return;
    // XKB's detectable auto-repeat, a flag of the client's connection: Qt's own, which carries
    // the program's key events. The keyboard extension is taken into use first, as its protocol
    // asks of every client (Qt has done so already; a second time changes nothing). Neither
    // answer is waited for: the requests go out with the connection's next flush, before any
    // key reaches a window.
    const auto use =
        xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION);
    const auto flags = xcb_xkb_per_client_flags(
        connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
        XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0);
    xcb_discard_reply(connection, use.sequence);
    xcb_discard_reply(connection, flags.sequence);
    xcb_flush(connection);
#endif
}

} // namespace vq
