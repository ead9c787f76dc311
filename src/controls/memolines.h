#pragma once

#include "platform/linestore.h"

#include <QStringList>

class QPlainTextEdit;

namespace vq {

// The lines of a multi-line text control (the main screen's hidden pool store Memo1).
class MemoLines final : public LineStore {
public:
    // The store keeps no undo history: every removed line would stay in it for the run.
    explicit MemoLines(QPlainTextEdit& store);
    int count() const override;
    QString at(int index) const override;
    // Every line in order, in one pass (at() finds each line from the start).
    QStringList lines() const;
    void removeAt(int index) override;
    // One edit of the control for all the lines instead of one a line.
    void appendLines(const QString& linesWithBreaks) override;

private:
    QPlainTextEdit& m_store;
};

} // namespace vq
