#include "app/mediapicture.h"

#include "app/picturereader.h"
#include "data/bankschema.h"
#include "platform/files.h"
#include "platform/folders.h"

#include <QDir>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>

namespace vq {

QString mediaPath(const QString& name) {
    return QDir(expandName(bankschema::kMediaFolder)).filePath(name);
}

QSize fittedSize(QSize picture, QSize area) {
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const double scale =
        std::min(double(area.width()) / picture.width(), double(area.height()) / picture.height());
    return QSize(std::clamp(qRound(picture.width() * scale), 1, area.width()),
                 std::clamp(qRound(picture.height() * scale), 1, area.height()));
}

QImage readMediaPicture(const QString& path, QSize area, QString& error, bool quick) {
    error.clear();
    if (area.isEmpty()) {
        error = QStringLiteral("图片区域为空");
        return {};
    }
    QFile file(path);
    QString reason;
    if (!openRegularFile(file, &reason)) {
        error = reason;
        return {};
    }
    // By what the file holds: a PNG saved as .jpg is still a PNG.
    const QByteArray format = QImageReader::imageFormat(&file);
    if (format != "jpeg" && format != "png" && format != "bmp" && format != "gif") {
        error = QStringLiteral("不是 JPEG、PNG、BMP 或 GIF 图片");
        return {};
    }
    QSize full;
    QImage::Format stored = QImage::Format_Invalid;
    QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone;
    if (!file.seek(0)) {
        error = file.errorString();
        return {};
    }
    {
        QImageReader probe(&file, format);
        probe.setAutoDetectImageFormat(false);
        probe.setDecideFormatFromContent(false);
        full = probe.size();
        stored = probe.imageFormat();
        // Only a JPEG's turn is applied by the reader below (see readPicture).
        if (format == "jpeg")
            turn = probe.transformation();
    }
    if (!file.seek(0) || !full.isValid() || full.isEmpty()) {
        error = QStringLiteral("读不出图片的大小");
        return {};
    }
    // Qt's PNG reader scales a one-bit picture wrong while reading it (every pixel comes out
    // white): such a picture is read whole, which at one bit a pixel is small, and scaled after.
    const bool oneBit = stored == QImage::Format_Mono || stored == QImage::Format_MonoLSB;
    const bool scaledWhileRead = format == "jpeg" || (format == "png" && !oneBit);
    const qint64 pixels = qint64(full.width()) * full.height();
    if (pixels > (scaledWhileRead ? kMaxScaledMediaPixels : kMaxWholeMediaPixels)) {
        error = QStringLiteral("图片太大：%1 × %2 像素").arg(full.width()).arg(full.height());
        return {};
    }
    const bool quarter = turn.testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = quarter ? full.transposed() : full;
    const QSize shown = fittedSize(upright, area);
    // The eighth that libjpeg makes fastest, where the sharp picture needs more of it.
    QSize decodeFor = shown;
    if (quick) {
        const QSize eighth(std::max(1, upright.width() / 8), std::max(1, upright.height() / 8));
        if (format != "jpeg" ||
            (eighth.width() >= shown.width() && eighth.height() >= shown.height()))
            return {};
        decodeFor = eighth;
    }
    QImageReader reader(&file, format);
    reader.setDecideFormatFromContent(false);
    QImage image;
    if (oneBit) {
        reader.setAutoDetectImageFormat(false);
        reader.setAutoTransform(false);
        image = reader.read();
        if (image.isNull())
            error = reader.errorString();
        else
            image = image.convertToFormat(QImage::Format_RGB32);
    } else {
        image = readPicture(reader, decodeFor, error);
    }
    if (image.isNull()) {
        if (error.isEmpty())
            error = QStringLiteral("图片无法解码");
        return image;
    }
    if (image.size() != shown)
        image = compactPicture(
            widePicture(image).scaled(shown, Qt::IgnoreAspectRatio,
                                      quick ? Qt::FastTransformation : Qt::SmoothTransformation));
    return image;
}

} // namespace vq
