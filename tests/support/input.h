#pragma once

// Mouse, key and wheel input sent straight to a widget as the platform delivers it, and
// widgets drawn into pictures: the helpers every widget test uses.

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace vq::test {

// One mouse event at a point of the widget: the button that changed and the buttons held
// after it.
inline void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                  Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, mods);
    QCoreApplication::sendEvent(w, &e);
}
inline void press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    mouse(w, QEvent::MouseButtonPress, at, button, button);
}
inline void release(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    mouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}
// A press and release at the same point.
inline void click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    press(w, at, button);
    release(w, at, button);
}
// A move with the left button held, and one with no button held.
inline void drag(QWidget* w, QPoint at) {
    mouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}
inline void hover(QWidget* w, QPoint at) {
    mouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

// The mouse through a top-level window, as the platform delivers a real pointer's: Qt finds the
// widget under it, grabs on a press, tracks the buttons held and honours a modal window.
inline void press(QWindow* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(w, button, {}, at);
}
inline void release(QWindow* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(w, button, {}, at);
}
inline void click(QWindow* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(w, button, {}, at);
}
// A move with whatever buttons the window's earlier presses left held.
inline void moveTo(QWindow* w, QPoint at) {
    QTest::mouseMove(w, at);
}

inline void wheel(QWidget* w, QPoint at, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWheelEvent e(QPointF(at), w->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

// A key press alone, and a press and release (Space carrying its character).
inline void keyPress(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     const QString& text = {}) {
    QKeyEvent e(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &e);
}
inline void keyClick(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

// The widget as it draws itself, window background included, over an opaque backdrop.
inline QImage render(QWidget& w, QColor backdrop = Qt::magenta) {
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(backdrop);
    w.render(&img);
    return img;
}
// The widget and its children alone, without a window background, over a backdrop.
inline QImage renderOver(QWidget& w, QColor backdrop) {
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(backdrop);
    w.render(&img, {}, {}, QWidget::DrawChildren);
    return img;
}

} // namespace vq::test
