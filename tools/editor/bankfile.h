#pragma once

#include "bankreplacement.h"
#include "optionalcolumns.h"
#include "questiontable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <memory>
#include <optional>

// The editor's file side: a bank's rows read from and written to Jet files, spreadsheets in
// and out. No widgets here, so that the tests drive it directly.
namespace vq::editor {

// One question as the editor holds it. A number may be missing while the operator edits.
struct Row {
    std::optional<qint32> number;
    QString question;
    QString answer;
    // The bank's optional columns (picture, answer picture, clip, time, points) by
    // OptionalColumn, as the file holds them: kept from opening to saving; an invalid value is
    // none.
    std::array<QVariant, vq::bank::kOptionalColumnCount> optional{};
    bool operator==(const Row&) const = default;
};

// Asked for a password when neither the file's own nor the presenter's opens it; nullopt
// gives up. `again` is true after a wrong answer.
using PasswordPrompt = std::function<std::optional<QString>(bool again)>;

// The texts of a bank's rows, read from the file when first asked for: a large bank opens
// with its numbers alone and reads only the texts that are shown.
class LazyTexts {
public:
    virtual ~LazyTexts() = default;
    // Fills the question and answer of the file's row `index` into row.
    virtual void fill(int index, Row& row) = 0;
};

struct OpenedBank {
    QList<Row> rows;  // without their texts when `texts` is set
    QString password; // the one that opened the file
    std::shared_ptr<LazyTexts> texts;
};

// Reads the bank table of a Jet file (with lazyTexts, the texts are left to `texts`). The passwords
// tried are the one stored in the file, then the presenter's, then what the prompt gives. Throws
// vq::Exception in Chinese: a file that is no bank, a damaged one, a password not given. Returns
// nullopt when the prompt gave up.
std::optional<OpenedBank> openBank(const QString& path, const PasswordPrompt& prompt,
                                   bool lazyTexts = false);

// Writes the rows as a bank (table 题, the presenter's columns, then each optional column that
// a row has a value in) at path: the new file is
// written beside it and takes its place; an existing file is kept as path + ".bak" and put back
// if the new one cannot take its place. An empty password writes an unprotected file. Throws
// vq::Exception in Chinese.
void saveBank(const QString& path, const QList<Row>& rows, const QString& password,
              vq::bank::FileSteps& steps = vq::bank::realFileSteps());

// One line of the bank tool's check of the rows, with the rows (indexes into the list
// checked) it names.
struct Finding {
    enum Kind { Note, Warning, Problem, Verdict } kind = Note;
    QString text;
    QList<int> rows;
};
// The bank tool's check, run on the rows as they would be saved (in a temporary file); their
// pictures and clips are looked for in the media folder beside `bankPath` (none without one),
// and they are laid out on the screen by the installation's opt.ini beside it.
QList<Finding> checkRows(const QList<Row>& rows, const QString& bankPath = {});

// Rows read from a spreadsheet (CSV in any encoding the bank tool reads, or .xlsx).
struct ImportedTable {
    QList<Row> rows;
    QList<int> sourceLines; // the line or sheet row of each row, for the preview
    QStringList notes;      // what was read and how (encoding, ignored columns)
    bool numbered = true;   // false: the list had no 编号 column and its rows were numbered 1..N
    // The pictures a workbook places on each row (most rows none), to be taken into the media
    // folder once the rows are in.
    QList<QList<vq::bank::PlacedMedia>> placed;
    qsizetype placedCount() const;
};
ImportedTable importTable(const QString& path);
// The same from a list already read (the file's name for the notes).
ImportedTable importedFrom(const vq::bank::QuestionTable& table);

// Rows to append after the existing ones: a number that is missing, or already held by an
// existing row or an earlier appended one, becomes the next free number above them all.
QList<Row> renumberedForAppend(const QList<Row>& existing, QList<Row> added);

// The optional columns any of the rows has a value in, in the bank's order: those a bank, a
// spreadsheet or the clipboard is written with.
QList<vq::bank::OptionalColumn> optionalColumnsIn(const QList<Row>& rows);
// The row's cell of the column as a spreadsheet shows it; empty for none.
QString optionalText(const Row& row, vq::bank::OptionalColumn column);

// CSV in UTF-8 with a byte order mark (Excel opens it without asking), header 编号,题目,答案
// and the optional columns the rows have, by their names.
void exportCsv(const QString& path, const QList<Row>& rows);
// An .xlsx workbook with one sheet of the same columns.
void exportXlsx(const QString& path, const QList<Row>& rows);

} // namespace vq::editor
