#pragma once

#include "bankfile.h"

#include <QList>
#include <QString>

class QMimeData;

namespace vq::editor {

// Rows as a spreadsheet program copies them: a header row 编号, 题目, 答案 and the optional
// columns the rows have, then one line a row, cells separated by tabs; a cell holding a tab, a line
// break or a quote is put in quotes, its quotes doubled, which Excel, WPS and LibreOffice read back
// as one cell.
QString rowsAsText(const QList<Row>& rows);

// The clipboard's content for rows: that text.
QMimeData* rowsMimeData(const QList<Row>& rows);

// Whether a pasted text is rows rather than one cell's text: it has a tab or a line break
// (a trailing line break, which a copied cell carries, not counted).
bool isRowsText(const QString& text);

// Rows pasted from a spreadsheet program, read as 导入 reads a tab-separated file. A first row
// naming 题目 and 答案 is the header; without one the columns are 编号, 题目, 答案 (three or
// more) or 题目, 答案 (two), and rows without 编号 come without numbers. Throws vq::Exception
// in Chinese naming the row and the column.
ImportedTable pastedRows(const QString& text);

} // namespace vq::editor
