#pragma once

#include "bankfile.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QTimer>
#include <QUndoStack>

#include <optional>

namespace vq::editor {

class ThumbnailCache;

// The bank's rows in file order. Every change from the view goes through the undo stack;
// the numbers are counted as they change, so that a duplicate or a missing number is known
// for each row at once, also on a bank of 100,000 rows.
class BankModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The optional columns follow the three written ones in the bank's own order.
    enum Column {
        NumberColumn,
        QuestionColumn,
        AnswerColumn,
        PictureColumn,
        AnswerPictureColumn,
        SoundColumn,
        TimeColumn,
        PointsColumn,
        ColumnCount
    };
    // The value a column sorts by: the number as a number (rows without one first).
    static constexpr int SortRole = Qt::UserRole;

    explicit BankModel(QObject* parent = nullptr);

    // The optional column a view column shows; none for 编号, 题目 and 答案.
    static std::optional<vq::bank::OptionalColumn> optionalAt(int column);
    static int columnOf(vq::bank::OptionalColumn column);
    // Where the pictures' thumbnails come from (not owned); without one the cells show names.
    void setThumbnails(ThumbnailCache* thumbnails);
    // The thumbnails are to be asked for again (their folder changed).
    void thumbnailsChanged();
    // Whether any row names a picture: the view then makes room for the thumbnails.
    bool hasPictures() const;

    QUndoStack* undoStack() { return &m_undo; }
    // Every row with its texts (reading those not yet read).
    const QList<Row>& rows() const;
    // One row with its texts.
    const Row& row(int index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Edits become undoable commands; a number that is not a whole number in the bank's
    // range is refused, and so is a text with a tab (a block of cells pasted into one cell);
    // an optional column's cell is held to what the bank tool builds, with its reason.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // A new content (a file opened): no undo history, unchanged. With texts, the rows come
    // without their texts, which are read from it as they are first needed.
    void load(QList<Row> rows, std::shared_ptr<LazyTexts> texts = {});

    // Undoable changes.
    void addRow(int at, const Row& row);
    void removeRowList(QList<int> rows);
    void replaceAll(const QList<Row>& rows, const QString& what);
    void appendRows(const QList<Row>& rows, const QString& what);
    // The rows taken out and the new ones put where the first of them stood, as one step.
    void replaceRows(QList<int> rows, const QList<Row>& with, const QString& what);

    // The number the next added question gets: one above the highest, 1 for none.
    qint32 nextFreeNumber() const;
    // Why the row cannot be saved as it is; empty when it can.
    QString problemOf(int row) const;
    // Rows that block saving, in file order.
    QList<int> problemRows() const;
    bool hasProblems() const { return m_emptyNumbers > 0 || m_duplicateRows > 0; }

    // Direct changes, for the undo commands only.
    void setCellNow(int row, int column, const Row& value);
    void insertNow(const QList<std::pair<int, Row>>& rows);
    void removeNow(const QList<int>& rowsAscending);
    void resetNow(const QList<Row>& rows);

signals:
    // The set of rows with problems may have changed.
    void problemsChanged();
    // An edit was refused, and why (a tab in a text).
    void editRefused(const QString& why);

private:
    QVariant optionalData(const Row& r, int column, int role) const;
    void thumbnailReady();
    void count(const Row& row, int delta);
    void emitRowChanged(int row);
    // Rows whose texts are still in the file: the file's row index, -1 once read.
    mutable QList<Row> m_rows;
    mutable std::vector<int> m_unread;
    mutable qsizetype m_unreadCount = 0;
    mutable std::shared_ptr<LazyTexts> m_texts;
    QHash<qint32, int> m_uses; // how many rows hold each number
    int m_emptyNumbers = 0;
    int m_duplicateRows = 0; // rows whose number another row holds too
    QUndoStack m_undo;
    ThumbnailCache* m_thumbnails = nullptr;
    // Thumbnails come in bursts while a screenful is decoded: the cells are repainted once a
    // burst, not once a picture (each time is a pass over every row of the sorting proxy).
    QTimer m_thumbnailsReady;
};

} // namespace vq::editor
