#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace vq::jet {

// The failure of opening a bank with another password than its own; tools that ask the user for
// the password again know it by this text.
inline const QString kWrongPasswordMessage = QStringLiteral("数据库密码不正确");

// One column of a table as the reader sees it.
struct ColumnInfo {
    QString name;
    int mdbType = 0;      // the file's own type code
    bool integer = false; // byte, integer, long integer, boolean
    bool numeric = false; // any number type
    bool text = false;    // short text or memo
};

// The index of the named column, case-insensitive; -1 when absent.
int columnIndex(const QList<ColumnInfo>& columns, const QString& name);

// Reads the texts of a row of a full read when they are first asked for, from the same
// moment of the file as the rest of the row.
class DeferredTexts {
public:
    virtual ~DeferredTexts() = default;
    virtual QList<QVariant> row(int index) = 0;
};

// What a full read of a table found against the table's own records: the rows its definition
// counts, the rows read, and the pages its page map lists that are not its data pages.
struct Damage {
    qint64 recorded = 0;
    qint64 read = 0;
    QList<quint32> pages;    // listed, inside the file, without any of the table's rows
    bool pastTheEnd = false; // the map lists pages the file does not have
    quint32 pageCount = 0;   // the file's pages, for the message about those past its end
    bool damaged() const { return rowsLost() || !pages.isEmpty() || pastTheEnd; }
    // Rows the table records that could not be read, or rows read that it does not record;
    // with every row read, a wrong page map costs no question.
    bool rowsLost() const { return read != recorded; }
    // "the bank is damaged: N of M rows could be read (...)", or what is wrong with the page
    // map when every row was read; empty when not damaged.
    QString describe() const;
};

// Rows of one table, taken from the file at one moment (a static cursor's result).
struct RowSet {
    QList<ColumnInfo> columns;
    Damage damage; // of a full read
    int columnIndex(const QString& name) const { return jet::columnIndex(columns, name); }
    // The cell, reading deferred texts when needed; an invalid QVariant is a cell without a
    // value.
    QVariant cell(int row, int column) const;
    qsizetype rowCount() const { return m_rowCount; }
    // Adds a row of `columns` cells (missing ones count as without a value); the cells of
    // deferred columns are not kept, so `deferred` is set before the first row.
    void appendRow(const QList<QVariant>& row);
    void reserveRows(qsizetype rows);

    // Texts of a full read are taken from the file's moment only when read.
    QList<bool> deferred;
    std::shared_ptr<DeferredTexts> texts;
    mutable int cachedRow = -1;
    mutable QList<QVariant> cached;

private:
    bool isDeferred(int column) const {
        return texts && column < deferred.size() && deferred[column];
    }
    int keptColumns() const;
    void appendCell(const QVariant& cell);
    // The kept cells of all the rows, row after row. While every one is a whole number of at
    // most 32 bits or without a value they are plain numbers, 4 bytes and a bit a cell instead
    // of a 32-byte QVariant (a table's number column, held for as long as the cursor is open);
    // from the first other value on, all are QVariants.
    std::vector<qint32> m_numbers;
    std::vector<bool> m_present;
    QList<QVariant> m_cells;
    bool m_numbersOnly = true;
    qsizetype m_rowCount = 0;
};

// A Jet 4.0 database file read into memory, validated and handed to the reading library.
// The file is only ever read (shared with other programs that may write it); every query
// checks that the snapshot is still the file on disk and re-reads it when not.
class Database {
public:
    // Reads and checks the file; throws vq::Exception worded as the engine words it.
    Database(const QString& path, const QString& password);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }

    // Every row of a table (throws when there is no such table). With forFetches, the read
    // also indexes the numbers for readWhereEquals.
    RowSet readTable(const QString& table, bool forFetches = true);
    // The rows whose integer column equals value; served from an index of the last full
    // read when the file is unchanged, otherwise from a fresh scan.
    RowSet readWhereEquals(const QString& table, const QString& column, double value);
    // The table's columns (throws when there is no such table).
    QList<ColumnInfo> columns(const QString& table);

    // True when the snapshot no longer matches the file (size or modification time).
    bool stale() const;
    // Steady: the moment of the file read last stands for every later query, without looking
    // at the disk again; for a tool that reads one moment of a bank through many queries.
    // Normally (not steady) every query looks whether the file changed.
    void setSteady(bool steady);

    // Checks a header page (the first page of the file) for format and password without
    // the library; throws as the engine does. Public for tests and tools.
    static void checkHeader(const QByteArray& header, const QString& path, const QString& password);

    struct Snapshot; // the file's bytes and the library's handle on them

private:
    void load();
    Snapshot& current();
    std::shared_ptr<Snapshot> m_snap;
    QString m_path;
    QString m_password;
    bool m_steady = false;
};

} // namespace vq::jet
