// The host's console: what it shows of the show as the main screen announces each change, its
// buttons, keys typed on it, its live picture of the hall's screen, and its menu entry on a desk
// with one screen.
#include "presenter_fixture.h"

#include "app/consolescreens.h"
#include "app/hallkeys.h"
#include "app/hostconsole.h"
#include "app/livepicture.h"
#include "app/showview.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace vq::test {
namespace {

class HostConsoleTest : public Presenter {
protected:
    std::unique_ptr<HostConsole> console;

    void startWith(const QStringList& changes = {}) {
        installFiles(settingsWith(changes));
        start();
        console = std::make_unique<HostConsole>(*form);
    }
    QLabel* label(const char* name) const {
        auto* l = console->findChild<QLabel*>(QLatin1StringView(name));
        EXPECT_NE(l, nullptr) << name;
        return l;
    }
    QString text(const char* name) const { return label(name)->text(); }
    bool shown(const char* name) const { return label(name)->isVisibleTo(console.get()); }
    QPushButton* button(const QString& text) const {
        for (QPushButton* b : console->findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    void clickButton(const QString& text) const {
        QPushButton* b = button(text);
        click(b, b->rect().center());
    }
    // A key on the console's window, as the desktop delivers it there.
    void keyOnConsole(QEvent::Type type, int key, bool repeat = false) const {
        const QString t = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
        QKeyEvent e(type, key, Qt::NoModifier, t, repeat);
        QCoreApplication::sendEvent(console->windowHandle(), &e);
    }
    void typeOnConsole(int key) const {
        keyOnConsole(QEvent::KeyPress, key);
        keyOnConsole(QEvent::KeyRelease, key);
    }
    bool black() const { return form->Hall->blackedOut(); }
};

TEST_F(HostConsoleTest, FollowsAQuestionWithTheAnswerMarkedUntilTheHallSeesIt) {
    startWith({"shijian=9"});
    EXPECT_EQ(text("phase"), QStringLiteral("尚未出题"));
    EXPECT_EQ(text("nextStep"), QStringLiteral("下一步：下一题"));
    EXPECT_EQ(text("counts"), QStringLiteral("第 0 题 · 剩 5 题"));
    EXPECT_EQ(text("question"), QString()) << "the designer's placeholder is no question";
    EXPECT_EQ(text("answer"), QString());
    EXPECT_FALSE(shown("unrevealed"));

    form->run(ShowCommand::Step); // draw
    const ShowView v = form->view();
    ASSERT_FALSE(v.number.isEmpty());
    EXPECT_EQ(text("number"), QStringLiteral("题号 ") + v.number);
    EXPECT_EQ(text("question"), form->RzLabel1->text());
    EXPECT_EQ(text("answer"), QStringLiteral("答案：") + form->RzLabel2->text());
    EXPECT_TRUE(text("answer").startsWith(QStringLiteral("答案：answer ")));
    EXPECT_TRUE(shown("unrevealed")) << "the hall has not seen the answer";
    EXPECT_EQ(text("unrevealed"), QStringLiteral("（未公布）"));
    EXPECT_EQ(text("phase"), QStringLiteral("题目已出"));
    EXPECT_EQ(text("nextStep"), QStringLiteral("下一步：开始计时"));
    EXPECT_EQ(text("counts"), QStringLiteral("第 1 题 · 剩 4 题"));
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 —"));

    form->run(ShowCommand::Step); // countdown
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 9"));
    EXPECT_EQ(text("nextStep"), QStringLiteral("下一步：显示答案"));
    form->Timer1Timer();
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 8")) << "each tick";
    form->run(ShowCommand::PauseOrContinue);
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 8（已暂停）"));
    form->run(ShowCommand::AddTime);
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 18（已暂停）"));
    form->run(ShowCommand::PauseOrContinue);
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 18"));
    EXPECT_TRUE(shown("unrevealed"));

    form->run(ShowCommand::Step); // reveal
    EXPECT_FALSE(shown("unrevealed"));
    EXPECT_EQ(text("answer"), QStringLiteral("答案：") + form->RzLabel2->text());
    EXPECT_EQ(text("phase"), QStringLiteral("答案已公布"));
    EXPECT_EQ(text("nextStep"), QStringLiteral("下一步：下一题"));
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 —"));

    // A step back takes the answer from the hall again, and the console marks it again.
    form->run(ShowCommand::StepBack);
    EXPECT_TRUE(shown("unrevealed"));
    EXPECT_EQ(text("countdown"), QStringLiteral("倒计时 18（已停止）"));
    EXPECT_EQ(text("nextStep"), QStringLiteral("下一步：显示答案"));

    EXPECT_FALSE(shown("blackOut"));
    form->run(ShowCommand::BlackOut);
    EXPECT_TRUE(shown("blackOut"));
    form->run(ShowCommand::BlackOut);
    EXPECT_FALSE(shown("blackOut"));
    // The next question: the counts go on, its own answer is marked.
    form->run(ShowCommand::Step);
    form->run(ShowCommand::Step);
    EXPECT_EQ(text("counts"), QStringLiteral("第 2 题 · 剩 3 题"));
    EXPECT_TRUE(shown("unrevealed"));
    EXPECT_EQ(text("question"), form->RzLabel1->text());
}

TEST_F(HostConsoleTest, EachButtonRunsItsCommandAndNoneTakesTheFocus) {
    startWith({"shijian=30"});
    for (QPushButton* b : console->findChildren<QPushButton*>())
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << b->text().toStdString();
    clickButton(QStringLiteral("下一步"));
    EXPECT_EQ(counter(), 1);
    const QString first = form->view().number;
    clickButton(QStringLiteral("下一步"));
    EXPECT_EQ(form->view().countdownState, CountdownState::Running);
    clickButton(QStringLiteral("暂停/继续"));
    EXPECT_EQ(form->view().countdownState, CountdownState::Paused);
    clickButton(QStringLiteral("+10 秒"));
    EXPECT_EQ(form->Label1->text(), QStringLiteral("40"));
    clickButton(QStringLiteral("−10 秒"));
    clickButton(QStringLiteral("−10 秒"));
    EXPECT_EQ(form->Label1->text(), QStringLiteral("20"));
    clickButton(QStringLiteral("黑屏"));
    EXPECT_TRUE(black());
    clickButton(QStringLiteral("黑屏"));
    EXPECT_FALSE(black());
    clickButton(QStringLiteral("上一步"));
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(form->view().countdownState, CountdownState::Hidden);
    clickButton(QStringLiteral("换一题"));
    EXPECT_EQ(counter(), 1);
    EXPECT_NE(form->view().number, first);
    EXPECT_EQ(form->view().drawn, 2);
    EXPECT_EQ(form->focusWidget(), form->Button1);

    // The menu's button opens the main screen's own menu, entries of every part included.
    clickButton(QStringLiteral("菜单"));
    EXPECT_TRUE(form->PopupMenu1->isVisible());
    form->PopupMenu1->hide();
}

TEST_F(HostConsoleTest, AKeyOnTheConsoleActsOnceAsOnTheShow) {
    startWith({"shijian=30"});
    console->show();
    ASSERT_NE(console->windowHandle(), nullptr);
    // Space steps on its release; a second press before it, as a held key sends it, is a repeat.
    keyOnConsole(QEvent::KeyPress, Qt::Key_Space);
    keyOnConsole(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(counter(), 0);
    keyOnConsole(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(counter(), 1);
    typeOnConsole(Qt::Key_Return);
    EXPECT_EQ(counter(), 2);
    keyOnConsole(QEvent::KeyPress, Qt::Key_PageDown, true);
    EXPECT_EQ(counter(), 2) << "a flagged repeat";
    keyOnConsole(QEvent::KeyRelease, Qt::Key_PageDown);
    typeOnConsole(Qt::Key_P);
    EXPECT_EQ(form->view().countdownState, CountdownState::Paused);
    // Black-out, and the Space that uncovers does nothing else, on release either.
    typeOnConsole(Qt::Key_B);
    EXPECT_TRUE(black());
    typeOnConsole(Qt::Key_Space);
    EXPECT_FALSE(black());
    EXPECT_EQ(counter(), 2);
    typeOnConsole(Qt::Key_PageDown);
    EXPECT_EQ(counter(), 3);
    typeOnConsole(Qt::Key_PageUp);
    EXPECT_EQ(counter(), 2);
}

TEST_F(HostConsoleTest, NoKeyReachesTheShowUnderTheWelcomeScreen) {
    startWith();
    console->show();
    form5->show();
    typeOnConsole(Qt::Key_Return);
    typeOnConsole(Qt::Key_PageDown);
    EXPECT_EQ(counter(), 0);
    form5->hide();
    typeOnConsole(Qt::Key_PageDown);
    EXPECT_EQ(counter(), 1);
}

TEST_F(HostConsoleTest, TheLivePictureFollowsTheHallCoalescedAndOnlyWhileShown) {
    startWith();
    LivePicture* picture = console->livePicture();
    form->run(ShowCommand::Step);
    QCoreApplication::processEvents();
    EXPECT_EQ(picture->drawings(), 0) << "a hidden console draws nothing";
    console->show();
    QTRY_COMPARE_WITH_TIMEOUT(picture->drawings(), 1, 5000);
    // The main screen's proportions at the picture's height.
    EXPECT_EQ(picture->picture().height(), 270);
    EXPECT_EQ(picture->picture().width(), form->width() * 270 / form->height());
    QCoreApplication::processEvents();
    const int before = picture->drawings();
    for (int i = 0; i < 5; ++i)
        form->announce(ShowChange::Tick);
    form->update();
    QTRY_COMPARE_WITH_TIMEOUT(picture->drawings(), before + 1, 5000);
    // The black-out is the hall's screen too.
    form->run(ShowCommand::BlackOut);
    QTRY_VERIFY_WITH_TIMEOUT(picture->drawings() > before + 1, 5000);
    const QImage shot = picture->picture().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::black));
}

TEST_F(HostConsoleTest, OnOneScreenOnlyTheMenuBringsItAndClosingHidesItOnly) {
    startWith();
    auto* screens = new ConsoleScreens(*console, *form, *form->PopupMenu1, form->N3);
    QAction* item = screens->menuItem();
    ASSERT_TRUE(form->PopupMenu1->actions().contains(item));
    EXPECT_EQ(item->text(), QStringLiteral("主持人视图"));
    EXPECT_LT(form->PopupMenu1->actions().indexOf(item),
              form->PopupMenu1->actions().indexOf(form->N3));
    screens->start();
    EXPECT_FALSE(console->isVisible()) << "one screen: no console by itself";
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(setting("zhuchi"), QStringLiteral("zhuchi")) << "nothing written at start";

    item->trigger();
    EXPECT_TRUE(console->isVisible());
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(setting("zhuchi"), QStringLiteral("1"));

    console->close();
    EXPECT_FALSE(console->isVisible());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(setting("zhuchi"), QStringLiteral("0"));
    EXPECT_TRUE(form->isVisible()) << "the show goes on";
    EXPECT_TRUE(msgs.questions().isEmpty()) << "no exit question";

    item->trigger();
    EXPECT_TRUE(console->isVisible());
    item->trigger();
    EXPECT_FALSE(console->isVisible());
    EXPECT_EQ(setting("zhuchi"), QStringLiteral("0"));
}

TEST(ZhuchiKey, OptionalFlagReadsOnlyOneAndZero) {
    TempInstall inst;
    const vq::Settings s(inst.file("opt.ini"));
    EXPECT_EQ(s.flag(Key::zhuchi), std::nullopt) << "no settings file";
    const struct {
        const char* line;
        std::optional<bool> value;
    } cases[] = {{"zhuchi=1", true},
                 {"zhuchi=0", false},
                 {"zhuchi= 1 ", true},
                 {"zhuchi=", std::nullopt},
                 {"zhuchi=zhuchi", std::nullopt},
                 {"biaoti=0", std::nullopt}};
    for (const auto& c : cases) {
        inst.writeSettings({c.line});
        EXPECT_EQ(s.flag(Key::zhuchi), c.value) << c.line;
    }
    s.writeFlag(Key::zhuchi, false);
    EXPECT_EQ(s.text(Key::zhuchi), QStringLiteral("0"));
}

} // namespace
} // namespace vq::test
