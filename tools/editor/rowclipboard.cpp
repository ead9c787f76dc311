#include "rowclipboard.h"

#include "questiontable.h"

#include "platform/exception.h"

#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

namespace vq::editor {

namespace {

QString cell(const QString& text) {
    if (!text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r') &&
        !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// The cells of the text's first line as a spreadsheet program writes them (a quoted cell may
// run over several lines).
QStringList firstRecord(const QString& text) {
    const QList<vq::bank::CsvRecord> records = vq::bank::parseCsvText(text, u'\t');
    return records.isEmpty() ? QStringList() : records.front().fields;
}

} // namespace

QString rowsAsText(const QList<Row>& rows) {
    const QList<vq::bank::OptionalColumn> optional = optionalColumnsIn(rows);
    QString out = QStringLiteral("编号\t题目\t答案");
    for (const vq::bank::OptionalColumn c : optional)
        out += u'\t' + vq::bank::optionalColumnName(c);
    out += u'\n';
    for (const Row& r : rows) {
        out += (r.number ? QString::number(*r.number) : QString()) + u'\t' + cell(r.question) +
               u'\t' + cell(r.answer);
        for (const vq::bank::OptionalColumn c : optional)
            out += u'\t' + cell(optionalText(r, c));
        out += u'\n';
    }
    return out;
}

QMimeData* rowsMimeData(const QList<Row>& rows) {
    auto* data = new QMimeData;
    data->setText(rowsAsText(rows));
    return data;
}

bool isRowsText(const QString& text) {
    QString body = text;
    while (body.endsWith(u'\n') || body.endsWith(u'\r'))
        body.chop(1);
    return body.contains(u'\t') || body.contains(u'\n') || body.contains(u'\r');
}

ImportedTable pastedRows(const QString& text) {
    QStringList first;
    try {
        first = firstRecord(text);
    } catch (const vq::Exception& e) {
        throw vq::Exception(QStringLiteral("无法粘贴：%1").arg(e.message()));
    }
    for (QString& c : first)
        c = c.trimmed();
    QString header;
    if (!first.contains(QStringLiteral("题目"))) {
        if (first.size() >= 3)
            header = QStringLiteral("编号\t题目\t答案");
        else if (first.size() == 2)
            header = QStringLiteral("题目\t答案");
        else
            throw vq::Exception(QStringLiteral(
                "无法粘贴：复制的表格只有一列；请复制“编号、题目、答案”或“题目、答案”几列"));
        // Columns past the three are read as columns of their own and reported as not read.
        for (qsizetype i = 3; i < first.size(); ++i)
            header += QStringLiteral("\t第 %1 列").arg(i + 1);
        header += u'\n';
    }
    // The list goes through the same reader as a file of 导入, so that the same rows are refused
    // for the same reasons.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("剪贴板.txt"));
    QFile file(path);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly))
        throw vq::Exception(QStringLiteral("无法粘贴：无法创建临时文件"));
    file.write("\xEF\xBB\xBF");
    file.write((header + text).toUtf8());
    file.close();
    vq::bank::QuestionTable table;
    try {
        // The text has no file name the operator knows; without a header of its own its rows
        // are counted from the first one pasted.
        vq::bank::ReadOptions options;
        options.place = vq::bank::TextPlace{{}, header.isEmpty() ? 1 : 0};
        table = vq::bank::readQuestionTable(path, options);
    } catch (const vq::Exception& e) {
        throw vq::Exception(QStringLiteral("无法粘贴：%1").arg(e.message()));
    }
    ImportedTable out = importedFrom(table);
    out.notes.front() =
        QStringLiteral("粘贴的表格，制表符分隔，%1")
            .arg(header.isEmpty() ? QStringLiteral("第一行是标题")
                                  : QStringLiteral("没有标题行，按“%1”读入")
                                        .arg(QString(header).trimmed().replace(u'\t', u'、')));
    if (!out.numbered)
        for (Row& r : out.rows)
            r.number.reset();
    return out;
}

} // namespace vq::editor
