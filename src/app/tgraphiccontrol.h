#pragma once

#include <QPointer>
#include <QWidget>

class QMouseEvent;

// A windowless control of the main screen (label, picture). Mouse events follow the desktop's
// rules rather than Qt's implicit grab: only a left press captures the mouse (moves and the
// release then go to the pressed control wherever the pointer is); without a capture every
// event goes to the topmost visible control under the pointer.
class TGraphicControl : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicControl(QWidget* parent = nullptr);

    // Moves the control. Places come from the settings file and may lie anywhere in the 32-bit
    // range; Qt's geometry adds sizes to them in plain int arithmetic, so they are held within
    // kCoordinateLimit of the origin, far off any screen either way.
    void move(int x, int y);
    void move(const QPoint& p) { move(p.x(), p.y()); }
    static constexpr int kCoordinateLimit = 1 << 24;

    // The control holding the left-button capture, if any.
    static TGraphicControl* captureControl() { return s_capture.data(); }
    // Ends the capture as if the left button had been released where the pointer is now: the
    // capturing control gets its release (no click).
    static void releaseCapture(Qt::KeyboardModifiers modifiers = Qt::NoModifier);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // Left press and release within the control.
    void clicked();
    void menuRequested(const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Kind { Press, Move, Release };
    TGraphicControl* route(const QPointF& globalPos) const;
    void dispatch(Kind kind, QMouseEvent* event);
    void setCapture();
    bool takesTheMouse(QObject* watched, QEvent* event) const;
    void handle(Kind kind, Qt::MouseButton button, Qt::MouseButtons buttons,
                Qt::KeyboardModifiers modifiers, const QPoint& globalPos);

    static QPointer<TGraphicControl> s_capture;
    bool m_clickPending = false;
};
