// Texts come back exactly as written (byte order marks, characters outside the basic plane), and
// a damaged bank is never read silently short: check and export fail with the counts.
#include "bank.h"
#include "bank_test_support.h"
#include "support/little_endian.h"
#include "support/skips.h"

#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/jetfile.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "support/failure.h"
#include "support/real_jet_files.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using vq::test::le16;
using vq::test::le32;
using vq::test::messageOf;
using namespace vq::banktest;

namespace {

const QString kPassword = QStringLiteral("fmrTK20914");

// A text as written (QString::fromUtf16 would take a leading U+FEFF for a byte order mark).
QString utf16(const char16_t* s) {
    return QStringView(s).toString();
}

// What the presenter's fetch puts into the question and answer labels for a number.
QPair<QString, QString> presenterFetch(const QString& bank, const QString& number) {
    QString pairs = TADOConnection::designedConnectionString();
    pairs.replace(QStringLiteral("Data Source=db.DLL"), QStringLiteral("Data Source=") + bank);
    TADOConnection connection;
    connection.setConnectionString(pairs);
    TADOQuery query;
    query.setConnection(&connection);
    QPair<QString, QString> shown;
    vq::fetchQuestion(query, number,
                      {[&](const QString& q) { shown.first = q; },
                       [&](const QString& a) { shown.second = a; }, [] {}});
    return shown;
}

bool npmReaderInstalled() {
    return QFile::exists(QStringLiteral(VELQUO_NPM_MODULES "/mdb-reader/package.json"));
}

// The table's rows as the npm reader gives them.
QList<QStringList> npmRows(const QString& bank) {
    const ToolRun r =
        runTool(QStringLiteral("node"),
                {QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/dump_with_mdb_reader.mjs"),
                 QStringLiteral(VELQUO_NPM_MODULES), bank, QStringLiteral("题")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QList<QStringList> out;
    for (const QJsonValue& row :
         QJsonDocument::fromJson(r.rawOut).object().value(QLatin1String("rows")).toArray()) {
        const QJsonArray cells = row.toArray();
        out << QStringList{QString::number(cells.at(0).toInteger()), cells.at(1).toString(),
                           cells.at(2).toString()};
    }
    return out;
}

TEST(BankFidelity, MarksAndCharactersOutsideTheBasicPlaneComeBackExactly) {
    SKIP_WITHOUT_REFERENCE_TOOLS();
    // Each text as question and as answer; U+FEFF alone, before a narrow character and before
    // one outside the basic plane; 𠮷 (CJK Extension B), an emoji; 一, 开 and U+3000 without a
    // mark (their low byte is zero, so they stay uncompressed).
    const QStringList texts = {utf16(u"\uFEFF"),        utf16(u"\uFEFFA"),     utf16(u"\uFEFF𠮷"),
                               utf16(u"𠮷野家"),        utf16(u"笑😀 ok"),      utf16(u"一开\u3000"),
                               utf16(u"\uFEFF\uFEFFx"), utf16(u"\uFEFF答 é ß")};
    QTemporaryDir dir;
    QString csv = QStringLiteral("编号,题目,答案\n");
    for (int i = 0; i < texts.size(); ++i)
        csv += QStringLiteral("%1,\"q%2\",\"%2\"\n").arg(i + 1).arg(texts[i]);
    writeBytes(dir.filePath("t.csv"), csv.toUtf8());
    const QString bank = dir.filePath("db.DLL");
    const ToolRun built = runTool(bankProgram(), {"build", dir.filePath("t.csv"), bank});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();

    // Our export, byte for byte; mdb-export, which turns each half of a surrogate pair into
    // '?' (its conversion takes UCS-2), exact for every other text.
    QString expected = QStringLiteral("编号,题目,答案\n");
    QString expectedMdb = expected;
    for (int i = 0; i < texts.size(); ++i) {
        const QString line = QStringLiteral("%1,\"q%2\",\"%2\"\n").arg(i + 1).arg(texts[i]);
        expected += line;
        QString narrow = line;
        for (QChar& c : narrow)
            if (c.isSurrogate())
                c = u'?';
        expectedMdb += narrow;
    }
    EXPECT_EQ(QString::fromUtf8(runTool(bankProgram(), {"export", bank}).rawOut), expected);
    EXPECT_EQ(QString::fromUtf8(runTool("mdb-export", {bank, "题"}).rawOut), expectedMdb);
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(presenterFetch(bank, QString::number(i + 1)),
                  qMakePair(QStringLiteral("q") + texts[i], texts[i]))
            << i;
    if (!npmReaderInstalled())
        GTEST_SKIP() << "mdb-reader is not installed for this build folder";
    const QList<QStringList> npm = npmRows(bank);
    ASSERT_EQ(npm.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(npm[i],
                  QStringList({QString::number(i + 1), QStringLiteral("q") + texts[i], texts[i]}))
            << i;
}

TEST(BankFidelity, TextsNoReaderWouldGetBackAreRefusedWithTheirRow) {
    QTemporaryDir dir;
    const QString bank = dir.filePath("db.DLL");
    const struct {
        QString cell;
        const char* message;
    } cases[] = {
        {utf16(u"\uFEFF一"), "第 3 行，题目列：文字以 U+FEFF（看不见的字节顺序标记）开头，又含有"
                             "“一”（U+4E00）"},
        {utf16(u"\uFEFF开始"), "第 3 行，题目列：文字以 U+FEFF（看不见的字节顺序标记）开头，又含有"
                               "“开”（U+5F00）"},
        {utf16(u"\uFEFFa\u3000b"), "第 3 行，题目列：文字以 U+FEFF（看不见的字节顺序标记）开头，"
                                   "又含有“\u3000”（U+3000）"},
        {QStringLiteral("a") + QChar(0) + u'b', "第 3 行，题目列：文字中有空字符（代码 0）"},
    };
    for (const auto& c : cases) {
        writeBytes(dir.filePath("t.csv"),
                   QStringLiteral("编号,题目,答案\n1,q,a\n2,\"%1\",a\n").arg(c.cell).toUtf8());
        const ToolRun r = runTool(bankProgram(), {"build", dir.filePath("t.csv"), bank});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(bank));
    }
    // The writer refuses them too, whoever calls it.
    vq::jet::Table t{QStringLiteral("题"),
                     {{QStringLiteral("题目"), vq::jet::ColumnType::Memo}},
                     {{utf16(u"\uFEFF一")}}};
    EXPECT_TRUE(messageOf([&] {
                    vq::jet::writeDatabase(bank, {t}, {});
                }).contains(QStringLiteral("U+FEFF")));
}

TEST(BankFidelity, AMarkBeforeAZeroLowByteIsMisreadByEveryReaderHenceTheRefusal) {
    SKIP_WITHOUT_REFERENCE_TOOLS();
    // Each text stored the plain way (UCS-2) that build refuses to write: built with 丁 (U+4E01)
    // in the mark's place, then the mark's bytes FF FE put over 丁's.
    const QStringList wanted = {utf16(u"\uFEFF一"), utf16(u"\uFEFF开始"), utf16(u"\uFEFFa\u3000b")};
    QTemporaryDir dir;
    QString csv = QStringLiteral("编号,题目,答案\n");
    for (int i = 0; i < wanted.size(); ++i)
        csv += QStringLiteral("%1,q,\"丁%2\"\n").arg(i + 1).arg(wanted[i].mid(1));
    writeBytes(dir.filePath("t.csv"), csv.toUtf8());
    const QString bank = dir.filePath("db.DLL");
    const ToolRun built =
        runTool(bankProgram(), {"build", dir.filePath("t.csv"), bank, "--no-password"});
    ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
    QByteArray bytes = readBytes(bank);
    for (const QString& w : wanted) {
        QString placeholder = w;
        placeholder[0] = QChar(0x4E01);
        const QByteArray plain(reinterpret_cast<const char*>(placeholder.utf16()),
                               placeholder.size() * 2);
        ASSERT_EQ(bytes.count(plain), 1) << w.toStdString();
        bytes.replace(bytes.indexOf(plain), 2, QByteArray("\xFF\xFE", 2));
    }
    writeBytes(bank, bytes);

    // No reader gets any of them back: FF FE always starts the compressed form.
    const QStringList ours =
        QString::fromUtf8(runTool(bankProgram(), {"export", bank, "--no-password"}).rawOut)
            .split(u'\n');
    const QStringList theirs =
        QString::fromUtf8(runTool("mdb-export", {bank, "题"}).rawOut).split(u'\n');
    ASSERT_GE(ours.size(), wanted.size() + 1);
    ASSERT_GE(theirs.size(), wanted.size() + 1);
    for (int i = 0; i < wanted.size(); ++i) {
        const QString line = QStringLiteral("%1,\"q\",\"%2\"").arg(i + 1).arg(wanted[i]);
        EXPECT_NE(ours[i + 1], line);
        EXPECT_NE(theirs[i + 1], line);
        EXPECT_NE(theirs[i + 1], QString()) << "mdb-export read no row " << i + 1;
        EXPECT_NE(presenterFetch(bank, QString::number(i + 1)).second, wanted[i]);
    }
    if (!npmReaderInstalled())
        GTEST_SKIP() << "mdb-reader is not installed for this build folder";
    const QList<QStringList> npm = npmRows(bank);
    ASSERT_EQ(npm.size(), wanted.size());
    for (int i = 0; i < wanted.size(); ++i)
        EXPECT_NE(npm[i].value(2), wanted[i]) << i;
}

// ---- damage ------------------------------------------------------------------------------------

constexpr int kPage = 4096;

// The data pages of the table whose definition is on the given page, each with the numbers
// (the first column, a long integer) of its rows.
QList<QPair<int, QList<qint32>>> dataPages(const QByteArray& file, quint32 definition) {
    QList<QPair<int, QList<qint32>>> out;
    for (int p = 1; p < file.size() / kPage; ++p) {
        const qsizetype at = qsizetype(p) * kPage;
        if (file[at] != 1 || le32(file, at + 4) != definition)
            continue;
        QList<qint32> numbers;
        for (int r = 0; r < le16(file, at + 12); ++r) {
            const int row = le16(file, at + 14 + 2 * r) & 0x1FFF;
            numbers << qint32(le32(file, at + row + 2));
        }
        out.append({p, numbers});
    }
    return out;
}

class BankDamage : public ::testing::Test {
protected:
    void SetUp() override {
        vq::jet::Table t{QStringLiteral("题"),
                         {{QStringLiteral("编号"), vq::jet::ColumnType::Long},
                          {QStringLiteral("题目"), vq::jet::ColumnType::Memo},
                          {QStringLiteral("答案"), vq::jet::ColumnType::Memo}},
                         {}};
        for (int i = 1; i <= 10000; ++i)
            t.rows.append({i, QStringLiteral("第%1题：%2").arg(i).arg(QString(i % 40, u'问')),
                           QStringLiteral("答%1").arg(i)});
        vq::jet::writeDatabase(dir.filePath("sound.DLL"), {t}, {kPassword});
        sound = readBytes(dir.filePath("sound.DLL"));
        pages = dataPages(sound, 3);
        ASSERT_GT(pages.size(), 20);
    }
    QString damaged(const QByteArray& bytes) {
        const QString path = dir.filePath("damaged.DLL");
        writeBytes(path, bytes);
        return path;
    }
    QTemporaryDir dir;
    QByteArray sound;
    QList<QPair<int, QList<qint32>>> pages;
};

TEST_F(BankDamage, CheckAndExportFailWithTheCountsAndThePage) {
    const auto& [zeroPage, zeroRows] = pages[10];
    const auto& [ownerPage, ownerRows] = pages[20];
    QByteArray zeroed = sound;
    zeroed.replace(qsizetype(zeroPage) * kPage, kPage, QByteArray(kPage, '\0'));
    QByteArray otherOwner = sound;
    otherOwner[qsizetype(ownerPage) * kPage + 4] = 2; // the catalog's page
    QByteArray count = sound;
    count[3 * kPage + 17] = char(count[3 * kPage + 17] + 1); // 10000 + 256 recorded

    const struct {
        QByteArray bytes;
        int read;
        QString message;
    } cases[] = {
        {zeroed, 10000 - int(zeroRows.size()),
         QStringLiteral(
             "题库已损坏：10000 行中只能读出 %1 行；第 %2 页列为该表的页，却没有它的任何一行")
             .arg(10000 - zeroRows.size())
             .arg(zeroPage)},
        {otherOwner, 10000 - int(ownerRows.size()),
         QStringLiteral(
             "题库已损坏：10000 行中只能读出 %1 行；第 %2 页列为该表的页，却没有它的任何一行")
             .arg(10000 - ownerRows.size())
             .arg(ownerPage)},
        {count, 10000, QStringLiteral("题库已损坏：10256 行中只能读出 10000 行")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const QString path = damaged(c.bytes);
        const ToolRun check = runTool(bankProgram(), {"check", path});
        EXPECT_EQ(check.exitCode, 1);
        EXPECT_TRUE(check.out.contains(QStringLiteral("问题：") + c.message + u'（'))
            << check.out.toStdString();
        const ToolRun exported = runTool(bankProgram(), {"export", path});
        EXPECT_EQ(exported.exitCode, 1);
        EXPECT_EQ(exported.err, QStringLiteral("velquo-bank: ") + c.message + u'\n');
        EXPECT_EQ(exported.rawOut.count('\n'), c.read + 1); // the header and every readable row
    }
    const ToolRun fine = runTool(bankProgram(), {"check", dir.filePath("sound.DLL")});
    EXPECT_EQ(fine.exitCode, 0) << fine.out.toStdString();
}

// The usage map of the table whose definition is on the given page: where its bytes start in
// the file and how many there are (a map row on some page, its length up to the row before it).
QPair<qsizetype, int> usageMapBytes(const QByteArray& file, int definition) {
    const quint32 pointer = le32(file, qsizetype(definition) * kPage + 55);
    const qsizetype page = qsizetype(pointer >> 8) * kPage;
    const int row = int(pointer & 0xFF);
    const int start = le16(file, page + 14 + 2 * row) & 0x1FFF;
    const int end = row == 0 ? kPage : le16(file, page + 14 + 2 * (row - 1)) & 0x1FFF;
    return {page + start, end - start};
}

TEST_F(BankDamage, AWrongPageMapThatLosesNoRowIsSaidAsSuchAndTheExportStands) {
    const auto [at, size] = usageMapBytes(sound, 3);
    ASSERT_EQ(sound[at], 0) << "a map held in the row itself";
    const int first = int(le32(sound, at + 1));
    const int pageCount = int(sound.size() / kPage);
    ASSERT_GT(first + (size - 5) * 8, pageCount) << "room for a page past the end";
    // A page the map may list that holds none of the table's rows.
    int other = first;
    while (other < pageCount && sound[qsizetype(other) * kPage] == 1 &&
           le32(sound, qsizetype(other) * kPage + 4) == 3)
        ++other;
    ASSERT_LT(other, pageCount);

    QByteArray otherListed = sound;
    otherListed[at + 5 + (other - first) / 8] =
        char(otherListed[at + 5 + (other - first) / 8] | (1 << ((other - first) % 8)));
    QByteArray pastTheEnd = sound;
    pastTheEnd[at + size - 1] = char(pastTheEnd[at + size - 1] | 0x80);
    const struct {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {otherListed,
         QStringLiteral(
             "题库的页表有误：第 %1 页列为该表的页，却没有它的任何一行；表中记录的 10000 "
             "行都已读出")
             .arg(other)},
        {pastTheEnd, QStringLiteral("题库的页表有误：页表列出了文件末尾之后的页（文件只有 %1 "
                                    "页）；表中记录的 10000 行都已读出")
                         .arg(pageCount)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const QString path = damaged(c.bytes);
        const ToolRun check = runTool(bankProgram(), {"check", path});
        EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
        EXPECT_TRUE(check.out.contains(c.message)) << check.out.toStdString();
        EXPECT_FALSE(check.out.contains(QStringLiteral("问题："))) << check.out.toStdString();
        const ToolRun exported = runTool(bankProgram(), {"export", path});
        EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
        EXPECT_EQ(exported.err, QStringLiteral("velquo-bank: ") + c.message + u'\n');
        EXPECT_EQ(exported.rawOut.count('\n'), 10001); // the header and every row
    }
}

// The page's bytes from offset `from` to its end replaced by noise.
QByteArray withNoise(QByteArray bytes, int page, int from) {
    vq::test::putNoise(bytes, qsizetype(page) * kPage + from, qsizetype(page + 1) * kPage);
    return bytes;
}

TEST_F(BankDamage, NoiseInADataPageLosesOnlyThatPagesRows) {
    const auto& [page, rows] = pages[12];
    const QString message =
        QStringLiteral(
            "题库已损坏：10000 行中只能读出 %1 行；第 %2 页列为该表的页，却没有它的任何一行")
            .arg(10000 - rows.size())
            .arg(page);
    // Noise after the page kind (its owner is lost too), and after the owner field.
    for (const int from : {1, 8}) {
        SCOPED_TRACE(from);
        const QString path = damaged(withNoise(sound, page, from));
        const ToolRun check = runTool(bankProgram(), {"check", path});
        EXPECT_EQ(check.exitCode, 1);
        EXPECT_TRUE(check.out.contains(QStringLiteral("问题：") + message + u'（'))
            << check.out.toStdString();
        const ToolRun exported = runTool(bankProgram(), {"export", path});
        EXPECT_EQ(exported.exitCode, 1);
        EXPECT_EQ(exported.err, QStringLiteral("velquo-bank: ") + message + u'\n');
        EXPECT_EQ(exported.rawOut.count('\n'), 10000 - rows.size() + 1);
    }
}

TEST_F(BankDamage, NoiseInTheFilesStructureIsRefusedAsDamageNamingThePage) {
    const auto mapPage = [&](int definition) {
        return int(le32(sound, qsizetype(definition) * kPage + 55) >> 8);
    };
    int catalogData = -1;
    for (int p = 1; p < sound.size() / kPage && catalogData < 0; ++p)
        if (sound[qsizetype(p) * kPage] == 1 && le32(sound, qsizetype(p) * kPage + 4) == 2)
            catalogData = p;
    ASSERT_GT(catalogData, 0);
    const struct {
        int page;
        QString what;
    } cases[] = {
        {2, QStringLiteral("表的目录")},
        {catalogData, QStringLiteral("表的目录")},
        {mapPage(2), QStringLiteral("表的目录")},
        {3, QStringLiteral("表“题”的定义")},
        // The table's map may share the catalog's page; the catalog is read first.
        {mapPage(3),
         mapPage(3) == mapPage(2) ? QStringLiteral("表的目录") : QStringLiteral("表“题”的定义")},
    };
    for (const auto& c : cases) {
        for (const int from : {0, 8}) {
            SCOPED_TRACE(QStringLiteral("page %1 from %2").arg(c.page).arg(from).toStdString());
            const QString path = damaged(withNoise(sound, c.page, from));
            const QString message = QStringLiteral("题库“%1”已损坏：第 %2 页（%3）无法读取")
                                        .arg(path)
                                        .arg(c.page)
                                        .arg(c.what);
            const ToolRun check = runTool(bankProgram(), {"check", path});
            EXPECT_EQ(check.exitCode, 1);
            EXPECT_TRUE(check.out.contains(message)) << check.out.toStdString();
            EXPECT_FALSE(check.out.contains(QStringLiteral("Unrecognized")));
            const ToolRun exported = runTool(bankProgram(), {"export", path});
            EXPECT_EQ(exported.exitCode, 1);
            EXPECT_TRUE(exported.err.contains(message)) << exported.err.toStdString();
        }
    }
}

TEST(BankDamageAccess, FilesMadeByAccessHaveConsistentCounts) {
    for (const vq::test::RealJetFile& f : vq::test::kRealJetFiles) {
        vq::jet::Database db(vq::test::realJetFolder() + QString::fromUtf8(f.file),
                             QString::fromUtf8(f.password));
        QStringList tables = vq::bank::userTables(db);
        for (const QString& table : tables) {
            const vq::jet::RowSet rows = db.readTable(table);
            EXPECT_FALSE(rows.damage.damaged()) << f.file << " " << table.toStdString() << ": "
                                                << rows.damage.describe().toStdString();
            EXPECT_EQ(rows.damage.recorded, rows.rowCount()) << f.file;
        }
    }
}

} // namespace
