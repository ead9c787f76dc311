#include "bankfile.h"
#include "data/bankschema.h"

#include "bank.h"
#include "data/jetfile.h"
#include "data/jetheader.h"
#include "data/jetwriter.h"
#include "platform/exception.h"
#include "questiontable.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <quazip.h>
#include <quazipfile.h>

#include <algorithm>

namespace vq::editor {
namespace {

using namespace bankschema;

QByteArray headerOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw vq::Exception(QStringLiteral("无法打开 %1：%2").arg(path, f.errorString()));
    return f.read(4096);
}

bool wrongPassword(const vq::Exception& e) {
    return e.message() == vq::jet::kWrongPasswordMessage;
}

// A number cell as the bank holds it: a whole number in Long's range, else none.
std::optional<qint32> numberFrom(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    if (v.typeId() == QMetaType::LongLong) { // a Long column: the common case, kept fast
        const qlonglong n = v.toLongLong();
        if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return qint32(n);
    }
    const QString text = v.toString().trimmed();
    bool ok = false;
    qlonglong n = text.toLongLong(&ok);
    if (!ok) {
        // A whole number written as a decimal ("12.0"), as spreadsheets store numbers.
        const double d = text.toDouble(&ok);
        ok = ok && d >= double(std::numeric_limits<qint32>::min()) &&
             d <= double(std::numeric_limits<qint32>::max()) && d == double(qlonglong(d));
        n = ok ? qlonglong(d) : 0;
    }
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(n);
}

// An optional column's cell as the editor holds it: a number column's as a qint64, a media
// column's as its text; an empty or unreadable cell as none.
QVariant optionalValue(vq::bank::OptionalColumn column, const QVariant& cell) {
    if (!cell.isValid() || cell.isNull())
        return {};
    if (vq::bank::isNumberColumn(column)) {
        bool ok = false;
        const qint64 n = cell.toLongLong(&ok);
        return ok ? QVariant(n) : QVariant();
    }
    const QString text = cell.toString();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// The texts of a full read of the table, taken from the file's snapshot row by row.
struct RowSetTexts final : LazyTexts {
    explicit RowSetTexts(vq::jet::RowSet rows) : set(std::move(rows)) {}
    void fill(int index, Row& row) override {
        row.question = set.cell(index, question).toString();
        row.answer = set.cell(index, answer).toString();
    }
    vq::jet::RowSet set;
    int question = -1;
    int answer = -1;
};

OpenedBank readRows(vq::jet::Database& db, bool lazyTexts) {
    QStringList tables;
    try {
        tables = vq::bank::userTables(db);
    } catch (const vq::Exception&) {
    }
    if (!tables.contains(kTable))
        throw vq::Exception(
            QStringLiteral("这个文件不是题库：其中没有“%1”表（文件中的表：%2）。")
                .arg(kTable, tables.isEmpty() ? QStringLiteral("无") : tables.join(u'、')));
    auto texts = std::make_shared<RowSetTexts>(db.readTable(kTable));
    const vq::jet::RowSet& set = texts->set;
    const int number = set.columnIndex(kNumber);
    const int question = texts->question = set.columnIndex(kQuestion);
    const int answer = texts->answer = set.columnIndex(kAnswer);
    QStringList missing;
    for (const auto& [at, name] :
         {std::pair{number, kNumber}, std::pair{question, kQuestion}, std::pair{answer, kAnswer}})
        if (at < 0)
            missing << name;
    if (!missing.isEmpty())
        throw vq::Exception(QStringLiteral("“%1”表缺少列：%2。").arg(kTable, missing.join(u'、')));
    // The optional columns' values go through the editor as they are, so that saving keeps them.
    QList<std::pair<vq::bank::OptionalColumn, int>> optional;
    for (const vq::bank::OptionalColumn c : vq::bank::kOptionalColumns)
        if (const int at = set.columnIndex(vq::bank::optionalColumnName(c)); at >= 0)
            optional << std::pair{c, at};
    OpenedBank out;
    out.rows.resize(set.rowCount());
    for (int r = 0; r < set.rowCount(); ++r) {
        Row& row = out.rows[r];
        row.number = numberFrom(set.cell(r, number));
        for (const auto& [column, at] : optional)
            row.optional[size_t(column)] = optionalValue(column, set.cell(r, at));
        if (!lazyTexts)
            texts->fill(r, row);
    }
    if (lazyTexts)
        out.texts = std::move(texts);
    return out;
}

vq::jet::Table bankTable(const QList<Row>& rows) {
    vq::jet::Table t = vq::jet::questionTable({});
    const QList<vq::bank::OptionalColumn> optional = optionalColumnsIn(rows);
    for (const vq::bank::OptionalColumn c : optional) {
        t.columns << vq::jet::Column{vq::bank::optionalColumnName(c),
                                     vq::bank::isNumberColumn(c) ? vq::jet::ColumnType::Long
                                                                 : vq::jet::ColumnType::Text,
                                     vq::bank::kLongestMediaName};
    }
    t.rows.reserve(rows.size());
    for (const Row& r : rows) {
        QList<QVariant> cells{r.number ? QVariant(qint64(*r.number)) : QVariant(), r.question,
                              r.answer};
        for (const vq::bank::OptionalColumn c : optional) {
            const QVariant& v = r.optional[size_t(c)];
            cells << (vq::bank::isNumberColumn(c) && v.isValid() ? QVariant(v.toLongLong()) : v);
        }
        t.rows.append(std::move(cells));
    }
    return t;
}

// Characters XML 1.0 cannot carry are written as the workbook format's own _xHHHH_ escape;
// an underscore that would read as one is escaped itself.
QString xlsxText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        const bool control = u < 0x20 && u != 0x09 && u != 0x0A && u != 0x0D;
        const bool looksEscaped =
            c == u'_' && i + 6 < text.size() + 0 && text.at(i + 1) == u'x' &&
            text.at(i + 6) == u'_' &&
            std::all_of(text.begin() + i + 2, text.begin() + i + 6, [](QChar h) {
                return h.isDigit() || (h.toLower() >= u'a' && h.toLower() <= u'f');
            });
        if (control || u == 0xFFFE || u == 0xFFFF || looksEscaped)
            out += QStringLiteral("_x%1_").arg(
                QString::number(u, 16).toUpper().rightJustified(4, QLatin1Char('0')));
        else
            out += c;
    }
    return out;
}

void addZipEntry(QuaZip& zip, const QString& name, const QByteArray& bytes) {
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) ||
        file.write(bytes) != bytes.size()) {
        throw vq::Exception(QStringLiteral("无法写入 %1").arg(name));
    }
    file.close();
    if (file.getZipError() != 0)
        throw vq::Exception(QStringLiteral("无法写入 %1").arg(name));
}

QByteArray sheetXml(const QList<Row>& rows) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("worksheet"));
    xml.writeDefaultNamespace(
        QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main"));
    const QList<vq::bank::OptionalColumn> optional = optionalColumnsIn(rows);
    xml.writeStartElement(QStringLiteral("cols"));
    QList<int> widths{8, 60, 30};
    for (const vq::bank::OptionalColumn c : optional)
        widths << (vq::bank::isNumberColumn(c) ? 8 : 20);
    for (int i = 0; i < widths.size(); ++i) {
        xml.writeEmptyElement(QStringLiteral("col"));
        xml.writeAttribute(QStringLiteral("min"), QString::number(i + 1));
        xml.writeAttribute(QStringLiteral("max"), QString::number(i + 1));
        xml.writeAttribute(QStringLiteral("width"), QString::number(widths[i]));
        xml.writeAttribute(QStringLiteral("customWidth"), QStringLiteral("1"));
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("sheetData"));
    const auto textCell = [&](const QString& ref, const QString& text) {
        xml.writeStartElement(QStringLiteral("c"));
        xml.writeAttribute(QStringLiteral("r"), ref);
        xml.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
        xml.writeStartElement(QStringLiteral("is"));
        xml.writeStartElement(QStringLiteral("t"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        xml.writeCharacters(xlsxText(text));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    };
    const auto startRow = [&](int r) {
        xml.writeStartElement(QStringLiteral("row"));
        xml.writeAttribute(QStringLiteral("r"), QString::number(r));
    };
    startRow(1);
    textCell(QStringLiteral("A1"), kNumber);
    textCell(QStringLiteral("B1"), kQuestion);
    textCell(QStringLiteral("C1"), kAnswer);
    // The optional columns from D on (at most H: the letters are single).
    const auto letter = [](qsizetype i) { return QChar(u'D' + char16_t(i)); };
    for (qsizetype i = 0; i < optional.size(); ++i)
        textCell(letter(i) + QStringLiteral("1"), vq::bank::optionalColumnName(optional[i]));
    xml.writeEndElement();
    for (int i = 0; i < rows.size(); ++i) {
        const int r = i + 2;
        const QString n = QString::number(r);
        startRow(r);
        if (rows[i].number) {
            xml.writeStartElement(QStringLiteral("c"));
            xml.writeAttribute(QStringLiteral("r"), QLatin1Char('A') + n);
            xml.writeTextElement(QStringLiteral("v"), QString::number(*rows[i].number));
            xml.writeEndElement();
        }
        textCell(QLatin1Char('B') + n, rows[i].question);
        textCell(QLatin1Char('C') + n, rows[i].answer);
        for (qsizetype c = 0; c < optional.size(); ++c) {
            const QVariant& v = rows[i].optional[size_t(optional[c])];
            if (!v.isValid())
                continue;
            if (!vq::bank::isNumberColumn(optional[c])) {
                textCell(letter(c) + n, v.toString());
                continue;
            }
            xml.writeStartElement(QStringLiteral("c"));
            xml.writeAttribute(QStringLiteral("r"), letter(c) + n);
            xml.writeTextElement(QStringLiteral("v"), QString::number(v.toLongLong()));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement(); // sheetData
    xml.writeEndElement(); // worksheet
    xml.writeEndDocument();
    return out;
}

} // namespace

QList<vq::bank::OptionalColumn> optionalColumnsIn(const QList<Row>& rows) {
    QList<vq::bank::OptionalColumn> out;
    for (const vq::bank::OptionalColumn c : vq::bank::kOptionalColumns)
        if (std::any_of(rows.cbegin(), rows.cend(),
                        [&](const Row& r) { return r.optional[size_t(c)].isValid(); }))
            out << c;
    return out;
}

QString optionalText(const Row& row, vq::bank::OptionalColumn column) {
    const QVariant& v = row.optional[size_t(column)];
    return v.isValid() ? v.toString() : QString();
}

std::optional<OpenedBank> openBank(const QString& path, const PasswordPrompt& prompt,
                                   bool lazyTexts) {
    QString stored;
    try {
        stored = vq::jet::storedPassword(headerOf(path));
    } catch (const vq::Exception&) {
    }
    QStringList tries{stored};
    if (!tries.contains(vq::jet::kBankPassword))
        tries << vq::jet::kBankPassword;
    bool asked = false;
    for (qsizetype i = 0;; ++i) {
        QString password;
        if (i < tries.size()) {
            password = tries[i];
        } else {
            const std::optional<QString> given = prompt ? prompt(asked) : std::nullopt;
            if (!given)
                return std::nullopt;
            asked = true;
            password = *given;
        }
        try {
            vq::jet::Database db(path, password);
            OpenedBank opened = readRows(db, lazyTexts);
            opened.password = password;
            return opened;
        } catch (const vq::Exception& e) {
            if (!wrongPassword(e))
                throw vq::Exception(QStringLiteral("无法打开 %1：%2").arg(path, e.message()));
        }
    }
}

void saveBank(const QString& path, const QList<Row>& rows, const QString& password,
              vq::bank::FileSteps& steps) {
    for (const Row& r : rows)
        if (!r.number)
            throw vq::Exception(QStringLiteral("有题目没有编号，不能保存。"));
    // The bank tool's own replacement: the old bank kept as .bak, and put back on any failure.
    try {
        vq::bank::replaceKeepingBackup(
            path,
            [&](const QString& fresh) {
                vq::jet::writeDatabase(fresh, {bankTable(rows)}, {password});
            },
            steps);
    } catch (const vq::Exception& e) {
        throw vq::Exception(QStringLiteral("无法保存 %1：%2").arg(path, e.message()));
    }
}

QList<Finding> checkRows(const QList<Row>& rows, const QString& bankPath) {
    QTemporaryDir dir;
    if (!dir.isValid())
        throw vq::Exception(QStringLiteral("无法建立临时文件夹：%1").arg(dir.errorString()));
    const QString path = dir.filePath(QStringLiteral("db.DLL"));
    vq::jet::writeDatabase(path, {bankTable(rows)}, {vq::jet::kBankPassword});
    // The pictures and clips are the bank's own, beside it, not beside the temporary copy; so
    // is the installation's settings file the questions are laid out by.
    const QDir beside = QFileInfo(bankPath.isEmpty() ? path : bankPath).dir();
    const vq::bank::CheckReport report =
        vq::bank::checkBank(path, vq::jet::kBankPassword, {}, beside.filePath(kMediaFolder),
                            beside.filePath(vq::kSettingsFileName));
    // Numbers named in a line select the first row holding them; the table's rows are the
    // list's, in order, since the temporary bank was written from it.
    QHash<qint32, int> rowOfNumber;
    for (int i = int(rows.size()) - 1; i >= 0; --i)
        if (rows[i].number)
            rowOfNumber.insert(*rows[i].number, i);
    QList<Finding> out;
    for (const vq::bank::CheckLine& line : report.lines) {
        Finding f;
        // The temporary copy's path means nothing to the operator: it is the table as it stands.
        f.text = QString(line.text).replace(path, QStringLiteral("（编辑中的题库）"));
        f.kind = line.kind == vq::bank::CheckLine::Problem   ? Finding::Problem
                 : line.kind == vq::bank::CheckLine::Warning ? Finding::Warning
                 : line.kind == vq::bank::CheckLine::Verdict ? Finding::Verdict
                                                             : Finding::Note;
        for (const int r : line.rows)
            if (r >= 1 && r <= rows.size())
                f.rows << r - 1;
        // A line that names its rows and their numbers selects each row once.
        for (const QString& n : line.numbers) {
            bool ok = false;
            const qint32 number = n.toInt(&ok);
            if (ok && rowOfNumber.contains(number) && !f.rows.contains(rowOfNumber.value(number)))
                f.rows << rowOfNumber.value(number);
        }
        out << f;
    }
    return out;
}

ImportedTable importTable(const QString& path) {
    vq::bank::QuestionTable table;
    try {
        // The message names the whole path in front: the rows go by their numbers alone.
        vq::bank::ReadOptions options;
        options.place = vq::bank::TextPlace{};
        table = vq::bank::readQuestionTable(path, options);
    } catch (const vq::Exception& e) {
        throw vq::Exception(QStringLiteral("无法读取 %1：%2").arg(path, e.message()));
    }
    return importedFrom(table);
}

ImportedTable importedFrom(const vq::bank::QuestionTable& table) {
    ImportedTable out;
    out.numbered = table.numbered;
    out.notes << table.describe();
    out.notes << table.findings();
    out.rows.reserve(table.rows.size());
    constexpr int kListedRefusals = 20;
    int refused = 0;
    for (qsizetype i = 0; i < table.rows.size(); ++i) {
        const vq::bank::QuestionRow& q = table.rows[i];
        Row row;
        // Without a 编号 column the questions are numbered in their order, as the bank tool does.
        row.number = table.numbered ? numberFrom(q.number) : std::optional<qint32>(qint32(i + 1));
        row.question = q.question;
        row.answer = q.answer;
        // A cell the bank tool would refuse comes in empty, and the preview says which.
        for (const vq::bank::OptionalColumn c : table.optionalColumns) {
            const vq::bank::CheckedCell checked = vq::bank::checkCell(c, q.optional[size_t(c)]);
            row.optional[size_t(c)] = checked.value;
            if (!checked.problem.isEmpty() && ++refused <= kListedRefusals)
                out.notes << QStringLiteral("%1 的%2没有读入：%3")
                                 .arg(table.place(q.row), vq::bank::optionalColumnName(c),
                                      checked.problem);
        }
        out.rows.append(std::move(row));
        out.sourceLines.append(q.row);
        out.placed.append(q.placed);
    }
    if (refused > kListedRefusals)
        out.notes << QStringLiteral("……共 %1 个单元格没有读入").arg(refused);
    return out;
}

qsizetype ImportedTable::placedCount() const {
    qsizetype n = 0;
    for (const QList<vq::bank::PlacedMedia>& p : placed)
        n += p.size();
    return n;
}

QList<Row> renumberedForAppend(const QList<Row>& existing, QList<Row> added) {
    QSet<qint32> used;
    qint64 highest = 0;
    for (const Row& r : existing)
        if (r.number) {
            highest = std::max<qint64>(highest, *r.number);
            used.insert(*r.number);
        }
    for (const Row& r : added)
        if (r.number)
            highest = std::max<qint64>(highest, *r.number);
    for (Row& r : added) {
        if (!r.number || used.contains(*r.number)) {
            if (highest >= std::numeric_limits<qint32>::max())
                throw vq::Exception(QStringLiteral("编号已用到最大值，不能再添加新编号。"));
            r.number = qint32(++highest);
        }
        used.insert(*r.number);
    }
    return added;
}

void exportCsv(const QString& path, const QList<Row>& rows) {
    const auto quoted = [](const QString& text) {
        QString q = text;
        q.replace(u'"', QStringLiteral("\"\""));
        return u'"' + q + u'"';
    };
    const QList<vq::bank::OptionalColumn> optional = optionalColumnsIn(rows);
    QString text = kNumber + u',' + kQuestion + u',' + kAnswer;
    for (const vq::bank::OptionalColumn c : optional)
        text += u',' + vq::bank::optionalColumnName(c);
    text += QStringLiteral("\r\n");
    for (const Row& r : rows) {
        text += (r.number ? QString::number(*r.number) : QString()) + u',' + quoted(r.question) +
                u',' + quoted(r.answer);
        for (const vq::bank::OptionalColumn c : optional) {
            const QString cell = optionalText(r, c);
            text += u',' + (vq::bank::isNumberColumn(c) || cell.isEmpty() ? cell : quoted(cell));
        }
        text += QStringLiteral("\r\n");
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw vq::Exception(QStringLiteral("无法写入 %1：%2").arg(path, f.errorString()));
    f.write("\xEF\xBB\xBF");
    f.write(text.toUtf8());
    if (!f.commit())
        throw vq::Exception(QStringLiteral("无法写入 %1：%2").arg(path, f.errorString()));
}

namespace {

// The parts of a workbook with the one sheet "题", besides the sheet itself.
void addWorkbookParts(QuaZip& zip) {
    addZipEntry(zip, QStringLiteral("[Content_Types].xml"),
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" "
                "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Override PartName=\"/xl/workbook.xml\" "
                "ContentType=\"application/"
                "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
                "ContentType=\"application/"
                "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
                "</Types>");
    addZipEntry(zip, QStringLiteral("_rels/.rels"),
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<Relationships "
                "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
                "</Relationships>");
    addZipEntry(zip, QStringLiteral("xl/workbook.xml"),
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<workbook "
                "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships\">"
                "<sheets><sheet name=\"题\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
                "</workbook>");
    addZipEntry(zip, QStringLiteral("xl/_rels/workbook.xml.rels"),
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<Relationships "
                "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                "</Relationships>");
}

} // namespace

void exportXlsx(const QString& path, const QList<Row>& rows) {
    const QString fresh = path + QStringLiteral(".new");
    {
        QuaZip zip(fresh);
        if (!zip.open(QuaZip::mdCreate))
            throw vq::Exception(QStringLiteral("无法写入 %1").arg(path));
        try {
            addWorkbookParts(zip);
            addZipEntry(zip, QStringLiteral("xl/worksheets/sheet1.xml"), sheetXml(rows));
        } catch (const vq::Exception&) {
            zip.close();
            QFile::remove(fresh);
            throw;
        }
        zip.close();
        if (zip.getZipError() != 0) {
            QFile::remove(fresh);
            throw vq::Exception(QStringLiteral("无法写入 %1").arg(path));
        }
    }
    QFile::remove(path);
    if (!QFile::rename(fresh, path))
        throw vq::Exception(QStringLiteral("无法写入 %1").arg(path));
}

} // namespace vq::editor
