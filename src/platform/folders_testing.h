#pragma once

// For tests only; the shipped program never includes this header.

#include "platform/folders.h"

#include <QString>

namespace vq {

namespace detail {
extern QString programFolderOverride;
} // namespace detail

// Runs the program against a temporary installation; empty restores the real folder.
inline void setProgramFolderOverride(const QString& folder) {
    detail::programFolderOverride = folder;
}

} // namespace vq
