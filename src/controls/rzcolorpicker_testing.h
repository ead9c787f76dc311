#pragma once

// For tests only; the shipped program never includes this header.

#include "controls/rzcolorpicker.h"

namespace vq {

namespace detail {
extern TRzColorPicker::ColorDialogRunner installedColorDialogRunner;
} // namespace detail

// Replaces the colour dialog for every picker; an empty runner restores the real one.
inline void setColorDialogRunner(TRzColorPicker::ColorDialogRunner runner) {
    detail::installedColorDialogRunner = std::move(runner);
}

} // namespace vq
