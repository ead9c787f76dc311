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
    ImportDialog(const QString& path, const ImportedTable& table, const QList<Row>& existing,
                 QWidget* parent = nullptr);
    bool replaceAll() const;

private:
    QRadioButton* m_replace;
    QRadioButton* m_append;
};

// What the preview says about each imported row: empty when nothing.
QStringList importRemarks(const ImportedTable& table, const QList<Row>& existing);

} // namespace vq::editor
