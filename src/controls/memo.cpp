#include "controls/memo.h"

#include <QPainter>

namespace vq {

TMemo::TMemo(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Appends the lines of text, cut as a multi-line edit cuts them into lines.
void TMemo::appendCut(const QString& text) {
    const QStringView all(text);
    qsizetype start = 0;
    const qsizetype size = all.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = all[i].unicode();
        if (c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator)
            continue;
        m_lines.append(all.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && all[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        m_lines.append(all.mid(start));
}

QString TMemo::toPlainText() const {
    QString out;
    for (qsizetype i = 0; i < m_lines.count(); ++i)
        out += m_lines.at(i) + u'\n';
    return out;
}

QStringList TMemo::lines() const {
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out << at(i);
    return out;
}

void TMemo::setPlainText(const QString& text) {
    m_lines.clear();
    appendCut(text);
    update();
}

void TMemo::clear() {
    m_lines.clear();
    update();
}

int TMemo::count() const {
    return int(m_lines.count());
}

QString TMemo::at(int index) const {
    return m_lines.at(index);
}

void TMemo::removeAt(int index) {
    if (index < 0 || index >= count())
        return;
    m_lines.removeAt(index);
    update();
}

void TMemo::appendLines(const QString& linesWithBreaks) {
    appendCut(linesWithBreaks);
    update();
}

// Only ever drawn where the control is shown: a white field with the lines that fit.
void TMemo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().text().color());
    const QFontMetrics fm = fontMetrics();
    int y = 2 + fm.ascent();
    for (int i = 0; i < count(); ++i) {
        if (y - fm.ascent() > height())
            break;
        p.drawText(3, y, at(i));
        y += fm.lineSpacing();
    }
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace vq
