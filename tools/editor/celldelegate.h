#pragma once

#include <QStyledItemDelegate>

namespace vq::editor {

// In-place editors: a number field that takes whole numbers only, a line for the optional
// columns, and for the texts a several-line field where Enter finishes and Ctrl+Enter starts a
// new line, as in a spreadsheet's cell.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
};

} // namespace vq::editor
