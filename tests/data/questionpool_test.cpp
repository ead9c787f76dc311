// The pool, the draw and the fetch over banks written for the test, and the data module.
#include "controls/memo.h"
#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/jetwriter.h"
#include "data/questionpool_testing.h"
#include "data/tdatamodule2.h"
#include "platform/exception.h"
#include "support/failure.h"
#include "support/heap.h"
#include "support/jet_fixtures.h"
#include "support/recording.h"
#include "support/temp_install.h"

#include <QCoreApplication>
#include <QSet>

#include <gtest/gtest.h>

#include <limits>

using vq::jet::Column;
using vq::jet::ColumnType;
using vq::jet::Table;

namespace {

// A bank in the current folder, opened by the data module as at start-up.
struct Bank {
    explicit Bank(const QList<Table>& tables, const QString& password = vq::jet::kBankPassword) {
        vq::jet::writeDatabase(install.file(QStringLiteral("db.DLL")), tables, {password});
    }
    vq::test::TempInstall install{true};
};

struct Shown {
    QString question = QStringLiteral("old question");
    QString answer = QStringLiteral("old answer");
    bool answerHidden = false;
    vq::FetchTargets targets() {
        return {[this](const QString& q) { question = q; },
                [this](const QString& a) { answer = a; }, [this] { answerHidden = true; }};
    }
};

QList<vq::jet::Question> numbered(const QList<qint64>& numbers) {
    QList<vq::jet::Question> out;
    for (qint64 n : numbers)
        out.append({n, QStringLiteral("问题%1").arg(n), QStringLiteral("答案%1").arg(n)});
    return out;
}

using vq::test::messageOf;

} // namespace

TEST(QuestionPool, LinesCountReadRemoveAppend) {
    vq::TMemo pool;
    EXPECT_EQ(pool.count(), 0);
    EXPECT_EQ(pool.at(0), QString());
    pool.removeAt(0); // nothing there: nothing happens
    for (const char* n : {"10", "20", "30", "40"})
        pool.append(QString::fromLatin1(n));
    EXPECT_EQ(pool.toPlainText(), QStringLiteral("10\n20\n30\n40\n"));
    EXPECT_EQ(pool.count(), 4);
    pool.removeAt(1);
    EXPECT_EQ(pool.toPlainText(), QStringLiteral("10\n30\n40\n"));
    EXPECT_EQ(pool.at(1), QStringLiteral("30")); // later lines moved up
    pool.removeAt(2);
    EXPECT_EQ(pool.toPlainText(), QStringLiteral("10\n30\n"));
    pool.removeAt(5);
    EXPECT_EQ(pool.count(), 2);
    pool.removeAt(0);
    pool.removeAt(0);
    EXPECT_EQ(pool.count(), 0);
    EXPECT_EQ(pool.toPlainText(), QString());
}

// The store's text as a multi-line edit holds it: the designed line, lines cut at any kind of
// line break, the empty line after the last break no line of its own.
TEST(QuestionPool, StoreTextAndLines) {
    vq::TMemo store;
    store.setPlainText(QStringLiteral("Memo1\n"));
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.at(0), QStringLiteral("Memo1"));
    store.clear();
    EXPECT_EQ(store.count(), 0);
    store.appendLines(QStringLiteral("1\r\n2\r3\u2029\n5"));
    EXPECT_EQ(store.lines(), QStringList({"1", "2", "3", "", "5"}));
    EXPECT_EQ(store.toPlainText(), QStringLiteral("1\n2\n3\n\n5\n"));
    store.append(QStringLiteral("-3"));
    EXPECT_EQ(store.at(5), QStringLiteral("-3"));
    EXPECT_EQ(store.at(6), QString());
    EXPECT_EQ(store.at(-1), QString());
}

TEST(QuestionPool, DrawIndexScalesTheAdvancedSeed) {
    vq::TMemo pool;
    pool.append(QStringLiteral("7"));
    // One number left: index 0 whatever the seed.
    for (std::uint64_t counter : {0ull, 1ull, 0xFFFFFFFFull, 0x123456789ABCDEFull}) {
        const auto fixed = [counter] { return std::optional<std::uint64_t>(counter); };
        vq::TMemo one;
        one.append(QStringLiteral("7"));
        EXPECT_EQ(vq::drawNumber(one, fixed), QStringLiteral("7"));
        EXPECT_EQ(one.count(), 0);
        EXPECT_EQ(vq::randomSeed(), std::uint32_t(counter) * 134775813u + 1u);
    }
    // Upper half of count * seed.
    EXPECT_EQ(vq::drawIndex(10, 0x80000000u), 5);
    EXPECT_EQ(vq::drawIndex(3, 0xFFFFFFFFu), 2);
    EXPECT_EQ(vq::drawIndex(0, 0xFFFFFFFFu), 0);
    // The fallback when the counter cannot be read is the tick count, still advanced once.
    vq::TMemo two;
    two.append(QStringLiteral("1"));
    two.append(QStringLiteral("2"));
    const QString drawn = vq::drawNumber(two, [] { return std::optional<std::uint64_t>(); });
    EXPECT_TRUE(drawn == u"1" || drawn == u"2");
    // A known draw: counter 0 gives seed 1, index 0 of 5; counter 2^31/134775813-ish varies.
    vq::TMemo five;
    for (int i = 1; i <= 5; ++i)
        five.append(QString::number(i));
    EXPECT_EQ(vq::drawNumber(five, [] { return std::optional<std::uint64_t>(0x1'0000'0000ull); }),
              QStringLiteral("1"));
    EXPECT_EQ(five.toPlainText(), QStringLiteral("2\n3\n4\n5\n"));
}

TEST(QuestionPool, EveryQuestionOnceThenTheMessage) {
    vq::test::RecordingMessages boxes;
    Bank bank({vq::jet::questionTable(numbered({5, 3, 9, 1, 12, 8}))});
    TDataModule2 module;
    EXPECT_TRUE(boxes.shown.isEmpty());
    vq::TMemo pool;
    vq::fillPool(*module.ADOQuery1, pool);
    EXPECT_EQ(pool.toPlainText(), QStringLiteral("5\n3\n9\n1\n12\n8\n"));
    Shown shown;
    QSet<QString> seen;
    for (int i = 0; i < 6; ++i) {
        const QString n = vq::drawNumber(pool);
        shown.answerHidden = false;
        vq::fetchQuestion(*module.ADOQuery1, n, shown.targets());
        EXPECT_EQ(shown.question, QStringLiteral("问题") + n);
        EXPECT_EQ(shown.answer, QStringLiteral("答案") + n);
        EXPECT_TRUE(shown.answerHidden);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 6);
    EXPECT_TRUE(boxes.shown.isEmpty());
    const QString lastQuestion = shown.question;
    for (int i = 0; i < 2; ++i) {
        shown.answerHidden = false;
        EXPECT_EQ(vq::drawNumber(pool), QString());
        vq::fetchQuestion(*module.ADOQuery1, QString(), shown.targets());
        EXPECT_EQ(module.ADOQuery1->sql(), QStringLiteral("SELECT * from 题 where 编号="));
        EXPECT_EQ(shown.question, lastQuestion);
        EXPECT_FALSE(shown.answerHidden);
    }
    EXPECT_EQ(boxes.messagesShown(),
              QStringList({QStringLiteral("对不起，题库中是否没有题目了？"),
                           QStringLiteral("对不起，题库中是否没有题目了？")}));
    EXPECT_TRUE(boxes.errors().isEmpty());
}

TEST(QuestionPool, QueryTextForPositiveAndNegativeNumbers) {
    vq::test::RecordingMessages boxes;
    Bank bank({vq::jet::questionTable(numbered({17, -3}))});
    TDataModule2 module;
    vq::TMemo pool;
    vq::fillPool(*module.ADOQuery1, pool);
    EXPECT_EQ(pool.toPlainText(), QStringLiteral("17\n-3\n"));
    Shown shown;
    vq::fetchQuestion(*module.ADOQuery1, QStringLiteral("17"), shown.targets());
    EXPECT_EQ(module.ADOQuery1->sql(), QStringLiteral("SELECT * from 题 where 编号=17"));
    EXPECT_EQ(shown.question, QStringLiteral("问题17"));
    vq::fetchQuestion(*module.ADOQuery1, QStringLiteral("-3"), shown.targets());
    EXPECT_EQ(module.ADOQuery1->sql(), QStringLiteral("SELECT * from 题 where 编号=-3"));
    EXPECT_EQ(shown.question, QStringLiteral("问题-3"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST(QuestionPool, NullNumberStopsTheFillAtItsRow) {
    vq::test::RecordingMessages boxes;
    Table t = vq::jet::questionTable(numbered({4, 6, 0, 8}));
    t.rows[2][0] = QVariant();
    Bank bank({t});
    TDataModule2 module;
    vq::TMemo pool;
    EXPECT_EQ(messageOf([&] { vq::fillPool(*module.ADOQuery1, pool); }),
              QStringLiteral("无法把空值（Null）转换为文本（String）"));
    EXPECT_EQ(pool.toPlainText(), QStringLiteral("4\n6\n"));
}

TEST(QuestionPool, TextNumberColumnFailsEveryFetchWhileThePoolShrinks) {
    vq::test::RecordingMessages boxes;
    Table t{QStringLiteral("题"),
            {{QStringLiteral("编号"), ColumnType::Text, 20},
             {QStringLiteral("题目"), ColumnType::Memo},
             {QStringLiteral("答案"), ColumnType::Memo}},
            {{QStringLiteral("1"), QStringLiteral("q1"), QStringLiteral("a1")},
             {QStringLiteral("2"), QStringLiteral("q2"), QStringLiteral("a2")}}};
    Bank bank({t});
    TDataModule2 module;
    vq::TMemo pool;
    vq::fillPool(*module.ADOQuery1, pool);
    Shown shown;
    for (int left = 1; left >= 0; --left) {
        vq::fetchQuestion(*module.ADOQuery1, vq::drawNumber(pool), shown.targets());
        EXPECT_EQ(pool.count(), left);
    }
    EXPECT_EQ(shown.question, QStringLiteral("old question"));
    EXPECT_EQ(boxes.messagesShown().size(), 2);
    // The failure itself, as the engine words it.
    module.ADOQuery1->setSql(QStringLiteral("SELECT * from 题 where 编号=1"));
    EXPECT_EQ(messageOf([&] { module.ADOQuery1->open(); }),
              QStringLiteral("条件表达式中的数据类型不匹配"));
}

TEST(QuestionPool, RowRemovedAfterTheFillFailsSilently) {
    vq::test::RecordingMessages boxes;
    Bank bank({vq::jet::questionTable(numbered({1, 2}))});
    TDataModule2 module;
    vq::TMemo pool;
    vq::fillPool(*module.ADOQuery1, pool);
    Shown shown;
    vq::fetchQuestion(*module.ADOQuery1, QStringLiteral("2"), shown.targets());
    EXPECT_EQ(shown.question, QStringLiteral("问题2"));
    // Another program rewrites the bank: row 2 gone, row 1's texts changed.
    QList<vq::jet::Question> changed = numbered({1});
    changed[0].question = QStringLiteral("改过的问题");
    vq::jet::writeDatabase(bank.install.file(QStringLiteral("db.DLL")),
                           {vq::jet::questionTable(changed)}, {vq::jet::kBankPassword});
    shown = Shown();
    vq::fetchQuestion(*module.ADOQuery1, QStringLiteral("2"), shown.targets());
    EXPECT_EQ(shown.question, QStringLiteral("old question"));
    EXPECT_FALSE(shown.answerHidden);
    vq::fetchQuestion(*module.ADOQuery1, QStringLiteral("1"), shown.targets());
    EXPECT_EQ(shown.question, QStringLiteral("改过的问题"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST(DataModule, MissingBankGivesTwoErrorBoxesAndAClosedQuery) {
    vq::test::RecordingMessages boxes;
    vq::test::TempInstall install(true);
    TDataModule2 module;
    const QString expected =
        QStringLiteral("找不到文件：%1.").arg(install.file(QStringLiteral("db.DLL")));
    EXPECT_EQ(boxes.errors(), QStringList({expected, expected}));
    vq::TMemo pool;
    EXPECT_EQ(messageOf([&] { vq::fillPool(*module.ADOQuery1, pool); }),
              QStringLiteral("ADOQuery1: 数据集已关闭，不能执行此操作"));
    Shown shown;
    vq::fetchQuestion(*module.ADOQuery1, vq::drawNumber(pool), shown.targets());
    EXPECT_EQ(boxes.messagesShown(),
              QStringList({QStringLiteral("对不起，题库中是否没有题目了？")}));
}

TEST(DataModule, WrongPasswordNoTableNoNumberColumn) {
    {
        vq::test::RecordingMessages boxes;
        Bank bank({vq::jet::questionTable(numbered({1}))}, QStringLiteral("FMRTK20914"));
        TDataModule2 module;
        EXPECT_EQ(boxes.errors(), QStringList({QStringLiteral("数据库密码不正确."),
                                               QStringLiteral("数据库密码不正确.")}));
    }
    {
        vq::test::RecordingMessages boxes;
        Bank bank(vq::jet::fixtureTables(QStringLiteral("other-table")));
        TDataModule2 module;
        EXPECT_EQ(boxes.errors(),
                  QStringList({QStringLiteral(
                      "数据库中找不到输入表或查询“题”，请确认它存在并且名称拼写正确.")}));
    }
    {
        vq::test::RecordingMessages boxes;
        Bank bank(vq::jet::fixtureTables(QStringLiteral("no-number")));
        TDataModule2 module;
        EXPECT_TRUE(boxes.errors().isEmpty());
        vq::TMemo pool;
        EXPECT_EQ(messageOf([&] { vq::fillPool(*module.ADOQuery1, pool); }),
                  QStringLiteral("ADOQuery1: 找不到字段“编号”"));
    }
    {
        vq::test::RecordingMessages boxes;
        Bank bank(vq::jet::fixtureTables(QStringLiteral("no-rows")));
        TDataModule2 module;
        vq::TMemo pool;
        vq::fillPool(*module.ADOQuery1, pool);
        EXPECT_EQ(pool.count(), 0);
        EXPECT_TRUE(boxes.shown.isEmpty());
    }
}

TEST(JetSql, LexicalRulesAndEngineErrors) {
    vq::test::RecordingMessages boxes;
    Bank bank({vq::jet::questionTable(numbered({1, 2, -3}))});
    TDataModule2 module;
    TADOQuery& q = *module.ADOQuery1;
    auto rows = [&](const QString& sql) {
        q.setSql(sql);
        q.open();
        return q.recordCount();
    };
    EXPECT_EQ(rows(QStringLiteral("select *  from 题")), 3);
    EXPECT_EQ(rows(QStringLiteral("SeLeCt\t*\r\nFROM [题]  WHERE  [编号] = -3")), 1);
    EXPECT_EQ(rows(QStringLiteral("select * from 题 where 编号=2;")), 1);
    EXPECT_EQ(rows(QStringLiteral("select * from 题 where 编号=99")), 0);
    EXPECT_TRUE(q.eof());
    EXPECT_FALSE(q.fieldByName(QStringLiteral("题目")).isValid()); // no current row: no value
    EXPECT_EQ(messageOf([&] { rows(QStringLiteral("SELECT * from 题 where 编号=")); }),
              QStringLiteral("查询表达式“编号=”中有语法错误（缺少运算符）"));
    EXPECT_EQ(messageOf([&] { rows(QStringLiteral("SELECT * from 题 where 编号='1'")); }),
              QStringLiteral("条件表达式中的数据类型不匹配"));
    EXPECT_EQ(messageOf([&] { rows(QStringLiteral("SELECT * from 题 where 号=1")); }),
              QStringLiteral("一个或多个必需的参数没有值"));
    EXPECT_EQ(messageOf([&] { rows(QStringLiteral("SELECT * from 问题")); }),
              QStringLiteral("数据库中找不到输入表或查询“问题”，请确认它存在并且名称拼写正确"));
    // Replacing the text closes the query; closing a closed query does nothing.
    rows(QStringLiteral("select * from 题"));
    q.setSql(QStringLiteral("select * from 题"));
    EXPECT_FALSE(q.active());
    q.close();
    EXPECT_EQ(messageOf([&] { q.eof(); }),
              QStringLiteral("ADOQuery1: 数据集已关闭，不能执行此操作"));
}

// The numbers are indexed by the full read; a lookup gives every row that holds the number, in
// the order of the rows, whether the bank is kept in the order of its numbers or not.
TEST(JetSql, EqualNumbersAreFoundInTheOrderOfTheRows) {
    vq::test::RecordingMessages boxes;
    for (const QList<qint64>& numbers :
         {QList<qint64>{1, 2, 2, 3, 5, 5}, QList<qint64>{5, 2, 3, 5, 1, 2}}) {
        QList<vq::jet::Question> questions;
        for (qsizetype i = 0; i < numbers.size(); ++i)
            questions.append({numbers[i], QStringLiteral("第%1行").arg(i), QStringLiteral("答")});
        Bank bank({vq::jet::questionTable(questions)});
        TDataModule2 module;
        TADOQuery& q = *module.ADOQuery1;
        vq::TMemo pool;
        vq::fillPool(q, pool);
        for (const qint64 wanted : {5, 2, 1, 4}) {
            q.setSql(QStringLiteral("select * from 题 where 编号=%1").arg(wanted));
            q.open();
            QStringList found;
            for (; !q.eof(); q.next())
                found << q.fieldByName(QStringLiteral("题目")).toString();
            QStringList expected;
            for (qsizetype i = 0; i < numbers.size(); ++i)
                if (numbers[i] == wanted)
                    expected << QStringLiteral("第%1行").arg(i);
            EXPECT_EQ(found, expected) << numbers.front() << " first, number " << wanted;
        }
    }
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST(JetSql, TextConversion) {
    EXPECT_EQ(vq::variantToText(QVariant(qlonglong(-42))), QStringLiteral("-42"));
    EXPECT_EQ(vq::variantToText(QVariant(qlonglong(1234567))), QStringLiteral("1234567"));
    EXPECT_EQ(messageOf([&] { vq::variantToText(QVariant()); }),
              QStringLiteral("无法把空值（Null）转换为文本（String）"));
    // Appended, each kind of value reads the same, after what the text already holds.
    for (const QVariant& value :
         {QVariant(qlonglong(-42)), QVariant(std::numeric_limits<qlonglong>::min()),
          QVariant(std::numeric_limits<int>::min()), QVariant(0), QVariant(3.25),
          QVariant(QStringLiteral("第12题"))}) {
        QString text = QStringLiteral("7\n");
        vq::appendVariantText(text, value);
        EXPECT_EQ(text, QStringLiteral("7\n") + vq::variantToText(value));
    }
    QString text;
    EXPECT_EQ(messageOf([&] { vq::appendVariantText(text, QVariant()); }),
              messageOf([&] { vq::variantToText(QVariant()); }));
    EXPECT_EQ(messageOf([&] { vq::appendVariantText(text, QVariant::fromValue(nullptr)); }),
              messageOf([&] { vq::variantToText(QVariant::fromValue(nullptr)); }));
}

// The store keeps no history of the lines taken out: its undo stays empty however many draws a
// show makes (before, every draw added to it for the whole run).
TEST(QuestionPool, DrawsLeaveNothingBehind) {
    vq::TMemo pool;
    QString lines;
    for (int i = 1; i <= 3000; ++i)
        lines += QString::number(i) + u'\n';
    pool.appendLines(lines);
    ASSERT_EQ(pool.count(), 3000);
    for (int i = 0; i < 1100; ++i)
        ASSERT_FALSE(vq::drawNumber(pool).isEmpty());
    // Nor any other memory: before, every draw kept the layout of a line, about 1 KB.
    for (int i = 0; i < 100; ++i) // warm-up: the allocator's first blocks
        vq::drawNumber(pool);
    QCoreApplication::processEvents();
    const qint64 before = vq::test::heapHeld();
    for (int i = 0; i < 1000; ++i) {
        vq::drawNumber(pool);
        QCoreApplication::processEvents();
    }
    EXPECT_LT(vq::test::heapHeld() - before, 8 * 1024);
    EXPECT_EQ(pool.count(), 800);
    EXPECT_EQ(pool.toPlainText().count(u'\n'), 800);
}

// The pool of a 10,000-question bank is held for the whole run: one text and an offset a line,
// and draws from anywhere in it leave the lines after the drawn one in order.
TEST(QuestionPool, StoreHoldsLittleALineAndKeepsItsOrder) {
    constexpr int kLines = 10000;
    QString lines;
    QStringList model;
    for (int i = 1; i <= kLines; ++i) {
        model << QString::number(i * 37 - 5000);
        lines += model.back() + u'\n';
    }
    const qint64 before = vq::test::heapHeld();
    vq::TMemo pool;
    pool.appendLines(lines);
    const qint64 held = vq::test::heapHeld() - before;
    // Before: a string a line, 74 bytes a line.
    if (vq::test::kHeapIsCounted) {
        EXPECT_LT(held, qint64(kLines) * 28) << held / kLines << " bytes a line";
    }
    ASSERT_EQ(pool.count(), kLines);
    std::uint32_t r = 16;
    for (int i = 0; i < 3000; ++i) {
        r = r * 134775813u + 1u;
        const int at = vq::drawIndex(int(model.size()), r);
        ASSERT_EQ(pool.at(at), model.at(at));
        pool.removeAt(at);
        model.removeAt(at);
    }
    pool.append(QStringLiteral("题"));
    model << QStringLiteral("题");
    EXPECT_EQ(pool.lines(), model);
    EXPECT_EQ(pool.toPlainText(), model.join(u'\n') + u'\n');
}
