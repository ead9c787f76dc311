#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>

namespace vq::bank {

// One record of a CSV file and the line on which it starts (counting from 1).
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// RFC 4180 CSV from UTF-8 text (an optional byte order mark, quoted fields with embedded
// line breaks and doubled quotes, CRLF or LF). Throws vq::Exception naming the line of a
// malformed field.
QList<CsvRecord> parseCsv(const QByteArray& utf8);

struct BuildResult {
    int rows = 0;
    qint64 lowest = 0;
    qint64 highest = 0;
    qint64 bytes = 0;
};

// Builds the bank file from a question CSV (header 编号,题目,答案; without 编号 the rows are
// numbered 1..N). Throws vq::Exception with the offending line; the output is then not written.
BuildResult buildBank(const QString& csvPath, const QString& outPath, const QString& password,
                      const std::function<void(const QString&)>& progress = {});

// Writes a table (default: the bank table, else the only user table) as CSV in the form
// mdbtools' exporter uses. When checkPassword, the file's database password must match.
void exportTable(const QString& path, const QString& table, const QString& password, bool checkPassword,
                 FILE* out);

struct CheckReport {
    bool ok = false;
    QString text;
};

// Opens the bank as the presenter does and reports what would make the show fail.
CheckReport checkBank(const QString& path, const QString& password);

} // namespace vq::bank
