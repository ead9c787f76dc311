#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>

namespace vq::jet {
class Database;
}

namespace vq::bank {

// One record of a CSV file and the line on which it starts (counting from 1).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// RFC 4180 CSV from UTF-8 text (an optional byte order mark, quoted fields with embedded
// line breaks and doubled quotes, CRLF or LF). Blank lines are skipped. Throws vq::Exception
// naming the line of a malformed field.
QList<CsvRecord> parseCsv(const QByteArray& utf8);

struct BuildResult {
    int rows = 0;
    qint64 lowest = 0;
    qint64 highest = 0;
    qint64 bytes = 0;
};

// Progress lines for large inputs.
using Progress = std::function<void(const QString&)>;

// Inputs from this many questions on report their progress.
inline constexpr int kProgressRows = 10000;

// The longest question or answer, in UTF-8 bytes, that the presenter's reader takes whole;
// a longer one would show cut off.
inline constexpr int kLongestText = 128 * 1024 - 1;

// Builds the bank file from a question CSV (header 编号,题目,答案; without 编号 the rows are
// numbered 1..N). An empty password writes an unprotected file. Throws vq::Exception naming
// the offending line; nothing is written then, and a file already at outPath stays as it was.
BuildResult buildBank(const QString& csvPath, const QString& outPath, const QString& password,
                      const Progress& progress = {});

// The user tables of an open database, in catalog order.
QStringList userTables(vq::jet::Database& db);

// Writes a table as CSV, in the form mdbtools' exporter prints by default (text values
// quoted, quotes doubled, a missing value as nothing). The file is opened with our own
// checked reader, so the password must match when the file has one. An empty table name
// takes the bank table, else the only user table.
void exportTable(const QString& path, const QString& table, const QString& password, FILE* out);

struct CheckReport {
    bool ok = false; // false when the show would fail with this bank
    int rows = 0;
    int poolSize = 0; // the numbers the pool would hold after the fill
    QString text;
};

// Opens the bank through the presenter's own connection and query (the same connection
// string, SQL and conversions), fills a pool as the presenter does, fetches every number
// of it and reports what would make the show fail.
CheckReport checkBank(const QString& path, const QString& password, const Progress& progress = {});

} // namespace vq::bank
