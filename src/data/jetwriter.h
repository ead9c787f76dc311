#pragma once

#include "data/bankschema.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// Writer of Jet 4.0 database files (the Access 2000 file format): enough of the format for
// question banks and test fixtures. Tables carry no indexes; every file is written in one go.
namespace vq::jet {

enum class ColumnType { Long, Text, Memo };

struct Column {
    QString name;
    ColumnType type;
    int size = 255; // Text: max chars
};

struct Table {
    QString name;
    QList<Column> columns;
    QList<QList<QVariant>> rows; // invalid QVariant() = NULL
};

struct WriteOptions {
    QString password; // empty = none
};

// Writes the tables into a new file at path. Throws vq::Exception with a clear message; the
// file is written beside the target and renamed into place, so a failure never leaves a half
// file (and an existing file at path stays untouched). Tables handed over (moved in) have
// their rows freed beside the writing of the file, once the rows are on the pages.
void writeDatabase(const QString& path, QList<Table> tables, const WriteOptions& options);

struct Question {
    qint64 number = 0;
    QString question;
    QString answer;
};

// The question bank's table as the presenter reads it: `题` with `编号` Long, `题目` and `答案`
// memo.
Table questionTable(const QList<Question>& questions);

// The question bank's database password.
inline const QString kBankPassword = bankschema::kPassword;

// Jet's own limits that the writer enforces.
inline constexpr int kMaxPasswordLength = 20;
inline constexpr int kMaxTextColumnSize = 255;
inline constexpr int kMaxNameLength = 64;

} // namespace vq::jet
