// The show's commands beyond the written steps: the countdown held and changed, the arrows that
// clickers send, 换一题, and the announcements each change of the show makes.
#include "presenter_fixture.h"

#include "app/hallkeys.h"
#include "app/showview.h"
#include "controls/memo.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>

namespace vq::test {
namespace {

class ShowCommands : public Presenter {
protected:
    void startWith(const QStringList& changes = {}) {
        installFiles(settingsWith(changes));
        start();
    }
    void press(int key, Qt::KeyboardModifiers mods = {}, bool repeat = false) {
        QKeyEvent down(QEvent::KeyPress, key, mods, QString(), repeat);
        QKeyEvent up(QEvent::KeyRelease, key, mods, QString(), repeat);
        QCoreApplication::sendEvent(form->Button1, &down);
        QCoreApplication::sendEvent(form->Button1, &up);
    }
    // Steps to a running countdown.
    void countingDown() {
        press(Qt::Key_PageDown);
        press(Qt::Key_PageDown);
        ASSERT_TRUE(form->Timer1->isActive());
    }
    CountdownState countdown() const { return form->view().countdownState; }
    QString count() const { return form->Label1->text(); }
    QStringList endSounds() const { return sounds.played.filter(QStringLiteral("0.wav")); }
};

TEST_F(ShowCommands, PauseHoldsTheCountWithoutTicksAndContinueGoesOnFromIt) {
    startWith({"shijian=3", "shijian_sound=1"});
    countingDown();
    form->Timer1Timer();
    ASSERT_EQ(count(), QStringLiteral("2"));
    press(Qt::Key_P);
    EXPECT_EQ(countdown(), CountdownState::Paused);
    EXPECT_FALSE(form->Timer1->isActive()) << "a held countdown must not tick";
    EXPECT_EQ(count(), QStringLiteral("2"));
    // A held key is one press: its repeats do not let the countdown go.
    press(Qt::Key_P, {}, true);
    EXPECT_EQ(countdown(), CountdownState::Paused);
    press(Qt::Key_P);
    EXPECT_EQ(countdown(), CountdownState::Running);
    EXPECT_EQ(count(), QStringLiteral("2"));
    form->Timer1Timer();
    form->Timer1Timer();
    EXPECT_EQ(count(), QStringLiteral("0"));
    EXPECT_EQ(endSounds().size(), 1);
    // Ended: P has nothing to hold.
    press(Qt::Key_P);
    EXPECT_EQ(countdown(), CountdownState::Stopped);
    EXPECT_FALSE(form->Timer1->isActive());
}

TEST_F(ShowCommands, TenSecondsMoreOrLessWhileCountingOrHeldButNeverToTheEnd) {
    startWith({"shijian=15", "shijian_sound=1"});
    countingDown();
    press(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(count(), QStringLiteral("25"));
    press(Qt::Key_Equal);
    press(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(count(), QStringLiteral("45"));
    press(Qt::Key_P);
    press(Qt::Key_Minus);
    EXPECT_EQ(count(), QStringLiteral("35"));
    EXPECT_EQ(countdown(), CountdownState::Paused) << "a change does not let a held count go";
    for (int i = 0; i < 5; ++i)
        press(Qt::Key_Minus);
    EXPECT_EQ(count(), QStringLiteral("1"));
    EXPECT_TRUE(endSounds().isEmpty()) << "the end sound comes only from a tick";
    press(Qt::Key_P);
    form->Timer1Timer();
    EXPECT_EQ(count(), QStringLiteral("0"));
    EXPECT_EQ(endSounds().size(), 1);
}

TEST_F(ShowCommands, CountdownKeysLeaveEveryOtherPhaseAlone) {
    startWith({"shijian=9"});
    const auto tryAll = [&] {
        for (int key : {Qt::Key_P, Qt::Key_Plus, Qt::Key_Minus})
            press(key);
    };
    tryAll(); // at start
    EXPECT_EQ(countdown(), CountdownState::Hidden);
    press(Qt::Key_PageDown);
    tryAll(); // a question up
    EXPECT_EQ(countdown(), CountdownState::Hidden);
    EXPECT_FALSE(form->Timer1->isActive());
    press(Qt::Key_PageDown);
    press(Qt::Key_P);
    press(Qt::Key_PageDown); // a reveal ends the held countdown
    tryAll();
    EXPECT_EQ(countdown(), CountdownState::Hidden);
    EXPECT_FALSE(form->Timer1->isActive());
    // The next question's countdown starts at its full length, counting.
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    EXPECT_EQ(countdown(), CountdownState::Running);
    EXPECT_EQ(count(), QStringLiteral("9"));
    // Stepped back while held: stopped, and the next step starts it afresh.
    press(Qt::Key_P);
    press(Qt::Key_PageUp);
    tryAll();
    EXPECT_EQ(countdown(), CountdownState::Hidden);
    press(Qt::Key_PageDown);
    EXPECT_EQ(countdown(), CountdownState::Running);
    EXPECT_EQ(count(), QStringLiteral("9"));
}

TEST_F(ShowCommands, ArrowsStepAndStepBackOncePerPress) {
    startWith({"shijian=9"});
    press(Qt::Key_Right);
    EXPECT_EQ(counter(), 1);
    press(Qt::Key_Down);
    EXPECT_EQ(counter(), 2);
    press(Qt::Key_Down, {}, true);
    press(Qt::Key_Right, {}, true);
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(counter(), 2);
    press(Qt::Key_Left);
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(countdown(), CountdownState::Hidden);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_Up, {}, true);
    EXPECT_EQ(counter(), 3);
    press(Qt::Key_Up);
    EXPECT_EQ(counter(), 2);
    EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
    // An arrow is a step key: it uncovers a black-out and does nothing else.
    press(Qt::Key_B);
    press(Qt::Key_Right);
    EXPECT_FALSE(form->Hall->blackedOut());
    EXPECT_EQ(counter(), 2);
}

TEST_F(ShowCommands, DrawAnotherPutsTheQuestionAsideForGood) {
    startWith({"shijian=9"});
    form->run(ShowCommand::DrawAnother); // before any draw: the first draw
    EXPECT_EQ(counter(), 1);
    QSet<QString> seen{form->view().number};
    form->run(ShowCommand::Step); // counting
    form->run(ShowCommand::DrawAnother);
    EXPECT_EQ(form->view().phase, ShowPhase::Question);
    EXPECT_EQ(countdown(), CountdownState::Hidden);
    EXPECT_FALSE(form->Timer1->isActive());
    seen.insert(form->view().number);
    form->run(ShowCommand::Step);
    form->run(ShowCommand::Step); // revealed
    form->run(ShowCommand::DrawAnother);
    EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
    seen.insert(form->view().number);
    form->run(ShowCommand::DrawAnother);
    seen.insert(form->view().number);
    form->run(ShowCommand::DrawAnother);
    seen.insert(form->view().number);
    // Five questions, five different ones, none left.
    EXPECT_EQ(seen.size(), 5);
    EXPECT_EQ(form->view().drawn, 5);
    EXPECT_EQ(form->view().left, 0);
    EXPECT_EQ(form->Memo1->count(), 0);
}

TEST_F(ShowCommands, EveryChangeIsAnnouncedOnceAndTheViewAgreesWithTheScreen) {
    startWith({"shijian=9"});
    QSignalSpy spy(form.get(), &TForm1::showChanged);
    const auto expectOne = [&](ShowChange change, const char* what) {
        ASSERT_EQ(spy.size(), 1) << what;
        EXPECT_EQ(spy.takeFirst().at(0).value<ShowChange>(), change) << what;
    };
    press(Qt::Key_Space);
    expectOne(ShowChange::Draw, "draw");
    ShowView v = form->view();
    EXPECT_EQ(v.phase, ShowPhase::Question);
    EXPECT_EQ(v.question, form->RzLabel1->text());
    EXPECT_FALSE(v.answerShown);
    EXPECT_FALSE(v.answer.isEmpty()) << "the host may read the answer before the hall";
    EXPECT_EQ(nextStepText(v.phase), QStringLiteral("下一步：开始计时"));
    EXPECT_EQ(v.drawn, 1);
    EXPECT_EQ(v.left, 4);
    press(Qt::Key_Return);
    expectOne(ShowChange::Step, "countdown");
    EXPECT_EQ(nextStepText(form->view().phase), QStringLiteral("下一步：显示答案"));
    form->Timer1Timer();
    expectOne(ShowChange::Tick, "tick");
    press(Qt::Key_P);
    expectOne(ShowChange::Countdown, "pause");
    press(Qt::Key_Minus);
    expectOne(ShowChange::Countdown, "ten seconds less");
    press(Qt::Key_B);
    expectOne(ShowChange::BlackOut, "black-out");
    EXPECT_TRUE(form->view().blackedOut);
    press(Qt::Key_Escape);
    expectOne(ShowChange::BlackOut, "uncovered");
    press(Qt::Key_PageUp);
    expectOne(ShowChange::StepBack, "step back");
    press(Qt::Key_PageDown);
    press(Qt::Key_PageDown);
    spy.clear();
    v = form->view();
    EXPECT_EQ(v.phase, ShowPhase::Answer);
    EXPECT_TRUE(v.answerShown);
    EXPECT_EQ(nextStepText(v.phase), QStringLiteral("下一步：下一题"));
    // What changes nothing says nothing.
    press(Qt::Key_P);
    press(Qt::Key_PageUp);
    press(Qt::Key_PageUp);
    EXPECT_EQ(spy.size(), 1) << "only the first Page Up steps back";
}

} // namespace
} // namespace vq::test
