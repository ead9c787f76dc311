// Teams and scores on the main screen: set up from opt.ini, scored from the hall's keys, undone,
// kept with the show and recorded beside opt.ini; the ranking's places.
#include "presenter_fixture.h"

#include "app/hallkeys.h"
#include "app/hostconsole.h"
#include "app/keptshow.h"
#include "app/rankingscreen.h"
#include "app/scoreboard.h"
#include "app/scorerecord.h"
#include "app/showstate.h"
#include "app/teams.h"
#include "app/teamsdialog.h"
#include "app/timage.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace vq::test {
namespace {

// A key's native codes as each platform delivers them: X gives the key code and the symbol the
// modifiers chose, Windows the hardware's scan code and the virtual key.
struct NativeKey {
    quint32 scanCode = 0;
    quint32 virtualKey = 0;
};
#ifdef Q_OS_WIN
constexpr NativeKey kShiftedRowOne{0x02, 0x31}; // VK '1'
constexpr NativeKey kKeypadThree{0x51, 0x63};   // VK_NUMPAD3
#else
constexpr NativeKey kShiftedRowOne{10, 0x21}; // XK_exclam
constexpr NativeKey kKeypadThree{89, 0xffb3}; // XK_KP_3
#endif

TEST(Ranking, TeamsOfOneScoreShareAPlaceAndTheNextPlaceSkips) {
    const QList<RankedTeam> r = ranking({90, 120, 120, 80, 90});
    ASSERT_EQ(r.size(), 5);
    EXPECT_EQ((QList<int>{r[0].place, r[1].place, r[2].place, r[3].place, r[4].place}),
              (QList<int>{1, 1, 3, 3, 5}));
    // Teams of one score in their own order.
    EXPECT_EQ((QList<int>{r[0].team, r[1].team, r[2].team, r[3].team, r[4].team}),
              (QList<int>{1, 2, 0, 4, 3}));
}

TEST(TeamScores, UndoTakesBackEveryChangeInTurnCorrectionsAmongThem) {
    Teams t;
    t.setUp({"甲", "乙"}, 100, 10);
    t.add(0, 10);
    t.correct(1, 55);
    t.add(0, -30);
    EXPECT_EQ(t.scores(), (QList<int>{80, 55}));
    EXPECT_TRUE(t.undo());
    EXPECT_EQ(t.scores(), (QList<int>{110, 55}));
    EXPECT_TRUE(t.undo());
    EXPECT_EQ(t.scores(), (QList<int>{110, 100}));
    EXPECT_TRUE(t.undo());
    EXPECT_EQ(t.scores(), (QList<int>{100, 100}));
    EXPECT_FALSE(t.undo());
    // No team there, or a change of nothing: refused, nothing to undo.
    EXPECT_FALSE(t.add(2, 10));
    EXPECT_FALSE(t.correct(0, 100));
    EXPECT_FALSE(t.canUndo());
    // Scores end at an int's range.
    t.correct(0, INT_MAX - 5);
    t.add(0, 10);
    EXPECT_EQ(t.score(0), INT_MAX);
}

TEST(KeptScores, GoThroughTheStateFileWithNamesOfAnyCharacters) {
    KeptShow show;
    show.drawn = QStringList{"3", "1"};
    show.number = "1";
    show.counter = 4;
    show.bank.size = 10;
    show.bank.sha1 = "ab";
    show.scores =
        KeptScores{{"一队,\"甲\"", "鑫淼犇", "x=y"}, {100, -20, 7}, {{1, -10}, {0, 30}}, 123};
    show.otherSections = "[other]\r\nk=v\r\n";
    const QByteArray text = keptShowText(show);
    EXPECT_FALSE(text.contains("鑫")) << "the file stays ASCII";
    EXPECT_EQ(parseKeptShow(text), show);
    // A [scores] section that is not the teams' stays as it was, and the show is still there.
    KeptShow foreign = show;
    foreign.scores.reset();
    foreign.otherSections = "[scores]\r\nteam1=3\r\n";
    EXPECT_EQ(parseKeptShow(keptShowText(foreign)), foreign);
}

class TeamsTest : public Presenter {
protected:
    void startWith(const QStringList& changes) {
        installFiles(settingsWith(changes));
        start();
    }
    void startWithTeams(int n, const QStringList& more = {}) {
        QStringList changes{"shijian=9"};
        for (int i = 1; i <= n; ++i)
            changes << QStringLiteral("duiwu%1=第%1队").arg(i);
        startWith(changes + more);
    }
    // A key as the desktop delivers it: on X the key's code comes with it (10 for the row's 1).
    void press(int key, Qt::KeyboardModifiers mods = {}, bool repeat = false,
               NativeKey native = {}) {
        QKeyEvent down(QEvent::KeyPress, key, mods, native.scanCode, native.virtualKey, 0,
                       QString(), repeat);
        QKeyEvent up(QEvent::KeyRelease, key, mods, native.scanCode, native.virtualKey, 0,
                     QString(), repeat);
        QCoreApplication::sendEvent(form->Button1, &down);
        QCoreApplication::sendEvent(form->Button1, &up);
    }
    QList<int> scores() const { return form->Scores->scores(); }
    QList<ScoreLine> recorded() const {
        return ScoreRecord(inst.file("比赛记录.csv")).linesFrom(0);
    }
    bool boardShown() const { return form->Board->isVisibleTo(form.get()); }
    void stop() {
        form5.reset();
        form3.reset();
        module.reset();
        form.reset();
    }
};

TEST_F(TeamsTest, WithoutTeamsTheScoringKeysDoNothingAndNoBoardIsThere) {
    startWith({"shijian=9"});
    for (int key : {Qt::Key_1, Qt::Key_0, Qt::Key_S, Qt::Key_R})
        press(key);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(boardShown());
    EXPECT_FALSE(form->rankingShown());
    EXPECT_EQ(counter(), 0);
    EXPECT_FALSE(QFile::exists(inst.file("比赛记录.csv")));
    form->run(ShowCommand::Step);
    form->State->flush();
    EXPECT_FALSE(inst.readFile("上一场.ini").contains("[scores]"));
}

TEST_F(TeamsTest, DigitsScoreShiftedDigitsTakeAwayCtrlZUndoesAndHeldKeysActOnce) {
    startWithTeams(10, {"defen=20", "duiwu_fenshu=50"});
    EXPECT_TRUE(boardShown());
    EXPECT_EQ(scores(), QList<int>(10, 50));
    press(Qt::Key_1);
    press(Qt::Key_1, {}, true); // key repeat
    press(Qt::Key_0);           // team 10
    // Shift+1 as the platform delivers it: "!" from the row's 1 key.
    press(Qt::Key_Exclam, Qt::ShiftModifier, false, kShiftedRowOne);
    press(Qt::Key_Exclam, Qt::ShiftModifier, false, kShiftedRowOne);
    press(Qt::Key_3, Qt::KeypadModifier, false, kKeypadThree); // the keypad's 3
    press(Qt::Key_4, Qt::ControlModifier);                     // not a scoring key
    QList<int> expected(10, 50);
    expected[0] = 30;
    expected[2] = 70;
    expected[9] = 70;
    EXPECT_EQ(scores(), expected);
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier, true);
    expected[2] = 50;
    expected[0] = 50;
    EXPECT_EQ(scores(), expected);
    EXPECT_EQ(counter(), 0) << "no scoring key steps the show";
}

TEST_F(TeamsTest, SHidesAndShowsTheBoardAndTheBoardMarksWhoScored) {
    startWithTeams(4);
    press(Qt::Key_S);
    EXPECT_FALSE(boardShown());
    press(Qt::Key_2); // scored while hidden
    press(Qt::Key_S);
    EXPECT_TRUE(boardShown());
    EXPECT_EQ(form->Board->marked(), 1);
    EXPECT_EQ(form->Board->text(), QStringLiteral("第1队 100  第2队 110  第3队 100  第4队 100"));
}

TEST_F(TeamsTest, TheRankingComesWithRAndAStepKeyReturnsWithoutStepping) {
    startWithTeams(3);
    press(Qt::Key_2);
    press(Qt::Key_R);
    EXPECT_TRUE(form->rankingShown());
    EXPECT_EQ(form->Ranking->geometry(), form->rect());
    press(Qt::Key_PageDown);
    EXPECT_FALSE(form->rankingShown());
    EXPECT_EQ(counter(), 0);
    form->run(ShowCommand::Ranking);
    form->run(ShowCommand::Step); // the console's 下一步, a click on the next-step picture
    EXPECT_FALSE(form->rankingShown());
    EXPECT_EQ(counter(), 0);
    press(Qt::Key_R);
    press(Qt::Key_Escape);
    EXPECT_FALSE(form->rankingShown());
    form->run(ShowCommand::Step);
    EXPECT_EQ(counter(), 1);
}

TEST_F(TeamsTest, TwelveTeamsFitA1024x768ScreenBelowTheQuestionAndLongNamesAreCut) {
    QStringList changes{"shijian=9"};
    for (int i = 1; i <= 12; ++i)
        changes << QStringLiteral("duiwu%1=%2")
                       .arg(i)
                       .arg(i == 5 ? QString(40, QChar(0x9F98)) : QStringLiteral("第%1队").arg(i));
    installFiles(settingsWith(changes));
    create();
    form->resize(1024, 768);
    form->show();
    form->run(ShowCommand::Step);
    ASSERT_EQ(form->Scores->count(), 12);
    const QRect board = form->Board->geometry();
    EXPECT_TRUE(form->rect().contains(board))
        << board.x() << "," << board.y() << " " << board.width() << "x" << board.height();
    EXPECT_FALSE(board.intersects(form->RzLabel1->geometry()));
    EXPECT_FALSE(board.intersects(form->Image3->geometry()));
    // Every entry inside the board, none over another.
    for (int i = 0; i < 12; ++i) {
        EXPECT_TRUE(QRect(QPoint(), board.size()).contains(form->Board->entryRect(i))) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(form->Board->entryRect(i).intersects(form->Board->entryRect(j)));
    }
}

TEST_F(TeamsTest, TheBoardDragsLikeTheTitleAndItsPlaceIsWrittenAtOnce) {
    startWithTeams(2);
    const QPoint from = form->Board->pos();
    form->Board->mouseDown(Qt::LeftButton, {}, 5, 5);
    form->Board->mouseMoved(Qt::LeftButton, {}, 45, 15);
    form->Board->mouseUp(Qt::LeftButton, {}, 45, 15);
    EXPECT_EQ(form->Board->pos(), from + QPoint(40, 10));
    EXPECT_EQ(setting("jifenban_left"), QString::number(from.x() + 40));
    EXPECT_EQ(setting("jifenban_top"), QString::number(from.y() + 10));
    restart();
    EXPECT_EQ(form->Board->pos(), from + QPoint(40, 10));
}

TEST_F(TeamsTest, EveryChangeIsRecordedWithTheQuestionAndARestartAppends) {
    startWithTeams(2);
    form->run(ShowCommand::Step);
    press(Qt::Key_2);
    form->correctScore(0, 75);
    press(Qt::Key_Z, Qt::ControlModifier);
    const QByteArray file = inst.readFile("比赛记录.csv");
    EXPECT_TRUE(file.startsWith("\xEF\xBB\xBF" + ScoreRecord::header()));
    QList<ScoreLine> lines = recorded();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].question, 1);
    EXPECT_EQ(lines[0].team, QStringLiteral("第2队"));
    EXPECT_EQ(lines[0].change, 10);
    EXPECT_EQ(lines[0].score, 110);
    EXPECT_EQ(lines[1].change, -25);
    EXPECT_EQ(lines[1].what, QStringLiteral("更正"));
    EXPECT_EQ(lines[2].change, 25);
    EXPECT_EQ(lines[2].score, 100);
    EXPECT_EQ(lines[2].what, QStringLiteral("撤销"));
    EXPECT_TRUE(file.endsWith("\r\n"));
    restart();
    form->State->newShowAction()->trigger();
    press(Qt::Key_1, Qt::ShiftModifier);
    lines = recorded();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[3].change, -10);
    EXPECT_EQ(lines[3].score, 90);
    EXPECT_EQ(inst.readFile("比赛记录.csv").count("\xEF\xBB\xBF"), 1);
}

TEST_F(TeamsTest, ScoresComeBackWithAResumedShowAndANewShowStartsAtTheStartScore) {
    startWithTeams(3);
    form->run(ShowCommand::Step);
    press(Qt::Key_1);
    press(Qt::Key_3);
    press(Qt::Key_3);
    form->State->flush();
    restart();
    EXPECT_EQ(scores(), (QList<int>{100, 100, 100})) << "nothing taken up before the choice";
    form->State->resumeAction()->trigger();
    EXPECT_EQ(scores(), (QList<int>{110, 100, 120}));
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(scores(), (QList<int>{110, 100, 100}));
    form->State->flush();
    restart();
    form->State->newShowAction()->trigger();
    EXPECT_EQ(scores(), (QList<int>{100, 100, 100}));
    EXPECT_FALSE(form->Scores->canUndo());
}

TEST_F(TeamsTest, ChangesTheStateFileMissedAreTakenFromTheRecord) {
    startWithTeams(2);
    form->run(ShowCommand::Step);
    press(Qt::Key_1);
    form->State->flush();
    const QByteArray state = inst.readFile("上一场.ini");
    press(Qt::Key_2);
    press(Qt::Key_2);
    press(Qt::Key_Z, Qt::ControlModifier);
    form->State->flush();
    stop();
    // Killed after the record's lines, before the state file caught up with them.
    inst.writeFile("上一场.ini", state);
    start();
    form->State->resumeAction()->trigger();
    EXPECT_EQ(scores(), (QList<int>{110, 110}));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(scores(), (QList<int>{110, 100}));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(scores(), (QList<int>{100, 100}));
}

TEST_F(TeamsTest, TheConsoleScoresEachTeamTakesATypedScoreAndShowsTheBoardAndTheRanking) {
    startWithTeams(12);
    HostConsole console(*form);
    const auto buttons = [&](const QString& text) {
        QList<QPushButton*> out;
        for (QPushButton* b : console.findChildren<QPushButton*>())
            if (b->text() == text)
                out << b;
        return out;
    };
    ASSERT_EQ(buttons("+").size(), 12);
    ASSERT_EQ(buttons("−").size(), 12);
    // Team 12, out of the keyboard's reach.
    click(buttons("+")[11], buttons("+")[11]->rect().center());
    click(buttons("−")[0], buttons("−")[0]->rect().center());
    EXPECT_EQ(form->Scores->score(11), 110);
    EXPECT_EQ(form->Scores->score(0), 90);
    QList<QLabel*> shown;
    for (QLabel* l : console.findChildren<QLabel*>("teamScore"))
        shown << l;
    ASSERT_EQ(shown.size(), 12);
    EXPECT_EQ(shown[11]->text(), QStringLiteral("110"));

    QLineEdit* typed = console.findChildren<QLineEdit*>("typedScore").value(2);
    ASSERT_NE(typed, nullptr);
    typed->setText("-35");
    emit typed->returnPressed();
    EXPECT_EQ(form->Scores->score(2), -35);
    EXPECT_EQ(shown[2]->text(), QStringLiteral("-35"));
    EXPECT_TRUE(typed->text().isEmpty());

    click(buttons(QStringLiteral("撤销"))[0], {5, 5});
    EXPECT_EQ(form->Scores->score(2), 100);
    click(buttons(QStringLiteral("计分板"))[0], {5, 5});
    EXPECT_FALSE(boardShown());
    click(buttons(QStringLiteral("排名"))[0], {5, 5});
    EXPECT_TRUE(form->rankingShown());
    EXPECT_EQ(recorded().size(), 4);
}

TEST_F(TeamsTest, WithoutTeamsTheConsoleOffersOnlyTheirSetUpAndTheMenuIsAsBefore) {
    startWith({"shijian=9"});
    HostConsole console(*form);
    EXPECT_TRUE(console.findChildren<QPushButton*>("teamButton").isEmpty());
    QStringList shown;
    for (const QPushButton* b :
         console.findChild<QWidget*>("consoleScores")->findChildren<QPushButton*>())
        if (b->isVisibleTo(&console))
            shown << b->text();
    EXPECT_EQ(shown, QStringList{QStringLiteral("队伍设置")});
    EXPECT_EQ(form->TeamsAction, nullptr);
    EXPECT_EQ(form->PopupMenu1->actions().size(), 6);
}

// The dialog as the operator fills it in: accepted once the event loop runs it.
void fillTeamsDialog(const QStringList& names, int start, int step) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<TeamsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (int i = 0; i < Teams::kMaxTeams; ++i)
            dialog->nameField(i)->setText(names.value(i));
        dialog->startScoreField()->setValue(start);
        dialog->stepField()->setValue(step);
        dialog->accept();
    });
}

TEST_F(TeamsTest, TheTeamsDialogSetsTeamsUpFromTheConsoleAndWritesThemToOptIni) {
    startWith({"shijian=9"});
    HostConsole console(*form);
    QPushButton* setUp = nullptr;
    for (QPushButton* b : console.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("队伍设置"))
            setUp = b;
    ASSERT_NE(setUp, nullptr);
    fillTeamsDialog({"喆堃队", "", "蓝队"}, 50, 5);
    click(setUp, setUp->rect().center());
    EXPECT_EQ(form->Scores->names(), (QStringList{"喆堃队", "蓝队"}));
    EXPECT_EQ(form->Scores->scores(), (QList<int>{50, 50}));
    EXPECT_TRUE(boardShown());
    EXPECT_NE(form->TeamsAction, nullptr);
    EXPECT_EQ(console.findChildren<QPushButton*>("teamButton").size(), 4);
    EXPECT_EQ(setting("duiwu1"), QStringLiteral("喆堃队"));
    EXPECT_EQ(setting("duiwu3"), QStringLiteral("蓝队"));
    EXPECT_EQ(setting("duiwu_fenshu"), QStringLiteral("50"));
    press(Qt::Key_2);
    EXPECT_EQ(form->Scores->score(1), 55);
    // The same teams with a new step: the scores stay.
    fillTeamsDialog({"喆堃队", "", "蓝队"}, 50, 20);
    form->TeamsAction->trigger();
    EXPECT_EQ(form->Scores->score(1), 55);
    press(Qt::Key_1, Qt::ShiftModifier);
    EXPECT_EQ(form->Scores->score(0), 30);
    // All names cleared: no teams, no board, the menu as before.
    fillTeamsDialog({}, 50, 20);
    form->TeamsAction->trigger();
    EXPECT_FALSE(form->Scores->any());
    EXPECT_FALSE(boardShown());
    EXPECT_EQ(form->TeamsAction, nullptr);
    restart();
    EXPECT_FALSE(form->Scores->any());
}

} // namespace
} // namespace vq::test
