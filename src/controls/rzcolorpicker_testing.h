#pragma once

// For tests only; the shipped program never includes this header.

#include "controls/rzcolorpicker.h"

namespace vq {

// Replaces the colour dialog for every picker; an empty runner restores the real one.
void setColorDialogRunner(TRzColorPicker::ColorDialogRunner runner);

} // namespace vq
