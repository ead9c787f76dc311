#include "app/tgraphiccontrol.h"

#include <QMouseEvent>

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
            s_capture = this;
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
            if (s_capture == this)
                s_capture = nullptr;
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
