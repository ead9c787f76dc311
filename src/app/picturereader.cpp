#include "app/picturereader.h"

#include "platform/memory.h"

#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace vq {

QSize dctScaledSize(QSize full, QSize target) {
    for (int d : {8, 4, 2})
        if (full.width() / d >= target.width() && full.height() / d >= target.height())
            return QSize(full.width() / d, full.height() / d);
    return full;
}

namespace {

// A copy of an opaque picture in another pixel format, made pixel by pixel by
// `convert(from, to)` (one pixel's bytes each way), with the picture's resolution; the picture
// itself where the copy cannot be made. Fresh pages for the copy are faulted in at once rather
// than one write fault each 4 KB, and sizes and line starts are taken once (each QImage call is
// a call into the library): the copy runs on the decoding thread the first frame waits for.
template <int FromBytes, int ToBytes, typename Convert>
QImage pixelCopy(const QImage& image, QImage::Format format, Convert convert) {
    QImage out(image.size(), format);
    if (out.isNull())
        return image;
    uchar* to = out.bits();
    populatePages(to, std::size_t(out.sizeInBytes()));
    const uchar* from = image.constBits();
    const int width = image.width();
    const qsizetype toLine = out.bytesPerLine();
    const qsizetype fromLine = image.bytesPerLine();
    for (int y = image.height(); y > 0; --y, to += toLine, from += fromLine) {
        const uchar* f = from;
        uchar* t = to;
        for (int x = 0; x < width; ++x, f += FromBytes, t += ToBytes)
            convert(f, t);
    }
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    return out;
}

} // namespace

QImage compactPicture(QImage image) {
    // Decoders hand out opaque pictures with an unused fourth byte a pixel; the same colours
    // in three bytes draw the same pixels, and a screen-size background is held for the
    // whole run. Copied here: Qt's own conversion of a picture this large starts helper
    // threads that then stay idle for half a minute, each with its memory.
    if (image.format() != QImage::Format_RGB32)
        return image;
    return pixelCopy<4, 3>(image, QImage::Format_RGB888, [](const uchar* from, uchar* to) {
        QRgb pixel;
        std::memcpy(&pixel, from, sizeof pixel);
        to[0] = uchar(qRed(pixel));
        to[1] = uchar(qGreen(pixel));
        to[2] = uchar(qBlue(pixel));
    });
}

QImage widePicture(const QImage& image) {
    if (image.format() != QImage::Format_RGB888)
        return image;
    return pixelCopy<3, 4>(image, QImage::Format_RGB32, [](const uchar* from, uchar* to) {
        const QRgb pixel = qRgb(from[0], from[1], from[2]);
        std::memcpy(to, &pixel, sizeof pixel);
    });
}

QImage readPicture(QImageReader& reader, QSize shown, QString& error) {
    if (QImageReader::allocationLimit() != kPictureAllocationLimitMb)
        QImageReader::setAllocationLimit(kPictureAllocationLimitMb);
    // The reader's format is the one to use: without this, Qt would load every image plugin
    // in turn to ask whether it reads that format before it takes the one named for it.
    reader.setAutoDetectImageFormat(false);
    const QSize full = reader.size();
    if (full.isValid() && double(full.width()) * full.height() * 4 >
                              double(kPictureAllocationLimitMb) * 1024 * 1024) {
        error = QStringLiteral("Picture too large (%1 x %2 pixels)")
                    .arg(full.width())
                    .arg(full.height());
        return {};
    }
    QSize target;
    if (shown.isValid() && !shown.isEmpty() && full.isValid() &&
        (full.width() > shown.width() || full.height() > shown.height())) {
        target =
            QSize(std::min(full.width(), shown.width()), std::min(full.height(), shown.height()));
        // Decoders that scale while decoding are asked to; for the others the reader would
        // decode in full and scale afterwards anyway, which is done below.
        if (reader.supportsOption(QImageIOHandler::ScaledSize)) {
            const QSize ask = (reader.format() == "jpeg" || reader.format() == "jpg")
                                  ? dctScaledSize(full, target)
                                  : target;
            if (ask != full)
                reader.setScaledSize(ask);
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        error = reader.errorString();
        return image;
    }
    if (target.isValid() && image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return compactPicture(std::move(image));
}

} // namespace vq
