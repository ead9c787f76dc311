#include "data/questionpool.h"
#include "data/questionpool_testing.h"

#include "data/adoquery.h"
#include "platform/counters.h"
#include "platform/exception.h"
#include "platform/messages.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vq {

QuestionPool::QuestionPool(QPlainTextEdit& store) : m_store(store) {
    if (m_store.document()->isUndoRedoEnabled())
        m_store.document()->setUndoRedoEnabled(false);
}

int QuestionPool::count() const {
    const QTextDocument* doc = m_store.document();
    const int blocks = doc->blockCount();
    // The empty line after the final line break holds no number.
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QString QuestionPool::at(int index) const {
    if (index < 0 || index >= count())
        return {};
    return m_store.document()->findBlockByNumber(index).text();
}

void QuestionPool::removeAt(int index) {
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

void QuestionPool::append(const QString& line) {
    appendLines(line + u'\n');
}

void QuestionPool::appendLines(const QString& linesWithBreaks) {
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

void fillPool(TADOQuery& query, QPlainTextEdit& store) {
    QuestionPool pool(store);
    QString lines;
    // The lines are gathered and written in one edit; a failure still leaves the numbers
    // of the rows before it in the pool.
    try {
        query.first();
        while (!query.eof()) {
            lines += variantToText(query.fieldByName(QStringLiteral("编号")));
            lines += u'\n';
            query.next();
        }
    } catch (...) {
        pool.appendLines(lines);
        throw;
    }
    pool.appendLines(lines);
}

QString bankDamageMessage(const TADOQuery& query) {
    if (!query.active())
        return {};
    const vq::jet::Damage& d = query.damage();
    if (d.read < d.recorded)
        return QStringLiteral("题库文件已损坏：只能读出 %1 道题中的 %2 道。")
            .arg(d.recorded)
            .arg(d.read);
    if (d.read > d.recorded)
        return QStringLiteral("题库文件已损坏：读出 %1 道题，表中记录的却是 %2 道。")
            .arg(d.read)
            .arg(d.recorded);
    return {};
}

std::uint32_t detail::randomSeed = 0;

int drawIndex(int count, std::uint32_t seed) {
    if (count <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(count) * seed) >> 32);
}

QString drawNumber(QPlainTextEdit& store, const SeedSource& seedSource) {
    const std::optional<std::uint64_t> counter = seedSource();
    std::uint32_t& seed = detail::randomSeed;
    seed = counter ? static_cast<std::uint32_t>(*counter) : tickCount();
    seed = seed * 134775813u + 1u;
    QuestionPool pool(store);
    const int index = drawIndex(pool.count(), seed);
    const QString number = pool.at(index);
    pool.removeAt(index);
    return number;
}

void fetchQuestion(TADOQuery& query, const QString& number, const FetchTargets& targets) {
    const auto failed = [&](FetchStep step, const QString& why) {
        if (targets.failed)
            targets.failed(step, why);
    };
    try {
        query.close();
        query.clearSql();
        query.addSqlLine(QStringLiteral("SELECT * from 题 where 编号=") + number);
        query.open();
    } catch (const Exception& e) {
        showMessageBox(QStringLiteral("对不起，题库中是否没有题目了？"));
        failed(FetchStep::Requery, e.message());
    } catch (...) {
        showMessageBox(QStringLiteral("对不起，题库中是否没有题目了？"));
        failed(FetchStep::Requery, QString());
    }
    FetchStep step = FetchStep::Question;
    try {
        const QString question = variantToText(query.fieldByName(QStringLiteral("题目")));
        if (targets.setQuestion)
            targets.setQuestion(question);
        step = FetchStep::Answer;
        const QString answer = variantToText(query.fieldByName(QStringLiteral("答案")));
        if (targets.setAnswer)
            targets.setAnswer(answer);
        if (targets.hideAnswer)
            targets.hideAnswer();
    } catch (const Exception& e) {
        // The read step's failures are not reported on the screen.
        failed(step, e.message());
    } catch (...) {
        failed(step, QString());
    }
}

} // namespace vq
