#include "app/hallkeys.h"

#include "app/heldkeys.h"
#include "app/tcustomlabel.h"
#include "app/tform1.h"
#include "app/trzlabel.h"
#include "platform/guard.h"
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
        m_form.Timer1->stop();
        m_form.Label1->hide();
        break;
    default: // right after a draw: a drawn question is never put back
        return;
    }
    m_backAt = counter - 1;
    m_form.Label3->setText(QString::number(m_backAt));
}

bool HallKeys::keyPress(int key, bool plain, bool repeat) {
    const bool stepKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
                         key == Qt::Key_PageDown || key == Qt::Key_PageUp;
    const bool blackKey = key == Qt::Key_B || key == Qt::Key_Period;
    if (blackedOut()) {
        if (!(stepKey || blackKey || key == Qt::Key_Escape))
            return false;
        // The key that uncovers does nothing else.
        if (plain && !repeat) {
            setBlackedOut(false);
            m_swallowSpaceRelease = key == Qt::Key_Space;
        }
        return true;
    }
    if (blackKey) {
        if (plain && !repeat)
            setBlackedOut(true);
        return true;
    }
    if (key == Qt::Key_PageDown) {
        // Exactly what Enter and Space do: a click on the step button.
        if (plain && !repeat)
            m_button->click();
        return true;
    }
    if (key == Qt::Key_PageUp) {
        if (plain && !repeat)
            guarded([&] { stepBack(); });
        return true;
    }
    return false;
}

bool HallKeys::eventFilter(QObject* watched, QEvent* event) {
    // Only the window and the button are touched here: the filter also sees the events of the
    // main screen's destruction, when it is no longer a TForm1.
    if (watched == &m_window && event->type() == QEvent::Resize) {
        m_cover->setGeometry(m_window.rect());
    } else if (watched == m_button) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            return keyPress(key->key(), plain, key->isAutoRepeat());
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
