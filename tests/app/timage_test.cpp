// The picture control's repaint: a part made of several rectangles, of any heights, shows
// exactly the picture's pixels there and leaves the rest alone.
#include "app/picturereader.h"
#include "app/timage.h"

#include <QImage>
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

// The part drawn from `held` (the picture as the control keeps it) against `picture`'s
// pixels; the number of pixels that differ.
int wrongPixels(const QImage& picture, const QImage& held, const QRegion& parts) {
    QWidget window;
    window.resize(picture.size());
    auto* image = new TImage(&window, TImage::Fit::Stretch);
    image->setGeometry(window.rect());
    image->setPicture(held);

    QImage shown(window.size(), QImage::Format_RGB32);
    const QRgb untouched = qRgb(255, 0, 255);
    shown.fill(untouched);
    // The part is drawn at its own place: the target offset is where its bounding rectangle goes.
    image->render(&shown, parts.boundingRect().topLeft(), parts);

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
    QWidget window;
    window.resize(1280, 720);
    auto* image = new TImage(&window, TImage::Fit::Stretch);
    image->setGeometry(window.rect());
    image->setPicture(picture);
    const QImage wide = window.grab().toImage();
    image->setPicture(vq::compactPicture(picture));
    EXPECT_EQ(window.grab().toImage(), wide);
}

} // namespace
