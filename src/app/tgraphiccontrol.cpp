#include "app/tgraphiccontrol.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

QPointer<TGraphicControl> TGraphicControl::s_capture;

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent) {
    // The menu opens on the right button's release, after the release handler has run.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFocusPolicy(Qt::NoFocus);
}

void TGraphicControl::move(int x, int y) {
    QWidget::move(std::clamp(x, -kCoordinateLimit, kCoordinateLimit),
                  std::clamp(y, -kCoordinateLimit, kCoordinateLimit));
}

void TGraphicControl::mousePressEvent(QMouseEvent* event) {
    dispatch(Kind::Press, event);
}

// A double click is a second press to this control.
void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* event) {
    dispatch(Kind::Press, event);
}

void TGraphicControl::mouseMoveEvent(QMouseEvent* event) {
    dispatch(Kind::Move, event);
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    dispatch(Kind::Release, event);
}

void TGraphicControl::setCapture() {
    if (s_capture == this)
        return;
    if (s_capture)
        qApp->removeEventFilter(s_capture.data());
    s_capture = this;
    // Watches, while it holds the capture, for a window that takes the mouse away.
    qApp->installEventFilter(this);
}

void TGraphicControl::releaseCapture(Qt::KeyboardModifiers modifiers) {
    TGraphicControl* c = s_capture.data();
    if (!c)
        return;
    s_capture = nullptr;
    qApp->removeEventFilter(c);
    c->m_clickPending = false;
    const QPoint p = c->mapFromGlobal(QCursor::pos());
    emit c->mouseUp(Qt::LeftButton, modifiers, p.x(), p.y());
}

// A modal window blocking this one (error box, message box, a dialog), or a menu popping up,
// receives the rest of the mouse: the release would never come here.
bool TGraphicControl::takesTheMouse(QObject* watched, QEvent* event) const {
    if (event->type() == QEvent::WindowBlocked) {
        const QWidget* top = window();
        return watched == top || (top->windowHandle() && watched == top->windowHandle());
    }
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        const auto* w = static_cast<const QWidget*>(watched);
        return w->isWindow() && w->windowType() == Qt::Popup;
    }
    return false;
}

bool TGraphicControl::eventFilter(QObject* watched, QEvent* event) {
    if (s_capture == this && takesTheMouse(watched, event))
        releaseCapture(QGuiApplication::keyboardModifiers());
    return QWidget::eventFilter(watched, event);
}

TGraphicControl* TGraphicControl::route(const QPointF& globalPos) const {
    if (s_capture)
        return s_capture.data();
    QWidget* top = window();
    QWidget* w = top->childAt(top->mapFromGlobal(globalPos.toPoint()));
    for (; w && w != top; w = w->parentWidget())
        if (auto* c = qobject_cast<TGraphicControl*>(w))
            return c;
    return nullptr;
}

void TGraphicControl::dispatch(Kind kind, QMouseEvent* event) {
    event->accept();
    // The release went elsewhere (to a window that has gone again, or outside any window of
    // the program): the capture ends here, as that release would have ended it.
    if (kind == Kind::Move && s_capture && !(event->buttons() & Qt::LeftButton))
        releaseCapture(event->modifiers());
    // Qt keeps delivering to the widget that took any press; send the event where the desktop
    // would have sent it instead.
    TGraphicControl* target = route(event->globalPosition());
    if (!target || !target->isVisible())
        return;
    const QPoint global = event->globalPosition().toPoint();
    target->handle(kind, event->button(), event->buttons(), event->modifiers(), global);
}

void TGraphicControl::handle(Kind kind, Qt::MouseButton button, Qt::MouseButtons buttons,
                             Qt::KeyboardModifiers modifiers, const QPoint& globalPos) {
    const QPoint p = mapFromGlobal(globalPos);
    QPointer<TGraphicControl> self(this);
    switch (kind) {
    case Kind::Press:
        if (button == Qt::LeftButton) {
            setCapture();
            m_clickPending = true;
        }
        emit mouseDown(button, modifiers, p.x(), p.y());
        break;
    case Kind::Move:
        emit mouseMoved(buttons, modifiers, p.x(), p.y());
        break;
    case Kind::Release: {
        const bool click = button == Qt::LeftButton && m_clickPending;
        if (button == Qt::LeftButton) {
            m_clickPending = false;
            if (s_capture == this) {
                s_capture = nullptr;
                qApp->removeEventFilter(this);
            }
        }
        emit mouseUp(button, modifiers, p.x(), p.y());
        if (!self)
            return;
        if (click && rect().contains(mapFromGlobal(globalPos)))
            emit clicked();
        else if (button == Qt::RightButton && rect().contains(p))
            emit menuRequested(globalPos);
        break;
    }
    }
}
