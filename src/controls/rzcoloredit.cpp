#include "controls/rzcoloredit.h"

#include "controls/rzcolorpicker.h"
#include "controls/rzpopup.h"
#include "platform/guard.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include <memory>
#include <utility>

namespace {

QColor qc(TColor c) {
    return ColorToQColor(c);
}

// One-pixel lines of a rectangle's four sides: top and left in one colour, bottom and right
// in another (the platform's edge drawing).
void edgeRing(QPainter& p, const QRect& r, TColor topLeft, TColor bottomRight) {
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), qc(topLeft));
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), qc(topLeft));
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), qc(bottomRight));
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), qc(bottomRight));
}

void outline(QPainter& p, const QRect& r, TColor c) {
    edgeRing(p, r, c, c);
}

// The drop-down arrow: rows of 2n-1, 2n-3 .. 1 pixels, centred in r.
void arrow(QPainter& p, const QRect& r, int rows, TColor c) {
    const int cx = r.left() + r.width() / 2;
    const int top = r.top() + (r.height() - rows) / 2;
    for (int i = 0; i < rows; ++i) {
        const int half = rows - 1 - i;
        p.fillRect(QRect(cx - half, top + i, 2 * half + 1, 1), qc(c));
    }
}

} // namespace

TRzColorEdit::TRzColorEdit(QWidget* parent) : QWidget(parent) {
    // Tab reaches it; of the mouse only a left press takes the focus (pressed() gives it), so a
    // right or middle press leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    resize(289, 21);
    updateBodyColor();
}

TRzColorEdit::~TRzColorEdit() = default;

void TRzColorEdit::setSelectedColor(TColor color) {
    vq::setAndRepaint(*this, m_selectedColor, color);
}

void TRzColorEdit::setDropButtonVisible(bool on) {
    m_dropButtonVisible = on;
    update();
}

void TRzColorEdit::setFlatButtons(bool on) {
    m_flatButtons = on;
    update();
}

void TRzColorEdit::setFlatButtonColor(TColor color) {
    m_flatButtonColor = color;
    update();
}

void TRzColorEdit::setColor(TColor color) {
    // The focus colour follows the normal one while the two were the same.
    if (m_focusColor == m_normalColor)
        m_focusColor = color;
    m_normalColor = color;
    updateBodyColor();
}

void TRzColorEdit::setFocusColor(TColor color) {
    m_focusColor = color;
    updateBodyColor();
}

void TRzColorEdit::setDisabledColor(TColor color) {
    m_disabledColor = color;
    updateBodyColor();
}

void TRzColorEdit::setReadOnly(bool on) {
    m_readOnly = on;
    updateBodyColor();
}

void TRzColorEdit::setReadOnlyColor(TColor color) {
    m_readOnlyColor = color;
    updateBodyColor();
}

void TRzColorEdit::setReadOnlyColorOnFocus(bool on) {
    m_readOnlyColorOnFocus = on;
    updateBodyColor();
}

void TRzColorEdit::setFrameVisible(bool on) {
    m_frameVisible = on;
    update();
}

void TRzColorEdit::setFrameStyle(TRzFrameStyle style) {
    m_frameStyle = style;
    update();
}

void TRzColorEdit::setFrameColor(TColor color) {
    m_frameColor = color;
    update();
}

void TRzColorEdit::setLook(TRzLook look) {
    m_look = look;
    update();
}

bool TRzColorEdit::themed() const {
    return vq::resolvedLook(m_look) == TRzLook::Themed;
}

void TRzColorEdit::updateBodyColor() {
    TColor body = m_normalColor;
    if (!isEnabled())
        body = m_disabledColor;
    else if (m_inControl)
        body = m_readOnly && m_readOnlyColorOnFocus ? m_readOnlyColor : m_focusColor;
    else if (m_readOnly)
        body = m_readOnlyColor;
    m_bodyColor = body;
    update();
}

QRect TRzColorEdit::buttonRect() const {
    if (!m_dropButtonVisible)
        return {};
    const int b = themed() ? 1 : 2;
    const QRect inner = rect().adjusted(b, b, -b, -b);
    return QRect(inner.right() - kButtonWidth + 1, inner.top(), kButtonWidth, inner.height());
}

QRect TRzColorEdit::clientRect() const {
    const int b = themed() ? 1 : 2;
    QRect r = rect().adjusted(b, b, -b, -b);
    if (m_dropButtonVisible) {
        const int narrow = themed() ? kButtonWidth - 1 : kButtonWidth;
        r.setRight(r.right() - narrow);
    }
    if (layoutDirection() == Qt::RightToLeft && m_dropButtonVisible)
        r.moveLeft(rect().width() - r.right() - 1);
    return r;
}

// ---- painting ------------------------------------------------------------------------------

void TRzColorEdit::paintEvent(QPaintEvent*) {
    vq::guarded([&] {
        QPainter p(this);
        p.fillRect(rect(), qc(m_bodyColor));
        paintBorder(p);
        paintClient(p);
        if (m_dropButtonVisible) {
            QRect button = buttonRect();
            if (layoutDirection() == Qt::RightToLeft)
                button.moveLeft(rect().width() - button.right() - 1);
            if (themed())
                paintThemedButton(p, button);
            else if (m_flatButtons)
                paintFlatButton(p, button);
            else
                paintClassicButton(p, button);
        }
    });
}

void TRzColorEdit::paintBorder(QPainter& p) const {
    if (themed()) {
        QStyleOptionFrame opt;
        opt.initFrom(this);
        opt.rect = rect();
        opt.lineWidth = 1;
        opt.midLineWidth = 0;
        opt.state |= QStyle::State_Sunken;
        if (m_inControl)
            opt.state |= QStyle::State_HasFocus;
        style()->drawPrimitive(QStyle::PE_FrameLineEdit, &opt, &p, this);
    } else {
        // The sunken edit edge: two rings.
        edgeRing(p, rect(), clBtnShadow, clBtnHighlight);
        edgeRing(p, rect().adjusted(1, 1, -1, -1), cl3DDkShadow, cl3DLight);
    }
    if (m_frameVisible && m_frameStyle != TRzFrameStyle::None) {
        const bool hot = m_frameHotTrack && (m_inControl || m_overControl);
        const TColor c = hot ? m_frameHotColor : m_frameColor;
        const TRzFrameStyle style = hot ? m_frameHotStyle : m_frameStyle;
        outline(p, rect(), c);
        if (style == TRzFrameStyle::FlatBold)
            outline(p, rect().adjusted(1, 1, -1, -1), c);
    }
}

void TRzColorEdit::paintClient(QPainter& p) const {
    const QRect client = clientRect();
    if (client.width() <= 0 || client.height() <= 0)
        return;
    // Painted into an image first so the focus rectangle can invert exactly what lies under it.
    QImage img(client.size(), QImage::Format_RGB32);
    img.fill(qc(m_bodyColor));
    {
        QPainter ip(&img);
        QRect r = QRect(QPoint(0, 0), client.size()).adjusted(2, 2, -2, -2);
        if (r.width() <= 0 || r.height() <= 0)
            return;
        if (m_selectedColor == clNone) {
            // Outlined box with a transparent rising hatch, darker while marked.
            const TColor c = marked() ? clBtnShadow : clBtnFace;
            ip.end();
            const QRgb rgb = qc(c).rgb();
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const bool edge =
                        x == r.left() || x == r.right() || y == r.top() || y == r.bottom();
                    if (edge || (x + y) % 8 == 7)
                        img.setPixel(x, y, rgb);
                }
        } else {
            outline(ip, r, clBtnShadow);
            r.adjust(1, 1, -1, -1);
            ip.fillRect(r, qc(m_selectedColor));
        }
        if (marked()) {
            if (ip.isActive())
                ip.end();
            // Dotted focus rectangle: every other pixel of the outline inverted.
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const bool edge =
                        x == r.left() || x == r.right() || y == r.top() || y == r.bottom();
                    if (edge && (x + y) % 2 == 0)
                        img.setPixel(x, y, img.pixel(x, y) ^ 0x00FFFFFFu);
                }
        }
    }
    p.drawImage(client.topLeft(), img);
}

void TRzColorEdit::paintClassicButton(QPainter& p, const QRect& r) const {
    p.fillRect(r, qc(clBtnFace));
    const int rows = 4;
    if (m_buttonDown) {
        // Pushed and flat: one shadow line around, the arrow one pixel down and right.
        outline(p, r, clBtnShadow);
        arrow(p, r.translated(1, 1), rows, clBtnText);
        return;
    }
    edgeRing(p, r, cl3DLight, cl3DDkShadow);
    edgeRing(p, r.adjusted(1, 1, -1, -1), clBtnHighlight, clBtnShadow);
    if (!isEnabled()) {
        arrow(p, r.translated(1, 1), rows, clBtnHighlight);
        arrow(p, r, rows, clBtnShadow);
    } else {
        arrow(p, r, rows, clBtnText);
    }
}

void TRzColorEdit::paintFlatButton(QPainter& p, const QRect& r) const {
    const bool hot = m_inControl || m_overControl || m_buttonDown;
    if (hot) {
        p.fillRect(r, qc(m_flatButtonColor));
        if (m_buttonDown)
            edgeRing(p, r, clBtnShadow, clBtnHighlight);
        else
            edgeRing(p, r, clBtnHighlight, clBtnShadow);
    } else {
        p.fillRect(r, qc(m_bodyColor));
    }
    const QRect at = m_buttonDown ? r.translated(1, 1) : r;
    arrow(p, at, 3, isEnabled() ? clBtnText : clBtnShadow);
}

void TRzColorEdit::paintThemedButton(QPainter& p, const QRect& r) const {
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.rect = r;
    opt.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    if (isEnabled()) {
        if (m_buttonDown)
            opt.state |= QStyle::State_Sunken;
        else if (m_inControl || m_overControl)
            opt.state |= QStyle::State_MouseOver | QStyle::State_Raised;
        else
            opt.state |= QStyle::State_Raised;
    }
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p, this);
    QStyleOption arrowOpt = opt;
    const int side = qMin(r.width(), r.height()) / 2;
    arrowOpt.rect = QRect(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrowOpt, &p, this);
}

// ---- input ---------------------------------------------------------------------------------

void TRzColorEdit::pressed(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return; // right and middle presses do nothing here
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    // The press goes on into the palette: dragged onto a colour and released there, it chooses.
    m_openingPress = true;
    dropDown();
}

void TRzColorEdit::mousePressEvent(QMouseEvent* event) {
    vq::guarded([&] { pressed(event); });
}

// A double click is just a second press.
void TRzColorEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    vq::guarded([&] { pressed(event); });
}

void TRzColorEdit::keyPressEvent(QKeyEvent* event) {
    vq::guarded([&] {
        const int key = event->key();
        const Qt::KeyboardModifiers mods =
            event->modifiers() &
            (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if ((key == Qt::Key_F4 && mods == Qt::NoModifier) ||
            (key == Qt::Key_Down && mods == Qt::AltModifier)) {
            event->accept();
            if (m_dropButtonVisible)
                dropDown();
            return;
        }
        // The dialog's own keys (default and cancel buttons) go on to the dialog; everything
        // else, typing included, stops here and changes nothing.
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
            event->ignore();
        else
            event->accept();
    });
}

void TRzColorEdit::focusInEvent(QFocusEvent* event) {
    vq::guarded([&] {
        QWidget::focusInEvent(event);
        m_inControl = true;
        updateBodyColor();
    });
}

void TRzColorEdit::focusOutEvent(QFocusEvent* event) {
    vq::guarded([&] {
        QWidget::focusOutEvent(event);
        m_inControl = false;
        updateBodyColor();
    });
}

void TRzColorEdit::enterEvent(QEnterEvent* event) {
    vq::guarded([&] {
        QWidget::enterEvent(event);
        m_overControl = true;
        if (themed() || m_flatButtons || m_frameHotTrack)
            update();
    });
}

void TRzColorEdit::leaveEvent(QEvent* event) {
    vq::guarded([&] {
        QWidget::leaveEvent(event);
        m_overControl = false;
        if (themed() || m_flatButtons || m_frameHotTrack)
            update();
    });
}

void TRzColorEdit::changeEvent(QEvent* event) {
    vq::guarded([&] {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::EnabledChange)
            updateBodyColor();
        else if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange)
            update();
    });
}

void TRzColorEdit::configurePicker(TRzColorPicker& picker) const {
    picker.setLook(m_look);
    picker.setShowNoColor(m_showNoColor);
    picker.setShowDefaultColor(m_showDefaultColor);
    picker.setShowCustomColor(m_showCustomColor);
    picker.setShowSystemColors(m_showSystemColors);
    picker.setShowColorHints(m_showColorHints);
    picker.setNoColorCaption(m_noColorCaption);
    picker.setDefaultColorCaption(m_defaultColorCaption);
    picker.setCustomColorCaption(m_customColorCaption);
    picker.setCustomColor(m_customColor);
    picker.setDefaultColor(m_defaultColor);
    picker.setSelectedColor(m_selectedColor);
    picker.setCustomColors(m_customColors.data());
    picker.setColorDlgOptions(m_colorDlgOptions);
    picker.show();
}

// ---- drop-down -----------------------------------------------------------------------------

void TRzColorEdit::dropDown() {
    if (m_droppedDown) {
        m_openingPress = false;
        return;
    }
    // The flags come down again whichever way the sequence ends.
    struct Up {
        TRzColorEdit* edit;
        ~Up() {
            edit->m_buttonDown = false;
            edit->m_droppedDown = false;
            edit->update();
        }
    } up{this};
    m_droppedDown = true;
    m_buttonDown = true;
    update();
    const bool byPress = std::exchange(m_openingPress, false);
    emit OnDropDown();

    if (!m_readOnly && parentWidget()) {
        // A fresh panel and palette for every opening, gone again when it closes.
        const std::unique_ptr<TRzPopupPanel> panel =
            std::make_unique<TRzPopupPanel>(parentWidget());
        panel->setColor(clBtnFace);
        panel->setAlignment(TRzPopupAlignment::Right);
        panel->setLook(m_look);
        QFont f = panel->font();
        f.setFamily(font().family());
        panel->setFont(f);
        auto* picker = new TRzColorPicker(panel.get());
        configurePicker(*picker);
        if (byPress)
            picker->continuePress();
        panel->adjustToChildren();
        connect(picker, &TRzColorPicker::clicked, panel.get(), &TRzPopupPanel::close);
        if (panel->popup(this)) {
            m_selectedColor = picker->selectedColor();
            m_customColor = picker->customColor();
            // The picker stored the dialog's slots straight into the shared list.
            update();
            emit OnChange();
        }
    }
    emit OnCloseUp();
}
