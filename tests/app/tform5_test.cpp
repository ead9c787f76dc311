#include "app/pictureprefetch.h"
#include "app/tform5.h"
#include "app/timage.h"

#include "controls/rzcommon.h"
#include "platform/folders.h"
#include "support/input.h"
#include "support/photos.h"
#include "support/recording.h"
#include "support/temp_install.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using vq::test::click;

// A 200 x 50 picture in four vertical bands: red, green, blue, yellow.
QByteArray bandedJpeg() {
    QImage image(200, 50, QImage::Format_RGB32);
    QPainter p(&image);
    const QColor bands[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i)
        p.fillRect(i * 50, 0, 50, 50, bands[i]);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

template <class F> bool waitFor(F condition, int ms) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

// The window's state at the moment it is shown.
class StateAtShow : public QObject {
public:
    Qt::WindowStates seen;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            seen = static_cast<QWidget*>(watched)->windowState();
        return false;
    }
};

class WelcomeScreen : public ::testing::Test {
protected:
    vq::test::TempInstall install;
    vq::test::RecordingMessages boxes;
};

TEST_F(WelcomeScreen, FadesInExactly51TicksAndClicksDoNotSpeedItUp) {
    install.writeFile(QStringLiteral("welcome.jpg"), bandedJpeg());
    TForm5 form;
    form.show();
    ASSERT_TRUE(boxes.shown.isEmpty());
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.opacity(), 255);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 25);

    // Ticks before any click do not happen: the timer is off until the first click.
    click(form.Image1, QPoint(10, 10), Qt::LeftButton);
    EXPECT_TRUE(form.Timer1->isActive());
    for (int tick = 1; tick <= 50; ++tick) {
        form.Timer1Timer();
        ASSERT_EQ(form.opacity(), 255 - 5 * tick);
        // Further clicks while fading change nothing.
        click(form.Image1, QPoint(20, 20), Qt::LeftButton);
        form.Image1Click();
        ASSERT_EQ(form.opacity(), 255 - 5 * tick);
    }
    EXPECT_EQ(form.opacity(), 5);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.Timer1->isActive());

    form.Timer1Timer();
    EXPECT_EQ(form.opacity(), 0);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(WelcomeScreen, GivesBackItsScreenfulOfPixelsOnceFadedOut) {
    install.writeFile(QStringLiteral("welcome.jpg"), bandedJpeg());
    TForm5 form;
    form.show();
    ASSERT_NE(form.backingStore(), nullptr);
    form.Image1Click();
    for (int tick = 1; tick <= 51; ++tick)
        form.Timer1Timer();
    ASSERT_FALSE(form.isVisible());
    // Not shown again during the run: neither the window on the display nor the screenful it
    // was drawn into stay behind.
    EXPECT_EQ(form.backingStore(), nullptr);
    EXPECT_EQ(form.windowHandle(), nullptr);
    EXPECT_TRUE(form.Image1->picture().isNull());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(WelcomeScreen, RealTimerHidesItAfterTheClick) {
    install.writeFile(QStringLiteral("welcome.jpg"), bandedJpeg());
    TForm5 form;
    form.show();
    form.Image1Click();
    // 1275 ms nominal; bounded wait on the condition.
    EXPECT_TRUE(waitFor([&] { return !form.isVisible(); }, 10000));
    EXPECT_EQ(form.opacity(), 0);
}

TEST_F(WelcomeScreen, RightClickDoesNotStartTheFade) {
    install.writeFile(QStringLiteral("welcome.jpg"), bandedJpeg());
    TForm5 form;
    form.show();
    click(form.Image1, QPoint(10, 10), Qt::RightButton);
    EXPECT_FALSE(form.Timer1->isActive());
}

TEST_F(WelcomeScreen, MissingPictureReportsAndShowsPlainButtonFaceWindowThatStillFades) {
    TForm5 form;
    form.show();
    const QString path = QDir::toNativeSeparators(install.file(QStringLiteral("welcome.jpg")));
    ASSERT_EQ(boxes.errors().size(), 1);
    const QString text = boxes.errors().first();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(path)))
        << text.toStdString();
    EXPECT_GT(text.size(), QStringLiteral("Cannot open file \"%1\". ").arg(path).size() + 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.Image1->picture().isNull());

    const QImage shot = form.grab().toImage();
    const QColor face = ColorToQColor(clBtnFace);
    EXPECT_EQ(QColor(shot.pixel(shot.width() / 2, shot.height() / 2)).rgb(), face.rgb());

    click(form.Image1, QPoint(5, 5), Qt::LeftButton);
    for (int tick = 1; tick <= 50; ++tick)
        form.Timer1Timer();
    EXPECT_TRUE(form.isVisible());
    form.Timer1Timer();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(WelcomeScreen, UndecodablePictureIsReportedAndWindowStillShown) {
    install.writeFile(QStringLiteral("welcome.jpg"), QByteArray("not a picture at all"));
    TForm5 form;
    form.show();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_FALSE(boxes.errors().first().startsWith(QStringLiteral("Cannot open file")));
    EXPECT_TRUE(form.isVisible());
}

// A welcome picture cut short shows what it holds, the rest grey; it is reported once, and the
// window is up and fades as usual.
TEST_F(WelcomeScreen, CutPictureShowsWhatItHoldsAndIsReportedOnce) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    vq::test::quarters(QSize(600, 400)).save(&buffer, "JPG", 90);
    install.writeFile(QStringLiteral("welcome.jpg"), bytes.left(bytes.size() / 4));
    TForm5 form;
    form.show();
    EXPECT_EQ(boxes.errors(), QStringList{QStringLiteral("welcome.jpg: JPEG 文件提前结束.")});
    ASSERT_TRUE(form.isVisible());
    const QImage shot = form.grab().toImage();
    EXPECT_TRUE(near(shot.pixel(shot.width() / 4, 3), vq::test::kQuarterColours[0]));
    EXPECT_TRUE(vq::test::nearColour(shot.pixelColor(shot.width() / 4, shot.height() - 3),
                                     QColor(128, 128, 128), 2));
    form.Image1Click();
    for (int tick = 1; tick <= 51; ++tick)
        form.Timer1Timer();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(boxes.shown.size(), 1);
}

// Phones store a photograph's pixels as the phone was held and say in its Exif block how to show
// it: the welcome picture stands upright in each of the eight orientations, and a 4000 x 3000
// photo taken upright is stretched over the screen as it stands (3000 x 4000).
TEST_F(WelcomeScreen, PhotographsStandUpright) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        install.writeFile(QStringLiteral("welcome.jpg"),
                          vq::test::orientedJpeg(vq::test::quarters(QSize(600, 400)), orientation));
        TForm5 form;
        form.show();
        EXPECT_TRUE(boxes.shown.isEmpty());
        EXPECT_EQ(form.Image1->picture().size(), QSize(600, 400).boundedTo(form.size()));
        EXPECT_TRUE(vq::test::showsQuarters(form.grab().toImage()));
    }
    install.writeFile(QStringLiteral("welcome.jpg"),
                      vq::test::orientedJpeg(vq::test::quarters(QSize(3000, 4000)), 6, 60));
    // Loaded when shown, or decoded ahead by the start (which found it would be shown): the
    // same, and the one decoded ahead is taken.
    for (const bool ahead : {false, true}) {
        SCOPED_TRACE(ahead ? "decoded ahead" : "loaded when shown");
        const QString path = vq::programFolder() + QStringLiteral("welcome.jpg");
        TForm5 form;
        std::optional<vq::PicturePrefetch> prefetch;
        if (ahead) {
            prefetch.emplace(path, form.screen()->geometry().size());
            form.WelcomePrefetch = &*prefetch;
        }
        form.show();
        EXPECT_TRUE(boxes.shown.isEmpty());
        if (ahead) {
            EXPECT_FALSE(prefetch->take(path, form.size())) << "the picture decoded ahead was left";
        }
        EXPECT_TRUE(vq::test::showsQuarters(form.grab().toImage())); // drawn the quick way
        QCoreApplication::processEvents();                           // then smoothly
        EXPECT_EQ(form.Image1->picture().size(), form.size());
        EXPECT_TRUE(vq::test::showsQuarters(form.Image1->picture()));
        EXPECT_TRUE(vq::test::showsQuarters(form.grab().toImage()));
    }
}

TEST_F(WelcomeScreen, PictureIsStretchedOverTheWholeWindowInBothDirections) {
    install.writeFile(QStringLiteral("welcome.jpg"), bandedJpeg());
    TForm5 form;
    form.show();
    ASSERT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(form.Image1->geometry(), form.rect());
    // Covers the screen, whatever the designed size.
    EXPECT_EQ(form.geometry(), form.screen()->geometry());

    const QImage shot = form.grab().toImage();
    const int w = shot.width(), h = shot.height();
    ASSERT_GT(w, 200);
    ASSERT_GT(h, 50);
    const QColor bands[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i) {
        const int x = w * (2 * i + 1) / 8;
        EXPECT_TRUE(near(shot.pixel(x, 2), bands[i])) << "band " << i << " top";
        EXPECT_TRUE(near(shot.pixel(x, h - 3), bands[i])) << "band " << i << " bottom";
    }
    // The band edges scale with the width: just inside each quarter.
    EXPECT_TRUE(near(shot.pixel(w / 4 - 8, h / 2), Qt::red));
    EXPECT_TRUE(near(shot.pixel(w / 4 + 8, h / 2), Qt::green));
    EXPECT_TRUE(near(shot.pixel(w - 4, h / 2), Qt::yellow));
}

TEST_F(WelcomeScreen, DesignedWindowState) {
    install.writeFile(QStringLiteral("welcome.jpg"), bandedJpeg());
    TForm5 form;
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // Made on the display server only when it is shown: most starts never show it.
    EXPECT_FALSE(form.testAttribute(Qt::WA_WState_Created));
    EXPECT_EQ(form.opacity(), 255);
    StateAtShow state;
    form.installEventFilter(&state);
    form.show();
    EXPECT_TRUE(state.seen.testFlag(Qt::WindowMaximized));
    EXPECT_DOUBLE_EQ(form.windowOpacity(), 1.0);
}

TEST_F(WelcomeScreen, PreviewKeepsTheGivenGeometry) {
    TForm5 form;
    form.setMaximizedWhenShown(false);
    form.setGeometry(40, 30, 320, 200);
    StateAtShow state;
    form.installEventFilter(&state);
    form.show();
    EXPECT_FALSE(state.seen.testFlag(Qt::WindowMaximized));
    EXPECT_EQ(form.geometry(), QRect(40, 30, 320, 200));
}

} // namespace
