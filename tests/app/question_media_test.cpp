// A question's own pictures, time and points: the pictures read fitted to their area on a
// thread of their own, hostile files refused without holding the show up, the area from
// opt.ini or beside the question, the countdown's length and the score step from the bank.
#include "presenter_fixture.h"

#include "app/hostconsole.h"
#include "app/mediapicture.h"
#include "app/picturearea.h"
#include "app/pictureloader.h"
#include "app/questionpicture.h"
#include "app/showstate.h"
#include "app/teams.h"
#include "data/bankschema.h"
#include "data/jetwriter.h"
#include "support/photos.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vq::test {
namespace {

namespace schema = vq::bankschema;

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return out;
}

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A 1 x 1 GIF of two frames: the first red, the second black.
QByteArray twoFrameGif() {
    const QByteArray frame1("\x21\xf9\x04\x00\x0a\x00\x00\x00"
                            "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                            "\x02\x02\x44\x01\x00",
                            23);
    const QByteArray frame2("\x21\xf9\x04\x00\x0a\x00\x00\x00"
                            "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                            "\x02\x02\x4c\x01\x00",
                            23);
    return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00", 19) + frame1 +
           frame2 + QByteArray(";");
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

void putBigEndian(QByteArray& bytes, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(v >> (24 - 8 * i));
}

// A PNG whose header claims `width` x `height` RGB pixels, its data cut short after two rows.
QByteArray claimingPng(int width, int height) {
    QByteArray png = encoded(filled(QSize(width, 2), Qt::darkGreen), "PNG");
    // The IHDR chunk's type and data at bytes 12..28, its height at 20..23, its CRC after them.
    putBigEndian(png, 20, quint32(height));
    putBigEndian(png, 29, crc32(png.mid(12, 17)));
    return png;
}

// A BMP header of `width` x `height` 24-bit pixels with no pixels after it.
QByteArray claimingBmp(int width, int height) {
    QByteArray bmp = encoded(filled(QSize(4, 4), Qt::blue), "BMP");
    const auto put = [&](int at, qint32 v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = char(v >> (8 * i));
    };
    put(18, width);
    put(22, height);
    return bmp.left(54);
}

class MediaFiles : public ::testing::Test {
protected:
    TempInstall inst{true};
    QString write(const QString& name, const QByteArray& bytes) {
        QFile f(inst.file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return inst.file(name);
    }
};

TEST_F(MediaFiles, FittedWithItsShapeKeptAtTheSizeShown) {
    QString error;
    // Wider than the area: as wide as the area, its height in proportion.
    QImage wide = readMediaPicture(write("wide.png", encoded(quarters(QSize(800, 200)), "PNG")),
                                   QSize(400, 400), error);
    ASSERT_FALSE(wide.isNull()) << error.toStdString();
    EXPECT_EQ(wide.size(), QSize(400, 100));
    EXPECT_TRUE(showsQuarters(wide));
    // Smaller than the area: enlarged to fit it.
    QImage small = readMediaPicture(write("small.bmp", encoded(quarters(QSize(40, 20)), "BMP")),
                                    QSize(300, 300), error);
    EXPECT_EQ(small.size(), QSize(300, 150));
    EXPECT_TRUE(showsQuarters(small));
    // A strip of one pixel by 4000: one pixel wide still, as tall as the area.
    QImage strip = readMediaPicture(
        write("strip.png", encoded(filled(QSize(1, 4000), QColor(250, 0, 250)), "PNG")),
        QSize(500, 300), error);
    ASSERT_FALSE(strip.isNull()) << error.toStdString();
    EXPECT_EQ(strip.size(), QSize(1, 300));
    EXPECT_TRUE(nearColour(strip.pixelColor(0, 150), QColor(250, 0, 250), 8));
    // The same strip as a one-bit palette picture, as image editors save a picture of one colour.
    QImage mono(1, 4000, QImage::Format_Mono);
    mono.setColorTable({qRgb(250, 0, 250), qRgb(0, 0, 0)});
    mono.fill(0);
    strip = readMediaPicture(write("mono.png", encoded(mono, "PNG")), QSize(500, 300), error);
    ASSERT_FALSE(strip.isNull()) << error.toStdString();
    EXPECT_EQ(strip.size(), QSize(1, 300));
    EXPECT_TRUE(nearColour(strip.pixelColor(0, 150), QColor(250, 0, 250), 8));
    EXPECT_EQ(fittedSize(QSize(4000, 1), QSize(500, 300)), QSize(500, 1));
    EXPECT_EQ(fittedSize(QSize(), QSize(500, 300)), QSize());
}

TEST_F(MediaFiles, APhoneHeldSidewaysStandsUpright) {
    // Stored turned, with Exif orientations 6 and 8 (a quarter either way) and 3 (upside down).
    for (const int orientation : {3, 6, 8}) {
        QString error;
        const QString path = write(QStringLiteral("phone%1.jpg").arg(orientation),
                                   orientedJpeg(quarters(QSize(800, 600)), orientation));
        const QImage shown = readMediaPicture(path, QSize(400, 400), error);
        ASSERT_FALSE(shown.isNull()) << error.toStdString();
        EXPECT_EQ(shown.size(), QSize(400, 300)) << orientation;
        EXPECT_TRUE(showsQuarters(shown)) << orientation;
    }
}

TEST_F(MediaFiles, KnownByWhatTheFileHoldsAndAGifByItsFirstFrame) {
    QString error;
    const QImage png =
        readMediaPicture(write("saved-as.jpg", encoded(filled(QSize(50, 50), Qt::green), "PNG")),
                         QSize(100, 100), error);
    ASSERT_FALSE(png.isNull()) << error.toStdString();
    EXPECT_TRUE(nearColour(png.pixelColor(50, 50), Qt::green, 4));

    const QImage gif = readMediaPicture(write("frames.gif", twoFrameGif()), QSize(80, 60), error);
    ASSERT_FALSE(gif.isNull()) << error.toStdString();
    EXPECT_EQ(gif.size(), QSize(60, 60));
    EXPECT_TRUE(nearColour(gif.pixelColor(30, 30), Qt::red, 4));
}

// None of these may crash the show or hold its thread up; each gives a reason for the console.
TEST_F(MediaFiles, HostileFilesAreRefusedAtOnce) {
    QElapsedTimer clock;
    clock.start();
    const auto refused = [&](const QString& path) {
        QString error;
        const QImage image = readMediaPicture(path, QSize(800, 600), error);
        EXPECT_TRUE(image.isNull()) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
        return error;
    };
    refused(inst.file("none.jpg"));
    QDir(inst.folder()).mkdir("folder.jpg");
    refused(inst.file("folder.jpg"));
#ifdef Q_OS_UNIX
    ASSERT_EQ(::mkfifo(QFile::encodeName(inst.file("pipe.png")).constData(), 0644), 0);
    refused(inst.file("pipe.png"));
#endif
    refused(write("empty.jpg", {}));
    refused(write("noise.png", QByteArray(5000, '\x5a')));
    refused(write("text.jpg", "not a picture at all"));
    // Claims beyond what may be held: refused before anything is decoded.
    EXPECT_TRUE(refused(write("huge.bmp", claimingBmp(10000, 10000))).contains(u"太大"));
    EXPECT_TRUE(refused(write("huger.png", claimingPng(20000, 20000))).contains(u"太大"));

    // 100 megapixels claimed, the rows cut short: decoded down row by row as far as they go.
    QString error;
    const QImage cut =
        readMediaPicture(write("cut.png", claimingPng(10000, 10000)), QSize(800, 600), error);
    EXPECT_FALSE(error.isEmpty());
    if (!cut.isNull()) {
        EXPECT_EQ(cut.size(), QSize(600, 600));
    }

    // A JPEG cut short shows what could be read of it, and says so.
    const QByteArray photo = encoded(quarters(QSize(640, 480)), "JPG");
    const QImage truncated =
        readMediaPicture(write("cut.jpg", photo.left(photo.size() / 2)), QSize(320, 240), error);
    ASSERT_FALSE(truncated.isNull());
    EXPECT_EQ(truncated.size(), QSize(320, 240));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(MediaFiles, TheLoaderDeliversOnTheShowsThreadWithItsTicket) {
    PictureLoader loader;
    QList<LoadedPicture> got;
    QObject::connect(&loader, &PictureLoader::loaded,
                     [&](const LoadedPicture& p) { got.append(p); });
    const int good =
        loader.load(write("a.png", encoded(filled(QSize(64, 32), Qt::red), "PNG")), {128, 128});
    const int bad = loader.load(inst.file("missing.png"), {128, 128});
    EXPECT_NE(good, bad);
    const QDeadlineTimer deadline(10000);
    while (got.size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(got.size(), 2);
    EXPECT_FALSE(loader.busy());
    for (const LoadedPicture& p : got) {
        if (p.ticket == good) {
            EXPECT_EQ(p.picture.size(), QSize(128, 64));
            EXPECT_TRUE(p.error.isEmpty());
        } else {
            EXPECT_EQ(p.ticket, bad);
            EXPECT_TRUE(p.picture.isNull());
            EXPECT_FALSE(p.error.isEmpty());
        }
    }
}

// A large JPEG comes first quickly, decoded at an eighth and enlarged, then sharp: both at the
// fitted size, in that order, under the one ticket.
TEST_F(MediaFiles, ALargePhotographComesQuicklyFirstThenSharp) {
    const QString photo = write("photo.jpg", encoded(quarters(QSize(2400, 1600)), "JPG"));
    QString error;
    const QImage quick = readMediaPicture(photo, QSize(600, 600), error, true);
    ASSERT_FALSE(quick.isNull()) << error.toStdString();
    EXPECT_EQ(quick.size(), QSize(600, 400));
    EXPECT_TRUE(showsQuarters(quick));
    // Where an eighth is all the sharp picture needs, or the picture is no JPEG: no quick one.
    EXPECT_TRUE(readMediaPicture(photo, QSize(300, 300), error, true).isNull());
    EXPECT_TRUE(error.isEmpty());
    const QString png = write("big.png", encoded(quarters(QSize(2400, 1600)), "PNG"));
    EXPECT_TRUE(readMediaPicture(png, QSize(600, 600), error, true).isNull());
    EXPECT_TRUE(error.isEmpty());

    PictureLoader loader;
    QList<LoadedPicture> got;
    QObject::connect(&loader, &PictureLoader::loaded,
                     [&](const LoadedPicture& p) { got.append(p); });
    const int ticket = loader.load(photo, {600, 600});
    const QDeadlineTimer deadline(10000);
    while (loader.busy() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    ASSERT_EQ(got.size(), 2);
    EXPECT_TRUE(got[0].quick);
    EXPECT_FALSE(got[1].quick);
    for (const LoadedPicture& p : got) {
        EXPECT_EQ(p.ticket, ticket);
        EXPECT_EQ(p.picture.size(), QSize(600, 400));
        EXPECT_TRUE(showsQuarters(p.picture));
    }
}

TEST(PictureArea, BesideTheQuestionWhereThereIsRoomElseBelowIt) {
    const QRect next(1920 - 79, 1080 - 109, 49, 49);
    // 1920 wide, the question 882 wide at 42: beside it, down to above the next-step picture.
    EXPECT_EQ(defaultPictureArea({1920, 1080}, QRect(42, 168, 882, 200), next),
              QRect(42 + 882 + 24, 168, 1920 - 30 - (42 + 882 + 24), next.top() - 24 - 168));
    // 1024 wide: no room beside it, so below the room its text takes, as wide as the question.
    const QRect next1024(1024 - 79, 768 - 109, 49, 49);
    const QRect below = defaultPictureArea({1024, 768}, QRect(42, 168, 882, 200), next1024);
    EXPECT_EQ(below, QRect(42, 168 + 200 + 24, 882, next1024.top() - 24 - (168 + 200 + 24)));
    // A question placed off the screen still gives an area of at least a pixel on it.
    const QRect odd = defaultPictureArea({800, 600}, QRect(-5000, 5000, 100, 100), next1024);
    EXPECT_GE(odd.width(), 1);
    EXPECT_GE(odd.height(), 1);
    EXPECT_GE(odd.left(), 0);
    EXPECT_LT(odd.top(), 600);
}

class QuestionMedia : public Presenter {
protected:
    QString media(const QString& name) const {
        return inst.file(schema::kMediaFolder + u'/' + name);
    }
    void writeMedia(const QString& name, const QImage& image, const char* format = "PNG") {
        QDir(inst.folder()).mkpath(schema::kMediaFolder);
        ASSERT_TRUE(image.save(media(name), format));
    }
    // Rows of (question, picture, answer picture, time, points); numbered from 1.
    struct Row {
        QString picture;
        QString answerPicture;
        QVariant time;
        QVariant points;
        QString sound = {};
    };
    void writeRichBank(const QList<Row>& rows) {
        jet::Table t;
        t.name = schema::kTable;
        t.columns = {{schema::kNumber, jet::ColumnType::Long},
                     {schema::kQuestion, jet::ColumnType::Memo},
                     {schema::kAnswer, jet::ColumnType::Memo},
                     {schema::kPicture, jet::ColumnType::Text, 255},
                     {schema::kAnswerPicture, jet::ColumnType::Text, 255},
                     {schema::kTime, jet::ColumnType::Long},
                     {schema::kPoints, jet::ColumnType::Long},
                     {schema::kSound, jet::ColumnType::Text, 255}};
        for (const Row& r : rows) {
            const qint64 n = t.rows.size() + 1;
            t.rows.append({n, QStringLiteral("question %1").arg(n),
                           QStringLiteral("answer %1").arg(n),
                           r.picture.isEmpty() ? QVariant() : QVariant(r.picture),
                           r.answerPicture.isEmpty() ? QVariant() : QVariant(r.answerPicture),
                           r.time, r.points, r.sound.isEmpty() ? QVariant() : QVariant(r.sound)});
        }
        jet::writeDatabase(inst.file("db.DLL"), {t}, {jet::kBankPassword});
    }
    // Until no picture is being read, within a bound.
    void settle() {
        const QDeadlineTimer deadline(10000);
        while (form->Pictures->busy() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        QCoreApplication::processEvents();
        ASSERT_FALSE(form->Pictures->busy());
    }
    QColor shownAt(QPoint local) const {
        return form->Picture->shownPicture().pixelColor(local -
                                                        form->Picture->pictureRect().topLeft());
    }
};

TEST_F(QuestionMedia, PicturesShowInTheirAreaTheAnswersAtTheRevealTheNextQuestionClearsThem) {
    installFiles(settingsWith(
        {"tupian_left=500", "tupian_top=300", "tupian_width=400", "tupian_height=200"}));
    writeMedia(QStringLiteral("q.png"), filled({800, 200}, Qt::red));
    writeMedia(QStringLiteral("a.png"), filled({100, 100}, Qt::blue));
    writeRichBank({{QStringLiteral("q.png"), QStringLiteral("a.png"), 25, QVariant()}});
    start();
    form->Button1->click();
    settle();
    ASSERT_TRUE(form->Picture->isVisibleTo(form.get()));
    EXPECT_EQ(form->Picture->geometry(), QRect(500, 300, 400, 200));
    EXPECT_EQ(form->Picture->pictureRect(), QRect(0, 50, 400, 100));
    EXPECT_TRUE(nearColour(shownAt({200, 100}), Qt::red, 4));

    form->Button1->click(); // the countdown: the question's own 25 seconds
    EXPECT_EQ(form->Label1->text(), "25");
    EXPECT_EQ(form->view().seconds, 25);
    EXPECT_TRUE(nearColour(shownAt({200, 100}), Qt::red, 4));
    form->Button1->click(); // the reveal: the answer's picture, fitted to the area
    EXPECT_EQ(form->Picture->pictureRect(), QRect(100, 0, 200, 200));
    EXPECT_TRUE(nearColour(shownAt({200, 100}), Qt::blue, 4));
    form->Image4Click(); // the hot spot hides the answer and its picture with it
    EXPECT_TRUE(nearColour(shownAt({200, 100}), Qt::red, 4));
    // The bank is used up: the last question stays, with its picture.
    form->Button1->click();
    EXPECT_EQ(msgs.messagesShown().size(), 1);
    EXPECT_TRUE(form->Picture->isVisibleTo(form.get()));
    EXPECT_TRUE(msgs.errors().isEmpty());
}

TEST_F(QuestionMedia, TheNextQuestionClearsTheLastOnesPicturesAndTime) {
    installFiles();
    writeMedia(QStringLiteral("q.png"), filled({80, 60}, Qt::red));
    writeRichBank(
        {{QStringLiteral("q.png"), {}, 40, QVariant()}, {{}, {}, QVariant(), QVariant()}});
    start();
    // Each question in turn, whichever the draw takes first.
    for (int i = 0; i < 2; ++i) {
        form->Button1->click();
        settle();
        const bool first = form->RzLabel1->text() == "question 1";
        EXPECT_EQ(form->Picture->isVisibleTo(form.get()), first);
        if (first) {
            // The default area leaves the question clear: it does not overlap its width.
            const QRect question(256, 216, 600, form->RzLabel1->height());
            EXPECT_FALSE(form->Picture->geometry().intersects(question));
        }
        form->Button1->click();
        EXPECT_EQ(form->Label1->text(), first ? "40" : "10");
        form->Button1->click();
    }
}

TEST_F(QuestionMedia, ABrokenPictureIsANoticeOnTheConsoleAndNothingInTheHall) {
    installFiles();
    QDir(inst.folder()).mkpath(schema::kMediaFolder);
    QFile bad(media("bad.jpg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("broken");
    bad.close();
    writeRichBank({{QStringLiteral("bad.jpg"), QStringLiteral("gone.png"), 12, 5}});
    start();
    HostConsole console(*form);
    QObject::connect(form.get(), &TForm1::noticed, &console, &HostConsole::notice);
    QStringList notices;
    QObject::connect(form.get(), &TForm1::noticed, [&](const QString& n) { notices << n; });
    form->Button1->click();
    settle();
    EXPECT_EQ(form->RzLabel1->text(), "question 1");
    EXPECT_FALSE(form->Picture->isVisibleTo(form.get()));
    ASSERT_EQ(notices.size(), 2);
    for (const QString& n : notices) {
        EXPECT_FALSE(n.contains(u'\n'));
        EXPECT_TRUE(n.startsWith(QStringLiteral("图片无法显示："))) << n.toStdString();
    }
    EXPECT_EQ(console.findChild<QLabel*>("notice")->text(), notices.last());
    EXPECT_TRUE(msgs.shown.isEmpty());
    // The console shows the question's points, and its time before the countdown starts.
    EXPECT_TRUE(console.findChild<QLabel*>("number")->text().contains(QStringLiteral("本题 5 分")));
    EXPECT_EQ(console.findChild<QLabel*>("countdown")->text(),
              QStringLiteral("倒计时 —（本题 12 秒）"));
    form->Button1->click();
    EXPECT_EQ(console.findChild<QLabel*>("countdown")->text(), QStringLiteral("倒计时 12"));
}

TEST_F(QuestionMedia, APictureDraggedIsWrittenAtOnceAndTheNextQuestionStandsThere) {
    installFiles(settingsWith(
        {"tupian_left=500", "tupian_top=300", "tupian_width=400", "tupian_height=200"}));
    writeMedia(QStringLiteral("q.png"), filled({400, 200}, Qt::red));
    writeRichBank({{QStringLiteral("q.png"), {}, QVariant(), QVariant()},
                   {QStringLiteral("q.png"), {}, QVariant(), QVariant()}});
    start();
    form->Button1->click();
    settle();
    const QPoint grab = at(form->Picture, {100, 100});
    press(window(), grab);
    moveTo(window(), grab + QPoint(-60, 40));
    release(window(), grab + QPoint(-60, 40));
    EXPECT_EQ(form->Picture->pos(), QPoint(440, 340));
    EXPECT_EQ(setting("tupian_left"), "440");
    EXPECT_EQ(setting("tupian_top"), "340");
    for (int i = 0; i < 3; ++i)
        form->Button1->click();
    settle();
    EXPECT_EQ(form->Picture->geometry(), QRect(440, 340, 400, 200));
}

TEST_F(QuestionMedia, AQuestionsPointsAreTheStepOfTheTeamsKeys) {
    installFiles(settingsWith({"duiwu1=红队", "duiwu2=蓝队", "defen=10"}));
    writeRichBank({{{}, {}, QVariant(), 30}, {{}, {}, QVariant(), QVariant()}});
    start();
    EXPECT_EQ(form->scoreStepSize(), 10); // nothing drawn yet
    int red = 100, blue = 100;
    for (int i = 0; i < 2; ++i) {
        form->Button1->click();
        const int points = form->RzLabel1->text() == "question 1" ? 30 : 10;
        form->scoreStep(0, 1);
        form->scoreStep(1, -1);
        red += points;
        blue -= points;
        EXPECT_EQ(form->Scores->scores(), (QList<int>{red, blue}));
        form->Button1->click();
        form->Button1->click();
        form->scoreStep(0, 1); // the answer is up: still this question's points
        red += points;
        EXPECT_EQ(form->Scores->score(0), red);
    }
}

// The clip starts with its question through the countdown's sound path, the next step stops it,
// M and the console's button play it again; what cannot play is a line on the console.
TEST_F(QuestionMedia, AQuestionsClipStartsWithItStopsAtTheNextStepAndIsPlayedAgain) {
    installFiles();
    QDir(inst.folder()).mkpath(schema::kMediaFolder);
    for (const char* name : {"歌.wav", "歌.mp3"}) {
        QFile f(media(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(name).endsWith("wav") ? QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16)
                                                 : QByteArray("ID3\x04\0\0\0\0\0\0\0\0"));
    }
    writeRichBank({{{}, {}, QVariant(), QVariant(), QStringLiteral("歌.wav")},
                   {{}, {}, QVariant(), QVariant(), QStringLiteral("歌.mp3")},
                   {{}, {}, QVariant(), QVariant(), QStringLiteral("没有.wav")}});
    start();
    HostConsole console(*form);
    auto* replay = console.findChild<QPushButton*>("replaySound");
    ASSERT_NE(replay, nullptr);
    EXPECT_FALSE(replay->isVisibleTo(&console));
    QStringList notices;
    QObject::connect(form.get(), &TForm1::noticed, [&](const QString& n) { notices << n; });
    const QString wav = media(QStringLiteral("歌.wav"));
    for (int i = 0; i < 3; ++i) {
        sounds.played.clear();
        notices.clear();
        const int stopped = sounds.stopped;
        form->Button1->click();
        const QString q = form->RzLabel1->text();
        EXPECT_TRUE(replay->isVisibleTo(&console));
        if (q == "question 1") {
            EXPECT_EQ(sounds.played, QStringList{wav});
            EXPECT_TRUE(notices.isEmpty());
            keyClick(form->Button1, Qt::Key_M);
            click(replay, replay->rect().center());
            EXPECT_EQ(sounds.played, (QStringList{wav, wav, wav}));
            form->Button1->click(); // the countdown: the clip stops
            EXPECT_EQ(sounds.stopped, stopped + 1);
        } else {
            EXPECT_TRUE(sounds.played.isEmpty());
            ASSERT_EQ(notices.size(), 1);
            EXPECT_TRUE(notices[0].startsWith(QStringLiteral("声音无法播放：")))
                << notices[0].toStdString();
            EXPECT_TRUE(notices[0].contains(q == "question 2" ? QStringLiteral("只能播放 WAV")
                                                              : QStringLiteral("找不到")));
            form->Button1->click();
            EXPECT_EQ(sounds.stopped, stopped); // nothing was playing
        }
        form->Button1->click();
    }
    EXPECT_TRUE(msgs.shown.isEmpty());
}

// T and the console's 停止声音 stop the clip with the question staying up (a host who wants the
// hall quiet for the answers); a clip already stopped is not stopped again, M starts it afresh.
TEST_F(QuestionMedia, TAndTheConsoleStopTheClipWithTheQuestionStayingUp) {
    installFiles();
    QDir(inst.folder()).mkpath(schema::kMediaFolder);
    QFile f(media(QStringLiteral("歌.wav")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16));
    f.close();
    writeRichBank({{{}, {}, QVariant(), QVariant(), QStringLiteral("歌.wav")},
                   {{}, {}, QVariant(), QVariant(), {}}});
    start();
    HostConsole console(*form);
    auto* stop = console.findChild<QPushButton*>("stopSound");
    ASSERT_NE(stop, nullptr);
    EXPECT_FALSE(stop->isVisibleTo(&console));
    for (int i = 0; i < 2; ++i) {
        form->Button1->click();
        const int stopped = sounds.stopped;
        const QString question = form->RzLabel1->text();
        if (question == "question 1") {
            EXPECT_TRUE(stop->isVisibleTo(&console));
            keyClick(form->Button1, Qt::Key_T);
            EXPECT_EQ(sounds.stopped, stopped + 1);
            EXPECT_EQ(form->view().phase, vq::ShowPhase::Question);
            click(stop, stop->rect().center()); // already quiet
            EXPECT_EQ(sounds.stopped, stopped + 1);
            keyClick(form->Button1, Qt::Key_M);
            click(stop, stop->rect().center());
            EXPECT_EQ(sounds.stopped, stopped + 2);
            form->Button1->click(); // the countdown: nothing is playing to stop
            EXPECT_EQ(sounds.stopped, stopped + 2);
        } else {
            EXPECT_FALSE(stop->isVisibleTo(&console));
            keyClick(form->Button1, Qt::Key_T);
            EXPECT_EQ(sounds.stopped, stopped);
            form->Button1->click();
        }
        EXPECT_EQ(form->RzLabel1->text(), question);
        form->Button1->click();
    }
    EXPECT_TRUE(msgs.shown.isEmpty());
}

// A bank with clips has the sound server's connection made at set-up, with the countdown silent,
// so that its first clip does not hold the first question's frame while it is made.
TEST_F(QuestionMedia, ABankWithClipsHasTheSoundServiceReadyBeforeItsFirstQuestion) {
    installFiles(settingsWith({"shijian_sound=0"}));
    writeRichBank({{{}, {}, QVariant(), QVariant(), QStringLiteral("歌.wav")}});
    start();
    EXPECT_EQ(sounds.prepared, 1);
    // Without the column nothing is made before a sound is asked for.
    jet::Table plain = jet::questionTable({{1, "q1", "a1"}});
    jet::writeDatabase(inst.file("db.DLL"), {plain}, {jet::kBankPassword});
    sounds.prepared = 0;
    restart();
    EXPECT_EQ(sounds.prepared, 0);
}

// 继续上一场 brings the question's pictures and time back in its phase; its clip plays again only
// where the question had just been drawn.
TEST_F(QuestionMedia, AResumedShowBringsThePicturesAndTimeBackAndTheClipOnlyAfterADraw) {
    for (const int taken : {1, 3}) {
        SCOPED_TRACE(taken);
        QFile::remove(inst.file(QStringLiteral("上一场.ini")));
        installFiles();
        writeMedia(QStringLiteral("q.png"), filled({80, 60}, Qt::red));
        writeMedia(QStringLiteral("a.png"), filled({80, 60}, Qt::blue));
        QFile clip(media(QStringLiteral("歌.wav")));
        ASSERT_TRUE(clip.open(QIODevice::WriteOnly));
        clip.write(QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16));
        clip.close();
        writeRichBank({{QStringLiteral("q.png"), QStringLiteral("a.png"), 25, QVariant(),
                        QStringLiteral("歌.wav")}});
        form ? restart() : start();
        for (int i = 0; i < taken; ++i)
            form->Button1->click();
        settle();
        restart();
        sounds.played.clear();
        ASSERT_TRUE(form->State->offered());
        form->State->resumeAction()->trigger();
        settle();
        ASSERT_TRUE(form->Picture->isVisibleTo(form.get()));
        const QPoint middle = form->Picture->pictureRect().center();
        EXPECT_TRUE(nearColour(shownAt(middle), taken == 3 ? Qt::blue : Qt::red, 4));
        EXPECT_EQ(sounds.played.size(), taken == 1 ? 1 : 0);
        if (taken == 1) {
            form->Button1->click();
            EXPECT_EQ(form->Label1->text(), "25");
        } else {
            EXPECT_EQ(form->Label1->text(), "25"); // stopped at its full length, hidden
        }
    }
}

// A bank of the three written columns: no picture, the settings' time, the teams' step.
TEST_F(QuestionMedia, ABankWithoutTheColumnsShowsAsItAlwaysHas) {
    installFiles(settingsWith({"duiwu1=红队", "defen=10"}));
    start();
    form->Button1->click();
    EXPECT_FALSE(form->Picture->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Pictures->busy());
    form->Button1->click();
    EXPECT_EQ(form->Label1->text(), "10");
    EXPECT_EQ(form->view().seconds, std::nullopt);
    form->scoreStep(0, 1);
    EXPECT_EQ(form->Scores->score(0), 110);
    // No clip: M plays nothing, no step stops anything.
    keyClick(form->Button1, Qt::Key_M);
    form->Button1->click();
    EXPECT_EQ(sounds.stopped, 0);
    for (const QString& p : sounds.played)
        EXPECT_FALSE(p.contains(schema::kMediaFolder));
}

} // namespace
} // namespace vq::test
