#include "importdialog.h"

#include "problemstyle.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>

namespace vq::editor {
namespace {

// The imported rows with their remarks, read-only: 编号, 题目, 答案, the optional columns the
// rows have, then the remarks.
class PreviewModel : public QAbstractTableModel {
public:
    PreviewModel(const ImportedTable& table, QStringList remarks, QObject* parent)
        : QAbstractTableModel(parent), m_table(table), m_remarks(std::move(remarks)),
          m_optional(optionalColumnsIn(table.rows)) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_table.rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : remarkColumn() + 1;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const Row& r = m_table.rows[index.row()];
        const QString& remark = m_remarks[index.row()];
        if (role == Qt::DisplayRole) {
            switch (index.column()) {
            case 0:
                return r.number ? QString::number(*r.number) : QString();
            case 1:
                return r.question;
            case 2:
                return r.answer;
            }
            if (index.column() == remarkColumn())
                return remark;
            return optionalText(r, m_optional[index.column() - 3]);
        }
        if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) && !remark.isEmpty())
            return problemRowStyle(role);
        if (role == Qt::ToolTipRole && !remark.isEmpty())
            return remark;
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section < m_table.sourceLines.size() ? m_table.sourceLines[section]
                                                        : section + 1;
        static const char* const names[] = {"编号", "题目", "答案"};
        if (section < 3)
            return QString::fromUtf8(names[section]);
        if (section == remarkColumn())
            return QStringLiteral("问题");
        return vq::bank::optionalColumnName(m_optional[section - 3]);
    }

private:
    int remarkColumn() const { return 3 + int(m_optional.size()); }

    const ImportedTable& m_table;
    QStringList m_remarks;
    QList<vq::bank::OptionalColumn> m_optional;
};

} // namespace

QStringList importRemarks(const ImportedTable& table, const QList<Row>& existing) {
    QSet<qint32> held;
    for (const Row& r : existing)
        if (r.number)
            held.insert(*r.number);
    QHash<qint32, int> uses;
    for (const Row& r : table.rows)
        if (r.number)
            ++uses[*r.number];
    QStringList out;
    out.reserve(table.rows.size());
    for (const Row& r : table.rows) {
        QStringList says;
        if (!r.number)
            says << QStringLiteral("没有编号或不是整数");
        else if (uses.value(*r.number) > 1)
            says << QStringLiteral("编号在表格中重复");
        if (r.number && held.contains(*r.number))
            says << QStringLiteral("编号已在题库中（追加时改为新编号）");
        if (r.question.trimmed().isEmpty())
            says << QStringLiteral("题目是空的");
        out << says.join(QStringLiteral("；"));
    }
    return out;
}

ImportDialog::ImportDialog(const QString& title, const ImportedTable& table,
                           const QList<Row>& existing, const Replacing& replacing, QWidget* parent)
    : QDialog(parent), m_replace(new QRadioButton(replacing.text)),
      m_append(new QRadioButton(QStringLiteral("追加到现有题目之后（重复的编号改为新编号）"))) {
    setWindowTitle(title);
    const QStringList remarks = importRemarks(table, existing);
    const auto marked = std::count_if(remarks.begin(), remarks.end(),
                                      [](const QString& s) { return !s.isEmpty(); });
    auto* view = new QTableView;
    view->setObjectName(QStringLiteral("importPreview"));
    view->setModel(new PreviewModel(table, remarks, view));
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setWordWrap(false);
    view->setColumnWidth(0, 70);
    view->setColumnWidth(1, 360);
    view->setColumnWidth(2, 160);
    view->horizontalHeader()->setStretchLastSection(true);
    QString summary = QStringLiteral("读到 %1 道题").arg(table.rows.size());
    if (marked)
        summary += QStringLiteral("，其中 %1 行有问题（红色标出）").arg(marked);
    summary += QStringLiteral("。");
    for (const QString& note : table.notes)
        summary += u'\n' + note;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
    (existing.isEmpty() || replacing.proposed ? m_replace : m_append)->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(summary));
    layout->addWidget(view, 1);
    layout->addWidget(m_replace);
    layout->addWidget(m_append);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(800, 560);
}

bool ImportDialog::replaceAll() const {
    return m_replace->isChecked();
}

} // namespace vq::editor
