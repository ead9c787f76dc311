#include "bank.h"

#include "data/jetwriter.h"
#include "data/jetwriter_fixtures.h"
#include "platform/exception.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>

#include <mdbtools.h>

#include <memory>
#include <vector>

namespace vq::bank {
namespace {

const QString kTable = QStringLiteral("题");
const QString kNumber = QStringLiteral("编号");
const QString kQuestion = QStringLiteral("题目");
const QString kAnswer = QStringLiteral("答案");

// The size mdbtools' exporter binds its columns with, so that long texts come out alike.
constexpr size_t kBindSize = 200000;

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw vq::Exception(QStringLiteral("Cannot open %1: %2").arg(path, f.errorString()));
    return f.readAll();
}

struct MdbCloser {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableCloser {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableCloser>;

// The file's database password, checked the way the engine does at connect time.
void checkDatabasePassword(const QString& path, const QString& password)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw vq::Exception(QStringLiteral("Cannot open %1: %2").arg(path, f.errorString()));
    const QString stored = vq::jet::headerPassword(f.read(4096));
    if (!stored.isEmpty() && stored != password)
        throw vq::Exception(QStringLiteral("%1: not a valid password").arg(path));
}

MdbPtr openMdb(const QString& path)
{
    if (!QFileInfo::exists(path))
        throw vq::Exception(QStringLiteral("Cannot open %1: no such file").arg(path));
    MdbPtr mdb(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!mdb)
        throw vq::Exception(QStringLiteral("Cannot open %1 as a Jet database").arg(path));
    if (!mdb_read_catalog(mdb.get(), MDB_ANY))
        throw vq::Exception(QStringLiteral("%1: the system catalog cannot be read").arg(path));
    return mdb;
}

QStringList userTables(MdbHandle* mdb)
{
    QStringList names;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            names.append(QString::fromUtf8(entry->object_name));
    }
    return names;
}

TablePtr openTable(MdbHandle* mdb, const QString& name)
{
    QByteArray utf8 = name.toUtf8();
    TablePtr table(mdb_read_table_by_name(mdb, utf8.data(), MDB_TABLE));
    if (!table)
        return nullptr;
    if (!mdb_read_columns(table.get()))
        throw vq::Exception(QStringLiteral("Table '%1': its columns cannot be read").arg(name));
    return table;
}

// A table's columns bound to buffers, one row at a time.
class Cursor {
public:
    explicit Cursor(MdbTableDef* table) : m_table(table)
    {
        const size_t n = table->num_cols;
        m_values.resize(n);
        m_lengths.assign(n, 0);
        for (size_t i = 0; i < n; ++i) {
            m_values[i].reset(static_cast<char*>(g_malloc0(table->entry->mdb->bind_size)));
            mdb_bind_column(table, int(i + 1), m_values[i].get(), &m_lengths[i]);
        }
        mdb_rewind_table(table);
    }
    bool next() { return mdb_fetch_row(m_table) != 0; }
    int columns() const { return int(m_values.size()); }
    MdbColumn* column(int i) const { return static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, guint(i))); }
    QString name(int i) const { return QString::fromUtf8(column(i)->name); }
    int type(int i) const { return column(i)->col_type; }
    bool isNull(int i) const { return m_lengths[size_t(i)] == 0; }
    QByteArray raw(int i) const { return QByteArray(m_values[size_t(i)].get(), m_lengths[size_t(i)]); }
    QString text(int i) const { return QString::fromUtf8(raw(i)); }
    int find(const QString& name) const
    {
        for (int i = 0; i < columns(); ++i)
            if (this->name(i) == name)
                return i;
        return -1;
    }

private:
    struct Free {
        void operator()(char* p) const { g_free(p); }
    };
    MdbTableDef* m_table;
    std::vector<std::unique_ptr<char, Free>> m_values;
    std::vector<int> m_lengths;
};

bool quotedType(int type)
{
    return type == MDB_TEXT || type == MDB_OLE || type == MDB_MEMO || type == MDB_DATETIME
        || type == MDB_BINARY || type == MDB_REPID;
}

void appendQuoted(QByteArray& out, const QByteArray& value)
{
    out.append('"');
    for (char c : value) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    out.append('"');
}

bool isNumericType(int type)
{
    return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT || type == MDB_FLOAT
        || type == MDB_DOUBLE || type == MDB_MONEY || type == MDB_NUMERIC;
}

} // namespace

QList<CsvRecord> parseCsv(const QByteArray& input)
{
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) {
        // Locate the line with the first invalid sequence.
        int badLine = 1;
        qsizetype lineStart = 0;
        for (qsizetype i = 0; i <= bytes.size(); ++i) {
            if (i == bytes.size() || bytes[i] == '\n') {
                const QByteArray piece = bytes.mid(lineStart, i - lineStart);
                if (QString::fromUtf8(piece).toUtf8() != piece)
                    break;
                ++badLine;
                lineStart = i + 1;
            }
        }
        throw vq::Exception(QStringLiteral("line %1: the text is not valid UTF-8").arg(badLine));
    }

    QList<CsvRecord> records;
    CsvRecord current;
    QString field;
    int line = 1;
    current.line = 1;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the field began with a quote
    bool fieldStarted = false;
    int quoteLine = 0;
    const auto endField = [&] {
        current.fields.append(field);
        field.clear();
        wasQuoted = false;
        fieldStarted = false;
    };
    const auto endRecord = [&] {
        endField();
        const bool blank = current.fields.size() == 1 && current.fields[0].isEmpty();
        if (!blank)
            records.append(current);
        current = CsvRecord{};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                    continue; // a quoted CRLF becomes one line break
                field.append(c);
            }
            continue;
        }
        if (c == u',') {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            endRecord();
            ++line;
            current.line = line;
        } else if (c == u'"') {
            if (fieldStarted || wasQuoted)
                throw vq::Exception(QStringLiteral("line %1: a quote inside an unquoted field (fields with quotes must be quoted, quotes doubled)").arg(line));
            quoted = true;
            wasQuoted = true;
            fieldStarted = true;
            quoteLine = line;
        } else {
            if (wasQuoted)
                throw vq::Exception(QStringLiteral("line %1: text after the closing quote of a field").arg(line));
            field.append(c);
            fieldStarted = true;
        }
    }
    if (quoted)
        throw vq::Exception(QStringLiteral("line %1: a quoted field is not closed").arg(quoteLine));
    if (fieldStarted || !current.fields.isEmpty() || wasQuoted)
        endRecord();
    return records;
}

BuildResult buildBank(const QString& csvPath, const QString& outPath, const QString& password,
                      const std::function<void(const QString&)>& progress)
{
    const QList<CsvRecord> records = parseCsv(readFile(csvPath));
    if (records.isEmpty())
        throw vq::Exception(QStringLiteral("%1: no header line (expected %2,%3,%4)").arg(csvPath, kNumber, kQuestion, kAnswer));
    const CsvRecord& header = records.front();
    int numberAt = -1;
    int questionAt = -1;
    int answerAt = -1;
    for (int i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields[i].trimmed();
        int* slot = name == kNumber ? &numberAt : name == kQuestion ? &questionAt : name == kAnswer ? &answerAt : nullptr;
        if (!slot)
            throw vq::Exception(QStringLiteral("line %1: unknown column '%2' (expected %3,%4,%5)")
                                    .arg(header.line).arg(name, kNumber, kQuestion, kAnswer));
        if (*slot >= 0)
            throw vq::Exception(QStringLiteral("line %1: column '%2' appears twice").arg(header.line).arg(name));
        *slot = i;
    }
    if (questionAt < 0 || answerAt < 0)
        throw vq::Exception(QStringLiteral("line %1: the header needs the columns %2 and %3")
                                .arg(header.line).arg(kQuestion, kAnswer));

    QList<vq::jet::Question> questions;
    questions.reserve(records.size() - 1);
    QHash<qint64, int> lineOfNumber;
    BuildResult result;
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        if (rec.fields.size() != header.fields.size())
            throw vq::Exception(QStringLiteral("line %1: %2 fields, the header has %3")
                                    .arg(rec.line).arg(rec.fields.size()).arg(header.fields.size()));
        vq::jet::Question q;
        if (numberAt >= 0) {
            const QString text = rec.fields[numberAt].trimmed();
            if (text.isEmpty())
                throw vq::Exception(QStringLiteral("line %1: the number (%2) is missing").arg(rec.line).arg(kNumber));
            bool ok = false;
            q.number = text.toInt(&ok, 10);
            if (!ok)
                throw vq::Exception(QStringLiteral("line %1: '%2' is not a whole number between -2147483648 and 2147483647")
                                        .arg(rec.line).arg(text));
        } else {
            q.number = r;
        }
        const auto seen = lineOfNumber.constFind(q.number);
        if (seen != lineOfNumber.constEnd())
            throw vq::Exception(QStringLiteral("line %1: the number %2 is already used on line %3")
                                    .arg(rec.line).arg(q.number).arg(*seen));
        lineOfNumber.insert(q.number, rec.line);
        q.question = rec.fields[questionAt];
        q.answer = rec.fields[answerAt];
        if (q.question.trimmed().isEmpty())
            throw vq::Exception(QStringLiteral("line %1: the question (%2) is empty").arg(rec.line).arg(kQuestion));
        if (questions.isEmpty()) {
            result.lowest = result.highest = q.number;
        } else {
            result.lowest = std::min(result.lowest, q.number);
            result.highest = std::max(result.highest, q.number);
        }
        questions.append(q);
    }
    if (progress && questions.size() >= 10000)
        progress(QStringLiteral("%1 questions read, writing %2").arg(questions.size()).arg(outPath));
    vq::jet::writeDatabase(outPath, {vq::jet::questionTable(questions)}, {password});
    result.rows = int(questions.size());
    result.bytes = QFileInfo(outPath).size();
    return result;
}

void exportTable(const QString& path, const QString& tableName, const QString& password, bool checkPassword,
                 FILE* out)
{
    if (checkPassword)
        checkDatabasePassword(path, password);
    MdbPtr mdb = openMdb(path);
    mdb_set_bind_size(mdb.get(), kBindSize);
    QString name = tableName;
    if (name.isEmpty()) {
        const QStringList tables = userTables(mdb.get());
        if (tables.contains(kTable))
            name = kTable;
        else if (tables.size() == 1)
            name = tables.front();
        else
            throw vq::Exception(QStringLiteral("%1: name the table to export (tables: %2)").arg(path, tables.join(QStringLiteral(", "))));
    }
    TablePtr table = openTable(mdb.get(), name);
    if (!table)
        throw vq::Exception(QStringLiteral("%1: no table '%2'").arg(path, name));
    Cursor cursor(table.get());
    QByteArray buffer;
    for (int i = 0; i < cursor.columns(); ++i) {
        if (i)
            buffer.append(',');
        buffer.append(cursor.column(i)->name);
    }
    buffer.append('\n');
    while (cursor.next()) {
        for (int i = 0; i < cursor.columns(); ++i) {
            if (i)
                buffer.append(',');
            QByteArray value;
            if (cursor.type(i) == MDB_OLE) {
                size_t length = 0;
                void* data = cursor.isNull(i) ? nullptr : mdb_ole_read_full(mdb.get(), cursor.column(i), &length);
                if (data) {
                    value = QByteArray(static_cast<const char*>(data), qsizetype(length));
                    g_free(data);
                }
            } else {
                value = cursor.raw(i);
            }
            if (value.isEmpty())
                continue; // NULL, and an empty text likewise, stay unquoted
            if (quotedType(cursor.type(i)))
                appendQuoted(buffer, value);
            else
                buffer.append(value);
        }
        buffer.append('\n');
        if (buffer.size() > (1 << 20)) {
            std::fwrite(buffer.constData(), 1, size_t(buffer.size()), out);
            buffer.clear();
        }
    }
    std::fwrite(buffer.constData(), 1, size_t(buffer.size()), out);
    std::fflush(out);
}

CheckReport checkBank(const QString& path, const QString& password)
{
    CheckReport report;
    QStringList problems;
    QStringList notes;
    const auto finish = [&] {
        QString text;
        for (const QString& n : notes)
            text += n + QLatin1Char('\n');
        for (const QString& p : problems)
            text += QStringLiteral("FAIL: ") + p + QLatin1Char('\n');
        report.ok = problems.isEmpty();
        text += report.ok ? QStringLiteral("OK: the show can run with this bank\n")
                          : QStringLiteral("The show would fail with this bank.\n");
        report.text = text;
        return report;
    };

    try {
        checkDatabasePassword(path, password);
    } catch (const vq::Exception& e) {
        problems << QStringLiteral("the connection would fail: %1").arg(e.message());
        return finish();
    }
    MdbPtr mdb;
    try {
        mdb = openMdb(path);
    } catch (const vq::Exception& e) {
        problems << QStringLiteral("the connection would fail: %1").arg(e.message());
        return finish();
    }
    mdb_set_bind_size(mdb.get(), kBindSize);
    TablePtr table = userTables(mdb.get()).contains(kTable) ? openTable(mdb.get(), kTable) : nullptr;
    if (!table) {
        problems << QStringLiteral("no table %1 (tables: %2)").arg(kTable, userTables(mdb.get()).join(QStringLiteral(", ")));
        return finish();
    }
    Cursor cursor(table.get());
    const int number = cursor.find(kNumber);
    const int question = cursor.find(kQuestion);
    const int answer = cursor.find(kAnswer);
    if (number < 0) {
        problems << QStringLiteral("table %1 has no column %2: the pool fill fails at the first row").arg(kTable, kNumber);
        return finish();
    }
    if (!isNumericType(cursor.type(number)))
        problems << QStringLiteral("column %1 is of type %2, not a number: every fetch by number fails")
                        .arg(kNumber, QString::fromUtf8(mdb_get_colbacktype_string(cursor.column(number))));
    if (question < 0)
        problems << QStringLiteral("table %1 has no column %2: no question would show").arg(kTable, kQuestion);
    if (answer < 0)
        problems << QStringLiteral("table %1 has no column %2: no answer would show").arg(kTable, kAnswer);

    int rows = 0;
    int firstNull = -1;
    int nulls = 0;
    int emptyQuestions = 0;
    int emptyAnswers = 0;
    QMap<QString, int> count;
    bool haveRange = false;
    double lowest = 0;
    double highest = 0;
    while (cursor.next()) {
        ++rows;
        if (cursor.isNull(number)) {
            ++nulls;
            if (firstNull < 0)
                firstNull = rows;
        } else {
            const QString n = cursor.text(number);
            ++count[n];
            bool ok = false;
            const double v = n.toDouble(&ok);
            if (ok) {
                lowest = haveRange ? std::min(lowest, v) : v;
                highest = haveRange ? std::max(highest, v) : v;
                haveRange = true;
            }
        }
        if (question >= 0 && cursor.text(question).trimmed().isEmpty())
            ++emptyQuestions;
        if (answer >= 0 && cursor.text(answer).trimmed().isEmpty())
            ++emptyAnswers;
    }
    notes << QStringLiteral("%1: table %2, %3 rows").arg(path, kTable).arg(rows);
    if (haveRange)
        notes << QStringLiteral("numbers %1 .. %2").arg(lowest, 0, 'g', 12).arg(highest, 0, 'g', 12);
    if (rows == 0)
        problems << QStringLiteral("the table has no rows: the first question already shows the empty-bank message");
    if (nulls > 0)
        problems << QStringLiteral("%1 rows without %2; the pool fill stops at row %3, so the pool would hold %4 of %5 rows")
                        .arg(nulls).arg(kNumber).arg(firstNull).arg(firstNull - 1).arg(rows);
    QStringList duplicates;
    for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > 1)
            duplicates << QStringLiteral("%1 (%2 rows)").arg(it.key()).arg(it.value());
    if (!duplicates.isEmpty())
        problems << QStringLiteral("duplicate numbers, only the first row of each shows: %1").arg(duplicates.join(QStringLiteral(", ")));
    if (emptyQuestions > 0)
        problems << QStringLiteral("%1 rows with an empty %2").arg(emptyQuestions).arg(kQuestion);
    if (emptyAnswers > 0)
        notes << QStringLiteral("warning: %1 rows with an empty %2").arg(emptyAnswers).arg(kAnswer);
    return finish();
}

} // namespace vq::bank
