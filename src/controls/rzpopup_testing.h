#pragma once

// For tests and the gallery only; the shipped program never includes this header.

#include "controls/rzpopup.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

#include <functional>
#include <utility>

namespace vq {

// Runs the hook once each popup is on the screen, from inside its popup loop, for as long as the
// object lives: a test or the gallery drives the open popup without waiting for it.
class PopupShownHook : public QObject {
public:
    using Hook = std::function<void(TRzPopupPanel&, TRzPopup&)>;
    explicit PopupShownHook(Hook hook) : m_hook(std::move(hook)) { qApp->installEventFilter(this); }
    PopupShownHook(const PopupShownHook&) = delete;
    PopupShownHook& operator=(const PopupShownHook&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* popup = qobject_cast<TRzPopup*>(watched)) {
                // Queued: the popup's loop runs it, as soon as the popup is up and raised.
                QMetaObject::invokeMethod(
                    this,
                    [this, window = QPointer<TRzPopup>(popup)] {
                        if (window && window->isVisible() && window->panel())
                            m_hook(*window->panel(), *window);
                    },
                    Qt::QueuedConnection);
            }
        return false;
    }

private:
    Hook m_hook;
};

} // namespace vq
