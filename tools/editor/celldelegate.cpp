#include "celldelegate.h"

#include "bankmodel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

namespace vq::editor {

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    if (index.column() == BankModel::NumberColumn) {
        auto* edit = new QLineEdit(parent);
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?\\d{0,10}")), edit));
        edit->setAlignment(Qt::AlignRight);
        return edit;
    }
    // A file name, a time or points: one line, checked by the model with its reason when it
    // is committed (a validator would only swallow the keys without a word).
    if (const auto optional = BankModel::optionalAt(index.column())) {
        auto* edit = new QLineEdit(parent);
        if (vq::bank::isNumberColumn(*optional))
            edit->setAlignment(Qt::AlignRight);
        return edit;
    }
    auto* edit = new QPlainTextEdit(parent);
    edit->setFrameShape(QFrame::Box);
    edit->setTabChangesFocus(true);
    edit->setFont(option.font);
    // The filter turns Enter into "done" and Ctrl+Enter into a line break.
    edit->installEventFilter(const_cast<CellDelegate*>(this));
    return edit;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        line->selectAll();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
        plain->setPlainText(text);
        plain->selectAll();
    }
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        model->setData(index, line->text());
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        model->setData(index, plain->toPlainText());
}

void CellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QRect r = option.rect;
    if (qobject_cast<QPlainTextEdit*>(editor)) {
        // Room for several lines below the cell, so that a text with line breaks can be read
        // and changed where it stands.
        const int lines = int(std::min<qsizetype>(
            6, std::max<qsizetype>(3, index.data(Qt::EditRole).toString().count(u'\n') + 2)));
        r.setHeight(std::max(r.height(), option.fontMetrics.lineSpacing() * lines + 8));
    }
    editor->setGeometry(r);
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* plain = qobject_cast<QPlainTextEdit*>(object);
    if (plain && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
                plain->insertPlainText(QStringLiteral("\n"));
            } else {
                emit commitData(plain);
                emit closeEditor(plain, QAbstractItemDelegate::NoHint);
            }
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace vq::editor
