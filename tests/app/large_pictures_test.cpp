// Pictures far larger than the screen: photographs of tens of megapixels load, decoded at the
// size they are drawn at; a file whose header claims an absurd size is refused.
#include "presenter_fixture.h"

#include "app/pictureprefetch.h"
#include "app/picturereader.h"
#include "app/timage.h"
#include "controls/memo.h"
#include "support/photos.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTimer>
#include <QtEndian>

namespace vq::test {
namespace {

// An 8000 x 6000 colour JPEG (48 megapixels; 183 MB once decoded in full), made once: a dark
// left half, a light right half and a red square at the centre.
const QByteArray& photo48() {
    static const QByteArray bytes = [] {
        QImage image(8000, 6000, QImage::Format_RGB32);
        image.fill(QColor(30, 60, 90));
        QPainter p(&image);
        p.fillRect(4000, 0, 4000, 6000, QColor(220, 210, 180));
        p.fillRect(3000, 2000, 2000, 2000, QColor(200, 20, 20));
        p.end();
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 40);
        return out;
    }();
    return bytes;
}

quint32 crc32(const QByteArray& data) {
    quint32 c = 0xFFFFFFFFu;
    for (const char ch : data) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

QByteArray chunk(const char* type, const QByteArray& data) {
    QByteArray out(4, '\0');
    qToBigEndian(quint32(data.size()), out.data());
    const QByteArray typed = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian(crc32(typed), crc.data());
    return out + typed + crc;
}

// A small PNG file whose header claims 100,000 x 100,000 RGB pixels (30 GB decoded).
QByteArray pngBomb() {
    QByteArray ihdr(13, '\0');
    qToBigEndian(quint32(100000), ihdr.data());
    qToBigEndian(quint32(100000), ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 2; // RGB
    const QByteArray zlib = qCompress(QByteArray(300001, '\0')).mid(4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", zlib) +
           chunk("IEND", {});
}

QImage read(const QByteArray& bytes, const QByteArray& format, QSize shown, QString& error) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return readPicture(reader, shown, error);
}

TEST(PictureReader, DecodesAtTheShownSizeAndRefusesAbsurdHeaders) {
    QString error;
    // Smaller than its own size in both directions: exactly the shown size, colours in place.
    const QImage shown = read(photo48(), "jpeg", QSize(1920, 1080), error);
    ASSERT_FALSE(shown.isNull()) << error.toStdString();
    EXPECT_EQ(shown.size(), QSize(1920, 1080));
    EXPECT_LT(QColor(shown.pixel(100, 540)).lightness(), 90);
    EXPECT_GT(QColor(shown.pixel(1800, 100)).lightness(), 170);
    EXPECT_GT(QColor(shown.pixel(960, 540)).red(), 150);
    // No shown size: the whole picture, which Qt's own limit of 128 MB refused.
    const QImage full = read(photo48(), "jpeg", QSize(), error);
    ASSERT_FALSE(full.isNull()) << error.toStdString();
    EXPECT_EQ(full.size(), QSize(8000, 6000));
    // A picture smaller than the shown size keeps its own size.
    EXPECT_EQ(read(photo48(), "jpeg", QSize(9000, 7000), error).size(), QSize(8000, 6000));
    // Larger in one direction only: only that one shrinks.
    EXPECT_EQ(read(photo48(), "jpeg", QSize(9000, 1000), error).size(), QSize(8000, 1000));

    error.clear();
    EXPECT_TRUE(read(pngBomb(), "png", QSize(1920, 1080), error).isNull());
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_TRUE(read(pngBomb(), "png", QSize(), error).isNull());
    EXPECT_FALSE(error.isEmpty());

    EXPECT_EQ(dctScaledSize(QSize(3840, 2160), QSize(1920, 1080)), QSize(1920, 1080));
    EXPECT_EQ(dctScaledSize(QSize(8000, 6000), QSize(1920, 1080)), QSize(2000, 1500));
    EXPECT_EQ(dctScaledSize(QSize(8000, 6000), QSize(1000, 750)), QSize(1000, 750));
    EXPECT_EQ(dctScaledSize(QSize(2000, 1000), QSize(1920, 1080)), QSize(2000, 1000));
}

// An opaque picture is held in 3 bytes a pixel with exactly the colours the decoder gave;
// one with transparency keeps its alpha.
TEST(PictureReader, OpaquePicturesAreHeldInThreeBytesAPixelWithTheirOwnColours) {
    QString error;
    const QImage shown = read(photo48(), "jpeg", QSize(1920, 1080), error);
    ASSERT_FALSE(shown.isNull()) << error.toStdString();
    EXPECT_EQ(shown.format(), QImage::Format_RGB888);
    EXPECT_EQ(shown.sizeInBytes(), qsizetype(1920) * 1080 * 3);
    QBuffer buffer;
    buffer.setData(photo48());
    buffer.open(QIODevice::ReadOnly);
    QImageReader plain(&buffer, "jpeg");
    plain.setScaledSize(QSize(1920, 1080));
    const QImage decoded = plain.read();
    ASSERT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), decoded);
    // Scaled smoothly after decoding (no DCT step fits 1000 x 700): the same.
    EXPECT_EQ(read(photo48(), "jpeg", QSize(1000, 700), error).format(), QImage::Format_RGB888);

    QImage holed(64, 64, QImage::Format_ARGB32);
    holed.fill(QColor(200, 20, 20));
    holed.setPixel(10, 10, qRgba(0, 0, 0, 0));
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    holed.save(&out, "PNG");
    const QImage read64 = read(png, "png", QSize(), error);
    EXPECT_TRUE(read64.hasAlphaChannel());
    EXPECT_EQ(qAlpha(read64.pixel(10, 10)), 0);
}

// A phone's 4000 x 3000 photograph taken upright: stored lying on its side, with Exif
// orientation 6 (turn a quarter clockwise to show it). Upright it is 3000 x 4000.
const QByteArray& sidewaysPhoto() {
    static const QByteArray bytes = orientedJpeg(quarters(QSize(3000, 4000)), 6, 60);
    return bytes;
}

// Fitted as the upright picture it is: it fills the shown size the way any picture of that shape
// would, not turned after it was fitted to the screen lying down.
TEST(PictureReader, ASidewaysPhotographIsFittedAsItStandsUpright) {
    QString error;
    const QImage shown = read(sidewaysPhoto(), "jpeg", QSize(1920, 1080), error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(shown.size(), QSize(1920, 1080));
    EXPECT_TRUE(showsQuarters(shown));
    const QImage full = read(sidewaysPhoto(), "jpeg", QSize(), error);
    EXPECT_EQ(full.size(), QSize(3000, 4000));
    EXPECT_TRUE(showsQuarters(full));
    // Taller than the screen only once upright: only its height shrinks.
    EXPECT_EQ(read(sidewaysPhoto(), "jpeg", QSize(3500, 3500), error).size(), QSize(3000, 3500));
    // Decoded ahead, on the start's second thread, for the background: as the decoder's own
    // scaling leaves it, upright, for the picture control to scale smoothly after its first
    // frame (see PhotographAsBackgroundLoadsAtTheScreenSize).
    TempInstall inst;
    inst.writeFile("bg.jpg", sidewaysPhoto());
    PicturePrefetch ahead(inst.file("bg.jpg"), QSize(1920, 1080));
    const std::optional<QImage> taken = ahead.take(inst.file("bg.jpg"), QSize(1920, 1080));
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->size(), QSize(3000, 4000));
    EXPECT_TRUE(showsQuarters(*taken));
}

QByteArray jpeg(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return out;
}

// The picture decoded ahead is used only for the same file, unchanged, at the same size; in
// every other case the loading step reads the file itself, in its place, with its own errors.
TEST(PicturePrefetch, OnlyAnUnchangedFileAtTheSameSizeIsTakenAndOnlyOnce) {
    TempInstall inst;
    const QString path = inst.file("bg.jpg");
    inst.writeFile("bg.jpg", jpeg(QSize(400, 200), Qt::blue));
    {
        PicturePrefetch ahead(path, QSize(200, 100));
        const std::optional<QImage> taken = ahead.take(path, QSize(200, 100));
        ASSERT_TRUE(taken.has_value());
        EXPECT_EQ(taken->size(), QSize(200, 100));
        EXPECT_FALSE(ahead.take(path, QSize(200, 100)).has_value());
    }
    {
        PicturePrefetch ahead(path, QSize(200, 100));
        EXPECT_FALSE(ahead.take(path, QSize(300, 100)).has_value());
    }
    {
        PicturePrefetch ahead(path, QSize(200, 100));
        inst.writeFile("bg.jpg", jpeg(QSize(100, 50), Qt::red)); // replaced meanwhile
        EXPECT_FALSE(ahead.take(path, QSize(200, 100)).has_value());
        const QImage loaded = loadPicture(path, QSize(200, 100));
        EXPECT_EQ(loaded.size(), QSize(100, 50));
        EXPECT_GT(QColor(loaded.pixel(50, 25)).red(), 200);
    }
    {
        PicturePrefetch ahead(path, QSize(200, 100));
        QFile::remove(path);
        EXPECT_FALSE(ahead.take(path, QSize(200, 100)).has_value());
    }
    {
        PicturePrefetch ahead(path, QSize(200, 100)); // nothing there to decode
        EXPECT_FALSE(ahead.take(path, QSize(200, 100)).has_value());
    }
}

// A damaged picture decoded ahead is left to the step, which shows what it holds and reports it.
TEST(PicturePrefetch, LeavesADamagedPictureToTheStep) {
    TempInstall inst;
    const QString path = inst.file("bg.jpg");
    inst.writeFile("bg.jpg", photo48().left(photo48().size() / 3));
    PicturePrefetch ahead(path, QSize(1920, 1080));
    EXPECT_FALSE(ahead.take(path, QSize(1920, 1080)).has_value());
    QString damage;
    const QImage loaded = loadPicture(path, QSize(1920, 1080), &damage);
    EXPECT_EQ(loaded.size(), QSize(1920, 1080));
    EXPECT_EQ(damage, QStringLiteral("bg.jpg: JPEG 文件提前结束"));
}

using LargePictures = Presenter;

TEST_F(LargePictures, PhotographAsBackgroundLoadsAtTheScreenSize) {
    installFiles();
    inst.writeFile("bg.jpg", photo48());
    start();
    EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    // Drawn the quick way first; once that frame is out only the smooth copy of the screen's
    // size is held.
    form->grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Image1->picture().size(), form->size());
    // Set-up ran to its end.
    EXPECT_TRUE(form->Image3->hasPicture());
    const QImage shot = form->grab().toImage();
    EXPECT_GT(QColor(shot.pixel(shot.width() / 2, shot.height() / 2)).red(), 150);
    EXPECT_LT(QColor(shot.pixel(5, shot.height() / 2)).lightness(), 90);
}

TEST_F(LargePictures, BombAsNextPictureIsRefusedWithAnErrorBox) {
    installFiles();
    inst.writeFile("next.png", pngBomb());
    start();
    // The reason in the box speaks Chinese, as Qt's own reasons do.
    EXPECT_EQ(msgs.errors(),
              QStringList{QStringLiteral("next.png: 图片太大：100000 × 100000 像素.")});
    EXPECT_FALSE(form->Image3->hasPicture());
    // Everything before step 25 happened.
    EXPECT_EQ(form->Memo1->toPlainText().count(u'\n'), 5);
}

TEST_F(LargePictures, PhotographAsWelcomePictureLoadsAndIsLetGoWhenTheScreenCloses) {
    installFiles(settingsWith({"huanying=1"}));
    inst.writeFile("welcome.jpg", photo48());
    start();
    EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    ASSERT_TRUE(form5->isVisible());
    // Drawn the quick way first, then only the smooth copy of the window's size is held.
    const QImage shot = form5->grab().toImage();
    EXPECT_GT(QColor(shot.pixel(shot.width() / 2, shot.height() / 2)).red(), 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(form5->Image1->picture().size(), form5->size());

    form5->Image1Click();
    for (int tick = 0; tick < 51; ++tick)
        form5->Timer1Timer();
    EXPECT_FALSE(form5->isVisible());
    EXPECT_TRUE(form5->Image1->picture().isNull());
}

} // namespace
} // namespace vq::test
