#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

#include <gtest/gtest.h>

namespace vq::test {

// The colours of an upright test picture's quarters: top left, top right, bottom left, bottom
// right. Far apart in every channel pair, so that a picture mirrored or turned the wrong way
// shows a wrong colour in at least one quarter.
inline const QColor kQuarterColours[4] = {QColor(220, 30, 30), QColor(30, 190, 40),
                                          QColor(30, 40, 210), QColor(235, 225, 60)};

// An upright picture of `size` in its four quarter colours.
QImage quarters(QSize size);

// The JPEG a phone or camera writes of `upright` when held so that the Exif orientation
// `orientation` (1 to 8) says how to show it: the pixels stored as the sensor saw them, and an
// Exif block after the JFIF one that states the orientation.
QByteArray orientedJpeg(const QImage& upright, int orientation, int quality = 90);

// Whether `shown` is the upright picture of quarters(): the middle of each quarter has that
// quarter's colour.
::testing::AssertionResult showsQuarters(const QImage& shown);

// Whether two colours are within `tolerance` in each channel (JPEG's rounding and blurring).
bool nearColour(QColor a, QColor b, int tolerance = 40);

} // namespace vq::test
