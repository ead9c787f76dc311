#include "support/photos.h"

#include <QBuffer>
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

namespace {

// Where the sensor stored the upright picture's pixel (x, y) of a w x h picture, as the Exif
// orientation defines it by where the stored first row and first column are seen: 1 top and
// left, 2 top and right, 3 bottom and right, 4 bottom and left, 5 left and top, 6 right and top,
// 7 right and bottom, 8 left and bottom. From 5 on, stored rows are seen as columns.
QPoint storedAt(int orientation, int x, int y, int w, int h) {
    switch (orientation) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {y, w - 1 - x};
    case 7:
        return {h - 1 - y, w - 1 - x};
    case 8:
        return {h - 1 - y, x};
    default:
        return {x, y};
    }
}

// An APP1 segment with an Exif block that holds only the orientation: a big-endian TIFF header
// and one directory of one entry, tag 0x0112 (a SHORT).
QByteArray exifSegment(int orientation) {
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);                   // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // orientation, 1 SHORT
    tiff += char(0) + QByteArray(1, char(orientation)) + QByteArray(2, '\0'); // its value
    tiff += QByteArray(4, '\0');                                              // no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    return QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + payload;
}

} // namespace

QByteArray orientedJpeg(const QImage& upright, int orientation, int quality) {
    const QImage source = upright.convertToFormat(QImage::Format_RGB32);
    const int w = source.width(), h = source.height();
    QImage stored(orientation >= 5 ? QSize(h, w) : QSize(w, h), QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QPoint at = storedAt(orientation, x, y, w, h);
            reinterpret_cast<QRgb*>(stored.scanLine(at.y()))[at.x()] = line[x];
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "JPG", quality);
    // After the start of image and the JFIF segment Qt's writer puts first, as cameras that
    // write both do.
    qsizetype at = 2;
    if (bytes.size() > 6 && quint8(bytes[2]) == 0xff && quint8(bytes[3]) == 0xe0)
        at = 4 + (qsizetype(quint8(bytes[4])) << 8 | quint8(bytes[5]));
    bytes.insert(at, exifSegment(orientation));
    return bytes;
}

bool nearColour(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

::testing::AssertionResult showsQuarters(const QImage& shown) {
    if (shown.isNull())
        return ::testing::AssertionFailure() << "no picture";
    const int w = shown.width(), h = shown.height();
    const QPoint middles[4] = {
        {w / 4, h / 4}, {w * 3 / 4, h / 4}, {w / 4, h * 3 / 4}, {w * 3 / 4, h * 3 / 4}};
    const char* names[4] = {"top left", "top right", "bottom left", "bottom right"};
    for (int q = 0; q < 4; ++q) {
        const QColor seen = shown.pixelColor(middles[q]);
        if (!nearColour(seen, kQuarterColours[q]))
            return ::testing::AssertionFailure()
                   << names[q] << " quarter shows " << seen.name().toStdString() << " instead of "
                   << kQuarterColours[q].name().toStdString() << " (" << w << "x" << h << ")";
    }
    return ::testing::AssertionSuccess();
}

} // namespace vq::test
