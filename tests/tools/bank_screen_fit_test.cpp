// velquo-bank check: the questions whose answer the main screen would show below a 1080-line
// screen, laid out by the installation's opt.ini.
#include "bank.h"
#include "bank_test_support.h"
#include "screenfit.h"

#include "app/trzlabel.h"
#include "data/jetwriter.h"
#include "platform/ansi.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

#include <gtest/gtest.h>

using namespace vq::banktest;

namespace {

// The demo installation's opt.ini as the presenter reads it (GBK, CR LF, no comments), with
// some values changed.
QByteArray demoSettings(const QHash<QString, QString>& changed = {}) {
    QFile source(QStringLiteral(VELQUO_SOURCE_DIR "/demo/opt.ini"));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(source.readAll()).split(u'\n')) {
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(u';'))
            continue;
        const QString key = t.section(u'=', 0, 0);
        lines << (changed.contains(key) ? key + u'=' + changed.value(key) : t);
    }
    return vq::toAnsi(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// A question and its answer as the presenter shows them: its labels in their designed fonts at
// the sizes set-up gives them (on the offscreen screen, at 96 dpi), each wrapped at its width
// as a step gives it, the answer 30 px below the question's last line.
struct PresenterScreen {
    PresenterScreen(int questionWidth, int questionPoints, int answerWidth, int answerPoints)
        : m_questionWidth(questionWidth), m_answerWidth(answerWidth) {
        question.setFont(questionLabelFont());
        question.setFontPoints(questionPoints);
        answer.setFont(answerLabelFont());
        answer.setFontPoints(answerPoints);
    }
    // The answer's bottom edge with the question at the top of the screen.
    int answerBottom(const QString& q, const QString& a) {
        question.setWidth(m_questionWidth);
        answer.setWidth(m_answerWidth);
        question.setText(q);
        answer.setText(a);
        return question.height() + 30 + answer.height();
    }
    TRzLabel question;
    TRzLabel answer;

private:
    int m_questionWidth;
    int m_answerWidth;
};

// The demo's layout: questions 882 px wide at 32 points, answers 882 px at 34 points.
PresenterScreen demoScreen() {
    return PresenterScreen(882, 32, 882, 34);
}

void writeBank(const QString& path, const QList<QList<QVariant>>& rows) {
    using vq::jet::ColumnType;
    vq::jet::writeDatabase(
        path,
        {vq::jet::Table{
            "题",
            {{"编号", ColumnType::Long}, {"题目", ColumnType::Memo}, {"答案", ColumnType::Memo}},
            rows}},
        {vq::jet::kBankPassword});
}

const vq::bank::CheckLine* lineWith(const vq::bank::CheckReport& r, const QString& part) {
    const auto it =
        std::find_if(r.lines.cbegin(), r.lines.cend(),
                     [&](const vq::bank::CheckLine& l) { return l.text.contains(part); });
    return it == r.lines.cend() ? nullptr : &*it;
}

const QString kOffScreen = QStringLiteral("答案会超出 1080 行高的屏幕下边");

QString repeated(const QString& text, int times) {
    return text.repeated(times);
}

} // namespace

TEST(BankScreenFit, TheCheckMeasuresAsThePresentersLabelsShow) {
    PresenterScreen presenter = demoScreen();
    // The presenter's fonts follow the screen's dots per inch; the check's are fixed at 96.
    ASSERT_EQ(presenter.question.logicalDpiY(), vq::bank::ScreenFit::kDpi);
    vq::bank::ScreenSettings settings;
    settings.questionWidth = 882;
    settings.questionPoints = 32;
    settings.answerWidth = 882;
    settings.answerPoints = 34;
    vq::bank::ScreenFit fit(settings);
    const QString mixed =
        QStringLiteral("Which river, 长江 or 黄河, is longer? A long line of words "
                       "in two scripts & a mark\nand a second line");
    for (const auto& [q, a] :
         {std::pair{QStringLiteral("问"), QStringLiteral("答")},
          std::pair{repeated(QStringLiteral("很长的题目"), 40), QStringLiteral("对")},
          std::pair{mixed, repeated(QStringLiteral("答案 "), 60)},
          std::pair{QStringLiteral("空的答案"), QString()}}) {
        EXPECT_EQ(fit.answerBottom(q, a), presenter.answerBottom(q, a)) << q.toStdString();
        // Measured once, the same again.
        EXPECT_EQ(fit.answerBottom(q, a), presenter.answerBottom(q, a)) << q.toStdString();
    }
    // A long question wraps to several lines: the answer goes down with it.
    EXPECT_GT(fit.answerBottom(repeated(QStringLiteral("很长的题目"), 40), QStringLiteral("对")),
              3 * fit.answerBottom(QStringLiteral("问"), QStringLiteral("对")));
}

TEST(BankScreenFit, ALongQuestionIsNamedByRowAndNumberAndAShortOneIsNot) {
    QTemporaryDir dir;
    const QString bank = dir.filePath("db.DLL");
    const QString longQuestion = repeated(QStringLiteral("这道题的题目写得非常非常长，"), 40);
    writeBank(bank, {{7, "一道短题？", "短"},
                     {12, longQuestion, "答案"},
                     {3, "另一道短题？", QString()},
                     {40, longQuestion + "？", "对"}});
    writeBytes(dir.filePath("opt.ini"), demoSettings());
    PresenterScreen presenter = demoScreen();
    ASSERT_GT(168 + presenter.answerBottom(longQuestion, "答案"), 1080);
    ASSERT_LE(168 + presenter.answerBottom("另一道短题？", ""), 1080);

    const vq::bank::CheckReport r = vq::bank::checkBank(bank, vq::jet::kBankPassword);
    EXPECT_TRUE(r.ok) << r.text.toStdString();
    const vq::bank::CheckLine* line = lineWith(r, kOffScreen);
    ASSERT_TRUE(line) << r.text.toStdString();
    EXPECT_EQ(line->kind, vq::bank::CheckLine::Warning);
    EXPECT_EQ(line->numbers, QStringList({"12", "40"}));
    EXPECT_EQ(line->rows, QList<int>({2, 4}));
    EXPECT_TRUE(r.text.contains(QStringLiteral(
        "注意：有 2 道题的题目太长，答案会超出 1080 行高的屏幕下边：编号 12、40（题目宽 882 "
        "像素、字号 32）\n")))
        << r.text.toStdString();
    EXPECT_TRUE(lineWith(r, QStringLiteral("每英寸 96 点")));

    // Named by --settings, and read in English.
    const QString elsewhere = dir.filePath("installation/opt.ini");
    ASSERT_TRUE(QDir(dir.path()).mkpath("installation"));
    ASSERT_TRUE(QFile::rename(dir.filePath("opt.ini"), elsewhere));
    const ToolRun english =
        runTool(bankProgram(), {"check", bank, "--settings", elsewhere}, kEnglish);
    EXPECT_EQ(english.exitCode, 0);
    EXPECT_TRUE(english.out.contains(
        "Warning: 2 questions are so long that their answer would run below the bottom of a "
        "1080-line screen: 编号 12, 40 (questions 882 pixels wide, 32 points)\n"))
        << english.out.toStdString();
    const ToolRun chinese = runTool(bankProgram(), {"check", bank, "--settings=" + elsewhere});
    EXPECT_TRUE(chinese.out.contains(QStringLiteral("注意：有 2 道题的题目太长")))
        << chinese.out.toStdString();
}

TEST(BankScreenFit, AnAnswerEndingOnTheLastLineFitsAndOneLineLowerDoesNot) {
    QTemporaryDir dir;
    const QString bank = dir.filePath("db.DLL");
    const QString question = repeated(QStringLiteral("题目的一行又一行，"), 12);
    const QString answer = QStringLiteral("答案也有两行：") + repeated(QStringLiteral("长"), 30);
    writeBank(bank, {{1, question, answer}, {2, "短题", "短"}});
    const int bottom = demoScreen().answerBottom(question, answer);
    for (const int top : {1080 - bottom, 1081 - bottom}) {
        writeBytes(dir.filePath("opt.ini"),
                   demoSettings({{QStringLiteral("wenti_top"), QString::number(top)}}));
        const vq::bank::CheckReport r = vq::bank::checkBank(bank, vq::jet::kBankPassword);
        const vq::bank::CheckLine* line = lineWith(r, kOffScreen);
        if (top + bottom == 1080) {
            EXPECT_FALSE(line) << r.text.toStdString();
        } else {
            ASSERT_TRUE(line) << r.text.toStdString();
            EXPECT_EQ(line->numbers, QStringList{"1"});
        }
    }
}

TEST(BankScreenFit, ManyLongQuestionsShareOneLineThatListsTwentyNumbers) {
    QTemporaryDir dir;
    const QString bank = dir.filePath("db.DLL");
    QList<QList<QVariant>> rows;
    for (int i = 1; i <= 30; ++i)
        rows << QList<QVariant>{i, repeated(QStringLiteral("长题目"), 200), "答"};
    writeBank(bank, rows);
    writeBytes(dir.filePath("opt.ini"), demoSettings());
    const vq::bank::CheckReport r = vq::bank::checkBank(bank, vq::jet::kBankPassword);
    const auto warnings = std::count_if(r.lines.cbegin(), r.lines.cend(),
                                        [](const auto& l) { return l.text.contains(kOffScreen); });
    EXPECT_EQ(warnings, 1);
    const vq::bank::CheckLine* line = lineWith(r, kOffScreen);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->numbers.size(), 30);
    EXPECT_EQ(line->rows.size(), 30);
    EXPECT_TRUE(line->text.contains(QStringLiteral("：编号 1、2、3、")));
    EXPECT_TRUE(line->text.contains(QStringLiteral("、19、20等（题目宽")));
    EXPECT_FALSE(line->text.contains(QStringLiteral("、21")));
}

TEST(BankScreenFit, WithoutAReadableSettingsFileANoteSaysTheLayoutWasNotChecked) {
    QTemporaryDir dir;
    const QString bank = dir.filePath("db.DLL");
    writeBank(bank, {{1, repeated(QStringLiteral("长题目"), 400), "答"}});
    const auto notes = [&](const vq::bank::CheckReport& r) {
        QStringList out;
        for (const vq::bank::CheckLine& l : r.lines)
            if (l.text.contains(QStringLiteral("没有检查答案是否超出屏幕"))) {
                EXPECT_EQ(l.kind, vq::bank::CheckLine::Note);
                out << l.text;
            }
        EXPECT_FALSE(lineWith(r, kOffScreen));
        EXPECT_TRUE(r.ok) << r.text.toStdString();
        return out;
    };
    EXPECT_EQ(notes(vq::bank::checkBank(bank, vq::jet::kBankPassword)),
              QStringList(QStringLiteral("没有找到放映程序的设置文件 %1，没有检查答案是否超出屏幕")
                              .arg(QDir::toNativeSeparators(dir.filePath("opt.ini")))));
    // A value set-up could not read, and a key it lacks.
    const QString ini = dir.filePath("opt.ini");
    writeBytes(ini, demoSettings({{QStringLiteral("wenti_width"), QStringLiteral("宽")}}));
    EXPECT_EQ(
        notes(vq::bank::checkBank(bank, vq::jet::kBankPassword)),
        QStringList(QStringLiteral("%1 中 wenti_width 的值“宽”不是整数，没有检查答案是否超出屏幕")
                        .arg(ini)));
    writeBytes(ini, "[canshu]\r\nwenti_top=10\r\n");
    EXPECT_EQ(
        notes(vq::bank::checkBank(bank, vq::jet::kBankPassword)),
        QStringList(QStringLiteral("%1 中没有 wenti_width，没有检查答案是否超出屏幕").arg(ini)));
    // Sizes and widths far outside any screen are laid out as the labels hold them.
    writeBytes(ini, demoSettings({{QStringLiteral("wenti_fontsize"), QStringLiteral("-2147483648")},
                                  {QStringLiteral("daan_width"), QStringLiteral("0")},
                                  {QStringLiteral("wenti_top"), QStringLiteral("2147483647")}}));
    const vq::bank::CheckReport extreme = vq::bank::checkBank(bank, vq::jet::kBankPassword);
    const vq::bank::CheckLine* line = lineWith(extreme, kOffScreen);
    ASSERT_TRUE(line) << extreme.text.toStdString();
    EXPECT_EQ(line->numbers, QStringList{"1"});
}
