#include "support/photos.h"

#include <QPainter>

#include <cstdlib>

namespace vq::test {

QImage quarters(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width(), h = size.height();
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, kQuarterColours[0]);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, kQuarterColours[1]);
    p.fillRect(0, h / 2, w / 2, h - h / 2, kQuarterColours[2]);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, kQuarterColours[3]);
    return image;
}

bool nearColour(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace vq::test
