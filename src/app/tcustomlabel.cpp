#include "app/tcustomlabel.h"

#include "app/screenpixels.h"
#include "controls/application.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {
// A font taller than this is far beyond any screen; Qt's text layout stays within its range.
constexpr double kMaxFontPixels = 32767;
} // namespace

int fontPixelHeight(int points, int dpi) {
    const double px = std::round(static_cast<double>(points) * dpi / 72.0);
    return static_cast<int>(std::clamp(px, double(INT_MIN), double(INT_MAX)));
}

TCustomLabel::TCustomLabel(QWidget* parent) : TGraphicControl(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void TCustomLabel::setText(const QString& text) {
    m_text = text;
    adjustToText();
    update();
}

void TCustomLabel::setFontColor(TColor color) {
    m_color = color;
    update();
}

QFont fontAtPoints(QFont font, int points, int dpi) {
    // A height of 0 means the font's default size; a negative size gives the same magnitude.
    const double px = std::abs(static_cast<double>(fontPixelHeight(points, dpi)));
    font.setPixelSize(px > 0 ? static_cast<int>(std::min(px, kMaxFontPixels)) : 13);
    return font;
}

QFont designedLabelFont(int pixelHeight, bool bold) {
    QFont f = vq::installedFont(QStringLiteral("黑体"));
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    return f;
}

void TCustomLabel::setFontPoints(int points) {
    const int dpi = static_cast<int>(std::lround(logicalDpiY() * vq::fontScale()));
    setFont(fontAtPoints(font(), points, dpi));
}

QString TCustomLabel::measuredText() const {
    return m_text.isEmpty() ? QStringLiteral(" ") : m_text;
}

void TCustomLabel::setWidth(int width) {
    resize(std::clamp(width, 0, QWIDGETSIZE_MAX), height());
}

void TCustomLabel::adjustToText() {
    // An empty label is one blank on one line in its current font, whatever width it had: the
    // wrapping measure would drop a lone blank that no longer fits, leaving nothing to grab.
    if (m_text.isEmpty()) {
        const QFontMetrics fm(font());
        resize(fm.horizontalAdvance(QLatin1Char(' ')), fm.height());
        return;
    }
    const QSize s = measure();
    resize(s.boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)).expandedTo(QSize(0, 0)));
}

void TCustomLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        adjustToText();
    TGraphicControl::changeEvent(event);
}

void TCustomLabel::paintEvent(QPaintEvent*) {
    const QColor c = ColorToQColor(m_color);
    if (!c.isValid() || m_text.isEmpty())
        return;
    QPainter p(this);
    p.setFont(font());
    p.setPen(c);
    p.drawText(rect(), textFlags(), m_text);
}

QSize TLabel::measure() const {
    const QFontMetrics fm(font());
    return fm.size(textFlags(), measuredText());
}

int TLabel::textFlags() const {
    return Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
}
