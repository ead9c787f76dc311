// A held key counts once: the step keys and the black-out keys act on a key's first press and
// on nothing until its release, whether or not the desktop flags its repeats.
#include "presenter_fixture.h"

#include "app/hallkeys.h"
#include "app/heldkeys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace vq::test {
namespace {

QString textOf(int key) {
    return key == Qt::Key_Space ? QStringLiteral(" ")
           : key == Qt::Key_B   ? QStringLiteral("b")
                                : QString();
}

// A key event as the desktop hands it to a top-level window, which passes it on to its focused
// widget. `flagged`: the desktop marked it a repeat.
void keyTo(QWindow* window, QEvent::Type type, int key, bool flagged = false,
           Qt::KeyboardModifiers mods = {}, quint32 scanCode = 0) {
    QKeyEvent e(type, key, mods, scanCode, 0, 0, textOf(key), flagged);
    QCoreApplication::sendEvent(window, &e);
}

// A key held down as the desktops deliver it: the first press, then repeats that come as bare
// presses (X with detectable auto-repeat, and X under load), as flagged release and press pairs
// (X when Qt sees the pair) and as flagged presses (Windows), mixed.
void hold(QWindow* window, int key, Qt::KeyboardModifiers mods = {}) {
    keyTo(window, QEvent::KeyPress, key, false, mods);
    for (int i = 0; i < 3; ++i) {
        keyTo(window, QEvent::KeyPress, key, false, mods);
        keyTo(window, QEvent::KeyRelease, key, true, mods);
        keyTo(window, QEvent::KeyPress, key, true, mods);
        keyTo(window, QEvent::KeyPress, key, true, mods);
    }
}
void letGo(QWindow* window, int key, Qt::KeyboardModifiers mods = {}) {
    keyTo(window, QEvent::KeyRelease, key, false, mods);
}

class HeldStepKeys : public Presenter {
protected:
    void SetUp() override {
        installFiles(settingsWith({"shijian=9"}));
        start();
        ASSERT_EQ(form->focusWidget(), form->Button1);
        ASSERT_NE(window(), nullptr);
    }
    bool black() const { return form->Hall->cover()->isVisibleTo(form.get()); }
    void tap(int key) {
        keyTo(window(), QEvent::KeyPress, key);
        letGo(window(), key);
    }
};

TEST_F(HeldStepKeys, EveryStepKeyHeldStepsOnceAndAgainOnlyAfterItsRelease) {
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
    } keys[] = {{Qt::Key_Return, {}},
                {Qt::Key_Enter, Qt::KeypadModifier},
                {Qt::Key_Space, {}},
                {Qt::Key_PageDown, {}},
                {Qt::Key_PageDown, Qt::KeypadModifier}};
    int steps = 0;
    for (const auto& k : keys) {
        hold(window(), k.key, k.mods);
        letGo(window(), k.key, k.mods);
        ++steps;
        ASSERT_EQ(counter(), steps) << "key " << k.key << " held";
        // Pressed again after its release it steps again, also held.
        hold(window(), k.key, k.mods);
        letGo(window(), k.key, k.mods);
        ++steps;
        ASSERT_EQ(counter(), steps) << "key " << k.key << " pressed again";
    }
    EXPECT_EQ(form->focusWidget(), form->Button1);
}

TEST_F(HeldStepKeys, PageUpHeldStepsBackOnceAndAgainAfterItsRelease) {
    for (int i = 0; i < 3; ++i)
        tap(Qt::Key_PageDown); // reveal
    hold(window(), Qt::Key_PageUp);
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(form->Label1->isVisibleTo(form.get())) << "the countdown back";
    letGo(window(), Qt::Key_PageUp);
    tap(Qt::Key_PageDown); // reveal again
    hold(window(), Qt::Key_PageUp);
    letGo(window(), Qt::Key_PageUp);
    EXPECT_EQ(counter(), 2);
}

TEST_F(HeldStepKeys, AHeldKeyThatUncoversTheBlackOutDoesNothingElse) {
    tap(Qt::Key_PageDown);
    tap(Qt::Key_PageDown); // the countdown, so that Page Up would step back
    for (int key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_PageDown, Qt::Key_PageUp}) {
        tap(Qt::Key_B);
        ASSERT_TRUE(black());
        hold(window(), key);
        letGo(window(), key);
        EXPECT_FALSE(black()) << "key " << key;
        EXPECT_EQ(counter(), 2) << "key " << key;
    }
    // B held blacks out once and does not uncover again.
    hold(window(), Qt::Key_B);
    letGo(window(), Qt::Key_B);
    EXPECT_TRUE(black());
}

TEST_F(HeldStepKeys, AKeyPressedOnAnotherWindowIsStillHeldOnTheMainScreen) {
    // The press that closed a message box, its repeats reaching the main screen once the box is
    // gone.
    QWidget box;
    box.show();
    ASSERT_NE(box.windowHandle(), nullptr);
    keyTo(box.windowHandle(), QEvent::KeyPress, Qt::Key_Return);
    for (int i = 0; i < 3; ++i)
        keyTo(window(), QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(counter(), 0);
    letGo(window(), Qt::Key_Return);
    tap(Qt::Key_Return);
    EXPECT_EQ(counter(), 1);
}

TEST_F(HeldStepKeys, AKeyLetGoWhileAnotherProgramHadTheFocusCountsAtItsNextPress) {
    keyTo(window(), QEvent::KeyPress, Qt::Key_Return);
    ASSERT_EQ(counter(), 1);
    // Its release went to the other program.
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    keyTo(window(), QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(counter(), 2);
}

// ---- repeats as every widget of the program gets them ----

// A window that notes each key event its one widget gets: press or release, flagged or not.
class KeyLog : public QWidget {
public:
    struct Entry {
        QEvent::Type type;
        int key;
        bool repeat;
        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> log;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        log.push_back({e->type(), e->key(), e->isAutoRepeat()});
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        log.push_back({e->type(), e->key(), e->isAutoRepeat()});
    }
};

TEST(HeldKeys, APressOfAKeyThatIsDownReachesTheWidgetAsARepeat) {
    HeldKeys held;
    KeyLog w;
    w.setFocusPolicy(Qt::StrongFocus);
    w.show();
    w.setFocus();
    QWindow* window = w.windowHandle();
    ASSERT_NE(window, nullptr);
    const auto P = QEvent::KeyPress, R = QEvent::KeyRelease;
    keyTo(window, P, Qt::Key_A);
    keyTo(window, P, Qt::Key_A);       // an unflagged repeat
    keyTo(window, P, Qt::Key_A, true); // a flagged one
    keyTo(window, P, Qt::Key_B);       // another key meanwhile
    keyTo(window, R, Qt::Key_B);
    keyTo(window, P, Qt::Key_A);
    keyTo(window, R, Qt::Key_A);
    keyTo(window, P, Qt::Key_A); // pressed again
    keyTo(window, R, Qt::Key_A);
    // One physical key whose Qt code changes while it is held (the keypad's 3 and Page Down as
    // Num Lock changes): the same key by its scan code.
    keyTo(window, P, Qt::Key_3, false, Qt::KeypadModifier, 89);
    keyTo(window, P, Qt::Key_PageDown, false, Qt::KeypadModifier, 89);
    keyTo(window, R, Qt::Key_PageDown, false, Qt::KeypadModifier, 89);
    keyTo(window, P, Qt::Key_PageDown, false, Qt::KeypadModifier, 89);
    using E = KeyLog::Entry;
    EXPECT_EQ(w.log, (std::vector<E>{{P, Qt::Key_A, false},
                                     {P, Qt::Key_A, true},
                                     {P, Qt::Key_A, true},
                                     {P, Qt::Key_B, false},
                                     {R, Qt::Key_B, false},
                                     {P, Qt::Key_A, true},
                                     {R, Qt::Key_A, false},
                                     {P, Qt::Key_A, false},
                                     {R, Qt::Key_A, false},
                                     {P, Qt::Key_3, false},
                                     {P, Qt::Key_PageDown, true},
                                     {R, Qt::Key_PageDown, false},
                                     {P, Qt::Key_PageDown, false}}));
}

} // namespace
} // namespace vq::test
