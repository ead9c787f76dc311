// velquo-bank build and export with the optional columns (图片, 答案图片, 声音, 时间, 分值): found
// by name in any order, written as text and Long Integer columns that the reference readers
// read, refused values named by file, row and column, and a list without them giving the bank
// it always gave.
#include "bank.h"
#include "bank_test_support.h"

#include "data/jetfile.h"
#include "data/jetwriter.h"
#include "support/failure.h"
#include "support/skips.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vq::test::messageOf;
using namespace vq::banktest;

namespace {

constexpr char kEpoch[] = "1700000000";

// Builds with a fixed creation moment, so that two builds of the same rows are the same bytes.
QByteArray buildFixed(const QString& list, const QString& bank) {
    qputenv("SOURCE_DATE_EPOCH", kEpoch);
    const ToolRun r = runTool(bankProgram(), {QStringLiteral("build"), list, bank});
    qunsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return readBytes(bank);
}

// Every column of the list, in an order of its own, with an ignored column among them.
const QByteArray kFullList =
    "时间,答案,分类,题目,图片,分值,声音,答案图片,编号\n"
    "30,路灯,谜语,一根细长腿？, 灯.jpg ,10,歌/开门大吉.mp3,答案\\灯.png,1\n"
    ",挂钟,谜语,圆圆一张脸？,,,,,2\n"
    "３０,\"a, \"\"b\"\"\",常识,第三题,\"x, y.jpg\",100000,,,3\n"
    "3600,d,,第四题,,1,,,4\n";

bool npmReaderInstalled() {
    return QFile::exists(QStringLiteral(VELQUO_NPM_MODULES "/mdb-reader/package.json"));
}

} // namespace

TEST(BankOptionalColumns, AListWithoutThemBuildsTheBankOfBeforeByteForByte) {
    // The bank the tool built from this list before it knew the optional columns, with the
    // same creation moment.
    QTemporaryDir dir;
    const QByteArray built =
        buildFixed(QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/data/three_columns.csv"),
                   dir.filePath("db.DLL"));
    EXPECT_EQ(built,
              readBytes(QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/data/three_columns.DLL")));
    vq::jet::Database db(dir.filePath("db.DLL"), vq::jet::kBankPassword);
    EXPECT_EQ(db.columns("题").size(), 3);
}

TEST(BankOptionalColumns, FoundByNameInAnyOrderAndWrittenWithTheirTypes) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("q.csv"), kFullList);
    const ToolRun r =
        runTool(bankProgram(), {"build", dir.filePath("q.csv"), dir.filePath("db.DLL")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Only the column that is none of them is left out.
    EXPECT_TRUE(r.err.contains("没有读入的列：分类\n")) << r.err.toStdString();

    vq::jet::Database db(dir.filePath("db.DLL"), vq::jet::kBankPassword);
    const vq::jet::RowSet rows = db.readTable("题");
    QStringList names;
    QList<int> types;
    for (const vq::jet::ColumnInfo& c : rows.columns) {
        names << c.name;
        types << c.mdbType;
    }
    // The written three keep their place and types; text (10) for files, Long Integer (4) for
    // numbers.
    EXPECT_EQ(names,
              QStringList({"编号", "题目", "答案", "图片", "答案图片", "声音", "时间", "分值"}));
    EXPECT_EQ(types, QList<int>({4, 12, 12, 10, 10, 10, 4, 4}));
    ASSERT_EQ(rows.rowCount(), 4);
    const auto row = [&](int at) {
        QStringList cells;
        for (int c = 0; c < rows.columns.size(); ++c) {
            const QVariant v = rows.cell(at, c);
            cells << (v.isValid() ? v.toString() : QStringLiteral("NULL"));
        }
        return cells.join(u'|');
    };
    // Names trimmed, empty cells without a value, full-width digits read as digits.
    EXPECT_EQ(row(0), "1|一根细长腿？|路灯|灯.jpg|答案\\灯.png|歌/开门大吉.mp3|30|10");
    EXPECT_EQ(row(1), "2|圆圆一张脸？|挂钟|NULL|NULL|NULL|NULL|NULL");
    EXPECT_EQ(row(2), "3|第三题|a, \"b\"|x, y.jpg|NULL|NULL|30|100000");
    EXPECT_EQ(row(3), "4|第四题|d|NULL|NULL|NULL|3600|1");
    EXPECT_EQ(rows.cell(0, 6).typeId(), QMetaType::LongLong);

    // Some of them only: the bank has just those, in the bank's order.
    writeBytes(dir.filePath("some.csv"), "分值,题目,答案,声音\n5,q,a,s.wav\n");
    vq::bank::buildBank(dir.filePath("some.csv"), dir.filePath("some.DLL"), vq::jet::kBankPassword);
    QStringList some;
    for (const vq::jet::ColumnInfo& c :
         vq::jet::Database(dir.filePath("some.DLL"), vq::jet::kBankPassword).columns("题"))
        some << c.name;
    EXPECT_EQ(some, QStringList({"编号", "题目", "答案", "声音", "分值"}));
}

TEST(BankOptionalColumns, RefusedValuesNameTheFileTheRowAndTheColumn) {
    const struct {
        const char* csv;
        const char* message;
    } cases[] = {
        {"题目,答案,时间\nq,a,20\nq,a,0\n",
         "q.csv 第 3 行，时间列：“0”不是秒数：要写 1 到 3600 之间的整数（如 30）"},
        {"题目,答案,时间\nq,a,3601\n", "q.csv 第 2 行，时间列：“3601”不是秒数"},
        {"题目,答案,时间\nq,a,-5\n", "q.csv 第 2 行，时间列：“-5”不是秒数"},
        {"题目,答案,时间\nq,a,2.5\n", "q.csv 第 2 行，时间列：“2.5”不是秒数"},
        {"题目,答案,时间\nq,a,30秒\n", "q.csv 第 2 行，时间列：“30秒”不是秒数"},
        {"题目,答案,时间\nq,a,2147483648\n", "q.csv 第 2 行，时间列：“2147483648”不是秒数"},
        {"题目,答案,分值\nq,a,1.5\n",
         "q.csv 第 2 行，分值列：“1.5”不是分值：要写 1 到 100000 之间的整数"},
        {"题目,答案,分值\nq,a,0\n", "q.csv 第 2 行，分值列：“0”不是分值"},
        {"题目,答案,分值\nq,a,-5\n", "q.csv 第 2 行，分值列：“-5”不是分值"},
        {"题目,答案,分值\nq,a,十\n", "q.csv 第 2 行，分值列：“十”不是"},
        {"题目,答案,图片\nq,a,C:\\图\\1.jpg\n",
         "q.csv 第 2 行，图片列：“C:\\图\\1.jpg”不是题库素材文件夹中的文件名"},
        {"题目,答案,声音\nq,a,/home/me/1.mp3\n",
         "q.csv 第 2 行，声音列：“/home/me/1.mp3”是完整路径：要写题库素材文件夹中的文件名"},
        {"题目,答案,答案图片\nq,a,../1.png\n",
         "q.csv 第 2 行，答案图片列：“../1.png”指向题库素材文件夹以外"},
        {"题目,答案,图片\nq,a,a\\..\\..\\1.png\n", "q.csv 第 2 行，图片列：“a\\..\\..\\1.png”指向"},
        {"题目,答案,图片\nq,a,\"a\nb.png\"\n", "q.csv 第 2 行，图片列：文件名“a\nb.png”中有换行"},
        {"题目,答案,图片,图片\nq,a,1,2\n", "q.csv 第 1 行：“图片”列出现了两次"},
    };
    QTemporaryDir dir;
    const QString csv = dir.filePath("q.csv");
    for (const auto& c : cases) {
        writeBytes(csv, c.csv);
        const QString m =
            messageOf([&] { vq::bank::buildBank(csv, dir.filePath("db.DLL"), QString()); });
        EXPECT_TRUE(m.startsWith(QString::fromUtf8(c.message))) << m.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("db.DLL"))) << c.message;
    }
    writeBytes(csv, "题目,答案,图片\nq,a," + QByteArray(256, 'x') + "\n");
    EXPECT_EQ(messageOf([&] { vq::bank::buildBank(csv, dir.filePath("db.DLL"), QString()); }),
              "q.csv 第 2 行，图片列：文件名有 256 个字符，题库的文本列最多存 255 个");
    // The longest name goes in whole.
    writeBytes(csv, "题目,答案,图片\nq,a," + QByteArray(251, 'x') + ".jpg\n");
    vq::bank::buildBank(csv, dir.filePath("db.DLL"), QString());
    EXPECT_EQ(vq::jet::Database(dir.filePath("db.DLL"), QString()).readTable("题").cell(0, 3),
              QString(251, u'x') + ".jpg");
    // In English, the column by its header as the list has it.
    writeBytes(csv, "题目,答案,时间\nq,a,soon\n");
    const ToolRun english =
        runTool(bankProgram(), {"build", csv, dir.filePath("en.DLL")}, kEnglish);
    EXPECT_TRUE(english.err.endsWith(
        "velquo-bank: q.csv, row 2, column 时间: “soon” is not a number of seconds: write a "
        "whole number from 1 to 3600 (such as 30)\n"))
        << english.err.toStdString();
}

TEST(BankOptionalColumns, BuildExportBuildGivesTheSameBank) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("q.csv"), kFullList);
    const QByteArray first = buildFixed(dir.filePath("q.csv"), dir.filePath("first.DLL"));
    const ToolRun exported = runTool(bankProgram(), {"export", dir.filePath("first.DLL")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out.toStdString(),
              "编号,题目,答案,图片,答案图片,声音,时间,分值\n"
              "1,\"一根细长腿？\",\"路灯\",\"灯.jpg\",\"答案\\灯.png\",\"歌/开门大吉.mp3\",30,10\n"
              "2,\"圆圆一张脸？\",\"挂钟\",,,,,\n"
              "3,\"第三题\",\"a, \"\"b\"\"\",\"x, y.jpg\",,,30,100000\n"
              "4,\"第四题\",\"d\",,,,3600,1\n");
    writeBytes(dir.filePath("exported.csv"), exported.rawOut);
    EXPECT_EQ(buildFixed(dir.filePath("exported.csv"), dir.filePath("second.DLL")), first);

    // mdbtools prints the same rows and the columns' types.
    SKIP_WITHOUT_REFERENCE_TOOLS();
    EXPECT_EQ(runTool("mdb-export", {dir.filePath("first.DLL"), "题"}).rawOut, exported.rawOut);
    const QString schema = runTool("mdb-schema", {dir.filePath("first.DLL")}).out;
    for (const char* line :
         {"[编号]\t\t\tLong Integer", "[图片]\t\t\tText (255)", "[答案图片]\t\t\tText (255)",
          "[声音]\t\t\tText (255)", "[时间]\t\t\tLong Integer", "[分值]\t\t\tLong Integer"})
        EXPECT_TRUE(schema.contains(QString::fromUtf8(line))) << line << "\n"
                                                              << schema.toStdString();
    // The independent reader: the columns, numbers as numbers, empty cells as null.
    if (!npmReaderInstalled())
        GTEST_SKIP() << "mdb-reader is not installed for this build folder: run "
                        "tests/tools/setup-npm.sh";
    const ToolRun npm =
        runTool("node", {QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/dump_with_mdb_reader.mjs"),
                         QStringLiteral(VELQUO_NPM_MODULES), dir.filePath("first.DLL"), "题"});
    ASSERT_EQ(npm.exitCode, 0) << npm.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(npm.rawOut).object();
    EXPECT_EQ(doc.value("columns").toArray(),
              QJsonArray({"编号", "题目", "答案", "图片", "答案图片", "声音", "时间", "分值"}));
    const QJsonArray rows = doc.value("rows").toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].toArray(), QJsonArray({1, "一根细长腿？", "路灯", "灯.jpg", "答案\\灯.png",
                                             "歌/开门大吉.mp3", 30, 10}));
    EXPECT_EQ(rows[1].toArray(),
              QJsonArray({2, "圆圆一张脸？", "挂钟", QJsonValue::Null, QJsonValue::Null,
                          QJsonValue::Null, QJsonValue::Null, QJsonValue::Null}));
    EXPECT_EQ(rows[2].toArray().at(7), 100000);
    EXPECT_EQ(rows[3].toArray().at(6), 3600);
}

TEST(BankOptionalColumns, WorkbookCellsAsNumbersAndTexts) {
    // The workbook is written by the machine's Python, which takes no Windows path.
    SKIP_WITHOUT_REFERENCE_TOOLS();
    // A workbook keeps 30 as a number, 30.0 likewise, and a text that looks like one.
    QTemporaryDir dir;
    const QString xlsx = dir.filePath("q.xlsx");
    const ToolRun made = runTool(QStringLiteral(VELQUO_PYTHON3),
                                 {"-c",
                                  "import sys, openpyxl\n"
                                  "wb = openpyxl.Workbook(); ws = wb.active; ws.title = '题库'\n"
                                  "ws.append(['分值', '题目', '答案', '时间', '图片'])\n"
                                  "ws.append([10, 'q1', 'a1', 30, '1.jpg'])\n"
                                  "ws.append([2.0, 'q2', 'a2', '45', None])\n"
                                  "ws.append([None, 'q3', 'a3', 20.5, None])\n"
                                  "wb.save(sys.argv[1])\n",
                                  xlsx});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_EQ(messageOf([&] { vq::bank::buildBank(xlsx, dir.filePath("db.DLL"), QString()); }),
              "q.xlsx 第 4 行，时间列：“20.5”不是秒数：要写 1 到 3600 之间的整数（如 30）");
    const ToolRun fixed = runTool(
        QStringLiteral(VELQUO_PYTHON3),
        {"-c",
         "import sys, openpyxl\n"
         "wb = openpyxl.load_workbook(sys.argv[1]); wb.active['D4'] = 20; wb.save(sys.argv[1])\n",
         xlsx});
    ASSERT_EQ(fixed.exitCode, 0) << fixed.err.toStdString();
    vq::bank::buildBank(xlsx, dir.filePath("db.DLL"), QString());
    const ToolRun exported = runTool(bankProgram(), {"export", dir.filePath("db.DLL")});
    EXPECT_EQ(exported.out.toStdString(), "编号,题目,答案,图片,时间,分值\n"
                                          "1,\"q1\",\"a1\",\"1.jpg\",30,10\n"
                                          "2,\"q2\",\"a2\",,45,2\n"
                                          "3,\"q3\",\"a3\",,20,\n");
}
