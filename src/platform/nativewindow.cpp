#include "platform/nativewindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWindow>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace vq {

#if QT_CONFIG(xcb)
namespace {

xcb_connection_t* x11Connection() {
    auto* app = qGuiApp;
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

// The X window of a shown Qt window, or none (not created, or not on X).
xcb_window_t xWindow(const QWindow& window) {
    if (!x11Connection() || !window.handle())
        return xcb_window_t(XCB_WINDOW_NONE);
    return static_cast<xcb_window_t>(window.winId());
}

xcb_window_t rootOf(xcb_connection_t* c, xcb_window_t window) {
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    return geometry ? geometry->root : xcb_window_t(XCB_WINDOW_NONE);
}

} // namespace
#endif

QPoint windowOrigin(const QWindow& window) {
#if QT_CONFIG(xcb)
    if (const xcb_window_t w = xWindow(window)) {
        xcb_connection_t* c = x11Connection();
        if (const xcb_window_t root = rootOf(c, w)) {
            const Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
                c, xcb_translate_coordinates(c, w, root, 0, 0), nullptr));
            if (at)
                return {at->dst_x, at->dst_y};
        }
    }
#endif
    return window.mapToGlobal(QPoint(0, 0));
}

QPoint pointerInWindow(const QWindow& window) {
#if QT_CONFIG(xcb)
    if (const xcb_window_t w = xWindow(window)) {
        xcb_connection_t* c = x11Connection();
        const Reply<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(c, xcb_query_pointer(c, w), nullptr));
        // The window-relative place is only given while the pointer is on the window's screen.
        if (pointer && pointer->same_screen)
            return {pointer->win_x, pointer->win_y};
    }
#endif
    return window.mapFromGlobal(QCursor::pos());
}

void keepAboveTheProgramsWindows(QWindow& window) {
#if QT_CONFIG(xcb)
    if (const xcb_window_t w = xWindow(window)) {
        xcb_connection_t* c = x11Connection();
        // Transient for the root window means transient for the whole group (all of Qt's
        // windows of one program share one group leader); the window manager then puts the
        // group's windows, those it manages later included, beneath this one. Sent ahead of
        // every request made after this call, so before the manager maps any later window.
        if (const xcb_window_t root = rootOf(c, w)) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_TRANSIENT_FOR,
                                XCB_ATOM_WINDOW, 32, 1, &root);
            xcb_flush(c);
        }
    }
#else
    Q_UNUSED(window);
#endif
}

} // namespace vq
