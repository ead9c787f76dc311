#include "app/tcustomlabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <cstdlib>

int fontPixelHeight(int points, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(points) * dpi / 72.0));
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

void TCustomLabel::setFontPoints(int points) {
    QFont f = font();
    // A height of 0 means the font's default size; a negative size gives the same magnitude.
    const int px = std::abs(fontPixelHeight(points, logicalDpiY()));
    f.setPixelSize(px > 0 ? px : 13);
    setFont(f);
}

QString TCustomLabel::measuredText() const {
    return m_text.isEmpty() ? QStringLiteral(" ") : m_text;
}

void TCustomLabel::adjustToText() {
    // An empty label is one blank on one line in its current font, whatever width it had: the
    // wrapping measure would drop a lone blank that no longer fits, leaving nothing to grab.
    if (m_text.isEmpty()) {
        const QFontMetrics fm(font());
        resize(fm.horizontalAdvance(QLatin1Char(' ')), fm.height());
        return;
    }
    resize(measure());
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
