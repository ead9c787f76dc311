#include "controls/rzspinner.h"

#include "platform/guard.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSpinBox>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace {

// Sums beyond the 32-bit range stop at its limits instead of wrapping round.
int saturatedSum(int a, qint64 b) {
    const qint64 sum = static_cast<qint64>(a) + b;
    return static_cast<int>(
        std::clamp<qint64>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void fill(QPainter& p, int left, int top, int right, int bottom, TColor color) {
    if (right > left && bottom > top)
        p.fillRect(QRect(left, top, right - left, bottom - top), ColorToQColor(color));
}

// A one-pixel box along the inside edge of r (left, top, right, bottom exclusive).
void box(QPainter& p, const QRect& r, TColor color) {
    const int l = r.left(), t = r.top(), rt = r.left() + r.width(), b = r.top() + r.height();
    fill(p, l, t, rt, t + 1, color);
    fill(p, l, b - 1, rt, b, color);
    fill(p, l, t, l + 1, b, color);
    fill(p, rt - 1, t, rt, b, color);
}

QRect ltrb(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

TRzSpinner::TRzSpinner(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(85, 21);
}

TRzSpinner::~TRzSpinner() = default;

// One application-wide switch governs every custom-drawn control.
bool TRzSpinner::visualStylesActive() {
    return vq::resolvedLook(TRzLook::Default) == TRzLook::Themed;
}
void TRzSpinner::setVisualStylesActive(bool active) {
    vq::setDefaultLook(active ? TRzLook::Themed : TRzLook::Classic);
}
bool TRzSpinner::usesThemedLook() const {
    return m_themeAware && visualStylesActive();
}

// ---- value and range -------------------------------------------------------------------------

int TRzSpinner::CheckValue(int newValue) const {
    if (m_min != m_max || m_checkRange) {
        if (newValue < m_min)
            return m_min;
        if (newValue > m_max)
            return m_max;
    }
    return newValue;
}

void TRzSpinner::setValue(int value) {
    value = CheckValue(value);
    if (value == m_value)
        return;
    bool allowChange = true;
    emit OnChanging(value, &allowChange);
    if (!allowChange)
        return;
    m_value = value;
    update();
    emit OnChange();
}

void TRzSpinner::setMin(int value) {
    if (value == m_min)
        return;
    m_min = value;
    if (m_max < m_min)
        m_max = m_min;
    setValue(m_value);
    update();
}

void TRzSpinner::setMax(int value) {
    if (value == m_max)
        return;
    m_max = value;
    if (m_min > m_max)
        m_min = m_max;
    setValue(m_value);
    update();
}

void TRzSpinner::setCheckRange(bool on) {
    if (on == m_checkRange)
        return;
    m_checkRange = on;
    setValue(m_value);
}

void TRzSpinner::IncValue(int amount) {
    const int old = m_value;
    setValue(saturatedSum(old, amount));
    if (m_value != old)
        emit OnIncrement(amount);
}

void TRzSpinner::DecValue(int amount) {
    const int old = m_value;
    setValue(saturatedSum(old, -static_cast<qint64>(amount)));
    if (m_value != old)
        emit OnDecrement(amount);
}

QString TRzSpinner::displayText() const {
    if (m_showHexValue)
        return m_hexValuePrefix + QString::number(static_cast<quint32>(m_value), 16).toUpper();
    return QString::number(m_value);
}

// ---- appearance properties -------------------------------------------------------------------

void TRzSpinner::setButtonWidth(int width) {
    vq::setAndRepaint(*this, m_buttonWidth, width);
}

void TRzSpinner::setButtonColor(TColor color) {
    vq::setAndRepaint(*this, m_buttonColor, color);
}

void TRzSpinner::setFrameColor(TColor color) {
    vq::setAndRepaint(*this, m_frameColor, color);
}

void TRzSpinner::setColor(TColor color) {
    vq::setAndRepaint(*this, m_color, color);
}

void TRzSpinner::setShowHexValue(bool on) {
    vq::setAndRepaint(*this, m_showHexValue, on);
}

void TRzSpinner::setHexValuePrefix(const QString& prefix) {
    vq::setAndRepaint(*this, m_hexValuePrefix, prefix);
}

void TRzSpinner::setThemeAware(bool on) {
    vq::setAndRepaint(*this, m_themeAware, on);
}

void TRzSpinner::setImages(const QList<QPixmap>& images) {
    m_images = images;
    applyImageSize();
    update();
}

// The buttons grow to hold the pictures: at least 4 pixels wider and higher than the largest.
void TRzSpinner::applyImageSize() {
    int w = 0, h = 0;
    for (const QPixmap& pm : m_images) {
        w = std::max(w, pm.width());
        h = std::max(h, pm.height());
    }
    if (m_images.isEmpty())
        return;
    if (m_buttonWidth < w)
        m_buttonWidth = w + 4;
    if (height() < h)
        resize(width(), h + 4);
}

int TRzSpinner::imageIndex(int which) const {
    return which == 1 ? m_imageIndex[0] : m_imageIndex[1];
}

void TRzSpinner::setImageIndex(int which, int index) {
    int& slot = which == 1 ? m_imageIndex[0] : m_imageIndex[1];
    if (slot == index)
        return;
    slot = index;
    update();
}

// ---- geometry --------------------------------------------------------------------------------

TRzSpinner::Zone TRzSpinner::zoneAt(const QPoint& pos) const {
    const int w = width(), h = height(), b = m_buttonWidth;
    if (pos.y() < 0 || pos.y() >= h)
        return Zone::None;
    if (pos.x() >= 0 && pos.x() < b)
        return Zone::Minus;
    if (pos.x() >= w - b && pos.x() < w)
        return Zone::Plus;
    return Zone::None;
}

QRect TRzSpinner::buttonFace(Button button) const {
    const int w = width(), h = height(), b = m_buttonWidth;
    return button == Button::Minus ? ltrb(1, 1, b - 1, h - 1) : ltrb(w - b + 1, 1, w - 1, h - 1);
}

QRect TRzSpinner::valueCell() const {
    return ltrb(m_buttonWidth, 1, width() - m_buttonWidth, height() - 1);
}

QRect TRzSpinner::focusRectangle() const {
    return ltrb(m_buttonWidth + 1, 2, width() - m_buttonWidth - 1, height() - 2);
}

// ---- painting --------------------------------------------------------------------------------

void TRzSpinner::paintEvent(QPaintEvent*) {
    vq::guarded([&] {
        QPainter p(this);
        DrawSpinnerFrame(p);
        DrawSpinnerValue(p);
        DrawSpinnerButton(p, Button::Minus, m_down[0], buttonFace(Button::Minus));
        DrawSpinnerButton(p, Button::Plus, m_down[1], buttonFace(Button::Plus));
        if (hasFocus() && m_showFocusRect)
            drawFocusRectangle(p);
    });
}

// The edit-field frame the style draws over the whole control.
static void drawThemedField(const QWidget* w, QPainter& p, const QRect& r) {
    QStyleOptionFrame opt;
    opt.initFrom(w);
    opt.rect = r;
    opt.lineWidth = w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, w);
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    w->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &opt, &p, w);
}

// The style has no query for its field border colour, so it is read from what it draws: the
// left edge at half height.
QColor TRzSpinner::themedBorderColor() const {
    QImage img(std::max(width(), 8), std::max(height(), 8), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter ip(&img);
        drawThemedField(this, ip, img.rect());
    }
    const QColor c = img.pixelColor(0, img.height() / 2);
    return c.alpha() == 0 ? palette().color(QPalette::Dark) : QColor(c.rgb());
}

void TRzSpinner::DrawSpinnerFrame(QPainter& p) {
    const int w = width(), h = height(), b = m_buttonWidth;
    if (usesThemedLook()) {
        p.fillRect(rect(), ColorToQColor(clWindow));
        drawThemedField(this, p, rect());
        const QColor border = themedBorderColor();
        p.fillRect(ltrb(b - 1, 1, b, h - 1), border);
        p.fillRect(ltrb(w - b, 1, w - b + 1, h - 1), border);
        return;
    }
    const bool enabled = isEnabled();
    const TColor outline = enabled ? m_frameColor : clBtnShadow;
    const TColor body = enabled ? m_color : clBtnFace;
    fill(p, 0, 0, w, h, body);
    box(p, rect(), outline);
    fill(p, b - 1, 1, b, h - 1, outline);
    fill(p, w - b, 1, w - b + 1, h - 1, outline);
}

void TRzSpinner::DrawSpinnerValue(QPainter& p) {
    const QRect cell = valueCell();
    if (cell.isEmpty())
        return;
    const TColor background = usesThemedLook() ? clWindow : (isEnabled() ? m_color : clBtnFace);
    const QString text = displayText();
    const QFontMetrics fm(font());
    const int left = width() / 2 - fm.horizontalAdvance(text) / 2;
    const int top = 1 + ((height() - 2) - fm.height()) / 2;

    p.save();
    p.setClipRect(cell);
    p.fillRect(cell, ColorToQColor(background));
    p.setFont(font());
    p.setPen(isEnabled() ? palette().color(QPalette::Active, foregroundRole())
                         : ColorToQColor(clBtnShadow));
    p.drawText(QPoint(left, top + fm.ascent()), text);
    p.restore();
}

void TRzSpinner::DrawSpinnerButton(QPainter& p, Button button, bool down, const QRect& face) {
    if (face.isEmpty())
        return;
    if (usesThemedLook())
        drawThemedButton(p, button, down, face);
    else
        drawClassicButton(p, button, down, face);
}

void TRzSpinner::drawClassicButton(QPainter& p, Button button, bool down, const QRect& face) {
    box(p, face, clWindow);
    QRect inner = face.adjusted(1, 1, -1, -1);
    TColor faceColor;
    if (down) {
        faceColor = HslDarken(m_buttonColor, 20);
    } else if (!isEnabled()) {
        faceColor = clBtnFace;
    } else if (m_hot[index(button)]) {
        faceColor = HslLighten(m_buttonColor, 10);
        if (!inner.isEmpty())
            box(p, inner, HslDarken(m_buttonColor, 20));
        inner.adjust(1, 1, -1, -1);
    } else {
        faceColor = m_buttonColor;
    }
    if (!inner.isEmpty())
        p.fillRect(inner, ColorToQColor(faceColor));

    const int imageIdx = m_imageIndex[index(button)];
    if (!m_images.isEmpty() && imageIdx != -1) {
        if (imageIdx < 0 || imageIdx >= m_images.size())
            return; // an index past the list shows nothing, as an image list draws nothing there
        QPixmap pm = m_images.at(imageIdx);
        if (!isEnabled()) {
            QStyleOption opt;
            opt.initFrom(this);
            pm = style()->generatedIconPixmap(QIcon::Disabled, pm, &opt);
        }
        const int x = inner.left() + inner.width() / 2 - pm.width() / 2;
        const int y = inner.top() + inner.height() / 2 - pm.height() / 2;
        p.drawPixmap(x, y, pm);
        return;
    }
    drawArrow(p, button, face, faceColor);
}

void TRzSpinner::drawArrow(QPainter& p, Button button, const QRect& face, TColor fillColor) {
    TColor color = clBlack;
    if (!isEnabled())
        color = clBtnShadow;
    else if (HslNear(fillColor, clBlack))
        color = cl3DDkShadow;
    const QColor qc = ColorToQColor(color);

    int cx = face.left() + face.width() / 2;
    int cy = face.top() + face.height() / 2;
    if (face.height() % 2 == 0)
        --cy;
    cx -= 2;
    // Column i of the arrow (0..3) is 2i+1 pixels high; a left arrow grows to the right.
    for (int i = 0; i < 4; ++i) {
        const int x = button == Button::Minus ? cx + i : cx + 3 - i;
        p.fillRect(QRect(x, cy - i, 1, 2 * i + 1), qc);
    }
}

void TRzSpinner::drawThemedButton(QPainter& p, Button button, bool down, const QRect& face) {
    // The spin-box parts as the style draws them: the button bevel and the arrow of the
    // sub-control, in its pressed / disabled / hot / normal state.
    QStyleOptionSpinBox opt;
    opt.initFrom(this);
    opt.rect = face;
    opt.frame = false;
    opt.buttonSymbols = QAbstractSpinBox::UpDownArrows;
    opt.subControls = button == Button::Minus ? QStyle::SC_SpinBoxDown : QStyle::SC_SpinBoxUp;
    opt.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    opt.state &= ~(QStyle::State_Sunken | QStyle::State_MouseOver | QStyle::State_HasFocus);
    opt.activeSubControls = QStyle::SC_None;
    if (down) {
        opt.state |= QStyle::State_Sunken;
        opt.activeSubControls = opt.subControls;
    } else if (isEnabled() && m_hot[index(button)]) {
        opt.state |= QStyle::State_MouseOver;
        opt.activeSubControls = opt.subControls;
    } else {
        opt.state |= QStyle::State_Raised;
    }
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p, this);
    style()->drawPrimitive(button == Button::Minus ? QStyle::PE_IndicatorArrowLeft
                                                   : QStyle::PE_IndicatorArrowRight,
                           &opt, &p, this);
    const int x = button == Button::Minus ? face.left() + face.width() - 1 : face.left();
    p.fillRect(QRect(x, face.top(), 1, face.height()), ColorToQColor(clWindow));
}

// The platform's dotted focus rectangle: every other pixel of the outline inverted.
void TRzSpinner::drawFocusRectangle(QPainter& p) {
    const QRect r = focusRectangle();
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(255, 255, 255);
    const int l = r.left(), t = r.top(), rt = r.left() + r.width() - 1,
              b = r.top() + r.height() - 1;
    auto dot = [&](int x, int y) {
        if (((x - l) + (y - t)) % 2 == 0)
            p.fillRect(QRect(x, y, 1, 1), white);
    };
    for (int x = l; x <= rt; ++x) {
        dot(x, t);
        if (b != t)
            dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (rt != l)
            dot(rt, y);
    }
    p.restore();
}

// ---- input -----------------------------------------------------------------------------------

QPoint TRzSpinner::pointerPosition() const {
    return vq::pointerOver(*this);
}

void TRzSpinner::stepAt(const QPoint& pos) {
    switch (zoneAt(pos)) {
    case Zone::Plus:
        IncValue(m_increment);
        break;
    case Zone::Minus:
        DecValue(m_increment);
        break;
    case Zone::None:
        break;
    }
}

void TRzSpinner::repeatTick() {
    if (!m_timer)
        return;
    m_timer->setInterval(kRepeatInterval);
    try {
        stepAt(pointerPosition());
    } catch (...) {
        // A failing step must not keep repeating behind the error box.
        m_timer->stop();
        throw;
    }
}

void TRzSpinner::trackHot(const QPoint& pos) {
    const Zone zone = zoneAt(pos);
    m_hot[0] = zone == Zone::Minus;
    m_hot[1] = zone == Zone::Plus;
    if (zone != m_lastHotZone) {
        m_lastHotZone = zone;
        update();
    }
}

void TRzSpinner::mousePressEvent(QMouseEvent* event) {
    vq::guarded([&] {
        setFocus(Qt::MouseFocusReason);
        if (event->button() != Qt::LeftButton)
            return;
        const Zone zone = zoneAt(event->position().toPoint());
        if (zone == Zone::None)
            return;
        m_down[0] = zone == Zone::Minus;
        m_down[1] = zone == Zone::Plus;
        if (!m_timer) {
            m_timer = new QTimer(this);
            connect(m_timer, &QTimer::timeout, this,
                    [this] { vq::guarded([&] { repeatTick(); }); });
        }
        m_timer->setInterval(kInitialDelay);
        m_timer->start();
        repaint();
    });
}

void TRzSpinner::mouseMoveEvent(QMouseEvent* event) {
    vq::guarded([&] { trackHot(event->position().toPoint()); });
}

void TRzSpinner::mouseReleaseEvent(QMouseEvent* event) {
    vq::guarded([&] {
        if (event->button() != Qt::LeftButton)
            return;
        // The press ends even when the final step fails, so nothing is left repeating.
        auto finish = [this] {
            if (m_timer)
                m_timer->stop();
            m_down[0] = m_down[1] = false;
            repaint();
        };
        try {
            stepAt(event->position().toPoint());
        } catch (...) {
            finish();
            throw;
        }
        finish();
    });
}

void TRzSpinner::wheelEvent(QWheelEvent* event) {
    vq::guarded([&] {
        event->accept();
        m_wheelDelta += event->angleDelta().y();
        const int step = (event->modifiers() & Qt::ControlModifier) ? m_pageSize : m_increment;
        while (m_wheelDelta >= QWheelEvent::DefaultDeltasPerStep) {
            m_wheelDelta -= QWheelEvent::DefaultDeltasPerStep;
            IncValue(step);
        }
        while (m_wheelDelta <= -QWheelEvent::DefaultDeltasPerStep) {
            m_wheelDelta += QWheelEvent::DefaultDeltasPerStep;
            DecValue(step);
        }
    });
}

void TRzSpinner::keyPressEvent(QKeyEvent* event) {
    vq::guarded([&] {
        const bool keypad = event->modifiers() & Qt::KeypadModifier;
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right:
            IncValue(m_increment);
            break;
        case Qt::Key_Down:
        case Qt::Key_Left:
            DecValue(m_increment);
            break;
        case Qt::Key_PageUp:
            IncValue(m_pageSize);
            break;
        case Qt::Key_PageDown:
            DecValue(m_pageSize);
            break;
        case Qt::Key_Plus:
            if (!keypad)
                return event->ignore();
            IncValue(m_increment);
            break;
        case Qt::Key_Minus:
            if (!keypad)
                return event->ignore();
            DecValue(m_increment);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!m_tabOnEnter)
                return event->ignore();
            QCoreApplication::postEvent(
                this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
            break;
        default:
            return event->ignore();
        }
        event->accept();
    });
}

void TRzSpinner::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TRzSpinner::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TRzSpinner::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        update();
}

void TRzSpinner::enterEvent(QEnterEvent* event) {
    vq::guarded([&] { trackHot(event->position().toPoint()); });
}

void TRzSpinner::leaveEvent(QEvent*) {
    vq::guarded([&] {
        m_hot[0] = m_hot[1] = false;
        if (m_lastHotZone != Zone::None)
            update();
        m_lastHotZone = Zone::None;
    });
}
