#pragma once

#include <QVariant>

namespace vq::editor {

// How a row with a problem looks, for a model's data(): a light red background with dark text
// set together, so that the row stays readable on a dark theme, whose own text colour is light.
// Invalid for every other role.
QVariant problemRowStyle(int role);

} // namespace vq::editor
