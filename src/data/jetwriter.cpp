#include "data/jetwriter.h"

#include "data/bankschema.h"

#include "data/jetheader.h"
#include "platform/exception.h"

#include <QDateTime>
#include <QSaveFile>
#include <QTimeZone>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vq::jet {
namespace {

constexpr int kDataHeader = 14; // data page header before the row offsets
constexpr int kMaxRowLength = kPageSize - kDataHeader - 2; // one row alone on a page
constexpr int kMaxRowsPerPage = 255;              // a row pointer holds the row in one byte
constexpr int kRowBudget = 4000;                  // rows are kept below Jet's record limit
constexpr int kInlineMemoLimit = 1024;            // longer memo values go to LVAL pages
constexpr int kLvalChunk = kMaxRowLength - 4;     // data bytes per part of a chained value
constexpr int kMaxLongValue = 0xFFFFFF;           // 24-bit length field
constexpr int kMapPageBits = (kPageSize - 4) * 8; // pages covered by one 0x05 page
constexpr int kMaxInlineMapBytes = 3900;          // bitmap bytes of an inline (type 0) map

// Raw column type codes of the format.
enum RawType : std::uint8_t {
    tInt16 = 0x03,
    tLong = 0x04,
    tDateTime = 0x08,
    tBinary = 0x09,
    tText = 0x0A,
    tOle = 0x0B,
    tMemo = 0x0C,
};

constexpr std::uint8_t kFlagFixed = 0x01;
constexpr std::uint8_t kFlagNullable = 0x02;
constexpr std::uint8_t kFlagUpdatable = 0x10;
constexpr std::uint8_t kMiscCompressedUnicode = 0x01;
constexpr std::uint16_t kSortGeneral = 0x0409;

void put16(QByteArray& b, int at, std::uint32_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}
void put32(QByteArray& b, int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}
void append16(QByteArray& b, std::uint32_t v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void append32(QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

QByteArray ucs2(const QString& s) {
    QByteArray out(s.size() * 2, Qt::Uninitialized);
    qToLittleEndian<quint16>(s.utf16(), s.size(), out.data());
    return out;
}

// UCS-2 into `out`, in the room it already has.
void ucs2Into(const QString& s, QByteArray& out) {
    out.resize(s.size() * 2);
    qToLittleEndian<quint16>(s.utf16(), s.size(), out.data());
}

// Text as Jet 4 stores it, into `out` (whose room is used again from row to row): UCS-2, or
// the compressed form (marker FF FE, one byte per character whose high byte is zero) when that
// is shorter. A character with a zero low byte cannot be represented inside the compressed
// form, so such texts stay plain. A plain text that starts with U+FEFF would read back as
// compressed, so it always goes compressed.
void encodeText(const QString& s, QByteArray& out) {
    // One pass without an early exit and with 32-bit counts, which the compiler turns into
    // vector code: most texts of a big bank are long and plain. (A text long enough to wrap
    // the count is refused as too long before it is stored.)
    const char16_t* chars = QStringView(s).utf16();
    const qsizetype size = s.size();
    quint32 zeroLow = 0;
    quint32 narrow = 0;
    for (qsizetype i = 0; i < size; ++i) {
        zeroLow |= (chars[i] & 0xFF) == 0;
        narrow += chars[i] < 0x100;
    }
    const bool startsWithMarker = size > 0 && chars[0] == 0xFEFF;
    if (zeroLow || (!startsWithMarker && qsizetype(narrow) * 2 <= size + 2)) {
        ucs2Into(s, out); // nothing to gain (a rough but safe estimate)
        return;
    }
    // At most a switch byte and two bytes per character after the marker.
    out.resize(2 + size * 3);
    char* d = out.data();
    *d++ = char(0xFF);
    *d++ = char(0xFE);
    bool compressed = true;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        const bool isNarrow = c < 0x100;
        if (isNarrow != compressed) {
            *d++ = '\0';
            compressed = isNarrow;
        }
        *d++ = char(c & 0xFF);
        if (!compressed)
            *d++ = char(c >> 8);
    }
    out.truncate(d - out.data());
    if (!startsWithMarker && out.size() >= size * 2)
        ucs2Into(s, out);
}

// Whether every reader gets the text back as it is: stored text that begins with FF FE reads
// as compressed, and the compressed form cannot hold a character whose low byte is zero.
bool readsBack(const QString& s) {
    if (!s.startsWith(QChar(0xFEFF)))
        return true;
    for (QChar c : s)
        if ((c.unicode() & 0xFF) == 0)
            return false;
    return true;
}

QString unreadable() {
    return QStringLiteral("以 U+FEFF 开头的文本中不能再有低字节为零的字符");
}

// The bank's creation time: now, or the moment SOURCE_DATE_EPOCH names (seconds since 1970, the
// usual switch of reproducible builds), so that one list makes the same bank byte for byte
// wherever and whenever it is built (that moment is written as its UTC wall-clock time, so the
// machine's time zone does not change it either).
QDateTime creationTime() {
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (ok && epoch >= 0)
        return QDateTime::fromSecsSinceEpoch(epoch, QTimeZone::utc());
    return QDateTime::currentDateTime();
}

double oleDate(const QDateTime& t) {
    // Days since 1899-12-30 00:00 local time, the fraction being the time of day.
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), QTimeZone::utc());
    const QDateTime wallClock(t.date(), t.time(), QTimeZone::utc());
    return double(epoch.msecsTo(wallClock)) / 86400000.0;
}

struct RawColumn {
    QString name;
    std::uint8_t type;
    int length = 0; // bytes: fixed size, text bytes (2 per char), 0 for long values
    bool fixed() const { return type == tInt16 || type == tLong || type == tDateTime; }
    bool longValue() const { return type == tMemo || type == tOle; }
};

struct RawTable {
    QString name;
    bool system = false;
    QList<RawColumn> columns;
    const QList<QList<QVariant>>* rows = nullptr;
};

// A data or LVAL page being filled: rows grow from the end, offsets from the header.
class PageBuilder {
public:
    PageBuilder(std::vector<QByteArray>& pages, quint32 owner, bool lval)
        : m_pages(pages), m_owner(owner), m_lval(lval) {}

    bool open() const { return m_index != 0; }
    bool fits(int length) const {
        return open() && m_count < kMaxRowsPerPage &&
               kDataHeader + 2 * (m_count + 1) + length <= m_end;
    }
    // Places the row, on a fresh page when it does not fit; returns page << 8 | row.
    quint32 add(const QByteArray& row) {
        if (row.size() > kMaxRowLength)
            throw vq::Exception(
                QStringLiteral("内部错误：%1 字节的一行放不进一页").arg(row.size()));
        if (!fits(int(row.size())))
            start();
        QByteArray& p = m_pages[m_index];
        m_end -= int(row.size());
        std::memcpy(p.data() + m_end, row.constData(), size_t(row.size()));
        put16(p, kDataHeader + 2 * m_count, quint32(m_end));
        ++m_count;
        put16(p, 12, quint32(m_count));
        put16(p, 2, quint32(m_end - kDataHeader - 2 * m_count));
        return (m_index << 8) | quint32(m_count - 1);
    }
    const QList<quint32>& pagesUsed() const { return m_used; }

private:
    void start() {
        m_index = quint32(m_pages.size());
        QByteArray p(kPageSize, '\0');
        p[0] = 0x01;
        p[1] = 0x01;
        if (m_lval)
            std::memcpy(p.data() + 4, "LVAL", 4);
        else
            put32(p, 4, m_owner);
        put16(p, 2, kPageSize - kDataHeader);
        m_pages.push_back(p);
        m_used.append(m_index);
        m_count = 0;
        m_end = kPageSize;
    }

    std::vector<QByteArray>& m_pages;
    quint32 m_owner;
    bool m_lval;
    quint32 m_index = 0;
    int m_count = 0;
    int m_end = kPageSize;
    QList<quint32> m_used;
};

class FileBuilder {
public:
    std::vector<QByteArray> pages;

    quint32 allocate(char type) {
        QByteArray p(kPageSize, '\0');
        p[0] = type;
        p[1] = 0x01;
        pages.push_back(p);
        return quint32(pages.size() - 1);
    }

    // A usage map row for the given pages: inline bitmap (type 0) when the pages lie close
    // together, otherwise a list of bitmap pages (type 1).
    QByteArray usageMap(QList<quint32> used) {
        std::sort(used.begin(), used.end());
        QByteArray map;
        const quint32 first = used.isEmpty() ? 0 : used.front();
        const quint32 span = used.isEmpty() ? 0 : used.back() - first + 1;
        if (span <= quint32(kMaxInlineMapBytes) * 8) {
            map.append('\0');
            append32(map, first);
            QByteArray bits(std::max<int>(64, int((span + 7) / 8)), '\0');
            for (quint32 p : used)
                bits[int((p - first) / 8)] =
                    char(bits[int((p - first) / 8)] | (1 << ((p - first) % 8)));
            map.append(bits);
            return map;
        }
        const quint32 mapPages = used.back() / kMapPageBits + 1;
        map.append('\x01');
        std::vector<quint32> pointers(mapPages, 0);
        for (quint32 p : used) {
            const quint32 slot = p / kMapPageBits;
            if (pointers[slot] == 0)
                pointers[slot] = allocate(0x05);
            QByteArray& page = pages[pointers[slot]];
            const quint32 bit = p % kMapPageBits;
            page[int(4 + bit / 8)] = char(page[int(4 + bit / 8)] | (1 << (bit % 8)));
        }
        for (quint32 ptr : pointers)
            append32(map, ptr);
        return map;
    }
};

// Appends a long value's field to the row: its 12-byte head, then the value itself when it
// stays in the row, else the pointer to where it went on the LVAL pages.
void appendLongValue(QByteArray& row, PageBuilder& lval, const QByteArray& data,
                     bool inlineAllowed) {
    if (data.size() > kMaxLongValue)
        throw vq::Exception(QStringLiteral("长值有 %1 字节，超过了 %2 字节的上限")
                                .arg(data.size())
                                .arg(kMaxLongValue));
    const int head = int(row.size());
    row.append(12, '\0');
    put32(row, head, quint32(data.size()));
    if (inlineAllowed) {
        row[head + 3] = char(0x80);
        row.append(data);
        return;
    }
    if (data.size() <= kMaxRowLength) {
        row[head + 3] = char(0x40);
        put32(row, head + 4, lval.add(data));
        return;
    }
    // A chain of parts, each led by the pointer to the next; placed from the last part on.
    QList<QByteArray> parts;
    for (qsizetype at = 0; at < data.size(); at += kLvalChunk)
        parts.append(data.mid(at, kLvalChunk));
    quint32 next = 0;
    for (qsizetype i = parts.size() - 1; i >= 0; --i) {
        QByteArray part;
        append32(part, next);
        part.append(parts[i]);
        next = lval.add(part);
    }
    put32(row, head + 4, next);
}

QString describeValue(const QVariant& v) {
    QString s = v.toString();
    if (s.size() > 40)
        s = s.left(40) + QStringLiteral("...");
    return s;
}

struct Cell {
    bool null = true;
    QByteArray bytes; // encoded value (text/binary) or fixed bytes
    bool longValue = false;
};

// Builds the rows of one table onto data pages; long values onto its LVAL pages.
struct TableLayout {
    quint32 tdefPage = 0;
    quint32 rowCount = 0;
    QList<quint32> dataPages;
    QList<QList<quint32>> lvalPages; // per long-value column (by position among them)
};

qint64 wholeNumber(const QVariant& v, bool* ok) {
    *ok = false;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return v.toLongLong(ok);
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (d == double(qint64(d))) {
            *ok = true;
            return qint64(d);
        }
        return 0;
    }
    default:
        return v.toString().trimmed().toLongLong(ok);
    }
}

// Encodes the value into `cell`, whose room is used again from row to row.
void encodeCell(const RawTable& t, const RawColumn& c, const QVariant& v, int rowIndex,
                Cell& cell) {
    cell.null = !v.isValid() || v.isNull();
    cell.longValue = false;
    if (cell.null)
        return;
    const auto fail = [&](const QString& why) {
        return vq::Exception(QStringLiteral("表“%1”第 %2 行“%3”列：%4")
                                 .arg(t.name)
                                 .arg(rowIndex + 1)
                                 .arg(c.name, why));
    };
    switch (c.type) {
    case tInt16:
    case tLong: {
        bool ok = false;
        const qint64 n = wholeNumber(v, &ok);
        const qint64 lo = c.type == tLong ? INT32_MIN : INT16_MIN;
        const qint64 hi = c.type == tLong ? INT32_MAX : INT16_MAX;
        if (!ok)
            throw fail(QStringLiteral("“%1”不是整数").arg(describeValue(v)));
        if (n < lo || n > hi)
            throw fail(QStringLiteral("%1 超出范围").arg(n));
        cell.bytes.resize(0);
        if (c.type == tLong)
            append32(cell.bytes, quint32(std::int32_t(n)));
        else
            append16(cell.bytes, quint32(std::uint16_t(std::int16_t(n))));
        return;
    }
    case tDateTime: {
        const double d =
            v.typeId() == QMetaType::QDateTime ? oleDate(v.toDateTime()) : v.toDouble();
        cell.bytes.resize(8);
        std::memcpy(cell.bytes.data(), &d,
                    8); // little-endian IEEE double on every target we build for
        return;
    }
    case tText: {
        const QString s = v.toString();
        if (!readsBack(s))
            throw fail(unreadable());
        if (s.size() * 2 > c.length)
            throw fail(QStringLiteral("文本有 %1 个字符，超过了列的大小 %2")
                           .arg(s.size())
                           .arg(c.length / 2));
        encodeText(s, cell.bytes);
        return;
    }
    case tMemo: {
        const QString s = v.toString();
        if (!readsBack(s))
            throw fail(unreadable());
        encodeText(s, cell.bytes);
        cell.longValue = true;
        return;
    }
    case tBinary:
    case tOle:
        cell.bytes = v.toByteArray();
        cell.longValue = c.type == tOle;
        if (c.type == tBinary && cell.bytes.size() > c.length)
            throw fail(QStringLiteral("二进制值超过 %1 字节").arg(c.length));
        return;
    default:
        throw fail(QStringLiteral("不支持的列类型"));
    }
}

QByteArray buildTdef(const RawTable& t, const TableLayout& layout, quint32 usagePtr,
                     quint32 freePtr, const QList<std::pair<quint32, quint32>>& lvalMaps) {
    QByteArray p(kPageSize, '\0');
    p[0] = 0x02;
    p[1] = 0x01;
    put32(p, 16, layout.rowCount);
    p[24] = 0x01;
    p[40] = char(t.system ? 0x53 : 0x4E);
    int vars = 0;
    for (const RawColumn& c : t.columns)
        vars += c.fixed() ? 0 : 1;
    put16(p, 41, quint32(t.columns.size()));
    put16(p, 43, quint32(vars));
    put16(p, 45, quint32(t.columns.size()));
    put32(p, 47, 0);
    put32(p, 51, 0);
    put32(p, 55, usagePtr);
    put32(p, 59, freePtr);

    QByteArray body;
    int fixedOffset = 0;
    int varIndex = 0;
    for (int i = 0; i < t.columns.size(); ++i) {
        const RawColumn& c = t.columns[i];
        QByteArray e(25, '\0');
        e[0] = char(c.type);
        put16(e, 5, quint32(i));
        put16(e, 7, c.fixed() ? 0 : quint32(varIndex));
        put16(e, 11, kSortGeneral);
        e[15] = char((c.fixed() ? kFlagFixed : 0) | kFlagNullable | kFlagUpdatable);
        if (!t.system && (c.type == tText || c.type == tMemo))
            e[16] = char(kMiscCompressedUnicode);
        put16(e, 21, c.fixed() ? quint32(fixedOffset) : 0);
        put16(e, 23, quint32(c.length));
        if (c.fixed())
            fixedOffset += c.length;
        else
            ++varIndex;
        body.append(e);
    }
    for (const RawColumn& c : t.columns) {
        const QByteArray name = ucs2(c.name);
        append16(body, quint32(name.size()));
        body.append(name);
    }
    int lv = 0;
    for (int i = 0; i < t.columns.size(); ++i) {
        if (!t.columns[i].longValue())
            continue;
        append16(body, quint32(i));
        append32(body, lvalMaps[lv].first);
        append32(body, lvalMaps[lv].second);
        ++lv;
    }
    append16(body, 0xFFFF);
    append32(body, 0);
    append32(body, 0);
    if (63 + body.size() > kPageSize)
        throw vq::Exception(QStringLiteral("表“%1”的定义太大").arg(t.name));
    std::memcpy(p.data() + 63, body.constData(), size_t(body.size()));
    const int tdefLength = 63 + int(body.size()) - 8;
    put32(p, 8, quint32(tdefLength));
    put16(p, 2, quint32(kPageSize - 8 - tdefLength));
    return p;
}

// The cells of a table's rows as they go onto the pages, asked for in order. A big table's rows
// are encoded a block ahead on a second thread while the caller places them: the encoding is
// about half the work.
class RowEncoder {
public:
    explicit RowEncoder(const RawTable& t)
        : m_table(t), m_columns(int(t.columns.size())), m_rows(t.rows ? int(t.rows->size()) : 0) {
        const bool ahead = m_rows >= 4 * kBlock;
        for (Slot& s : m_slots)
            s.cells.resize(size_t(m_columns) * (ahead ? kBlock : 1));
        if (ahead)
            m_thread = std::thread([this] { encodeAhead(); });
    }
    ~RowEncoder() {
        if (!m_thread.joinable())
            return;
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    RowEncoder(const RowEncoder&) = delete;
    RowEncoder& operator=(const RowEncoder&) = delete;

    // Row r's cells; throws what encoding the row threw.
    const Cell* row(int r) {
        if (!m_thread.joinable()) {
            encode(r, m_slots[0].cells.data());
            return m_slots[0].cells.data();
        }
        const int block = r / kBlock;
        Slot& slot = m_slots[block % 2];
        if (r % kBlock == 0) {
            std::unique_lock lock(m_mutex);
            if (block > 0) {
                m_slots[(block - 1) % 2].ready = false;
                m_changed.notify_all();
            }
            m_changed.wait(lock, [&] { return slot.ready && slot.first == block * kBlock; });
        }
        if (slot.error && r >= slot.errorRow)
            std::rethrow_exception(slot.error);
        return slot.cells.data() + size_t(r - slot.first) * size_t(m_columns);
    }

private:
    static constexpr int kBlock = 256;
    struct Slot {
        std::vector<Cell> cells;
        int first = -1;
        bool ready = false;
        std::exception_ptr error;
        int errorRow = 0;
    };

    void encode(int r, Cell* cells) const {
        const QList<QVariant>& row = (*m_table.rows)[r];
        if (row.size() > m_columns)
            throw vq::Exception(QStringLiteral("表“%1”第 %2 行：%3 个值，但只有 %4 列")
                                    .arg(m_table.name)
                                    .arg(r + 1)
                                    .arg(row.size())
                                    .arg(m_columns));
        for (int i = 0; i < m_columns; ++i)
            encodeCell(m_table, m_table.columns[i], i < row.size() ? row[i] : QVariant(), r,
                       cells[i]);
    }

    void encodeAhead() {
        for (int first = 0; first < m_rows; first += kBlock) {
            Slot& slot = m_slots[(first / kBlock) % 2];
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_stop || !slot.ready; });
                if (m_stop)
                    return;
            }
            std::exception_ptr error;
            int r = first;
            try {
                for (; r < std::min(first + kBlock, m_rows); ++r)
                    encode(r, slot.cells.data() + size_t(r - first) * size_t(m_columns));
            } catch (...) {
                error = std::current_exception();
            }
            {
                const std::lock_guard lock(m_mutex);
                slot.first = first;
                slot.error = error;
                slot.errorRow = r;
                slot.ready = true;
            }
            m_changed.notify_all();
            if (error)
                return;
        }
    }

    const RawTable& m_table;
    const int m_columns;
    const int m_rows;
    Slot m_slots[2];
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stop = false;
    std::thread m_thread;
};

// Writes the rows of a table; the definition page is filled in later.
TableLayout writeRows(FileBuilder& file, const RawTable& t, quint32 tdefPage,
                      const std::function<void(int)>& progress) {
    TableLayout layout;
    layout.tdefPage = tdefPage;
    PageBuilder data(file.pages, tdefPage, false);
    std::vector<PageBuilder> lvals;
    QList<int> lvalSlot(t.columns.size(), -1);
    for (int i = 0; i < t.columns.size(); ++i) {
        if (t.columns[i].longValue()) {
            lvalSlot[i] = int(lvals.size());
            lvals.emplace_back(file.pages, 0, true);
        }
    }
    const int columnCount = int(t.columns.size());
    int fixedSize = 0;
    int varCount = 0;
    for (const RawColumn& c : t.columns) {
        if (c.fixed())
            fixedSize += c.length;
        else
            ++varCount;
    }
    const int maskSize = (columnCount + 7) / 8;
    const int rowCount = t.rows ? int(t.rows->size()) : 0;
    RowEncoder encoded(t);
    std::vector<bool> inlineOk(size_t(columnCount), false);
    // One row's buffers, kept from row to row.
    QByteArray out;
    QByteArray mask;
    QList<quint16> offsets;
    for (int r = 0; r < rowCount; ++r) {
        const Cell* cells = encoded.row(r);
        int overhead = 2 + fixedSize + (varCount > 0 ? 4 + 2 * varCount : 0) + maskSize;
        int varBytes = 0;
        for (int i = 0; i < columnCount; ++i) {
            const Cell& c = cells[size_t(i)];
            if (c.null)
                continue;
            if (c.longValue)
                varBytes +=
                    12 + (int(c.bytes.size()) <= kInlineMemoLimit ? int(c.bytes.size()) : 0);
            else if (!t.columns[i].fixed())
                varBytes += int(c.bytes.size());
        }
        // Inline long values while the row stays within the budget, largest moved out first.
        for (int i = 0; i < columnCount; ++i)
            inlineOk[size_t(i)] = cells[size_t(i)].longValue && !cells[size_t(i)].null &&
                                  cells[size_t(i)].bytes.size() <= kInlineMemoLimit;
        while (overhead + varBytes > kRowBudget) {
            int largest = -1;
            for (int i = 0; i < columnCount; ++i)
                if (inlineOk[size_t(i)] && (largest < 0 || cells[size_t(i)].bytes.size() >
                                                               cells[size_t(largest)].bytes.size()))
                    largest = i;
            if (largest < 0)
                break;
            inlineOk[size_t(largest)] = false;
            varBytes -= int(cells[size_t(largest)].bytes.size());
        }
        if (overhead + varBytes > kMaxRowLength)
            throw vq::Exception(QStringLiteral("表“%1”第 %2 行：这一行太长（%3 字节）")
                                    .arg(t.name)
                                    .arg(r + 1)
                                    .arg(overhead + varBytes));

        out.resize(0);
        out.reserve(overhead + varBytes);
        append16(out, quint32(columnCount));
        mask.fill('\0', maskSize);
        for (int i = 0; i < columnCount; ++i) {
            const RawColumn& col = t.columns[i];
            if (!col.fixed())
                continue;
            const Cell& c = cells[size_t(i)];
            out.append(c.null ? QByteArray(col.length, '\0') : c.bytes);
        }
        offsets.clear();
        for (int i = 0; i < columnCount; ++i) {
            const RawColumn& col = t.columns[i];
            if (col.fixed())
                continue;
            offsets.append(quint16(out.size()));
            const Cell& c = cells[size_t(i)];
            if (c.null)
                continue;
            if (c.longValue)
                appendLongValue(out, lvals[size_t(lvalSlot[i])], c.bytes, inlineOk[size_t(i)]);
            else
                out.append(c.bytes);
        }
        for (int i = 0; i < columnCount; ++i)
            if (!cells[size_t(i)].null)
                mask[i / 8] = char(mask[i / 8] | (1 << (i % 8)));
        if (varCount > 0) {
            append16(out, quint32(out.size())); // end of the variable data
            for (qsizetype i = offsets.size() - 1; i >= 0; --i)
                append16(out, offsets[i]);
            append16(out, quint32(varCount));
        }
        out.append(mask);
        data.add(out);
        if (progress && (r + 1) % 10000 == 0)
            progress(r + 1);
    }
    layout.rowCount = quint32(rowCount);
    layout.dataPages = data.pagesUsed();
    for (const PageBuilder& l : lvals)
        layout.lvalPages.append(l.pagesUsed());
    return layout;
}

RawTable rawFromPublic(const Table& t) {
    RawTable raw;
    raw.name = t.name;
    raw.rows = &t.rows;
    for (const Column& c : t.columns) {
        RawColumn rc;
        rc.name = c.name;
        switch (c.type) {
        case ColumnType::Long:
            rc.type = tLong;
            rc.length = 4;
            break;
        case ColumnType::Text:
            if (c.size < 1 || c.size > kMaxTextColumnSize)
                throw vq::Exception(QStringLiteral("表“%2”的“%1”列：文本大小 %3 不在 1 到 %4 之间")
                                        .arg(c.name, t.name)
                                        .arg(c.size)
                                        .arg(kMaxTextColumnSize));
            rc.type = tText;
            rc.length = c.size * 2;
            break;
        case ColumnType::Memo:
            rc.type = tMemo;
            rc.length = 0;
            break;
        }
        raw.columns.append(rc);
    }
    return raw;
}

void checkName(const QString& what, const QString& name) {
    if (name.trimmed().isEmpty())
        throw vq::Exception(QStringLiteral("%1名是空的").arg(what));
    if (name.size() > kMaxNameLength)
        throw vq::Exception(
            QStringLiteral("%1名“%2”超过 %3 个字符").arg(what, name).arg(kMaxNameLength));
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == u'.' || c == u'!' || c == u'`' || c == u'[' || c == u']')
            throw vq::Exception(QStringLiteral("%1名“%2”含有数据库不允许的字符").arg(what, name));
}

QList<RawColumn> catalogColumns() {
    return {
        {QStringLiteral("Id"), tLong, 4},
        {QStringLiteral("ParentId"), tLong, 4},
        {QStringLiteral("Name"), tText, 510},
        {QStringLiteral("Type"), tInt16, 2},
        {QStringLiteral("DateCreate"), tDateTime, 8},
        {QStringLiteral("DateUpdate"), tDateTime, 8},
        {QStringLiteral("Owner"), tBinary, 255},
        {QStringLiteral("Flags"), tLong, 4},
        {QStringLiteral("Database"), tMemo, 0},
        {QStringLiteral("Connect"), tMemo, 0},
        {QStringLiteral("ForeignName"), tText, 510},
        {QStringLiteral("RmtInfoShort"), tBinary, 255},
        {QStringLiteral("RmtInfoLong"), tOle, 0},
        {QStringLiteral("Lv"), tOle, 0},
        {QStringLiteral("LvProp"), tOle, 0},
        {QStringLiteral("LvModule"), tOle, 0},
        {QStringLiteral("LvExtra"), tOle, 0},
    };
}

QByteArray headerPage(const QString& password, double created) {
    QByteArray p(kPageSize, '\0');
    static const char prefix[] = "\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00";
    std::memcpy(p.data(), prefix, 0x18);
    // The fixed part of the masked region, as every Jet 4 file carries it.
    static const std::uint8_t fixed[] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00,
                                         0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
                                         0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
    std::memcpy(p.data() + 0x18, fixed, sizeof fixed);
    put16(p, 0x3C, 1252); // code page of the creating system's non-Unicode text
    put32(p, 0x3E, 0);    // no page encryption
    storePassword(p, password, created);
    put32(p, 0x6E, kSortGeneral); // default sort order: General, version 0
    static const std::uint8_t tail[] = {0x54, 0x06, 0x00, 0x00, 0x34, 0x2E, 0x30, 0x00};
    std::memcpy(p.data() + 0x98, tail, sizeof tail);
    toggleHeaderMask(p);
    return p;
}

} // namespace

Table questionTable(const QList<Question>& questions) {
    using namespace bankschema;
    Table t{
        kTable,
        {{kNumber, ColumnType::Long}, {kQuestion, ColumnType::Memo}, {kAnswer, ColumnType::Memo}},
        {}};
    t.rows.reserve(questions.size());
    for (const Question& q : questions)
        t.rows.append({q.number, q.question, q.answer});
    return t;
}

void writeDatabase(const QString& path, QList<Table> tables, const WriteOptions& options) {
    if (options.password.size() > kMaxPasswordLength)
        throw vq::Exception(QStringLiteral("数据库密码超过 %1 个字符").arg(kMaxPasswordLength));
    QStringList seen;
    for (const Table& t : tables) {
        checkName(QStringLiteral("表"), t.name);
        if (t.name.startsWith(QStringLiteral("MSys"), Qt::CaseInsensitive))
            throw vq::Exception(QStringLiteral("表名“%1”留给系统目录使用").arg(t.name));
        if (seen.contains(t.name, Qt::CaseInsensitive))
            throw vq::Exception(QStringLiteral("表“%1”出现了两次").arg(t.name));
        seen.append(t.name);
        if (t.columns.isEmpty())
            throw vq::Exception(QStringLiteral("表“%1”没有列").arg(t.name));
        QStringList columnNames;
        for (const Column& c : t.columns) {
            checkName(QStringLiteral("列"), c.name);
            if (columnNames.contains(c.name, Qt::CaseInsensitive))
                throw vq::Exception(QStringLiteral("表“%1”中“%2”列出现了两次").arg(t.name, c.name));
            columnNames.append(c.name);
        }
    }

    const double created = oleDate(creationTime());
    FileBuilder file;
    file.pages.push_back(headerPage(options.password, created)); // page 0
    file.allocate(0x01);                                         // page 1: global usage map
    file.allocate(0x02);                                         // page 2: the catalog's definition

    QList<RawTable> raws;
    QList<TableLayout> layouts;
    for (const Table& t : tables) {
        RawTable raw = rawFromPublic(t);
        const quint32 tdef = file.allocate(0x02);
        layouts.append(writeRows(file, raw, tdef, {}));
        raws.append(raw);
    }

    // The catalog: the containers, the database object, the catalog itself and the tables.
    const QVariant now(created);
    const auto object = [&](qint64 id, qint64 parent, const QString& name, int type, qint64 flags) {
        QList<QVariant> row(17);
        row[0] = id;
        row[1] = parent;
        row[2] = name;
        row[3] = type;
        row[4] = now;
        row[5] = now;
        row[7] = flags;
        return row;
    };
    constexpr qint64 kSystemFlag = INT32_MIN; // 0x80000000
    QList<QList<QVariant>> catalogRows;
    catalogRows << object(0x0F000001, 0x0F000000, QStringLiteral("Tables"), 3, kSystemFlag)
                << object(0x0F000002, 0x0F000000, QStringLiteral("Databases"), 3, kSystemFlag)
                << object(0x0F000003, 0x0F000000, QStringLiteral("Relationships"), 3, kSystemFlag)
                << object(0x10000000, 0x0F000002, QStringLiteral("MSysDb"), 2, kSystemFlag)
                << object(2, 0x0F000001, QStringLiteral("MSysObjects"), 1, kSystemFlag);
    for (qsizetype i = 0; i < raws.size(); ++i)
        catalogRows << object(layouts[i].tdefPage, 0x0F000001, raws[i].name, 1, 0);
    RawTable catalog;
    catalog.name = QStringLiteral("MSysObjects");
    catalog.system = true;
    catalog.columns = catalogColumns();
    catalog.rows = &catalogRows;
    const TableLayout catalogLayout = writeRows(file, catalog, 2, {});
    // The rows are on the pages: a big table's texts are freed while the file is written and
    // synced (only references go where the caller still holds the tables).
    for (RawTable& raw : raws)
        raw.rows = nullptr;
    const std::jthread letGo([rows = std::move(tables)]() mutable { rows.clear(); });

    // Usage maps go onto their own data pages, owned by no table.
    PageBuilder maps(file.pages, 0, false);
    const auto placeTable = [&](const RawTable& t, const TableLayout& l) {
        const quint32 used = maps.add(file.usageMap(l.dataPages));
        const quint32 freeMap = maps.add(file.usageMap({}));
        QList<std::pair<quint32, quint32>> lv;
        for (const QList<quint32>& pagesOfColumn : l.lvalPages) {
            const quint32 u = maps.add(file.usageMap(pagesOfColumn));
            lv.append({u, maps.add(file.usageMap({}))});
        }
        file.pages[l.tdefPage] = buildTdef(t, l, used, freeMap, lv);
    };
    placeTable(catalog, catalogLayout);
    for (qsizetype i = 0; i < raws.size(); ++i)
        placeTable(raws[i], layouts[i]);

    // The global map of page 1 marks every page of the file as in use.
    {
        QList<quint32> all;
        const quint32 total = quint32(file.pages.size());
        QByteArray& p1 = file.pages[1];
        PageBuilder global(file.pages, 0, false);
        (void)global;
        QByteArray map;
        map.append('\0');
        append32(map, 0);
        QByteArray bits(std::max<int>(64, int((total + 7) / 8)), '\0');
        if (bits.size() <= kMaxRowLength - 5 - 200) {
            for (quint32 i = 0; i < total; ++i)
                bits[int(i / 8)] = char(bits[int(i / 8)] | (1 << (i % 8)));
        } else {
            bits = QByteArray(64, '\0');
        }
        map.append(bits);
        QByteArray freeMap;
        freeMap.append('\0');
        append32(freeMap, 0);
        freeMap.append(QByteArray(64, '\0'));
        int end = kPageSize;
        end -= int(map.size());
        std::memcpy(p1.data() + end, map.constData(), size_t(map.size()));
        put16(p1, kDataHeader, quint32(end));
        end -= int(freeMap.size());
        std::memcpy(p1.data() + end, freeMap.constData(), size_t(freeMap.size()));
        put16(p1, kDataHeader + 2, quint32(end));
        put16(p1, 12, 2);
        put16(p1, 2, quint32(end - kDataHeader - 4));
        (void)all;
    }

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw vq::Exception(QStringLiteral("无法创建 %1：%2").arg(path, out.errorString()));
    for (const QByteArray& p : file.pages) {
        if (out.write(p) != p.size()) {
            const QString why = out.errorString();
            out.cancelWriting();
            throw vq::Exception(QStringLiteral("无法写入 %1：%2").arg(path, why));
        }
    }
    if (!out.commit())
        throw vq::Exception(QStringLiteral("无法写入 %1：%2").arg(path, out.errorString()));
}

} // namespace vq::jet
