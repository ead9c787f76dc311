#pragma once

#include "bankfile.h"

#include <QDialog>

class QRadioButton;

namespace vq::editor {

// The rows of a spreadsheet before they come in: problems marked, and the choice between
// replacing every question and appending.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    // What the first choice replaces, and whether it is the one proposed: a file replaces
    // every question (proposed when there are none), pasted rows the selected rows.
    struct Replacing {
        QString text = QStringLiteral("替换全部题目");
        bool proposed = false;
    };
    ImportDialog(const QString& title, const ImportedTable& table, const QList<Row>& existing,
                 const Replacing& replacing, QWidget* parent = nullptr);
    bool replaceAll() const;

private:
    QRadioButton* m_replace;
    QRadioButton* m_append;
};

// What the preview says about each imported row: empty when nothing.
QStringList importRemarks(const ImportedTable& table, const QList<Row>& existing);

} // namespace vq::editor
