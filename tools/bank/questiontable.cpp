#include "questiontable.h"
#include "data/bankschema.h"

#include "platform/ansi.h"
#include "platform/exception.h"
#include "xlsx.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace vq::bank {

QString listSeparator() {
    return QCoreApplication::translate("velquo-bank", "、");
}
namespace {

using namespace bankschema;

int lineAt(const QByteArray& bytes, qsizetype offset) {
    return int(QByteArrayView(bytes).first(offset).count('\n')) + 1;
}

// The offset of the first byte that does not belong to a GBK text (code page 936: ASCII,
// the euro sign 0x80, lead bytes 0x81..0xFE each with a trail byte 0x40..0xFE but 0x7F),
// or -1 when the whole text is GBK.
qsizetype firstNonGbk(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        // Eight ASCII bytes at a time.
        for (quint64 w = 0; i + 8 <= n; i += 8) {
            std::memcpy(&w, p + i, 8);
            if (w & 0x8080808080808080ull)
                break;
        }
        if (i >= n)
            break;
        const unsigned char b = p[i];
        if (b <= 0x80)
            continue;
        if (b == 0xFF)
            return i;
        if (i + 1 >= n)
            return i;
        const unsigned char t = p[i + 1];
        if (t < 0x40 || t == 0x7F || t == 0xFF)
            return i;
        ++i;
    }
    return -1;
}

// The offset of the first invalid UTF-8 sequence, or -1.
qsizetype firstNonUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        char32_t min = 0;
        char32_t c = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            c = b & 0x1F;
            min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            c = b & 0x0F;
            min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            c = b & 0x07;
            min = 0x10000;
        } else {
            return i;
        }
        if (i + len > n)
            return i;
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return i;
        i += len;
    }
    return -1;
}

// A whole-file message with the file's name in front, where the text came from a file.
QString withSource(const TextPlace& place, const QString& message) {
    return place.source.isEmpty()
               ? message
               : QCoreApplication::translate("velquo-bank", "%1：%2").arg(place.source, message);
}

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder d(encoding,
                     QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return d.decode(bytes);
}

QString decodeUtf16(QByteArrayView bytes, bool littleEndian, const TextPlace& place) {
    if (bytes.size() % 2)
        throw vq::Exception(withSource(
            place, QCoreApplication::translate(
                       "velquo-bank", "文件标明是 UTF-16 编码，字节数却是奇数（文件不完整？）")));
    QString out(bytes.size() / 2, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < out.size(); ++i)
        d[i] = littleEndian ? char16_t(p[2 * i] | (p[2 * i + 1] << 8))
                            : char16_t((p[2 * i] << 8) | p[2 * i + 1]);
    return out;
}

// The separator of the header line: the one that splits it into the known column names,
// else the more frequent one; a comma when neither occurs.
QChar detectSeparator(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && (text.at(start) == u'\r' || text.at(start) == u'\n'))
        ++start;
    qsizetype end = start;
    bool quoted = false;
    int commas = 0;
    int tabs = 0;
    for (; end < text.size(); ++end) {
        const QChar c = text.at(end);
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u'\t')
            ++tabs;
    }
    if (!tabs)
        return u',';
    if (!commas)
        return u'\t';
    const QString header = text.mid(start, end - start);
    const auto known = [&](QChar sep) {
        int n = 0;
        for (const QString& f : header.split(sep)) {
            const QString name = f.trimmed().remove(u'"');
            n += name == kNumber || name == kQuestion || name == kAnswer;
        }
        return n;
    };
    const int byTab = known(u'\t');
    const int byComma = known(u',');
    if (byTab != byComma)
        return byTab > byComma ? u'\t' : u',';
    return tabs > commas ? u'\t' : u',';
}

bool wholeEmpty(const QStringList& cells) {
    for (const QString& c : cells)
        if (!c.trimmed().isEmpty())
            return false;
    return true;
}

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

// "q.csv：这是图片（PNG），不是表格", a blank between 这是 and a kind that begins in Latin
// letters ("这是 Word 文档").
QString notATable(const QString& path, const QString& kind) {
    const bool latin = !kind.isEmpty() && kind.front().unicode() < 0x80;
    return QCoreApplication::translate("velquo-bank", "%1：这是%2%3")
        .arg(fileName(path), latin ? QStringLiteral(" ") : QString(), kind);
}

// The three columns picked out of the rows; other columns listed.
void takeColumns(QuestionTable& table, const QList<SheetRow>& rows, const QString& path,
                 bool strictFieldCount, const QList<PlacedPicture>& pictures = {}) {
    qsizetype h = 0;
    while (h < rows.size() && wholeEmpty(rows[h].cells))
        ++h;
    if (h == rows.size())
        throw vq::Exception(
            QCoreApplication::translate("velquo-bank", "%1：没有标题行（第一行应为 %2,%3,%4）")
                .arg(fileName(path), kNumber, kQuestion, kAnswer));
    const SheetRow& header = rows[h];
    table.columns = header.cells;
    int numberAt = -1;
    int questionAt = -1;
    int answerAt = -1;
    std::array<int, kOptionalColumnCount> optionalAt;
    optionalAt.fill(-1);
    QList<int> unnamed;
    for (int i = 0; i < header.cells.size(); ++i) {
        const QString name = header.cells[i].trimmed();
        const std::optional<OptionalColumn> optional = optionalColumnNamed(name);
        int* slot = name == kNumber     ? &numberAt
                    : name == kQuestion ? &questionAt
                    : name == kAnswer   ? &answerAt
                    : optional          ? &optionalAt[size_t(*optional)]
                                        : nullptr;
        if (!slot) {
            if (name.isEmpty())
                unnamed << i;
            else
                table.ignoredColumns << name;
            continue;
        }
        if (*slot >= 0)
            throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1：“%2”列出现了两次")
                                    .arg(table.place(header.row), name));
        *slot = i;
    }
    if (questionAt < 0 || answerAt < 0)
        throw vq::Exception(
            QCoreApplication::translate(
                "velquo-bank", "%1：标题行要有“%2”和“%3”两列（“%4”列可有可无），现在的标题行是：%5")
                .arg(table.place(header.row), kQuestion, kAnswer, kNumber,
                     header.cells.join(listSeparator())));
    table.numbered = numberAt >= 0;
    // A picture in the 答案图片 column is the answer's, any other on the row the question's.
    QHash<int, QList<const PlacedPicture*>> placedOn;
    const int answerPictureAt = optionalAt[size_t(OptionalColumn::AnswerPicture)];
    std::array<bool, kOptionalColumnCount> placedIn{};
    for (const PlacedPicture& p : pictures) {
        placedOn[p.row] << &p;
        placedIn[size_t(p.column == answerPictureAt ? OptionalColumn::AnswerPicture
                                                    : OptionalColumn::Picture)] = true;
    }
    for (const OptionalColumn c : kOptionalColumns)
        if (optionalAt[size_t(c)] >= 0 || placedIn[size_t(c)])
            table.optionalColumns << c;
    int placedOnQuestions = 0;
    // Columns without a name count only when something stands in them.
    for (int i : unnamed) {
        for (qsizetype r = h + 1; r < rows.size(); ++r) {
            if (i < rows[r].cells.size() && !rows[r].cells[i].trimmed().isEmpty()) {
                table.ignoredColumns
                    << (table.format == QLatin1String("xlsx")
                            ? QCoreApplication::translate("velquo-bank", "%1 列")
                                  .arg(columnLetters(i))
                            : QCoreApplication::translate("velquo-bank", "第 %1 列").arg(i + 1));
                break;
            }
        }
    }
    table.rows.reserve(rows.size() - h - 1);
    for (qsizetype r = h + 1; r < rows.size(); ++r) {
        const SheetRow& row = rows[r];
        if (wholeEmpty(row.cells)) {
            ++table.emptyRows;
            continue;
        }
        if (strictFieldCount && row.cells.size() != header.cells.size())
            throw vq::Exception(
                QCoreApplication::translate("velquo-bank", "%1：有 %2 列，标题行却有 %3 列")
                    .arg(table.place(row.row))
                    .arg(row.cells.size())
                    .arg(header.cells.size()));
        const auto cell = [&](int i) { return i < row.cells.size() ? row.cells[i] : QString(); };
        QuestionRow q;
        q.row = row.row;
        if (numberAt >= 0)
            q.number = cell(numberAt).trimmed();
        q.question = cell(questionAt);
        q.answer = cell(answerAt);
        for (const OptionalColumn c : table.optionalColumns)
            if (optionalAt[size_t(c)] >= 0)
                q.optional[size_t(c)] = cell(optionalAt[size_t(c)]);
        for (const PlacedPicture* p : placedOn.value(row.row)) {
            q.placed << PlacedMedia{p->column == answerPictureAt ? OptionalColumn::AnswerPicture
                                                                 : OptionalColumn::Picture,
                                    QFileInfo(p->part).suffix().toLower(), p->bytes};
            ++placedOnQuestions;
        }
        table.rows << std::move(q);
    }
    if (const qsizetype elsewhere = pictures.size() - placedOnQuestions)
        table.notes << QCoreApplication::translate("velquo-bank",
                                                   "%1 张图片不在题目所在的行上，没有读入")
                           .arg(elsewhere);
}

// The first bytes of a file, enough to tell its kind.
constexpr qsizetype kHeadBytes = 4096;

bool isZip(const QByteArray& head) {
    return head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06");
}

// The file's bytes, but of a zip file (a workbook, read through the zip library) only its
// first ones: what tells its kind.
QByteArray readUnlessZip(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw vq::Exception(QCoreApplication::translate("velquo-bank", "无法打开 %1：%2")
                                .arg(path, f.errorString()));
    QByteArray bytes = f.read(kHeadBytes);
    if (!isZip(bytes))
        bytes += f.readAll();
    return bytes;
}

// Whether an old Office (compound) file holds a stream of the given name.
bool hasStream(const QByteArray& file, const char* name) {
    QByteArray utf16;
    for (const char* c = name; *c; ++c) {
        utf16.append(*c);
        utf16.append('\0');
    }
    return file.contains(utf16);
}

} // namespace

QString TextPlace::of(int line) const {
    return source.isEmpty()
               ? QCoreApplication::translate("velquo-bank", "第 %1 行").arg(line)
               : QCoreApplication::translate("velquo-bank", "%1 第 %2 行").arg(source).arg(line);
}

QString QuestionTable::place(int row) const {
    return origin.of(row);
}

QString QuestionTable::describe() const {
    if (format == QLatin1String("xlsx"))
        return QCoreApplication::translate("velquo-bank", "xlsx 工作簿，工作表“%1”").arg(sheet);
    return QCoreApplication::translate("velquo-bank", "CSV 文件，%1 编码，%2")
        .arg(encoding, separator == u'\t' ? QCoreApplication::translate("velquo-bank", "制表符分隔")
                                          : QCoreApplication::translate("velquo-bank", "逗号分隔"));
}

QStringList QuestionTable::findings() const {
    QStringList out;
    if (!ignoredColumns.isEmpty())
        out << QCoreApplication::translate("velquo-bank", "没有读入的列：%1")
                   .arg(ignoredColumns.join(listSeparator()));
    if (emptyRows)
        out << QCoreApplication::translate("velquo-bank", "略过了 %1 个空行").arg(emptyRows);
    out << notes;
    return out;
}

DecodedText decodeText(const QByteArray& bytes, const TextPlace& place) {
    DecodedText out;
    const QByteArrayView view(bytes);
    if (bytes.startsWith("\xFF\xFE")) {
        out.encoding = QStringLiteral("UTF-16LE");
        out.text = decodeUtf16(view.sliced(2), true, place);
        return out;
    }
    if (bytes.startsWith("\xFE\xFF")) {
        out.encoding = QStringLiteral("UTF-16BE");
        out.text = decodeUtf16(view.sliced(2), false, place);
        return out;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const QByteArrayView rest = view.sliced(3);
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                        QStringConverter::Flag::ConvertInitialBom);
        out.text = utf8.decode(rest);
        if (utf8.hasError()) {
            const QByteArray copy = rest.toByteArray();
            throw vq::Exception(
                QCoreApplication::translate("velquo-bank", "%1：文字不是有效的 UTF-8（文件开头却有 "
                                                           "UTF-8 字节顺序标记）")
                    .arg(place.ofTextLine(
                        lineAt(copy, std::max<qsizetype>(firstNonUtf8(copy), 0)))));
        }
        out.encoding = QCoreApplication::translate("velquo-bank", "带 BOM 的 UTF-8");
        return out;
    }
    {
        // One pass decodes valid UTF-8, a stretch at a time, so that text in another encoding
        // (GBK) stops it at its first stretch instead of being decoded whole for nothing. Each
        // stretch ends before a byte that starts a character, so each is whole by itself.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                        QStringConverter::Flag::ConvertInitialBom);
        out.text.resize(view.size());
        QChar* const begin = out.text.data();
        QChar* end = begin;
        constexpr qsizetype kStretch = 64 * 1024;
        for (qsizetype at = 0; at < view.size() && !utf8.hasError();) {
            qsizetype stop = std::min(at + kStretch, view.size());
            for (int back = 0; back < 3 && stop < view.size() && (view[stop] & 0xC0) == 0x80;
                 ++back)
                --stop;
            end = utf8.appendToBuffer(end, view.sliced(at, stop - at));
            at = stop;
        }
        if (!utf8.hasError()) {
            out.text.truncate(end - begin);
            out.encoding = QStringLiteral("UTF-8");
            return out;
        }
        out.text = QString();
    }
    // GBK through the program's own code page conversion, the one the settings file's texts
    // take: Qt has a GBK converter only where it was built with ICU.
    const qsizetype badGbk = firstNonGbk(bytes);
    if (badGbk < 0) {
        out.text = vq::fromAnsi(bytes);
        out.encoding = QStringLiteral("GBK");
        return out;
    }
    throw vq::Exception(
        QCoreApplication::translate("velquo-bank",
                                    "%1：文字既不是 UTF-8 也不是 GBK 编码；请在 Excel 或 WPS 中把"
                                    "题目表另存为 CSV（UTF-8）或 .xlsx")
            .arg(place.ofTextLine(lineAt(
                bytes, badGbk >= 0 ? badGbk : std::max<qsizetype>(firstNonUtf8(bytes), 0)))));
}

QString foreignKind(const QByteArray& head, const QByteArray& wholeFile) {
    const auto starts = [&](const char* magic, qsizetype len, qsizetype at = 0) {
        return head.size() >= at + len &&
               std::memcmp(head.constData() + at, magic, size_t(len)) == 0;
    };
    if (starts("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        const QByteArray& f = wholeFile.isEmpty() ? head : wholeFile;
        if (hasStream(f, "EncryptedPackage"))
            return QCoreApplication::translate(
                "velquo-bank", "有密码的工作簿：请在 Excel 或 WPS 中去掉密码，另存为 .xlsx 或 "
                               "CSV");
        if (hasStream(f, "Workbook") || hasStream(f, "Book"))
            return QCoreApplication::translate(
                "velquo-bank", "旧版 .xls 工作簿：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV");
        if (hasStream(f, "WordDocument"))
            return QCoreApplication::translate(
                "velquo-bank", "旧版 Word 文档（.doc），不是表格：请把题目放进 Excel 或 WPS "
                               "表格，另存为 .xlsx 或 CSV");
        if (hasStream(f, "PowerPoint Document"))
            return QCoreApplication::translate("velquo-bank", "PowerPoint 演示文稿，不是表格");
        return QCoreApplication::translate(
            "velquo-bank", "旧版 Office 文件，不是表格：请在 Excel 或 WPS 中把题目表另存为 "
                           ".xlsx 或 CSV");
    }
    if (starts("\x89PNG\r\n\x1A\n", 8))
        return QCoreApplication::translate("velquo-bank", "图片（PNG），不是表格");
    if (starts("\xFF\xD8\xFF", 3))
        return QCoreApplication::translate("velquo-bank", "图片（JPEG），不是表格");
    if (starts("GIF8", 4))
        return QCoreApplication::translate("velquo-bank", "图片（GIF），不是表格");
    if (starts("BM", 2) && head.size() >= 26 && head.at(6) == 0 && head.at(7) == 0)
        return QCoreApplication::translate("velquo-bank", "图片（BMP），不是表格");
    if (starts("RIFF", 4) && starts("WEBP", 4, 8))
        return QCoreApplication::translate("velquo-bank", "图片（WebP），不是表格");
    if (starts("II*\0", 4) || starts("MM\0*", 4))
        return QCoreApplication::translate("velquo-bank", "图片（TIFF），不是表格");
    if (starts("%PDF", 4))
        return QCoreApplication::translate("velquo-bank", "PDF 文档，不是表格");
    if (starts("{\\rtf", 5))
        return QCoreApplication::translate("velquo-bank", "RTF 文档，不是表格");
    if (starts("\x00\x01\x00\x00Standard Jet DB", 19) ||
        starts("\x00\x01\x00\x00Standard ACE DB", 19))
        return QCoreApplication::translate(
            "velquo-bank", "Access 数据库（本身就是题库？），不是题目表：可以用“velquo-bank "
                           "export”导出其中的题目");
    if (starts("Rar!", 4) || starts("7z\xBC\xAF\x27\x1C", 6) || starts("\x1F\x8B", 2))
        return QCoreApplication::translate("velquo-bank", "压缩包，不是表格");
    // Markup: a web page or Excel's old XML spreadsheet.
    QByteArray text = head.left(512).trimmed().toLower();
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.mid(3).trimmed();
    if (text.startsWith("<?xml") || text.startsWith("<html") || text.startsWith("<!doctype"))
        return QCoreApplication::translate(
            "velquo-bank", "网页或 XML 文件，不是表格：请在 Excel 或 WPS 中另存为 .xlsx 或 "
                           "CSV");
    return {};
}

QList<CsvRecord> parseCsvText(const QString& text, QChar separator, const TextPlace& place) {
    QList<CsvRecord> records;
    CsvRecord current;
    QString field;
    int line = place.firstLine;
    current.line = line;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field began with a quote
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
            records.append(std::move(current));
        current = CsvRecord{};
    };
    const QChar* data = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = data[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < size && data[i + 1] == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && i + 1 < size && data[i + 1] == u'\n') {
                    // A quoted CRLF becomes one line break, as a line break typed in a cell
                    // of Excel or WPS is; the reader is told how many there were.
                    ++current.crlfBreaks;
                    continue;
                }
                ++line;
                field.append(c);
            } else {
                // The run up to the next quote or line break goes in at once.
                qsizetype j = i + 1;
                while (j < size && data[j] != u'"' && data[j] != u'\r' && data[j] != u'\n')
                    ++j;
                field.append(data + i, j - i);
                i = j - 1;
            }
            continue;
        }
        if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && data[i + 1] == u'\n')
                ++i;
            endRecord();
            ++line;
            current.line = line;
        } else if (c == u'"') {
            if (fieldStarted || wasQuoted)
                throw vq::Exception(QCoreApplication::translate(
                                        "velquo-bank",
                                        "%1：没有用引号括起来的单元格中出现了引号（含有引号的单元格"
                                        "要整个用引号括起来，其中的引号写成两个）")
                                        .arg(place.of(line)));
            quoted = true;
            wasQuoted = true;
            fieldStarted = true;
            quoteLine = line;
        } else {
            if (wasQuoted)
                throw vq::Exception(
                    QCoreApplication::translate("velquo-bank", "%1：单元格的结束引号后面还有文字")
                        .arg(place.of(line)));
            // The longest run of plain characters goes in at once.
            qsizetype j = i + 1;
            while (j < size) {
                const QChar d = data[j];
                if (d == separator || d == u'\r' || d == u'\n' || d == u'"')
                    break;
                ++j;
            }
            field.append(data + i, j - i);
            i = j - 1;
            fieldStarted = true;
        }
    }
    if (quoted)
        throw vq::Exception(
            QCoreApplication::translate("velquo-bank", "%1：用引号括起来的单元格缺少结束引号")
                .arg(place.of(quoteLine)));
    if (fieldStarted || !current.fields.isEmpty() || wasQuoted)
        endRecord();
    return records;
}

QList<CsvRecord> parseCsv(const QByteArray& input, const TextPlace& place) {
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (const qsizetype bad = firstNonUtf8(bytes); bad >= 0)
        throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1：文字不是有效的 UTF-8")
                                .arg(place.ofTextLine(lineAt(bytes, bad))));
    return parseCsvText(decodeWith(QStringConverter::Utf8, bytes), u',', place);
}

QuestionTable readQuestionTable(const QString& path, const ReadOptions& options) {
    const QByteArray bytes = readUnlessZip(path);
    QuestionTable table;
    table.origin = options.place ? *options.place : TextPlace{fileName(path)};
    if (const QString kind = foreignKind(bytes.left(kHeadBytes), bytes); !kind.isEmpty())
        throw vq::Exception(notATable(path, kind));
    if (isZip(bytes)) {
        const QString kind = zipKind(path);
        if (kind != QLatin1String("xlsx"))
            throw vq::Exception(notATable(path, kind));
        table.format = QStringLiteral("xlsx");
        Worksheet sheet = readWorksheet(path, options.sheet);
        table.sheet = sheet.name;
        if (sheet.rows.isEmpty())
            throw vq::Exception(QCoreApplication::translate("velquo-bank", "%1：工作表“%2”是空的")
                                    .arg(fileName(path), sheet.name));
        table.notes = sheet.notes;
        takeColumns(table, sheet.rows, path, false, sheet.pictures);
        if (!sheet.otherSheets.isEmpty() && options.sheet.isEmpty()) {
            table.otherSheets = sheet.otherSheets;
            table.notes << QCoreApplication::translate("velquo-bank",
                                                       "工作簿中的其他工作表没有读入：%1")
                               .arg(sheet.otherSheets.join(listSeparator()));
        }
        return table;
    }
    if (!options.sheet.isEmpty())
        throw vq::Exception(QCoreApplication::translate(
                                "velquo-bank", "%1：--sheet 只用于 .xlsx 工作簿，这是 CSV 文件")
                                .arg(fileName(path)));
    table.format = QStringLiteral("CSV");
    DecodedText decoded = decodeText(bytes, table.origin);
    table.encoding = decoded.encoding;
    table.separator = detectSeparator(decoded.text);
    const QList<CsvRecord> records = parseCsvText(decoded.text, table.separator, table.origin);
    decoded.text.clear();
    QList<SheetRow> rows;
    rows.reserve(records.size());
    qsizetype crlfBreaks = 0;
    for (const CsvRecord& r : records) {
        rows.append(SheetRow{r.line, r.fields});
        crlfBreaks += r.crlfBreaks;
    }
    if (crlfBreaks)
        table.notes << QCoreApplication::translate(
                           "velquo-bank",
                           "单元格中 %1 处写作 CR LF 的换行按一个换行（LF，Excel 和 WPS "
                           "在单元格中换行时写的就是它）读入")
                           .arg(crlfBreaks);
    takeColumns(table, rows, path, true);
    return table;
}

} // namespace vq::bank
