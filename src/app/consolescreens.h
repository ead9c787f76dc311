#pragma once

#include <QObject>

class QAction;
class QMenu;
class QScreen;
class TForm1;

namespace vq {

class HostConsole;

// Where and when the host's console shows: on a screen other than the show's whenever there is
// one and the key zhuchi does not say "0", at start and as screens come and go; never on the
// show's screen by itself. The main screen's menu gets the checkable "主持人视图", which shows
// or hides the console and writes zhuchi; with one screen it brings the console up as an
// ordinary window. Closing the console is unticking it. When the show's screen is the only one
// left the console hides, and comes back on the next screen plugged in; neither writes zhuchi.
class ConsoleScreens : public QObject {
    Q_OBJECT
public:
    // Adds "主持人视图" to the menu before `before`.
    ConsoleScreens(HostConsole& console, TForm1& form, QMenu& menu, QAction* before);

    // Once the main screen is shown: the console on another screen, where zhuchi allows it.
    void start();
    // The screen the console goes to: the first in the desktop's order that is not the show's.
    static QScreen* otherScreen();

    QAction* menuItem() const { return m_item; }

private:
    void choose(bool on);
    void closed();
    void follow();
    void followLater();
    void showOn(QScreen* screen);
    void showAsWindow();
    void tick();

    HostConsole& m_console;
    TForm1& m_form;
    QAction* m_item = nullptr;
    // The console is wanted but has no screen of its own yet: it shows on the next one.
    bool m_waitingForScreen = false;
    // Asked for from the menu with the show's screen the only one: an ordinary window there.
    bool m_asWindow = false;
};

} // namespace vq
