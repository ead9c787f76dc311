#include "app/screenchoice.h"

#include "app/tform1.h"
#include "app/tform5.h"
#include "platform/guard.h"
#include "platform/showscreen.h"
#include "settings/settings.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace vq {

// A shown full-screen or maximised window keeps to the monitor it is on: the window manager
// answers a move with the old monitor's area. Leaving that state for the move and taking it
// back on the new screen lets the manager fit the window to the new monitor.
void ScreenChoice::placeOn(QWidget& window, QScreen* screen) {
    const Qt::WindowStates fill = Qt::WindowFullScreen | Qt::WindowMaximized;
    const Qt::WindowStates state = window.windowState();
    const bool refill = window.isVisible() && (state & fill);
    if (refill)
        window.setWindowState(state & ~fill);
    window.setScreen(screen);
    window.setGeometry(screen->geometry());
    if (refill) {
        window.setWindowState(state);
        // Also where no window manager sizes full-screen windows.
        window.setGeometry(screen->geometry());
    }
}

ScreenChoice::ScreenChoice(TForm1& form, QMenu& menu, QAction* before)
    : QObject(&form), m_form(form) {
    m_submenu = new QMenu(QStringLiteral("投影屏幕"), &menu);
    m_item = menu.insertMenu(before, m_submenu);
    m_item->setVisible(false);
    connect(&menu, &QMenu::aboutToShow, this, [this] { guarded([&] { refreshMenu(); }); });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this,
            [this](QScreen* screen) { guarded([&] { screenRemoved(screen); }); });
    connect(qGuiApp, &QGuiApplication::screenAdded, this,
            [this](QScreen* screen) { guarded([&] { screenAdded(screen); }); });
}

QList<QScreen*> ScreenChoice::ordered() {
    QList<QScreen*> screens = QGuiApplication::screens();
    std::stable_sort(screens.begin(), screens.end(), [](const QScreen* a, const QScreen* b) {
        const QPoint pa = a->geometry().topLeft();
        const QPoint pb = b->geometry().topLeft();
        return pa.x() != pb.x() ? pa.x() < pb.x() : pa.y() < pb.y();
    });
    return screens;
}

QScreen* ScreenChoice::named(std::optional<int> number) {
    const QList<QScreen*> screens = ordered();
    if (number && *number >= 1 && *number <= screens.size())
        return screens[*number - 1];
    return QGuiApplication::primaryScreen();
}

QString ScreenChoice::itemText(int number, const QScreen& screen) {
    const QSize size = screen.geometry().size();
    QString text =
        QStringLiteral("屏幕 %1：%2×%3").arg(number).arg(size.width()).arg(size.height());
    if (&screen == QGuiApplication::primaryScreen())
        text += QStringLiteral("（主屏幕）");
    return text;
}

void ScreenChoice::startOn() {
    QScreen* screen = named(Settings().integer(Key::pingmu));
    // On the primary screen the start stays exactly as it always was.
    if (!screen || screen == QGuiApplication::primaryScreen())
        return;
    setShowScreen(screen);
    m_form.setScreen(screen);
    m_form.setGeometry(screen->geometry());
}

void ScreenChoice::moveTo(QScreen* screen) {
    if (!screen)
        return;
    setShowScreen(screen);
    placeOn(m_form, screen);
    if (m_form.Form5 && m_form.Form5->isVisible())
        placeOn(*m_form.Form5, screen);
    m_form.FormResize();
}

void ScreenChoice::refreshMenu() {
    const QList<QScreen*> screens = ordered();
    m_item->setVisible(screens.size() >= 2);
    m_submenu->clear();
    if (screens.size() < 2)
        return;
    for (int i = 0; i < screens.size(); ++i) {
        QAction* action = m_submenu->addAction(itemText(i + 1, *screens[i]));
        action->setCheckable(true);
        action->setChecked(screens[i] == showScreen());
        connect(action, &QAction::triggered, this,
                [this, number = i + 1] { guarded([&] { choose(number); }); });
    }
}

void ScreenChoice::choose(int number) {
    const QList<QScreen*> screens = ordered();
    if (number < 1 || number > screens.size())
        return;
    moveTo(screens[number - 1]);
    Settings().writeInteger(Key::pingmu, number);
}

void ScreenChoice::screenRemoved(QScreen* screen) {
    if (screen != showScreen())
        return;
    // The show goes to the primary screen; the stored choice stays for the next start.
    setShowScreen(nullptr);
    QTimer::singleShot(0, this,
                       [this] { guarded([&] { moveTo(QGuiApplication::primaryScreen()); }); });
}

void ScreenChoice::screenAdded(QScreen* screen) {
    // Decided once the screen has settled among the others: the platform may report its place
    // just after reporting it, and the order decides which screen pingmu names.
    QTimer::singleShot(
        0, this, [this, added = QPointer<QScreen>(screen)] { guarded([&] { returnTo(added); }); });
}

// A projector plugged back in (or only after the start) takes the show again when the stored
// choice names it. Only the screen just connected is taken: a screen added elsewhere may change
// which number names which screen, and that must not send the show away from where it is.
void ScreenChoice::returnTo(QScreen* screen) {
    if (!screen || screen == showScreen())
        return;
    // Without a choice of its own (no pingmu, or one naming no screen) the show stays on the
    // primary screen, even when the screen plugged in becomes the primary one.
    const std::optional<int> number = Settings().integer(Key::pingmu);
    const QList<QScreen*> screens = ordered();
    if (!number || *number < 1 || *number > screens.size() || screens[*number - 1] != screen)
        return;
    moveTo(screen);
}

} // namespace vq
