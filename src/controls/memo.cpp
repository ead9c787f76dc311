#include "controls/memo.h"

#include <QPainter>

namespace vq {

TMemo::TMemo(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Appends the lines of text, cut as a multi-line edit cuts them into lines.
void TMemo::appendCut(const QString& text) {
    const QChar* const begin = text.constData();
    const qsizetype size = text.size();
    if (m_starts.empty()) {
        // A fill in one piece (the pool's) takes no more than it needs; later lines let the
        // text and the offsets grow as they do.
        m_text.reserve(size + 1);
        m_starts.reserve(
            size_t(text.count(u'\n') + text.count(u'\r') + text.count(QChar::ParagraphSeparator)) +
            1);
    }
    qsizetype start = 0;
    const auto line = [&](qsizetype end) {
        m_starts.push_back(m_text.size());
        m_text.append(begin + start, end - start);
        m_text += u'\n';
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = begin[i].unicode();
        if (c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator)
            continue;
        line(i);
        if (c == u'\r' && i + 1 < size && begin[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(size);
}

// Where the line's break stands.
qsizetype TMemo::lineEnd(qsizetype index) const {
    const size_t next = size_t(index) + 1;
    return (next < m_starts.size() ? m_starts[next] : m_text.size()) - 1;
}

QString TMemo::toPlainText() const {
    return m_text;
}

QStringList TMemo::lines() const {
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out << at(i);
    return out;
}

void TMemo::setPlainText(const QString& text) {
    m_text.clear();
    m_starts.clear();
    appendCut(text);
    update();
}

void TMemo::clear() {
    m_text = QString();
    m_starts = {};
    update();
}

int TMemo::count() const {
    return int(m_starts.size());
}

QString TMemo::at(int index) const {
    if (index < 0 || index >= count())
        return QString();
    const qsizetype start = m_starts[size_t(index)];
    return m_text.mid(start, lineEnd(index) - start);
}

void TMemo::removeAt(int index) {
    if (index < 0 || index >= count())
        return;
    const qsizetype start = m_starts[size_t(index)];
    const qsizetype length = lineEnd(index) + 1 - start;
    m_text.remove(start, length);
    m_starts.erase(m_starts.begin() + index);
    for (size_t i = size_t(index); i < m_starts.size(); ++i)
        m_starts[i] -= length;
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
