#pragma once

#include "controls/rzcommon.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>
#include <optional>

class QEventLoop;
class TRzPopupPanel;

// Where a popup goes relative to the control it drops from.
enum class TRzPopupAlignment { Left, Right, Center };

namespace vq {

// Top-left corner of a popup of the given size dropped from a control whose rectangle
// (screen coordinates) is `control`: below it, aligned by `alignment`, or at control's
// top-left plus `offset` when one is given; then kept inside `workArea`, opening upwards when
// it would run past the bottom.
QPoint popupPlacement(const QRect& control, const QSize& size, const QRect& workArea,
                      TRzPopupAlignment alignment, std::optional<QPoint> offset = std::nullopt);

// Available geometry of the screen nearest to a point (the primary screen's if none).
QRect workAreaNearest(const QPoint& point);

} // namespace vq

// The borderless top-level window a popup panel's children are shown in while it is open.
// It never takes activation; a press outside it, Escape or the application losing the
// activation dismiss it.
class TRzPopup : public QWidget {
    Q_OBJECT
public:
    TRzPopup(TRzPopupPanel* panel, QWidget* owner);

    TRzLook look() const { return m_look; }
    void setLook(TRzLook look);
    // The panel whose children the popup shows.
    TRzPopupPanel* panel() const { return m_panel; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void pressed(QMouseEvent* event);

    TRzPopupPanel* m_panel = nullptr;
    TRzLook m_look = TRzLook::Default;
};

// A hidden panel whose children are shown in a popup window attached to a control, with a
// nested event loop that decides how it closes: popup() returns true when close() ended it
// (a choice), false when it was dismissed.
class TRzPopupPanel : public QWidget {
    Q_OBJECT
public:
    explicit TRzPopupPanel(QWidget* parent = nullptr);
    ~TRzPopupPanel() override;

    // Thickness of the popup's frame on every side: a one-pixel edge and the border band.
    static constexpr int kBorderWidth = 2;
    static constexpr int frameWidth() { return 1 + kBorderWidth; }

    TRzPopupAlignment alignment() const { return m_alignment; }
    void setAlignment(TRzPopupAlignment alignment) { m_alignment = alignment; }
    TColor color() const { return m_color; }
    void setColor(TColor color);
    TRzLook look() const { return m_look; }
    void setLook(TRzLook look) { m_look = look; }
    // Sizes the panel to hold its children inside the frame (the auto-size rule).
    void adjustToChildren();

    // Shows the panel's children in a popup below `control` and runs until it closes.
    // Returns false at once when another popup is already open.
    bool popup(QWidget* control);
    bool popup(QWidget* control, QPoint offset);
    // Ends the open popup as a choice.
    void close();
    // Ends the open popup without a choice.
    void dismiss();

    bool isPoppedUp() const { return m_popup != nullptr; }
    static bool isAnyPopupOpen() { return s_openCount > 0; }

signals:
    void OnPopup();
    void OnClose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Restore;
    bool run(QWidget* control, std::optional<QPoint> offset);
    void lendChildrenTo(QWidget* window, Restore& restore);
    QPoint placeFor(QWidget* control, std::optional<QPoint> offset) const;
    void finish(bool choice);

    TRzPopupAlignment m_alignment = TRzPopupAlignment::Left;
    TColor m_color = clBtnFace;
    TRzLook m_look = TRzLook::Default;
    TRzPopup* m_popup = nullptr;
    QEventLoop* m_loop = nullptr;
    bool m_done = false;
    bool m_choice = false;

    static inline int s_openCount = 0;
};
