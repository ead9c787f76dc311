#include "xlsx.h"
#include "xlsx_testing.h"

#include "platform/exception.h"
#include "platform/task.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace vq::bank {

namespace detail {
qsizetype xlsxPieceSize = 1024 * 1024;
thread_local XlsxPieces xlsxLastPieces;
} // namespace detail

namespace {

// No workbook part a question list needs comes near this; a bigger one is damage or a trap.
constexpr qint64 kLargestPart = qint64(1) << 30;

// `why` may be Qt's XML reason, a sentence of its own: inside the parentheses it goes without
// its full stop.
QString damaged(const QString& path, QString why) {
    if (why.endsWith(u'.') || why.endsWith(u'。'))
        why.chop(1);
    return QCoreApplication::translate(
               "velquo-bank", "%1：无法读取工作簿（%2）；请在 Excel 或 WPS 中打开后重新保存")
        .arg(QFileInfo(path).fileName(), why);
}

class Workbook {
public:
    explicit Workbook(const QString& path) : m_path(path), m_zip(path) {
        if (!m_zip.open(QuaZip::mdUnzip))
            throw vq::Exception(damaged(
                path, QCoreApplication::translate("velquo-bank", "不是可以读取的 zip 文件")));
        const QStringList names = m_zip.getFileNameList();
        for (const QString& n : names)
            m_names.insert(n);
    }
    bool has(const QString& name) const { return m_names.contains(name); }
    const QSet<QString>& names() const { return m_names; }

    // The part's bytes; empty when absent and not required.
    QByteArray part(const QString& name, bool required) {
        QByteArray bytes;
        read(name, required, [&](QIODevice& file) { bytes = file.readAll(); });
        return bytes;
    }

    // Hands the part to parse as a device that inflates it as it is read, so that a big part
    // is never held whole; false when absent and not required.
    template <typename Parse> bool read(const QString& name, bool required, Parse&& parse) {
        if (!has(name) || !m_zip.setCurrentFile(name)) {
            if (required)
                throw vq::Exception(damaged(
                    m_path, QCoreApplication::translate("velquo-bank", "缺少 %1").arg(name)));
            return false;
        }
        QuaZipFileInfo64 info;
        if (m_zip.getCurrentFileInfo(&info) && qint64(info.uncompressedSize) > kLargestPart)
            throw vq::Exception(
                damaged(m_path, QCoreApplication::translate("velquo-bank", "%1 太大").arg(name)));
        QuaZipFile file(&m_zip);
        if (!file.open(QIODevice::ReadOnly))
            throw vq::Exception(damaged(
                m_path, QCoreApplication::translate("velquo-bank", "无法打开 %1").arg(name)));
        parse(static_cast<QIODevice&>(file));
        // A part that does not inflate is damage, whatever its reader made of what it got.
        const int readError = file.getZipError();
        file.close();
        if (readError != UNZ_OK || file.getZipError() != UNZ_OK)
            throw vq::Exception(
                damaged(m_path, QCoreApplication::translate("velquo-bank", "%1 已损坏").arg(name)));
        return true;
    }
    const QString& path() const { return m_path; }
    // The part's size when inflated; -1 when absent.
    qint64 partSize(const QString& name) {
        QuaZipFileInfo64 info;
        if (!has(name) || !m_zip.setCurrentFile(name) || !m_zip.getCurrentFileInfo(&info))
            return -1;
        return qint64(info.uncompressedSize);
    }

private:
    QString m_path;
    QuaZip m_zip;
    QSet<QString> m_names;
};

// Text in the workbook's XML escapes characters XML cannot carry as _xHHHH_.
QString unescapeXString(const QString& s) {
    if (s.indexOf(u'_') < 0 || !s.contains(QLatin1String("_x")))
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) == u'_' && i + 6 < s.size() && s.at(i + 1) == u'x' && s.at(i + 6) == u'_') {
            bool ok = false;
            const uint code = s.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out.append(QChar(char16_t(code)));
                i += 6;
                continue;
            }
        }
        out.append(s.at(i));
    }
    return out;
}

// The big parts (a sheet's cells, the shared strings) are read without namespace processing,
// which takes a good part of the reader's time; their elements are told apart by the local
// part of the name, whatever prefix a writer gives them.
QStringView tag(const QXmlStreamReader& xml) {
    const QStringView q = xml.qualifiedName();
    const qsizetype colon = q.lastIndexOf(u':');
    return colon < 0 ? q : q.sliced(colon + 1);
}

// The text of a string item (<si> or <is>): every run's <t>, without phonetic guides.
QString readStringItem(QXmlStreamReader& xml) {
    QString text;
    while (xml.readNextStartElement()) {
        const auto name = tag(xml);
        if (name == QLatin1String("t")) {
            text += xml.readElementText();
        } else if (name == QLatin1String("r")) {
            while (xml.readNextStartElement()) {
                if (tag(xml) == QLatin1String("t"))
                    text += xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement(); // rPh, phoneticPr
        }
    }
    return unescapeXString(text);
}

// The shared string table: one pass over the tokens (the table is most of a big workbook),
// the text of every <t> of an item, apart from those inside phonetic guides. False on an
// XML error.
bool readSharedStrings(QXmlStreamReader& xml, QStringList& out, bool reserve = true) {
    xml.setNamespaceProcessing(false);
    QString item;
    bool inItem = false;
    bool inText = false;
    int skipped = 0; // depth inside a phonetic guide
    // Read from a device, the reader waits at a premature end for more data that a failed
    // inflate never brings: an error ends the loop.
    while (!xml.atEnd() && !xml.hasError()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView n = tag(xml);
            if (skipped) {
                ++skipped;
            } else if (n == QLatin1String("si")) {
                inItem = true;
                item.clear();
            } else if (n == QLatin1String("sst")) {
                if (reserve)
                    out.reserve(xml.attributes().value(QLatin1String("uniqueCount")).toInt());
            } else if (inItem && (n == QLatin1String("rPh") || n == QLatin1String("phoneticPr"))) {
                skipped = 1;
            } else if (inItem && n == QLatin1String("t")) {
                inText = true;
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (skipped) {
                --skipped;
            } else if (tag(xml) == QLatin1String("t")) {
                inText = false;
            } else if (tag(xml) == QLatin1String("si")) {
                out << unescapeXString(item);
                inItem = false;
            }
            break;
        case QXmlStreamReader::Characters:
            // Most items are one run of text: taken whole, without growing a buffer.
            if (inText && !skipped) {
                if (item.isEmpty())
                    item = xml.text().toString();
                else
                    item += xml.text();
            }
            break;
        default:
            break;
        }
    }
    return !xml.hasError();
}

// A part of a workbook inflated by a thread of its own (from its own zip handle) while the
// reader parses what has come so far: the inflating is off the reader's way.
class InflatingPart final : public QIODevice {
public:
    InflatingPart(const QString& path, const QString& name) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        m_worker = vq::Task<void>([this, path, name] { inflate(path, name); });
    }
    ~InflatingPart() override {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_worker.wait();
    }
    InflatingPart(const InflatingPart&) = delete;
    InflatingPart& operator=(const InflatingPart&) = delete;

    bool isSequential() const override { return true; }
    bool atEnd() const override {
        const std::lock_guard lock(m_mutex);
        return m_done && m_chunks.empty() && m_taken >= m_current.size();
    }
    // Once the reader is through: inflates the rest (a reader that stopped at an error leaves
    // some) and rethrows what stopped the inflating, a part that is damaged.
    void finish() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_chunks.clear();
            m_changed.notify_all();
            if (m_done)
                break;
            m_changed.wait(lock, [&] { return m_done || !m_chunks.empty(); });
        }
        if (m_error)
            std::rethrow_exception(m_error);
    }

protected:
    qint64 readData(char* data, qint64 max) override {
        if (m_taken >= m_current.size()) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_done || !m_chunks.empty(); });
            if (m_chunks.empty())
                return 0;
            m_current = std::move(m_chunks.front());
            m_chunks.pop_front();
            m_taken = 0;
            m_changed.notify_all();
        }
        const qint64 n = std::min<qint64>(max, m_current.size() - m_taken);
        std::memcpy(data, m_current.constData() + m_taken, size_t(n));
        m_taken += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    static constexpr qint64 kChunk = 256 * 1024;
    static constexpr size_t kAhead = 16; // chunks inflated ahead of the reader at most

    void inflate(const QString& path, const QString& name) {
        try {
            Workbook book(path);
            book.read(name, true, [&](QIODevice& part) {
                for (;;) {
                    QByteArray chunk = part.read(kChunk);
                    if (chunk.isEmpty())
                        return;
                    std::unique_lock lock(m_mutex);
                    m_changed.wait(lock, [&] { return m_stop || m_chunks.size() < kAhead; });
                    if (m_stop)
                        return;
                    m_chunks.push_back(std::move(chunk));
                    m_changed.notify_all();
                }
            });
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            m_error = std::current_exception();
        }
        const std::lock_guard lock(m_mutex);
        m_done = true;
        m_changed.notify_all();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_chunks;
    bool m_done = false;
    bool m_stop = false;
    std::exception_ptr m_error;
    QByteArray m_current; // the chunk being read, only by the reader
    qint64 m_taken = 0;
    // Reads the zip through Qt objects of its own: a thread Qt starts.
    vq::Task<void> m_worker;
};

QStringList sharedStrings(Workbook& book, const QString& name) {
    QStringList out;
    if (book.partSize(name) <= 0)
        return out;
    InflatingPart part(book.path(), name);
    QXmlStreamReader xml(&part);
    const bool read = readSharedStrings(xml, out);
    part.finish(); // a part that does not inflate is damaged, whatever the reader made of it
    if (!read)
        throw vq::Exception(damaged(
            book.path(),
            QCoreApplication::translate("velquo-bank", "%1：%2").arg(name, xml.errorString())));
    return out;
}

// Whether a number format shows a date or a time.
bool dateFormat(int id, const QString& code) {
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
        (id >= 50 && id <= 58))
        return true;
    if (code.isEmpty())
        return false;
    // Quoted text, escaped characters and bracketed parts (colours, locales) say nothing.
    bool quoted = false;
    bool bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (quoted) {
            quoted = c != u'"';
            continue;
        }
        if (bracket) {
            if (c == u']')
                bracket = false;
            continue;
        }
        if (c == u'"') {
            quoted = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            // Elapsed hours, minutes and seconds ([h], [mm], [ss]) are times.
            const QString inner = code.mid(i + 1, 2).toLower();
            if (inner.startsWith(u'h') || inner.startsWith(u'm') || inner.startsWith(u's'))
                return true;
            bracket = true;
        } else {
            const QChar l = c.toLower();
            if (l == u'y' || l == u'm' || l == u'd' || l == u'h' || l == u's')
                return true;
        }
    }
    return false;
}

// Per cell style, whether it shows a date or time.
QList<bool> dateStyles(Workbook& book, const QString& name) {
    QList<bool> out;
    const QByteArray bytes = book.part(name, false);
    if (bytes.isEmpty())
        return out;
    QHash<int, QString> codes;
    QXmlStreamReader xml(bytes);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto n = xml.name();
            if (n == QLatin1String("numFmt")) {
                codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                             xml.attributes().value(QLatin1String("formatCode")).toString());
            } else if (n == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (n == QLatin1String("xf") && inCellXfs) {
                const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                out << dateFormat(id, codes.value(id));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    return out;
}

// A serial date and time as text: the date, the time, or both.
QString serialDateText(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465.0)
        return QString::number(serial, 'g', 15);
    qint64 days = qint64(std::floor(serial));
    qint64 msecs = qint64(std::llround((serial - double(days)) * 86400000.0));
    if (msecs >= 86400000) {
        ++days;
        msecs -= 86400000;
    }
    QDate epoch = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    // The 1900 system counts a 29 February 1900 that never was.
    if (!date1904 && days < 61)
        epoch = QDate(1899, 12, 31);
    const QDate d = epoch.addDays(days);
    const QTime t = QTime(0, 0).addMSecs(int(msecs));
    const QString time =
        t.toString(t.second() || t.msec() ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    if (days == 0 && !date1904)
        return time;
    const QString dateText = d.toString(QStringLiteral("yyyy-MM-dd"));
    return msecs ? dateText + u' ' + time : dateText;
}

// A stored number as a person reads it: whole numbers without a fraction.
QString numberText(const QString& v) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        return v;
    if (d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'g', 15);
}

// "AB12" -> column 27 (from 0); -1 when the reference has no letters.
int columnOf(QStringView ref) {
    int col = 0;
    int letters = 0;
    for (QChar c : ref) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            col = col * 26 + (u - u'A' + 1);
        else if (u >= u'a' && u <= u'z')
            col = col * 26 + (u - u'a' + 1);
        else
            break;
        if (++letters > 3)
            return -1;
    }
    return letters ? col - 1 : -1;
}

QString partPath(const QString& base, const QString& target) {
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(base + u'/' + target);
}

// A sheet's cells as read, before the shared strings are put in.
struct SharedCell {
    qsizetype row; // in SheetCells::rows
    int column;    // as read: the text is left out when it is not a worksheet's column
    int index;     // in the shared string table; -1 when not a number
};
struct SheetCells {
    QList<SheetRow> rows; // every row with a cell, shared strings still missing
    QList<SharedCell> shared;
    int formulasWithoutValue = 0;
    int firstFormulaRow = 0;
    bool unnumberedRow = false; // a row without its number, counted on from the one before
    QString error;              // the XML error that ended the reading
};

// A whole number as the sheet stores it ("12", not "012" or "12.0"): already as a person reads
// it.
bool plainWhole(QStringView v) {
    if (v.isEmpty() || v.size() > 15 || (v.size() > 1 && v[0] == u'0'))
        return false;
    return std::all_of(v.begin(), v.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The text of an element that holds text only (a cell's <v>), as readElementText reads it but
// into `out`, whose room is used again from cell to cell.
void readTextInto(QXmlStreamReader& xml, QString& out) {
    out.resize(0);
    for (;;) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            out.append(xml.text());
            break;
        case QXmlStreamReader::StartElement:
            // Qt's own reason for this, in the language of its installed translation.
            xml.raiseError(QCoreApplication::translate("QXmlStream", "Expected character data."));
            return;
        case QXmlStreamReader::EndElement:
        case QXmlStreamReader::Invalid:
            return;
        default: // comments, processing instructions
            break;
        }
    }
}

// A cell's kind, from its "t": a shared or inline string, a text (a formula's or an error's), a
// truth value, an ISO date, else a number.
enum class CellType { Number, Shared, Inline, Text, Boolean, Date };

CellType cellType(QStringView t) {
    if (t == QLatin1String("s"))
        return CellType::Shared;
    if (t == QLatin1String("inlineStr"))
        return CellType::Inline;
    if (t == QLatin1String("str") || t == QLatin1String("e"))
        return CellType::Text;
    if (t == QLatin1String("b"))
        return CellType::Boolean;
    if (t == QLatin1String("d"))
        return CellType::Date;
    return CellType::Number;
}

void readCells(QXmlStreamReader& xml, const QList<bool>& dates, bool date1904, SheetCells& out) {
    xml.setNamespaceProcessing(false);
    int rowNumber = 0;
    QString value;
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement() || tag(xml) != QLatin1String("row"))
            continue;
        const int r = xml.attributes().value(QLatin1String("r")).toInt();
        rowNumber = r > 0 ? r : rowNumber + 1;
        out.unnumberedRow = out.unnumberedRow || r <= 0;
        SheetRow row;
        row.row = rowNumber;
        bool anyShared = false;
        int column = -1;
        while (xml.readNextStartElement()) {
            if (tag(xml) != QLatin1String("c")) {
                xml.skipCurrentElement();
                continue;
            }
            // What the cell's attributes say, taken before the reader moves on: a copy of them
            // kept past that makes the reader build its list anew for every element.
            CellType type = CellType::Number;
            int style = 0;
            {
                const QXmlStreamAttributes a = xml.attributes();
                const int at = columnOf(a.value(QLatin1String("r")));
                column = at >= 0 ? at : column + 1;
                type = cellType(a.value(QLatin1String("t")));
                style = a.value(QLatin1String("s")).toInt();
            }
            QString inlineText;
            bool hasValue = false;
            bool formula = false;
            value.resize(0);
            while (xml.readNextStartElement()) {
                const auto n = tag(xml);
                if (n == QLatin1String("v")) {
                    readTextInto(xml, value);
                    hasValue = true;
                } else if (n == QLatin1String("is")) {
                    inlineText = readStringItem(xml);
                    hasValue = true;
                } else {
                    formula = formula || n == QLatin1String("f");
                    xml.skipCurrentElement();
                }
            }
            if (formula && !hasValue) {
                if (!out.formulasWithoutValue++)
                    out.firstFormulaRow = rowNumber;
            }
            if (type == CellType::Shared) {
                // No value at all: a cleared cell, as Tencent's office suite saves one, which
                // Excel, WPS and LibreOffice show empty.
                if (value.trimmed().isEmpty())
                    continue;
                bool ok = false;
                const int i = value.toInt(&ok);
                out.shared.append({out.rows.size(), column, ok && i >= 0 ? i : -1});
                anyShared = true;
                continue;
            }
            QString text;
            if (type == CellType::Inline) {
                text = inlineText;
            } else if (type == CellType::Text) {
                text = unescapeXString(value);
            } else if (type == CellType::Boolean) {
                text = value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE")
                                                             : QStringLiteral("FALSE");
                if (!hasValue)
                    text.clear();
            } else if (type == CellType::Date) {
                text = value.endsWith(QLatin1String("T00:00:00")) ? value.left(value.size() - 9)
                                                                  : value;
            } else if (hasValue && !value.isEmpty()) {
                const bool isDate = style >= 0 && style < dates.size() && dates[style];
                if (!isDate && plainWhole(value)) {
                    text = value;
                } else {
                    bool ok = false;
                    const double d = value.toDouble(&ok);
                    text = isDate && ok ? serialDateText(d, date1904) : numberText(value);
                }
            }
            if (text.isEmpty() || column < 0 || column > 16383)
                continue;
            if (row.cells.size() <= column)
                row.cells.resize(column + 1);
            row.cells[column] = text;
        }
        if (!row.cells.isEmpty() || anyShared)
            out.rows << row;
    }
    if (xml.hasError())
        out.error = xml.errorString();
}

// The two big parts of a workbook, the sheet's cells and the shared strings, with strings still
// to be put into the cells.
struct SheetParts {
    QStringList strings;
    SheetCells cells;
};

// The old way, and the one whose messages count: each part through one reader as it inflates,
// the sheet beside the shared strings.
SheetParts readPartsWhole(const QString& path, const QString& cellsPart, const QString& sharedPart,
                          const QList<bool>& dates, bool date1904) {
    vq::Task<SheetCells> reading([&] {
        Workbook own(path);
        SheetCells cells;
        own.read(cellsPart, true, [&](QIODevice& part) {
            QXmlStreamReader xml(&part);
            readCells(xml, dates, date1904, cells);
        });
        return cells;
    });
    Workbook book(path);
    SheetParts out;
    out.strings = sharedStrings(book, sharedPart);
    out.cells = reading.get();
    return out;
}

// A big part is cut into pieces that are documents of their own, parsed side by side: each
// piece starts at an item's start tag (a shared string, a row), and carries the start tags
// of the elements the items stand in, as the part has them, and their end tags.
struct CutRule {
    QByteArrayView container; // the element holding the items inside the root; empty: the root
    QByteArrayView item;
};
constexpr CutRule kStringsCut{{}, "si"};
constexpr CutRule kCellsCut{"sheetData", "row"};

struct Frame {
    QByteArray head;            // the start tags around the items
    QByteArray tail;            // their end tags
    qsizetype rootEnd = 0;      // in the part: just past the root's start tag
    qsizetype contentStart = 0; // in the part: where the items' level begins
    QByteArray itemTag;         // "<si", or with the root's prefix "<x:si"
};

bool endsName(char c) {
    return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Just past the tag that starts at `from`; -1 when it does not end in the bytes.
qsizetype tagEnd(QByteArrayView b, qsizetype from) {
    char quote = 0;
    for (qsizetype i = from; i < b.size(); ++i) {
        const char c = b[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return -1;
}

// Where a start (or empty) tag `open` ("<si") stands from `from` on; -1 when not (yet) seen.
qsizetype findTag(QByteArrayView b, QByteArrayView open, qsizetype from) {
    for (;;) {
        const qsizetype at = b.indexOf(open, from);
        if (at < 0 || at + open.size() >= b.size())
            return -1;
        if (endsName(b[at + open.size()]))
            return at;
        from = at + 1;
    }
}

// The frame of a part from its first bytes. None when the part starts with anything but a plain
// UTF-8 prolog and its root (a document type, a comment, another encoding): such a part is read
// whole.
std::optional<Frame> frameOf(QByteArrayView b, const CutRule& rule) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    qsizetype i = b.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (b.sliced(i).startsWith("<?xml") && i + 5 < b.size() && space(b[i + 5])) {
        const qsizetype end = b.indexOf("?>", i);
        if (end < 0)
            return std::nullopt;
        // The pieces after the first have no declaration: they are UTF-8.
        const QByteArrayView declaration = b.sliced(i, end - i);
        if (const qsizetype at = declaration.indexOf("encoding"); at >= 0) {
            qsizetype v = at + 8;
            while (v < declaration.size() && (space(declaration[v]) || declaration[v] == '='))
                ++v;
            if (v >= declaration.size() || (declaration[v] != '"' && declaration[v] != '\''))
                return std::nullopt;
            const qsizetype close = declaration.indexOf(declaration[v], v + 1);
            if (close < 0 ||
                declaration.sliced(v + 1, close - v - 1).compare("utf-8", Qt::CaseInsensitive))
                return std::nullopt;
        }
        i = end + 2;
    }
    while (i < b.size() && space(b[i]))
        ++i;
    if (i + 1 >= b.size() || b[i] != '<' || b[i + 1] == '!' || b[i + 1] == '?' || b[i + 1] == '/')
        return std::nullopt;
    const qsizetype rootEnd = tagEnd(b, i);
    if (rootEnd < 0 || b[rootEnd - 2] == '/')
        return std::nullopt;
    qsizetype nameEnd = i + 1;
    while (!endsName(b[nameEnd]))
        ++nameEnd;
    const QByteArrayView root = b.sliced(i + 1, nameEnd - i - 1);
    const qsizetype colon = root.indexOf(':');
    const QByteArray prefix = colon < 0 ? QByteArray() : root.first(colon + 1).toByteArray();
    Frame f;
    f.head = b.sliced(i, rootEnd - i).toByteArray();
    f.tail = "</" + root.toByteArray() + '>';
    f.rootEnd = rootEnd;
    f.contentStart = rootEnd;
    if (!rule.container.isEmpty()) {
        const QByteArray open = '<' + prefix + rule.container.toByteArray();
        const qsizetype at = findTag(b, open, rootEnd);
        const qsizetype end = at < 0 ? -1 : tagEnd(b, at);
        if (end < 0 || b[end - 2] == '/')
            return std::nullopt;
        f.head += b.sliced(at, end - at);
        f.tail.prepend("</" + prefix + rule.container.toByteArray() + '>');
        f.contentStart = end;
    }
    f.itemTag = '<' + prefix + rule.item.toByteArray();
    return f;
}

// Whether the bytes from `from` on hold a comment, a CDATA section, a processing instruction or
// a document type: inside those a '<' is text, and an item's start tag may be no tag at all.
bool hasOtherMarkup(QByteArrayView b, qsizetype from) {
    const char* p = b.data() + from;
    const char* end = b.data() + b.size();
    while (p < end) {
        p = static_cast<const char*>(std::memchr(p, '<', size_t(end - p)));
        if (!p || ++p == end)
            return false;
        if (*p == '!' || *p == '?')
            return true;
    }
    return false;
}

struct Piece {
    QByteArray bytes;     // a document of its own
    qsizetype markupFrom; // where the part's own content starts in it
    int index;            // in the part, from 0
};

// Inflates a part and cuts it into pieces of about `size` bytes, each handed to `take` as soon
// as it is cut; `take` returns false to stop. A part whose prolog is not plain stays one piece.
template <typename Take>
void cutPart(QIODevice& part, const CutRule& rule, qsizetype size, Take&& take) {
    constexpr qint64 kRead = 256 * 1024;
    QByteArray buf;
    std::optional<Frame> frame;
    bool framed = false;
    qsizetype searchFrom = 0;
    qsizetype markupFrom = 0;
    int index = 0;
    for (;;) {
        const qsizetype had = buf.size();
        buf.resize(had + kRead);
        const qint64 n = part.read(buf.data() + had, kRead);
        buf.resize(had + std::max<qint64>(n, 0));
        if (n <= 0)
            break;
        if (buf.size() < size)
            continue;
        if (!framed) {
            framed = true;
            frame = frameOf(buf, rule);
            if (frame) {
                markupFrom = frame->rootEnd;
                searchFrom = std::max(size, frame->contentStart);
            }
        }
        while (frame && buf.size() > searchFrom) {
            const qsizetype at = findTag(buf, frame->itemTag, searchFrom);
            if (at < 0) {
                searchFrom = std::max(searchFrom, buf.size() - frame->itemTag.size());
                break;
            }
            QByteArray rest(buf.constData() + at, buf.size() - at);
            buf.truncate(at);
            buf.append(frame->tail);
            if (!take(Piece{std::move(buf), markupFrom, index++}))
                return;
            buf = QByteArray();
            buf.reserve(frame->head.size() + std::max(rest.size(), size) + kRead);
            buf.append(frame->head);
            buf.append(rest);
            markupFrom = frame->head.size();
            searchFrom = std::max(size, frame->head.size() + 1);
        }
    }
    take(Piece{std::move(buf), markupFrom, index});
}

// Reads the sheet's cells and the shared strings in pieces on every core, while one thread
// inflates both parts and cuts them. None when a part must be read whole: it is damaged (its
// messages come from reading it whole), or cut where a tag may be no tag (other markup), or
// rows go without their numbers after the first piece.
class PiecewiseRead {
public:
    PiecewiseRead(const QString& path, const QString& cellsPart, const QString& sharedPart,
                  const QList<bool>& dates, bool date1904)
        : m_path(path), m_cellsPart(cellsPart), m_sharedPart(sharedPart), m_dates(dates),
          m_date1904(date1904) {}

    std::optional<SheetParts> run() {
        vq::Task<void> inflater([this] { inflate(); });
        const unsigned cores = std::max(2u, std::min(std::thread::hardware_concurrency(), 4u));
        std::vector<vq::Task<void>> helpers;
        for (unsigned i = 1; i < cores; ++i)
            helpers.emplace_back([this] { work(); });
        work();
        for (vq::Task<void>& t : helpers)
            t.get();
        inflater.get();
        detail::xlsxLastPieces = {int(m_cells.size()), int(m_strings.size()), false};
        if (m_failed)
            return std::nullopt;
        const auto whole = [](const auto& pieces) {
            return pieces.size() < 2 ||
                   std::none_of(pieces.begin(), pieces.end(), [](auto& p) { return p.markup; });
        };
        if (!whole(m_cells) || !whole(m_strings))
            return std::nullopt;
        for (std::size_t i = 1; i < m_cells.size(); ++i)
            if (m_cells[i].cells.unnumberedRow)
                return std::nullopt;

        SheetParts out;
        qsizetype strings = 0;
        for (const StringsPiece& p : m_strings)
            strings += p.strings.size();
        out.strings.reserve(strings);
        for (StringsPiece& p : m_strings)
            out.strings.append(std::move(p.strings));
        SheetCells& cells = out.cells;
        for (CellsPiece& p : m_cells) {
            const qsizetype base = cells.rows.size();
            for (SharedCell& c : p.cells.shared)
                c.row += base;
            if (!cells.formulasWithoutValue)
                cells.firstFormulaRow = p.cells.firstFormulaRow;
            cells.formulasWithoutValue += p.cells.formulasWithoutValue;
            if (cells.rows.isEmpty()) {
                cells.rows = std::move(p.cells.rows);
                cells.shared = std::move(p.cells.shared);
            } else {
                cells.rows.append(std::move(p.cells.rows));
                cells.shared.append(std::move(p.cells.shared));
            }
        }
        return out;
    }

private:
    struct StringsPiece {
        QStringList strings;
        bool markup = false;
    };
    struct CellsPiece {
        SheetCells cells;
        bool markup = false;
    };
    struct Job {
        bool cells;
        Piece piece;
    };
    static constexpr std::size_t kAhead = 4; // pieces cut ahead of the readers at most

    void fail() {
        const std::lock_guard lock(m_mutex);
        m_failed = true;
        m_changed.notify_all();
    }

    void inflate() {
        try {
            Workbook book(m_path);
            const auto cut = [&](const QString& name, const CutRule& rule, bool cells) {
                book.read(name, true, [&](QIODevice& part) {
                    cutPart(part, rule, detail::xlsxPieceSize, [&](Piece&& piece) {
                        std::unique_lock lock(m_mutex);
                        m_changed.wait(lock, [&] { return m_failed || m_jobs.size() < kAhead; });
                        if (m_failed)
                            return false;
                        if (cells)
                            m_cells.emplace_back();
                        else
                            m_strings.emplace_back();
                        m_jobs.push_back({cells, std::move(piece)});
                        m_changed.notify_all();
                        return true;
                    });
                });
            };
            cut(m_cellsPart, kCellsCut, true);
            if (book.partSize(m_sharedPart) > 0)
                cut(m_sharedPart, kStringsCut, false);
        } catch (...) {
            fail(); // read again whole, for the message
        }
        const std::lock_guard lock(m_mutex);
        m_inflating = false;
        m_changed.notify_all();
    }

    void work() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_failed || !m_jobs.empty() || !m_inflating; });
                if (m_failed || m_jobs.empty())
                    return;
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
                m_changed.notify_all();
            }
            if (!parse(job))
                fail();
        }
    }

    // Parses a piece into its place; false when it cannot be read in pieces.
    bool parse(const Job& job) {
        const Piece& piece = job.piece;
        const bool markup = hasOtherMarkup(piece.bytes, piece.markupFrom);
        // Later pieces exist only where the part was cut: cut where a tag may be no tag.
        if (markup && piece.index > 0)
            return false;
        QXmlStreamReader xml(piece.bytes);
        if (job.cells) {
            SheetCells cells;
            readCells(xml, m_dates, m_date1904, cells);
            if (!cells.error.isEmpty())
                return false;
            const std::lock_guard lock(m_mutex);
            m_cells[std::size_t(piece.index)] = {std::move(cells), markup};
        } else {
            QStringList strings;
            if (!readSharedStrings(xml, strings, false))
                return false;
            const std::lock_guard lock(m_mutex);
            m_strings[std::size_t(piece.index)] = {std::move(strings), markup};
        }
        return true;
    }

    const QString& m_path;
    const QString& m_cellsPart;
    const QString& m_sharedPart;
    const QList<bool>& m_dates;
    const bool m_date1904;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    std::deque<CellsPiece> m_cells; // in the part's order, filled as their pieces are read
    std::deque<StringsPiece> m_strings;
    bool m_inflating = true;
    bool m_failed = false;
};

// The relationships of a part (its _rels file beside it): id to the target's part.
QHash<QString, QString> relationships(Workbook& book, const QString& part, QStringView type) {
    const qsizetype slash = part.lastIndexOf(u'/');
    const QString folder = part.left(slash);
    const QString rels =
        folder + QStringLiteral("/_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
    QHash<QString, QString> out;
    QXmlStreamReader xml(book.part(rels, false));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("Relationship"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (a.value(QLatin1String("Type")).endsWith(type) &&
            a.value(QLatin1String("TargetMode")) != QLatin1String("External"))
            out.insert(a.value(QLatin1String("Id")).toString(),
                       partPath(folder, a.value(QLatin1String("Target")).toString()));
    }
    return out;
}

// The pictures the sheet's drawings anchor to its cells: each anchor's starting cell (a two-cell
// anchor's "from", a one-cell anchor's) and its picture's part, as Excel, WPS and LibreOffice
// write a picture placed over the cells. A damaged drawing gives the pictures read before it.
QList<PlacedPicture> placedPictures(Workbook& book, const QString& sheetPart) {
    QList<PlacedPicture> out;
    for (const QString& drawing :
         relationships(book, sheetPart, u"/relationships/drawing").values()) {
        const QHash<QString, QString> images =
            relationships(book, drawing, u"/relationships/image");
        QXmlStreamReader xml(book.part(drawing, false));
        PlacedPicture placed;
        bool inAnchor = false;
        bool inFrom = false;
        while (!xml.atEnd() && !xml.hasError()) {
            xml.readNext();
            const QStringView name = xml.name();
            if (xml.isStartElement()) {
                if (name == QLatin1String("twoCellAnchor") ||
                    name == QLatin1String("oneCellAnchor")) {
                    inAnchor = true;
                    placed = {};
                } else if (inAnchor && name == QLatin1String("from")) {
                    inFrom = true;
                } else if (inFrom && name == QLatin1String("row")) {
                    placed.row = xml.readElementText().trimmed().toInt() + 1;
                } else if (inFrom && name == QLatin1String("col")) {
                    placed.column = xml.readElementText().trimmed().toInt();
                } else if (inAnchor && name == QLatin1String("blip")) {
                    for (const QXmlStreamAttribute& a : xml.attributes())
                        if (a.name() == QLatin1String("embed"))
                            placed.part = images.value(a.value().toString());
                }
            } else if (xml.isEndElement()) {
                if (name == QLatin1String("from")) {
                    inFrom = false;
                } else if (name == QLatin1String("twoCellAnchor") ||
                           name == QLatin1String("oneCellAnchor")) {
                    inAnchor = false;
                    if (placed.row > 0 && !placed.part.isEmpty())
                        out << placed;
                }
            }
        }
    }
    return out;
}

// The values of the elements of one name in a part, each as its attribute's value (the
// element's text where the attribute is empty), in order; a list per enclosing `group`
// element where a group is named.
QList<QStringList> valuesOf(Workbook& book, const QString& part, QLatin1StringView group,
                            QLatin1StringView element, QLatin1StringView attribute) {
    QList<QStringList> out;
    if (group.isEmpty())
        out.append(QStringList());
    QXmlStreamReader xml(book.part(part, false));
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (!group.isEmpty() && xml.name() == group) {
            out.append(QStringList());
            // The enclosing attribute of a group (a rich value's structure) comes first.
            out.back() << xml.attributes().value(QLatin1String("s")).toString();
        } else if (xml.name() == element && !out.isEmpty()) {
            if (attribute.isEmpty()) {
                out.back() << xml.readElementText();
                continue;
            }
            // By its local name: a relationship's id comes with whatever prefix the writer chose.
            QString value;
            for (const QXmlStreamAttribute& a : xml.attributes())
                if (a.name() == attribute)
                    value = a.value().toString();
            out.back() << value;
        }
    }
    return out;
}

// The row (from 1) and column (from 0) of a cell reference such as "C12"; 0 and -1 for none.
std::pair<int, int> cellAt(QStringView ref) {
    qsizetype digits = 0;
    while (digits < ref.size() && !ref[digits].isDigit())
        ++digits;
    const int row = ref.sliced(digits).toInt();
    const int column = columnOf(ref);
    return row > 0 && column >= 0 ? std::pair{row, column} : std::pair{0, -1};
}

// Pictures placed in cells the way Excel writes them ("Place in Cell"): a cell's value
// metadata (its vm attribute, from 1) leads through xl/metadata.xml to a rich value whose
// structure is a local image, and its image relationship to the picture's part. A picture
// the cell only links to (IMAGE() of a web address) is left out.
QList<PlacedPicture> picturesInCells(Workbook& book, const QString& sheetPart) {
    const QString meta = QStringLiteral("xl/metadata.xml");
    const QString richValues = QStringLiteral("xl/richData/rdrichvalue.xml");
    if (!book.has(meta) || !book.has(richValues))
        return {};
    // valueMetadata's blocks point at futureMetadata's blocks, which name rich values.
    const QStringList future =
        valuesOf(book, meta, {}, QLatin1StringView("rvb"), QLatin1StringView("i")).value(0);
    QStringList valueBlocks;
    {
        QXmlStreamReader xml(book.part(meta, false));
        bool inValues = false;
        while (!xml.atEnd() && !xml.hasError()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("valueMetadata"))
                inValues = true;
            else if (xml.isEndElement() && xml.name() == QLatin1String("valueMetadata"))
                inValues = false;
            else if (inValues && xml.isStartElement() && xml.name() == QLatin1String("rc"))
                valueBlocks << xml.attributes().value(QLatin1String("v")).toString();
        }
    }
    // Each structure: the position of its local image's relationship among a value's items.
    QList<int> imageKeyAt;
    for (const QStringList& keys :
         valuesOf(book, QStringLiteral("xl/richData/rdrichvaluestructure.xml"),
                  QLatin1StringView("s"), QLatin1StringView("k"), QLatin1StringView("n"))) {
        // keys[0] is the group's own "s" attribute, empty for a structure.
        imageKeyAt << int(keys.indexOf(QStringLiteral("_rvRel:LocalImageIdentifier"))) - 1;
    }
    const QList<QStringList> values = valuesOf(book, richValues, QLatin1StringView("rv"),
                                               QLatin1StringView("v"), QLatin1StringView());
    const QString relsPart = QStringLiteral("xl/richData/richValueRel.xml");
    const QStringList relIds =
        valuesOf(book, relsPart, {}, QLatin1StringView("rel"), QLatin1StringView("id")).value(0);
    const QHash<QString, QString> images = relationships(book, relsPart, u"/relationships/image");
    const auto pictureOf = [&](int vm) -> QString {
        const int block = valueBlocks.value(vm - 1, QStringLiteral("-1")).toInt();
        const int value = future.value(block, QStringLiteral("-1")).toInt();
        if (value < 0 || value >= values.size())
            return {};
        const QStringList& v = values[value]; // v[0] is its structure
        const int structure = v.value(0).toInt();
        const int key = imageKeyAt.value(structure, -1);
        if (key < 0)
            return {};
        return images.value(relIds.value(v.value(key + 1, QStringLiteral("-1")).toInt()));
    };
    QList<PlacedPicture> out;
    QXmlStreamReader xml(book.part(sheetPart, false));
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("c"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const int vm = a.value(QLatin1String("vm")).toInt();
        if (vm <= 0)
            continue;
        const auto [row, column] = cellAt(a.value(QLatin1String("r")));
        if (const QString part = pictureOf(vm); column >= 0 && row > 0 && !part.isEmpty())
            out << PlacedPicture{row, column, part, {}, true};
    }
    return out;
}

// Pictures placed in cells the way WPS writes them (嵌入单元格的图片): the cell holds the formula
// DISPIMG("<name>", 1), and xl/cellimages.xml gives each name its picture through its own
// relationships. A name the workbook does not hold leaves the cell as it is.
QList<PlacedPicture> picturesOfDispImg(Workbook& book, const QString& sheetPart) {
    const QString store = QStringLiteral("xl/cellimages.xml");
    if (!book.has(store))
        return {};
    const QHash<QString, QString> images = relationships(book, store, u"/relationships/image");
    QHash<QString, QString> partOfName;
    {
        QXmlStreamReader xml(book.part(store, false));
        QString name;
        while (!xml.atEnd() && !xml.hasError()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("cNvPr")) {
                name = xml.attributes().value(QLatin1String("name")).toString();
            } else if (xml.name() == QLatin1String("blip") && !name.isEmpty()) {
                const QXmlStreamAttributes a = xml.attributes();
                for (const QXmlStreamAttribute& attribute : a)
                    if (attribute.name() == QLatin1String("embed"))
                        partOfName.insert(name, images.value(attribute.value().toString()));
                name.clear();
            }
        }
    }
    if (partOfName.isEmpty())
        return {};
    static const QRegularExpression call(
        QStringLiteral(R"re(^\s*=?\s*(?:_xlfn\.)?DISPIMG\s*\(\s*"([^"]+)")re"),
        QRegularExpression::CaseInsensitiveOption);
    QList<PlacedPicture> out;
    QXmlStreamReader xml(book.part(sheetPart, false));
    std::pair<int, int> cell{0, -1};
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("c")) {
            cell = cellAt(xml.attributes().value(QLatin1String("r")));
        } else if (xml.name() == QLatin1String("f")) {
            const QRegularExpressionMatch m = call.match(xml.readElementText());
            const QString part = m.hasMatch() ? partOfName.value(m.captured(1)) : QString();
            if (cell.first > 0 && cell.second >= 0 && !part.isEmpty())
                out << PlacedPicture{cell.first, cell.second, part, {}, true};
        }
    }
    return out;
}

} // namespace

QString columnLetters(int index) {
    QString s;
    for (int n = index + 1; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

QString zipKind(const QString& path) {
    Workbook book(path);
    if (book.has(QStringLiteral("xl/workbook.xml")))
        return QStringLiteral("xlsx");
    if (book.has(QStringLiteral("word/document.xml")))
        return QCoreApplication::translate(
            "velquo-bank", "Word 文档，不是表格：请把题目放进 Excel 或 WPS 表格，另存为 .xlsx "
                           "或 CSV");
    if (book.has(QStringLiteral("ppt/presentation.xml")))
        return QCoreApplication::translate("velquo-bank", "PowerPoint 演示文稿，不是表格");
    if (book.has(QStringLiteral("xl/workbook.bin")))
        return QCoreApplication::translate(
            "velquo-bank", "二进制的 .xlsb 工作簿：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV");
    if (book.has(QStringLiteral("content.xml")) && book.has(QStringLiteral("mimetype"))) {
        const QByteArray mime = book.part(QStringLiteral("mimetype"), false);
        if (mime.contains("spreadsheet"))
            return QCoreApplication::translate(
                "velquo-bank", "OpenDocument 电子表格（.ods）：请另存为 .xlsx 或 CSV");
        return QCoreApplication::translate("velquo-bank", "OpenDocument 文件，不是表格");
    }
    return QCoreApplication::translate("velquo-bank", "zip 压缩包，不是表格");
}

Worksheet readWorksheet(const QString& path, const QString& sheet) {
    Workbook book(path);
    // The sheets in the workbook's order, each with its part.
    struct Entry {
        QString name;
        QString id;
        bool hidden = false;
    };
    QList<Entry> entries;
    bool date1904 = false;
    {
        QXmlStreamReader xml(book.part(QStringLiteral("xl/workbook.xml"), true));
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("workbookPr")) {
                const auto v = xml.attributes().value(QLatin1String("date1904"));
                date1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (xml.name() == QLatin1String("sheet")) {
                Entry e;
                for (const QXmlStreamAttribute& a : xml.attributes()) {
                    if (a.name() == QLatin1String("name") && a.namespaceUri().isEmpty())
                        e.name = a.value().toString();
                    else if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                        e.id = a.value().toString();
                    else if (a.name() == QLatin1String("state"))
                        e.hidden = a.value() != QLatin1String("visible");
                }
                entries << e;
            }
        }
        if (xml.hasError())
            throw vq::Exception(
                damaged(path, QCoreApplication::translate("velquo-bank", "xl/workbook.xml：%1")
                                  .arg(xml.errorString())));
    }
    // Relationship ids to parts; only worksheets count (not chart sheets).
    QHash<QString, QString> worksheetPart;
    QString sharedPart = QStringLiteral("xl/sharedStrings.xml");
    QString stylesPart = QStringLiteral("xl/styles.xml");
    {
        QXmlStreamReader xml(book.part(QStringLiteral("xl/_rels/workbook.xml.rels"), true));
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement() || xml.name() != QLatin1String("Relationship"))
                continue;
            const QXmlStreamAttributes a = xml.attributes();
            const QString type = a.value(QLatin1String("Type")).toString();
            const QString target =
                partPath(QStringLiteral("xl"), a.value(QLatin1String("Target")).toString());
            if (type.endsWith(QLatin1String("/worksheet")))
                worksheetPart.insert(a.value(QLatin1String("Id")).toString(), target);
            else if (type.endsWith(QLatin1String("/sharedStrings")))
                sharedPart = target;
            else if (type.endsWith(QLatin1String("/styles")))
                stylesPart = target;
        }
    }
    QList<Entry> worksheets;
    for (const Entry& e : entries)
        if (worksheetPart.contains(e.id))
            worksheets << e;
    if (worksheets.isEmpty())
        throw vq::Exception(
            damaged(path, QCoreApplication::translate("velquo-bank", "其中没有工作表")));
    qsizetype chosen = -1;
    QStringList names;
    for (const Entry& e : worksheets)
        names << e.name;
    if (!sheet.isEmpty()) {
        chosen = names.indexOf(sheet);
        if (chosen < 0)
            throw vq::Exception(
                QCoreApplication::translate("velquo-bank",
                                            "%1：工作簿中没有工作表“%2”（现有的工作表：%3）")
                    .arg(QFileInfo(path).fileName(), sheet, names.join(listSeparator())));
    } else {
        for (qsizetype i = 0; i < worksheets.size() && chosen < 0; ++i)
            if (!worksheets[i].hidden)
                chosen = i;
        if (chosen < 0)
            chosen = 0;
    }
    Worksheet out;
    out.name = worksheets[chosen].name;
    for (qsizetype i = 0; i < worksheets.size(); ++i)
        if (i != chosen)
            out.otherSheets << worksheets[i].name;

    // The sheet's cells and the shared strings are read in pieces on every core; shared
    // strings are put in afterwards.
    const QList<bool> dates = dateStyles(book, stylesPart);
    const QString cellsPart = worksheetPart.value(worksheets[chosen].id);
    std::optional<SheetParts> parts =
        PiecewiseRead(path, cellsPart, sharedPart, dates, date1904).run();
    if (!parts) {
        detail::xlsxLastPieces.wholeAgain = true;
        parts = readPartsWhole(path, cellsPart, sharedPart, dates, date1904);
    }
    const QStringList& strings = parts->strings;
    SheetCells& cells = parts->cells;
    // In the order reading the sheet meets them: a missing shared string before a later error.
    for (const SharedCell& c : cells.shared) {
        if (c.index < 0 || c.index >= strings.size())
            throw vq::Exception(
                damaged(path, QCoreApplication::translate("velquo-bank",
                                                          "单元格 %1%2 引用的共享字符串不存在")
                                  .arg(columnLetters(c.column))
                                  .arg(cells.rows[c.row].row)));
        const QString& text = strings[c.index];
        if (text.isEmpty() || c.column < 0 || c.column > 16383)
            continue;
        QStringList& row = cells.rows[c.row].cells;
        if (row.size() <= c.column)
            row.resize(c.column + 1);
        row[c.column] = text;
    }
    if (!cells.error.isEmpty())
        throw vq::Exception(
            damaged(path, QCoreApplication::translate("velquo-bank", "工作表“%1”：%2")
                              .arg(out.name, cells.error)));
    for (SheetRow& row : cells.rows)
        if (!row.cells.isEmpty())
            out.rows << std::move(row);
    const QList<PlacedPicture> pictures = placedPictures(book, cellsPart) +
                                          picturesInCells(book, cellsPart) +
                                          picturesOfDispImg(book, cellsPart);
    int missingPictures = 0;
    for (PlacedPicture p : pictures) {
        p.bytes = book.part(p.part, false);
        // A picture whose part the workbook lacks is no picture.
        if (p.bytes.isEmpty()) {
            ++missingPictures;
            continue;
        }
        // A picture in a cell stands where the cell's value would: its text ("#VALUE!" for
        // programs that know no such values) is none.
        if (p.inCell)
            for (SheetRow& row : out.rows)
                if (row.row == p.row && p.column < row.cells.size())
                    row.cells[p.column].clear();
        out.pictures << std::move(p);
    }
    if (missingPictures)
        out.notes << QCoreApplication::translate(
                         "velquo-bank", "工作簿中有 %1 张图片只有位置，缺少图片本身，没有读入")
                         .arg(missingPictures);
    const int formulasWithoutValue = cells.formulasWithoutValue;
    const int firstFormulaRow = cells.firstFormulaRow;
    if (formulasWithoutValue)
        out.notes << QCoreApplication::translate(
                         "velquo-bank",
                         "%1 个公式没有保存计算结果，按空白读入（第一个在第 %2 行）：请在 "
                         "Excel 或 WPS 中打开工作簿后重新保存")
                         .arg(formulasWithoutValue)
                         .arg(firstFormulaRow);
    return out;
}

} // namespace vq::bank
