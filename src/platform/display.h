#pragma once

#include "platform/task.h"

namespace vq {

// Sends what the program has asked of the display server so far, at once, instead of whenever
// the event loop next turns to the display. A change made in a timer tick (a step of a fade)
// then reaches the screen in that tick. Does nothing where requests are not queued.
void flushDisplay();

// Connects to the desktop's session bus on a second thread, from the moment the application
// object exists until this object is destroyed (which waits for it). The first change of a
// control's text asks whether assistive technologies are listening, and on Linux desktops that
// connects to the session bus and waits for it on the main thread, in the middle of creating
// the windows (where no session bus runs, about 13 ms for its start to fail); made beforehand,
// the connection is there (or known missing) by then. Nothing where there is no such bus.
class SessionBusConnection {
public:
    SessionBusConnection();
    ~SessionBusConnection();
    SessionBusConnection(const SessionBusConnection&) = delete;
    SessionBusConnection& operator=(const SessionBusConnection&) = delete;

private:
    Task<void> m_connected;
};

} // namespace vq
