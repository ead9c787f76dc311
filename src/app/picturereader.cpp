#include "app/picturereader.h"

#include <QIODevice>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>

#if defined(VELQUO_HAVE_LIBJPEG)
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>
#endif

namespace vq {

#if defined(VELQUO_HAVE_LIBJPEG)
namespace {

struct JpegErrors {
    jpeg_error_mgr manager; // first: the library hands back a pointer to it
    std::jmp_buf failed;
    bool warned = false;
};

[[noreturn]] void jpegFailed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->failed, 1);
}

// A warning (damaged data the library reads past, a file cut short) leaves the picture to Qt's
// reader, which decides about such files in its own way.
void jpegWarning(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<JpegErrors*>(info->err)->warned = true;
}

// Decodes into `out` (which lives outside the frame that returns through longjmp) at the size
// readPicture decodes at, and sets `target` to the size it is drawn at as readPicture works it
// out; false on any failure and for anything but the plain case, which the caller then leaves
// to Qt's reader.
bool decodeJpeg(const QByteArray& bytes, QSize shown, QImage& out, QSize& target) {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFailed;
    errors.manager.emit_message = jpegWarning;
    if (setjmp(errors.failed)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    bool plain = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK && info.num_components == 3 &&
                 (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
    const QSize full(int(info.image_width), int(info.image_height));
    plain = plain && double(full.width()) * full.height() * 4 <=
                         double(kPictureAllocationLimitMb) * 1024 * 1024;
    target = QSize();
    if (shown.isValid() && !shown.isEmpty() &&
        (full.width() > shown.width() || full.height() > shown.height()))
        target = full.boundedTo(shown);
    // Scaled from the DCT coefficients only where the division is exact: elsewhere Qt's reader
    // rounds the size in its own way.
    const QSize ask = target.isValid() ? dctScaledSize(full, target) : full;
    const int denominator = ask == full ? 1 : full.width() / ask.width();
    plain = plain && full.width() % denominator == 0 && full.height() % denominator == 0 &&
            full.height() / denominator == ask.height();
    if (!plain) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.scale_num = 1;
    info.scale_denom = unsigned(denominator);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (out.isNull() || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return !errors.warned;
}

// The common JPEG (three colour components) read straight into 3 bytes a pixel, with the
// library's default decoding, which is also Qt's: the same pixels without Qt's 32-bit copy,
// its conversion and the conversion back. Anything else, a damaged file included, is read again
// from the start by Qt's reader, which reports as before.
QImage readJpegDirectly(QImageReader& reader, QSize shown) {
    QIODevice* device = reader.device();
    const QByteArray format = reader.format();
    if (!device || device->isSequential() || (format != "jpeg" && format != "jpg"))
        return {};
    const qint64 start = device->pos();
    const QByteArray bytes = device->readAll();
    QImage out;
    QSize target;
    if (decodeJpeg(bytes, shown, out, target)) {
        if (target.isValid() && out.size() != target)
            out = compactPicture(
                widePicture(out).scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        return out;
    }
    device->seek(start);
    return {};
}

} // namespace
#endif

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
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* to = out.scanLine(y);
        for (int x = 0; x < image.width(); ++x, to += 3) {
            to[0] = uchar(qRed(from[x]));
            to[1] = uchar(qGreen(from[x]));
            to[2] = uchar(qBlue(from[x]));
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
    for (int y = 0; y < image.height(); ++y) {
        const uchar* from = image.constScanLine(y);
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width(); ++x, from += 3)
            to[x] = qRgb(from[0], from[1], from[2]);
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
#if defined(VELQUO_HAVE_LIBJPEG)
    if (QImage direct = readJpegDirectly(reader, shown); !direct.isNull())
        return direct;
#endif
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
