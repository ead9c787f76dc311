// velquo-bank build from what spreadsheet programs save: one list of 50 questions as GBK CSV,
// UTF-8 with and without BOM, UTF-16 LE and BE with tabs and an .xlsx workbook of an
// independent writer; each bank read back by our export, mdb-export and the npm reader.
#include "bank.h"
#include "bank_test_support.h"
#include "xlsx_testing.h"

#include "platform/exception.h"
#include "support/failure.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

using vq::test::messageOf;
using namespace vq::banktest;

namespace {

struct Question {
    int number;
    QString question;
    QString answer;
};

QList<Question> demoQuestions() {
    QList<Question> out;
    const QList<vq::bank::CsvRecord> records =
        vq::bank::parseCsv(readBytes(QStringLiteral(VELQUO_SOURCE_DIR "/demo/questions.csv")));
    for (qsizetype i = 1; i < records.size(); ++i)
        out.append({records[i].fields[0].toInt(), records[i].fields[1], records[i].fields[2]});
    return out;
}

// The table as mdb-export prints it: texts quoted, quotes doubled.
QByteArray exportText(const QList<Question>& questions) {
    const auto quoted = [](QString s) {
        return u'"' + s.replace(u'"', QStringLiteral("\"\"")) + u'"';
    };
    QString out = QStringLiteral("编号,题目,答案\n");
    for (const Question& q : questions)
        out += QStringLiteral("%1,%2,%3\n").arg(q.number).arg(quoted(q.question), quoted(q.answer));
    return out.toUtf8();
}

bool npmReaderInstalled() {
    return QFile::exists(QStringLiteral(VELQUO_NPM_MODULES "/mdb-reader/package.json"));
}

// Rows as the npm reader gives them, each "number|question|answer".
QStringList npmRows(const QString& bank) {
    const ToolRun r =
        runTool(QStringLiteral("node"),
                {QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/dump_with_mdb_reader.mjs"),
                 QStringLiteral(VELQUO_NPM_MODULES), bank, QStringLiteral("题")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList out;
    const QJsonObject doc = QJsonDocument::fromJson(r.rawOut).object();
    for (const QJsonValue& row : doc.value(QLatin1String("rows")).toArray()) {
        const QJsonArray cells = row.toArray();
        out << QStringLiteral("%1|%2|%3")
                   .arg(cells.at(0).toInteger())
                   .arg(cells.at(1).toString(), cells.at(2).toString());
    }
    return out;
}

QStringList npmRows(const QList<Question>& questions) {
    QStringList out;
    for (const Question& q : questions)
        out << QStringLiteral("%1|%2|%3").arg(q.number).arg(q.question, q.answer);
    return out;
}

class BankSources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = std::make_unique<QTemporaryDir>();
        const ToolRun r =
            runTool(QStringLiteral(VELQUO_PYTHON3),
                    {QStringLiteral(VELQUO_SOURCE_DIR "/tests/tools/make_question_sources.py"),
                     QStringLiteral(VELQUO_SOURCE_DIR "/demo/questions.csv"), dir->path()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite() { dir.reset(); }
    static QString source(const char* name) { return dir->filePath(QString::fromUtf8(name)); }
    static inline std::unique_ptr<QTemporaryDir> dir;
};

TEST_F(BankSources, EveryFormBuildsTheSameBankReadBackByThreeReaders) {
    const QList<Question> questions = demoQuestions();
    ASSERT_EQ(questions.size(), 50);
    const QByteArray expected = exportText(questions);
    const struct {
        const char* file;
        const char* said; // what build says about the file on stderr
        const char* findings;
    } sources[] = {
        {"gbk.csv", "gbk.csv：CSV 文件，GBK 编码，逗号分隔",
         "没有读入的列：分类、难度\n略过了 2 个空行\n"},
        {"utf8.csv", "utf8.csv：CSV 文件，UTF-8 编码，逗号分隔", ""},
        {"utf8-bom.csv", "utf8-bom.csv：CSV 文件，带 BOM 的 UTF-8 编码，逗号分隔", ""},
        {"utf16le.txt", "utf16le.txt：CSV 文件，UTF-16LE 编码，制表符分隔",
         "没有读入的列：分类、难度\n略过了 1 个空行\n"},
        {"utf16be.txt", "utf16be.txt：CSV 文件，UTF-16BE 编码，制表符分隔",
         "没有读入的列：分类、难度\n略过了 1 个空行\n"},
        {"questions.xlsx", "questions.xlsx：xlsx 工作簿，工作表“题库”",
         "没有读入的列：分类、难度\n工作簿中的其他工作表没有读入：说明\n要读入其他工作表，请用 "
         "--sheet 指定工作表名\n"},
    };
    for (const auto& s : sources) {
        SCOPED_TRACE(s.file);
        const QString bank = dir->filePath(QStringLiteral("%1.DLL").arg(QString::fromUtf8(s.file)));
        const ToolRun built =
            runTool(bankProgram(), {QStringLiteral("build"), source(s.file), bank});
        ASSERT_EQ(built.exitCode, 0) << built.err.toStdString();
        EXPECT_TRUE(built.err.startsWith(QString::fromUtf8(s.said) + u'\n' +
                                         QString::fromUtf8(s.findings) + bank +
                                         QStringLiteral("：50 道题，编号 1 至 50，")))
            << built.err.toStdString();
        EXPECT_EQ(runTool(bankProgram(), {QStringLiteral("export"), bank}).rawOut, expected);
        EXPECT_EQ(runTool(QStringLiteral("mdb-export"), {bank, QStringLiteral("题")}).rawOut,
                  expected);
        if (npmReaderInstalled()) {
            EXPECT_EQ(npmRows(bank), npmRows(questions));
        }
    }
    if (!npmReaderInstalled())
        GTEST_SKIP() << "mdb-reader is not installed for this build folder: run "
                        "tests/tools/setup-npm.sh " VELQUO_BINARY_DIR;
}

TEST_F(BankSources, WorkbookCellsReadAsTheSpreadsheetShowsThem) {
    const vq::bank::QuestionTable t = vq::bank::readQuestionTable(source("extras.xlsx"));
    QStringList answers;
    for (const vq::bank::QuestionRow& r : t.rows)
        answers << r.number + u':' + r.answer;
    EXPECT_EQ(answers, QStringList({"1:2024-05-01", "2:19:30", "3:2024-12-31 23:59:30", "4:2",
                                    "5:春节", "6:TRUE", "7:3.14159", "8:123456789012", "9:甲_乙"}));
    EXPECT_EQ(t.rows.back().question, "_x000D_ 原样？"); // the workbook's escape taken off once
    // Shared strings with runs and a phonetic guide, inline strings in runs, 12.0 as 12.
    const vq::bank::QuestionTable q = vq::bank::readQuestionTable(source("questions.xlsx"));
    const QList<Question> questions = demoQuestions();
    ASSERT_EQ(q.rows.size(), questions.size());
    for (qsizetype i = 0; i < q.rows.size(); ++i) {
        EXPECT_EQ(q.rows[i].number, QString::number(questions[i].number));
        EXPECT_EQ(q.rows[i].question, questions[i].question);
        EXPECT_EQ(q.rows[i].answer, questions[i].answer);
        EXPECT_EQ(q.rows[i].row, i + 2);
    }
    EXPECT_EQ(q.place(7), "questions.xlsx 第 7 行");
    // A shared-string cell without a value is an empty cell, as the spreadsheets show it.
    const vq::bank::QuestionTable cleared =
        vq::bank::readQuestionTable(source("empty-shared.xlsx"));
    ASSERT_EQ(cleared.rows.size(), q.rows.size());
    for (qsizetype i = 0; i < q.rows.size(); ++i)
        EXPECT_EQ(cleared.rows[i].question + cleared.rows[i].answer,
                  q.rows[i].question + q.rows[i].answer);
    // Another sheet by name; an unknown one named with the sheets there are.
    const vq::bank::QuestionTable other =
        vq::bank::readQuestionTable(source("questions.xlsx"), {QStringLiteral("说明"), {}});
    EXPECT_EQ(other.sheet, "说明");
    EXPECT_EQ(messageOf([] {
                  vq::bank::readQuestionTable(source("questions.xlsx"), {"Sheet9", {}});
              }),
              "questions.xlsx：工作簿中没有工作表“Sheet9”（现有的工作表：题库、说明）");
}

TEST_F(BankSources, WorkbooksReadTheSameCutIntoPieces) {
    // The independent writer's workbooks, cut at every row and string, give the table read
    // whole; the damaged ones the same refusal.
    const auto read = [](const char* file, qsizetype pieceSize) {
        const qsizetype before = vq::bank::detail::xlsxPieceSize;
        vq::bank::detail::xlsxPieceSize = pieceSize;
        QStringList out;
        try {
            const vq::bank::QuestionTable t = vq::bank::readQuestionTable(source(file));
            out << t.describe() << t.findings();
            for (const vq::bank::QuestionRow& r : t.rows)
                out << QStringLiteral("%1|%2|%3|%4").arg(r.row).arg(r.number, r.question, r.answer);
        } catch (const vq::Exception& e) {
            out << e.message();
        }
        vq::bank::detail::xlsxPieceSize = before;
        return out;
    };
    for (const char* file : {"questions.xlsx", "extras.xlsx", "missing-string.xlsx",
                             "bad-sheet.xlsx", "broken-strings.xlsx", "broken-sheet.xlsx"}) {
        SCOPED_TRACE(file);
        const QStringList whole = read(file, qsizetype(1) << 40);
        EXPECT_EQ(read(file, 1), whole);
        EXPECT_EQ(read(file, 200), whole);
    }
    // A description, two findings, 50 questions.
    EXPECT_EQ(read("questions.xlsx", 1).size(), 1 + 2 + 50);
    EXPECT_GT(vq::bank::detail::xlsxLastPieces.cellPieces, 1);
    EXPECT_FALSE(vq::bank::detail::xlsxLastPieces.wholeAgain);
    EXPECT_GT(vq::bank::detail::xlsxLastPieces.stringPieces, 1);
}

TEST_F(BankSources, RefusalsNameTheKindOrTheRowAndLeaveTheOldBank) {
    QTemporaryDir work;
    const QString bank = work.filePath(QStringLiteral("db.DLL"));
    ASSERT_EQ(runTool(bankProgram(), {QStringLiteral("build"), source("utf8.csv"), bank}).exitCode,
              0);
    const QByteArray old = readBytes(bank);

    const QString png = work.filePath(QStringLiteral("photo.csv")); // named like a list
    QImage(8, 8, QImage::Format_RGB32).save(png, "PNG");
    const QString badGbk = work.filePath(QStringLiteral("bad.csv"));
    // 编号,题目,答案 in GBK, then a lead byte without its trail byte.
    writeBytes(badGbk, "\xB1\xE0\xBA\xC5,\xCC\xE2\xC4\xBF,\xB4\xF0\xB0\xB8\r\n1,\xC4\x20,x\r\n");
    const QString nul = work.filePath(QStringLiteral("nul.csv"));
    writeBytes(nul, QByteArray("编号,题目,答案\n1,q,a\n2,a") + '\0' + "b,x\n");
    const struct {
        QString file;
        const char* message;
    } cases[] = {
        {source("old.xls"), "old.xls：这是旧版 .xls 工作簿：请在 Excel 或 WPS 中另存为 .xlsx 或 "
                            "CSV"},
        {source("document.docx"), "document.docx：这是 Word 文档，不是表格"},
        {png, "photo.csv：这是图片（PNG），不是表格"},
        {badGbk, "第 2 行：文字既不是 UTF-8 也不是 GBK 编码"},
        {nul, "第 3 行，题目列：文字中有空字符（代码 0）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ToolRun r = runTool(bankProgram(), {QStringLiteral("build"), c.file, bank});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_EQ(readBytes(bank), old);
        EXPECT_FALSE(QFile::exists(bank + QStringLiteral(".bak")));
    }
    EXPECT_EQ(QDir(work.path()).entryList(QDir::Files).size(), 4); // nothing left beside them

    // A new bank keeps the old one as .bak, and the next keeps the one before it.
    ASSERT_EQ(runTool(bankProgram(), {QStringLiteral("build"), source("gbk.csv"), bank}).exitCode,
              0);
    EXPECT_EQ(readBytes(bank + QStringLiteral(".bak")), old);
    const QByteArray second = readBytes(bank);
    const ToolRun third =
        runTool(bankProgram(), {QStringLiteral("build"), source("questions.xlsx"), bank});
    EXPECT_TRUE(third.err.contains(QStringLiteral("原来的 %1 已保留为 %1.bak").arg(bank)));
    EXPECT_EQ(readBytes(bank + QStringLiteral(".bak")), second);
}

TEST_F(BankSources, DamagedWorkbooksAreRefusedNamingWhatIsDamaged) {
    // The XML reader's own reason, as the tool's Qt translation words it, without its stop.
    QTranslator qt;
    QString mismatch = QStringLiteral("Opening and ending tag mismatch.");
    if (qt.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        mismatch = qt.translate("QXmlStream", "Opening and ending tag mismatch.");
    mismatch.chop(1);
    QTemporaryDir work;
    const QString bank = work.filePath(QStringLiteral("db.DLL"));
    const struct {
        const char* file;
        const char* why;
    } cases[] = {
        {"missing-string.xlsx", "单元格 C20 引用的共享字符串不存在"},
        {"bad-sheet.xlsx", "工作表“题库”：%1"},
        {"broken-strings.xlsx", "xl/sharedStrings.xml 已损坏"},
        {"broken-sheet.xlsx", "xl/worksheets/sheet1.xml 已损坏"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const ToolRun r = runTool(bankProgram(), {QStringLiteral("build"), source(c.file), bank});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.toStdString(),
                  QStringLiteral("velquo-bank: %1：无法读取工作簿（%2）；请在 Excel 或 WPS "
                                 "中打开后重新保存\n")
                      .arg(QString::fromUtf8(c.file),
                           QString::fromUtf8(c.why).replace(QStringLiteral("%1"), mismatch))
                      .toStdString());
        EXPECT_FALSE(QFile::exists(bank));
    }
}

TEST(BankSourcesText, EncodingAndSeparatorByContent) {
    using vq::bank::decodeText;
    EXPECT_EQ(decodeText("a,b").encoding, "UTF-8");
    EXPECT_EQ(decodeText("\xB1\xE0\xBA\xC5").text, "编号");
    EXPECT_EQ(decodeText("\xB1\xE0\xBA\xC5").encoding, "GBK");
    EXPECT_EQ(decodeText(QByteArray("\xFF\xFE\x16\x7F", 4)).text, "编");
    EXPECT_EQ(decodeText(QByteArray("\xFE\xFF\x7F\x16", 4)).encoding, "UTF-16BE");
    // A BOM is taken off the file's start only; one inside a field stays.
    EXPECT_EQ(decodeText("\xEF\xBB\xBF\xEF\xBB\xBFx").text, QString(QChar(0xFEFF)) + u'x');
    EXPECT_EQ(messageOf([] { decodeText("a\nb\n\xC4\x0A"); }).left(6), "第 3 行：");
    EXPECT_EQ(messageOf([] { decodeText("\xEF\xBB\xBF\na\xB1\xE0"); }).left(6), "第 2 行：");
    EXPECT_TRUE(
        messageOf([] { decodeText(QByteArray("\xFF\xFEx", 3)); }).contains("字节数却是奇数"));

    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("q.txt"));
    // Tabs win where they split the header into its names, though the texts hold commas.
    writeBytes(f, "题目\t答案\t编号\n一,二\t三,四\t1\n");
    vq::bank::QuestionTable t = vq::bank::readQuestionTable(f);
    EXPECT_EQ(t.separator, u'\t');
    ASSERT_EQ(t.rows.size(), 1);
    EXPECT_EQ(t.rows[0].question, "一,二");
    // A column without a name counts only when something stands in it; names are trimmed.
    writeBytes(f, " 答案 ,题目,,\n1,2,,x\n");
    t = vq::bank::readQuestionTable(f);
    EXPECT_EQ(t.ignoredColumns, QStringList({"第 4 列"}));
    EXPECT_FALSE(t.numbered);
    writeBytes(f, "答案,题目,答案\n");
    EXPECT_EQ(messageOf([&] { vq::bank::readQuestionTable(f); }),
              "q.txt 第 1 行：“答案”列出现了两次");
}

// A line break in a quoted cell comes back as the spreadsheets write it (LF); one written as
// CR LF is read as one LF too, and the reader says how many it read so. A CR alone stays.
TEST(BankSourcesText, LineBreaksInCellsAndWhatTheReaderSaysOfThem) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("q.csv"));
    writeBytes(f, "题目,答案\r\n\"一\r\n二\r\n三\",\"甲\n乙\"\r\n\"子\r丑\",x\r\n");
    const vq::bank::QuestionTable t = vq::bank::readQuestionTable(f);
    ASSERT_EQ(t.rows.size(), 2);
    EXPECT_EQ(t.rows[0].question, "一\n二\n三");
    EXPECT_EQ(t.rows[0].answer, "甲\n乙");
    EXPECT_EQ(t.rows[1].question, "子\r丑");
    EXPECT_EQ(t.rows[1].row, 6); // the breaks inside the cells count as lines
    EXPECT_TRUE(
        t.findings().contains(QStringLiteral("单元格中 2 处写作 CR LF 的换行按一个换行（LF，Excel "
                                             "和 WPS 在单元格中换行时写的就是它）读入")))
        << t.findings().join(u'|').toStdString();
    writeBytes(f, "题目,答案\n\"一\n二\",x\n");
    EXPECT_TRUE(vq::bank::readQuestionTable(f).findings().isEmpty());
}

} // namespace
