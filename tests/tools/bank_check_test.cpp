// velquo-bank export and check, and the program's exit status and streams.
#include "bank.h"
#include "bank_test_support.h"

#include "controls/memo.h"
#include "data/adoquery.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "support/failure.h"
#include "support/jet_fixtures.h"
#include "support/real_jet_files.h"
#include "support/recording.h"
#include "support/skips.h"
#include "support/temp_install.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdio>

#include <gtest/gtest.h>

using vq::test::messageOf;
using namespace vq::banktest;

namespace {

const QString kShared = vq::test::realJetFolder();

QByteArray exported(const QString& file, const QString& table, const QString& password) {
    QTemporaryFile out;
    if (!out.open())
        return {};
    FILE* f = std::fopen(QFile::encodeName(out.fileName()).constData(), "wb");
    if (!f)
        return {};
    try {
        vq::bank::exportTable(file, table, password, f);
    } catch (...) {
        std::fclose(f);
        throw;
    }
    std::fclose(f);
    return readBytes(out.fileName());
}

// CSV bytes of any encoding as records, without the given column.
QList<QStringList> withoutColumn(const QByteArray& csv, const QString& column) {
    const QList<vq::bank::CsvRecord> records =
        vq::bank::parseCsv(QString::fromLatin1(csv).toUtf8());
    QList<QStringList> out;
    const qsizetype at = records.isEmpty() ? -1 : records.front().fields.indexOf(column);
    for (const auto& r : records) {
        QStringList fields = r.fields;
        if (at >= 0 && at < fields.size())
            fields.removeAt(at);
        out << fields;
    }
    return out;
}

} // namespace

TEST(BankExport, RealFilesAsMdbExportPrintsThem) {
    SKIP_WITHOUT_REFERENCE_TOOLS();
    for (const auto& c : vq::test::kRealJetFiles) {
        const QString file = kShared + c.file;
        const ToolRun reference = runTool("mdb-export", {file, c.table});
        ASSERT_EQ(reference.exitCode, 0) << c.file;
        ASSERT_FALSE(reference.rawOut.isEmpty());
        // By name, and as the only user table.
        EXPECT_EQ(exported(file, c.table, c.password), reference.rawOut) << c.file;
        EXPECT_EQ(exported(file, QString(), c.password), reference.rawOut) << c.file;
    }
    // 74 columns of every kind: the same but for the OLE column, which is left out.
    const QString many = kShared + "jackcess_test2V2000.mdb";
    const ToolRun reference = runTool("mdb-export", {many, "MSP_PROJECTS"});
    const QList<QStringList> ours =
        withoutColumn(exported(many, "MSP_PROJECTS", {}), "RESERVED_BINARY_DATA");
    ASSERT_EQ(ours.size(), 2);
    EXPECT_EQ(ours.front().size(), 73);
    EXPECT_EQ(ours, withoutColumn(reference.rawOut, "RESERVED_BINARY_DATA"));
}

TEST(BankExport, RefusesWrongPasswordsOtherFormatsAndMissingTables) {
    const QString locked = kShared + "mdbreader_V2000_with-password.mdb";
    EXPECT_EQ(messageOf([&] { exported(locked, "Table1", {}); }), "数据库密码不正确");
    EXPECT_EQ(messageOf([&] { exported(locked, "Table1", "Password"); }), "数据库密码不正确");
    const QString jet3 = kShared + "mdbreader_V1997_no-password_JET3.mdb";
    EXPECT_EQ(messageOf([&] { exported(jet3, "Table1", {}); }),
              QStringLiteral("无法识别的数据库格式：%1").arg(QFileInfo(jet3).absoluteFilePath()));
    QTemporaryDir dir;
    const QString bank = dir.filePath("db.DLL");
    vq::jet::writeFixture("extra-columns", bank);
    EXPECT_EQ(messageOf([&] { exported(bank, "没有", vq::jet::kBankPassword); }),
              "数据库中找不到输入表或查询“没有”，请确认它存在并且名称拼写正确");
    // Several tables and none of them the bank's: the table must be named.
    vq::jet::Table a{"a", {{"x", vq::jet::ColumnType::Long}}, {{1}}};
    vq::jet::Table b{"b", {{"y", vq::jet::ColumnType::Long}}, {{2}}};
    vq::jet::writeDatabase(dir.filePath("two.DLL"), {a, b}, {});
    EXPECT_TRUE(
        messageOf([&] { exported(dir.filePath("two.DLL"), {}, {}); }).endsWith("(tables: a, b)"));
    EXPECT_EQ(exported(dir.filePath("two.DLL"), "b", {}), QByteArray("y\n2\n"));
}

TEST(BankExport, BuiltBankExportsAsTheCsvItCameFrom) {
    QTemporaryDir dir;
    const QByteArray csv =
        "编号,题目,答案\n3,\"a \"\"quoted\"\", comma\nand line\",答\n-1,q,\"x\"\n";
    writeBytes(dir.filePath("q.csv"), csv);
    vq::bank::buildBank(dir.filePath("q.csv"), dir.filePath("db.DLL"), vq::jet::kBankPassword);
    const QByteArray ours = exported(dir.filePath("db.DLL"), {}, vq::jet::kBankPassword);
    EXPECT_EQ(ours,
              "编号,题目,答案\n3,\"a \"\"quoted\"\", comma\nand line\",\"答\"\n-1,\"q\",\"x\"\n");
    if (vq::test::kReferenceToolsRun) {
        EXPECT_EQ(ours, runTool("mdb-export", {dir.filePath("db.DLL"), "题"}).rawOut);
    }
}

TEST(BankCheck, ReportsEveryFixtureKind) {
    const struct {
        const char* kind;
        bool ok;
        int rows;
        int pool;
        QStringList expected; // lines of the report contain these
    } cases[] = {
        {"bank",
         true,
         5,
         5,
         {"5 rows", "numbers in the pool 1 .. 5",
          "OK: the show can run with this bank (5 questions)"}},
        {"short-text", true, 5, 5, {"题目 Text, 答案 Text", "OK:"}},
        {"extra-columns", true, 5, 5, {"分类 Text, 编号 Long Integer", "OK:"}},
        {"long-memo", true, 2, 2, {"OK:"}},
        {"text-number",
         false,
         5,
         5,
         {"编号 Text", "FAIL: 5 of 5 fetches fail with \"条件表达式中的数据类型不匹配\""}},
        {"null-number",
         false,
         5,
         2,
         {"FAIL: 1 rows without 编号 (the first is row 3)",
          "FAIL: the pool fill fails at row 3 with \"无法把空值（Null）转换为文本（String）\"; the "
          "pool would hold 2 of 5 rows"}},
        {"duplicate",
         false,
         5,
         5,
         {"numbers in the pool -3 .. ", "FAIL: numbers shared by several rows", ": 2 (rows 2 3)"}},
        {"other-table",
         false,
         0,
         0,
         {"FAIL: the query fails: 数据库中找不到输入表或查询“题”，请确认它存在并且名称拼写正确",
          "(tables in the file: questions)"}},
        {"no-rows", false, 0, 0, {"0 rows", "FAIL: the table has no rows"}},
        {"no-number",
         false,
         5,
         0,
         {"FAIL: the pool fill fails at row 1 with \"ADOQuery1: 找不到字段“编号”\""}},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString file = dir.filePath(QString::fromUtf8(c.kind) + ".DLL");
        vq::jet::writeFixture(c.kind, file);
        const vq::bank::CheckReport r = vq::bank::checkBank(file, vq::jet::kBankPassword);
        const std::string text = r.text.toStdString();
        EXPECT_EQ(r.ok, c.ok) << c.kind << "\n" << text;
        EXPECT_EQ(r.rows, c.rows) << c.kind;
        EXPECT_EQ(r.poolSize, c.pool) << c.kind;
        for (const QString& e : c.expected)
            EXPECT_TRUE(r.text.contains(e)) << c.kind << ": " << e.toStdString() << "\n" << text;
        EXPECT_EQ(r.text.contains("FAIL: "), !c.ok) << text;
        EXPECT_TRUE(
            r.text.endsWith(c.ok ? "questions)\n" : "The show would fail with this bank.\n"))
            << text;
    }
}

TEST(BankCheck, MissingTextsWrongPasswordAndMissingFile) {
    QTemporaryDir dir;
    using vq::jet::ColumnType;
    // Short-text columns: a missing question keeps the old one on the screen; a missing
    // answer reveals the previous answer; an empty answer is only a warning.
    vq::jet::Table t{"题",
                     {{"编号", ColumnType::Long},
                      {"题目", ColumnType::Text, 100},
                      {"答案", ColumnType::Text, 100}},
                     {{1, "q1", "a1"},
                      {2, QVariant(), "a2"},
                      {3, "q3", QVariant()},
                      {4, " ", "a4"},
                      {5, "q5", ""}}};
    const QString file = dir.filePath("texts.DLL");
    vq::jet::writeDatabase(file, {t}, {vq::jet::kBankPassword});
    const vq::bank::CheckReport r = vq::bank::checkBank(file, vq::jet::kBankPassword);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.poolSize, 5);
    EXPECT_TRUE(r.text.contains(
        "FAIL: 1 questions cannot be read (\"无法把空值（Null）转换为文本（String）\"); the screen "
        "keeps the previous question and answer: numbers 2\n"))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("FAIL: 1 answers cannot be read")) << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("numbers 3\n")) << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("FAIL: 1 empty questions (题目): numbers 4\n"))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("warning: 1 empty answers (答案): numbers 5\n"))
        << r.text.toStdString();

    const QString bank = dir.filePath("bank.DLL");
    vq::jet::writeFixture("bank", bank, {"secret"});
    const vq::bank::CheckReport wrong = vq::bank::checkBank(bank, vq::jet::kBankPassword);
    EXPECT_FALSE(wrong.ok);
    EXPECT_TRUE(wrong.text.startsWith("FAIL: the connection fails: 数据库密码不正确"))
        << wrong.text.toStdString();
    EXPECT_TRUE(vq::bank::checkBank(bank, "secret").ok);
    const vq::bank::CheckReport missing =
        vq::bank::checkBank(dir.filePath("none.DLL"), vq::jet::kBankPassword);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(
        missing.text.contains(QStringLiteral("找不到文件：%1").arg(dir.filePath("none.DLL"))));
}

// The check's verdict against the presenter's own start: the data module, the fill and a
// draw of every question.
TEST(BankCheck, AgreesWithThePresentersRun) {
    for (const char* kind : {"bank", "duplicate", "null-number", "text-number", "no-number",
                             "other-table", "no-rows"}) {
        vq::test::TempInstall install(true);
        vq::jet::writeFixture(kind, install.file("db.DLL"));
        const vq::bank::CheckReport report = vq::bank::checkBank("db.DLL", vq::jet::kBankPassword);

        vq::test::RecordingMessages boxes;
        TDataModule2 module;
        vq::TMemo lines;
        try {
            vq::fillPool(*module.ADOQuery1, lines);
        } catch (const vq::Exception& e) {
            boxes.errorBox(e.message());
        }
        const int pool = lines.count();
        EXPECT_EQ(report.poolSize, pool) << kind;
        QStringList shown;
        vq::FetchTargets targets{[&](const QString& q) { shown << q; }, {}, {}};
        for (int i = 0; i < pool; ++i)
            vq::fetchQuestion(*module.ADOQuery1, vq::drawNumber(lines), targets);
        // Every failure the presenter shows during the start or the pool's questions, and
        // a question that never appears, is a failure the check reports.
        const bool presenterFine = report.rows > 0 && boxes.shown.isEmpty() &&
                                   QSet<QString>(shown.begin(), shown.end()).size() == report.rows;
        EXPECT_EQ(report.ok, presenterFine) << kind << "\n" << report.text.toStdString();
    }
}

TEST(BankProgram, ExitStatusAndStreams) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.DLL");
    const QString bad = dir.filePath("bad.DLL");
    vq::jet::writeFixture("bank", good);
    vq::jet::writeFixture("null-number", bad);
    const ToolRun ok = runTool(bankProgram(), {"check", good});
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_TRUE(ok.out.endsWith("OK: the show can run with this bank (5 questions)\n"))
        << ok.out.toStdString();
    const ToolRun failing = runTool(bankProgram(), {"check", bad});
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_TRUE(failing.out.contains("FAIL: ")) << failing.out.toStdString();
    const ToolRun locked = runTool(bankProgram(), {"check", good, "--password", "nope"});
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_TRUE(locked.out.startsWith("FAIL: the connection fails: 数据库密码不正确"))
        << locked.out.toStdString();
    writeBytes(dir.filePath("q.csv"), "编号,题目,答案\n1,q,a\nx,q,a\n");
    const ToolRun build =
        runTool(bankProgram(), {"build", dir.filePath("q.csv"), dir.filePath("new.DLL")});
    EXPECT_EQ(build.exitCode, 1);
    EXPECT_EQ(build.err, "q.csv: CSV, UTF-8, comma-separated\n"
                         "velquo-bank: line 3: 'x' is not a whole number between -2147483648 and "
                         "2147483647\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("new.DLL")));
    const ToolRun exported = runTool(bankProgram(), {"export", good});
    EXPECT_EQ(exported.exitCode, 0);
    if (vq::test::kReferenceToolsRun) {
        EXPECT_EQ(exported.rawOut, runTool("mdb-export", {good, "题"}).rawOut);
    }
    EXPECT_EQ(runTool(bankProgram(), {"export", good, "--no-password"}).err,
              "velquo-bank: 数据库密码不正确\n");
    EXPECT_EQ(runTool(bankProgram(), {"frobnicate"}).exitCode, 2);
    const ToolRun help = runTool(bankProgram(), {"build", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage:\n")) << help.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty());
    // Test banks are made by the tests' own support code, not by the shipped tool.
    EXPECT_EQ(runTool(bankProgram(), {"fixture", "bank", dir.filePath("f.DLL")}).exitCode, 2);
}
