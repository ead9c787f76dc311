#pragma once

#include "platform/exception.h"

#include <QString>

#include <functional>

namespace vq::test {

// The message of the failure the call raises, or "<no failure>".
inline QString messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const vq::Exception& e) {
        return e.message();
    }
    return QStringLiteral("<no failure>");
}

} // namespace vq::test
