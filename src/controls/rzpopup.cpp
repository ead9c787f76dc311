#include "controls/rzpopup.h"

#include "platform/guard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>

#include <climits>
#include <memory>
#include <utility>

namespace vq {

QPoint popupPlacement(const QRect& control, const QSize& size, const QRect& workArea,
                      TRzPopupAlignment alignment, std::optional<QPoint> offset) {
    const int w = size.width();
    const int h = size.height();
    const int left = control.x();
    const int top = control.y();
    const int right = control.x() + control.width(); // exclusive, as window rectangles are
    const int bottom = control.y() + control.height();
    int x = left;
    int y = bottom;
    if (offset) {
        x = left + offset->x();
        y = top + offset->y();
    } else if (alignment == TRzPopupAlignment::Right) {
        x = right - w;
    } else if (alignment == TRzPopupAlignment::Center) {
        // Floor division, so negative coordinates on a left-hand monitor round the same way.
        const int sum = left + right - w;
        x = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);
    }
    const int areaRight = workArea.x() + workArea.width();
    const int areaBottom = workArea.y() + workArea.height();
    if (x + w > areaRight)
        x = areaRight - w;
    if (y + h > areaBottom)
        y = top - h;
    if (x < workArea.x())
        x = workArea.x();
    if (y < workArea.y())
        y = workArea.y();
    return {x, y};
}

QRect workAreaNearest(const QPoint& point) {
    QScreen* best = QGuiApplication::primaryScreen();
    long long bestDistance = LLONG_MAX;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        const long long dx = point.x() < g.left()    ? g.left() - point.x()
                             : point.x() > g.right() ? point.x() - g.right()
                                                     : 0;
        const long long dy = point.y() < g.top()      ? g.top() - point.y()
                             : point.y() > g.bottom() ? point.y() - g.bottom()
                                                      : 0;
        const long long d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = screen;
        }
    }
    return best ? best->availableGeometry() : QRect();
}

} // namespace vq

// ---- TRzPopup --------------------------------------------------------------------------------

TRzPopup::TRzPopup(TRzPopupPanel* panel, QWidget* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint), m_panel(panel) {
    // A press outside dismisses the popup and goes no further.
    setAttribute(Qt::WA_NoMouseReplay);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void TRzPopup::setLook(TRzLook look) {
    m_look = look;
    update();
}

void TRzPopup::paintEvent(QPaintEvent*) {
    vq::guarded([&] {
        QPainter p(this);
        const QRect r = rect();
        if (vq::resolvedLook(m_look) == TRzLook::Themed) {
            QStyleOptionFrame opt;
            opt.initFrom(this);
            opt.state &= ~QStyle::State_Enabled;
            opt.palette.setCurrentColorGroup(QPalette::Disabled);
            opt.lineWidth = 1;
            opt.midLineWidth = 0;
            opt.rect = r;
            style()->drawPrimitive(QStyle::PE_PanelLineEdit, &opt, &p, this);
            return;
        }
        p.fillRect(r, ColorToQColor(m_panel ? m_panel->color() : clBtnFace));
        const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
        p.setPen(ColorToQColor(clBtnHighlight));
        p.drawLine(x0, y0, x1 - 1, y0);
        p.drawLine(x0, y0, x0, y1 - 1);
        p.setPen(ColorToQColor(clBtnShadow));
        p.drawLine(x0, y1, x1, y1);
        p.drawLine(x1, y0, x1, y1);
    });
}

void TRzPopup::pressed(QMouseEvent* event) {
    event->accept();
    if (!rect().contains(event->position().toPoint()) && m_panel)
        m_panel->dismiss();
}

void TRzPopup::mousePressEvent(QMouseEvent* event) {
    vq::guarded([&] { pressed(event); });
}

void TRzPopup::mouseDoubleClickEvent(QMouseEvent* event) {
    vq::guarded([&] { pressed(event); });
}

void TRzPopup::keyPressEvent(QKeyEvent* event) {
    vq::guarded([&] {
        // The popup's content takes no keys; Escape is the only one that does anything.
        event->accept();
        if (event->key() == Qt::Key_Escape && m_panel)
            m_panel->dismiss();
    });
}

void TRzPopup::hideEvent(QHideEvent* event) {
    vq::guarded([&] {
        QWidget::hideEvent(event);
        // Hidden from elsewhere (the window system closing popups, for one): not a choice.
        if (m_panel)
            m_panel->dismiss();
    });
}

void TRzPopup::closeEvent(QCloseEvent* event) {
    vq::guarded([&] {
        event->accept();
        if (m_panel)
            m_panel->dismiss();
    });
}

// ---- TRzPopupPanel ---------------------------------------------------------------------------

TRzPopupPanel::TRzPopupPanel(QWidget* parent) : QWidget(parent) {
    setVisible(false);
    setFocusPolicy(Qt::StrongFocus);
}

TRzPopupPanel::~TRzPopupPanel() {
    // Destroyed while up (its owner going away inside the loop): end the loop first.
    if (m_popup)
        finish(false);
}

void TRzPopupPanel::setColor(TColor color) {
    m_color = color;
    update();
}

void TRzPopupPanel::adjustToChildren() {
    QRect bounds;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        bounds |= QRect(QPoint(0, 0), child->size());
    int x = frameWidth();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->move(x, frameWidth());
    resize(bounds.width() + 2 * frameWidth(), bounds.height() + 2 * frameWidth());
}

bool TRzPopupPanel::popup(QWidget* control) {
    return run(control, std::nullopt);
}

bool TRzPopupPanel::popup(QWidget* control, QPoint offset) {
    return run(control, offset);
}

void TRzPopupPanel::close() {
    finish(true);
}

void TRzPopupPanel::dismiss() {
    finish(false);
}

void TRzPopupPanel::finish(bool choice) {
    if (!m_popup || m_done)
        return;
    m_done = true;
    m_choice = choice;
    if (m_loop)
        m_loop->quit();
}

bool TRzPopupPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && m_popup && !m_done) {
        if (event->type() == QEvent::ApplicationDeactivate)
            dismiss();
        else if (event->type() == QEvent::ApplicationStateChange &&
                 static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
                     Qt::ApplicationActive)
            dismiss();
    }
    return QWidget::eventFilter(watched, event);
}

// What an open popup changed, undone on the way out whichever way that is: the popup hidden,
// the panel's children back from the popup window, the event filter gone, the panel closed.
struct TRzPopupPanel::Restore {
    TRzPopupPanel* panel;
    QList<QPointer<QWidget>> moved;
    bool pending = true;
    void now() {
        if (!std::exchange(pending, false))
            return;
        if (panel->m_popup)
            panel->m_popup->hide();
        for (const QPointer<QWidget>& child : moved)
            if (child)
                child->setParent(panel);
        qApp->removeEventFilter(panel);
        panel->m_popup = nullptr;
        panel->m_loop = nullptr;
        --s_openCount;
    }
    ~Restore() { now(); }
};

// The panel's children go into the popup window at their places, each noted for the way back
// as soon as it moved.
void TRzPopupPanel::lendChildrenTo(QWidget* window, Restore& restore) {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool shown = !child->isHidden();
        const QPoint at = child->pos();
        child->setParent(window);
        child->move(at);
        child->setVisible(shown);
        restore.moved.append(child);
    }
}

// The screen is the one nearest to the place before clamping, as the popup's own corner.
QPoint TRzPopupPanel::placeFor(QWidget* control, std::optional<QPoint> offset) const {
    const QRect controlRect(vq::screenTopLeft(*control), control->size());
    const QRect anywhere(INT_MIN / 4, INT_MIN / 4, INT_MAX / 2, INT_MAX / 2);
    const QPoint wanted = vq::popupPlacement(controlRect, size(), anywhere, m_alignment, offset);
    return vq::popupPlacement(controlRect, size(), vq::workAreaNearest(wanted), m_alignment,
                              offset);
}

bool TRzPopupPanel::run(QWidget* control, std::optional<QPoint> offset) {
    if (s_openCount > 0 || m_popup || !control)
        return false;

    const QPointer<QWidget> activeControl = QApplication::focusWidget();
    emit OnPopup();

    QWidget* owner = control->window();
    auto window = std::make_unique<TRzPopup>(this, owner);
    window->setLook(m_look);
    window->setFont(font());
    window->setToolTip(toolTip());
    window->resize(size());

    // Everything below is undone on the way out, whichever way that is.
    Restore restore{this, {}};
    ++s_openCount;
    m_popup = window.get();
    m_done = false;
    m_choice = false;
    lendChildrenTo(window.get(), restore);
    window->move(placeFor(control, offset));

    qApp->installEventFilter(this);
    QEventLoop loop;
    const auto quitting =
        connect(qApp, &QCoreApplication::aboutToQuit, this, &TRzPopupPanel::dismiss);
    window->show();
    window->raise();

    if (!m_done) {
        m_loop = &loop;
        loop.exec();
    }
    disconnect(quitting);
    const bool choice = m_choice;
    m_done = true; // the hide below is not a second outcome
    restore.now();
    window.reset();

    emit OnClose();
    if (activeControl && QGuiApplication::applicationState() == Qt::ApplicationActive)
        activeControl->setFocus(Qt::PopupFocusReason);
    return choice;
}
