#pragma once

#include <QImage>
#include <QSize>

namespace demoart {

// The main screen's background: a dark stage with soft lights, calm where the text stands.
QImage stageBackground(QSize size);
// The welcome screen: a festive greeting over a warm stage.
QImage welcomePicture(QSize size);
// The next-step button: a round arrow on a transparent ground, size × size pixels.
QImage nextButton(int size);

} // namespace demoart
