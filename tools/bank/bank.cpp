#include "bank.h"

#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/jetfile.h"
#include "data/jetwriter.h"
#include "data/jetwriter_fixtures.h"
#include "platform/exception.h"
#include "platform/folders.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QTemporaryFile>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace vq::bank {
namespace {

const QString kTable = QStringLiteral("题");
const QString kNumber = QStringLiteral("编号");
const QString kQuestion = QStringLiteral("题目");
const QString kAnswer = QStringLiteral("答案");

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
    const QuestionTable table = readQuestionTable(inPath, {options.sheet});
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
        const QString where = table.place(row.row);
        vq::jet::Question q;
        if (table.numbered) {
            if (row.number.isEmpty())
                throw vq::Exception(
                    QStringLiteral("%1: the number (%2) is missing").arg(where, kNumber));
            bool ok = false;
            q.number = row.number.toInt(&ok, 10);
            if (!ok)
                throw vq::Exception(
                    QStringLiteral(
                        "%1: '%2' is not a whole number between -2147483648 and 2147483647")
                        .arg(where, row.number));
        } else {
            q.number = r + 1;
        }
        const auto seen = rowOfNumber.constFind(q.number);
        if (seen != rowOfNumber.constEnd())
            throw vq::Exception(QStringLiteral("%1: the number %2 is already used on %3")
                                    .arg(where)
                                    .arg(q.number)
                                    .arg(table.place(*seen)));
        rowOfNumber.insert(q.number, row.row);
        q.question = row.question;
        q.answer = row.answer;
        if (q.question.trimmed().isEmpty())
            throw vq::Exception(
                QStringLiteral("%1: the question (%2) is empty").arg(where, kQuestion));
        for (const auto& [text, name] :
             {std::pair{&q.question, kQuestion}, std::pair{&q.answer, kAnswer}}) {
            if (const QString why = unstorable(*text); !why.isEmpty())
                throw vq::Exception(
                    QStringLiteral("%1, column %2: the text %3").arg(where, name, why));
            const qsizetype bytes = utf8Length(*text);
            if (bytes > kLongestText)
                throw vq::Exception(
                    QStringLiteral(
                        "%1: the %2 is %3 bytes long in UTF-8; the presenter shows at most %4")
                        .arg(where, name)
                        .arg(bytes)
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
    result.backup = replaceKeepingBackup(outPath, [&](const QString& temp) {
        vq::jet::writeDatabase(temp, {vq::jet::questionTable(questions)}, {options.password});
    });
    result.rows = int(questions.size());
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
    for (int r = 0; r < objects.rows.size(); ++r) {
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
    for (int r = 0; r < rows.rows.size(); ++r) {
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

CheckReport checkBank(const QString& path, const QString& password, const Progress& progress) {
    CheckReport report;
    QStringList notes;
    QStringList problems;
    QStringList warnings;
    const auto finish = [&] {
        QString text;
        for (const QString& n : notes)
            text += n + u'\n';
        for (const QString& w : warnings)
            text += QStringLiteral("warning: ") + w + u'\n';
        for (const QString& p : problems)
            text += QStringLiteral("FAIL: ") + p + u'\n';
        report.ok = problems.isEmpty();
        text += report.ok ? QStringLiteral("OK: the show can run with this bank (%1 questions)\n")
                                .arg(report.poolSize)
                          : QStringLiteral("The show would fail with this bank.\n");
        report.text = text;
        return report;
    };

    // The presenter's own objects, under their names, so that every message reads as it
    // would in its error boxes.
    const QString full = vq::expandName(path);
    TADOConnection connection;
    connection.setObjectName(QStringLiteral("ADOConnection1"));
    TADOQuery query;
    query.setObjectName(QStringLiteral("ADOQuery1"));
    query.setConnection(&connection);
    try {
        connection.setConnectionString(connectionStringFor(full, password));
        connection.open();
    } catch (const vq::Exception& e) {
        problems << QStringLiteral("the connection fails: %1 (error boxes at start, and every "
                                   "question shows the empty-bank message)")
                        .arg(e.message());
        return finish();
    }
    // One moment of the file for the whole check, as a run that nobody changes the file under.
    connection.database().setSteady(true);
    query.setSql(QStringLiteral("select *  from 题"));
    try {
        query.open();
    } catch (const vq::Exception& e) {
        QString tables;
        try {
            tables = userTables(connection.database()).join(QStringLiteral(", "));
        } catch (const vq::Exception&) {
        }
        problems << QStringLiteral("the query fails: %1 (tables in the file: %2)")
                        .arg(e.message(), tables);
        return finish();
    }
    const QList<vq::jet::ColumnInfo> columns = connection.database().columns(kTable);
    QStringList described;
    for (const vq::jet::ColumnInfo& c : columns)
        described << QStringLiteral("%1 %2").arg(c.name, typeName(c.mdbType));
    report.rows = query.recordCount();
    if (query.damage().damaged())
        problems << query.damage().describe() +
                        QStringLiteral(" (the pool would hold only the rows that could be read)");
    notes << QStringLiteral("%1: table %2, %3 rows; columns %4")
                 .arg(full, kTable)
                 .arg(report.rows)
                 .arg(described.join(QStringLiteral(", ")));

    // The fill, step for step, going on past its first failure only to count.
    QStringList pool;
    QList<int> rowOfPool;
    int stopRow = 0;
    QString stopMessage;
    int nulls = 0;
    int row = 0;
    try {
        query.first();
        while (!query.eof()) {
            ++row;
            const QVariant value = query.fieldByName(kNumber);
            try {
                const QString number = vq::variantToText(value);
                if (!stopRow) {
                    pool << number;
                    rowOfPool << row;
                }
            } catch (const vq::Exception& e) {
                ++nulls;
                if (!stopRow) {
                    stopRow = row;
                    stopMessage = e.message();
                }
            }
            query.next();
        }
    } catch (const vq::Exception& e) { // no 编号: the fill stops at its first row
        stopRow = row;
        stopMessage = e.message();
    }
    report.poolSize = int(pool.size());
    if (report.rows == 0)
        problems << QStringLiteral(
            "the table has no rows: every question shows the empty-bank message");
    if (nulls)
        problems << QStringLiteral("%1 rows without %2 (the first is row %3)")
                        .arg(nulls)
                        .arg(kNumber)
                        .arg(stopRow);
    if (stopRow)
        problems
            << QStringLiteral(
                   "the pool fill fails at row %1 with \"%2\"; the pool would hold %3 of %4 rows")
                   .arg(stopRow)
                   .arg(stopMessage)
                   .arg(pool.size())
                   .arg(report.rows);

    // Numbers: their range and the ones shared by several rows.
    QHash<QString, QList<int>> rowsOfNumber;
    std::optional<double> lowest;
    std::optional<double> highest;
    for (int i = 0; i < pool.size(); ++i) {
        rowsOfNumber[pool[i]] << rowOfPool[i];
        bool numeric = false;
        const double v = pool[i].toDouble(&numeric);
        if (numeric) {
            lowest = lowest ? std::min(*lowest, v) : v;
            highest = highest ? std::max(*highest, v) : v;
        }
    }
    if (lowest)
        notes << QStringLiteral("numbers in the pool %1 .. %2")
                     .arg(*lowest, 0, 'g', 15)
                     .arg(*highest, 0, 'g', 15);
    QStringList shared;
    QSet<QString> reported;
    for (const QString& n : pool) {
        const QList<int>& at = rowsOfNumber[n];
        if (at.size() > 1 && !reported.contains(n)) {
            reported.insert(n);
            QStringList where;
            for (int r : at)
                where << QString::number(r);
            shared << QStringLiteral("%1 (rows %2)").arg(n, where.join(u' '));
        }
    }
    if (!shared.isEmpty())
        problems << QStringLiteral("numbers shared by several rows (each draw of one shows its "
                                   "first row; the others never show): %1")
                        .arg(some(shared));

    // Every number of the pool fetched as a draw fetches it.
    QMap<QString, QStringList> requeryFails;
    QMap<QString, QStringList> questionFails;
    QMap<QString, QStringList> answerFails;
    QStringList emptyQuestions;
    QStringList emptyAnswers;
    QStringList cutTexts;
    QSet<QString> fetched;
    for (const QString& n : pool) {
        if (fetched.contains(n))
            continue;
        fetched.insert(n);
        if (progress && pool.size() >= kProgressRows && fetched.size() % kProgressRows == 0)
            progress(
                QStringLiteral("%1 of %2 questions fetched").arg(fetched.size()).arg(pool.size()));
        try {
            query.close();
            query.clearSql();
            query.addSqlLine(QStringLiteral("SELECT * from 题 where 编号=") + n);
            query.open();
        } catch (const vq::Exception& e) {
            requeryFails[e.message()] << n;
            continue;
        }
        QString question;
        try {
            question = vq::variantToText(query.fieldByName(kQuestion));
        } catch (const vq::Exception& e) {
            questionFails[e.message()] << n;
            continue;
        }
        if (question.trimmed().isEmpty())
            emptyQuestions << n;
        // A text at the reader's limit was most likely longer in the file.
        if (utf8Length(question) >= kLongestText - 3)
            cutTexts << n;
        try {
            const QString answer = vq::variantToText(query.fieldByName(kAnswer));
            if (answer.trimmed().isEmpty())
                emptyAnswers << n;
            if (utf8Length(answer) >= kLongestText - 3 &&
                (cutTexts.isEmpty() || cutTexts.back() != n))
                cutTexts << n;
        } catch (const vq::Exception& e) {
            answerFails[e.message()] << n;
        }
    }
    for (auto it = requeryFails.cbegin(); it != requeryFails.cend(); ++it)
        problems << QStringLiteral("%1 of %2 fetches fail with \"%3\" and show the empty-bank "
                                   "message instead: numbers %4")
                        .arg(it->size())
                        .arg(fetched.size())
                        .arg(it.key(), some(*it));
    for (auto it = questionFails.cbegin(); it != questionFails.cend(); ++it)
        problems << QStringLiteral("%1 questions cannot be read (\"%2\"); the screen keeps the "
                                   "previous question and answer: numbers %3")
                        .arg(it->size())
                        .arg(it.key(), some(*it));
    for (auto it = answerFails.cbegin(); it != answerFails.cend(); ++it)
        problems << QStringLiteral("%1 answers cannot be read (\"%2\"); the previous answer would "
                                   "be revealed: numbers %3")
                        .arg(it->size())
                        .arg(it.key(), some(*it));
    if (!emptyQuestions.isEmpty())
        problems << QStringLiteral("%1 empty questions (%2): numbers %3")
                        .arg(emptyQuestions.size())
                        .arg(kQuestion, some(emptyQuestions));
    if (!cutTexts.isEmpty())
        problems
            << QStringLiteral(
                   "%1 questions have a text of %2 bytes or more, which shows cut off: numbers %3")
                   .arg(cutTexts.size())
                   .arg(kLongestText - 3)
                   .arg(some(cutTexts));
    if (!emptyAnswers.isEmpty())
        warnings << QStringLiteral("%1 empty answers (%2): numbers %3")
                        .arg(emptyAnswers.size())
                        .arg(kAnswer, some(emptyAnswers));
    return finish();
}

} // namespace vq::bank
