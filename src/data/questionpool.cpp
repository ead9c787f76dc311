#include "data/questionpool.h"

#include <QPlainTextEdit>

namespace vq {

int QuestionPool::count() const { return 0; }
QString QuestionPool::at(int) const { return {}; }
void QuestionPool::removeAt(int) {}
void QuestionPool::append(const QString&) {}

void fillPool(TADOQuery&, QPlainTextEdit&) {}
QString drawNumber(QPlainTextEdit&) { return {}; }
void fetchQuestion(TADOQuery&, const QString&, const FetchTargets&) {}

} // namespace vq
