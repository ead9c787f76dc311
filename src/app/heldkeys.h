#pragma once

#include <QObject>
#include <QSet>

class QKeyEvent;

namespace vq {

// A key counts again only after its release: every press of a key that is down since an earlier
// press reaches the program's widgets as a repeat, however the desktop delivered it. Qt's repeat
// flag alone misses some of the desktop's repeats (on X under load it leaves them unflagged),
// and a widget that steps on an unflagged press would run through the show while a key or a
// clicker button is held. The presses and releases are watched program-wide, as the desktop
// hands them to each top-level window before any widget sees them, so a key pressed on a message
// box and still held once the main screen is back stays a held key there. Keys let go while
// another program has the focus are forgotten when the program loses it.
class HeldKeys : public QObject {
    Q_OBJECT
public:
    // Watches the application's windows from now on; asks the desktop for releases only when a
    // key is let go (platform/keyreleases.h), without which a held key on X would come as a new
    // press after every repeat.
    explicit HeldKeys(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static quint64 identity(const QKeyEvent& key);
    void forgetOnLeaving(Qt::ApplicationState state);

    // The keys down, by the physical key where the platform names it (a key's Qt code can
    // change with the modifiers while it is held), by the Qt code elsewhere.
    QSet<quint64> m_down;
};

} // namespace vq
