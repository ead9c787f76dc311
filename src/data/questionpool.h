#pragma once

#include <QString>

#include <functional>

class QPlainTextEdit;
class TADOQuery;

namespace vq {

// The question pool: the lines of the main screen's hidden store Memo1, one question number
// per line, the text always ending in a line break.
class QuestionPool {
public:
    explicit QuestionPool(QPlainTextEdit& store) : m_store(store) {}
    int count() const;
    QString at(int index) const;
    void removeAt(int index);
    void append(const QString& line);

private:
    QPlainTextEdit& m_store;
};

// Appends the number of every row of the query (open on the whole table) to the pool.
// Nothing here catches a failure.
void fillPool(TADOQuery& query, QPlainTextEdit& store);

// Draws one number at random and removes it; the empty text for an empty pool.
QString drawNumber(QPlainTextEdit& store);

// Where a fetched question goes.
struct FetchTargets {
    std::function<void(const QString&)> setQuestion;
    std::function<void(const QString&)> setAnswer;
    std::function<void()> hideAnswer;
};

// Re-queries the bank for the number and shows the row; never lets a failure out.
void fetchQuestion(TADOQuery& query, const QString& number, const FetchTargets& targets);

} // namespace vq
