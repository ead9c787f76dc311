// The hall's keys on the main screen: a clicker's Page Down and Page Up, and black-out.
#include "presenter_fixture.h"

#include "app/hallkeys.h"
#include "app/screenchoice.h"
#include "controls/memo.h"

#include "app/timage.h"
#include <QGuiApplication>
#include <QKeyEvent>

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace vq::test {
namespace {

class HallKeys : public Presenter {
protected:
    void startWith(const QStringList& changes = {}) {
        installFiles(settingsWith(changes));
        start();
        ASSERT_EQ(form->focusWidget(), form->Button1);
    }
    // A key as the desktop delivers it to the focused step button.
    void press(int key, Qt::KeyboardModifiers mods = {}, bool repeat = false) {
        const QString text = key == Qt::Key_Space    ? QStringLiteral(" ")
                             : key == Qt::Key_B      ? QStringLiteral("b")
                             : key == Qt::Key_Period ? QStringLiteral(".")
                                                     : QString();
        QKeyEvent down(QEvent::KeyPress, key, mods, text, repeat);
        QKeyEvent up(QEvent::KeyRelease, key, mods, text, repeat);
        QCoreApplication::sendEvent(form->Button1, &down);
        QCoreApplication::sendEvent(form->Button1, &up);
    }
    bool answerShown() const { return form->RzLabel2->isVisibleTo(form.get()); }
    bool countdownShown() const { return form->Label1->isVisibleTo(form.get()); }
    bool black() const { return form->Hall->cover()->isVisibleTo(form.get()); }
    int poolSize() const {
        return int(form->Memo1->toPlainText().split(u'\n', Qt::SkipEmptyParts).size());
    }
};

TEST_F(HallKeys, PageDownStepsLikeSpaceThroughAWholeQuestion) {
    startWith({"shijian=9"});
    press(Qt::Key_PageDown); // draw
    EXPECT_EQ(counter(), 1);
    EXPECT_FALSE(form->RzLabel1->text().isEmpty());
    EXPECT_FALSE(answerShown());
    press(Qt::Key_PageDown, Qt::KeypadModifier); // the keypad's Page Down: countdown
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Label1->text(), QStringLiteral("9"));
    // Key repeat and Shift, Ctrl or Alt held do nothing.
    press(Qt::Key_PageDown, {}, true);
    press(Qt::Key_PageDown, Qt::ShiftModifier);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    press(Qt::Key_PageDown, Qt::AltModifier);
    EXPECT_EQ(counter(), 2);
    press(Qt::Key_PageDown); // reveal
    EXPECT_EQ(counter(), 3);
    EXPECT_TRUE(answerShown());
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(countdownShown());
    EXPECT_EQ(form->focusWidget(), form->Button1);
}

TEST_F(HallKeys, PageUpAfterARevealHidesTheAnswerAndTheNextStepRevealsAgain) {
    startWith({"shijian=9"});
    for (int i = 0; i < 2; ++i)
        press(Qt::Key_PageDown);
    form->Timer1Timer();
    form->Timer1Timer();
    press(Qt::Key_PageDown); // reveal at "7"
    const QString question = form->RzLabel1->text();
    press(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 2);
    EXPECT_FALSE(answerShown());
    EXPECT_TRUE(countdownShown());
    EXPECT_EQ(form->Label1->text(), QStringLiteral("7")) << "the count as the reveal froze it";
    EXPECT_FALSE(form->Timer1->isActive());
    press(Qt::Key_PageDown);
    EXPECT_EQ(counter(), 3);
    EXPECT_TRUE(answerShown());
    EXPECT_FALSE(countdownShown());
    EXPECT_EQ(form->RzLabel1->text(), question);
    // After a reveal whose answer the hot spot hid, a step back works the same way.
    form->Image4Click();
    press(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(countdownShown());
}

TEST_F(HallKeys, PageUpDuringTheCountdownRestartsItFromTheConfiguredLength) {
    startWith({"shijian=6"});
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    form->Timer1Timer();
    form->Timer1Timer();
    ASSERT_EQ(form->Label1->text(), QStringLiteral("4"));
    press(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 1);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(countdownShown());
    // The length is read anew when the countdown starts again.
    setSetting("shijian", "8");
    press(Qt::Key_Space);
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_TRUE(countdownShown());
    EXPECT_EQ(form->Label1->text(), QStringLiteral("8"));
}

TEST_F(HallKeys, PageUpAfterTheCountdownEndedStopsNothingButStepsBack) {
    startWith({"shijian=1"});
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    form->Timer1Timer();
    ASSERT_FALSE(form->Timer1->isActive());
    ASSERT_EQ(form->Label1->text(), QStringLiteral("0"));
    press(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 1);
    EXPECT_FALSE(countdownShown());
    press(Qt::Key_PageDown);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("1"));
    EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(HallKeys, PageUpRightAfterADrawOrAtStartChangesNothing) {
    startWith();
    const QString before = form->RzLabel1->text();
    const int pool = poolSize();
    press(Qt::Key_PageUp); // at start
    EXPECT_EQ(counter(), 0);
    EXPECT_EQ(form->RzLabel1->text(), before);
    EXPECT_EQ(poolSize(), pool);
    press(Qt::Key_PageDown);
    const QString question = form->RzLabel1->text();
    ASSERT_EQ(poolSize(), pool - 1);
    press(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(form->RzLabel1->text(), question);
    EXPECT_EQ(poolSize(), pool - 1) << "a drawn question is never put back";
    EXPECT_FALSE(answerShown());
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(msgs.shown.isEmpty());
}

TEST_F(HallKeys, TwoPageUpsInARowStepBackOnce) {
    startWith({"shijian=9"});
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_PageDown);
    press(Qt::Key_PageUp);
    press(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(countdownShown()) << "the second Page Up must not hide the countdown";
    // Key repeat and modifiers never step back.
    press(Qt::Key_PageDown); // reveal again
    press(Qt::Key_PageUp, {}, true);
    press(Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(counter(), 3);
    // After a forward step, one step back is possible again.
    press(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 2);
}

TEST_F(HallKeys, BlackOutCoversTheScreenWhileTheCountdownTicksOn) {
    startWith({"shijian=5", "shijian_sound=1"});
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    sounds.played.clear();
    const QByteArray settings = inst.readFile("opt.ini");
    press(Qt::Key_B);
    ASSERT_TRUE(black());
    EXPECT_EQ(form->Hall->cover()->geometry(), form->rect());
    // Nothing on the main screen paints over the cover.
    EXPECT_EQ(form->childAt(form->RzLabel1->geometry().center()), form->Hall->cover());
    EXPECT_EQ(form->childAt(form->Image3->geometry().center()), form->Hall->cover());
    EXPECT_TRUE(form->Timer1->isActive());
    form->Timer1Timer();
    form->Timer1Timer();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("3"));
    EXPECT_EQ(sounds.played, (QStringList{inst.file("di.wav"), inst.file("di.wav")}));
    // The step key that uncovers does not step.
    press(Qt::Key_Space);
    EXPECT_FALSE(black());
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(inst.readFile("opt.ini"), settings) << "black-out writes nothing";
}

TEST_F(HallKeys, EveryUncoveringKeyOnlyUncovers) {
    startWith();
    press(Qt::Key_PageDown);
    const QString question = form->RzLabel1->text();
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
    } uncovering[] = {{Qt::Key_B, {}},
                      {Qt::Key_Period, {}},
                      {Qt::Key_Escape, {}},
                      {Qt::Key_Return, {}},
                      {Qt::Key_Enter, Qt::KeypadModifier},
                      {Qt::Key_Space, {}},
                      {Qt::Key_PageDown, {}},
                      {Qt::Key_PageUp, {}},
                      {Qt::Key_Right, {}},
                      {Qt::Key_Down, {}},
                      {Qt::Key_Left, {}},
                      {Qt::Key_Up, {}}};
    for (const auto& k : uncovering) {
        press(Qt::Key_Period);
        ASSERT_TRUE(black());
        press(k.key, k.mods);
        EXPECT_FALSE(black()) << "key " << k.key;
        EXPECT_EQ(counter(), 1) << "key " << k.key;
    }
    EXPECT_EQ(form->RzLabel1->text(), question);
    // Other keys leave it black; Escape without black-out does nothing.
    press(Qt::Key_B);
    press(Qt::Key_Tab);
    press(Qt::Key_A);
    press(Qt::Key_B, {}, true);
    EXPECT_TRUE(black());
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    EXPECT_FALSE(black());
    EXPECT_EQ(counter(), 1);
}

TEST_F(HallKeys, ClickerWorksAfterTheSettingsDialogWasCancelled) {
    startWith();
    form->Button1->clearFocus();
    QTimer::singleShot(0, form3.get(), &QDialog::reject);
    form->N7Click();
    ASSERT_EQ(form->focusWidget(), form->Button1);
    press(Qt::Key_PageDown);
    EXPECT_EQ(counter(), 1);
    press(Qt::Key_B);
    EXPECT_TRUE(black());
}

TEST_F(HallKeys, OneScreenMenuHasNoScreenEntry) {
    startWith();
    if (QGuiApplication::screens().size() != 1)
        GTEST_SKIP() << "needs a desktop with one screen";
    emit form->PopupMenu1->aboutToShow();
    QStringList visible;
    for (QAction* a : form->PopupMenu1->actions())
        if (a->isVisible())
            visible << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(visible, (QStringList{"自动排版", "系统设置", "-", "最小化", "退出系统"}));
    EXPECT_EQ(form->Screens->menuItem()->text(), QStringLiteral("投影屏幕"));
}

// ---- the show's screen from pingmu ----

TEST(ScreenChoice, PingmuNamesAConnectedScreenOrThePrimary) {
    QScreen* primary = QGuiApplication::primaryScreen();
    const QList<QScreen*> screens = vq::ScreenChoice::ordered();
    ASSERT_FALSE(screens.isEmpty());
    EXPECT_EQ(vq::ScreenChoice::named(std::nullopt), primary);
    EXPECT_EQ(vq::ScreenChoice::named(0), primary);
    EXPECT_EQ(vq::ScreenChoice::named(-1), primary);
    EXPECT_EQ(vq::ScreenChoice::named(static_cast<int>(screens.size()) + 1), primary);
    EXPECT_EQ(vq::ScreenChoice::named(1), screens.first());
    const QSize size = primary->geometry().size();
    EXPECT_EQ(vq::ScreenChoice::itemText(1, *primary),
              QStringLiteral("屏幕 1：%1×%2（主屏幕）").arg(size.width()).arg(size.height()));
}

TEST(PingmuKey, OptionalIntegerTellsAbsentAndBadFromANumber) {
    TempInstall inst;
    const vq::Settings s(inst.file("opt.ini"));
    EXPECT_EQ(s.integer(Key::pingmu), std::nullopt) << "no settings file";
    const struct {
        const char* line;
        std::optional<int> value;
    } cases[] = {{"pingmu=2", 2},
                 {"pingmu= 7", 7},
                 {"pingmu=0", 0},
                 {"pingmu=", std::nullopt},
                 {"pingmu=abc", std::nullopt},
                 {"pingmu=pingmu", std::nullopt},
                 {"biaoti=x", std::nullopt}};
    for (const auto& c : cases) {
        inst.writeSettings({c.line});
        EXPECT_EQ(s.integer(Key::pingmu), c.value) << c.line;
    }
    s.writeInteger(Key::pingmu, 3);
    EXPECT_EQ(s.text(Key::pingmu), QStringLiteral("3"));
}

} // namespace
} // namespace vq::test
