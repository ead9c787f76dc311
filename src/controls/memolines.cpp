#include "controls/memolines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vq {

MemoLines::MemoLines(QPlainTextEdit& store) : m_store(store) {
    if (m_store.document()->isUndoRedoEnabled())
        m_store.document()->setUndoRedoEnabled(false);
}

int MemoLines::count() const {
    const QTextDocument* doc = m_store.document();
    const int blocks = doc->blockCount();
    // The empty line after the final line break holds no number.
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString MemoLines::at(int index) const {
    if (index < 0 || index >= count())
        return {};
    return m_store.document()->findBlockByNumber(index).text();
}

QStringList MemoLines::lines() const {
    // The raw text keeps each line as it is, with the lines' separators between them (plain
    // text would turn no-break spaces into spaces).
    QStringList out = m_store.document()->toRawText().split(QChar::ParagraphSeparator);
    out.resize(count());
    return out;
}

void MemoLines::removeAt(int index) {
    if (index < 0 || index >= count())
        return;
    const QTextBlock block = m_store.document()->findBlockByNumber(index);
    QTextCursor cursor(m_store.document());
    // Inside an edit block the cursor does not lay out the lines it is placed in, which would
    // keep a layout per removed line's neighbour for the rest of the run.
    cursor.beginEditBlock();
    cursor.setPosition(block.position());
    const int end = block.position() + block.length();
    const int docEnd = m_store.document()->characterCount() - 1;
    cursor.setPosition(qMin(end, docEnd), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

void MemoLines::appendLines(const QString& linesWithBreaks) {
    if (linesWithBreaks.isEmpty())
        return;
    QTextCursor cursor(m_store.document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    // A last line without its break gets one first, so that lines stay whole.
    QString text = linesWithBreaks;
    if (m_store.document()->lastBlock().length() > 1)
        text.prepend(u'\n');
    cursor.insertText(text);
    cursor.endEditBlock();
}

} // namespace vq
