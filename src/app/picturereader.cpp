#include "app/picturereader.h"

#include "app/jpegreader.h"
#include "platform/memory.h"

#include <QIODevice>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

namespace vq {

QSize dctScaledSize(QSize full, QSize target) {
    for (int d : {8, 4, 2})
        if (full.width() / d >= target.width() && full.height() / d >= target.height())
            return QSize(full.width() / d, full.height() / d);
    return full;
}

namespace {

// Converts `height` lines of `width` pixels, one pixel's bytes each way by `convert(from, to)`.
// `to` may be `from` itself when a pixel never grows and a line never lengthens: each pixel
// is then written at or before where it was read, after it was read.
template <int FromBytes, int ToBytes, typename Convert>
void convertLines(const uchar* from, qsizetype fromLine, uchar* to, qsizetype toLine, int width,
                  int height, Convert convert) {
    for (int y = height; y > 0; --y, to += toLine, from += fromLine) {
        const uchar* f = from;
        uchar* t = to;
        for (int x = 0; x < width; ++x, f += FromBytes, t += ToBytes)
            convert(f, t);
    }
}

void toThreeBytes(const uchar* from, uchar* to) {
    QRgb pixel;
    std::memcpy(&pixel, from, sizeof pixel);
    to[0] = uchar(qRed(pixel));
    to[1] = uchar(qGreen(pixel));
    to[2] = uchar(qBlue(pixel));
}

void toFourBytes(const uchar* from, uchar* to) {
    const QRgb pixel = qRgb(from[0], from[1], from[2]);
    std::memcpy(to, &pixel, sizeof pixel);
}

qsizetype lineBytes(int width, int bitsPerPixel) {
    return (qsizetype(width) * bitsPerPixel + 31) / 32 * 4;
}

// The bytes of a picture's lines, `line` bytes each; 0 (no block) where there are none or they
// would not fit in memory's sizes.
std::size_t blockBytes(QSize size, qsizetype line) {
    if (size.isEmpty() || line > std::numeric_limits<qsizetype>::max() / size.height())
        return 0;
    return std::size_t(line) * std::size_t(size.height());
}

// A copy of an opaque picture in another pixel format, with the picture's resolution; the
// picture itself where the copy cannot be made. Fresh pages for the copy are faulted in at
// once rather than one write fault each 4 KB, and sizes and line starts are taken once (each
// QImage call is a call into the library).
template <int FromBytes, int ToBytes, typename Convert>
QImage pixelCopy(const QImage& image, QImage::Format format, Convert convert) {
    QImage out(image.size(), format);
    if (out.isNull())
        return image;
    populatePages(out.bits(), std::size_t(out.sizeInBytes()));
    convertLines<FromBytes, ToBytes>(image.constBits(), image.bytesPerLine(), out.bits(),
                                     out.bytesPerLine(), image.width(), image.height(), convert);
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    return out;
}

// A block of memory a decoder writes a picture into (see allocateLargeBlock), owned here until
// an image takes it over.
class PictureBlock {
public:
    explicit PictureBlock(std::size_t bytes) : m_data(allocateLargeBlock(bytes)), m_bytes(bytes) {}
    ~PictureBlock() { freeLargeBlock(m_data, m_bytes); }
    PictureBlock(const PictureBlock&) = delete;
    PictureBlock& operator=(const PictureBlock&) = delete;

    uchar* data() const { return static_cast<uchar*>(m_data); }

    // An image of the block's first lines that owns the block from now on; what lies past
    // them is given back.
    QImage intoImage(QSize size, qsizetype bytesPerLine, QImage::Format format) {
        const std::size_t used = std::size_t(bytesPerLine) * std::size_t(size.height());
        auto* owned = new Owned{m_data, shrinkLargeBlock(m_data, m_bytes, used)};
        m_data = nullptr;
        return QImage(static_cast<uchar*>(owned->data), size.width(), size.height(), bytesPerLine,
                      format, &Owned::free, owned);
    }

private:
    struct Owned {
        void* data;
        std::size_t bytes;
        static void free(void* info) {
            auto* owned = static_cast<Owned*>(info);
            freeLargeBlock(owned->data, owned->bytes);
            delete owned;
        }
    };

    void* m_data;
    std::size_t m_bytes;
};

// Reads an opaque picture the reader hands out in 32-bit pixels into a block of its own and
// copies it to 3 bytes a pixel in that same block, whose last quarter is then given back: the
// picture's memory is faulted in once, by the decoder, and no second picture-sized block is
// made. Nothing where no block could be had; a null image where the read failed; the reader's
// own image where it would not write into the block after all (another size or kind of pixel).
std::optional<QImage> readOpaqueIntoBlock(QImageReader& reader, QSize size) {
    const qsizetype wide = lineBytes(size.width(), 32);
    PictureBlock block(blockBytes(size, wide));
    if (!block.data())
        return std::nullopt;
    QImage image(block.data(), size.width(), size.height(), wide, QImage::Format_RGB32);
    if (!reader.read(&image) || image.isNull())
        return QImage();
    if (image.constBits() != block.data() || image.format() != QImage::Format_RGB32)
        return image;
    const qsizetype narrow = lineBytes(size.width(), 24);
    convertLines<4, 3>(block.data(), wide, block.data(), narrow, size.width(), size.height(),
                       toThreeBytes);
    QImage out = block.intoImage(size, narrow, QImage::Format_RGB888);
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    return out;
}

// A colour JPEG at a size libjpeg makes it: its lines are written straight into a block of their
// own, in 3 bytes a pixel where it is shown so, in 32 bits where it is scaled on. Nothing where
// libjpeg did not read it.
std::optional<QImage> readJpegIntoBlock(JpegReader& jpeg, QSize size, JpegReader::Pixels pixels) {
    const bool wide = pixels == JpegReader::Pixels::Rgb32;
    const qsizetype line = lineBytes(size.width(), wide ? 32 : 24);
    PictureBlock block(blockBytes(size, line));
    if (!block.data() || !jpeg.read(size, block.data(), line, pixels))
        return std::nullopt;
    QImage out = block.intoImage(size, line, wide ? QImage::Format_RGB32 : QImage::Format_RGB888);
    if (jpeg.dotsPerMeter().isValid()) {
        out.setDotsPerMeterX(jpeg.dotsPerMeter().width());
        out.setDotsPerMeterY(jpeg.dotsPerMeter().height());
    }
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
    return pixelCopy<4, 3>(image, QImage::Format_RGB888, toThreeBytes);
}

QImage widePicture(const QImage& image) {
    if (image.format() != QImage::Format_RGB888)
        return image;
    return pixelCopy<3, 4>(image, QImage::Format_RGB32, toFourBytes);
}

namespace {

// The turn a JPEG's Exif block asks for to show its picture upright, as Qt's reader reads it
// (libjpeg reads no Exif): asked of a reader of its own from the file's start, after which the
// device is put back where libjpeg left it, for libjpeg to go on from there.
QImageIOHandler::Transformations exifTurn(QIODevice* device, qint64 start,
                                          const QByteArray& format) {
    const qint64 at = device->pos();
    QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone;
    if (device->seek(start)) {
        QImageReader exif(device, format);
        exif.setAutoDetectImageFormat(false);
        exif.setDecideFormatFromContent(false);
        turn = exif.transformation();
    }
    device->seek(at);
    return turn;
}

// `image` stood upright as `turn` says: mirrored first, then turned a quarter clockwise, as Qt's
// reader applies a turn when asked to. A quarter turn swaps the resolution's directions too.
QImage upright(QImage image, QImageIOHandler::Transformations turn) {
    const bool mirror = turn.testFlag(QImageIOHandler::TransformationMirror);
    const bool flip = turn.testFlag(QImageIOHandler::TransformationFlip);
    if (mirror || flip)
        image = std::move(image).mirrored(mirror, flip);
    if (turn.testFlag(QImageIOHandler::TransformationRotate90)) {
        QImage quarter = image.transformed(QTransform().rotate(90));
        quarter.setDotsPerMeterX(image.dotsPerMeterY());
        quarter.setDotsPerMeterY(image.dotsPerMeterX());
        image = std::move(quarter);
    }
    return image;
}

// The picture as the file stores it, no larger than `shown` (see readPicture). `direct` is
// libjpeg's reader, with the header read, for a JPEG; empty for any other kind.
QImage readAsStored(QImageReader& reader, std::optional<JpegReader>& direct, QSize shown,
                    FinalScaling scaling, QString& error) {
    const bool jpeg = direct.has_value();
    const QSize full = direct && direct->headerRead() ? direct->size() : reader.size();
    if (full.isValid() && double(full.width()) * full.height() * 4 >
                              double(kPictureAllocationLimitMb) * 1024 * 1024) {
        error = QStringLiteral("图片太大：%1 × %2 像素").arg(full.width()).arg(full.height());
        return {};
    }
    QSize target;
    QSize ask;
    if (shown.isValid() && !shown.isEmpty() && full.isValid() &&
        (full.width() > shown.width() || full.height() > shown.height())) {
        target =
            QSize(std::min(full.width(), shown.width()), std::min(full.height(), shown.height()));
        // Decoders that scale while decoding are asked to; for the others the reader would
        // decode in full and scale afterwards anyway, which is done below.
        if (jpeg || reader.supportsOption(QImageIOHandler::ScaledSize)) {
            const QSize scaled = jpeg ? dctScaledSize(full, target) : target;
            if (scaled != full)
                ask = scaled;
        }
    }
    const QSize decoded = ask.isValid() ? ask : full;
    const bool shownAsDecoded = decoded.isValid() && (!target.isValid() || decoded == target ||
                                                      scaling == FinalScaling::Later);
    if (direct && direct->reads(decoded)) {
        const auto pixels = shownAsDecoded ? JpegReader::Pixels::Rgb888 : JpegReader::Pixels::Rgb32;
        if (std::optional<QImage> image = readJpegIntoBlock(*direct, decoded, pixels)) {
            error = direct->damage();
            if (shownAsDecoded)
                return *std::move(image);
            return compactPicture(
                image->scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
    }
    direct.reset();
    if (ask.isValid())
        reader.setScaledSize(ask);
    // Straight into a block of its own where the reader hands out what is to be shown as it
    // is, in 32-bit pixels.
    std::optional<QImage> inBlock;
    if (shownAsDecoded && reader.imageFormat() == QImage::Format_RGB32)
        inBlock = readOpaqueIntoBlock(reader, decoded);
    QImage image = inBlock ? *std::move(inBlock) : reader.read();
    if (image.isNull()) {
        error = reader.errorString();
        return image;
    }
    if (target.isValid() && image.size() != target && scaling == FinalScaling::Now)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return compactPicture(std::move(image));
}

} // namespace

QImage readPicture(QImageReader& reader, QSize shown, QString& error, FinalScaling scaling) {
    if (QImageReader::allocationLimit() != kPictureAllocationLimitMb)
        QImageReader::setAllocationLimit(kPictureAllocationLimitMb);
    // The reader's format is the one to use: without this, Qt would load every image plugin
    // in turn to ask whether it reads that format before it takes the one named for it.
    reader.setAutoDetectImageFormat(false);
    // Turned here, once the picture is at its smallest; the reader hands it out as stored.
    reader.setAutoTransform(false);
    // A JPEG's header is read by libjpeg here; Qt's reader is asked only for what libjpeg does
    // not read itself.
    const bool jpeg = reader.format() == "jpeg" || reader.format() == "jpg";
    QIODevice* device = reader.device();
    const qint64 start = device ? device->pos() : 0;
    std::optional<JpegReader> direct;
    if (jpeg)
        direct.emplace(device);
    // Phones and cameras store a photograph as the sensor saw it and say in its Exif block how
    // to show it. Turned a quarter, its rows are shown as columns: it is decoded for the shown
    // size turned the same way, so that upright it fills `shown` as any picture would.
    const QImageIOHandler::Transformations turn = direct && direct->hasExif()
                                                      ? exifTurn(device, start, reader.format())
                                                      : QImageIOHandler::TransformationNone;
    const bool quarter = turn.testFlag(QImageIOHandler::TransformationRotate90);
    QImage image =
        readAsStored(reader, direct, quarter ? shown.transposed() : shown, scaling, error);
    if (image.isNull())
        return image;
    return upright(std::move(image), turn);
}

} // namespace vq
