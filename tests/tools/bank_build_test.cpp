// velquo-bank build: CSV reading, the bank it writes, and refused input.
#include "bank.h"
#include "bank_test_support.h"

#include "data/jetfile.h"
#include "data/jetwriter.h"
#include "support/failure.h"
#include "support/jet_fixtures.h"
#include "support/skips.h"

#include <QDir>
#include <QFileInfo>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vq::test::messageOf;
using namespace vq::banktest;

TEST(BankCsv, QuotingBomLineBreaksAndBlankLines) {
    const QByteArray csv = "\xEF\xBB\xBF"
                           "编号,题目,答案\r\n"
                           "1,\"a, b\",\"say \"\"hi\"\"\"\r\n"
                           "2,\"two\r\nlines\",\"\"\r\n"
                           "\r\n"
                           "3,\"lone\rcr\",x\n"
                           "4,last,\n"
                           "\n";
    const QList<vq::bank::CsvRecord> r = vq::bank::parseCsv(csv);
    ASSERT_EQ(r.size(), 5);
    EXPECT_EQ(r[0].fields, QStringList({"编号", "题目", "答案"}));
    EXPECT_EQ(r[1].fields, QStringList({"1", "a, b", "say \"hi\""}));
    EXPECT_EQ(r[2].fields, QStringList({"2", "two\nlines", ""}));
    EXPECT_EQ(r[3].fields, QStringList({"3", "lone\rcr", "x"}));
    EXPECT_EQ(r[4].fields, QStringList({"4", "last", ""}));
    // Records start on the lines an editor shows them on.
    EXPECT_EQ(r[1].line, 2);
    EXPECT_EQ(r[2].line, 3);
    EXPECT_EQ(r[3].line, 6);
    EXPECT_EQ(r[4].line, 8);
    // No line break at the end of the file.
    EXPECT_EQ(vq::bank::parseCsv("a,\"b\"").back().fields, QStringList({"a", "b"}));
}

TEST(BankCsv, MalformedTextNamesItsLine) {
    EXPECT_EQ(messageOf([] { vq::bank::parseCsv("a,b\n1,\"open\nstill open"); }).left(6),
              QStringLiteral("第 2 行："));
    EXPECT_EQ(messageOf([] { vq::bank::parseCsv("a,b\n\"x\ny\",z\n1,ab\"c\n"); }).left(6),
              QStringLiteral("第 4 行："));
    EXPECT_EQ(messageOf([] { vq::bank::parseCsv("a,b\n1,\"q\"tail\n"); }).left(6),
              QStringLiteral("第 2 行："));
    EXPECT_EQ(messageOf([] { vq::bank::parseCsv("a,b\n1,2\n3,\xC3\x28\n"); }).left(6),
              QStringLiteral("第 3 行："));
}

TEST(BankBuild, ReadsBackThroughThePresentersReader) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("q.csv");
    writeBytes(csv, "\xEF\xBB\xBF"
                    "编号,题目,答案\r\n"
                    "7,\"床前明月光,\r\n下一句？\",疑是地上霜\r\n"
                    "-3,\"He said \"\"no\"\"\",\r\n"
                    "12,Which planet?,Mars\r\n");
    const QString out = dir.filePath("db.DLL");
    const vq::bank::BuildResult r = vq::bank::buildBank(csv, out, vq::jet::kBankPassword);
    EXPECT_EQ(r.rows, 3);
    EXPECT_EQ(r.lowest, -3);
    EXPECT_EQ(r.highest, 12);
    EXPECT_EQ(r.bytes, QFileInfo(out).size());

    vq::jet::Database db(out, vq::jet::kBankPassword);
    const vq::jet::RowSet rows = db.readTable("题");
    ASSERT_EQ(rows.columns.size(), 3);
    EXPECT_EQ(rows.columns[0].name, "编号");
    EXPECT_EQ(rows.columns[0].mdbType, 4);  // Long Integer
    EXPECT_EQ(rows.columns[1].mdbType, 12); // memo
    EXPECT_EQ(rows.columns[2].mdbType, 12);
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.cell(0, 0).toLongLong(), 7);
    EXPECT_EQ(rows.cell(0, 1).toString(), "床前明月光,\n下一句？");
    EXPECT_EQ(rows.cell(0, 2).toString(), "疑是地上霜");
    EXPECT_EQ(rows.cell(1, 0).toLongLong(), -3);
    EXPECT_EQ(rows.cell(1, 1).toString(), "He said \"no\"");
    EXPECT_EQ(rows.cell(1, 2).toString(), QString());
    EXPECT_EQ(rows.cell(2, 1).toString(), "Which planet?");
    EXPECT_EQ(messageOf([&] { vq::jet::Database(out, "fmrtk20914"); }), "数据库密码不正确");
}

TEST(BankBuild, SourceDateEpochMakesTheSameBankByteForByte) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("q.csv");
    writeBytes(csv, "编号,题目,答案\n1,一年有几个季节？,四个\n");
    const auto build = [&](const char* epoch, const QString& name) {
        if (epoch)
            qputenv("SOURCE_DATE_EPOCH", epoch);
        else
            qunsetenv("SOURCE_DATE_EPOCH");
        vq::bank::buildBank(csv, dir.filePath(name), vq::jet::kBankPassword);
        qunsetenv("SOURCE_DATE_EPOCH");
        return readBytes(dir.filePath(name));
    };
    const QByteArray first = build("1700000000", "a.DLL");
    EXPECT_EQ(build("1700000000", "b.DLL"), first);
    // Another moment is another creation date, and with it another mask over the password.
    const QByteArray later = build("1700086400", "c.DLL");
    EXPECT_NE(later, first);
    EXPECT_EQ(later.size(), first.size());
    EXPECT_EQ(decodedPasswordBytes(later), decodedPasswordBytes(first));
    vq::jet::Database db(dir.filePath("c.DLL"), vq::jet::kBankPassword);
    EXPECT_EQ(db.readTable("题").cell(0, 2).toString(), "四个");
}

TEST(BankBuild, WithoutNumberColumnRowsAreNumberedFromOne) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("q.csv"), "答案,题目\nA1,Q1\nA2,Q2\n\nA3,Q3\n");
    const vq::bank::BuildResult r =
        vq::bank::buildBank(dir.filePath("q.csv"), dir.filePath("db.DLL"), vq::jet::kBankPassword);
    EXPECT_EQ(r.rows, 3);
    vq::jet::Database db(dir.filePath("db.DLL"), vq::jet::kBankPassword);
    const vq::jet::RowSet rows = db.readTable("题");
    ASSERT_EQ(rows.rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows.cell(i, 0).toLongLong(), i + 1);
        EXPECT_EQ(rows.cell(i, 1).toString(), QStringLiteral("Q%1").arg(i + 1));
        EXPECT_EQ(rows.cell(i, 2).toString(), QStringLiteral("A%1").arg(i + 1));
    }
}

TEST(BankBuild, BadInputNamesItsFileLineAndColumnAndLeavesTheOldFile) {
    const struct {
        const char* csv;
        const char* message; // the message starts with this
    } cases[] = {
        {"编号,题目,答案\n1,q,a\nabc,q,a\n",
         "q.csv 第 3 行：编号“abc”不是 -2147483648 到 2147483647 之间的整数"},
        {"编号,题目,答案\n1,q,a\n2.5,q,a\n", "q.csv 第 3 行：编号“2.5”不是"},
        {"编号,题目,答案\n3000000000,q,a\n", "q.csv 第 2 行：编号“3000000000”不是"},
        {"编号,题目,答案\n1,\"two\nlines\",a\n ,q,a\n", "q.csv 第 4 行：编号是空的"},
        {"编号,题目,答案\n5,q,a\n6,q,a\n05,q,a\n", "q.csv 第 4 行：编号 5 已在第 2 行用过"},
        {"编号,题目,答案\n1,q,a\n2,\"  \",a\n", "q.csv 第 3 行：题目是空的"},
        {"编号,题目,答案\n1,q\n", "q.csv 第 2 行：有 2 列，标题行却有 3 列"},
        {"编号,题目,题目,答案\n", "q.csv 第 1 行：“题目”列出现了两次"},
        {"编号,题目\n",
         "q.csv 第 1 "
         "行：标题行要有“题目”和“答案”两列（“编号”列可有可无），现在的标题行是：编号、题目"},
        // What the parser and the decoder find, likewise.
        {"编号,题目,答案\n1,q,a\n2,\"open\n", "q.csv 第 3 行：用引号括起来的单元格缺少结束引号"},
        {"编号,题目,答案\n1,q\"x\",a\n", "q.csv 第 2 行：没有用引号括起来的单元格中出现了引号"},
        {"编号,题目,答案\n1,q,a\n2,\xC4\x0A", "q.csv 第 3 行：文字既不是 UTF-8 也不是 GBK 编码"},
        {"\xFF\xFE\x16", "q.csv：文件标明是 UTF-16 编码，字节数却是奇数"},
        {"编号,题目,答案\n", "q.csv：标题行后面没有题目"},
        {"", "q.csv：没有标题行（第一行应为 编号,题目,答案）"},
    };
    QTemporaryDir dir;
    const QString csv = dir.filePath("q.csv");
    const QString fresh = dir.filePath("fresh.DLL");
    const QString old = dir.filePath("old.DLL");
    vq::jet::writeFixture("bank", old);
    const QByteArray oldBytes = readBytes(old);
    for (const auto& c : cases) {
        writeBytes(csv, c.csv);
        const QString m1 =
            messageOf([&] { vq::bank::buildBank(csv, fresh, vq::jet::kBankPassword); });
        EXPECT_TRUE(m1.contains(QString::fromUtf8(c.message))) << m1.toStdString();
        EXPECT_FALSE(QFile::exists(fresh)) << c.message;
        const QString m2 =
            messageOf([&] { vq::bank::buildBank(csv, old, vq::jet::kBankPassword); });
        EXPECT_EQ(m2, m1);
        EXPECT_EQ(readBytes(old), oldBytes) << c.message;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no leftovers beside them
}

TEST(BankBuild, PasswordOrNoneInTheHeaderPage) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("q.csv"), "题目,答案\nq,a\n");
    const QString open = dir.filePath("open.DLL");
    const QString other = dir.filePath("other.DLL");
    const QString standard = dir.filePath("standard.DLL");
    vq::bank::buildBank(dir.filePath("q.csv"), open, QString());
    vq::bank::buildBank(dir.filePath("q.csv"), other, "Other 1");
    vq::bank::buildBank(dir.filePath("q.csv"), standard, vq::jet::kBankPassword);
    EXPECT_EQ(decodedPasswordBytes(readBytes(open)), QByteArray(40, '\0'));
    EXPECT_EQ(decodedPasswordBytes(readBytes(other)).left(16), QByteArray("O\0t\0h\0e\0r\0 \0"
                                                                          "1\0\0\0",
                                                                          16));
    EXPECT_EQ(decodedPasswordBytes(readBytes(standard)).left(22), QByteArray("f\0m\0r\0T\0K\0"
                                                                             "2\0"
                                                                             "0\0"
                                                                             "9\0"
                                                                             "1\0"
                                                                             "4\0\0\0",
                                                                             22));
    // An unprotected bank opens with the presenter's password; the others need their own.
    EXPECT_NO_THROW(vq::jet::Database(open, vq::jet::kBankPassword));
    EXPECT_EQ(messageOf([&] { vq::jet::Database(other, vq::jet::kBankPassword); }),
              "数据库密码不正确");
    EXPECT_NO_THROW(vq::jet::Database(other, "Other 1"));
    // mdbtools reads all three.
    SKIP_WITHOUT_REFERENCE_TOOLS();
    for (const QString& f : {open, other, standard})
        EXPECT_EQ(runTool("mdb-count", {f, "题"}).out.trimmed(), "1") << f.toStdString();
}

// What the connection string cannot carry is refused when the bank is built, not only when it is
// checked; a blank inside goes through and the check opens the bank with it.
TEST(BankBuild, PasswordsTheConnectionCannotCarryAreRefusedAtOnce) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("q.csv"), "题目,答案\nq,a\n");
    const QString bank = dir.filePath("db.DLL");
    const struct {
        const char* password;
        const char* why;
    } refused[] = {
        {"a;b", "密码中有“;”，无法写进连接字符串"},
        {" ab", "密码的开头或结尾有空白，无法写进连接字符串"},
        {"ab\t", "密码的开头或结尾有空白，无法写进连接字符串"},
        {"\"ab\"", "密码两端是引号，无法写进连接字符串"},
        {"'ab'", "密码两端是引号，无法写进连接字符串"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(messageOf([&] {
                      vq::bank::buildBank(dir.filePath("q.csv"), bank,
                                          QString::fromUtf8(r.password));
                  }),
                  QString::fromUtf8(r.why))
            << r.password;
        EXPECT_FALSE(QFile::exists(bank)) << r.password;
    }
    for (const char* password : {"a b", "\"ab", "密 码"}) {
        vq::bank::buildBank(dir.filePath("q.csv"), bank, QString::fromUtf8(password));
        const vq::bank::CheckReport r = vq::bank::checkBank(bank, QString::fromUtf8(password));
        EXPECT_TRUE(r.ok) << password << "\n" << r.text.toStdString();
        QFile::remove(bank);
        QFile::remove(bank + ".bak");
    }
}

TEST(BankBuild, ProgressOnlyForLargeInputs) {
    QTemporaryDir dir;
    QByteArray csv = "题目,答案\n";
    for (int i = 0; i < vq::bank::kProgressRows; ++i)
        csv += "question " + QByteArray::number(i) + ",answer\n";
    writeBytes(dir.filePath("large.csv"), csv);
    writeBytes(dir.filePath("small.csv"), "题目,答案\nq,a\n");
    QStringList lines;
    const auto progress = [&](const QString& line) { lines << line; };
    vq::bank::buildBank(dir.filePath("small.csv"), dir.filePath("small.DLL"), {}, progress);
    EXPECT_TRUE(lines.isEmpty());
    const vq::bank::BuildResult r =
        vq::bank::buildBank(dir.filePath("large.csv"), dir.filePath("large.DLL"), {}, progress);
    EXPECT_EQ(r.rows, vq::bank::kProgressRows);
    EXPECT_EQ(r.highest, vq::bank::kProgressRows);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines.back().startsWith("正在把 10000 道题写入 ")) << lines.back().toStdString();
}

TEST(BankBuild, LongestTextReadsBackWholeLongerIsRefused) {
    QTemporaryDir dir;
    const QByteArray longest(vq::bank::kLongestText, 'x');
    writeBytes(dir.filePath("ok.csv"), "题目,答案\n\"" + longest + "\",a\n");
    vq::bank::buildBank(dir.filePath("ok.csv"), dir.filePath("ok.DLL"), vq::jet::kBankPassword);
    vq::jet::Database db(dir.filePath("ok.DLL"), vq::jet::kBankPassword);
    EXPECT_EQ(db.readTable("题").cell(0, 1).toString().toUtf8(), longest);
    writeBytes(dir.filePath("long.csv"), "题目,答案\nq,a\nq,\"" + longest + "x\"\n");
    EXPECT_EQ(
        messageOf([&] {
            vq::bank::buildBank(dir.filePath("long.csv"), dir.filePath("long.DLL"), QString());
        }),
        QStringLiteral(
            "long.csv 第 3 行：答案有 131072 字节（UTF-8），放映程序最多只能显示 131071 字节"));
    // A bank from elsewhere with a longer text: the check says it shows cut off.
    vq::jet::writeDatabase(
        dir.filePath("other.DLL"),
        {vq::jet::questionTable({{1, QString(60000, QChar(0x9898)), "a"}, {2, "q", "a"}})},
        {vq::jet::kBankPassword});
    const vq::bank::CheckReport r =
        vq::bank::checkBank(dir.filePath("other.DLL"), vq::jet::kBankPassword);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.text.contains("问题：1 道题的文字有 131068 字节或更长，显示时会被截断：编号 1\n"))
        << r.text.toStdString();
}

TEST(BankWriter, BigTablesComeBackWholeAndRefuseTheirFirstBadRow) {
    // Big enough for its rows to be encoded ahead of their placing; texts of every form: UCS-2,
    // compressed, mixed, with the mark, empty, NULL.
    QTemporaryDir dir;
    const auto text = [](int i) -> QVariant {
        switch (i % 6) {
        case 0:
            return QStringLiteral("第%1题：床前明月光").arg(i);
        case 1:
            return QStringLiteral("question %1 in plain letters").arg(i);
        case 2:
            return QString(QChar(0xFEFF)) + QStringLiteral("mark %1").arg(i);
        case 3:
            return QString();
        case 4:
            return QVariant();
        default:
            return QStringLiteral("mixed %1 混合 🙂").arg(i);
        }
    };
    vq::jet::Table table{QStringLiteral("T"),
                         {{QStringLiteral("N"), vq::jet::ColumnType::Long},
                          {QStringLiteral("Q"), vq::jet::ColumnType::Memo},
                          {QStringLiteral("A"), vq::jet::ColumnType::Text, 100}},
                         {}};
    constexpr int kRows = 3000;
    for (int i = 0; i < kRows; ++i)
        table.rows.append({i, text(i), text(i + 1)});
    const QString path = dir.filePath("big.DLL");
    vq::jet::writeDatabase(path, {table}, {});
    vq::jet::Database db(path, QString());
    const vq::jet::RowSet rows = db.readTable("T");
    ASSERT_EQ(rows.rowCount(), kRows);
    for (int i = 0; i < kRows; ++i) {
        ASSERT_EQ(rows.cell(i, 0).toInt(), i);
        ASSERT_EQ(rows.cell(i, 1).toString(), text(i).toString()) << i;
        ASSERT_EQ(rows.cell(i, 2).toString(), text(i + 1).toString()) << i;
    }

    // The first bad row is named, wherever it falls among the blocks and whatever comes after.
    const QString unreadable = QString(QChar(0xFEFF)) + QChar(0x4E00);
    for (const int bad : {0, 255, 256, 1700, kRows - 1}) {
        SCOPED_TRACE(bad);
        vq::jet::Table t = table;
        t.rows[bad][1] = unreadable;
        if (bad + 1 < kRows)
            t.rows[bad + 1][0] = QStringLiteral("x");
        t.rows[kRows - 1].append(1);
        const QString expected =
            bad == kRows - 1
                ? QStringLiteral("表“T”第 %1 行：4 个值，但只有 3 列").arg(kRows)
                : QStringLiteral(
                      "表“T”第 %1 行“Q”列：以 U+FEFF 开头的文本中不能再有低字节为零的字符")
                      .arg(bad + 1);
        EXPECT_EQ(messageOf([&] { vq::jet::writeDatabase(dir.filePath("bad.DLL"), {t}, {}); }),
                  expected);
        EXPECT_FALSE(QFile::exists(dir.filePath("bad.DLL")));
    }
}
