#include "controls/memo.h"

#include <QPainter>

namespace vq {
namespace {

// Appends the lines of text to out, cut as a multi-line edit cuts them into lines.
void appendCut(QStringList& out, const QString& text) {
    const QChar* const begin = text.constData();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = begin[i].unicode();
        if (c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator)
            continue;
        out.append(QString(begin + start, i - start));
        if (c == u'\r' && i + 1 < size && begin[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        out.append(QString(begin + start, size - start));
}

} // namespace

TMemo::TMemo(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString TMemo::toPlainText() const {
    qsizetype length = 0;
    for (const QString& line : m_lines)
        length += line.size() + 1;
    QString text;
    text.reserve(length);
    for (const QString& line : m_lines) {
        text += line;
        text += u'\n';
    }
    return text;
}

void TMemo::setPlainText(const QString& text) {
    m_lines.clear();
    appendCut(m_lines, text);
    update();
}

void TMemo::clear() {
    m_lines.clear();
    update();
}

int TMemo::count() const {
    return int(m_lines.size());
}

QString TMemo::at(int index) const {
    return index >= 0 && index < m_lines.size() ? m_lines.at(index) : QString();
}

void TMemo::removeAt(int index) {
    if (index < 0 || index >= m_lines.size())
        return;
    m_lines.removeAt(index);
    update();
}

void TMemo::appendLines(const QString& linesWithBreaks) {
    appendCut(m_lines, linesWithBreaks);
    update();
}

// Only ever drawn where the control is shown: a white field with the lines that fit.
void TMemo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().text().color());
    const QFontMetrics fm = fontMetrics();
    int y = 2 + fm.ascent();
    for (const QString& line : m_lines) {
        if (y - fm.ascent() > height())
            break;
        p.drawText(3, y, line);
        y += fm.lineSpacing();
    }
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace vq
