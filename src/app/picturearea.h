#pragma once

#include <QRect>
#include <QSize>

namespace vq {

class Settings;

// Where a question's picture is fitted on the main screen when opt.ini does not say: beside the
// question where the screen leaves a quarter of its width free to its right, else below the room
// its text and answer take, and always above the next-step picture. `question` is the question's
// place and width with the height its text and answer are given.
QRect defaultPictureArea(QSize screen, const QRect& question, const QRect& nextStep);

// The picture's area from opt.ini (tupian_left, tupian_top, tupian_width, tupian_height), each
// key that is absent or makes no area (a width or height below 1) taken from `fallback`.
QRect pictureAreaFrom(const Settings& settings, const QRect& fallback);

} // namespace vq
