#pragma once

#include "optionalcolumns.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reading question lists as spreadsheets save them: CSV in the encodings Excel, WPS and
// LibreOffice write on Chinese desktops, and .xlsx workbooks. Shared by the bank tool and
// anything else that takes questions from a spreadsheet.
namespace vq::bank {

// What stands between the items of a list in a message: "、" in Chinese, ", " in English.
QString listSeparator();

// One record of a CSV file and the line on which it starts (counting from 1).
struct CsvRecord {
    int line = 0;
    QStringList fields;
    int crlfBreaks = 0; // CR LF line breaks inside quoted fields, each read as one LF
};

// How messages place a line or a row of a text: "第 5 行", or "题目.csv 第 5 行" when the
// text has a name the operator knows it by.
struct TextPlace {
    QString source;    // the file's name; empty for text from elsewhere (the clipboard)
    int firstLine = 1; // the number the text's first line goes by (0: a header put in front)
    QString of(int line) const;
    // The same for a line counted from 1 in the text as it stands.
    QString ofTextLine(int line) const { return of(line + firstLine - 1); }
};

// RFC 4180 CSV from decoded text: quoted fields with embedded line breaks and doubled
// quotes, CRLF, LF or CR line ends, the given separator. Blank lines are skipped. Throws
// vq::Exception naming the line of a malformed field.
QList<CsvRecord> parseCsvText(const QString& text, QChar separator = u',',
                              const TextPlace& place = {});

// The same from UTF-8 bytes (an optional byte order mark); throws naming the line of the
// first invalid UTF-8 sequence.
QList<CsvRecord> parseCsv(const QByteArray& utf8, const TextPlace& place = {});

// Text of a CSV file decoded by its content: a UTF-16 (LE or BE) or UTF-8 byte order mark
// says what it is; otherwise valid UTF-8 is UTF-8 and anything else must be GBK (what Excel
// and WPS save as "CSV" on a Chinese desktop). Throws naming the line of the first byte
// sequence that is neither.
struct DecodedText {
    QString text;
    QString encoding; // "UTF-8", "带 BOM 的 UTF-8", "GBK", "UTF-16LE", "UTF-16BE"
};
DecodedText decodeText(const QByteArray& bytes, const TextPlace& place = {});

// What a file that is not a table at all is, from its first bytes ("PDF 文档，不是表格",
// "图片（PNG），不是表格", ...); empty when it may be a table. The text is the whole
// explanation after "这是".
QString foreignKind(const QByteArray& head, const QByteArray& wholeFile = {});

// One row of a spreadsheet's cells as text, with its place: the line of a CSV file or the
// row number of a worksheet.
struct SheetRow {
    int row = 0;
    QStringList cells;
};

struct ReadOptions {
    QString sheet; // the worksheet of a workbook; empty: the first
    // How messages name the file and number its lines; unset: by the file's name, from 1.
    std::optional<TextPlace> place;
};

// A picture placed in a workbook on a question's row: its bytes, to be written into the media
// folder and named in the row's column.
struct PlacedMedia {
    OptionalColumn column = OptionalColumn::Picture; // 答案图片 when it stands in that column
    QString suffix;                                  // its extension in the workbook ("png")
    QByteArray bytes;
};

// One question as the list holds it, before any check of its values.
struct QuestionRow {
    int row = 0;      // where it stands in the file (a CSV line, a worksheet row)
    QString number;   // the 编号 cell, trimmed; empty without a 编号 column
    QString question; // the 题目 cell as it stands
    QString answer;   // the 答案 cell as it stands
    // The optional columns' cells as they stand, by OptionalColumn; empty where the list has
    // no such column.
    std::array<QString, kOptionalColumnCount> optional;
    QList<PlacedMedia> placed; // pictures placed on its row of a workbook, in order
};

// A question list read from a file, with what the reader found out about it.
struct QuestionTable {
    TextPlace origin;        // how messages name the file and number its rows
    QString format;          // "CSV" or "xlsx"
    QString encoding;        // CSV: see DecodedText
    QChar separator;         // CSV: ',' or '\t'
    QString sheet;           // xlsx: the worksheet read
    QStringList otherSheets; // xlsx: the workbook's worksheets not read, when none was named
    bool numbered = false;   // the list has a 编号 column
    QList<OptionalColumn> optionalColumns; // the optional columns the list has, in the bank's order
    QStringList columns;                   // the header as it stands
    QStringList ignoredColumns;
    int emptyRows = 0; // wholly empty rows left out
    QStringList notes; // what else the reader noticed
    QList<QuestionRow> rows;

    // "题目.csv 第 5 行": a CSV line or a worksheet row alike.
    QString place(int row) const;
    // One line for the operator: "CSV 文件，GBK 编码，逗号分隔" / "xlsx 工作簿，工作表“题库”".
    QString describe() const;
    // Notes for the operator, one per line ("没有读入的列：分类、难度"); empty when none.
    QStringList findings() const;
};

// Reads the questions of a CSV file or an .xlsx workbook, chosen by content, not by name.
// The header (the first row that is not wholly empty) needs 题目 and 答案, takes 编号 and the
// optional columns, in any order; other columns are left out and listed. Throws vq::Exception:
// naming the file's kind when it is no table at all, otherwise the row (and column) of what cannot
// be read.
QuestionTable readQuestionTable(const QString& path, const ReadOptions& options = {});

} // namespace vq::bank
