// Start-up set-up of the main screen and its failure rows.
#include "presenter_fixture.h"

#include "app/pictureprefetch.h"
#include "app/tcustomlabel.h"
#include "app/timage.h"
#include "app/trzlabel.h"
#include "controls/memo.h"
#include "controls/rzcoloredit.h"
#include "controls/rzspinner.h"
#include "support/photos.h"
#include "support/system_reasons.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

namespace vq::test {
namespace {

class MainScreenSetUp : public Presenter {
protected:
    // A start whose background was decoded ahead, on a second thread, while the windows were
    // made (as the program starts), or not; the windows of an earlier start go first.
    void startWithBackground(bool decodedAhead) {
        form5.reset();
        form3.reset();
        module.reset();
        form.reset();
        create();
        std::optional<PicturePrefetch> ahead;
        if (decodedAhead) {
            ahead.emplace(inst.file("bg.jpg"), form->size());
            form->BackgroundPrefetch = &*ahead;
        }
        msgs.clear();
        form->show();
        form->BackgroundPrefetch = nullptr;
        m_leftAhead = decodedAhead && ahead->take(inst.file("bg.jpg"), form->size()).has_value();
    }
    // Whether the picture decoded ahead was still there after set-up: set-up did not ask for it.
    bool m_leftAhead = false;
};

QByteArray jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

TEST_F(MainScreenSetUp, LaysOutTheScreenAndFillsTheDialogFromTheSettings) {
    installFiles(settingsWith({"biaoti_left=40", "biaoti_top=30", "shijian_left=700",
                               "shijian_top=90", "wenti_left=100", "wenti_top=200", "daan_left=110",
                               "daan_top=300", "wenti_width=500", "daan_width=400",
                               "biaoti_color=255", "shijian_color=-16777214", "biaoti_fontsize=24",
                               "shijian=7", "huanying=0", "shijian_sound=1"}));
    start();
    EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();

    EXPECT_EQ(form->windowTitle(), QStringLiteral("晚会随机出题系统"));
    EXPECT_EQ(form->Label2->pos(), QPoint(40, 30));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("答题活动标题"));
    EXPECT_EQ(form->Label2->fontColor(), 255);
    EXPECT_EQ(form->Label2->font().pixelSize(), fontPixelHeight(24, form->logicalDpiY()));
    EXPECT_EQ(form->Label1->pos(), QPoint(700, 90));
    EXPECT_EQ(form->Label1->text(), QString());
    EXPECT_EQ(form->Label1->fontColor(), -16777214);
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(100, 200));
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(110, 300));
    EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(form->Label3->text(), QStringLiteral("0"));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->Button1->pos(), QPoint(824, -300));
    EXPECT_TRUE(form->Button1->isVisibleTo(form.get()));
    EXPECT_EQ(form->Memo1->y(), -300);
    EXPECT_EQ(form->Image3->geometry(),
              QRect(form->width() - 49 - 30, form->height() - 49 - 60, 49, 49));
    EXPECT_EQ(form->Image4->geometry(), QRect(984, 496, 49, 49));
    EXPECT_TRUE(form->Image3->hasPicture());
    EXPECT_EQ(form->Image3->toolTip(), QStringLiteral("下一步"));

    EXPECT_EQ(form3->RzSpinner2->value(), 7);
    EXPECT_EQ(form3->RzSpinner1->value(), 24);
    EXPECT_EQ(form3->RzColorEdit1->selectedColor(), 255);
    EXPECT_EQ(form3->RzColorEdit2->selectedColor(), -16777214);
    EXPECT_EQ(form3->Edit1->text(), QStringLiteral("答题活动标题"));
    EXPECT_EQ(form3->RzSpinner6->value(), 500);
    EXPECT_EQ(form3->RzSpinner7->value(), 400);
    EXPECT_FALSE(form3->CheckBox3->isChecked());
    EXPECT_TRUE(form3->CheckBox1->isChecked());
    EXPECT_FALSE(form5->isVisible());
    EXPECT_EQ(setting("weizhishezhi"), QStringLiteral("0"));
}

TEST_F(MainScreenSetUp, RunsOnlyAtTheFirstShowing) {
    installFiles();
    start();
    form->Label3->setText(QStringLiteral("5"));
    form->hide();
    form->show();
    EXPECT_EQ(form->Label3->text(), QStringLiteral("5"));
}

TEST_F(MainScreenSetUp, WithoutSettingsFileEndsAtTheFirstWidthAndKeepsTheDesignedLayout) {
    writePictures();
    start();
    ASSERT_EQ(msgs.errors(),
              QStringList{QStringLiteral("'wenti_width' is not a valid integer value.")});
    // Steps 2 and 3 ran: bg.jpg loaded, the answer hidden.
    EXPECT_EQ(form->Image1->picture().size(), QSize(64, 36));
    EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(form->Label1->text(), QStringLiteral("准备计时"));
    EXPECT_EQ(form->Label1->pos(), QPoint(792, 112));
    EXPECT_EQ(form->RzLabel1->text(), QStringLiteral("问"));
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72));
    EXPECT_EQ(form->Button1->geometry(), QRect(824, 632, 75, 25));
    EXPECT_EQ(form->Memo1->toPlainText().trimmed(), QStringLiteral("Memo1"));
    EXPECT_FALSE(form->Image3->hasPicture());
    EXPECT_FALSE(QFile::exists(inst.file("opt.ini"))) << "set-up must not create the file";

    // Every step then fails the same way, and the counter stays.
    msgs.clear();
    form->Image3Click();
    form->Image3Click();
    EXPECT_EQ(msgs.errors().size(), 2);
    EXPECT_EQ(counter(), 0);
}

TEST_F(MainScreenSetUp, BadIntegerStopsAtThatRead) {
    installFiles(settingsWith({"shijian_left=700", "shijian_top=abc", "biaoti_left=5"}));
    start();
    ASSERT_EQ(msgs.errors(), QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    EXPECT_EQ(form->Label1->pos(), QPoint(700, 112));
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72));
    EXPECT_EQ(form->Memo1->toPlainText(), QString()); // step 6 ran
    EXPECT_FALSE(form->Image3->hasPicture());
}

TEST_F(MainScreenSetUp, MissingBackgroundKeepsEverythingDesigned) {
    installFiles();
    QFile::remove(inst.file("bg.jpg"));
    start();
    ASSERT_EQ(msgs.errors().size(), 1);
    EXPECT_EQ(msgs.errors().first(), QStringLiteral("Cannot open file \"%1\". %2.")
                                         .arg(QDir::toNativeSeparators(inst.file("bg.jpg")),
                                              vq::test::missingFileReason()));
    EXPECT_FALSE(form->Image1->picture().isNull()) << "the built-in background stays";
    EXPECT_TRUE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(form->RzLabel2->text(), QStringLiteral("答"));
    EXPECT_EQ(form->Button1->pos(), QPoint(824, 632));
}

TEST_F(MainScreenSetUp, UndecodableBackgroundReportsTheDecoder) {
    installFiles();
    inst.writeFile("bg.jpg", "not a picture");
    start();
    ASSERT_EQ(msgs.errors().size(), 1);
    EXPECT_TRUE(msgs.errors().first().startsWith(QStringLiteral("bg.jpg: ")))
        << msgs.errors().first().toStdString();
    EXPECT_EQ(form->RzLabel2->text(), QStringLiteral("答"));
}

// An interrupted copy leaves bg.jpg cut short: what it holds shows, the rest grey as the decoder
// fills it; the operator is told at that step, once, and set-up goes on to its end. The same
// when the picture was decoded ahead.
TEST_F(MainScreenSetUp, CutBackgroundShowsWhatItHoldsIsReportedOnceAndSetUpGoesOn) {
    installFiles();
    const QByteArray whole = jpegOf(quarters(QSize(640, 360)));
    inst.writeFile("bg.jpg", whole.left(whole.size() / 4));
    for (const bool ahead : {false, true}) {
        SCOPED_TRACE(ahead ? "decoded ahead" : "decoded by set-up");
        startWithBackground(ahead);
        EXPECT_EQ(msgs.errors(), QStringList{QStringLiteral("bg.jpg: JPEG 文件提前结束.")});
        const QImage& picture = form->Image1->picture();
        ASSERT_EQ(picture.size(), QSize(640, 360));
        EXPECT_TRUE(nearColour(picture.pixelColor(100, 5), kQuarterColours[0]));
        EXPECT_EQ(picture.pixelColor(100, 355), QColor(128, 128, 128));
        const QImage shot = form->grab().toImage();
        EXPECT_TRUE(nearColour(shot.pixelColor(shot.width() / 4, 5), kQuarterColours[0]));
        EXPECT_TRUE(nearColour(shot.pixelColor(shot.width() / 4, shot.height() - 5),
                               QColor(128, 128, 128), 2));
        // Set-up ran to its end: the answer hidden, the pool filled, the next-step picture.
        EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
        EXPECT_EQ(form->Memo1->toPlainText().count(u'\n'), 5);
        EXPECT_TRUE(form->Image3->hasPicture());
    }
}

// Phones store a photograph's pixels as the phone was held and say in its Exif block how to show
// it: the background stands upright in each of the eight orientations, and a 4000 x 3000 photo
// taken upright is fitted to the screen as it stands (3000 x 4000), decoded ahead or by set-up.
TEST_F(MainScreenSetUp, PhotographsStandUprightAsBackground) {
    installFiles();
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        inst.writeFile("bg.jpg", orientedJpeg(quarters(QSize(600, 400)), orientation));
        startWithBackground(false);
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        EXPECT_EQ(form->Image1->picture().size(), QSize(600, 400));
        EXPECT_TRUE(showsQuarters(form->Image1->picture()));
    }
    inst.writeFile("bg.jpg", orientedJpeg(quarters(QSize(3000, 4000)), 6, 60));
    for (const bool ahead : {false, true}) {
        SCOPED_TRACE(ahead ? "decoded ahead" : "decoded by set-up");
        startWithBackground(ahead);
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        EXPECT_FALSE(m_leftAhead) << "set-up did not ask for the picture decoded ahead";
        EXPECT_TRUE(showsQuarters(form->grab().toImage())); // drawn the quick way
        QCoreApplication::processEvents();                  // and then smoothly
        EXPECT_EQ(form->Image1->picture().size(), form->size());
        EXPECT_TRUE(showsQuarters(form->Image1->picture()));
        EXPECT_TRUE(showsQuarters(form->grab().toImage()));
    }
}

TEST_F(MainScreenSetUp, ReadOnlySettingsFileEndsBeforeThePoolAndThePicture) {
    installFiles(settingsWith({"weizhishezhi=1"}));
    QFile::setPermissions(inst.file("opt.ini"),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    start();
    ASSERT_FALSE(msgs.errors().isEmpty());
    EXPECT_EQ(msgs.errors().last(),
              QStringLiteral("Unable to write to %1.").arg(inst.file("opt.ini")));
    // The preview of step 22 had happened.
    EXPECT_EQ(form->Label1->text(), QStringLiteral("10"));
    EXPECT_EQ(form->Memo1->toPlainText(), QString());
    EXPECT_FALSE(form->Image3->hasPicture());
    EXPECT_EQ(setting("weizhishezhi"), QStringLiteral("1"));
}

TEST_F(MainScreenSetUp, NextPictureIsLookedUpInTheCurrentFolderOnly) {
    // Program folder = the install, current folder = somewhere else.
    QTemporaryDir elsewhere;
    installFiles();
    // The bank is looked up in the current folder as well.
    QFile::copy(inst.file("db.DLL"), elsewhere.path() + "/db.DLL");
    QDir::setCurrent(elsewhere.path());
    start();
    ASSERT_FALSE(msgs.errors().isEmpty());
    EXPECT_EQ(msgs.errors().last(),
              QStringLiteral("Cannot open file \"%1\". %2.")
                  .arg(QDir::toNativeSeparators(QDir(elsewhere.path()).canonicalPath() +
                                                QStringLiteral("/next.png")),
                       vq::test::missingFileReason()));
    EXPECT_FALSE(form->Image3->hasPicture());
    EXPECT_EQ(form->Image1->picture().size(), QSize(64, 36))
        << "bg.jpg comes from the program folder";
    EXPECT_TRUE(form->Image3->cursor().shape() == Qt::PointingHandCursor);
    QDir::setCurrent(inst.folder());
}

TEST_F(MainScreenSetUp, PositionPreviewHappensOnOneStartOnly) {
    installFiles(settingsWith({"weizhishezhi=1"}));
    start();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("10"));
    EXPECT_EQ(form->RzLabel1->text(), QStringLiteral("问"));
    EXPECT_EQ(form->RzLabel2->text(), QStringLiteral("答"));
    EXPECT_TRUE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(264, 280));
    EXPECT_EQ(setting("weizhishezhi"), QStringLiteral("0"));
}

TEST_F(MainScreenSetUp, WelcomeFlagOnlyExactOne) {
    installFiles(settingsWith({"huanying=2"}));
    start();
    EXPECT_FALSE(form3->CheckBox3->isChecked());
    EXPECT_FALSE(form5->isVisible());
}

TEST_F(MainScreenSetUp, WelcomeScreenShownWithoutWaiting) {
    installFiles(settingsWith({"huanying=1"}));
    start();
    EXPECT_TRUE(form3->CheckBox3->isChecked());
    EXPECT_TRUE(form5->isVisible());
}

TEST_F(MainScreenSetUp, EmptyAndAbsentTitle) {
    installFiles(settingsWith({"biaoti="}));
    start();
    EXPECT_EQ(form->Label2->text(), QString());
    form5.reset();
    form3.reset();
    module.reset();
    form.reset();
    installFiles(settingsWith({"biaoti"}));
    start();
    EXPECT_EQ(form->Label2->text(), QStringLiteral("biaoti"));
    EXPECT_EQ(form3->Edit1->text(), QStringLiteral("biaoti"));
}

TEST_F(MainScreenSetUp, NextStepButtonFollowsTheSizeAndHotSpotStays) {
    installFiles();
    start();
    form->resize(1920, 1080);
    EXPECT_EQ(form->Image3->geometry(), QRect(1920 - 79, 1080 - 109, 49, 49));
    EXPECT_EQ(form->Image1->geometry(), QRect(0, 0, 1920, 1080));
    EXPECT_EQ(form->Image4->pos(), QPoint(984, 496));
}

TEST_F(MainScreenSetUp, NextPictureFitsKeepingItsAspect) {
    installFiles();
    start();
    // 98 x 60 fits 49 x 30, drawn from the top-left, transparent where the picture is.
    QImage shot(form->Image3->size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    form->Image3->render(&shot, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(shot.pixelColor(2, 2).alpha(), 0);
    EXPECT_GT(shot.pixelColor(20, 15).alpha(), 200);
    EXPECT_EQ(shot.pixelColor(20, 40).alpha(), 0) << "nothing below the fitted picture";
}

} // namespace
} // namespace vq::test
