#pragma once

#include "data/jetfile.h"

#include <QObject>
#include <QString>
#include <QVariant>

class TADOConnection;

// A query on the connection with a static client-side cursor: the rows are taken from the
// file when the query opens and then read from memory.
class TADOQuery : public QObject {
    Q_OBJECT
public:
    explicit TADOQuery(QObject* parent = nullptr);

    void setConnection(TADOConnection* connection) { m_connection = connection; }
    TADOConnection* connection() const { return m_connection; }

    QString sql() const { return m_sql; }
    // Replacing the text closes the query first.
    void setSql(const QString& text);
    void clearSql() { setSql(QString()); }
    // Adds one line to the text (closing the query).
    void addSqlLine(const QString& line);

    bool active() const { return m_active; }
    // Opens the connection first when it is closed; on the first row.
    void open();
    void close();

    void first();
    void next();
    bool eof() const;
    int recordCount() const;
    // What the last opening found against the table's own records (rows, pages).
    const vq::jet::Damage& damage() const { return m_rows.damage; }

    // The column of the current row; an invalid QVariant when the cell has no value or
    // there is no current row. Throws when closed or when there is no such column.
    QVariant fieldByName(const QString& name) const;
    // The same by the column's number (fieldNumber), for reading one column row after row
    // without looking its name up each time.
    int fieldNumber(const QString& name) const;
    // Whether the rows have a column of that name (for the bank's optional columns). Throws
    // when closed.
    bool hasField(const QString& name) const;
    QVariant field(int number) const;

private:
    void requireActive() const;
    [[noreturn]] void fail(const QString& message) const;

    TADOConnection* m_connection = nullptr;
    QString m_sql;
    bool m_active = false;
    vq::jet::RowSet m_rows;
    int m_current = 0;
};

namespace vq {
// The framework's conversion of a value to text: whole numbers as decimal digits; a value
// that stands for no value fails "Could not convert variant of type (Null) into type (String)".
QString variantToText(const QVariant& value);
// The same text appended to `text` (what variantToText returns is made this way).
void appendVariantText(QString& text, const QVariant& value);
} // namespace vq
