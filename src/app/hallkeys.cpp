#include "app/hallkeys.h"

#include "app/heldkeys.h"
#include "app/tcustomlabel.h"
#include "app/teams.h"
#include "app/tform1.h"
#include "app/trzlabel.h"
#include "platform/guard.h"
#include "platform/keydigits.h"
#include "settings/settings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace vq {

HallKeys::HallKeys(TForm1& form)
    : QObject(&form), m_form(form), m_window(form), m_button(form.Button1) {
    m_cover = new QWidget(&form);
    m_cover->setObjectName(QStringLiteral("blackOut"));
    QPalette pal = m_cover->palette();
    pal.setColor(QPalette::Window, Qt::black);
    m_cover->setPalette(pal);
    m_cover->setAutoFillBackground(true);
    m_cover->setFocusPolicy(Qt::NoFocus);
    m_cover->setGeometry(form.rect());
    m_cover->hide();
    m_window.installEventFilter(this);
    m_button->installEventFilter(this);
    new HeldKeys(this);
}

bool HallKeys::blackedOut() const {
    return m_cover->isVisibleTo(&m_window);
}

void HallKeys::setBlackedOut(bool on) {
    if (on) {
        m_cover->setGeometry(m_window.rect());
        m_cover->raise();
        m_cover->show();
    } else {
        m_cover->hide();
    }
    m_form.announce(ShowChange::BlackOut);
}

void HallKeys::stepBack() {
    const int counter = strToInt(m_form.Label3->text());
    if (counter == m_backAt)
        return;
    switch (counter % 3) {
    case 0: // after a reveal
        if (counter == 0)
            return;
        m_form.RzLabel2->hide();
        m_form.Label1->show(); // the count as the reveal froze it, timer still stopped
        break;
    case 2: // during or after the countdown
        m_form.stopCountdown();
        m_form.Label1->hide();
        break;
    default: // right after a draw: a drawn question is never put back
        return;
    }
    m_backAt = counter - 1;
    m_form.Label3->setText(QString::number(m_backAt));
    m_form.announce(ShowChange::StepBack);
}

namespace {

// The hall's keys and what each asks of the show. Clickers send Page Down and Page Up, many the
// arrows instead; B and "." are what they send for a blank screen.
struct HallKey {
    int key;
    ShowCommand command;
};
constexpr HallKey kHallKeys[] = {
    {Qt::Key_PageDown, ShowCommand::Step},     {Qt::Key_Right, ShowCommand::Step},
    {Qt::Key_Down, ShowCommand::Step},         {Qt::Key_PageUp, ShowCommand::StepBack},
    {Qt::Key_Left, ShowCommand::StepBack},     {Qt::Key_Up, ShowCommand::StepBack},
    {Qt::Key_B, ShowCommand::BlackOut},        {Qt::Key_Period, ShowCommand::BlackOut},
    {Qt::Key_P, ShowCommand::PauseOrContinue}, {Qt::Key_Plus, ShowCommand::AddTime},
    {Qt::Key_Equal, ShowCommand::AddTime},     {Qt::Key_Minus, ShowCommand::TakeTime},
    {Qt::Key_S, ShowCommand::Scoreboard},      {Qt::Key_R, ShowCommand::Ranking},
    {Qt::Key_M, ShowCommand::ReplaySound},     {Qt::Key_T, ShowCommand::StopSound},
};

// The keys that mean something only where teams are set up; without teams they are no hall
// keys at all, as before there were teams.
bool needsTeams(ShowCommand command) {
    return command == ShowCommand::Scoreboard || command == ShowCommand::Ranking ||
           command == ShowCommand::UndoScore;
}

const HallKey* hallKey(int key) {
    for (const HallKey& k : kHallKeys)
        if (k.key == key)
            return &k;
    return nullptr;
}

// The keys that step, which also uncover a blacked-out screen.
bool steps(int key, const HallKey* hall) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
           (hall && (hall->command == ShowCommand::Step || hall->command == ShowCommand::StepBack ||
                     hall->command == ShowCommand::BlackOut));
}

} // namespace

bool HallKeys::keyPress(const QKeyEvent& event) {
    const int key = event.key();
    // "+" is a shifted key on most keyboards.
    Qt::KeyboardModifiers ignored = Qt::KeypadModifier;
    if (key == Qt::Key_Plus)
        ignored |= Qt::ShiftModifier;
    const Qt::KeyboardModifiers mods = event.modifiers() & ~ignored;
    const bool plain = mods == Qt::NoModifier;
    const bool repeat = event.isAutoRepeat();
    const bool teams = m_form.Scores->any();
    const HallKey* hall = hallKey(key);
    if (hall && needsTeams(hall->command) && !teams)
        hall = nullptr;
    if (blackedOut() && (steps(key, hall) || key == Qt::Key_Escape)) {
        // The key that uncovers does nothing else.
        if (plain && !repeat) {
            setBlackedOut(false);
            m_swallowSpaceRelease = key == Qt::Key_Space;
        }
        return true;
    }
    if (m_form.rankingShown() && (steps(key, hall) || key == Qt::Key_Escape)) {
        // Back to the show where it stood: the step key does not step.
        if (plain && !repeat) {
            m_form.setRankingShown(false);
            m_swallowSpaceRelease = key == Qt::Key_Space;
        }
        return true;
    }
    if (teams && scoreKey(event, mods))
        return true;
    if (!hall)
        return false;
    if (plain && !repeat)
        m_form.run(hall->command);
    return true;
}

// Digit N adds a step to team N (0 to team 10), Shift with it takes one away, Ctrl+Z takes the
// last change back; teams 11 and 12 are scored from the console. The digit is known by its key,
// not its character, which Shift changes ("!" for Shift+1).
bool HallKeys::scoreKey(const QKeyEvent& event, Qt::KeyboardModifiers mods) {
    if (event.key() == Qt::Key_Z && mods == Qt::ControlModifier) {
        if (!event.isAutoRepeat())
            m_form.run(ShowCommand::UndoScore);
        return true;
    }
    const int digit = digitKey(event.key(), event.nativeScanCode(), event.nativeVirtualKey());
    if (digit < 0 || (mods != Qt::NoModifier && mods != Qt::ShiftModifier))
        return false;
    if (!event.isAutoRepeat())
        m_form.scoreStep(digit == 0 ? 9 : digit - 1, mods == Qt::ShiftModifier ? -1 : 1);
    return true;
}

bool HallKeys::eventFilter(QObject* watched, QEvent* event) {
    // Only the window and the button are touched here: the filter also sees the events of the
    // main screen's destruction, when it is no longer a TForm1.
    if (watched == &m_window && event->type() == QEvent::Resize) {
        m_cover->setGeometry(m_window.rect());
    } else if (watched == m_button) {
        if (event->type() == QEvent::KeyPress) {
            return keyPress(*static_cast<QKeyEvent*>(event));
        }
        if (event->type() == QEvent::KeyRelease && m_swallowSpaceRelease &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            m_swallowSpaceRelease = static_cast<QKeyEvent*>(event)->isAutoRepeat();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vq
