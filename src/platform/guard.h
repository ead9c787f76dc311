#pragma once

#include "platform/exception.h"
#include "platform/messages.h"

#include <exception>
#include <utility>

namespace vq {

// Runs one event handler the way the framework does: a failure that escapes it ends the
// handler there and is shown in the error box; the program carries on with the next event.
// Every slot and event override of the program's windows wraps its body in this, so no
// exception ever unwinds through Qt's own code.
template <class F> void guarded(F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
    } catch (const Exception& e) {
        showErrorBox(e.message());
    } catch (const std::exception& e) {
        showErrorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("未知错误"));
    }
}

} // namespace vq
