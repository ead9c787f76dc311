// The reader against real files made by the engine itself, and against broken files.
#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/bankschema.h"
#include "data/jetfile.h"
#include "data/jetpages.h"
#include "data/jetwriter.h"
#include "platform/exception.h"
#include "support/failure.h"
#include "support/file_bytes.h"
#include "support/heap.h"
#include "support/jet_fixtures.h"
#include "support/real_jet_files.h"
#include "support/skips.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using vq::test::readBytes;
using vq::test::writeBytes;

const QString kShared = vq::test::realJetFolder();

QString mdbExport(const QString& file, const QString& table) {
    QProcess p;
    p.start(QStringLiteral("mdb-export"),
            {QStringLiteral("-Q"), QStringLiteral("-d"), QStringLiteral("\t"), file, table});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Our rows in mdb-export's text form (tab-separated, unquoted, a header line).
QString ourExport(const QString& file, const QString& table, const QString& password = {}) {
    vq::jet::Database db(file, password);
    const vq::jet::RowSet rows = db.readTable(table);
    QStringList lines;
    QStringList head;
    for (const auto& c : rows.columns)
        head << c.name;
    lines << head.join(u'\t');
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList cells;
        for (int i = 0; i < rows.columns.size(); ++i)
            cells << (rows.cell(r, i).isValid() ? rows.cell(r, i).toString() : QString());
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

using vq::test::messageOf;

} // namespace

TEST(JetReader, RealFilesReadAsTheReferenceToolPrintsThem) {
    SKIP_WITHOUT_REFERENCE_TOOLS();
    for (const auto& c : vq::test::kRealJetFiles) {
        const QString file = kShared + QString::fromUtf8(c.file);
        const QString expected = mdbExport(file, QString::fromUtf8(c.table));
        ASSERT_FALSE(expected.isEmpty()) << c.file;
        EXPECT_EQ(ourExport(file, QString::fromUtf8(c.table), QString::fromUtf8(c.password)),
                  expected)
            << c.file;
    }
}

TEST(JetReader, ManyColumnsWithMemosAndNulls) {
    const QString file = kShared + QStringLiteral("jackcess_test2V2000.mdb");
    vq::jet::Database db(file, {});
    const vq::jet::RowSet rows = db.readTable(QStringLiteral("MSP_PROJECTS"));
    EXPECT_EQ(rows.columns.size(), 74);
    ASSERT_EQ(rows.rowCount(), 1);
    int nulls = 0;
    for (int i = 0; i < rows.columns.size(); ++i)
        nulls += rows.cell(0, i).isValid() ? 0 : 1;
    EXPECT_GT(nulls, 0);
}

TEST(JetReader, PasswordMustMatchExactly) {
    const QString file = kShared + QStringLiteral("mdbreader_V2000_with-password.mdb");
    EXPECT_NO_THROW(vq::jet::Database(file, QStringLiteral("password")));
    EXPECT_EQ(messageOf([&] { vq::jet::Database(file, QStringLiteral("wrong")); }),
              QStringLiteral("数据库密码不正确"));
    EXPECT_EQ(messageOf([&] { vq::jet::Database(file, QStringLiteral("Password")); }),
              QStringLiteral("数据库密码不正确"));
    EXPECT_EQ(messageOf([&] { vq::jet::Database(file, QString()); }),
              QStringLiteral("数据库密码不正确"));
    // A file without a password opens whatever the connection supplies.
    EXPECT_NO_THROW(vq::jet::Database(kShared + QStringLiteral("mdbreader_V2000_no-password.mdb"),
                                      QStringLiteral("anything")));
}

TEST(JetReader, OtherFormatsAreRefusedAsUnrecognized) {
    const QString jet3 = kShared + QStringLiteral("mdbreader_V1997_no-password_JET3.mdb");
    EXPECT_EQ(messageOf([&] { vq::jet::Database(jet3, {}); }),
              QStringLiteral("无法识别的数据库格式：%1").arg(jet3));
    QTemporaryDir dir;
    QFile src(kShared + QStringLiteral("mdbreader_V2000_no-password.mdb"));
    ASSERT_TRUE(src.open(QIODevice::ReadOnly));
    QByteArray ace = src.readAll();
    ace[0x14] = 2; // a later engine's format
    const QString acePath = dir.filePath(QStringLiteral("ace.mdb"));
    QFile out(acePath);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(ace);
    out.close();
    EXPECT_EQ(messageOf([&] { vq::jet::Database(acePath, {}); }),
              QStringLiteral("无法识别的数据库格式：%1").arg(acePath));
}

TEST(JetReader, MissingFileAndMissingTable) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.DLL"));
    EXPECT_EQ(messageOf([&] { vq::jet::Database(path, {}); }),
              QStringLiteral("找不到文件：%1").arg(path));
    vq::jet::Database db(kShared + QStringLiteral("mdbreader_V2000_no-password.mdb"), {});
    EXPECT_EQ(messageOf([&] { db.readTable(QStringLiteral("题")); }),
              QStringLiteral("数据库中找不到输入表或查询“题”，请确认它存在并且名称拼写正确"));
}

namespace {
// Opening and reading every table of a broken file ends in a failure or in rows, never in
// a crash or a hang; returns whether it failed.
bool survives(const QString& path) {
    try {
        vq::jet::Database db(path, QStringLiteral("fmrTK20914"));
        for (const QString& table : {QStringLiteral("Table1"), QStringLiteral("题")}) {
            try {
                db.readTable(table);
            } catch (const vq::Exception&) {
            }
        }
        return false;
    } catch (const vq::Exception& e) {
        return !e.message().isEmpty();
    }
}
} // namespace

TEST(JetReader, BrokenFilesEndInAnErrorNotACrash) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.DLL"));
    QFile src(kShared + QStringLiteral("mdbreader_V2000_no-password.mdb"));
    ASSERT_TRUE(src.open(QIODevice::ReadOnly));
    const QByteArray good = src.readAll();

    writeBytes(path, QByteArray());
    EXPECT_TRUE(survives(path)) << "empty";
    writeBytes(path, good.left(4096 + 100));
    EXPECT_TRUE(survives(path)) << "truncated mid-page";
    writeBytes(path, good.left(2 * 4096));
    EXPECT_TRUE(survives(path)) << "truncated before the catalog";

    QRandomGenerator rng(20914);
    QByteArray random(64 * 1024, '\0');
    for (char& c : random)
        c = static_cast<char>(rng.bounded(256));
    writeBytes(path, random);
    EXPECT_TRUE(survives(path)) << "random";
    // Random pages behind a valid header.
    writeBytes(path, good.left(4096) + random);
    EXPECT_TRUE(survives(path)) << "random pages";

    // The catalog's usage map made zero-length: the map's row points at its own start.
    QByteArray zeroMap = good;
    {
        const auto* pg2 = reinterpret_cast<const unsigned char*>(good.constData()) + 2 * 4096;
        const quint32 ptr = pg2[55] | (pg2[56] << 8) | (pg2[57] << 16) | (quint32(pg2[58]) << 24);
        const int row = int(ptr & 0xFF);
        const qint64 pg = ptr >> 8;
        auto* p = reinterpret_cast<unsigned char*>(zeroMap.data()) + pg * 4096;
        const int end =
            row == 0 ? 4096 : ((p[14 + 2 * (row - 1)] | (p[15 + 2 * (row - 1)] << 8)) & 0x1FFF);
        p[14 + 2 * row] = static_cast<unsigned char>(end & 0xFF);
        p[15 + 2 * row] = static_cast<unsigned char>(end >> 8);
    }
    writeBytes(path, zeroMap);
    EXPECT_TRUE(survives(path)) << "zero-length usage map";

    // Single bit flips all over the file: whatever happens, no crash.
    for (int i = 0; i < 300; ++i) {
        QByteArray flipped = good;
        const int at = 4096 + int(rng.bounded(quint32(good.size() - 4096)));
        flipped[at] = static_cast<char>(flipped[at] ^ (1 << rng.bounded(8)));
        writeBytes(path, flipped);
        survives(path);
    }
}

TEST(JetReader, ConnectionStringAndProvider) {
    const QString designed = TADOConnection::designedConnectionString();
    EXPECT_EQ(designed.count(u';'), 18);
    EXPECT_TRUE(
        designed.startsWith(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";User "
                                           "ID=Admin;Data Source=db.DLL;Mode=Share Deny None;")));
    EXPECT_TRUE(designed.endsWith(
        QStringLiteral("Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False")));
    TADOConnection c;
    c.setConnectionString(designed);
    EXPECT_EQ(c.property(QStringLiteral("Jet OLEDB:Database Password")),
              QStringLiteral("fmrTK20914"));
    EXPECT_EQ(c.property(QStringLiteral("Password")), QString());
    c.setConnectionString(QString(designed).replace(QStringLiteral("Jet.OLEDB.4.0"),
                                                    QStringLiteral("ACE.OLEDB.12.0")));
    EXPECT_EQ(messageOf([&] { c.open(); }),
              QStringLiteral("找不到数据库提供程序，它可能没有正确安装"));
}

// An open cursor over the whole bank lasts from the start to the first draw. It holds the
// numbers, their index and where each row lies; texts are read when asked for, and nothing is
// kept for a column the reader decodes itself.
TEST(JetReader, FullReadHoldsLittleARow) {
    constexpr int kRows = 10000;
    QList<vq::jet::Question> questions;
    for (int n = 1; n <= kRows; ++n)
        questions.append(
            {n * 7, QStringLiteral("第%1题：哪一个？").arg(n), QStringLiteral("答案%1").arg(n)});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.DLL"));
    vq::jet::writeDatabase(path, {vq::jet::questionTable(questions)}, {vq::jet::kBankPassword});
    vq::jet::Database db(path, vq::jet::kBankPassword);
    const qint64 before = vq::test::heapHeld();
    const vq::jet::RowSet rows = db.readTable(vq::bankschema::kTable);
    const qint64 held = vq::test::heapHeld() - before;
    // Before: a list of three cells a row and three 128 KB value buffers, about 210 bytes a row;
    // with the numbers as 32-byte QVariants in one block, 69; with the cursor's own copy of
    // where the rows stand, 45. The pages the reader keeps are the same for any size of bank.
    const qint64 pages =
        qint64(vq::jet::PageReader::kKept) * qint64(sizeof(vq::jet::PageRef::Page) + 64);
    if (vq::test::kHeapIsCounted) {
        EXPECT_LT(held - pages, qint64(kRows) * 38) << (held - pages) / kRows << " bytes a row";
    }
    ASSERT_EQ(rows.rowCount(), kRows);
    const int number = rows.columnIndex(vq::bankschema::kNumber);
    const int question = rows.columnIndex(vq::bankschema::kQuestion);
    const int answer = rows.columnIndex(vq::bankschema::kAnswer);
    for (int r : {0, 1, 4999, kRows - 1}) {
        EXPECT_EQ(rows.cell(r, number).toLongLong(), questions[r].number);
        EXPECT_EQ(rows.cell(r, answer).toString(), questions[r].answer);
        EXPECT_EQ(rows.cell(r, question).toString(), questions[r].question);
        EXPECT_EQ(rows.cell(r, number).toLongLong(), questions[r].number);
    }
    EXPECT_FALSE(rows.cell(kRows, number).isValid());
    EXPECT_FALSE(rows.cell(0, 3).isValid());
}

// An open bank holds the pages in use, not the file: a 5 MB bank opened and read whole, its
// cursor still open, holds less than a third of it (the whole file before; now the kept
// pages, 1 MB, and 36 bytes a row).
TEST(JetReader, AnOpenBankHoldsItsPagesInUseNotTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db.DLL"));
    vq::jet::writeFixture(QStringLiteral("large-10k"), path);
    const qint64 size = QFileInfo(path).size();
    ASSERT_GT(size, 4 << 20);
    const qint64 before = vq::test::heapHeld();
    vq::jet::Database db(path, vq::jet::kBankPassword);
    const vq::jet::RowSet rows = db.readTable(vq::bankschema::kTable);
    const qint64 held = vq::test::heapHeld() - before;
    ASSERT_EQ(rows.rowCount(), 10000);
    EXPECT_FALSE(rows.cell(9999, rows.columnIndex(vq::bankschema::kAnswer)).toString().isEmpty());
    if (vq::test::kHeapIsCounted) {
        EXPECT_LT(held, size / 3) << held << " bytes held for a file of " << size;
    }
}

// The kept cells of a read are plain numbers while they can be; a cell of another kind, coming
// after numbers and cells without a value, leaves every cell as it was given.
TEST(JetReader, RowSetKeepsEveryKindOfCell) {
    vq::jet::RowSet rows;
    rows.columns = {{QStringLiteral("a"), 0, true, true, false},
                    {QStringLiteral("b"), 0, false, false, true}};
    rows.reserveRows(4);
    rows.appendRow({QVariant(qlonglong(-3)), QVariant()});
    rows.appendRow({QVariant(), QVariant(qlonglong(1) << 40)});
    rows.appendRow({QVariant(qlonglong(0))});
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(rows.rowCount(), 3 + pass);
        EXPECT_EQ(rows.cell(0, 0), QVariant(qlonglong(-3)));
        EXPECT_EQ(rows.cell(0, 0).typeId(), QMetaType::LongLong);
        EXPECT_FALSE(rows.cell(0, 1).isValid());
        EXPECT_FALSE(rows.cell(1, 0).isValid());
        EXPECT_EQ(rows.cell(1, 1), QVariant(qlonglong(1) << 40));
        EXPECT_EQ(rows.cell(2, 0), QVariant(qlonglong(0)));
        EXPECT_TRUE(rows.cell(2, 0).isValid());
        EXPECT_FALSE(rows.cell(2, 1).isValid());
        if (pass == 0)
            rows.appendRow({QVariant(2.5), QVariant(QStringLiteral("题"))});
    }
    EXPECT_EQ(rows.cell(3, 0), QVariant(2.5));
    EXPECT_EQ(rows.cell(3, 1), QVariant(QStringLiteral("题")));
}
