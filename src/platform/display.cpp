#include "platform/display.h"

#include <QGuiApplication>

#if defined(Q_OS_LINUX)
#include <QDBusConnection>
#endif
#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#endif

namespace vq {

void flushDisplay() {
#if QT_CONFIG(xcb)
    // On X, Qt queues requests on its connection and sends them when it next reads events;
    // with nothing to read (no input during a fade) they would wait there.
    if (auto* app = qGuiApp)
        if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>())
            if (xcb_connection_t* connection = x11->connection())
                xcb_flush(connection);
#endif
}

SessionBusConnection::SessionBusConnection() {
#if defined(Q_OS_LINUX)
    m_connected = Task<void>([] { QDBusConnection::sessionBus(); });
#endif
}

SessionBusConnection::~SessionBusConnection() = default;

} // namespace vq
