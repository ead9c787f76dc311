#include "bank.h"
#include "bankreplacement.h"
#include "data/bankschema.h"
#include "screenfit.h"

#include "controls/memo.h"
#include "controls/packedlines.h"
#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/jetfile.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "platform/exception.h"
#include "platform/folders.h"
#include "platform/messages.h"
#include "settings/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

namespace vq::bank {
namespace {

using namespace bankschema;

// The file's own column type codes, by the names Access gives them.
QString typeName(int code) {
    switch (code) {
    case 1:
        return QCoreApplication::translate("velquo-bank", "是/否");
    case 2:
        return QCoreApplication::translate("velquo-bank", "字节");
    case 3:
        return QCoreApplication::translate("velquo-bank", "整型");
    case 4:
        return QCoreApplication::translate("velquo-bank", "长整型");
    case 5:
        return QCoreApplication::translate("velquo-bank", "货币");
    case 6:
        return QCoreApplication::translate("velquo-bank", "单精度型");
    case 7:
        return QCoreApplication::translate("velquo-bank", "双精度型");
    case 8:
        return QCoreApplication::translate("velquo-bank", "日期/时间");
    case 9:
        return QCoreApplication::translate("velquo-bank", "二进制");
    case 10:
        return QCoreApplication::translate("velquo-bank", "文本");
    case 11:
        return QCoreApplication::translate("velquo-bank", "OLE 对象");
    case 12:
        return QCoreApplication::translate("velquo-bank", "备注");
    case 15:
        return QCoreApplication::translate("velquo-bank", "同步复制 ID");
    case 16:
        return QCoreApplication::translate("velquo-bank", "小数");
    default:
        return QCoreApplication::translate("velquo-bank", "类型 %1").arg(code);
    }
}

// Types whose values the exporter puts in quotes.
bool quotedType(int code) {
    return code == 8 || code == 9 || code == 10 || code == 11 || code == 12 || code == 15;
}

void appendQuoted(QByteArray& out, const QByteArray& value) {
    out.append('"');
    if (!value.contains('"')) {
        out.append(value);
    } else {
        for (char c : value) {
            if (c == '"')
                out.append('"');
            out.append(c);
        }
    }
    out.append('"');
}

void write(FILE* out, const QByteArray& bytes) {
    if (!bytes.isEmpty() &&
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) != size_t(bytes.size()))
        throw vq::Exception(QCoreApplication::translate("velquo-bank", "无法写出导出的内容"));
}

} // namespace

void requireCarriedPassword(const QString& password) {
    // The connection string is split at each ';' and its values are read trimmed, with one pair
    // of enclosing quotes taken off.
    if (password.contains(u';'))
        throw vq::Exception(
            QCoreApplication::translate("velquo-bank", "密码中有“;”，无法写进连接字符串"));
    if (password != password.trimmed())
        throw vq::Exception(QCoreApplication::translate(
            "velquo-bank", "密码的开头或结尾有空白，无法写进连接字符串"));
    if (password.size() >= 2 && (password.front() == u'"' || password.front() == u'\'') &&
        password.back() == password.front())
        throw vq::Exception(
            QCoreApplication::translate("velquo-bank", "密码两端是引号，无法写进连接字符串"));
}

namespace {

// The presenter's connection string with the file and the password put in.
QString connectionStringFor(const QString& fullPath, const QString& password) {
    // The string is a plain list of key=value pairs: a ';' cannot be written in a value.
    if (fullPath.contains(u';'))
        throw vq::Exception(
            QCoreApplication::translate("velquo-bank", "%1：路径中有“;”，无法写进连接字符串")
                .arg(fullPath));
    requireCarriedPassword(password);
    QStringList pairs = TADOConnection::designedConnectionString().split(u';');
    for (QString& pair : pairs) {
        const QString key = pair.section(u'=', 0, 0);
        if (key == QLatin1String("Data Source"))
            pair = key + u'=' + fullPath;
        else if (key == QLatin1String("Jet OLEDB:Database Password"))
            pair = key + u'=' + (password.isEmpty() ? QStringLiteral("\"\"") : password);
    }
    return pairs.join(u';');
}

// The length of the text in UTF-8, without converting it.
qsizetype utf8Length(QStringView text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            n += 1;
        } else if (c < 0x800) {
            n += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            n += 4;
            ++i;
        } else {
            n += 3;
        }
    }
    return n;
}

// Whether the text is longer than `limit` bytes in UTF-8. A UTF-16 unit is at most three
// UTF-8 bytes, so a short text needs no counting.
bool longerInUtf8(const QString& text, qsizetype limit) {
    return text.size() * 3 > limit && utf8Length(text) > limit;
}

// Whether a text shows as nothing (what trimmed() would leave empty), from its start.
bool blank(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

// Up to a few items of a list, for a report line.
QString some(const QStringList& items, int shown = 8) {
    QString s = items.mid(0, shown).join(listSeparator());
    if (items.size() > shown)
        s += QCoreApplication::translate("velquo-bank", "……（共 %1 个）").arg(items.size());
    return s;
}

} // namespace

namespace {

// The first character of a text the bank cannot hold as it is, described; empty when none.
QString unstorable(const QString& text) {
    if (text.contains(QChar(0)))
        return QCoreApplication::translate("velquo-bank",
                                           "文字中有空字符（代码 0），题库里存不下这个字符");
    // Stored text that begins with FF FE reads as compressed text, whose form has no place
    // for a character whose low byte is zero (一, 开, the ideographic space).
    if (text.startsWith(QChar(0xFEFF))) {
        for (const QChar c : text) {
            if ((c.unicode() & 0xFF) == 0)
                return QCoreApplication::translate(
                           "velquo-bank",
                           "文字以 U+FEFF（看不见的字节顺序标记）开头，又含有“%1”（U+%2）；"
                           "题库无法把这两者存在一起而让每个读取程序都读回原样：请删掉开头的标记")
                    .arg(c)
                    .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
        }
    }
    return {};
}

} // namespace

namespace {

// The pictures placed in a workbook, named after their questions ("第3题.png", "第3题答案.jpeg")
// and written into the media folder once the list has been checked whole.
struct MediaPlacing {
    explicit MediaPlacing(QString mediaFolder) : folder(std::move(mediaFolder)) {}

    // The name the picture goes in under: its question's, with a count after it where that name
    // holds other bytes already.
    QString place(qint64 number, const PlacedMedia& m) {
        // The same names in every language: a bank and its folder go from one desktop to another.
        const QString base =
            (m.column == OptionalColumn::AnswerPicture ? QStringLiteral("第%1题答案")
                                                       : QStringLiteral("第%1题"))
                .arg(number);
        const QString suffix = m.suffix.isEmpty() ? QString() : u'.' + m.suffix;
        for (int n = 1;; ++n) {
            const QString name =
                n == 1 ? base + suffix : QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix);
            const QString path = folder + u'/' + name;
            const auto planned = files.constFind(name);
            if (planned != files.cend() ? *planned == m.bytes
                                        : !QFileInfo::exists(path) || sameBytes(path, m.bytes)) {
                files.insert(name, m.bytes);
                return name;
            }
        }
    }

    static bool sameBytes(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        return f.size() == bytes.size() && f.open(QIODevice::ReadOnly) && f.readAll() == bytes;
    }

    // Writes the pictures not already there; throws naming the file that cannot be written.
    void write() const {
        if (files.isEmpty())
            return;
        if (!QDir().mkpath(folder))
            throw vq::Exception(QCoreApplication::translate("velquo-bank", "无法创建文件夹 %1")
                                    .arg(QDir::toNativeSeparators(folder)));
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            const QString path = folder + u'/' + it.key();
            if (QFileInfo::exists(path))
                continue;
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(*it) != it->size() || !f.flush())
                throw vq::Exception(QCoreApplication::translate("velquo-bank", "无法写入 %1：%2")
                                        .arg(QDir::toNativeSeparators(path), f.errorString()));
        }
    }

    QString folder;
    QMap<QString, QByteArray> files; // name -> bytes
    int keptNames = 0;
};

// The bank's table with the optional columns the list has after its own three: media names in
// text columns, times and points in Long Integer columns, an empty cell as no value. A list
// without them gives the table as it is.
vq::jet::Table withOptionalColumns(vq::jet::Table table, const QList<OptionalColumn>& columns,
                                   const QList<QList<QVariant>>& values) {
    for (const OptionalColumn c : columns)
        table.columns << vq::jet::Column{optionalColumnName(c),
                                         isNumberColumn(c) ? vq::jet::ColumnType::Long
                                                           : vq::jet::ColumnType::Text,
                                         kLongestMediaName};
    for (qsizetype r = 0; r < values.size(); ++r)
        table.rows[r] << values[r];
    return table;
}

} // namespace

BuildResult buildBank(const QString& inPath, const QString& outPath, const QString& password,
                      const Progress& progress) {
    BuildOptions options;
    options.password = password;
    options.progress = progress;
    return buildBank(inPath, outPath, options);
}

BuildResult buildBank(const QString& inPath, const QString& outPath, const BuildOptions& options) {
    // A bank whose password the connection could not pass on would be built only to be
    // refused by the check and never opened by the show.
    requireCarriedPassword(options.password);
    const QFileInfo in(inPath);
    const QFileInfo target(outPath);
    if (target.exists() && in.exists() && target.canonicalFilePath() == in.canonicalFilePath())
        throw vq::Exception(
            QCoreApplication::translate("velquo-bank", "%1：生成的题库会覆盖它自己的题目表")
                .arg(outPath));
    QuestionTable table = readQuestionTable(inPath, {options.sheet, {}});
    if (options.notes) {
        options.notes(QCoreApplication::translate("velquo-bank", "%1：%2")
                          .arg(in.fileName(), table.describe()));
        for (const QString& f : table.findings())
            options.notes(f);
        if (!table.otherSheets.isEmpty())
            options.notes(QCoreApplication::translate(
                "velquo-bank", "要读入其他工作表，请用 --sheet 指定工作表名"));
    }
    if (table.rows.isEmpty())
        throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1：标题行后面没有题目")
                                .arg(in.fileName()));

    const Progress& progress = options.progress;
    const qsizetype total = table.rows.size();
    const bool large = total >= kProgressRows;
    QList<vq::jet::Question> questions;
    questions.reserve(total);
    // The optional columns' values, row by row, in the order of table.optionalColumns.
    QList<QList<QVariant>> optional;
    if (!table.optionalColumns.isEmpty())
        optional.reserve(total);
    QHash<qint64, int> rowOfNumber;
    rowOfNumber.reserve(total);
    BuildResult result;
    MediaPlacing placing(QFileInfo(outPath).dir().filePath(kMediaFolder));
    for (qsizetype r = 0; r < total; ++r) {
        const QuestionRow& row = table.rows[r];
        const auto where = [&] { return table.place(row.row); };
        vq::jet::Question q;
        if (table.numbered) {
            if (row.number.isEmpty())
                throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1：%2是空的")
                                        .arg(where(), kNumber));
            bool ok = false;
            q.number = row.number.toInt(&ok, 10);
            if (!ok)
                throw vq::Exception(
                    QCoreApplication::translate(
                        "velquo-bank", "%1：%2“%3”不是 -2147483648 到 2147483647 之间的整数")
                        .arg(where(), kNumber, row.number));
        } else {
            q.number = r + 1;
        }
        const auto seen = rowOfNumber.constFind(q.number);
        if (seen != rowOfNumber.constEnd())
            throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1：%2 %3 已在%4用过")
                                    .arg(where(), kNumber)
                                    .arg(q.number)
                                    .arg(TextPlace{}.of(*seen))); // the same file: its row only
        rowOfNumber.insert(q.number, row.row);
        q.question = row.question;
        q.answer = row.answer;
        if (blank(q.question))
            throw vq::Exception(
                QCoreApplication::translate("velquo-bank", "%1：%2是空的").arg(where(), kQuestion));
        for (const auto& [text, name] :
             {std::pair{&q.question, kQuestion}, std::pair{&q.answer, kAnswer}}) {
            if (const QString why = unstorable(*text); !why.isEmpty())
                throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1，%2列：%3")
                                        .arg(where(), name, why));
            if (longerInUtf8(*text, kLongestText))
                throw vq::Exception(
                    QCoreApplication::translate(
                        "velquo-bank", "%1：%2有 %3 字节（UTF-8），放映程序最多只能显示 %4 字节")
                        .arg(where(), name)
                        .arg(utf8Length(*text))
                        .arg(kLongestText));
        }
        if (!table.optionalColumns.isEmpty()) {
            std::array<QString, kOptionalColumnCount> cells = row.optional;
            // A picture placed on the row is named in its column, unless the cell names one.
            for (const PlacedMedia& m : row.placed) {
                QString& cell = cells[size_t(m.column)];
                if (cell.trimmed().isEmpty())
                    cell = placing.place(q.number, m);
                else
                    ++placing.keptNames;
            }
            QList<QVariant> values;
            values.reserve(table.optionalColumns.size());
            for (const OptionalColumn c : table.optionalColumns) {
                CheckedCell checked = checkCell(c, cells[size_t(c)]);
                if (!checked.problem.isEmpty())
                    throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1，%2列：%3")
                                            .arg(where(), optionalColumnName(c), checked.problem));
                values << std::move(checked.value);
            }
            optional << std::move(values);
        }
        if (questions.isEmpty()) {
            result.lowest = result.highest = q.number;
        } else {
            result.lowest = std::min(result.lowest, q.number);
            result.highest = std::max(result.highest, q.number);
        }
        questions.append(std::move(q));
        if (progress && large && questions.size() % kProgressRows == 0)
            progress(QCoreApplication::translate("velquo-bank", "已检查 %1 / %2 道题")
                         .arg(questions.size())
                         .arg(total));
    }
    if (progress && large)
        progress(QCoreApplication::translate("velquo-bank", "正在把 %1 道题写入 %2")
                     .arg(questions.size())
                     .arg(outPath));
    result.rows = int(questions.size());
    placing.write();
    if (options.notes && !placing.files.isEmpty())
        options.notes(
            QCoreApplication::translate("velquo-bank", "从工作簿中取出 %1 张图片，放进了 %2")
                .arg(placing.files.size())
                .arg(QDir::toNativeSeparators(placing.folder)));
    if (options.notes && placing.keptNames)
        options.notes(QCoreApplication::translate(
                          "velquo-bank", "%1 张图片所在的单元格已写有文件名，按单元格中的名字读入")
                          .arg(placing.keptNames));
    // From here the bank's table alone holds the texts: the list, its rows and the numbers'
    // index are let go beside the writing, which frees the texts themselves once they are on
    // the pages.
    QList<vq::jet::Table> tables{
        withOptionalColumns(vq::jet::questionTable(questions), table.optionalColumns, optional)};
    const std::jthread letGo([list = std::move(table), checked = std::move(questions),
                              numbers = std::move(rowOfNumber),
                              values = std::move(optional)]() mutable {
        list = {};
        checked.clear();
        numbers.clear();
        values.clear();
    });
    result.backup = replaceKeepingBackup(outPath, [&](const QString& temp) {
        vq::jet::writeDatabase(temp, std::move(tables), {options.password});
    });
    result.bytes = QFileInfo(outPath).size();
    return result;
}

QStringList userTables(vq::jet::Database& db) {
    // The catalog's own table: kind 1 is a table, flag bits 0x80000002 mark system tables.
    const vq::jet::RowSet objects = db.readTable(QStringLiteral("MSysObjects"));
    const int name = objects.columnIndex(QStringLiteral("Name"));
    const int type = objects.columnIndex(QStringLiteral("Type"));
    const int flags = objects.columnIndex(QStringLiteral("Flags"));
    if (name < 0 || type < 0)
        throw vq::Exception(
            QCoreApplication::translate("velquo-bank", "%1：数据库的目录表中没有 Name 或 Type 列")
                .arg(db.path()));
    QStringList out;
    for (int r = 0; r < objects.rowCount(); ++r) {
        if ((objects.cell(r, type).toLongLong() & 0x7F) != 1)
            continue;
        const quint32 f = flags < 0 ? 0 : quint32(objects.cell(r, flags).toLongLong());
        if (f & 0x80000002u)
            continue;
        out << objects.cell(r, name).toString();
    }
    return out;
}

void exportTable(const QString& path, const QString& tableName, const QString& password,
                 FILE* out) {
    vq::jet::Database db(vq::expandName(path), password);
    QString name = tableName;
    if (name.isEmpty()) {
        const QStringList tables = userTables(db);
        if (tables.contains(kTable))
            name = kTable;
        else if (tables.size() == 1)
            name = tables.front();
        else
            throw vq::Exception(
                QCoreApplication::translate("velquo-bank", "%1：请指定要导出的表（文件中的表：%2）")
                    .arg(path, tables.join(listSeparator())));
    }
    const vq::jet::RowSet rows = db.readTable(name, false);
    // Binary and OLE values reach us as text only, which would garble them: they are left out.
    QList<bool> binary;
    for (const vq::jet::ColumnInfo& c : rows.columns) {
        binary << (c.mdbType == 9 || c.mdbType == 11);
        if (binary.back())
            std::fputs(QCoreApplication::translate(
                           "velquo-bank", "velquo-bank: %1列是%2类型，这一列的值没有导出\n")
                           .arg(c.name, typeName(c.mdbType))
                           .toUtf8()
                           .constData(),
                       stderr);
    }
    QByteArray buffer;
    for (int i = 0; i < rows.columns.size(); ++i) {
        if (i)
            buffer.append(',');
        buffer.append(rows.columns[i].name.toUtf8());
    }
    buffer.append('\n');
    for (int r = 0; r < rows.rowCount(); ++r) {
        for (int i = 0; i < rows.columns.size(); ++i) {
            if (i)
                buffer.append(',');
            if (binary[i])
                continue;
            const QVariant v = rows.cell(r, i);
            QByteArray value;
            if (v.typeId() == QMetaType::LongLong)
                value = QByteArray::number(v.toLongLong());
            else if (v.typeId() == QMetaType::Double)
                value = QByteArray::number(v.toDouble(), 'g', 15);
            else if (v.isValid())
                value = v.toString().toUtf8();
            if (value.isEmpty())
                continue; // a missing value, and an empty text likewise, print as nothing
            if (quotedType(rows.columns[i].mdbType))
                appendQuoted(buffer, value);
            else
                buffer.append(value);
        }
        buffer.append('\n');
        if (buffer.size() > (1 << 20)) {
            write(out, buffer);
            buffer.clear();
        }
    }
    write(out, buffer);
    std::fflush(out);
    // The rows that could be read are out; a table that lost rows still fails the export. A
    // wrong page map that cost no row is said, and the export stands: every row is out.
    if (rows.damage.rowsLost())
        throw vq::Exception(rows.damage.describe());
    if (rows.damage.damaged())
        std::fputs(
            QStringLiteral("velquo-bank: %1\n").arg(rows.damage.describe()).toUtf8().constData(),
            stderr);
}

namespace {

// What the check found; the report lists notes, then warnings, then failures.
struct Findings {
    QList<CheckLine> notes;
    QList<CheckLine> warnings;
    QList<CheckLine> problems;

    void note(const QString& text) { notes << CheckLine{CheckLine::Note, text, {}, {}}; }
    void warning(const QString& text, const QStringList& numbers, const QList<int>& rows = {}) {
        warnings << CheckLine{CheckLine::Warning, text, rows, numbers};
    }
    void problem(const QString& text, const QList<int>& rows = {},
                 const QStringList& numbers = {}) {
        problems << CheckLine{CheckLine::Problem, text, rows, numbers};
    }
};

// The presenter's own message for a question that cannot be fetched, quoted, which the
// operator would see instead of the question.
QString emptyBankMessage() {
    return u'“' + vq::kEmptyBankMessage + u'”';
}

CheckReport finish(CheckReport report, const Findings& found) {
    report.ok = found.problems.isEmpty();
    report.lines << found.notes << found.warnings << found.problems;
    report.lines << CheckLine{
        CheckLine::Verdict,
        report.ok
            ? QCoreApplication::translate("velquo-bank", "结论：可以用这个题库放映（共 %1 道题）")
                  .arg(report.poolSize)
            : QCoreApplication::translate("velquo-bank", "结论：用这个题库放映会出错"),
        {},
        {}};
    for (const CheckLine& line : report.lines) {
        if (line.kind == CheckLine::Warning)
            report.text += QCoreApplication::translate("velquo-bank", "注意：");
        else if (line.kind == CheckLine::Problem)
            report.text += QCoreApplication::translate("velquo-bank", "问题：");
        report.text += line.text + u'\n';
    }
    return report;
}

QString connectionFails(const QString& why) {
    return QCoreApplication::translate(
               "velquo-bank", "无法连接题库：%1（放映程序启动时会弹出错误框，每次出题都只显示%2）")
        .arg(why, emptyBankMessage());
}

// Takes the boxes the presenter's code shows while the check runs it.
class ShownBoxes final : public vq::MessageService {
public:
    ShownBoxes() : m_previous(&vq::messages()) { vq::setMessageService(this); }
    ~ShownBoxes() override { vq::setMessageService(m_previous); }
    ShownBoxes(const ShownBoxes&) = delete;
    ShownBoxes& operator=(const ShownBoxes&) = delete;

    void errorBox(const QString& text) override { errors << text; }
    void messageBox(const QString&) override {}
    bool question(QWidget*, const QString&, const QString&) override { return false; }

    QStringList errors;

private:
    vq::MessageService* m_previous;
};

// A box's text as a reason inside a report line: without the full stop the box puts after it.
QString reasonOf(const QString& boxText) {
    return boxText.endsWith(u'.') ? boxText.chopped(1) : boxText;
}

// Whether the data module came up as at the presenter's start. The connection opens first,
// then the query; a failed connection is tried again by the query and so shows twice.
bool opened(TDataModule2& module, const QStringList& errors, Findings& found) {
    if (module.ADOQuery1->active())
        return true;
    if (errors.size() > 1) {
        found.problem(connectionFails(reasonOf(errors.front())));
        return false;
    }
    QString tables;
    try {
        tables = userTables(module.ADOConnection1->database()).join(listSeparator());
    } catch (const vq::Exception&) {
    }
    found.problem(
        QCoreApplication::translate("velquo-bank", "查询失败：%1（文件中的表：%2）")
            .arg(reasonOf(errors.value(0)),
                 tables.isEmpty() ? QCoreApplication::translate("velquo-bank", "无") : tables));
    return false;
}

void describeTable(TDataModule2& module, const QString& full, CheckReport& report,
                   Findings& found) {
    QStringList described;
    for (const vq::jet::ColumnInfo& c : module.ADOConnection1->database().columns(kTable))
        described << QCoreApplication::translate("velquo-bank", "%1（%2）")
                         .arg(c.name, typeName(c.mdbType));
    report.rows = module.ADOQuery1->recordCount();
    const TADOQuery& query = *module.ADOQuery1;
    if (query.damage().rowsLost())
        found.problem(
            query.damage().describe() +
            QCoreApplication::translate("velquo-bank", "（放映时只能抽到读得出来的那些行）"));
    else if (query.damage().damaged())
        found.warning(
            query.damage().describe() +
                QCoreApplication::translate(
                    "velquo-bank", "（每道题都抽得到；用 export 和 build 重做一个题库可以改正）"),
            {});
    found.note(QCoreApplication::translate("velquo-bank", "%1：“%2”表，%3 行；列：%4")
                   .arg(full, kTable)
                   .arg(report.rows)
                   .arg(described.join(listSeparator())));
}

// The rows from the query's current one on whose number cannot be read as text; none when
// the table has no number column at all.
int rowsWithoutNumber(TADOQuery& query) {
    int count = 0;
    try {
        for (; !query.eof(); query.next()) {
            const QVariant number = query.fieldByName(kNumber);
            try {
                vq::variantToText(number);
            } catch (const vq::Exception&) {
                ++count;
            }
        }
    } catch (const vq::Exception&) {
        return 0;
    }
    return count;
}

// The presenter's pool fill into a store of its own; past a failure the rest of the rows are
// only counted. The pool holds the numbers in order (row i + 1 gave number i).
void fill(TADOQuery& query, vq::TMemo& pool, CheckReport& report, Findings& found) {
    QString stopMessage;
    try {
        vq::fillPool(query, pool);
    } catch (const vq::Exception& e) {
        stopMessage = e.message();
    }
    report.poolSize = pool.count();
    if (report.rows == 0)
        found.problem(
            QCoreApplication::translate("velquo-bank", "表中一行也没有：每次出题都只显示%1")
                .arg(emptyBankMessage()));
    if (stopMessage.isEmpty())
        return;
    const qsizetype stopRow = pool.count() + 1;
    if (const int nulls = rowsWithoutNumber(query))
        found.problem(
            QCoreApplication::translate("velquo-bank", "%1 行的%2是空的（第一处在第 %3 行）")
                .arg(nulls)
                .arg(kNumber)
                .arg(stopRow),
            {int(stopRow)});
    found.problem(
        QCoreApplication::translate(
            "velquo-bank", "读取%1时在第 %2 行出错（“%3”）；放映时只能从 %4 行中抽到 %5 行")
            .arg(kNumber)
            .arg(stopRow)
            .arg(stopMessage)
            .arg(report.rows)
            .arg(pool.count()),
        {int(stopRow)});
}

// A number as the pool holds it, read as a double: plain decimal digits (what the pool gets
// from whole numbers) directly, anything else as QString::toDouble reads it.
std::optional<double> numberValue(const QString& n) {
    const qsizetype sign = n.startsWith(u'-') ? 1 : 0;
    if (n.size() > sign && n.size() - sign <= 15) {
        qint64 v = 0;
        qsizetype i = sign;
        for (; i < n.size() && n[i] >= u'0' && n[i] <= u'9'; ++i)
            v = v * 10 + (n[i].unicode() - u'0');
        if (i == n.size())
            return double(sign ? -v : v);
    }
    bool numeric = false;
    const double v = n.toDouble(&numeric);
    return numeric ? std::optional<double>(v) : std::nullopt;
}

// The numbers' range, and the ones shared by several rows. Returns the positions in the pool
// where each number stands first, in order.
std::vector<int> checkNumbers(const vq::TMemo& pool, Findings& found) {
    // Lines that are a number's own text are compared as numbers, in a sorted block of 8 bytes
    // a line (as the pool keeps them, see PackedLines); any other line by its text.
    std::vector<std::pair<std::int32_t, int>> numbered;
    numbered.reserve(size_t(pool.count()));
    QHash<QString, int> firstOfText; // text -> its first position
    QMap<int, QList<int>> laterRows; // first position -> the rows after it with the number
    std::vector<bool> repeated(size_t(pool.count()), false);
    for (int i = 0; i < pool.count(); ++i) {
        const QString n = pool.at(i);
        if (const std::optional<std::int32_t> v = vq::PackedLines::numberOf(n)) {
            numbered.emplace_back(*v, i);
            continue;
        }
        if (const auto it = firstOfText.constFind(n); it != firstOfText.constEnd()) {
            laterRows[it.value()] << i + 1;
            repeated[size_t(i)] = true;
        } else {
            firstOfText.insert(n, i);
        }
    }
    // Sorted by number, then by position: each number's first row leads its run.
    std::sort(numbered.begin(), numbered.end());
    for (size_t k = 1, first = 0; k < numbered.size(); ++k) {
        if (numbered[k].first != numbered[first].first) {
            first = k;
            continue;
        }
        laterRows[numbered[first].second] << numbered[k].second + 1;
        repeated[size_t(numbered[k].second)] = true;
    }
    numbered = {};
    std::vector<int> firsts;
    std::optional<double> lowest;
    std::optional<double> highest;
    for (int i = 0; i < pool.count(); ++i) {
        if (repeated[size_t(i)])
            continue;
        firsts.push_back(i);
        if (const std::optional<double> v = numberValue(pool.at(i))) {
            lowest = lowest ? std::min(*lowest, *v) : *v;
            highest = highest ? std::max(*highest, *v) : *v;
        }
    }
    if (lowest)
        found.note(QCoreApplication::translate("velquo-bank", "可抽到的%1从 %2 到 %3")
                       .arg(kNumber)
                       .arg(*lowest, 0, 'g', 15)
                       .arg(*highest, 0, 'g', 15));
    QStringList shared;
    QList<int> sharedRows;
    for (auto it = laterRows.cbegin(); it != laterRows.cend(); ++it) {
        QStringList where{QString::number(it.key() + 1)};
        sharedRows << it.key() + 1;
        for (int r : *it) {
            where << QString::number(r);
            sharedRows << r;
        }
        shared << QCoreApplication::translate("velquo-bank", "%1（第 %2 行）")
                      .arg(pool.at(it.key()), where.join(listSeparator()));
    }
    if (!shared.isEmpty())
        found.problem(QCoreApplication::translate(
                          "velquo-bank",
                          "有几行共用一个%1（抽到这个%1时只显示其中第一行，其余几行永远"
                          "不会出现）：%2")
                          .arg(kNumber, some(shared)),
                      sharedRows);
    return firsts;
}

// What the fetches of the pool's numbers met, by kind.
struct Fetched {
    int count = 0;
    QMap<QString, QStringList> failures[3]; // by FetchStep, then by message
    QStringList emptyQuestions;
    QStringList emptyAnswers;
    QStringList cutTexts;
    QStringList tabTexts;   // a tab (a spreadsheet's cell boundary) shows as a gap
    QStringList edgeBreaks; // a line break at the start or end shows as an empty line
    QStringList offScreen;  // the answer below the screen's bottom edge
    QList<int> offScreenRows;
};

// The way a text would show badly on the screen, noted against its number once.
void noteLayout(Fetched& out, const QString& n, const QString& text) {
    if (text.contains(u'\t') && (out.tabTexts.isEmpty() || out.tabTexts.back() != n))
        out.tabTexts << n;
    const auto isBreak = [](QChar c) { return c == u'\n' || c == u'\r'; };
    if (!text.isEmpty() && (isBreak(text.front()) || isBreak(text.back())) &&
        (out.edgeBreaks.isEmpty() || out.edgeBreaks.back() != n))
        out.edgeBreaks << n;
}

// A text at the reader's limit was most likely longer in the file.
bool atTheLimit(const QString& text) {
    return longerInUtf8(text, kLongestText - 4);
}

// Fetches every number of the pool once, as a draw of it does (firsts: where each number
// stands first).
// With a screen, each question and its answer are also laid out on it.
Fetched fetchAll(TADOQuery& query, const vq::TMemo& pool, const std::vector<int>& firsts,
                 const Progress& progress, ScreenFit* screen) {
    Fetched out;
    for (const int at : firsts) {
        const QString n = pool.at(at);
        ++out.count;
        if (progress && pool.count() >= kProgressRows && out.count % kProgressRows == 0)
            progress(QCoreApplication::translate("velquo-bank", "已取出 %1 / %2 道题")
                         .arg(out.count)
                         .arg(pool.count()));
        bool requeried = true;
        QString question;
        vq::FetchTargets targets;
        targets.setQuestion = [&](const QString& q) {
            question = q;
            if (blank(q))
                out.emptyQuestions << n;
            if (atTheLimit(q))
                out.cutTexts << n;
            noteLayout(out, n, q);
        };
        targets.setAnswer = [&](const QString& a) {
            if (blank(a))
                out.emptyAnswers << n;
            if (atTheLimit(a) && (out.cutTexts.isEmpty() || out.cutTexts.back() != n))
                out.cutTexts << n;
            noteLayout(out, n, a);
            // The answer comes after its question; a question that failed leaves nothing new.
            if (screen && !question.isNull() && !screen->fits(question, a)) {
                out.offScreen << n;
                out.offScreenRows << at + 1;
            }
        };
        // After a failed re-query the screen keeps what it had; that is the one failure.
        targets.failed = [&](vq::FetchStep step, const QString& why) {
            if (requeried)
                out.failures[int(step)][why] << n;
            requeried = requeried && step != vq::FetchStep::Requery;
        };
        vq::fetchQuestion(query, n, targets);
    }
    return out;
}

void reportFetches(const Fetched& fetched, Findings& found) {
    const auto each = [&](vq::FetchStep step, const auto& line) {
        const QMap<QString, QStringList>& byMessage = fetched.failures[int(step)];
        for (auto it = byMessage.cbegin(); it != byMessage.cend(); ++it)
            found.problem(line(it->size()).arg(it.key(), kNumber, some(*it)), {}, *it);
    };
    each(vq::FetchStep::Requery, [&](qsizetype n) {
        return QCoreApplication::translate(
                   "velquo-bank", "%1 次取题中有 %2 次出错（“%4”），屏幕上只会显示%3：%5 %6")
            .arg(fetched.count)
            .arg(n)
            .arg(emptyBankMessage());
    });
    each(vq::FetchStep::Question, [](qsizetype n) {
        return QCoreApplication::translate(
                   "velquo-bank", "%1 道题的%2读不出来（“%3”），屏幕上会留着上一道题的题目和答案："
                                  "%4 %5")
            .arg(n)
            .arg(kQuestion);
    });
    each(vq::FetchStep::Answer, [](qsizetype n) {
        return QCoreApplication::translate(
                   "velquo-bank", "%1 道题的%2读不出来（“%3”），揭晓时会显示上一道题的答案：%4 %5")
            .arg(n)
            .arg(kAnswer);
    });
    if (!fetched.emptyQuestions.isEmpty())
        found.problem(QCoreApplication::translate("velquo-bank", "%1 道题的%2是空的：%3 %4")
                          .arg(fetched.emptyQuestions.size())
                          .arg(kQuestion, kNumber, some(fetched.emptyQuestions)),
                      {}, fetched.emptyQuestions);
    if (!fetched.cutTexts.isEmpty())
        found.problem(QCoreApplication::translate(
                          "velquo-bank", "%1 道题的文字有 %2 字节或更长，显示时会被截断：%3 %4")
                          .arg(fetched.cutTexts.size())
                          .arg(kLongestText - 3)
                          .arg(kNumber, some(fetched.cutTexts)),
                      {}, fetched.cutTexts);
    if (!fetched.tabTexts.isEmpty())
        found.warning(QCoreApplication::translate(
                          "velquo-bank", "%1 道题的文字中有制表符（表格的单元格分界），放映时"
                                         "显示为一段空白：%2 %3")
                          .arg(fetched.tabTexts.size())
                          .arg(kNumber, some(fetched.tabTexts)),
                      fetched.tabTexts);
    if (!fetched.edgeBreaks.isEmpty())
        found.warning(QCoreApplication::translate(
                          "velquo-bank", "%1 道题的文字以换行开头或结尾，放映时多出空行：%2 %3")
                          .arg(fetched.edgeBreaks.size())
                          .arg(kNumber, some(fetched.edgeBreaks)),
                      fetched.edgeBreaks);
    if (!fetched.emptyAnswers.isEmpty())
        found.warning(QCoreApplication::translate("velquo-bank", "%1 道题的%2是空的：%3 %4")
                          .arg(fetched.emptyAnswers.size())
                          .arg(kAnswer, kNumber, some(fetched.emptyAnswers)),
                      fetched.emptyAnswers);
}

// Up to twenty numbers of a list, and a word that there are more.
QString firstNumbers(const QStringList& numbers) {
    constexpr int kShown = 20;
    QString s = numbers.mid(0, kShown).join(listSeparator());
    if (numbers.size() > kShown)
        s += QCoreApplication::translate("velquo-bank", "等");
    return s;
}

void reportScreenFit(const Fetched& fetched, const ScreenSettings& settings, Findings& found) {
    if (fetched.offScreen.isEmpty())
        return;
    found.warning(QCoreApplication::translate(
                      "velquo-bank", "有 %1 道题的题目太长，答案会超出 %2 行高的屏幕下边：%3 %4"
                                     "（题目宽 %5 像素、字号 %6）")
                      .arg(fetched.offScreen.size())
                      .arg(ScreenFit::kScreenHeight)
                      .arg(kNumber, firstNumbers(fetched.offScreen))
                      .arg(settings.questionWidth)
                      .arg(settings.questionPoints),
                  fetched.offScreen, fetched.offScreenRows);
}

// The installation's layout of the question and answer, from its settings file; nothing where
// there is none or it cannot be read, which a note says.
std::optional<ScreenSettings> screenSettings(const QString& iniPath, Findings& found) {
    const QString shown = QDir::toNativeSeparators(iniPath);
    if (!QFileInfo(iniPath).isFile()) {
        found.note(QCoreApplication::translate(
                       "velquo-bank", "没有找到放映程序的设置文件 %1，没有检查答案是否超出屏幕")
                       .arg(shown));
        return std::nullopt;
    }
    try {
        const ScreenSettings s = readScreenSettings(iniPath);
        found.note(QCoreApplication::translate(
                       "velquo-bank", "按 %1 的题目和答案的位置、宽度和字号（每英寸 %2 点）检查了"
                                      "答案是否超出 %3 行高的屏幕")
                       .arg(shown)
                       .arg(ScreenFit::kDpi)
                       .arg(ScreenFit::kScreenHeight));
        return s;
    } catch (const vq::Exception& e) {
        found.note(QCoreApplication::translate("velquo-bank", "%1，没有检查答案是否超出屏幕")
                       .arg(e.message()));
        return std::nullopt;
    }
}

// The optional columns' values, row by row: each picture and clip looked at in the media folder
// beside the bank, each time and points value held to what build takes.
void checkOptionalColumns(TDataModule2& module, const QString& folder, CheckReport& report,
                          Findings& found) {
    vq::jet::RowSet rows;
    try {
        rows = module.ADOConnection1->database().readTable(kTable);
    } catch (const vq::Exception&) {
        return; // the table's own damage is reported with it
    }
    const int numberAt = rows.columnIndex(kNumber);
    QList<std::pair<OptionalColumn, int>> present;
    for (const OptionalColumn c : kOptionalColumns)
        if (const int at = rows.columnIndex(optionalColumnName(c)); at >= 0)
            present << std::pair{c, at};
    if (present.isEmpty())
        return;
    const bool folderThere = QFileInfo(folder).isDir();
    const MediaInspector inspector(folder);
    int named = 0;
    QList<int> namedRows;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString number = numberAt >= 0 ? rows.cell(r, numberAt).toString() : QString();
        for (const auto& [column, at] : present) {
            const QVariant cell = rows.cell(r, at);
            const QString value = cell.isValid() ? cell.toString().trimmed() : QString();
            if (value.isEmpty())
                continue;
            if (const CheckedCell checked = checkCell(column, value); !checked.problem.isEmpty()) {
                found.problem(
                    QCoreApplication::translate("velquo-bank", "%1 %2 的%3：%4")
                        .arg(kNumber, number, optionalColumnName(column), checked.problem),
                    {r + 1}, {number});
                continue;
            }
            if (isNumberColumn(column))
                continue;
            ++named;
            MediaFinding finding;
            if (!folderThere) {
                namedRows << r + 1;
            } else if (std::optional<MediaFinding> f = inspector.inspect(column, value)) {
                finding = *std::move(f);
            } else {
                continue;
            }
            finding.row = r + 1;
            finding.number = number;
            finding.column = column;
            finding.name = value;
            if (folderThere)
                found.problem(describeFinding(finding), {r + 1}, {number});
            report.media << std::move(finding);
        }
    }
    if (!folderThere && named)
        found.problem(QCoreApplication::translate(
                          "velquo-bank", "题库旁边没有“%1”文件夹（%2）：题库中的 %3 个图片和声音"
                                         "文件都找不到")
                          .arg(kMediaFolder, QDir::toNativeSeparators(folder))
                          .arg(named),
                      namedRows);
    else if (named)
        found.note(QCoreApplication::translate("velquo-bank", "题库中有 %1 个图片和声音文件，"
                                                              "在“%2”文件夹中查看了每一个")
                       .arg(named)
                       .arg(kMediaFolder));
}

} // namespace

CheckReport checkBank(const QString& path, const QString& password, const Progress& progress,
                      const QString& mediaFolder, const QString& settingsFile) {
    CheckReport report;
    Findings found;
    const QString full = vq::expandName(path);
    QString connection;
    try {
        connection = connectionStringFor(full, password);
    } catch (const vq::Exception& e) {
        found.problem(connectionFails(e.message()));
        return finish(report, found);
    }
    // The presenter's own data module, pool fill and fetch, so that every message reads as
    // it would in its boxes.
    ShownBoxes boxes;
    TDataModule2 module(connection);
    if (!opened(module, boxes.errors, found))
        return finish(report, found);
    // One moment of the file for the whole check, as a run that nobody changes the file under.
    module.ADOConnection1->database().setSteady(true);
    describeTable(module, full, report, found);
    vq::TMemo pool;
    fill(*module.ADOQuery1, pool, report, found);
    const std::vector<int> firsts = checkNumbers(pool, found);
    const std::optional<ScreenSettings> layout = screenSettings(
        settingsFile.isEmpty() ? QFileInfo(full).dir().filePath(vq::kSettingsFileName)
                               : vq::expandName(settingsFile),
        found);
    std::optional<ScreenFit> screen;
    if (layout)
        screen.emplace(*layout);
    const Fetched fetched =
        fetchAll(*module.ADOQuery1, pool, firsts, progress, screen ? &*screen : nullptr);
    reportFetches(fetched, found);
    if (layout)
        reportScreenFit(fetched, *layout, found);
    checkOptionalColumns(
        module, mediaFolder.isEmpty() ? QFileInfo(full).dir().filePath(kMediaFolder) : mediaFolder,
        report, found);
    return finish(report, found);
}

} // namespace vq::bank
