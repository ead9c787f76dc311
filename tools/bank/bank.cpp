#include "bank.h"
#include "data/bankschema.h"

#include "controls/memo.h"
#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/jetfile.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "platform/exception.h"
#include "platform/folders.h"
#include "platform/messages.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QTemporaryFile>

#include <algorithm>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

namespace vq::bank {
namespace {

using namespace bankschema;

// The file's own column type codes.
QString typeName(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("Boolean");
    case 2:
        return QStringLiteral("Byte");
    case 3:
        return QStringLiteral("Integer");
    case 4:
        return QStringLiteral("Long Integer");
    case 5:
        return QStringLiteral("Currency");
    case 6:
        return QStringLiteral("Single");
    case 7:
        return QStringLiteral("Double");
    case 8:
        return QStringLiteral("DateTime");
    case 9:
        return QStringLiteral("Binary");
    case 10:
        return QStringLiteral("Text");
    case 11:
        return QStringLiteral("OLE");
    case 12:
        return QStringLiteral("Memo");
    case 15:
        return QStringLiteral("Replication ID");
    case 16:
        return QStringLiteral("Numeric");
    default:
        return QStringLiteral("type %1").arg(code);
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
        throw vq::Exception(QStringLiteral("Cannot write the output"));
}

// The presenter's connection string with the file and the password put in.
QString connectionStringFor(const QString& fullPath, const QString& password) {
    // The string is a plain list of key=value pairs: a ';' cannot be written in a value.
    if (fullPath.contains(u';'))
        throw vq::Exception(
            QStringLiteral("%1: a path with ';' cannot be named in the connection string")
                .arg(fullPath));
    if (password.contains(u';'))
        throw vq::Exception(
            QStringLiteral("a password with ';' cannot be named in the connection string"));
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
    QString s = items.mid(0, shown).join(QStringLiteral(", "));
    if (items.size() > shown)
        s += QStringLiteral(", ... (%1 in all)").arg(items.size());
    return s;
}

} // namespace

namespace {

// Writes the bank beside the target first; only a complete new bank replaces the target, and
// what stood there is kept as <target>.bak.
QString replaceKeepingBackup(const QString& outPath,
                             const std::function<void(const QString&)>& writeTo) {
    const QFileInfo target(outPath);
    QString temp;
    {
        QTemporaryFile reserve(target.absolutePath() + u'/' + target.fileName() +
                               QStringLiteral(".new-XXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            throw vq::Exception(
                QStringLiteral("Cannot create %1: %2").arg(outPath, reserve.errorString()));
        temp = reserve.fileName();
    }
    try {
        writeTo(temp);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    QString backup;
    if (target.exists() || target.isSymLink()) {
        backup = outPath + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::rename(outPath, backup)) {
            QFile::remove(temp);
            throw vq::Exception(QStringLiteral("Cannot keep the old %1 as %2; nothing was changed")
                                    .arg(outPath, backup));
        }
    }
    if (!QFile::rename(temp, outPath)) {
        if (!backup.isEmpty())
            QFile::rename(backup, outPath);
        QFile::remove(temp);
        throw vq::Exception(QStringLiteral("Cannot write %1").arg(outPath));
    }
    return backup;
}

// The first character of a text the bank cannot hold as it is, described; empty when none.
QString unstorable(const QString& text) {
    if (text.contains(QChar(0)))
        return QStringLiteral("holds a NUL character (code 0), which the bank cannot hold");
    // Stored text that begins with FF FE reads as compressed text, whose form has no place
    // for a character whose low byte is zero (一, 开, the ideographic space).
    if (text.startsWith(QChar(0xFEFF))) {
        for (const QChar c : text) {
            if ((c.unicode() & 0xFF) == 0)
                return QStringLiteral(
                           "begins with U+FEFF (an invisible byte order mark) and holds %1 "
                           "(U+%2); a bank cannot hold the two together so that every reader "
                           "reads them back: remove the mark at the start")
                    .arg(c)
                    .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0'));
        }
    }
    return {};
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
    const QFileInfo in(inPath);
    const QFileInfo target(outPath);
    if (target.exists() && in.exists() && target.canonicalFilePath() == in.canonicalFilePath())
        throw vq::Exception(
            QStringLiteral("%1: the bank would overwrite its own question list").arg(outPath));
    QuestionTable table = readQuestionTable(inPath, {options.sheet});
    if (options.notes) {
        options.notes(QStringLiteral("%1: %2").arg(in.fileName(), table.describe()));
        for (const QString& f : table.findings())
            options.notes(f);
    }
    if (table.rows.isEmpty())
        throw vq::Exception(
            QStringLiteral("%1: no questions after the header line").arg(in.fileName()));

    const Progress& progress = options.progress;
    const qsizetype total = table.rows.size();
    const bool large = total >= kProgressRows;
    QList<vq::jet::Question> questions;
    questions.reserve(total);
    QHash<qint64, int> rowOfNumber;
    rowOfNumber.reserve(total);
    BuildResult result;
    for (qsizetype r = 0; r < total; ++r) {
        const QuestionRow& row = table.rows[r];
        const auto where = [&] { return table.place(row.row); };
        vq::jet::Question q;
        if (table.numbered) {
            if (row.number.isEmpty())
                throw vq::Exception(
                    QStringLiteral("%1: the number (%2) is missing").arg(where(), kNumber));
            bool ok = false;
            q.number = row.number.toInt(&ok, 10);
            if (!ok)
                throw vq::Exception(
                    QStringLiteral(
                        "%1: '%2' is not a whole number between -2147483648 and 2147483647")
                        .arg(where(), row.number));
        } else {
            q.number = r + 1;
        }
        const auto seen = rowOfNumber.constFind(q.number);
        if (seen != rowOfNumber.constEnd())
            throw vq::Exception(QStringLiteral("%1: the number %2 is already used on %3")
                                    .arg(where())
                                    .arg(q.number)
                                    .arg(table.place(*seen)));
        rowOfNumber.insert(q.number, row.row);
        q.question = row.question;
        q.answer = row.answer;
        if (blank(q.question))
            throw vq::Exception(
                QStringLiteral("%1: the question (%2) is empty").arg(where(), kQuestion));
        for (const auto& [text, name] :
             {std::pair{&q.question, kQuestion}, std::pair{&q.answer, kAnswer}}) {
            if (const QString why = unstorable(*text); !why.isEmpty())
                throw vq::Exception(
                    QStringLiteral("%1, column %2: the text %3").arg(where(), name, why));
            if (longerInUtf8(*text, kLongestText))
                throw vq::Exception(
                    QStringLiteral(
                        "%1: the %2 is %3 bytes long in UTF-8; the presenter shows at most %4")
                        .arg(where(), name)
                        .arg(utf8Length(*text))
                        .arg(kLongestText));
        }
        if (questions.isEmpty()) {
            result.lowest = result.highest = q.number;
        } else {
            result.lowest = std::min(result.lowest, q.number);
            result.highest = std::max(result.highest, q.number);
        }
        questions.append(std::move(q));
        if (progress && large && questions.size() % kProgressRows == 0)
            progress(QStringLiteral("%1 of %2 questions checked").arg(questions.size()).arg(total));
    }
    if (progress && large)
        progress(QStringLiteral("writing %1 questions to %2").arg(questions.size()).arg(outPath));
    result.rows = int(questions.size());
    // From here the bank's table alone holds the texts: the list, its rows and the numbers'
    // index are let go beside the writing, which frees the texts themselves once they are on
    // the pages.
    QList<vq::jet::Table> tables{vq::jet::questionTable(questions)};
    const std::jthread letGo([list = std::move(table), checked = std::move(questions),
                              numbers = std::move(rowOfNumber)]() mutable {
        list = {};
        checked.clear();
        numbers.clear();
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
        throw vq::Exception(QStringLiteral("%1: the catalog has no Name or Type").arg(db.path()));
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
            throw vq::Exception(QStringLiteral("%1: name the table to export (tables: %2)")
                                    .arg(path, tables.join(QStringLiteral(", "))));
    }
    const vq::jet::RowSet rows = db.readTable(name, false);
    // Binary and OLE values reach us as text only, which would garble them: they are left out.
    QList<bool> binary;
    for (const vq::jet::ColumnInfo& c : rows.columns) {
        binary << (c.mdbType == 9 || c.mdbType == 11);
        if (binary.back())
            std::fprintf(stderr, "velquo-bank: column %s is %s: its values are not exported\n",
                         c.name.toUtf8().constData(), typeName(c.mdbType).toUtf8().constData());
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
    // The rows that could be read are out; a damaged table still fails the export.
    if (rows.damage.damaged())
        throw vq::Exception(rows.damage.describe());
}

namespace {

// What the check found; the report lists notes, then warnings, then failures.
struct Findings {
    QStringList notes;
    QStringList warnings;
    QStringList problems;
};

CheckReport finish(CheckReport report, const Findings& found) {
    for (const QString& n : found.notes)
        report.text += n + u'\n';
    for (const QString& w : found.warnings)
        report.text += QStringLiteral("warning: ") + w + u'\n';
    for (const QString& p : found.problems)
        report.text += QStringLiteral("FAIL: ") + p + u'\n';
    report.ok = found.problems.isEmpty();
    report.text += report.ok
                       ? QStringLiteral("OK: the show can run with this bank (%1 questions)\n")
                             .arg(report.poolSize)
                       : QStringLiteral("The show would fail with this bank.\n");
    return report;
}

QString connectionFails(const QString& why) {
    return QStringLiteral("the connection fails: %1 (error boxes at start, and every question "
                          "shows the empty-bank message)")
        .arg(why);
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

// Whether the data module came up as at the presenter's start. The connection opens first,
// then the query; a failed connection is tried again by the query and so shows twice.
bool opened(TDataModule2& module, const QStringList& errors, Findings& found) {
    if (module.ADOQuery1->active())
        return true;
    if (errors.size() > 1) {
        found.problems << connectionFails(errors.front());
        return false;
    }
    QString tables;
    try {
        tables = userTables(module.ADOConnection1->database()).join(QStringLiteral(", "));
    } catch (const vq::Exception&) {
    }
    found.problems << QStringLiteral("the query fails: %1 (tables in the file: %2)")
                          .arg(errors.value(0), tables);
    return false;
}

void describeTable(TDataModule2& module, const QString& full, CheckReport& report,
                   Findings& found) {
    QStringList described;
    for (const vq::jet::ColumnInfo& c : module.ADOConnection1->database().columns(kTable))
        described << QStringLiteral("%1 %2").arg(c.name, typeName(c.mdbType));
    report.rows = module.ADOQuery1->recordCount();
    const TADOQuery& query = *module.ADOQuery1;
    if (query.damage().damaged())
        found.problems << query.damage().describe() +
                              QStringLiteral(
                                  " (the pool would hold only the rows that could be read)");
    found.notes << QStringLiteral("%1: table %2, %3 rows; columns %4")
                       .arg(full, kTable)
                       .arg(report.rows)
                       .arg(described.join(QStringLiteral(", ")));
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
// only counted. Returns the pool's numbers in order (row i + 1 gave number i).
QStringList fill(TADOQuery& query, CheckReport& report, Findings& found) {
    vq::TMemo filled;
    QString stopMessage;
    try {
        vq::fillPool(query, filled);
    } catch (const vq::Exception& e) {
        stopMessage = e.message();
    }
    const QStringList pool = filled.lines();
    report.poolSize = int(pool.size());
    if (report.rows == 0)
        found.problems << QStringLiteral(
            "the table has no rows: every question shows the empty-bank message");
    if (stopMessage.isEmpty())
        return pool;
    const qsizetype stopRow = pool.size() + 1;
    if (const int nulls = rowsWithoutNumber(query))
        found.problems << QStringLiteral("%1 rows without %2 (the first is row %3)")
                              .arg(nulls)
                              .arg(kNumber)
                              .arg(stopRow);
    found.problems << QStringLiteral("the pool fill fails at row %1 with \"%2\"; the pool would "
                                     "hold %3 of %4 rows")
                          .arg(stopRow)
                          .arg(stopMessage)
                          .arg(pool.size())
                          .arg(report.rows);
    return pool;
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
std::vector<int> checkNumbers(const QStringList& pool, Findings& found) {
    QHash<QString, int> firstRow; // number -> the row it stands in first (position + 1)
    firstRow.reserve(pool.size());
    QMap<int, QList<int>> laterRows; // first position -> the rows after it with the number
    std::vector<int> firsts;
    firsts.reserve(size_t(pool.size()));
    std::optional<double> lowest;
    std::optional<double> highest;
    for (int i = 0; i < pool.size(); ++i) {
        int& first = firstRow[pool[i]];
        const bool added = first == 0;
        if (added) {
            first = i + 1;
            firsts.push_back(i);
        } else {
            laterRows[first - 1] << i + 1;
        }
        if (const std::optional<double> v = added ? numberValue(pool[i]) : std::nullopt) {
            lowest = lowest ? std::min(*lowest, *v) : *v;
            highest = highest ? std::max(*highest, *v) : *v;
        }
    }
    if (lowest)
        found.notes << QStringLiteral("numbers in the pool %1 .. %2")
                           .arg(*lowest, 0, 'g', 15)
                           .arg(*highest, 0, 'g', 15);
    QStringList shared;
    for (auto it = laterRows.cbegin(); it != laterRows.cend(); ++it) {
        QStringList where{QString::number(it.key() + 1)};
        for (int r : *it)
            where << QString::number(r);
        shared << QStringLiteral("%1 (rows %2)").arg(pool[it.key()], where.join(u' '));
    }
    if (!shared.isEmpty())
        found.problems << QStringLiteral("numbers shared by several rows (each draw of one shows "
                                         "its first row; the others never show): %1")
                              .arg(some(shared));
    return firsts;
}

// What the fetches of the pool's numbers met, by kind.
struct Fetched {
    int count = 0;
    QMap<QString, QStringList> failures[3]; // by FetchStep, then by message
    QStringList emptyQuestions;
    QStringList emptyAnswers;
    QStringList cutTexts;
};

// A text at the reader's limit was most likely longer in the file.
bool atTheLimit(const QString& text) {
    return longerInUtf8(text, kLongestText - 4);
}

// Fetches every number of the pool once, as a draw of it does (firsts: where each number
// stands first).
Fetched fetchAll(TADOQuery& query, const QStringList& pool, const std::vector<int>& firsts,
                 const Progress& progress) {
    Fetched out;
    for (const int at : firsts) {
        const QString& n = pool[at];
        ++out.count;
        if (progress && pool.size() >= kProgressRows && out.count % kProgressRows == 0)
            progress(QStringLiteral("%1 of %2 questions fetched").arg(out.count).arg(pool.size()));
        bool requeried = true;
        vq::FetchTargets targets;
        targets.setQuestion = [&](const QString& q) {
            if (blank(q))
                out.emptyQuestions << n;
            if (atTheLimit(q))
                out.cutTexts << n;
        };
        targets.setAnswer = [&](const QString& a) {
            if (blank(a))
                out.emptyAnswers << n;
            if (atTheLimit(a) && (out.cutTexts.isEmpty() || out.cutTexts.back() != n))
                out.cutTexts << n;
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
            found.problems << line(it->size()).arg(it.key(), some(*it));
    };
    each(vq::FetchStep::Requery, [&](qsizetype n) {
        return QStringLiteral("%1 of %2 fetches fail with \"%3\" and show the empty-bank message "
                              "instead: numbers %4")
            .arg(n)
            .arg(fetched.count);
    });
    each(vq::FetchStep::Question, [](qsizetype n) {
        return QStringLiteral("%1 questions cannot be read (\"%2\"); the screen keeps the "
                              "previous question and answer: numbers %3")
            .arg(n);
    });
    each(vq::FetchStep::Answer, [](qsizetype n) {
        return QStringLiteral("%1 answers cannot be read (\"%2\"); the previous answer would be "
                              "revealed: numbers %3")
            .arg(n);
    });
    if (!fetched.emptyQuestions.isEmpty())
        found.problems << QStringLiteral("%1 empty questions (%2): numbers %3")
                              .arg(fetched.emptyQuestions.size())
                              .arg(kQuestion, some(fetched.emptyQuestions));
    if (!fetched.cutTexts.isEmpty())
        found.problems << QStringLiteral("%1 questions have a text of %2 bytes or more, which "
                                         "shows cut off: numbers %3")
                              .arg(fetched.cutTexts.size())
                              .arg(kLongestText - 3)
                              .arg(some(fetched.cutTexts));
    if (!fetched.emptyAnswers.isEmpty())
        found.warnings << QStringLiteral("%1 empty answers (%2): numbers %3")
                              .arg(fetched.emptyAnswers.size())
                              .arg(kAnswer, some(fetched.emptyAnswers));
}

} // namespace

CheckReport checkBank(const QString& path, const QString& password, const Progress& progress) {
    CheckReport report;
    Findings found;
    const QString full = vq::expandName(path);
    QString connection;
    try {
        connection = connectionStringFor(full, password);
    } catch (const vq::Exception& e) {
        found.problems << connectionFails(e.message());
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
    const QStringList pool = fill(*module.ADOQuery1, report, found);
    const std::vector<int> firsts = checkNumbers(pool, found);
    reportFetches(fetchAll(*module.ADOQuery1, pool, firsts, progress), found);
    return finish(report, found);
}

} // namespace vq::bank
