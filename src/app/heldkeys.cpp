#include "app/heldkeys.h"

#include "platform/keyreleases.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

namespace vq {

HeldKeys::HeldKeys(QObject* parent) : QObject(parent) {
    askForTrueKeyReleases();
    QCoreApplication::instance()->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &HeldKeys::forgetOnLeaving);
}

quint64 HeldKeys::identity(const QKeyEvent& key) {
    if (key.nativeScanCode() != 0)
        return (quint64(1) << 32) | key.nativeScanCode();
    return quint32(key.key());
}

void HeldKeys::forgetOnLeaving(Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive)
        m_down.clear();
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event) {
    // A key event from the desktop reaches one top-level window, once, before the window hands
    // it to its focused widget and that one's parents; it is judged there.
    const QEvent::Type type = event->type();
    if (!watched->isWindowType() || (type != QEvent::KeyPress && type != QEvent::KeyRelease))
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const quint64 id = identity(*key);
    if (type == QEvent::KeyRelease) {
        // A flagged release is one of the desktop's repeats, the key still down.
        if (!key->isAutoRepeat())
            m_down.remove(id);
        return false;
    }
    if (key->isAutoRepeat() || !m_down.contains(id)) {
        m_down.insert(id);
        return false;
    }
    // The key is down since an earlier press: the window gets the same press as a repeat.
    QKeyEvent repeat(QEvent::KeyPress, key->key(), key->modifiers(), key->nativeScanCode(),
                     key->nativeVirtualKey(), key->nativeModifiers(), key->text(), true,
                     static_cast<quint16>(key->count()), key->device());
    repeat.setTimestamp(key->timestamp());
    QCoreApplication::sendEvent(watched, &repeat);
    key->setAccepted(repeat.isAccepted());
    return true;
}

} // namespace vq
