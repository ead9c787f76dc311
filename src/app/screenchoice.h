#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QAction;
class QMenu;
class QScreen;
class QWidget;
class TForm1;

namespace vq {

// Which screen the show runs on, for a laptop driving a projector: chosen once at start from
// the key pingmu, changed from the right-button menu's "投影屏幕" (offered only while two or
// more screens are connected), given up for the primary screen when the chosen screen is
// unplugged, and taken again when a screen plugged in is the one pingmu names. With one screen
// nothing of it shows.
class ScreenChoice : public QObject {
    Q_OBJECT
public:
    // Adds the hidden "投影屏幕" item to the main screen's menu, before `before`.
    ScreenChoice(TForm1& form, QMenu& menu, QAction* before);

    // The connected screens in the desktop's order, left to right (top to bottom where two
    // share a left edge).
    static QList<QScreen*> ordered();
    // The screen a stored pingmu names: 1 is the first of ordered(); no value, 0 or a number
    // past the last screen mean the primary screen.
    static QScreen* named(std::optional<int> number);
    // The submenu's text for a screen: "屏幕 N：<width>×<height>", plus "（主屏幕）" for the
    // primary.
    static QString itemText(int number, const QScreen& screen);
    // A window to a screen, a full-screen or maximised one filling it there too.
    static void placeOn(QWidget& window, QScreen* screen);

    // At start, before the main screen is first shown: the screen pingmu names becomes the
    // show's screen and the main screen's place. Reads the key, writes nothing.
    void startOn();
    // Moves the show (main screen and, while it is up, the welcome screen) to the screen, full
    // screen, and places the next-step button anew.
    void moveTo(QScreen* screen);

    QAction* menuItem() const { return m_item; }
    QMenu* submenu() const { return m_submenu; }

private:
    void refreshMenu();
    void choose(int number);
    void screenRemoved(QScreen* screen);
    void screenAdded(QScreen* screen);
    void returnTo(QScreen* screen);

    TForm1& m_form;
    QMenu* m_submenu = nullptr;
    QAction* m_item = nullptr;
};

} // namespace vq
