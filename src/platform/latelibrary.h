#pragma once

#include <QLibrary>

namespace vq {

// Resolves one function of a library loaded when it is first needed (not linked with the
// program) into a pointer of the function's own type; false where the library lacks it.
template <typename Function>
bool resolveInto(QLibrary& library, Function& function, const char* name) {
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

} // namespace vq
