#include "data/jetfile.h"

#include "data/jetheader.h"
#include "data/jetpages.h"
#include "platform/exception.h"
#include "platform/files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <mdbtools.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace vq::jet {
namespace {

constexpr int kPage = kPageSize;
constexpr int kBindSize = 128 * 1024; // longest memo value taken whole, in UTF-8 bytes
constexpr unsigned kOffsetMask = 0x1FFF;

unsigned u16(const unsigned char* p, int off) {
    return p[off] | (p[off + 1] << 8);
}
quint32 u32(const unsigned char* p, int off) {
    return quint32(p[off]) | (quint32(p[off + 1]) << 8) | (quint32(p[off + 2]) << 16) |
           (quint32(p[off + 3]) << 24);
}

QString unrecognized(const QString& path) {
    return QStringLiteral("无法识别的数据库格式：%1").arg(path);
}

QString cannotOpen(const QString& path) {
    return QStringLiteral("无法打开文件“%1”：它已被其他用户独占打开，或者没有查看其数据的权限")
        .arg(path);
}

// A page the file's structure needs (the catalog of its tables, a table's definition) that
// cannot be read: the file is a bank, but a damaged one.
QString damagedPage(const QString& path, quint32 page, const QString& what) {
    return QStringLiteral("题库“%1”已损坏：第 %2 页（%3）无法读取").arg(path).arg(page).arg(what);
}
QString catalogPart() {
    return QStringLiteral("表的目录");
}
QString definitionOf(const QString& table) {
    return QStringLiteral("表“%1”的定义").arg(table);
}

struct HandleCloser {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableFree {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

bool isIntegerType(int t) {
    return t == MDB_BOOL || t == MDB_BYTE || t == MDB_INT || t == MDB_LONGINT;
}
bool isNumericType(int t) {
    return isIntegerType(t) || t == MDB_FLOAT || t == MDB_DOUBLE || t == MDB_MONEY ||
           t == MDB_NUMERIC || t == MDB_COMPLEX;
}
bool isTextType(int t) {
    return t == MDB_TEXT || t == MDB_MEMO;
}

struct Location {
    quint32 page;
    int row;
};

} // namespace

QVariant RowSet::cell(int row, int column) const {
    if (row < 0 || row >= m_rowCount || column < 0 || column >= columns.size())
        return {};
    if (isDeferred(column)) {
        if (cachedRow != row) {
            cached = texts->row(row);
            cachedRow = row;
        }
        return column < cached.size() ? cached[column] : QVariant();
    }
    int place = 0;
    for (int c = 0; c < column; ++c)
        place += isDeferred(c) ? 0 : 1;
    const size_t at = size_t(row) * size_t(keptColumns()) + size_t(place);
    if (!m_numbersOnly)
        return m_cells[qsizetype(at)];
    return m_present[at] ? QVariant(qlonglong(m_numbers[at])) : QVariant();
}

int RowSet::keptColumns() const {
    int kept = 0;
    for (int c = 0; c < columns.size(); ++c)
        kept += isDeferred(c) ? 0 : 1;
    return kept;
}

void RowSet::appendRow(const QList<QVariant>& row) {
    for (int c = 0; c < columns.size(); ++c)
        if (!isDeferred(c))
            appendCell(c < row.size() ? row[c] : QVariant());
    ++m_rowCount;
}

void RowSet::appendCell(const QVariant& cell) {
    if (m_numbersOnly) {
        const bool whole = cell.isValid() && cell.typeId() == QMetaType::LongLong;
        const qlonglong v = whole ? cell.toLongLong() : 0;
        if ((whole || !cell.isValid()) && v == qint32(v)) {
            m_numbers.push_back(qint32(v));
            m_present.push_back(cell.isValid());
            return;
        }
        m_cells.reserve(qsizetype(m_numbers.capacity()));
        for (size_t i = 0; i < m_numbers.size(); ++i)
            m_cells << (m_present[i] ? QVariant(qlonglong(m_numbers[i])) : QVariant());
        m_numbers = {};
        m_present = {};
        m_numbersOnly = false;
    }
    m_cells << cell;
}

void RowSet::reserveRows(qsizetype rows) {
    const size_t cells = size_t(rows) * size_t(keptColumns());
    if (m_numbersOnly) {
        m_numbers.reserve(cells);
        m_present.reserve(cells);
    } else {
        m_cells.reserve(qsizetype(cells));
    }
}

int columnIndex(const QList<ColumnInfo>& columns, const QString& name) {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Database::checkHeader(const QByteArray& header, const QString& path, const QString& password) {
    static const char magic[] = "\x00\x01\x00\x00Standard Jet DB";
    if (header.size() < kPage || std::memcmp(header.constData(), magic, 20) != 0 ||
        static_cast<unsigned char>(header[0x14]) != 1)
        throw Exception(unrecognized(path));
    const QString stored = storedPassword(header);
    if (!stored.isEmpty() && stored != password)
        throw Exception(kWrongPasswordMessage);
}

namespace {
// Where a column's value stands in a row, as the table's definition says.
struct ColumnLayout {
    int type = 0;
    int number = 0;    // bit in the row's null mask
    int varNumber = 0; // place among the variable-length columns
    int fixedOffset = 0;
    int size = 0;
    bool fixed = false;
    bool own = false; // read here; the others through the library's conversions
};
} // namespace

// One opening of the file: its pages as they are read, the library's handle on the same open
// file, the tables opened so far and the number indexes of the last full reads.
struct Database::Snapshot {
    std::unique_ptr<PageReader> pages;
    qint64 size = 0;
    QDateTime modified;
    std::unique_ptr<MdbHandle, HandleCloser> mdb;
    // The tables' entries, our own: the library's catalog reader also parses every
    // object's property blob, which runs away on damaged blobs.
    std::vector<std::unique_ptr<MdbCatalogEntry>> entries;
    struct Table {
        std::unique_ptr<MdbTableDef, TableFree> def;
        quint32 definitionPage = 0; // the owner of the table's data pages
        std::vector<ColumnLayout> layout;
        bool library = false; // some column is read through the library
        QList<ColumnInfo> columns;
        std::vector<std::vector<char>> bind;
        std::vector<int> lens;
        // Where the rows of the last full read stand, shared with the texts of its cursor.
        struct Locations {
            std::vector<quint32> pages;
            std::vector<int> rows;
        };
        std::shared_ptr<const Locations> loc = std::make_shared<const Locations>();
        bool scanned = false;
        // column -> (value, position in loc), sorted: one block for all the rows, where a hash
        // would take a node per row; the integer types are at most 32 bits wide
        QHash<int, std::vector<std::pair<qint32, qint32>>> index;
    };
    QHash<QString, std::shared_ptr<Table>> tables;
    QString lastName; // the name the last table was asked for by, and that table
    std::shared_ptr<Table> lastTable;
    QStringList userTables;
    int pageCount() const { return pages->pageCount(); }
    PageRef page(quint32 n) const { return pages->page(n); }

    // The file is open for the pages and the library while a FileUse lives; where an open file
    // would keep other programs from replacing it, it is closed again when the last use ends,
    // unless this snapshot stands for every later query (steady). False when it cannot be
    // opened again as it was.
    bool acquire() {
        if (uses == 0 && !pages->isOpen()) {
            if (!pages->reopen())
                return false;
            mdb->f->stream = pages->file().newStream();
            if (!mdb->f->stream) {
                pages->close();
                return false;
            }
        }
        ++uses;
        return true;
    }
    void release() {
        --uses;
        settle();
    }
    // Closes the file when nothing uses it and an open file would be in others' way.
    void settle() {
        if (uses > 0 || keepOpen || !vq::kOpenFilesBlockReplacing)
            return;
        if (mdb->f->stream)
            std::fclose(mdb->f->stream);
        mdb->f->stream = nullptr;
        pages->close();
    }
    int uses = 0;
    bool keepOpen = false; // steady: one moment of the file for a tool's whole run
    // A data page whose row table did not hold, read as emptied.
    bool unsound(quint32 n) const { return pages->unsound(n); }
};

namespace {

// The bank's file open for as long as it lives (see Snapshot::acquire); the snapshot too, so
// that a reload meanwhile leaves it to be closed here.
class FileUse {
public:
    FileUse(std::shared_ptr<Database::Snapshot> s, const QString& path) : m_s(std::move(s)) {
        if (!m_s->acquire())
            throw Exception(cannotOpen(path));
    }
    ~FileUse() { m_s->release(); }
    FileUse(const FileUse&) = delete;
    FileUse& operator=(const FileUse&) = delete;

private:
    std::shared_ptr<Database::Snapshot> m_s;
};

} // namespace

namespace {

// The length of a row on a data page, or -1 when the row is not there.
int rowLength(const unsigned char* pg, int row) {
    const unsigned count = u16(pg, 12);
    if (row < 0 || unsigned(row) >= count)
        return -1;
    const unsigned start = u16(pg, 14 + 2 * row) & kOffsetMask;
    const unsigned end = row == 0 ? kPage : (u16(pg, 14 + 2 * (row - 1)) & kOffsetMask);
    // Inside the page, after its row table: a damaged page must not send a read past it.
    if (start < 14 + 2 * count || end > unsigned(kPage))
        return -1;
    return end >= start ? int(end - start) : -1;
}

} // namespace

namespace {
// A usage map that the library reads from a table definition: a row on a sound data page, at
// least its type byte and one word long, of a known type, its pages inside the file.
bool usageMapSound(const Database::Snapshot* s, const unsigned char* tdef, int at) {
    const quint32 ptr = u32(tdef, at);
    const int row = int(ptr & 0xFF);
    const quint32 pgNo = ptr >> 8;
    if (pgNo == 0 || pgNo >= quint32(s->pageCount()))
        return false;
    const PageRef pg = s->page(pgNo);
    if (pg[0] != 0x01 || s->unsound(pgNo))
        return false;
    const int len = rowLength(pg, row);
    if (len < 5)
        return false;
    const unsigned char* map = pg + (u16(pg, 14 + 2 * row) & kOffsetMask);
    if (map[0] == 0)
        return true;
    if (map[0] != 1 || (len - 1) % 4 != 0)
        return false;
    for (int i = 1; i + 4 <= len; i += 4) {
        const quint32 mp = u32(map, i);
        if (mp >= quint32(s->pageCount()))
            return false;
    }
    return true;
}

// What the library reads from a table definition page before trusting it. Throws the damage,
// naming the page that cannot be read, when any of it does not hold.
void checkTableDefinition(const Database::Snapshot* s, quint32 pgNo, const QString& path,
                          const QString& what) {
    const auto fail = [&](quint32 page) { throw Exception(damagedPage(path, page, what)); };
    if (pgNo == 0 || pgNo >= quint32(s->pageCount()))
        fail(pgNo);
    const PageRef pg = s->page(pgNo);
    if (pg[0] != 0x02)
        fail(pgNo);
    // The chain of definition pages stays inside the file, is made of definition pages
    // and ends.
    quint32 next = u32(pg, 4);
    for (int hops = 0; next != 0; ++hops) {
        if (next >= quint32(s->pageCount()) || hops > 64)
            fail(next < quint32(s->pageCount()) ? next : pgNo);
        const PageRef more = s->page(next);
        if (more[0] != 0x02)
            fail(next);
        next = u32(more, 4);
    }
    const unsigned numCols = u16(pg, 45);
    const quint32 numIdx = u32(pg, 47);
    const quint32 numRealIdx = u32(pg, 51);
    if (numCols == 0 || numCols > 255 || numIdx > 1000 || numRealIdx > numIdx)
        fail(pgNo);
    for (const int at : {55, 59}) {
        if (usageMapSound(s, pg, at))
            continue;
        const quint32 mapPage = u32(pg, at) >> 8;
        fail(mapPage != 0 && mapPage < quint32(s->pageCount()) ? mapPage : pgNo);
    }
}
} // namespace

namespace {
std::vector<quint32> mappedPages(const Database::Snapshot& s, const unsigned char* map, int size);

// The tables of the file from the system table of objects (always on page 2): names, kinds
// and definition pages only.
void readCatalog(Database::Snapshot& s, const QString& path) {
    const auto damaged = [&](quint32 page) {
        return Exception(damagedPage(path, page, catalogPart()));
    };
    MdbCatalogEntry objects{};
    objects.mdb = s.mdb.get();
    std::strcpy(objects.object_name, "MSysObjects");
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::unique_ptr<MdbTableDef, TableFree> t(mdb_read_table(&objects));
    if (!t || t->map_sz == 0 || !t->usage_map || t->num_cols == 0 || t->num_cols > 255)
        throw damaged(2);
    GPtrArray* cols = mdb_read_columns(t.get());
    if (!cols || cols->len != t->num_cols)
        throw damaged(2);
    // Every page its map lists is one of its sound data pages: the library would skip a
    // stranger (and the tables on it), and trusts the row table of its own pages.
    for (const quint32 pg : mappedPages(s, t->usage_map, int(t->map_sz))) {
        if (pg >= quint32(s.pageCount()))
            throw damaged(2);
        const PageRef page = s.page(pg);
        if (!page || pg == 0 || page[0] != 0x01 || u32(page, 4) != 2 || s.unsound(pg))
            throw damaged(pg);
    }
    std::vector<char> id(kBindSize + 1), name(kBindSize + 1), type(kBindSize + 1);
    int idLen = 0, nameLen = 0, typeLen = 0;
    if (mdb_bind_column_by_name(t.get(), const_cast<gchar*>("Id"), id.data(), &idLen) < 0 ||
        mdb_bind_column_by_name(t.get(), const_cast<gchar*>("Name"), name.data(), &nameLen) < 0 ||
        mdb_bind_column_by_name(t.get(), const_cast<gchar*>("Type"), type.data(), &typeLen) < 0)
        throw Exception(unrecognized(path));
    mdb_rewind_table(t.get());
    const quint64 limit = quint64(s.pageCount()) * 1000;
    quint64 rows = 0;
    while (mdb_fetch_row(t.get())) {
        if (++rows > limit)
            throw Exception(unrecognized(path));
        if ((std::atoi(type.data()) & 0x7F) != MDB_TABLE)
            continue;
        auto entry = std::make_unique<MdbCatalogEntry>();
        std::memset(entry.get(), 0, sizeof(MdbCatalogEntry));
        entry->mdb = s.mdb.get();
        std::snprintf(entry->object_name, sizeof entry->object_name, "%s", name.data());
        entry->object_type = MDB_TABLE;
        entry->table_pg = std::strtoul(id.data(), nullptr, 10) & 0x00FFFFFF;
        s.userTables << QString::fromUtf8(entry->object_name);
        s.entries.push_back(std::move(entry));
    }
}
} // namespace

namespace {
// The library's handle on the open file. It is made from the header page alone, since the
// library opens only a name or a block of memory and a name need not be spelled in the ANSI
// code page, and is then given the stream to read every later page through. Takes the
// stream; null when the library does not take the header.
MdbHandle* openLibraryHandle(const QByteArray& header, std::FILE* stream) {
    MdbHandle* h = nullptr;
    QByteArray first = header; // the library's memory file reads from it while opening
    if (vq::kMemoryReadsAsFile) {
        h = mdb_open_buffer(first.data(), size_t(first.size()), MDB_NOFLAGS);
    } else {
        QTemporaryFile spill(QDir::temp().filePath(QStringLiteral("velquo-bank-XXXXXX.tmp")));
        if (spill.open() && spill.write(header) == header.size() && spill.flush())
            h = mdb_open(vq::nameForCLibrary(spill.fileName()).constData(), MDB_NOFLAGS);
    }
    if (!h) {
        std::fclose(stream);
        return nullptr;
    }
    std::fclose(h->f->stream);
    h->f->stream = stream;
    return h;
}
} // namespace

Database::Database(const QString& path, const QString& password)
    : m_path(path), m_password(password) {
    load();
}

Database::~Database() = default;

void Database::load() {
    m_snap.reset();
    RegularFileReader::Failure failure = RegularFileReader::Failure::None;
    const QFileInfo info(m_path);
    std::unique_ptr<RegularFileReader> file = RegularFileReader::open(m_path, &failure);
    if (failure == RegularFileReader::Failure::Missing)
        throw Exception(QStringLiteral("找不到文件：%1").arg(m_path));
    if (!file)
        throw Exception(cannotOpen(m_path));
    auto snap = std::make_shared<Snapshot>();
    snap->modified = info.lastModified();
    snap->size = file->size();
    QByteArray header(int(std::min<qint64>(snap->size, kPage)), '\0');
    if (!file->read(0, header.data(), header.size()))
        throw Exception(unrecognized(m_path));
    checkHeader(header, m_path, m_password);
    if (snap->size % kPage != 0 || snap->size / kPage < 3 || snap->size / kPage > 0xFFFFFF)
        throw Exception(unrecognized(m_path));
    const QByteArray unmasked = unmaskedHeader(header);
    const quint32 key =
        u32(reinterpret_cast<const unsigned char*>(unmasked.constData()), kDatabaseKeyOffset);

    // The library reads the same open file through a stream of its own and decrypts the pages
    // itself, but only pages read and checked here first: the catalog's definition now, the
    // catalog's data pages as it is read, each table's pages as the table is.
    std::FILE* stream = file->newStream();
    snap->pages = std::make_unique<PageReader>(m_path, std::move(file), key);
    MdbHandle* h = stream ? openLibraryHandle(header, stream) : nullptr;
    if (!h)
        throw Exception(unrecognized(m_path));
    snap->mdb.reset(h);
    checkTableDefinition(snap.get(), 2, m_path, catalogPart());
    if (!IS_JET4(h))
        throw Exception(unrecognized(m_path));
    mdb_set_bind_size(h, kBindSize);
    readCatalog(*snap, m_path);
    snap->keepOpen = m_steady;
    // Opened for the load; kept open from here on only where that keeps nobody from
    // replacing the file.
    snap->settle();
    m_snap = std::move(snap);
}

void Database::setSteady(bool steady) {
    m_steady = steady;
    if (m_snap)
        m_snap->keepOpen = steady;
}

bool Database::stale() const {
    if (!m_snap)
        return true;
    const QFileInfo info(m_path);
    return !info.exists() || info.size() != m_snap->size || info.lastModified() != m_snap->modified;
}

Database::Snapshot& Database::current() {
    if (m_steady && m_snap)
        return *m_snap;
    if (stale())
        load();
    return *m_snap;
}

namespace {

QString missingTable(const QString& name) {
    return QStringLiteral("数据库中找不到输入表或查询“%1”，请确认它存在并且名称拼写正确").arg(name);
}

// Types whose values are read here from the row's bytes.
bool ownType(int t) {
    return t == MDB_BYTE || t == MDB_INT || t == MDB_LONGINT || t == MDB_TEXT || t == MDB_MEMO;
}

std::shared_ptr<Database::Snapshot::Table> openTable(Database::Snapshot& s, const QString& name,
                                                     const QString& path) {
    // A run asks for the same table again and again, by the same name.
    if (s.lastTable && name == s.lastName)
        return s.lastTable;
    const QString key = name.toLower();
    if (auto it = s.tables.find(key); it != s.tables.end()) {
        s.lastName = name;
        s.lastTable = *it;
        return *it;
    }
    MdbCatalogEntry* entry = nullptr;
    for (const auto& owned : s.entries) {
        MdbCatalogEntry* e = owned.get();
        if (e->object_type == MDB_TABLE &&
            QString::fromUtf8(e->object_name).compare(name, Qt::CaseInsensitive) == 0) {
            entry = e;
            break;
        }
    }
    if (!entry)
        throw Exception(missingTable(name));
    const QString what = definitionOf(QString::fromUtf8(entry->object_name));
    const quint32 definition = quint32(entry->table_pg);
    checkTableDefinition(&s, definition, path, what);
    auto t = std::make_shared<Database::Snapshot::Table>();
    t->def.reset(mdb_read_table(entry));
    if (!t->def || t->def->map_sz == 0 || !t->def->usage_map || t->def->num_cols == 0 ||
        t->def->num_cols > 255)
        throw Exception(damagedPage(path, definition, what));
    t->definitionPage = definition;
    GPtrArray* cols = mdb_read_columns(t->def.get());
    if (!cols || cols->len != t->def->num_cols)
        throw Exception(damagedPage(path, definition, what));
    mdb_rewind_table(t->def.get());
    const int n = int(t->def->num_cols);
    t->bind.resize(size_t(n));
    t->lens.assign(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(cols, i));
        ColumnInfo info;
        info.name = QString::fromUtf8(col->name);
        info.mdbType = col->col_type;
        info.integer = isIntegerType(col->col_type);
        info.numeric = isNumericType(col->col_type);
        info.text = isTextType(col->col_type);
        t->columns << info;
        ColumnLayout l;
        l.type = col->col_type;
        l.number = col->col_num;
        l.varNumber = col->var_col_num;
        l.fixedOffset = col->fixed_offset;
        l.size = col->col_size;
        l.fixed = col->is_fixed != 0;
        l.own = ownType(col->col_type) && l.number >= 0 && l.number < 256 &&
                (!l.fixed || (l.size > 0 && l.size <= 8));
        t->library = t->library || !l.own;
        t->layout.push_back(l);
        // Only a column the library converts needs a buffer for its value, and it needs one
        // for the longest: 128 KB of zeros a column, kept while the table is open.
        if (!l.own)
            t->bind[size_t(i)].assign(size_t(kBindSize) + 1, '\0');
    }
    s.tables.insert(key, t);
    return t;
}

// The place of a row on a page (flags taken off), or false when the page has no such row.
bool rowPlace(const unsigned char* pg, int row, int* start, int* length) {
    const int len = rowLength(pg, row);
    if (len < 0)
        return false;
    *start = int(u16(pg, 14 + 2 * row) & kOffsetMask);
    *length = len;
    return true;
}

// One cell's bytes inside a row.
struct Field {
    const unsigned char* data = nullptr;
    int size = 0;
    bool present = false;
};

// The cells of one row, found as the Jet 4 row layout puts them: the column count first, the
// fixed-length values, the variable-length values, their offsets from the end backwards, the
// null mask last. Returns false for a row that does not hold together.
bool crackRow(const unsigned char* row, int len, const std::vector<ColumnLayout>& layout,
              std::vector<Field>& out) {
    out.assign(layout.size(), Field{});
    if (len < 3)
        return false;
    const int rowColumns = int(u16(row, 0));
    const int maskSize = (rowColumns + 7) / 8;
    const int maskAt = len - maskSize;
    if (maskAt < 2)
        return false;
    const unsigned char* mask = row + maskAt;
    int varCount = 0;
    bool varRead = false;
    for (size_t i = 0; i < layout.size(); ++i) {
        const ColumnLayout& c = layout[i];
        if (c.number >= rowColumns || !((mask[c.number / 8] >> (c.number % 8)) & 1))
            continue; // not in this row, or without a value
        if (c.fixed) {
            const int at = 2 + c.fixedOffset;
            if (at + c.size > maskAt)
                return false;
            out[i] = {row + at, c.size, true};
            continue;
        }
        if (!varRead) {
            if (maskAt < 4)
                return false;
            varCount = int(u16(row, maskAt - 2));
            if (maskAt - 4 - 2 * varCount < 2)
                return false;
            varRead = true;
        }
        if (c.varNumber >= varCount)
            continue;
        const int start = int(u16(row, maskAt - 4 - 2 * c.varNumber));
        const int end = int(u16(row, maskAt - 4 - 2 * (c.varNumber + 1)));
        if (start > end || end > maskAt)
            return false;
        out[i] = {row + start, end - start, true};
    }
    return true;
}

// Text as Jet 4 stores it: UTF-16LE, or after the marker FF FE the compressed form, in which a
// zero byte switches between one byte per character (high byte zero) and two. Characters
// outside the basic plane stay as their surrogate pairs.
QString jetText(const unsigned char* p, int n) {
    QString out;
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        out.resize(n - 2);
        char16_t* d = reinterpret_cast<char16_t*>(out.data());
        int w = 0;
        bool compressed = true;
        for (int i = 2; i < n;) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                // A run of one-byte characters up to the next switch, widened in one go.
                const auto* zero = static_cast<const unsigned char*>(std::memchr(p + i, 0, n - i));
                const int end = zero ? int(zero - p) : n;
                for (; i < end; ++i)
                    d[w++] = p[i];
            } else if (i + 1 < n) {
                d[w++] = char16_t(p[i] | (p[i + 1] << 8));
                i += 2;
            } else {
                break;
            }
        }
        out.truncate(w);
        return out;
    }
    out.resize(n / 2);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    std::memcpy(out.data(), p, size_t(n / 2) * 2);
#else
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    for (int i = 0; i < n / 2; ++i)
        d[i] = char16_t(p[2 * i] | (p[2 * i + 1] << 8));
#endif
    return out;
}

// A row of a long-value page by its pointer (page << 8 | row).
bool longValueRow(const Database::Snapshot& s, quint32 pointer, PageRef* page,
                  const unsigned char** data, int* size) {
    const quint32 pg = pointer >> 8;
    if (pg == 0 || pg >= quint32(s.pageCount()))
        return false;
    *page = s.page(pg);
    int start = 0;
    if ((*page)[0] != 0x01 || !rowPlace(*page, int(pointer & 0xFF), &start, size))
        return false;
    *data = *page + start;
    return true;
}

// A memo value: its 12-byte head, then the text in the row, on one long-value page, or in a
// chain of them (each part led by the pointer to the next).
QString memoText(const Database::Snapshot& s, const Field& f) {
    if (f.size < 12)
        return QString(QLatin1String(""));
    const quint32 head = u32(f.data, 0);
    const qint64 length = head & 0x3FFFFFFF;
    if (head & 0x80000000)
        return jetText(f.data + 12, f.size - 12);
    PageRef held; // the page `part` points into
    const unsigned char* part = nullptr;
    int size = 0;
    quint32 pointer = u32(f.data, 4);
    if (head & 0x40000000) {
        if (!longValueRow(s, pointer, &held, &part, &size))
            return QString(QLatin1String(""));
        return jetText(part, size);
    }
    QByteArray whole;
    for (int hops = 0; pointer && whole.size() < length && hops < s.pageCount() * 256; ++hops) {
        if (!longValueRow(s, pointer, &held, &part, &size) || size < 4)
            break;
        pointer = u32(part, 0);
        whole.append(reinterpret_cast<const char*>(part) + 4, size - 4);
    }
    if (whole.size() > length)
        whole.truncate(length);
    return jetText(reinterpret_cast<const unsigned char*>(whole.constData()), int(whole.size()));
}

// The pages a table's usage map lists, in ascending order: a bitmap from a start page (map
// type 0), or bitmap pages each covering a stretch of the file (type 1).
std::vector<quint32> mappedPages(const Database::Snapshot& s, const unsigned char* map, int size) {
    std::vector<quint32> out;
    if (size < 1)
        return out;
    const quint32 count = quint32(s.pageCount());
    const auto bits = [&](const unsigned char* b, int n, quint64 first) {
        for (int i = 0; i < n; ++i) {
            if (!b[i])
                continue;
            for (int k = 0; k < 8; ++k) {
                const quint64 pg = first + quint64(i) * 8 + quint64(k);
                if ((b[i] >> k) & 1)
                    out.push_back(pg < count ? quint32(pg) : count);
            }
        }
    };
    if (map[0] == 0 && size >= 5) {
        bits(map + 5, size - 5, u32(map, 1));
    } else if (map[0] == 1) {
        constexpr quint64 perPage = quint64(kPage - 4) * 8;
        for (int k = 0; 1 + 4 * k + 4 <= size; ++k) {
            const quint32 mp = u32(map, 1 + 4 * k);
            if (mp == 0)
                continue;
            if (mp >= count) {
                out.push_back(count);
                continue;
            }
            const PageRef mapPage = s.page(mp);
            bits(mapPage + 4, kPage - 4, quint64(k) * perPage);
        }
    }
    return out;
}

// Where every row of the table stands, from the pages its map lists; a listed page that is
// not one of the table's data pages is damage, and so is a row count other than the one the
// definition records. Each row is handed on as soon as its page is found, while the page is
// still among those the reader keeps.
// The rows the table's definition records, unless that is more than the file could hold: what
// a full read makes room for.
size_t expectedRows(const Database::Snapshot& s, const Database::Snapshot::Table& t) {
    return size_t(std::clamp<qint64>(t.def->num_rows, 0, qint64(s.pageCount()) * 64));
}

template <typename OnRow>
void locateRows(const Database::Snapshot& s, const Database::Snapshot::Table& t,
                Database::Snapshot::Table::Locations& loc, Damage& damage, OnRow&& onRow) {
    damage = Damage{};
    damage.recorded = t.def->num_rows;
    const quint32 count = quint32(s.pageCount());
    loc.pages.reserve(expectedRows(s, t));
    loc.rows.reserve(expectedRows(s, t));
    quint32 last = 0;
    bool first = true;
    for (const quint32 pg : mappedPages(s, t.def->usage_map, int(t.def->map_sz))) {
        if (!first && pg == last)
            continue; // a page past the end is listed once
        first = false;
        last = pg;
        if (pg >= count) {
            damage.pastTheEnd = true;
            damage.pageCount = count;
            continue;
        }
        const PageRef page = s.page(pg);
        if (!page || pg == 0 || page[0] != 0x01 || u32(page, 4) != t.definitionPage ||
            s.unsound(pg)) {
            damage.pages << pg;
            continue;
        }
        const int rows = int(u16(page, 12));
        for (int r = 0; r < rows; ++r) {
            if (u16(page, 14 + 2 * r) & 0x4000)
                continue; // deleted
            loc.pages.push_back(pg);
            loc.rows.push_back(r);
            onRow(pg, r);
        }
    }
    damage.read = qint64(loc.pages.size());
    // Held for as long as the cursor or the table is: no room to grow.
    loc.pages.shrink_to_fit();
    loc.rows.shrink_to_fit();
}

void bindLibraryColumns(Database::Snapshot::Table& t) {
    for (int i = 0; i < t.columns.size(); ++i) {
        const bool bind = !t.layout[size_t(i)].own;
        // Set directly: the library's call cannot take a length pointer away, and with one
        // left it still converts the unbound columns.
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t.def->columns, guint(i)));
        col->bind_ptr = bind ? t.bind[size_t(i)].data() : nullptr;
        col->len_ptr = bind ? &t.lens[size_t(i)] : nullptr;
        t.lens[size_t(i)] = 0;
    }
}

// A value the library converted to text, typed as the column is.
QVariant libraryValue(const Database::Snapshot::Table& t, int i, const std::vector<Field>& f) {
    const ColumnInfo& c = t.columns[i];
    const int len = t.lens[size_t(i)];
    if (!f[size_t(i)].present && len == 0)
        return {};
    const QByteArray raw(t.bind[size_t(i)].data(), len);
    if (c.integer && c.mdbType != MDB_BOOL) {
        bool ok = false;
        const qlonglong v = raw.toLongLong(&ok);
        return ok ? QVariant(v) : QVariant(QString::fromUtf8(raw));
    }
    if (c.mdbType == MDB_FLOAT || c.mdbType == MDB_DOUBLE) {
        bool ok = false;
        const double v = raw.toDouble(&ok);
        return ok ? QVariant(v) : QVariant(QString::fromUtf8(raw));
    }
    return QVariant(QString::fromUtf8(raw));
}

// One row at its place; texts only when asked for. Empty when the place holds no row.
std::optional<QList<QVariant>> readAt(Database::Snapshot& s, Database::Snapshot::Table& t,
                                      quint32 pg, int row, bool texts = true) {
    if (pg == 0 || pg >= quint32(s.pageCount()))
        return std::nullopt;
    const PageRef page = s.page(pg);
    int start = 0;
    int len = 0;
    if (page[0] != 0x01 || !rowPlace(page, row, &start, &len))
        return std::nullopt;
    thread_local std::vector<Field> fields;
    if (!crackRow(page + start, len, t.layout, fields))
        fields.assign(t.layout.size(), Field{});
    if (t.library) {
        bindLibraryColumns(t);
        bool read = false;
        if (mdb_read_pg(s.mdb.get(), pg) == kPage) {
            t.def->cur_phys_pg = pg;
            read = mdb_read_row(t.def.get(), unsigned(row)) != 0;
        }
        if (!read)
            std::fill(t.lens.begin(), t.lens.end(), 0);
    }
    const int n = int(t.columns.size());
    QList<QVariant> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        const ColumnLayout& l = t.layout[size_t(i)];
        const Field& f = fields[size_t(i)];
        if (!l.own) {
            out << libraryValue(t, i, fields);
            continue;
        }
        if (!f.present || (l.type != MDB_TEXT && l.type != MDB_MEMO && f.size < l.size)) {
            out << QVariant();
        } else if (l.type == MDB_BYTE) {
            out << QVariant(qlonglong(f.data[0]));
        } else if (l.type == MDB_INT) {
            out << QVariant(qlonglong(qint16(u16(f.data, 0))));
        } else if (l.type == MDB_LONGINT) {
            out << QVariant(qlonglong(qint32(u32(f.data, 0))));
        } else if (!texts) {
            out << QVariant(); // read later, see DeferredTexts
        } else if (l.type == MDB_TEXT) {
            out << QVariant(f.size ? jetText(f.data, f.size) : QString(QLatin1String("")));
        } else {
            out << QVariant(memoText(s, f));
        }
    }
    return out;
}

class SnapshotTexts final : public DeferredTexts {
public:
    using Locations = Database::Snapshot::Table::Locations;
    SnapshotTexts(std::shared_ptr<Database::Snapshot> s,
                  std::shared_ptr<Database::Snapshot::Table> t,
                  std::shared_ptr<const Locations> loc)
        : m_s(std::move(s)), m_t(std::move(t)), m_loc(std::move(loc)) {}
    QList<QVariant> row(int index) override {
        if (index < 0 || size_t(index) >= m_loc->pages.size() || !m_s->acquire())
            return {};
        QList<QVariant> out =
            readAt(*m_s, *m_t, m_loc->pages[size_t(index)], m_loc->rows[size_t(index)])
                .value_or(QList<QVariant>());
        m_s->release();
        return out;
    }

private:
    std::shared_ptr<Database::Snapshot> m_s;
    std::shared_ptr<Database::Snapshot::Table> m_t;
    // The rows of this read, whatever later reads of the table find.
    std::shared_ptr<const Locations> m_loc;
};

} // namespace

QString Damage::describe() const {
    if (!damaged())
        return {};
    QStringList wrong;
    if (!pages.isEmpty()) {
        QStringList listed;
        for (qsizetype i = 0; i < pages.size() && i < 8; ++i)
            listed << QString::number(pages[i]);
        if (pages.size() > 8)
            listed << QStringLiteral("……（共 %1 页）").arg(pages.size());
        wrong << QStringLiteral("第 %1 页列为该表的页，却没有它的任何一行")
                     .arg(listed.join(QStringLiteral("、")));
    }
    if (pastTheEnd)
        wrong << QStringLiteral("页表列出了文件末尾之后的页（文件只有 %1 页）").arg(pageCount);
    if (!rowsLost())
        return QStringLiteral("题库的页表有误：%1；表中记录的 %2 行都已读出")
            .arg(wrong.join(QStringLiteral("；")))
            .arg(recorded);
    QString text = read < recorded
                       ? QStringLiteral("题库已损坏：%2 行中只能读出 %1 行").arg(read).arg(recorded)
                       : QStringLiteral("题库已损坏：读出 %1 行，但表中记录的是 %2 行")
                             .arg(read)
                             .arg(recorded);
    for (const QString& w : wrong)
        text += QStringLiteral("；") + w;
    return text;
}

QList<ColumnInfo> Database::columns(const QString& table) {
    Snapshot& s = current();
    const FileUse use(m_snap, m_path);
    return openTable(s, table, m_path)->columns;
}

RowSet Database::readTable(const QString& table, bool forFetches) {
    Snapshot& s = current();
    const FileUse use(m_snap, m_path);
    auto t = openTable(s, table, m_path);
    RowSet out;
    out.columns = t->columns;
    t->index.clear();
    QList<int> integers;
    for (int i = 0; i < t->columns.size() && forFetches; ++i)
        if (t->columns[i].integer)
            integers << i;
    for (int c : integers)
        t->index[c].reserve(expectedRows(s, *t));
    // Every index is in the table now, which no longer changes shape: the scan writes straight
    // into them instead of looking each up again for every row.
    std::vector<std::pair<int, std::vector<std::pair<qint32, qint32>>*>> indexed;
    for (int c : integers)
        indexed.emplace_back(c, &t->index[c]);
    // The scan takes the numbers; texts are read from this moment of the file when asked for.
    for (const ColumnInfo& c : out.columns)
        out.deferred << c.text;
    const auto loc = std::make_shared<Snapshot::Table::Locations>();
    out.texts = std::make_shared<SnapshotTexts>(m_snap, t, loc);
    out.reserveRows(qsizetype(expectedRows(s, *t)));
    int pos = 0;
    locateRows(s, *t, *loc, out.damage, [&](quint32 pg, int r) {
        QList<QVariant> row = readAt(s, *t, pg, r, false).value_or(QList<QVariant>());
        row.resize(t->columns.size());
        for (auto& [c, numbers] : indexed)
            if (row[c].isValid())
                numbers->emplace_back(qint32(row[c].toLongLong()), qint32(pos));
        out.appendRow(row);
        ++pos;
    });
    t->loc = loc;
    // Banks are mostly kept in the order of their numbers; such an index is sorted already.
    for (const auto& entry : indexed)
        if (std::vector<std::pair<qint32, qint32>>& numbers = *entry.second;
            !std::is_sorted(numbers.begin(), numbers.end()))
            std::sort(numbers.begin(), numbers.end());
    t->scanned = forFetches;
    return out;
}

RowSet Database::readWhereEquals(const QString& table, const QString& column, double value) {
    Snapshot& s = current();
    const FileUse use(m_snap, m_path);
    auto t = openTable(s, table, m_path);
    const int c = columnIndex(t->columns, column);
    const bool whole = value == double(qint64(value));
    if (c >= 0 && t->scanned && t->columns[c].integer && whole) {
        // From the index: each hit's page is read from the disk again, and the row must still
        // hold the number; anything else means the file changed under us.
        const std::vector<std::pair<qint32, qint32>>& numbers = t->index[c];
        const qint64 wanted = qint64(value);
        // The hits in the order of the rows.
        const auto from = std::lower_bound(
            numbers.begin(), numbers.end(), wanted,
            [](const std::pair<qint32, qint32>& a, qint64 w) { return a.first < w; });
        const auto to = std::upper_bound(
            from, numbers.end(), wanted,
            [](qint64 w, const std::pair<qint32, qint32>& a) { return w < a.first; });
        RowSet out;
        out.columns = t->columns;
        bool valid = true;
        for (auto hit = from; hit != to; ++hit) {
            const int pos = hit->second;
            const quint32 pg = t->loc->pages[size_t(pos)];
            if (!m_steady)
                s.pages->forget(pg);
            std::optional<QList<QVariant>> got = readAt(s, *t, pg, t->loc->rows[size_t(pos)]);
            if (!got) {
                valid = false;
                break;
            }
            QList<QVariant> row = std::move(*got);
            if (!row[c].isValid() || row[c].toLongLong() != qint64(value)) {
                valid = false;
                break;
            }
            out.appendRow(row);
        }
        if (valid)
            return out;
        load();
        return readWhereEquals(table, column, value);
    }
    RowSet all = readTable(table);
    RowSet out;
    out.columns = all.columns;
    if (c < 0)
        return out;
    for (int r = 0; r < all.rowCount(); ++r) {
        const QVariant v = all.cell(r, c);
        if (!v.isValid())
            continue;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok && d == value) {
            QList<QVariant> row;
            for (int k = 0; k < all.columns.size(); ++k)
                row << all.cell(r, k);
            out.appendRow(row);
        }
    }
    return out;
}

} // namespace vq::jet
