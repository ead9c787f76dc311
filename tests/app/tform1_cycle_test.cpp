// Question cycle, countdown, exit question and keyboard of the main screen.
#include "presenter_fixture.h"

#include "app/tcustomlabel.h"
#include "app/timage.h"
#include "app/trzlabel.h"
#include "support/input.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace vq::test {
namespace {

using Cycle = Presenter;

TEST_F(Cycle, PhasesRotateWithTheCounter) {
    installFiles(settingsWith({"shijian=10"}));
    start();
    form->Image3Click(); // draw
    EXPECT_EQ(counter(), 1);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
    form->Image3Click(); // countdown
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_TRUE(form->Label1->isVisibleTo(form.get()));
    EXPECT_EQ(form->Label1->text(), QStringLiteral("10"));
    form->Image3Click(); // reveal
    EXPECT_EQ(counter(), 3);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(form->Label1->isVisibleTo(form.get()));
    EXPECT_TRUE(form->RzLabel2->isVisibleTo(form.get()));
    form->Image3Click(); // draw again: the counter keeps moving even when the draw fails
    EXPECT_EQ(counter(), 4);
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(Cycle, AnswerSitsBelowTheQuestionWhateverDaanTopSays) {
    installFiles(
        settingsWith({"daan_top=999", "wenti_left=120", "wenti_top=150", "daan_left=130"}));
    start();
    EXPECT_EQ(form->RzLabel2->y(), 999);
    form->Image3Click();
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(120, 150));
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(130, 150 + form->RzLabel1->height() + 30));
    // Places are read anew at every step.
    setSetting("wenti_top", "400");
    form->Image3Click();
    EXPECT_EQ(form->RzLabel2->y(), 400 + form->RzLabel1->height() + 30);
}

TEST_F(Cycle, ThreeLineQuestionPushesTheAnswerDown) {
    installFiles(settingsWith({"wenti_width=300", "wenti_fontsize=14"}));
    start();
    // The question wraps at the configured width as of its last text change.
    form->RzLabel1->setWidth(300);
    const QFontMetrics fm(form->RzLabel1->font());
    QString text;
    while (fm.horizontalAdvance(text) < 300 * 2 + 150)
        text += QStringLiteral("问题");
    form->RzLabel1->setText(text);
    const int height = form->RzLabel1->height();
    ASSERT_GT(height, 2 * fm.lineSpacing()) << "three lines";
    ASSERT_LE(height, 3 * fm.lineSpacing()) << "three lines";
    form->Label3->setText(QStringLiteral("1")); // countdown phase: the text stays
    form->Image3Click();
    EXPECT_EQ(form->RzLabel2->y(), 216 + height + 30);
}

TEST_F(Cycle, CountdownLengthIsReadAsAnInteger) {
    installFiles(settingsWith({"shijian=05"}));
    start();
    form->Image3Click();
    form->Image3Click();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("5"));
}

TEST_F(Cycle, BadCountdownLengthKeepsTheCounter) {
    installFiles(settingsWith({"shijian=x"}));
    start();
    form->Image3Click();
    msgs.clear();
    form->Image3Click();
    EXPECT_EQ(msgs.errors(), QStringList{QStringLiteral("'x' is not a valid integer value.")});
    EXPECT_EQ(counter(), 1);
    EXPECT_TRUE(form->Label1->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(Cycle, MissingWidthStopsTheStepBeforeTheCounter) {
    installFiles();
    start();
    setSetting("daan_width", "wide");
    msgs.clear();
    form->Image3Click();
    EXPECT_EQ(msgs.errors(), QStringList{QStringLiteral("'wide' is not a valid integer value.")});
    EXPECT_EQ(counter(), 0);
}

TEST_F(Cycle, BadPlaceAfterTheCounterMoved) {
    installFiles();
    start();
    setSetting("wenti_top", "top");
    form->Image3Click();
    EXPECT_EQ(counter(), 1);
    EXPECT_TRUE(msgs.errors().contains(QStringLiteral("'top' is not a valid integer value.")));
}

TEST_F(Cycle, HotSpotHidesTheAnswerOnly) {
    installFiles();
    start();
    for (int i = 0; i < 3; ++i)
        form->Image3Click();
    ASSERT_TRUE(form->RzLabel2->isVisibleTo(form.get()));
    click(form->Image4, QPoint(10, 10));
    EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(counter(), 3);
}

TEST_F(Cycle, PoolRunsOutAfterEveryQuestionWasShown) {
    installFiles();
    start();
    ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    QStringList seen;
    for (int q = 0; q < 5; ++q) {
        form->Image3Click();
        seen << form->RzLabel1->text();
        EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
        form->Image3Click();
        form->Image3Click();
        EXPECT_EQ(form->RzLabel2->text(), QString(seen.last()).replace("question", "answer"));
    }
    seen.sort();
    EXPECT_EQ(seen.size(), 5);
    EXPECT_EQ(seen.removeDuplicates(), 0);
    EXPECT_TRUE(msgs.messagesShown().isEmpty());
    const QString lastQuestion = form->RzLabel1->text();
    form->Image3Click();
    EXPECT_EQ(msgs.messagesShown(), QStringList{QStringLiteral("对不起，题库中是否没有题目了？")});
    EXPECT_EQ(form->RzLabel1->text(), lastQuestion);
    EXPECT_TRUE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(form->RzLabel2->y(), form->RzLabel1->y() + form->RzLabel1->height() + 30);
}

// ---- countdown ----

class Countdown : public Presenter {
protected:
    void startCountdown(const QString& length, const QString& sound) {
        installFiles(settingsWith({"shijian=" + length, "shijian_sound=" + sound}));
        start();
        form->Image3Click();
        form->Image3Click();
        ASSERT_TRUE(form->Timer1->isActive());
        sounds.played.clear();
    }
    QString di() const { return inst.file("di.wav"); }
    QString end() const { return inst.file("0.wav"); }
};

TEST_F(Countdown, LengthThreeWithSounds) {
    startCountdown("3", "1");
    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        form->Timer1Timer();
        shown << form->Label1->text();
    }
    EXPECT_EQ(shown, (QStringList{"2", "1", "0"}));
    EXPECT_EQ(sounds.played, (QStringList{di(), di(), di(), end()}));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(form->Label1->isVisibleTo(form.get()));
}

TEST_F(Countdown, LengthOneEndsAtTheFirstTick) {
    startCountdown("1", "1");
    form->Timer1Timer();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("0"));
    EXPECT_EQ(sounds.played, (QStringList{di(), end()}));
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(Countdown, LengthZeroRunsIntoNegativeNumbers) {
    startCountdown("0", "0");
    form->Timer1Timer();
    form->Timer1Timer();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("-2"));
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_TRUE(sounds.played.isEmpty());
}

TEST_F(Countdown, RevealFreezesAndTheNextCountdownStartsAgain) {
    startCountdown("3", "0");
    form->Timer1Timer();
    form->Image3Click(); // reveal
    EXPECT_EQ(form->Label1->text(), QStringLiteral("2"));
    EXPECT_FALSE(form->Label1->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Timer1->isActive());
    form->Image3Click(); // draw
    form->Image3Click(); // countdown
    EXPECT_EQ(form->Label1->text(), QStringLiteral("3"));
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(Countdown, SoundSettingIsReadAtEveryTick) {
    startCountdown("5", "0");
    form->Timer1Timer();
    EXPECT_TRUE(sounds.played.isEmpty());
    setSetting("shijian_sound", "1");
    form->Timer1Timer();
    EXPECT_EQ(sounds.played, QStringList{di()});
    QFile::remove(inst.file("opt.ini"));
    form->Timer1Timer();
    EXPECT_EQ(sounds.played, QStringList{di()});
    EXPECT_EQ(form->Label1->text(), QStringLiteral("2"));
}

// The sound server's connection costs memory and libraries: it is made only where the countdown
// is to be heard, and before its first tick.
TEST_F(Countdown, SoundServiceIsPreparedOnlyWhereTheCountdownIsHeard) {
    installFiles(settingsWith({"shijian=3", "shijian_sound=0"}));
    start();
    form->Image3Click();
    form->Image3Click();
    form->Timer1Timer();
    EXPECT_EQ(sounds.prepared, 0);

    // Switched on in the settings after set-up: prepared as the next countdown starts.
    setSetting("shijian_sound", "1");
    form->Image3Click(); // reveal
    form->Image3Click(); // draw
    EXPECT_EQ(sounds.prepared, 0);
    form->Image3Click(); // countdown
    EXPECT_EQ(sounds.prepared, 1);
    EXPECT_TRUE(sounds.played.isEmpty());

    // On at start: prepared during set-up, long before the first countdown.
    sounds.prepared = 0;
    restart();
    EXPECT_EQ(sounds.prepared, 1);
}

// ---- exit and keyboard ----

TEST_F(Cycle, ExitQuestionNoKeepsRunning) {
    installFiles(settingsWith({"shijian=5"}));
    start();
    form->Image3Click();
    form->Image3Click();
    msgs.answerYes = false;
    form->N1Click();
    ASSERT_EQ(msgs.questions(), QStringList{QStringLiteral(
                                    "程序即将关闭退出！点\"是\"退出程序，点\"否\"返回程序！")});
    EXPECT_EQ(msgs.shown.last().caption, QStringLiteral("提示"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(Cycle, ExitQuestionYesEndsTheEventLoop) {
    installFiles();
    start();
    msgs.answerYes = true;
    QTimer::singleShot(0, form.get(), [this] { form->N1Click(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    guard.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Cycle, EnterAndSpaceClickTheStepButton) {
    installFiles();
    start();
    EXPECT_EQ(form->focusWidget(), form->Button1);
    keyClick(form->Button1, Qt::Key_Return);
    EXPECT_EQ(counter(), 1);
    keyClick(form->Button1, Qt::Key_Space);
    EXPECT_EQ(counter(), 2);
    keyClick(form->Button1, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(counter(), 3);
    keyClick(form->Button1, Qt::Key_Return, Qt::ShiftModifier);
    keyClick(form->Button1, Qt::Key_Tab);
    keyClick(form->Button1, Qt::Key_Home);
    EXPECT_EQ(counter(), 3);
    EXPECT_EQ(form->focusWidget(), form->Button1);
}

TEST_F(Cycle, CancelledSettingsDialogGivesTheFocusBack) {
    installFiles();
    start();
    form->Button1->clearFocus();
    QTimer::singleShot(0, form3.get(), &QDialog::reject);
    form->N7Click();
    EXPECT_EQ(form->focusWidget(), form->Button1);
    keyClick(form->Button1, Qt::Key_Space);
    EXPECT_EQ(counter(), 1);
}

} // namespace
} // namespace vq::test
