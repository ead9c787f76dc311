#pragma once

#include "questiontable.h"

#include <QString>
#include <QStringList>

// Worksheets of .xlsx workbooks (Office Open XML), as Excel, WPS and LibreOffice save them.
namespace vq::bank {

// What a zip file holds: "xlsx" for a workbook, else the whole explanation after "这是"
// ("Word 文档，不是表格：…", ...).
QString zipKind(const QString& path);

// A picture placed on a worksheet, by the cell its top left corner is anchored in (or the cell
// it is the value of), and the workbook's part that holds it (xl/media/image1.png).
struct PlacedPicture {
    int row = 0;    // as SheetRow counts it, from 1
    int column = 0; // from 0
    QString part;
    QByteArray bytes;
    bool inCell = false; // placed in the cell as its value, not over it
};

struct Worksheet {
    QString name;
    QList<PlacedPicture> pictures; // anchored on it (a drawing's anchors), then in its cells
    QStringList otherSheets;       // the workbook's other worksheets, in order
    QList<SheetRow> rows;          // rows that hold at least one cell, in order
    QStringList notes;             // cells read in a way worth telling (formulas without a value)
};

// Reads one worksheet: the named one, or the first visible one. Every cell as text: shared
// and inline strings with all their runs, whole numbers without a fraction (12.0 is 12),
// dates and times by their format, formulas by their saved value. Throws vq::Exception when
// the workbook is damaged or has no such sheet.
Worksheet readWorksheet(const QString& path, const QString& sheet);

// A worksheet column's letters: 0 is A, 26 is AA.
QString columnLetters(int index);

} // namespace vq::bank
