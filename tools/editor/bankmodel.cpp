#include "bankmodel.h"

#include "problemstyle.h"
#include "thumbnailcache.h"

#include "data/bankschema.h"

#include <QBrush>
#include <QColor>
#include <QUndoCommand>

#include <algorithm>
#include <limits>

namespace vq::editor {
namespace {

class SetCellCommand : public QUndoCommand {
public:
    SetCellCommand(BankModel* model, int row, int column, Row before, Row after)
        : m_model(model), m_row(row), m_column(column), m_before(std::move(before)),
          m_after(std::move(after)) {
        setText(QStringLiteral("修改第 %1 行").arg(row + 1));
    }
    void redo() override { m_model->setCellNow(m_row, m_column, m_after); }
    void undo() override { m_model->setCellNow(m_row, m_column, m_before); }

private:
    BankModel* m_model;
    int m_row;
    int m_column;
    Row m_before;
    Row m_after;
};

class InsertCommand : public QUndoCommand {
public:
    InsertCommand(BankModel* model, QList<std::pair<int, Row>> rows, const QString& text)
        : m_model(model), m_rows(std::move(rows)) {
        setText(text);
    }
    void redo() override { m_model->insertNow(m_rows); }
    void undo() override {
        QList<int> at;
        for (const auto& [row, value] : m_rows)
            at << row;
        m_model->removeNow(at);
    }

private:
    BankModel* m_model;
    QList<std::pair<int, Row>> m_rows; // ascending: each index as it is after the insertion
};

class RemoveCommand : public QUndoCommand {
public:
    RemoveCommand(BankModel* model, QList<std::pair<int, Row>> rows)
        : m_model(model), m_rows(std::move(rows)) {
        setText(QStringLiteral("删除 %1 行").arg(m_rows.size()));
    }
    void redo() override {
        QList<int> at;
        for (const auto& [row, value] : m_rows)
            at << row;
        m_model->removeNow(at);
    }
    void undo() override { m_model->insertNow(m_rows); }

private:
    BankModel* m_model;
    QList<std::pair<int, Row>> m_rows;
};

class ResetCommand : public QUndoCommand {
public:
    ResetCommand(BankModel* model, QList<Row> before, QList<Row> after, const QString& text)
        : m_model(model), m_before(std::move(before)), m_after(std::move(after)) {
        setText(text);
    }
    void redo() override { m_model->resetNow(m_after); }
    void undo() override { m_model->resetNow(m_before); }

private:
    BankModel* m_model;
    QList<Row> m_before;
    QList<Row> m_after;
};

} // namespace

BankModel::BankModel(QObject* parent) : QAbstractTableModel(parent) {
    m_thumbnailsReady.setSingleShot(true);
    m_thumbnailsReady.setInterval(50);
    connect(&m_thumbnailsReady, &QTimer::timeout, this, &BankModel::thumbnailsChanged);
}

std::optional<vq::bank::OptionalColumn> BankModel::optionalAt(int column) {
    if (column < PictureColumn || column >= ColumnCount)
        return std::nullopt;
    return vq::bank::kOptionalColumns[size_t(column - PictureColumn)];
}

int BankModel::columnOf(vq::bank::OptionalColumn column) {
    return PictureColumn + int(column);
}

void BankModel::setThumbnails(ThumbnailCache* thumbnails) {
    if (m_thumbnails)
        disconnect(m_thumbnails, nullptr, this, nullptr);
    m_thumbnails = thumbnails;
    if (m_thumbnails)
        connect(m_thumbnails, &ThumbnailCache::ready, this, &BankModel::thumbnailReady);
}

void BankModel::thumbnailReady() {
    if (!m_thumbnailsReady.isActive())
        m_thumbnailsReady.start();
}

bool BankModel::hasPictures() const {
    return std::any_of(m_rows.cbegin(), m_rows.cend(), [](const Row& r) {
        return r.optional[size_t(vq::bank::OptionalColumn::Picture)].isValid() ||
               r.optional[size_t(vq::bank::OptionalColumn::AnswerPicture)].isValid();
    });
}

void BankModel::thumbnailsChanged() {
    m_thumbnailsReady.stop();
    // The view repaints what it shows of the two columns; rows out of sight cost nothing.
    if (rowCount())
        emit dataChanged(
            index(0, PictureColumn), index(rowCount() - 1, AnswerPictureColumn),
            {Qt::DisplayRole, Qt::DecorationRole, Qt::ToolTipRole, Qt::ForegroundRole});
}

namespace {

// Why the bank tool would refuse the value; empty when it takes it (or there is none).
QString refusedValue(vq::bank::OptionalColumn column, const QVariant& value) {
    return value.isValid() ? vq::bank::checkCell(column, value.toString()).problem : QString();
}

} // namespace

// An optional column's cell: the value as the bank holds it, a picture's thumbnail, and what
// is wrong with a picture the table cannot show.
QVariant BankModel::optionalData(const Row& r, int column, int role) const {
    const vq::bank::OptionalColumn c = *optionalAt(column);
    const QVariant& v = r.optional[size_t(c)];
    const bool number = vq::bank::isNumberColumn(c);
    if (role == Qt::EditRole)
        return v.isValid() ? v.toString() : QString();
    if (role == SortRole && number)
        return v.isValid() ? v.toLongLong() : std::numeric_limits<qlonglong>::min();
    if (role == SortRole)
        return v.toString();
    // A bank not saved yet has no media folder: its names are names, neither found nor missing.
    const bool picture = vq::bank::isPictureColumn(c) && v.isValid() && m_thumbnails &&
                         !m_thumbnails->folder().isEmpty();
    const Thumbnail::State state =
        picture ? m_thumbnails->lookup(v.toString()).state : Thumbnail::Loading;
    switch (role) {
    case Qt::DisplayRole:
        if (state == Thumbnail::Missing)
            return QStringLiteral("%1（缺少文件）").arg(v.toString());
        if (state == Thumbnail::Unreadable)
            return QStringLiteral("%1（无法读取）").arg(v.toString());
        return v.isValid() ? v.toString() : QString();
    case Qt::DecorationRole:
        if (state == Thumbnail::Ready)
            return m_thumbnails->pixmap(v.toString());
        break;
    case Qt::ToolTipRole:
        // A value the bank tool would not build, as a bank made elsewhere may hold it.
        if (const QString why = refusedValue(c, v); !why.isEmpty())
            return why;
        if (state == Thumbnail::Missing)
            return QStringLiteral("缺少文件：%1 文件夹中没有“%2”")
                .arg(bankschema::kMediaFolder, v.toString());
        if (state == Thumbnail::Unreadable)
            return QStringLiteral("无法读取“%1”：%2")
                .arg(v.toString(), m_thumbnails->lookup(v.toString()).detail);
        if (v.isValid() && !number)
            return v.toString();
        break;
    case Qt::ForegroundRole:
        if (state == Thumbnail::Missing || state == Thumbnail::Unreadable ||
            !refusedValue(c, v).isEmpty())
            return QBrush(QColor(170, 0, 0));
        break;
    case Qt::TextAlignmentRole:
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

const Row& BankModel::row(int index) const {
    Row& r = m_rows[index];
    if (m_unreadCount > 0 && m_unread[size_t(index)] >= 0) {
        m_texts->fill(m_unread[size_t(index)], r);
        m_unread[size_t(index)] = -1;
        if (--m_unreadCount == 0)
            m_texts.reset();
    }
    return r;
}

const QList<Row>& BankModel::rows() const {
    for (int i = 0; m_unreadCount > 0 && i < m_rows.size(); ++i)
        row(i);
    return m_rows;
}

int BankModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BankModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BankModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    // The number alone needs no text from the file, nor the optional columns.
    const bool texts = (index.column() == QuestionColumn || index.column() == AnswerColumn) &&
                       (role == Qt::DisplayRole || role == Qt::EditRole || role == SortRole);
    const Row& r = texts ? row(index.row()) : m_rows[index.row()];
    if (index.column() >= PictureColumn) {
        // A problem of the row's number marks the whole row, its own cells' marks after it.
        const bool rowMarked = !r.number || m_uses.value(*r.number) > 1;
        if (rowMarked && (role == Qt::BackgroundRole || role == Qt::ForegroundRole))
            return problemRowStyle(role);
        if (rowMarked && role == Qt::ToolTipRole)
            return problemOf(index.row());
        return optionalData(r, index.column(), role);
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case NumberColumn:
            return r.number ? QString::number(*r.number) : QString();
        case QuestionColumn:
            return r.question;
        case AnswerColumn:
            return r.answer;
        }
        break;
    case SortRole:
        switch (index.column()) {
        case NumberColumn:
            return r.number ? qlonglong(*r.number) : std::numeric_limits<qlonglong>::min();
        case QuestionColumn:
            return r.question;
        case AnswerColumn:
            return r.answer;
        }
        break;
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
        if (!r.number || m_uses.value(*r.number) > 1)
            return problemRowStyle(role);
        break;
    case Qt::ToolTipRole:
        if (const QString p = problemOf(index.row()); !p.isEmpty())
            return p;
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant BankModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case NumberColumn:
        return QStringLiteral("编号");
    case QuestionColumn:
        return QStringLiteral("题目");
    case AnswerColumn:
        return QStringLiteral("答案");
    }
    if (const auto c = optionalAt(section))
        return vq::bank::optionalColumnName(*c);
    return {};
}

Qt::ItemFlags BankModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool BankModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_rows.size())
        return false;
    const Row& before = row(index.row());
    Row after = before;
    switch (index.column()) {
    case NumberColumn: {
        const QString text = value.toString().trimmed();
        if (text.isEmpty()) {
            after.number.reset();
        } else {
            bool ok = false;
            const qlonglong n = text.toLongLong(&ok);
            if (!ok || n < std::numeric_limits<qint32>::min() ||
                n > std::numeric_limits<qint32>::max())
                return false;
            after.number = qint32(n);
        }
        break;
    }
    case QuestionColumn:
        after.question = value.toString();
        break;
    case AnswerColumn:
        after.answer = value.toString();
        break;
    default: {
        const auto c = optionalAt(index.column());
        if (!c)
            return false;
        // What the bank tool would refuse to build is refused here, with its reason.
        const vq::bank::CheckedCell checked = vq::bank::checkCell(*c, value.toString());
        if (!checked.problem.isEmpty()) {
            emit editRefused(QStringLiteral("%1：%2").arg(
                headerData(index.column(), Qt::Horizontal).toString(), checked.problem));
            return false;
        }
        after.optional[size_t(*c)] = checked.value;
        break;
    }
    }
    // A tab in a text is a spreadsheet's cell boundary, which the show would print as a gap.
    if ((index.column() == QuestionColumn || index.column() == AnswerColumn) &&
        value.toString().contains(u'\t')) {
        emit editRefused(
            QStringLiteral("单元格中不能有制表符：要粘贴几个单元格，请选中行后按 Ctrl+V"));
        return false;
    }
    if (after == before)
        return true;
    m_undo.push(new SetCellCommand(this, index.row(), index.column(), before, after));
    return true;
}

void BankModel::load(QList<Row> rows, std::shared_ptr<LazyTexts> texts) {
    m_undo.clear();
    resetNow(rows);
    if (texts && !m_rows.isEmpty()) {
        m_texts = std::move(texts);
        for (size_t i = 0; i < m_unread.size(); ++i)
            m_unread[i] = int(i);
        m_unreadCount = m_rows.size();
    }
    m_undo.setClean();
}

void BankModel::addRow(int at, const Row& row) {
    at = std::clamp(at, 0, int(m_rows.size()));
    m_undo.push(new InsertCommand(this, {{at, row}}, QStringLiteral("添加一行")));
}

void BankModel::removeRowList(QList<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<std::pair<int, Row>> saved;
    for (int r : rows)
        if (r >= 0 && r < m_rows.size())
            saved.append({r, row(r)});
    if (!saved.isEmpty())
        m_undo.push(new RemoveCommand(this, saved));
}

void BankModel::replaceAll(const QList<Row>& rows, const QString& what) {
    m_undo.push(new ResetCommand(this, this->rows(), rows, what));
}

void BankModel::appendRows(const QList<Row>& rows, const QString& what) {
    if (rows.isEmpty())
        return;
    QList<std::pair<int, Row>> at;
    at.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        at.append({int(m_rows.size()) + i, rows[i]});
    m_undo.push(new InsertCommand(this, at, what));
}

void BankModel::replaceRows(QList<int> rows, const QList<Row>& with, const QString& what) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return appendRows(with, what);
    m_undo.beginMacro(what);
    removeRowList(rows);
    const int at = std::clamp(rows.front(), 0, int(m_rows.size()));
    QList<std::pair<int, Row>> placed;
    placed.reserve(with.size());
    for (int i = 0; i < with.size(); ++i)
        placed.append({at + i, with[i]});
    if (!placed.isEmpty())
        m_undo.push(new InsertCommand(this, placed, what));
    m_undo.endMacro();
}

qint32 BankModel::nextFreeNumber() const {
    qint32 highest = 0;
    bool any = false;
    for (auto it = m_uses.cbegin(); it != m_uses.cend(); ++it) {
        if (!any || it.key() > highest)
            highest = it.key();
        any = true;
    }
    if (!any)
        return 1;
    return highest < std::numeric_limits<qint32>::max() ? highest + 1 : highest;
}

QString BankModel::problemOf(int row) const {
    if (row < 0 || row >= m_rows.size())
        return {};
    const Row& r = m_rows[row];
    if (!r.number)
        return QStringLiteral("没有编号：每道题都要有一个整数编号。");
    const int uses = m_uses.value(*r.number);
    if (uses > 1)
        return QStringLiteral("编号 %1 重复：共有 %2 道题用这个编号，放映时只会出现其中的第一道。")
            .arg(*r.number)
            .arg(uses);
    return {};
}

QList<int> BankModel::problemRows() const {
    QList<int> out;
    if (!hasProblems())
        return out;
    for (int i = 0; i < m_rows.size(); ++i)
        if (!m_rows[i].number || m_uses.value(*m_rows[i].number) > 1)
            out << i;
    return out;
}

void BankModel::count(const Row& row, int delta) {
    if (!row.number) {
        m_emptyNumbers += delta;
        return;
    }
    int& uses = m_uses[*row.number];
    const int before = uses >= 2 ? uses : 0;
    uses += delta;
    const int after = uses >= 2 ? uses : 0;
    m_duplicateRows += after - before;
    if (uses <= 0)
        m_uses.remove(*row.number);
}

void BankModel::setCellNow(int row, int column, const Row& value) {
    this->row(row); // its texts read before one of them changes
    Row& r = m_rows[row];
    if (column == NumberColumn) {
        count(r, -1);
        r.number = value.number;
        count(r, +1);
        emitRowChanged(row);
        // Rows sharing the old or new number change their marks too.
        if (rowCount())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1),
                             {Qt::BackgroundRole, Qt::ForegroundRole, Qt::ToolTipRole});
        emit problemsChanged();
        return;
    }
    if (column == QuestionColumn)
        r.question = value.question;
    else if (column == AnswerColumn)
        r.answer = value.answer;
    else if (const auto c = optionalAt(column))
        r.optional[size_t(*c)] = value.optional[size_t(*c)];
    emitRowChanged(row);
}

void BankModel::emitRowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void BankModel::insertNow(const QList<std::pair<int, Row>>& rows) {
    // Runs of consecutive indexes go in one step each: an append of 100,000 rows is one
    // insertion for the views.
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i + 1;
        while (j < rows.size() && rows[j].first == rows[j - 1].first + 1)
            ++j;
        const int first = rows[i].first;
        beginInsertRows({}, first, first + int(j - i) - 1);
        m_rows.insert(first, j - i, Row{});
        m_unread.insert(m_unread.begin() + first, size_t(j - i), -1);
        for (qsizetype k = i; k < j; ++k) {
            m_rows[rows[k].first] = rows[k].second;
            count(rows[k].second, +1);
        }
        endInsertRows();
        i = j;
    }
    if (rowCount())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole, Qt::ToolTipRole});
    emit problemsChanged();
}

void BankModel::removeNow(const QList<int>& rowsAscending) {
    // From the end, in runs, so that earlier indexes stay valid.
    for (qsizetype j = rowsAscending.size(); j > 0;) {
        qsizetype i = j - 1;
        while (i > 0 && rowsAscending[i - 1] == rowsAscending[i] - 1)
            --i;
        const int first = rowsAscending[i];
        const int last = rowsAscending[j - 1];
        beginRemoveRows({}, first, last);
        for (int r = first; r <= last; ++r) {
            count(m_rows[r], -1);
            if (m_unread[size_t(r)] >= 0)
                --m_unreadCount;
        }
        m_rows.remove(first, last - first + 1);
        m_unread.erase(m_unread.begin() + first, m_unread.begin() + last + 1);
        endRemoveRows();
        j = i;
    }
    if (rowCount())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole, Qt::ToolTipRole});
    emit problemsChanged();
}

void BankModel::resetNow(const QList<Row>& rows) {
    beginResetModel();
    m_rows = rows;
    m_unread.assign(size_t(rows.size()), -1);
    m_unreadCount = 0;
    m_texts.reset();
    m_uses.clear();
    m_uses.reserve(rows.size());
    m_emptyNumbers = 0;
    m_duplicateRows = 0;
    for (const Row& r : m_rows)
        count(r, +1);
    endResetModel();
    emit problemsChanged();
}

} // namespace vq::editor
