// Big workbook parts are read in pieces side by side: every way of cutting a part must give
// exactly what one reader over the whole part gives, and a part where a cut could land inside
// a comment, a CDATA section or a processing instruction is read whole.
#include "bank_test_support.h"
#include "xlsx.h"
#include "xlsx_testing.h"

#include "platform/exception.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

using vq::bank::detail::xlsxLastPieces;
using vq::bank::detail::xlsxPieceSize;

constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// A workbook of one sheet with the given parts (no shared strings when `strings` is empty).
void writeWorkbook(const QString& path, const QByteArray& sheet, const QByteArray& strings) {
    QList<std::pair<QString, QByteArray>> parts;
    const auto put = [&](const char* name, const QByteArray& bytes) {
        parts.append({QString::fromLatin1(name), bytes});
    };
    put("[Content_Types].xml",
        "<?xml version=\"1.0\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    put("xl/workbook.xml",
        QByteArray("<?xml version=\"1.0\"?><workbook xmlns=\"") + kMain +
            "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
            "<sheets><sheet name=\"题库\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    QByteArray rels = "<?xml version=\"1.0\"?><Relationships "
                      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/"
                      "officeDocument/2006/relationships/worksheet\" "
                      "Target=\"worksheets/sheet1.xml\"/>";
    if (!strings.isEmpty())
        rels += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/"
                "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    put("xl/_rels/workbook.xml.rels", rels + "</Relationships>");
    put("xl/worksheets/sheet1.xml", sheet);
    if (!strings.isEmpty())
        put("xl/sharedStrings.xml", strings);
    vq::banktest::writeZip(path, parts);
}

QByteArray sheetOf(const QByteArray& rows, const QByteArray& root = "worksheet",
                   const QByteArray& prefix = {}) {
    const QByteArray p = prefix.isEmpty() ? QByteArray() : prefix + ':';
    const QByteArray ns = prefix.isEmpty() ? QByteArray("xmlns") : "xmlns:" + prefix;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<" + p + root + ' ' +
           ns + "=\"" + kMain + "\"><" + p + "dimension ref=\"A1:C9\"/><" + p + "sheetData>" +
           rows + "</" + p + "sheetData><" + p + "pageMargins left=\"0.7\"/><" + p +
           "rowBreaks count=\"1\"><" + p + "brk id=\"3\"/></" + p + "rowBreaks></" + p + root + '>';
}

QByteArray stringsOf(const QByteArray& items, int count) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sst xmlns=\"" + QByteArray(kMain) +
           "\" count=\"" + QByteArray::number(count) + "\" uniqueCount=\"" +
           QByteArray::number(count) + "\">" + items + "</sst>";
}

// One row of shared strings: column A the number, B and C the strings `first` and `first + 1`.
QByteArray sharedRow(int row, int first) {
    const QByteArray r = QByteArray::number(row);
    return "<row r=\"" + r + "\" spans=\"1:3\"><c r=\"A" + r + "\"><v>" + r + "</v></c><c r=\"B" +
           r + "\" t=\"s\"><v>" + QByteArray::number(first) + "</v></c><c r=\"C" + r +
           "\" t=\"s\"><v>" + QByteArray::number(first + 1) + "</v></c></row>";
}

QStringList rowsOf(const vq::bank::Worksheet& w) {
    QStringList out;
    for (const vq::bank::SheetRow& r : w.rows)
        out << QString::number(r.row) + u'|' + r.cells.join(u'|');
    return out;
}

struct Read {
    QStringList rows;
    QString error;
    vq::bank::detail::XlsxPieces pieces;
};

Read readWith(const QString& path, qsizetype pieceSize) {
    const qsizetype before = xlsxPieceSize;
    xlsxPieceSize = pieceSize;
    Read r;
    try {
        const vq::bank::Worksheet w = vq::bank::readWorksheet(path, {});
        r.rows = rowsOf(w);
        r.rows += w.notes;
    } catch (const vq::Exception& e) {
        r.error = e.message();
    }
    r.pieces = xlsxLastPieces;
    xlsxPieceSize = before;
    return r;
}

constexpr qsizetype kWhole = std::numeric_limits<qsizetype>::max() / 4;

// How a part cut into pieces is read: in its pieces, whole again (other markup, rows without
// numbers), or refused as when read whole.
enum class Cut { Pieces, Whole, Damaged };

class XlsxPieces : public ::testing::Test {
protected:
    QString book(const QByteArray& sheet, const QByteArray& strings) {
        const QString path = m_dir.filePath(QStringLiteral("book%1.xlsx").arg(++m_count));
        writeWorkbook(path, sheet, strings);
        return path;
    }
    // Read whole and cut at every piece size from one byte to past the parts' length: the
    // same rows (or the same refusal) each time. Returns the rows.
    static QStringList sameEveryWay(const QString& path, qsizetype longest, Cut cut) {
        const Read whole = readWith(path, kWhole);
        EXPECT_EQ(whole.pieces.cellPieces, 1);
        EXPECT_LE(whole.pieces.stringPieces, 1);
        if (cut != Cut::Damaged) {
            EXPECT_FALSE(whole.pieces.wholeAgain);
            EXPECT_EQ(whole.error, QString());
        }
        for (qsizetype size = 1; size <= longest; size += size < 64 ? 1 : 37) {
            SCOPED_TRACE(size);
            const Read r = readWith(path, size);
            EXPECT_EQ(r.rows, whole.rows);
            EXPECT_EQ(r.error, whole.error);
            if (size == 1) {
                EXPECT_GT(r.pieces.cellPieces + r.pieces.stringPieces, 2);
            }
            if (cut == Cut::Pieces) {
                EXPECT_FALSE(r.pieces.wholeAgain);
            } else if (cut == Cut::Whole && size == 1) {
                EXPECT_TRUE(r.pieces.wholeAgain);
            }
            if (::testing::Test::HasFailure())
                break;
        }
        return whole.rows;
    }
    QTemporaryDir m_dir;
    int m_count = 0;
};

TEST_F(XlsxPieces, SharedStringsOfEveryShapeReadTheSameWhereverCut) {
    // Escaped tags as text, runs with their properties, a phonetic guide, empty items of both
    // forms, space kept, the workbook's own escape, a line break inside a text.
    const QByteArray items =
        "<si><t>&lt;si&gt;一&lt;/si&gt;</t></si>"
        "<si><r><rPr><b/><sz val=\"11\"/></rPr><t>粗</t></r><r><t xml:space=\"preserve\"> "
        "细 </t></r></si>"
        "<si/>"
        "<si><t>汉字</t><rPh sb=\"0\" eb=\"2\"><t>かんじ</t></rPh><phoneticPr fontId=\"1\"/></si>"
        "<si><t/></si>"
        "<si>\n  <t>a &amp; b &lt;si/&gt; &quot;c&quot;</t>\n</si>"
        "<si><t>_x000D_甲_x005F_x0041_</t></si>"
        "<si><t>第一行\n第二行</t></si>";
    QByteArray rows;
    for (int r = 1; r <= 4; ++r)
        rows += sharedRow(r, 2 * (r - 1));
    const QString path = book(sheetOf(rows), stringsOf(items, 8));
    const QStringList expected = {
        "1|1|<si>一</si>|粗 细 ",
        "2|2||汉字",
        "3|3||a & b <si/> \"c\"",
        "4|4|\r甲_x0041_|第一行\n第二行",
    };
    EXPECT_EQ(sameEveryWay(path, 900, Cut::Pieces), expected);
}

TEST_F(XlsxPieces, RowsAndStringsCutNearEveryBoundaryKeepTheirOrder) {
    // Enough rows and strings for many pieces at every size; rows with gaps in their numbers,
    // inline strings, rows without cells.
    QByteArray rows;
    QByteArray items;
    QStringList expected;
    int strings = 0;
    for (int r = 1; r <= 40; ++r) {
        const QByteArray n = QByteArray::number(r);
        const QByteArray at = QByteArray::number(r * 2);
        if (r % 9 == 0) {
            rows += "<row r=\"" + at + "\"/>";
        } else if (r % 7 == 0) {
            rows += "<row r=\"" + at + "\"><c r=\"A" + at + "\" t=\"inlineStr\"><is><t>行" + n +
                    "</t></is></c></row>";
            expected << QStringLiteral("%1|行%2").arg(r * 2).arg(r);
        } else {
            rows += sharedRow(r * 2, strings);
            items += "<si><t>问" + n + "</t></si><si><t>答" + n + "</t></si>";
            strings += 2;
            expected << QStringLiteral("%1|%1|问%2|答%2").arg(r * 2).arg(r);
        }
    }
    const QString path = book(sheetOf(rows), stringsOf(items, strings));
    EXPECT_EQ(sameEveryWay(path, 6000, Cut::Pieces), expected);
}

TEST_F(XlsxPieces, PrefixedPartsAreCutAtTheirOwnTags) {
    // Some writers name every element with a prefix; <rowBreaks> after the rows is no cut.
    QByteArray rows;
    QByteArray items;
    for (int r = 1; r <= 6; ++r) {
        const QByteArray n = QByteArray::number(r);
        rows += "<x:row r=\"" + n + "\"><x:c r=\"A" + n + "\" t=\"s\"><x:v>" +
                QByteArray::number(r - 1) + "</x:v></x:c></x:row>";
        items += "<x:si><x:t>串" + n + "</x:t></x:si>";
    }
    const QByteArray strings =
        "<?xml version=\"1.0\"?><x:sst xmlns:x=\"" + QByteArray(kMain) + "\">" + items + "</x:sst>";
    const QString path = book(sheetOf(rows, "worksheet", "x"), strings);
    EXPECT_EQ(sameEveryWay(path, 700, Cut::Pieces),
              QStringList({"1|串1", "2|串2", "3|串3", "4|串4", "5|串5", "6|串6"}));
}

TEST_F(XlsxPieces, CommentsCdataAndInstructionsAreReadWhole) {
    const QByteArray rows = sharedRow(1, 0) + sharedRow(2, 2);
    const QByteArray fake = "<si><t>假</t></si>";
    const struct {
        const char* what;
        QByteArray sheet;
        QByteArray strings;
    } cases[] = {
        {"comment", sheetOf(rows),
         stringsOf("<si><t>一</t></si><!-- " + fake +
                       " --><si><t>二</t></si><si><t>三</t></si>"
                       "<si><t>四</t></si>",
                   4)},
        {"CDATA", sheetOf(rows),
         stringsOf("<si><t>一</t></si><si><t><![CDATA[" + fake +
                       "]]></t></si><si><t>三</t></si>"
                       "<si><t>四</t></si>",
                   4)},
        {"instruction", sheetOf(rows),
         stringsOf("<si><t>一</t></si><?keep " + fake +
                       "?><si><t>二</t></si><si><t>三</t></si>"
                       "<si><t>四</t></si>",
                   4)},
        {"CDATA in the sheet",
         sheetOf(sharedRow(1, 0) +
                 "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t><![CDATA[<row r=\"7\">]]></t>"
                 "</is></c></row>" +
                 sharedRow(3, 2)),
         stringsOf("<si><t>一</t></si><si><t>二</t></si><si><t>三</t></si><si><t>四</t></si>", 4)},
    };
    const QStringList expected[] = {
        {"1|1|一|二", "2|2|三|四"},
        {"1|1|一|<si><t>假</t></si>", "2|2|三|四"},
        {"1|1|一|二", "2|2|三|四"},
        {"1|1|一|二", "2|<row r=\"7\">", "3|3|三|四"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        const QString path = book(cases[i].sheet, cases[i].strings);
        EXPECT_EQ(sameEveryWay(path, 500, Cut::Whole), expected[i]);
    }
}

TEST_F(XlsxPieces, OneStringNoStringsAndUnnumberedRows) {
    // A single shared string; a sheet without a shared string table; rows without their
    // numbers, counted on from the row before (read whole once cut).
    EXPECT_EQ(sameEveryWay(
                  book(sheetOf(sharedRow(1, 0).replace("<v>1</v></c></row>", "<v>0</v></c></row>")),
                       stringsOf("<si><t>唯一</t></si>", 1)),
                  400, Cut::Pieces),
              QStringList({"1|1|唯一|唯一"}));
    EXPECT_EQ(sameEveryWay(book(sheetOf("<row r=\"3\"><c r=\"B3\"><v>12.0</v></c></row>"
                                        "<row r=\"4\"><c r=\"C4\" t=\"inlineStr\"><is><t>内</t>"
                                        "</is></c></row>"),
                                {}),
                           300, Cut::Pieces),
              QStringList({"3||12", "4|||内"}));
    const QString unnumbered =
        book(sheetOf("<row><c t=\"inlineStr\"><is><t>甲</t></is></c></row><row/>"
                     "<row><c t=\"inlineStr\"><is><t>乙</t></is></c><c><v>2</v></c></row>"
                     "<row r=\"9\"><c><v>9</v></c></row><row><c><v>10</v></c></row>"),
             {});
    EXPECT_EQ(sameEveryWay(unnumbered, 1, Cut::Whole),
              QStringList({"1|甲", "3|乙|2", "9|9", "10|10"}));
}

TEST_F(XlsxPieces, DamageFoundInAnyPieceIsNamedAsWhenReadWhole) {
    QByteArray items;
    QByteArray rows;
    for (int r = 1; r <= 12; ++r) {
        items += "<si><t>问" + QByteArray::number(r) + "</t></si><si><t>答</t></si>";
        rows += sharedRow(r, 2 * (r - 1));
    }
    // A tag that does not close, a missing string, in the middle of the parts.
    QByteArray badStrings = stringsOf(items, 24);
    badStrings.replace("<si><t>问7</t>", "<si><t>问7</b>");
    QByteArray badRows = rows;
    badRows.replace("<v>14</v>", "<v>99</v>");
    const struct {
        QByteArray sheet;
        QByteArray strings;
        const char* error;
    } cases[] = {
        {sheetOf(rows), badStrings, "xl/sharedStrings.xml：Opening and ending tag mismatch）"},
        {sheetOf(badRows), stringsOf(items, 24), "单元格 B8 引用的共享字符串不存在"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        const QString path = book(c.sheet, c.strings);
        sameEveryWay(path, 1200, Cut::Damaged);
        const Read whole = readWith(path, kWhole);
        EXPECT_TRUE(whole.error.contains(QString::fromUtf8(c.error))) << whole.error.toStdString();
    }
}

} // namespace
