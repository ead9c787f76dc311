#include "controls/rzcolorpicker.h"
#include "controls/rzcolorpicker_testing.h"

#include "controls/rzcustomcolors.h"
#include "platform/guard.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <cmath>

namespace {

struct Entry {
    TColor value;
    const char* name;
};

constexpr Entry kStandard[TRzColorPicker::kStandardCount] = {
    {0x000000, "Black"},
    {0x003399, "Brown"},
    {0x003333, "Olive Green"},
    {0x003300, "Dark Green"},
    {0x663300, "Dark Teal"},
    {0x800000, "Dark Blue"},
    {0x993333, "Indigo"},
    {0x333333, "Gray 80%"},
    {0x000080, "Dark Red"},
    {0x0066FF, "Orange"},
    {0x008080, "Dark Yellow"},
    {0x008000, "Green"},
    {0x808000, "Teal"},
    {0xFF0000, "Blue"},
    {0x996666, "Blue Gray"},
    {0x808080, "Gray 50%"},
    {0x0000FF, "Red"},
    {0x0099FF, "Light Orange"},
    {0x00CC99, "Lime"},
    {0x669933, "Sea Green"},
    {0x999933, "Aqua"},
    {0xFF6633, "Light Blue"},
    {0x800080, "Violet"},
    {0x999999, "Gray 40%"},
    {0xFF00FF, "Pink"},
    {0x00CCFF, "Gold"},
    {0x00FFFF, "Yellow"},
    {0x00FF00, "Bright Green"},
    {0xFFFF00, "Turquoise"},
    {0xFFCC00, "Sky Blue"},
    {0x663399, "Plum"},
    {0xC0C0C0, "Gray 25%"},
    {0xCC99FF, "Rose"},
    {0x99CCFF, "Tan"},
    {0x99FFFF, "Light Yellow"},
    {0xCCFFCC, "Light Green"},
    {0xFFFFCC, "Light Turquoise"},
    {0xFFCC99, "Pale Blue"},
    {0xFF99CC, "Lavender"},
    {0xFFFFFF, "White"},
};

constexpr const char* kSystemNames[TRzColorPicker::kSystemCount] = {
    "Scroll Bar",
    "Background",
    "Active Caption",
    "Inactive Caption",
    "Menu",
    "Window",
    "Window Frame",
    "Menu Text",
    "Window Text",
    "Caption Text",
    "Active Border",
    "Inactive Border",
    "App WorkSpace",
    "Highlight",
    "Highlight Text",
    "Button Face",
    "Button Shadow",
    "Gray Text",
    "Button Text",
    "Inactive Caption Text",
    "Button Highlight",
    "3D Dark Shadow",
    "3D Light",
    "Info Text",
    "Info Background",
    "Hot Light",
    "Gradient Active Caption",
    "Gradient Inactive Caption",
    "Menu Highlight",
    "Menu Bar",
};

std::optional<QColor> runRealDialog(QWidget* parent, const QColor& initial,
                                    QColorDialog::ColorDialogOptions options) {
    QColorDialog dialog(initial.isValid() ? initial : QColor(Qt::white), parent);
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

void fill(QPainter& p, const QRect& r, TColor c) {
    p.fillRect(r, ColorToQColor(c));
}

// One-pixel box along the inside of r.
void box(QPainter& p, const QRect& r, TColor c) {
    const QColor q = ColorToQColor(c);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), q);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), q);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), q);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), q);
}

// One ring of a sunken edge: top and left in one colour, bottom and right in the other
// (the bottom-left and top-right corner pixels belong to the bottom and right lines).
void edgeRing(QPainter& p, const QRect& r, TColor topLeft, TColor bottomRight) {
    p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), ColorToQColor(topLeft));
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), ColorToQColor(topLeft));
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), ColorToQColor(bottomRight));
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), ColorToQColor(bottomRight));
}

bool isCell(int code) {
    return code >= 0 && code < TRzColorPicker::kStandardCount + TRzColorPicker::kSystemCount;
}

// The dialog every picker runs: the standard one unless a test put its own in.
TRzColorPicker::ColorDialogRunner& colorDialogRunner() {
    static TRzColorPicker::ColorDialogRunner runner = runRealDialog;
    return runner;
}

} // namespace

void vq::setColorDialogRunner(TRzColorPicker::ColorDialogRunner runner) {
    colorDialogRunner() =
        runner ? std::move(runner) : TRzColorPicker::ColorDialogRunner(runRealDialog);
}

TRzColorPicker::TRzColorPicker(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    resize(sizeHint());
}

TRzColorPicker::~TRzColorPicker() {
    delete m_hint.data();
}

TColor TRzColorPicker::paletteColor(int code) {
    if (code >= 0 && code < kStandardCount)
        return kStandard[code].value;
    if (code >= kStandardCount && code < kStandardCount + kSystemCount) {
        const int j = code - kStandardCount;
        return systemColor(j < 25 ? j : j + 1);
    }
    return clNone;
}

QString TRzColorPicker::colorName(int code) {
    if (code >= 0 && code < kStandardCount)
        return QString::fromLatin1(kStandard[code].name);
    if (code >= kStandardCount && code < kStandardCount + kSystemCount)
        return QString::fromLatin1(kSystemNames[code - kStandardCount]);
    return {};
}

bool TRzColorPicker::themed() const {
    return vq::resolvedLook(m_look) == TRzLook::Themed;
}

int TRzColorPicker::inset() const {
    return 2 + (themed() ? 1 : 2);
}

int TRzColorPicker::rowHeight() const {
    const QFont f = font();
    const int px = f.pixelSize() > 0
                       ? f.pixelSize()
                       : static_cast<int>(std::lround(f.pointSizeF() * logicalDpiY() / 72.0));
    return std::abs(px) + 12;
}

QSize TRzColorPicker::sizeHint() const {
    const int i = inset();
    const int rh = rowHeight();
    int h = 2 * i + 90;
    if (m_showSystemColors)
        h += 80;
    if (m_showNoColor)
        h += rh + 1;
    if (m_showDefaultColor)
        h += rh + 1;
    if (m_showCustomColor)
        h += rh;
    return {2 * i + 144, h};
}

QRect TRzColorPicker::innerRect() const {
    return rect().adjusted(inset(), inset(), -inset(), -inset());
}

int TRzColorPicker::gridTop() const {
    int top = innerRect().top();
    if (m_showNoColor)
        top += rowHeight() + 1;
    if (m_showDefaultColor)
        top += rowHeight() + 1;
    return top;
}

int TRzColorPicker::gridHeight() const {
    int h = innerRect().bottom() + 1 - gridTop();
    if (m_showCustomColor)
        h -= rowHeight();
    return h;
}

int TRzColorPicker::cellWidth() const {
    return innerRect().width() / 8;
}

int TRzColorPicker::cellHeight() const {
    return m_showSystemColors ? (gridHeight() - 8) / 9 : gridHeight() / 5;
}

QRect TRzColorPicker::noColorRow() const {
    if (!m_showNoColor)
        return {};
    const QRect in = innerRect();
    return {in.left(), in.top(), in.width(), rowHeight() + 1};
}

QRect TRzColorPicker::defaultRow() const {
    if (!m_showDefaultColor)
        return {};
    const QRect in = innerRect();
    return {in.left(), in.top() + (m_showNoColor ? rowHeight() + 1 : 0), in.width(),
            rowHeight() + 1};
}

QRect TRzColorPicker::customRow() const {
    if (!m_showCustomColor)
        return {};
    const QRect in = innerRect();
    return {in.left(), in.bottom() + 1 - rowHeight(), in.width(), rowHeight()};
}

QRect TRzColorPicker::cellRect(int code) const {
    const QRect in = innerRect();
    const int cw = cellWidth();
    const int ch = cellHeight();
    if (code >= 0 && code < kStandardCount)
        return {in.left() + (code % 8) * cw, gridTop() + (code / 8) * ch, cw, ch};
    if (code >= kStandardCount && code < kStandardCount + kSystemCount) {
        if (!m_showSystemColors)
            return {};
        const int j = code - kStandardCount;
        const int sysTop = gridTop() + gridHeight() - 4 * ch;
        return {in.left() + (j % 8) * cw, sysTop + (j / 8) * ch, cw, ch};
    }
    const int rh = rowHeight();
    switch (code) {
    case kNoColor:
        return noColorRow();
    case kDefaultColor:
        return defaultRow();
    case kCustomSwatch: {
        const QRect r = customRow();
        return r.isEmpty() ? r : QRect(r.right() + 1 - rh, r.top(), rh, rh);
    }
    case kMoreColors: {
        const QRect r = customRow();
        return r.isEmpty() ? r : QRect(r.left(), r.top(), r.width() - rh, rh);
    }
    default:
        return {};
    }
}

int TRzColorPicker::codeAt(const QPoint& pos) const {
    const QRect in = innerRect();
    if (!in.contains(pos))
        return kNoColor;
    if (noColorRow().contains(pos))
        return kNoColor;
    if (defaultRow().contains(pos))
        return kDefaultColor;
    const int cw = cellWidth();
    const int ch = cellHeight();
    const int x = pos.x() - in.left();
    const int col = cw > 0 ? x / cw : 8;
    const int top = gridTop();
    if (col < 8 && pos.y() >= top && pos.y() < top + 5 * ch)
        return (pos.y() - top) / ch * 8 + col;
    if (m_showSystemColors) {
        const int sysTop = top + gridHeight() - 4 * ch;
        if (pos.y() >= top + 5 * ch && pos.y() < sysTop)
            return kDeadZone;
        if (col < 8 && pos.y() >= sysTop && pos.y() < sysTop + 4 * ch) {
            const int j = (pos.y() - sysTop) / ch * 8 + col;
            return j < kSystemCount ? kStandardCount + j : kDeadZone;
        }
    } else if (customRow().contains(pos)) {
        return pos.x() > customRow().right() - rowHeight() ? kCustomSwatch : kMoreColors;
    }
    if (m_showSystemColors && customRow().contains(pos))
        return pos.x() > customRow().right() - rowHeight() ? kCustomSwatch : kMoreColors;
    return kNoColor;
}

TColor TRzColorPicker::selectedColor() const {
    switch (m_selected) {
    case kNoColor:
    case kDeadZone:
        return clNone;
    case kDefaultColor:
        return m_defaultColor;
    case kCustomSwatch:
    case kMoreColors:
        return m_customColor;
    default:
        return paletteColor(m_selected);
    }
}

int TRzColorPicker::codeFor(TColor v) {
    if (v == clNone)
        return kNoColor;
    const TColor rgbValue = ColorToRGB(v);
    if (m_showDefaultColor && rgbValue == ColorToRGB(m_defaultColor))
        return kDefaultColor;
    if (m_showSystemColors)
        for (int j = 0; j < kSystemCount; ++j)
            if (paletteColor(kStandardCount + j) == v)
                return kStandardCount + j;
    for (int k = 0; k < kStandardCount; ++k)
        if (kStandard[k].value == rgbValue)
            return k;
    m_customColor = rgbValue;
    return kCustomSwatch;
}

void TRzColorPicker::setSelectedColor(TColor color) {
    select(codeFor(color));
}

void TRzColorPicker::select(int code) {
    if (code == m_selected && code != kCustomSwatch)
        return;
    const bool changedCode = code != m_selected;
    m_selected = code;
    update();
    if (changedCode)
        emit changed();
    if (code == kCustomSwatch)
        emit clicked();
}

void TRzColorPicker::setHighlight(int code) {
    vq::setAndRepaint(*this, m_highlighted, code);
}

void TRzColorPicker::optionsChanged() {
    if (m_autoSize)
        resize(sizeHint());
    updateGeometry();
    update();
}

void TRzColorPicker::setShowNoColor(bool on) {
    m_showNoColor = on;
    optionsChanged();
}
void TRzColorPicker::setShowDefaultColor(bool on) {
    m_showDefaultColor = on;
    optionsChanged();
}
void TRzColorPicker::setShowCustomColor(bool on) {
    m_showCustomColor = on;
    optionsChanged();
}
void TRzColorPicker::setShowSystemColors(bool on) {
    m_showSystemColors = on;
    optionsChanged();
}
void TRzColorPicker::setNoColorCaption(const QString& text) {
    m_noColorCaption = text;
    optionsChanged();
}
void TRzColorPicker::setDefaultColorCaption(const QString& text) {
    m_defaultColorCaption = text;
    optionsChanged();
}
void TRzColorPicker::setCustomColorCaption(const QString& text) {
    m_customColorCaption = text;
    optionsChanged();
}
void TRzColorPicker::setAutoSize(bool on) {
    m_autoSize = on;
    optionsChanged();
}
void TRzColorPicker::setLook(TRzLook look) {
    m_look = look;
    optionsChanged();
}
void TRzColorPicker::setButtonColor(TColor color) {
    m_buttonColor = color;
    update();
}

void TRzColorPicker::setDefaultColor(TColor color) {
    m_defaultColor = color;
    if (m_showDefaultColor)
        update();
}

void TRzColorPicker::setCustomColor(TColor color) {
    m_customColor = color;
    if (m_showCustomColor)
        update();
}

QString TRzColorPicker::caption(int code) const {
    switch (code) {
    case kNoColor:
        return m_noColorCaption.isEmpty() ? tr("No Color") : m_noColorCaption;
    case kDefaultColor:
        return m_defaultColorCaption.isEmpty() ? tr("Default") : m_defaultColorCaption;
    default:
        return m_customColorCaption.isEmpty() ? tr("More Colors...") : m_customColorCaption;
    }
}

void TRzColorPicker::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        optionsChanged();
    QWidget::changeEvent(event);
}

// A mark in the themed look: the style's auto-raise tool-button panel in the given state.
void TRzColorPicker::drawToolPanel(QPainter& p, const QRect& r, QStyle::State state) const {
    QStyleOption o;
    o.initFrom(this);
    o.rect = r;
    o.state = QStyle::State_Enabled | QStyle::State_AutoRaise | state;
    style()->drawPrimitive(QStyle::PE_PanelButtonTool, &o, &p, this);
}

void TRzColorPicker::paintEvent(QPaintEvent*) {
    vq::guarded([&] {
        QPainter p(this);
        const QRect all = rect();
        const bool th = themed();
        // Frame, then the window-coloured band inside it.
        if (th) {
            fill(p, all, clWindow);
            QStyleOptionFrame opt;
            opt.initFrom(this);
            opt.rect = all;
            opt.lineWidth = 1;
            p.save();
            p.setClipRegion(QRegion(all).subtracted(all.adjusted(1, 1, -1, -1)));
            style()->drawPrimitive(QStyle::PE_FrameLineEdit, &opt, &p, this);
            p.restore();
        } else {
            edgeRing(p, all, clBtnShadow, clBtnHighlight);
            edgeRing(p, all.adjusted(1, 1, -1, -1), cl3DDkShadow, cl3DLight);
        }
        const QRect in = innerRect();
        // The window-coloured band between the frame and the cells; the cells paint their own.
        p.setClipRegion(QRegion(in.adjusted(-2, -2, 2, 2)).subtracted(in));
        fill(p, in.adjusted(-2, -2, 2, 2), clWindow);
        QRegion remaining(in);

        // Marks c when it is selected or highlighted; true when it painted something.
        const auto markCell = [&](const QRect& c, int code) -> bool {
            p.setClipRegion(remaining);
            if (code == m_selected) {
                fill(p, c, clWindow);
                if (th)
                    drawToolPanel(p, c, QStyle::State_Sunken | QStyle::State_On);
                else
                    box(p, c, clHighlight);
                return true;
            }
            if (code == m_highlighted) {
                if (th) {
                    drawToolPanel(p, c, QStyle::State_MouseOver | QStyle::State_Raised);
                } else {
                    fill(p, c, clBtnFace);
                    box(p, c, clBtnShadow);
                }
                return true;
            }
            return false;
        };
        const auto paintCell = [&](const QRect& c, int code, TColor colour) {
            const QRect swatch = c.adjusted(4, 4, -4, -4);
            const QRect framed = swatch.adjusted(-1, -1, 1, 1);
            p.setClipRegion(remaining);
            box(p, framed, clBtnShadow);
            fill(p, swatch, colour);
            remaining -= framed;
            // A marked cell is finished; an unmarked one keeps its ring for the final fill.
            if (markCell(c, code))
                remaining -= c;
        };
        // A caption box in `area` (shrunk by 3) over the row's mark; like a cell, an unmarked
        // row keeps its window-coloured ring for the final fill.
        const auto paintCaptionBox = [&](const QRect& row, const QRect& area, int code) {
            const bool marked = markCell(row, code);
            p.setClipRegion(remaining);
            const QRect b = area.adjusted(3, 3, -3, -3);
            fill(p, b, m_buttonColor);
            box(p, b, clBtnShadow);
            p.setPen(palette().color(QPalette::ButtonText));
            p.drawText(b, Qt::AlignCenter, caption(code));
            remaining -= marked ? row : b;
        };

        for (int k = 0; k < kStandardCount; ++k)
            paintCell(cellRect(k), k, kStandard[k].value);
        if (m_showSystemColors) {
            for (int j = 0; j < kSystemCount; ++j)
                paintCell(cellRect(kStandardCount + j), kStandardCount + j,
                          paletteColor(kStandardCount + j));
            p.setClipRegion(remaining);
            const int y = gridTop() + 5 * cellHeight() + 4;
            fill(p, QRect(in.left() + 3, y, in.width() - 6, 1), clBtnShadow);
            remaining -= QRect(in.left() + 3, y, in.width() - 6, 1);
        }
        if (m_showNoColor)
            paintCaptionBox(noColorRow(), noColorRow(), kNoColor);
        if (m_showDefaultColor) {
            // The whole row is the default code: its swatch sits inside the row's mark.
            const QRect row = defaultRow();
            const int rh = rowHeight();
            const QRect swatch =
                QRect(row.right() + 1 - rh, row.top(), rh, rh).adjusted(4, 4, -4, -4);
            p.setClipRegion(remaining);
            box(p, swatch.adjusted(-1, -1, 1, 1), clBtnShadow);
            fill(p, swatch, m_defaultColor);
            remaining -= swatch.adjusted(-1, -1, 1, 1);
            paintCaptionBox(row, QRect(row.left(), row.top(), row.width() - rh, row.height()),
                            kDefaultColor);
        }
        if (m_showCustomColor) {
            paintCell(cellRect(kCustomSwatch), kCustomSwatch, m_customColor);
            paintCaptionBox(cellRect(kMoreColors), cellRect(kMoreColors), kMoreColors);
        }
        p.setClipRegion(remaining);
        fill(p, in, clWindow);
    });
}

void TRzColorPicker::mousePressEvent(QMouseEvent* event) {
    vq::guarded([&] {
        if (event->button() != Qt::LeftButton)
            return;
        const int code = codeAt(event->position().toPoint());
        m_leftPressed = true;
        if (code == kDeadZone)
            return;
        if (code == kMoreColors) {
            // The dialog takes over this press: its release must not count as a choice.
            m_leftPressed = false;
            m_highlighted = kNoHighlight;
            hideHint();
            update();
            openColorDialog();
            return;
        }
        select(code);
    });
}

void TRzColorPicker::mouseMoveEvent(QMouseEvent* event) {
    vq::guarded([&] {
        const QPoint pos = event->position().toPoint();
        const int code = codeAt(pos);
        if (!(event->buttons() & Qt::LeftButton))
            m_leftPressed = false; // that press ended elsewhere
        if (event->buttons() & Qt::LeftButton) {
            // The dead zone stays out of a drag as it stays out of a press: releasing on the
            // separator band must not choose "no colour" from a palette that does not offer it.
            if (m_leftPressed && code != kMoreColors && code != kDeadZone)
                select(code);
        } else {
            setHighlight(code);
        }
        updateHint(pos);
    });
}

void TRzColorPicker::mouseReleaseEvent(QMouseEvent* event) {
    vq::guarded([&] {
        if (event->button() != Qt::LeftButton)
            return;
        const bool pressed = m_leftPressed;
        m_leftPressed = false;
        if (pressed && innerRect().contains(event->position().toPoint()))
            emit clicked();
    });
}

void TRzColorPicker::enterEvent(QEnterEvent* event) {
    vq::guarded([&] { updateHint(event->position().toPoint()); });
}

void TRzColorPicker::leaveEvent(QEvent*) {
    vq::guarded([&] {
        m_highlighted = kNoHighlight;
        update();
        hideHint();
    });
}

void TRzColorPicker::updateHint(const QPoint& pos) {
    const int code = codeAt(pos);
    const bool foreground = QGuiApplication::applicationState() == Qt::ApplicationActive;
    if (!m_showColorHints || !foreground || !isCell(code) || !innerRect().contains(pos)) {
        // Repaint only when a hint actually goes away, so hovering the frame stays quiet.
        if (hintVisible()) {
            hideHint();
            update();
        }
        return;
    }
    const QRect c = cellRect(code);
    const QPoint at = mapToGlobal(QPoint(c.left(), c.top() + c.height())) + QPoint(4, 12);
    if (!m_hint) {
        m_hint = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
        m_hint->setAutoFillBackground(true);
        m_hint->setMargin(2);
        QPalette pal = m_hint->palette();
        pal.setColor(QPalette::Window, ColorToQColor(clInfoBk));
        pal.setColor(QPalette::WindowText, ColorToQColor(clInfoText));
        m_hint->setPalette(pal);
    }
    m_hint->setFont(font());
    const QString text = colorName(code);
    if (m_hint->isVisible() && m_hint->pos() == at && m_hint->text() == text)
        return;
    m_hint->setText(text);
    m_hint->adjustSize();
    m_hint->move(at);
    m_hint->show();
}

void TRzColorPicker::hideHint() {
    if (m_hint)
        m_hint->hide();
}

bool TRzColorPicker::hintVisible() const {
    return m_hint && m_hint->isVisible();
}
QString TRzColorPicker::hintText() const {
    return hintVisible() ? m_hint->text() : QString();
}
QPoint TRzColorPicker::hintPosition() const {
    return hintVisible() ? m_hint->pos() : QPoint();
}

void TRzColorPicker::openColorDialog() {
    if (m_customColors)
        for (int i = 0; i < TRzCustomColors::kCount && i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, ColorToQColor(m_customColors->color(i)));
    const QColor initial = ColorToQColor(selectedColor());
    const auto result = colorDialogRunner()(this, initial, m_colorDlgOptions);
    if (!result)
        return;
    if (m_customColors)
        for (int i = 0; i < TRzCustomColors::kCount && i < QColorDialog::customCount(); ++i)
            m_customColors->setColor(i, QColorToColor(QColorDialog::customColor(i)));
    setCustomColor(QColorToColor(*result));
    select(kCustomSwatch);
}
