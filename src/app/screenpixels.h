#pragma once

namespace vq {

// The show is laid out in screen pixels: places, widths and the next-step picture are the
// settings file's numbers of pixels on every desktop scale, and only the fonts follow the
// screen's dots per inch. Qt would scale every window of the program by the desktop's factor
// (Xft.dpi, the Windows display scale, QT_SCALE_FACTOR); the presenter asks it not to, before
// its application object exists. A factor the user gave through QT_SCALE_FACTOR is then kept
// for the fonts alone, as a desktop's scale reaches them through its dots per inch.
void keepScreenPixels();

// The factor the fonts follow on top of the screen's dots per inch: QT_SCALE_FACTOR as the
// program found it, 1 without it (and in every program that does not call keepScreenPixels).
double fontScale();

} // namespace vq
