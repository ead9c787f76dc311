#pragma once

#include <QObject>

class QKeyEvent;
class QPushButton;
class QWidget;
class TForm1;

namespace vq {

// The keys a hall adds to the main screen, all taken from the hidden step button that holds
// the keyboard focus: a presentation clicker's Page Down, Right or Down (one step, as Enter and
// Space) and Page Up, Left or Up (one step back inside the current question), black-out on B or
// "." (what clickers send for a blank screen), which covers the main screen until the next B,
// ".", Escape or step key, and the countdown's P (pause, continue), "+" and "-" (ten seconds
// more or less). Timers and sounds go on under the black; nothing is written.
// Where teams are set up: digits 1..9 and 0 score teams 1..10 (Shift+digit takes a step away),
// Ctrl+Z undoes the last change, S shows or hides the scoreboard, R puts up the ranking, which
// Escape, R or any step key takes away again without stepping.
// Each of these keys, Enter and Space among them, acts once per press, however long it is held:
// the program's repeats of a held key all come flagged (HeldKeys), and a repeat does nothing.
class HallKeys : public QObject {
    Q_OBJECT
public:
    explicit HallKeys(TForm1& form);

    // Page Up: after a reveal the answer goes away and the frozen countdown comes back; during
    // or after the countdown the countdown stops and goes away; the step counter goes back by
    // one so the next step repeats the phase. Right after a draw, at start, or straight after
    // another step back it does nothing.
    void stepBack();
    void setBlackedOut(bool on);
    bool blackedOut() const;
    QWidget* cover() const { return m_cover; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(const QKeyEvent& event);
    bool scoreKey(const QKeyEvent& event, Qt::KeyboardModifiers mods);

    TForm1& m_form;
    QWidget& m_window; // the same main screen, as a plain window
    QPushButton* m_button;
    QWidget* m_cover = nullptr;
    // The step counter as the last step back left it; a second Page Up finds it unchanged.
    int m_backAt = -1;
    // A Space that uncovered the screen: its release must not reach the step button either.
    bool m_swallowSpaceRelease = false;
};

} // namespace vq
