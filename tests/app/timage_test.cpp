// The picture control's repaint: a part made of several rectangles, of any heights, shows
// exactly the picture's pixels there and leaves the rest alone.
#include "app/picturereader.h"
#include "app/timage.h"
#include "support/faults.h"
#include "support/heap.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QRegion>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Every pixel different from its neighbours, so that a row or column copied from the wrong
// place shows.
QImage patterned(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, ((x >> 8) * 16 + (y >> 8) * 64 + x + y) & 0xff);
    }
    return image;
}

// The parts of a step's repaint: the old and the new place of a label, the countdown, with
// heights that do not fall on any round number of lines.
QRegion stepParts() {
    QRegion r(QRect(256, 216, 600, 97));
    r += QRect(264, 280, 611, 250);
    r += QRect(792, 112, 140, 71);
    r += QRect(0, 1001, 1920, 79);
    return r;
}

// A window of `size` with a picture control stretched over it, showing `picture`.
struct StretchedPicture {
    QWidget window;
    TImage* image = nullptr;
    StretchedPicture(const QImage& picture, QSize size) {
        window.resize(size);
        image = new TImage(&window, TImage::Fit::Stretch);
        image->setGeometry(window.rect());
        image->setPicture(picture);
    }
};

// The part drawn from `held` (the picture as the control keeps it) against `picture`'s
// pixels; the number of pixels that differ.
int wrongPixels(const QImage& picture, const QImage& held, const QRegion& parts) {
    StretchedPicture control(held, picture.size());
    QImage shown(control.window.size(), QImage::Format_RGB32);
    const QRgb untouched = qRgb(255, 0, 255);
    shown.fill(untouched);
    // The part is drawn at its own place: the target offset is where its bounding rectangle goes.
    control.image->render(&shown, parts.boundingRect().topLeft(), parts);

    int wrong = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb expected = parts.contains(QPoint(x, y)) ? picture.pixel(x, y) : untouched;
            if (shown.pixel(x, y) != expected && ++wrong <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y;
        }
    return wrong;
}

TEST(PictureRepaint, APartOfSeveralRectanglesShowsThePicturesOwnPixelsThereAndNothingElse) {
    const QImage picture = patterned(QSize(1920, 1080));
    EXPECT_EQ(wrongPixels(picture, picture, stepParts()), 0);
    // Held in 3 bytes a pixel, as a background is: the same pixels on the screen, in a step's
    // parts and over the whole window (a window shown again, another screen).
    const QImage compact = vq::compactPicture(picture);
    EXPECT_EQ(compact.format(), QImage::Format_RGB888);
    EXPECT_EQ(compact, picture.convertToFormat(QImage::Format_RGB888));
    EXPECT_EQ(vq::widePicture(compact), picture);
    EXPECT_EQ(wrongPixels(picture, compact, stepParts()), 0);
    EXPECT_EQ(wrongPixels(picture, compact, QRegion(QRect(QPoint(0, 0), picture.size()))), 0);
}

// A picture of another size is stretched once; held in 3 bytes a pixel or 4, it shows the same.
TEST(PictureRepaint, AStretchedPictureShowsTheSameHeldInThreeOrFourBytes) {
    const QImage picture = patterned(QSize(800, 450));
    StretchedPicture shown(picture, QSize(1280, 720));
    const QImage wide = shown.window.grab().toImage();
    shown.image->setPicture(vq::compactPicture(picture));
    EXPECT_EQ(shown.window.grab().toImage(), wide);
}

// A picture smaller than its place (a 720p photo on a 1080p projector) reaches the first frame
// scaled the quick way, and the smooth copy replaces it as soon as the events after that frame
// are handled; a size changed in between is refined at its own size.
TEST(PictureRepaint, AnEnlargedPictureIsQuickFirstAndSmoothRightAfter) {
    const QImage picture = patterned(QSize(640, 360));
    StretchedPicture shown(picture, QSize(1280, 720));
    QWidget& window = shown.window;
    TImage* image = shown.image;
    const auto drawn = [&] {
        return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto scaled = [&](QSize size, Qt::TransformationMode mode) {
        return picture.scaled(size, Qt::IgnoreAspectRatio, mode)
            .convertToFormat(QImage::Format_RGB32);
    };
    ASSERT_NE(scaled(window.size(), Qt::FastTransformation),
              scaled(window.size(), Qt::SmoothTransformation));
    EXPECT_EQ(drawn(), scaled(window.size(), Qt::FastTransformation));
    QCoreApplication::processEvents();
    EXPECT_EQ(drawn(), scaled(window.size(), Qt::SmoothTransformation));

    // A new size before the smooth copy was made: the refinement is for the size now shown.
    window.resize(1024, 576);
    image->setGeometry(window.rect());
    image->setPicture(picture);
    window.resize(1200, 700);
    image->setGeometry(window.rect());
    EXPECT_EQ(drawn(), scaled(window.size(), Qt::FastTransformation));
    QCoreApplication::processEvents();
    EXPECT_EQ(drawn(), scaled(window.size(), Qt::SmoothTransformation));
}

// ... and that first frame is drawn straight from the picture: no copy of the place's size is
// made (and its memory faulted in) before it; the smooth copy is made after it (see above).
TEST(PictureRepaint, AnEnlargedPicturesFirstFrameMakesNoCopy) {
    StretchedPicture stretched(patterned(QSize(640, 360)), QSize(1280, 720));
    QImage shown(stretched.window.size(), QImage::Format_RGB32);
    const qint64 before = vq::test::heapHeld();
    stretched.image->render(&shown);
    const qint64 copy = qint64(shown.width()) * shown.height() * 3;
    if (vq::test::kHeapIsCounted) {
        EXPECT_LT(vq::test::heapHeld() - before, copy / 4);
    }
}

} // namespace

namespace {

QByteArray encoded(const QImage& image, const char* format, int quality = 85) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return out;
}

// What the reader itself hands out for `bytes`, scaled as asked and held in 3 bytes a pixel
// where opaque: what the decoding in a block of its own must give, pixel for pixel.
QImage referenceRead(const QByteArray& bytes, const QByteArray& format, QSize scaled) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    return vq::compactPicture(reader.read());
}

QImage readShown(const QByteArray& bytes, const QByteArray& format, QSize shown) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    QString error;
    const QImage image = vq::readPicture(reader, shown, error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return image;
}

} // namespace

// A picture is decoded into memory of its own and turned into 3 bytes a pixel there: the same
// pixels as the reader's own image copied, for widths whose lines need padding or not, colour
// and grey, at full size and scaled while decoding.
TEST(PictureDecoding, InItsOwnBlockGivesTheReadersOwnPixels) {
    for (const QSize size : {QSize(1920, 1080), QSize(333, 97), QSize(1, 1), QSize(3, 2000)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const QImage picture = patterned(size);
        for (const char* format : {"jpeg", "png", "bmp"}) {
            SCOPED_TRACE(format);
            const QByteArray bytes = encoded(picture, format);
            const QImage mine = readShown(bytes, format, QSize());
            EXPECT_EQ(mine.format(), QImage::Format_RGB888);
            EXPECT_EQ(mine, referenceRead(bytes, format, QSize()));
            EXPECT_EQ(mine.dotsPerMeterX(), referenceRead(bytes, format, QSize()).dotsPerMeterX());
        }
    }
    // Grey pictures are held as the reader gives them.
    const QByteArray grey =
        encoded(patterned(QSize(640, 360)).convertToFormat(QImage::Format_Grayscale8), "jpeg");
    EXPECT_EQ(readShown(grey, "jpeg", QSize()), referenceRead(grey, "jpeg", QSize()));
    // A 3840 x 2160 picture on a 1920 x 1080 screen: halved while decoding.
    const QByteArray big = encoded(patterned(QSize(3840, 2160)), "jpeg");
    const QImage halved = readShown(big, "jpeg", QSize(1920, 1080));
    EXPECT_EQ(halved.size(), QSize(1920, 1080));
    EXPECT_EQ(halved, referenceRead(big, "jpeg", QSize(1920, 1080)));
}

#if defined(__linux__)
// A JPEG background's memory is faulted in once, at 3 bytes a pixel: the decoder writes the
// picture as it is held, with no 32-bit picture or second copy on the way.
TEST(PictureDecoding, TouchesThePicturesMemoryOnce) {
    const QByteArray bytes = encoded(patterned(QSize(1920, 1080)), "jpeg");
    (void)readShown(encoded(patterned(QSize(16, 16)), "jpeg"), "jpeg", QSize()); // the reader
    const long before = vq::test::minorFaults();
    const QImage image = readShown(bytes, "jpeg", QSize(1920, 1080));
    const long faults = vq::test::minorFaults() - before;
    ASSERT_EQ(image.size(), QSize(1920, 1080));
    EXPECT_EQ(image.sizeInBytes(), 1920 * 3 * 1080);
    const long pages24 = 1920L * 1080 * 3 / 4096;
    // A 32-bit picture first would add a third; a sanitizer's shadow of what the decoder
    // writes adds a little.
    EXPECT_LT(faults, pages24 + pages24 / 4) << "more than the 3-byte picture was written";
}
#endif

// A picture given as its decoder is decoded when it is first needed, once, and never when
// another picture takes its place first (the built-in background when set-up loads bg.jpg).
TEST(PictureControl, ADeferredPictureIsDecodedOnlyWhenNeeded) {
    const QImage picture = patterned(QSize(64, 36));
    int decoded = 0;
    const auto decoder = [&] {
        ++decoded;
        return picture;
    };
    QWidget window;
    window.resize(128, 72);
    auto* image = new TImage(&window, TImage::Fit::Stretch);
    image->setGeometry(window.rect());

    image->setPicture(decoder);
    image->setPicture(patterned(QSize(32, 18)));
    window.show();
    (void)window.grab();
    EXPECT_EQ(decoded, 0);

    image->setPicture(decoder);
    EXPECT_EQ(decoded, 0);
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(decoded, 1);
    EXPECT_EQ(image->picture(), picture);
    EXPECT_TRUE(image->hasPicture());
    EXPECT_EQ(decoded, 1);
    image->setPicture(picture);
    EXPECT_EQ(window.grab().toImage(), shown) << "drawn as the same picture given at once";
}
