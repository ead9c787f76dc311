#include "app/consolescreens.h"

#include "app/hostconsole.h"
#include "app/screenchoice.h"
#include "app/tform1.h"
#include "platform/guard.h"
#include "platform/showscreen.h"
#include "settings/settings.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace vq {

ConsoleScreens::ConsoleScreens(HostConsole& console, TForm1& form, QMenu& menu, QAction* before)
    : QObject(&console), m_console(console), m_form(form) {
    m_item = new QAction(QStringLiteral("主持人视图"), &menu);
    m_item->setCheckable(true);
    menu.insertAction(before, m_item);
    connect(m_item, &QAction::triggered, this, [this](bool on) { guarded([&] { choose(on); }); });
    connect(&console, &HostConsole::closedByOperator, this, [this] { guarded([&] { closed(); }); });
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &ConsoleScreens::followLater);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ConsoleScreens::followLater);
}

// Decided once the screens have settled and the show has gone where it goes (the show's own
// move after a change of screens comes at the next turn of the event loop too).
void ConsoleScreens::followLater() {
    QTimer::singleShot(0, this, [this] { guarded([&] { follow(); }); });
}

QScreen* ConsoleScreens::otherScreen() {
    const QScreen* show = showScreen();
    for (QScreen* s : ScreenChoice::ordered())
        if (s != show)
            return s;
    return nullptr;
}

void ConsoleScreens::start() {
    // The main screen's window exists from its first showing on.
    if (QWindow* window = m_form.windowHandle())
        connect(window, &QWindow::screenChanged, this, &ConsoleScreens::followLater,
                Qt::UniqueConnection);
    m_waitingForScreen = Settings().flag(Key::zhuchi).value_or(true);
    follow();
}

void ConsoleScreens::choose(bool on) {
    Settings().writeFlag(Key::zhuchi, on);
    m_waitingForScreen = false;
    if (!on) {
        m_asWindow = false;
        m_console.hide();
    } else if (QScreen* other = otherScreen()) {
        showOn(other);
    } else {
        showAsWindow();
    }
    tick();
}

void ConsoleScreens::closed() {
    m_waitingForScreen = false;
    m_asWindow = false;
    Settings().writeFlag(Key::zhuchi, false);
    // The window hides as soon as the close is through.
    m_item->setChecked(false);
}

// After a change of screens or of the show's screen: the console keeps off the show's screen.
void ConsoleScreens::follow() {
    QScreen* other = otherScreen();
    if (m_console.isVisible()) {
        if (m_asWindow) {
            // The ordinary window asked for on a single screen takes a screen of its own.
            if (other) {
                m_asWindow = false;
                showOn(other);
            }
        } else if (!other) {
            m_console.hide();
            m_waitingForScreen = true;
        } else if (m_console.screen() == showScreen()) {
            showOn(other);
        }
    } else if (m_waitingForScreen && other) {
        m_waitingForScreen = false;
        showOn(other);
    }
    tick();
}

// The whole of the other screen, as a maximised window there.
void ConsoleScreens::showOn(QScreen* screen) {
    if (m_console.isVisible()) {
        ScreenChoice::placeOn(m_console, screen);
        return;
    }
    m_console.setScreen(screen);
    m_console.setGeometry(screen->availableGeometry());
    m_console.showMaximized();
}

void ConsoleScreens::showAsWindow() {
    m_asWindow = true;
    QScreen* screen = showScreen();
    if (!m_console.isVisible() && screen) {
        const QRect area = screen->availableGeometry();
        QRect place(QPoint(), m_console.size().boundedTo(area.size() * 4 / 5));
        place.moveCenter(area.center());
        m_console.setScreen(screen);
        m_console.setGeometry(place);
    }
    m_console.showNormal();
    // Asked for over the full-screen show: it comes to the front.
    m_console.raise();
    m_console.activateWindow();
}

void ConsoleScreens::tick() {
    m_item->setChecked(m_console.isVisible());
}

} // namespace vq
