#include "app/picturereader.h"

#include "platform/memory.h"

#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>

namespace vq {

QSize dctScaledSize(QSize full, QSize target) {
    for (int d : {8, 4, 2})
        if (full.width() / d >= target.width() && full.height() / d >= target.height())
            return QSize(full.width() / d, full.height() / d);
    return full;
}

QImage compactPicture(QImage image) {
    // Decoders hand out opaque pictures with an unused fourth byte a pixel; the same colours
    // in three bytes draw the same pixels, and a screen-size background is held for the
    // whole run. Copied here line by line: Qt's own conversion of a picture this large starts
    // helper threads that then stay idle for half a minute, each with its memory.
    if (image.format() != QImage::Format_RGB32)
        return image;
    QImage out(image.size(), QImage::Format_RGB888);
    if (out.isNull())
        return image;
    // Fresh pages for the copy faulted in at once rather than one write fault each 4 KB; the
    // sizes and line starts are taken once (each QImage call is a call into the library).
    uchar* to = out.bits();
    populatePages(to, std::size_t(out.sizeInBytes()));
    const uchar* from = image.constBits();
    const int width = image.width();
    const qsizetype toLine = out.bytesPerLine();
    const qsizetype fromLine = image.bytesPerLine();
    for (int y = image.height(); y > 0; --y, to += toLine, from += fromLine) {
        const auto* pixel = reinterpret_cast<const QRgb*>(from);
        uchar* rgb = to;
        for (int x = 0; x < width; ++x, rgb += 3) {
            rgb[0] = uchar(qRed(pixel[x]));
            rgb[1] = uchar(qGreen(pixel[x]));
            rgb[2] = uchar(qBlue(pixel[x]));
        }
    }
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    return out;
}

QImage widePicture(const QImage& image) {
    if (image.format() != QImage::Format_RGB888)
        return image;
    QImage out(image.size(), QImage::Format_RGB32);
    if (out.isNull())
        return image;
    uchar* to = out.bits();
    const uchar* from = image.constBits();
    const int width = image.width();
    const qsizetype toLine = out.bytesPerLine();
    const qsizetype fromLine = image.bytesPerLine();
    for (int y = image.height(); y > 0; --y, to += toLine, from += fromLine) {
        auto* pixel = reinterpret_cast<QRgb*>(to);
        const uchar* rgb = from;
        for (int x = 0; x < width; ++x, rgb += 3)
            pixel[x] = qRgb(rgb[0], rgb[1], rgb[2]);
    }
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    return out;
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
