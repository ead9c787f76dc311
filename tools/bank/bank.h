#pragma once

#include "mediacheck.h"
#include "questiontable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>

namespace vq::jet {
class Database;
}

namespace vq::bank {

struct BuildResult {
    int rows = 0;
    qint64 lowest = 0;
    qint64 highest = 0;
    qint64 bytes = 0;
    QString backup; // where the file that stood at the output was kept; empty when none
};

// Progress lines for large inputs.
using Progress = std::function<void(const QString&)>;

// Inputs from this many questions on report their progress.
inline constexpr int kProgressRows = 10000;

// The longest question or answer, in UTF-8 bytes, that the presenter's reader takes whole;
// a longer one would show cut off.
inline constexpr int kLongestText = 128 * 1024 - 1;

struct BuildOptions {
    QString password;  // empty: an unprotected file
    QString sheet;     // the worksheet of a workbook; empty: the first
    Progress progress; // progress lines for large inputs
    Progress notes;    // what was read and how (format, encoding, ignored columns)
};

// Builds the bank file from a question list, a CSV file or an .xlsx workbook (see
// readQuestionTable; without 编号 the rows are numbered 1..N). Throws vq::Exception naming the
// offending row; nothing is written then, and a file already at outPath stays as it was. When
// a new bank is written, a file that stood at outPath is kept beside it as outPath.bak.
BuildResult buildBank(const QString& inPath, const QString& outPath, const BuildOptions& options);
// Throws vq::Exception saying why when the presenter's connection string cannot carry the
// password as it is (a ';', a blank at either end, enclosing quotes); build and check refuse it.
void requireCarriedPassword(const QString& password);
BuildResult buildBank(const QString& inPath, const QString& outPath, const QString& password,
                      const Progress& progress = {});

// The user tables of an open database, in catalog order.
QStringList userTables(vq::jet::Database& db);

// Writes a table as CSV, in the form mdbtools' exporter prints by default (text values
// quoted, quotes doubled, a missing value as nothing). The file is opened with our own
// checked reader, so the password must match when the file has one. An empty table name
// takes the bank table, else the only user table.
void exportTable(const QString& path, const QString& table, const QString& password, FILE* out);

// One line of a check's report, with the table rows and question numbers it names, so that
// a caller can point at them without reading the text.
struct CheckLine {
    enum Kind { Note, Warning, Problem, Verdict } kind = Note;
    QString text;        // without the mark that the printed report puts before it
    QList<int> rows;     // rows of the table in the order the query delivers them, from 1
    QStringList numbers; // numbers as the pool holds them
};

struct CheckReport {
    bool ok = false; // false when the show would fail with this bank
    int rows = 0;
    int poolSize = 0; // the numbers the pool would hold after the fill
    QList<CheckLine> lines;
    QList<MediaFinding> media; // the pictures and clips the show could not use, row by row
    QString text; // the lines as printed: notes, "注意：" warnings, "问题：" problems, the verdict
};

// Opens the bank through the presenter's own connection and query (the same connection
// string, SQL and conversions), fills a pool as the presenter does, fetches every number
// of it and reports what would make the show fail, with the pictures and clips named in the
// bank that the show could not find, open, decode or afford (in the media folder beside it).
// `mediaFolder` is where the pictures and clips are looked for; empty: the media folder beside
// the bank (a caller checking a temporary copy names the real bank's). Where the installation's
// settings file is found (`settingsFile`; empty: opt.ini beside the bank), every question and
// its answer are also laid out as the main screen shows them, and the questions whose answer
// would run below a 1080-line screen are named.
CheckReport checkBank(const QString& path, const QString& password, const Progress& progress = {},
                      const QString& mediaFolder = {}, const QString& settingsFile = {});

} // namespace vq::bank
