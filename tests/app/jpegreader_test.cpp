// JPEGs read by libjpeg straight into 3-byte pixels: the pixels Qt's own reader makes, for the
// kinds of file a camera, an editor or WPS writes, and everything else left to Qt's reader.
#include "app/jpegreader.h"
#include "app/picturereader.h"
#include "support/photos.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// Every pixel different from its neighbours, with colour in every channel.
QImage patterned(QSize size) {
    QImage image(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            line[3 * x] = uchar(x * 7 + y);
            line[3 * x + 1] = uchar(y * 5 - x);
            line[3 * x + 2] = uchar((x ^ y) * 3);
        }
    }
    return image;
}

struct Encoding {
    const char* name;
    int lumaH = 2; // luma sampling against chroma: 2 x 2 is 4:2:0, 2 x 1 is 4:2:2, 1 x 1 is 4:4:4
    int lumaV = 2;
    bool progressive = false;
    bool cmyk = false;
    int dotsPerInch = 0; // 0: no resolution stated
    int restartRows = 0;
};

// A JPEG as libjpeg writes it with the given choices.
QByteArray encoded(const QImage& rgb, const Encoding& e) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &memory, &size);
    c.image_width = JDIMENSION(rgb.width());
    c.image_height = JDIMENSION(rgb.height());
    c.input_components = e.cmyk ? 4 : 3;
    c.in_color_space = e.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 85, TRUE);
    if (!e.cmyk) {
        c.comp_info[0].h_samp_factor = e.lumaH;
        c.comp_info[0].v_samp_factor = e.lumaV;
    }
    if (e.progressive)
        jpeg_simple_progression(&c);
    if (e.dotsPerInch) {
        c.density_unit = 1;
        c.X_density = UINT16(e.dotsPerInch);
        c.Y_density = UINT16(e.dotsPerInch);
    }
    c.restart_in_rows = e.restartRows;
    jpeg_start_compress(&c, TRUE);
    std::vector<uchar> line(std::size_t(rgb.width()) * 4);
    while (c.next_scanline < c.image_height) {
        const uchar* from = rgb.constScanLine(int(c.next_scanline));
        JSAMPROW row = const_cast<uchar*>(from);
        if (e.cmyk) {
            for (int x = 0; x < rgb.width(); ++x)
                for (int k = 0; k < 4; ++k)
                    line[std::size_t(4 * x + k)] = k < 3 ? from[3 * x + k] : uchar(200);
            row = line.data();
        }
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(memory), qsizetype(size));
    std::free(memory);
    return out;
}

// What Qt's reader makes of `bytes` at `scaled`, smoothly scaled on to `fitted` where given, held
// in 3 bytes a pixel where opaque.
QImage qtsOwn(const QByteArray& bytes, QSize scaled, QSize fitted = QSize()) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    QImage image = reader.read();
    if (fitted.isValid())
        image = image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return vq::compactPicture(image);
}

QImage readShown(QIODevice& device, QSize shown, QString* error = nullptr) {
    QImageReader reader(&device, "jpeg");
    QString reason;
    QImage image = vq::readPicture(reader, shown, reason);
    if (error)
        *error = reason;
    else
        EXPECT_TRUE(reason.isEmpty()) << reason.toStdString();
    return image;
}

QImage readShown(const QByteArray& bytes, QSize shown, QString* error = nullptr) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readShown(buffer, shown, error);
}

// Straight through libjpeg: the decoded picture, or a null image where the reader declined.
QImage readDirectly(const QByteArray& bytes, QSize size,
                    vq::JpegReader::Pixels pixels = vq::JpegReader::Pixels::Rgb888) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    vq::JpegReader jpeg(&buffer);
    if (!jpeg.reads(size))
        return {};
    QImage image(size, pixels == vq::JpegReader::Pixels::Rgb32 ? QImage::Format_RGB32
                                                               : QImage::Format_RGB888);
    if (!jpeg.read(size, image.bits(), image.bytesPerLine(), pixels))
        return {};
    return image;
}

// Qt's reader's own 32-bit picture of `bytes` at `scaled`.
QImage qtsWide(const QByteArray& bytes, QSize scaled) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    return reader.read();
}

const Encoding kEncodings[] = {
    {"4:2:0"},
    {"4:2:2", 2, 1},
    {"4:4:4", 1, 1},
    {"progressive 4:2:0", 2, 2, true},
    {"restart markers", 2, 2, false, false, 0, 3},
};

TEST(JpegReading, ColourPicturesComeOutAsQtsReaderMakesThemAtEveryDctScale) {
    for (const QSize size : {QSize(1920, 1080), QSize(333, 97), QSize(1, 1), QSize(3, 2000)}) {
        const QImage picture = patterned(size);
        for (const Encoding& e : kEncodings) {
            SCOPED_TRACE(testing::Message()
                         << size.width() << "x" << size.height() << " " << e.name);
            const QByteArray bytes = encoded(picture, e);
            for (const int d : {1, 2, 4, 8}) {
                if (size.width() % d || size.height() % d)
                    continue;
                SCOPED_TRACE(d);
                const QSize at = size / d;
                const QImage direct = readDirectly(bytes, at);
                ASSERT_FALSE(direct.isNull()) << "libjpeg was not asked to read it";
                EXPECT_EQ(direct, qtsOwn(bytes, d == 1 ? QSize() : at));
                // In 32 bits, to be scaled on: Qt's reader's own pixels, the fourth byte opaque.
                const QImage wide = readDirectly(bytes, at, vq::JpegReader::Pixels::Rgb32);
                EXPECT_EQ(wide, qtsWide(bytes, d == 1 ? QSize() : at));
                EXPECT_EQ(qAlpha(wide.pixel(wide.width() - 1, wide.height() - 1)), 255);
            }
            // Through the presenter's picture reading, at the picture's own size.
            const QImage shown = readShown(bytes, QSize());
            EXPECT_EQ(shown.format(), QImage::Format_RGB888);
            EXPECT_EQ(shown, qtsOwn(bytes, QSize()));
        }
    }
}

TEST(JpegReading, AFileIsReadThroughItsDeviceAndItsResolutionKept) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Encoding e{"300 dpi"};
    e.dotsPerInch = 300;
    const QByteArray bytes = encoded(patterned(QSize(3840, 2160)), e);
    QFile file(dir.filePath(QStringLiteral("bg.jpg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QImage halved = readShown(file, QSize(1920, 1080));
    const QImage expected = qtsOwn(bytes, QSize(1920, 1080));
    EXPECT_EQ(halved, expected);
    EXPECT_EQ(halved.dotsPerMeterX(), expected.dotsPerMeterX());
    EXPECT_EQ(halved.dotsPerMeterY(), expected.dotsPerMeterY());
    EXPECT_EQ(halved.dotsPerMeterX(), 11811);
    EXPECT_EQ(file.pos(), 0); // the device is left where it was
    // A file cut short on disk reads as Qt's reader makes it, with the same resolution, and
    // says so.
    file.close();
    ASSERT_TRUE(file.resize(bytes.size() / 3));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString damage;
    EXPECT_EQ(readShown(file, QSize(1920, 1080), &damage),
              qtsOwn(bytes.left(bytes.size() / 3), QSize(1920, 1080)));
    EXPECT_EQ(damage, QStringLiteral("JPEG 文件提前结束"));
}

TEST(JpegReading, StrayBytesBetweenSegmentsAreNoDamageButDamageAfterThemIsNamed) {
    const QByteArray bytes = encoded(patterned(QSize(640, 360)), Encoding{"plain"});
    // Two stray bytes after the first segment behind the start marker, as some cameras write.
    ASSERT_EQ(bytes.left(2), QByteArray("\xFF\xD8"));
    const int firstLength =
        (static_cast<unsigned char>(bytes[4]) << 8) | static_cast<unsigned char>(bytes[5]);
    QByteArray stray = bytes;
    stray.insert(4 + firstLength, QByteArray("\x00\x00", 2));
    QString damage;
    EXPECT_EQ(readShown(stray, QSize(640, 360), &damage), readShown(bytes, QSize(640, 360)));
    EXPECT_EQ(damage, QString());
    // The same file cut short: the cut is named, not hidden behind the stray bytes' warning.
    readShown(stray.left(stray.size() / 2), QSize(640, 360), &damage);
    EXPECT_EQ(damage, QStringLiteral("JPEG 文件提前结束"));
}

TEST(JpegReading, WhatLibjpegDoesNotReadTheSameIsLeftToQtsReader) {
    const QImage picture = patterned(QSize(640, 360));
    // Four inks: Qt's reader turns them into colours of its own.
    Encoding cmyk{"cmyk"};
    cmyk.cmyk = true;
    const QByteArray inks = encoded(picture, cmyk);
    EXPECT_TRUE(readDirectly(inks, picture.size()).isNull());
    EXPECT_EQ(readShown(inks, QSize()), qtsOwn(inks, QSize()));
    // Grey: held as the reader gives it, in one byte a pixel.
    QByteArray grey;
    {
        QBuffer buffer(&grey);
        buffer.open(QIODevice::WriteOnly);
        picture.convertToFormat(QImage::Format_Grayscale8).save(&buffer, "jpeg");
    }
    EXPECT_TRUE(readDirectly(grey, picture.size()).isNull());
    EXPECT_EQ(readShown(grey, QSize()).format(), QImage::Format_Grayscale8);
    // A picture decoded at half and smoothly scaled on to fit, with a size the DCT halves
    // exactly and with one it does not (Qt's reader then halves it and fits it to the half):
    // the pixels Qt's reader gave, scaled the same.
    const QByteArray even = encoded(patterned(QSize(3842, 2162)), Encoding{"even"});
    const QImage fitted = readShown(even, QSize(1920, 1080));
    EXPECT_EQ(fitted.size(), QSize(1920, 1080));
    EXPECT_EQ(fitted, qtsOwn(even, QSize(1921, 1081), QSize(1920, 1080)));
    const QByteArray odd = encoded(patterned(QSize(3843, 2163)), Encoding{"odd"});
    EXPECT_EQ(readShown(odd, QSize(1920, 1080)), qtsOwn(odd, QSize(1921, 1081), QSize(1920, 1080)));
}

// A file cut short (an interrupted copy) shows what it holds, the missing part grey as Qt's
// reader makes it, and says why in libjpeg's words, however it is decoded.
#ifdef Q_OS_WIN
constexpr bool kQtReadsWithTheSameLibjpeg = false;
#else
constexpr bool kQtReadsWithTheSameLibjpeg = true;
#endif
TEST(JpegReading, ACutFileShowsWhatItHoldsAndSaysWhy) {
    const QByteArray whole = encoded(patterned(QSize(800, 600)), Encoding{"4:2:0"});
    const QByteArray cut = whole.left(whole.size() / 2);
    struct Way {
        const char* how;
        QSize shown;
        QImage expected;
    };
    const Way ways[] = {
        {"at its own size", QSize(), qtsOwn(cut, QSize())},
        {"halved by the DCT", QSize(400, 300), qtsOwn(cut, QSize(400, 300))},
        {"decoded, then scaled", QSize(700, 500), qtsOwn(cut, QSize(), QSize(700, 500))},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.how);
        QString damage;
        const QImage image = readShown(cut, way.shown, &damage);
        EXPECT_EQ(damage, QStringLiteral("JPEG 文件提前结束"));
        // The Windows build's Qt decodes with a libjpeg of its own, which ends a cut scan in
        // other pixels; elsewhere both readers are the same library.
        if (!kQtReadsWithTheSameLibjpeg)
            EXPECT_EQ(image.size(), way.expected.size());
        else
            EXPECT_EQ(image, way.expected);
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 1), QColor(128, 128, 128));
        EXPECT_NE(image.pixelColor(image.width() / 2, 0), QColor(128, 128, 128));
    }
}

TEST(JpegReading, AScrambledFileIsReportedAndANonJpegFails) {
    const QByteArray whole = encoded(patterned(QSize(800, 600)), Encoding{"4:2:0"});
    // Scrambled after the header: the image Qt's reader made of it, or its failure; either way
    // the reason is given.
    QByteArray scrambled = whole;
    for (qsizetype i = scrambled.size() / 3; i < scrambled.size() - 2; i += 7)
        scrambled[i] = char(scrambled[i] ^ 0x5a);
    QString error;
    const QImage image = readShown(scrambled, QSize(), &error);
    EXPECT_EQ(image, qtsOwn(scrambled, QSize()));
    EXPECT_FALSE(error.isEmpty());
    // Not a JPEG at all: the reader's own message.
    const QImage none = readShown(QByteArray("not a picture at all"), QSize(), &error);
    EXPECT_TRUE(none.isNull());
    EXPECT_FALSE(error.isEmpty());
}

// Phones and cameras store a picture as the sensor saw it and say in its Exif block how to show
// it: each of the eight orientations comes out upright, at the shown size reckoned for the
// upright picture, whichever way it is decoded.
TEST(JpegReading, EveryExifOrientationComesOutUpright) {
    struct Way {
        const char* how;
        QSize upright;
        QSize shown;
    };
    const Way ways[] = {
        {"at its own size", QSize(320, 240), QSize()},
        {"halved by the DCT", QSize(320, 240), QSize(160, 120)},
        {"decoded, then scaled", QSize(320, 240), QSize(200, 100)},
        {"by Qt's reader (no DCT scale divides it)", QSize(643, 483), QSize(200, 150)},
    };
    for (const Way& way : ways)
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(testing::Message() << way.how << ", orientation " << orientation);
            const QByteArray bytes =
                vq::test::orientedJpeg(vq::test::quarters(way.upright), orientation);
            const QImage shown = readShown(bytes, way.shown);
            EXPECT_EQ(shown.size(),
                      way.shown.isValid() ? way.upright.boundedTo(way.shown) : way.upright);
            EXPECT_TRUE(vq::test::showsQuarters(shown));
            EXPECT_EQ(shown.format(), QImage::Format_RGB888);
        }
}

} // namespace
