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

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
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
    EXPECT_TRUE(messageOf([&] {
                    exported(dir.filePath("two.DLL"), {}, {});
                }).endsWith("（文件中的表：a、b）"));
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
         {"“题”表，5 行", "可抽到的编号从 1 到 5", "结论：可以用这个题库放映（共 5 道题）"}},
        {"short-text", true, 5, 5, {"题目（文本）、答案（文本）", "结论：可以"}},
        {"extra-columns", true, 5, 5, {"分类（文本）、编号（长整型）", "结论：可以"}},
        {"long-memo", true, 2, 2, {"结论：可以"}},
        {"text-number",
         false,
         5,
         5,
         {"编号（文本）",
          "问题：5 次取题中有 5 次出错（“条件表达式中的数据类型不匹配”），屏幕上只会显示“对不起，"
          "题库中是否没有题目了？”：编号 1、2、3、4、5\n"}},
        {"null-number",
         false,
         5,
         2,
         {"问题：1 行的编号是空的（第一处在第 3 行）\n",
          "问题：读取编号时在第 3 行出错（“无法把空值（Null）转换为文本（String）”）；放映时只能从 "
          "5 行中抽到 2 行\n"}},
        {"duplicate",
         false,
         5,
         5,
         {"可抽到的编号从 -3 到 ", "问题：有几行共用一个编号", "：2（第 2、3 行）"}},
        {"other-table",
         false,
         0,
         0,
         {"问题：查询失败：数据库中找不到输入表或查询“题”，请确认它存在并且名称拼写正确（文件中的"
          "表：questions）\n"}},
        {"no-rows", false, 0, 0, {"“题”表，0 行", "问题：表中一行也没有"}},
        {"no-number",
         false,
         5,
         0,
         {"问题：读取编号时在第 1 行出错（“ADOQuery1: 找不到字段“编号””）"}},
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
        EXPECT_EQ(r.text.contains("问题："), !c.ok) << text;
        EXPECT_TRUE(r.text.endsWith(c.ok ? "道题）\n" : "结论：用这个题库放映会出错\n")) << text;
        ASSERT_FALSE(r.lines.isEmpty());
        EXPECT_EQ(r.lines.back().kind, vq::bank::CheckLine::Verdict);
        // The rows that share a number are named as rows, for a caller to point at.
        if (QByteArray(c.kind) == "duplicate") {
            const auto shared = std::find_if(r.lines.cbegin(), r.lines.cend(), [](const auto& l) {
                return l.text.startsWith(QStringLiteral("有几行共用"));
            });
            ASSERT_NE(shared, r.lines.cend());
            EXPECT_EQ(shared->kind, vq::bank::CheckLine::Problem);
            EXPECT_TRUE(shared->rows.contains(2) && shared->rows.contains(3));
        }
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
        "问题：1 道题的题目读不出来（“无法把空值（Null）转换为文本（String）”），屏幕上会留着上一道"
        "题的题目和答案：编号 2\n"))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("问题：1 道题的答案读不出来（“无法把空值（Null）转换为文本（"
                                "String）”），揭晓时会显示上一道题的答案：编号 3\n"))
        << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("问题：1 道题的题目是空的：编号 4\n")) << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("注意：1 道题的答案是空的：编号 5\n")) << r.text.toStdString();
    // Each line names its numbers for a caller to point at.
    QList<QStringList> named;
    for (const vq::bank::CheckLine& line : r.lines)
        if (line.kind == vq::bank::CheckLine::Problem || line.kind == vq::bank::CheckLine::Warning)
            named << line.numbers;
    EXPECT_EQ(named, (QList<QStringList>{{"5"}, {"2"}, {"3"}, {"4"}}));

    const QString bank = dir.filePath("bank.DLL");
    vq::jet::writeFixture("bank", bank, {"secret"});
    const vq::bank::CheckReport wrong = vq::bank::checkBank(bank, vq::jet::kBankPassword);
    EXPECT_FALSE(wrong.ok);
    EXPECT_TRUE(wrong.text.startsWith("问题：无法连接题库：数据库密码不正确（"))
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

// The words of Latin letters in the tool's output other than the names a user types or sees
// on the files: the tool, its commands and options, file and format names.
QStringList englishWords(const QString& text) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    static const QSet<QString> names = {"velquo",   "bank", "build", "check", "export",  "sheet",
                                        "password", "DLL",  "bak",   "CSV",   "csv",     "UTF",
                                        "GBK",      "BOM",  "xlsx",  "PNG",   "png",     "fmrTK",
                                        "Excel",    "WPS",  "opt",   "ini",   "settings"};
    QStringList out;
    for (auto it = word.globalMatch(text); it.hasNext();)
        if (const QString w = it.next().captured(); !names.contains(w))
            out << w;
    return out;
}

TEST(BankProgram, TellsItsUserInChineseWhatIsWrongAndWhere) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("q.csv");
    const QString bank = dir.filePath("db.DLL");
    const auto build = [&](const QByteArray& list) {
        writeBytes(csv, list);
        return runTool(bankProgram(), {"build", csv, bank});
    };
    QStringList said;
    // A list that cannot be read names the line; one that reads names what it read first.
    const ToolRun unclosed = build("编号,题目,答案\n1,q,a\n2,\"open\n");
    EXPECT_EQ(unclosed.exitCode, 1);
    EXPECT_EQ(unclosed.err.toStdString(),
              "velquo-bank: q.csv 第 3 行：用引号括起来的单元格缺少结束引号\n");
    const ToolRun twice = build("编号,题目,答案\n1,q,a\n1,r,b\n");
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_EQ(twice.err.toStdString(), "q.csv：CSV 文件，UTF-8 编码，逗号分隔\n"
                                       "velquo-bank: q.csv 第 3 行：编号 1 已在第 2 行用过\n");
    const ToolRun empty = build("题目,答案,分类\nq,a,x\n\" \",b,y\n");
    EXPECT_EQ(empty.err.toStdString(), "q.csv：CSV 文件，UTF-8 编码，逗号分隔\n没有读入的列：分类\n"
                                       "velquo-bank: q.csv 第 3 行：题目是空的\n");
    QImage(8, 8, QImage::Format_RGB32).save(csv, "PNG");
    const ToolRun picture = runTool(bankProgram(), {"build", csv, bank});
    EXPECT_EQ(picture.err.toStdString(), "velquo-bank: q.csv：这是图片（PNG），不是表格\n");
    EXPECT_FALSE(QFile::exists(bank));
    // Qt's own reason for a file that cannot be opened reads in Chinese too.
    const ToolRun missing = runTool(bankProgram(), {"build", dir.filePath("题目.csv"), bank});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith(
        QStringLiteral("velquo-bank: 无法打开 %1：").arg(dir.filePath("题目.csv"))))
        << missing.err.toStdString();
    said << unclosed.err << twice.err << empty.err << picture.err << missing.err;

    // A bank that is built reports its figures; its check, the empty answer and the verdict.
    const ToolRun built = build("编号,题目,答案\n1,q,a\n2,r,\n");
    EXPECT_EQ(built.exitCode, 0) << built.err.toStdString();
    EXPECT_TRUE(built.err.contains(QStringLiteral("%1：2 道题，编号 1 至 2，").arg(bank)))
        << built.err.toStdString();
    const ToolRun checked = runTool(bankProgram(), {"check", bank});
    EXPECT_EQ(checked.exitCode, 0);
    EXPECT_TRUE(checked.out.startsWith(QStringLiteral("%1：“题”表，2 行；列：编号（").arg(bank)))
        << checked.out.toStdString();
    EXPECT_TRUE(checked.out.endsWith(
        QStringLiteral("可抽到的编号从 1 到 2\n"
                       "没有找到放映程序的设置文件 %1，没有检查答案是否超出屏幕\n"
                       "注意：1 道题的答案是空的：编号 2\n"
                       "结论：可以用这个题库放映（共 2 道题）\n")
            .arg(QDir::toNativeSeparators(dir.filePath("opt.ini")))))
        << checked.out.toStdString();
    const ToolRun locked = runTool(bankProgram(), {"check", bank, "--password", "nope"});
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_EQ(locked.out.toStdString(),
              "问题：无法连接题库：数据库密码不正确（放映程序启动时会弹出错误框，每次"
              "出题都只显示“对不起，题库中是否没有题目了？”）\n"
              "结论：用这个题库放映会出错\n");
    const ToolRun unknown = runTool(bankProgram(), {"check", bank, "--frob"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("velquo-bank: 没有 --frob 这个选项\n用法：\n"))
        << unknown.err.toStdString();
    said << built.err << checked.out << locked.out << QString(unknown.err).remove("--frob");
    for (const QString& text : said)
        EXPECT_EQ(
            englishWords(
                QString(text).remove(dir.path()).remove(QDir::toNativeSeparators(dir.path()))),
            QStringList())
            << text.toStdString();
}

// The Chinese characters of the tool's output other than those of the names the files carry
// (the bank's table and columns, a column of the list) and of the presenter's screen texts.
QString chineseLeft(QString text) {
    for (const char* name : {"对不起，题库中是否没有题目了？", "编号", "题目", "答案图片", "答案",
                             "题库素材", "题", "分类", "图片", "声音", "时间", "分值"})
        text.remove(QString::fromUtf8(name));
    static const QRegularExpression han(
        QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]+"));
    QStringList out;
    for (auto it = han.globalMatch(text); it.hasNext();)
        out << it.next().captured();
    return out.join(u' ');
}

TEST(BankProgram, TellsAnEnglishReaderInEnglish) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("q.csv");
    const QString bank = dir.filePath("db.DLL");
    const auto build = [&](const QByteArray& list) {
        writeBytes(csv, list);
        return runTool(bankProgram(), {"build", csv, bank}, kEnglish);
    };
    const ToolRun help = runTool(bankProgram(), {"--help"}, kEnglish);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage:\n  velquo-bank build QUESTIONS db.DLL"))
        << help.out.toStdString();
    const ToolRun twice = build("编号,题目,答案\n1,q,a\n1,r,b\n");
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_EQ(twice.err.toStdString(),
              "q.csv: CSV file, UTF-8, comma-separated\n"
              "velquo-bank: q.csv, row 3: 编号 1 is already used in row 2\n");
    const ToolRun empty = build("题目,答案,分类\nq,a,x\n\" \",b,y\n");
    EXPECT_TRUE(empty.err.endsWith("velquo-bank: q.csv, row 3: 题目 is empty\n"))
        << empty.err.toStdString();
    QImage(8, 8, QImage::Format_RGB32).save(csv, "PNG");
    const ToolRun picture = runTool(bankProgram(), {"build", csv, bank}, kEnglish);
    EXPECT_EQ(picture.err.toStdString(),
              "velquo-bank: q.csv: this is a picture (PNG), not a table\n");
    // Qt's own reason in English beside the tool's (its words are the system's).
    const ToolRun missing =
        runTool(bankProgram(), {"build", dir.filePath("x.csv"), bank}, kEnglish);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.startsWith(
        QStringLiteral("velquo-bank: cannot open %1: ").arg(dir.filePath("x.csv"))))
        << missing.err.toStdString();
    const ToolRun built = build("编号,题目,答案\n1,q,a\n2,r,\n");
    EXPECT_EQ(built.exitCode, 0) << built.err.toStdString();
    EXPECT_TRUE(built.err.contains(QStringLiteral("%1: 2 questions, numbers 1 to 2, ").arg(bank)))
        << built.err.toStdString();
    const ToolRun checked = runTool(bankProgram(), {"check", bank}, kEnglish);
    EXPECT_EQ(checked.exitCode, 0);
    EXPECT_TRUE(checked.out.endsWith(
        QStringLiteral("the 编号 that can be drawn run from 1 to 2\n"
                       "the presenter's settings file %1 was not found; answers running off the "
                       "screen were not looked for\n"
                       "Warning: 1 questions have an empty 答案: 编号 2\n"
                       "Verdict: the show can run with this bank (2 questions)\n")
            .arg(QDir::toNativeSeparators(dir.filePath("opt.ini")))))
        << checked.out.toStdString();
    const ToolRun locked = runTool(bankProgram(), {"check", bank, "--password", "nope"}, kEnglish);
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_TRUE(locked.out.endsWith("Verdict: the show would fail with this bank\n"))
        << locked.out.toStdString();
    const ToolRun unknown = runTool(bankProgram(), {"check", bank, "--frob"}, kEnglish);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.startsWith("velquo-bank: there is no option --frob\nUsage:\n"))
        << unknown.err.toStdString();
    // The missing file's reason after the tool's words is the system's, in the system's own
    // language (a Chinese Windows says 找不到文件。 whatever the program's language).
    for (const ToolRun& run : {help, twice, empty, picture, built, checked, unknown})
        EXPECT_EQ(chineseLeft(run.out + run.err), QString()) << (run.out + run.err).toStdString();
}

TEST(BankProgram, ExitStatusAndStreams) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.DLL");
    const QString bad = dir.filePath("bad.DLL");
    vq::jet::writeFixture("bank", good);
    vq::jet::writeFixture("null-number", bad);
    const ToolRun ok = runTool(bankProgram(), {"check", good});
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_TRUE(ok.out.endsWith("结论：可以用这个题库放映（共 5 道题）\n")) << ok.out.toStdString();
    const ToolRun failing = runTool(bankProgram(), {"check", bad});
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_TRUE(failing.out.contains("问题：")) << failing.out.toStdString();
    const ToolRun locked = runTool(bankProgram(), {"check", good, "--password", "nope"});
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_TRUE(locked.out.startsWith("问题：无法连接题库：数据库密码不正确（"))
        << locked.out.toStdString();
    writeBytes(dir.filePath("q.csv"), "编号,题目,答案\n1,q,a\nx,q,a\n");
    const ToolRun build =
        runTool(bankProgram(), {"build", dir.filePath("q.csv"), dir.filePath("new.DLL")});
    EXPECT_EQ(build.exitCode, 1);
    EXPECT_EQ(build.err.toStdString(), "q.csv：CSV 文件，UTF-8 编码，逗号分隔\n"
                                       "velquo-bank: q.csv 第 3 行：编号“x”不是 -2147483648 到 "
                                       "2147483647 之间的整数\n");
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
    EXPECT_TRUE(help.out.startsWith("用法：\n")) << help.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty());
    // Test banks are made by the tests' own support code, not by the shipped tool.
    EXPECT_EQ(runTool(bankProgram(), {"fixture", "bank", dir.filePath("f.DLL")}).exitCode, 2);
}
