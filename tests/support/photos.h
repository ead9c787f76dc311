#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

namespace vq::test {

// The colours of an upright test picture's quarters: top left, top right, bottom left, bottom
// right. Far apart in every channel pair, so that a picture mirrored or turned the wrong way
// shows a wrong colour in at least one quarter.
inline const QColor kQuarterColours[4] = {QColor(220, 30, 30), QColor(30, 190, 40),
                                          QColor(30, 40, 210), QColor(235, 225, 60)};

// An upright picture of `size` in its four quarter colours.
QImage quarters(QSize size);

// Whether two colours are within `tolerance` in each channel (JPEG's rounding and blurring).
bool nearColour(QColor a, QColor b, int tolerance = 40);

} // namespace vq::test
