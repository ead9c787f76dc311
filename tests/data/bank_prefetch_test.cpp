// The bank read on a second thread at start: the data module takes it only while nothing has
// changed, and otherwise opens the bank itself, with exactly the boxes and the pool a start
// without it gives.
#include "controls/memo.h"
#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/bankprefetch.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "platform/exception.h"
#include "support/jet_fixtures.h"
#include "support/recording.h"
#include "support/temp_install.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using vq::jet::Table;

QList<Table> questions(const QList<qint64>& numbers) {
    QList<vq::jet::Question> out;
    for (qint64 n : numbers)
        out.append({n, QStringLiteral("问题%1").arg(n), QStringLiteral("答案%1").arg(n)});
    return {vq::jet::questionTable(out)};
}

// What a start shows of the bank: the data module's error boxes, the pool set-up fills and the
// fill's failure, and the question the first number fetches.
struct Start {
    QStringList errors;
    QString pool;
    QString fillFailure;
    QString firstQuestion;
    bool operator==(const Start&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Start& s) {
    return os << "errors [" << s.errors.join(u'|').toStdString() << "] pool ["
              << s.pool.toStdString() << "] fill failure [" << s.fillFailure.toStdString()
              << "] first question [" << s.firstQuestion.toStdString() << "]";
}

// The program's start: its data module, handed the prefetch where there is one.
Start start(vq::BankPrefetch* prefetch = nullptr) {
    vq::test::RecordingMessages boxes;
    TDataModule2 module(prefetch);
    Start s;
    s.errors = boxes.errors();
    vq::TMemo pool;
    try {
        vq::fillPool(*module.ADOQuery1, pool);
    } catch (const vq::Exception& e) {
        s.fillFailure = e.message();
    }
    s.pool = pool.toPlainText();
    vq::FetchTargets targets;
    targets.setQuestion = [&](const QString& q) { s.firstQuestion = q; };
    if (pool.count() > 0)
        vq::fetchQuestion(*module.ADOQuery1, pool.at(0), targets);
    return s;
}

void write(const QString& path, const QList<Table>& tables,
           const QString& password = vq::jet::kBankPassword) {
    vq::jet::writeDatabase(path, tables, {password});
}

// The file's time moved on, as a save by another program a moment later would leave it.
void touchLater(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
}

struct Case {
    const char* name;
    std::function<void(const QString&)> before;  // the bank as the prefetch finds it
    std::function<void(const QString&)> between; // what changes before the data module opens
    bool taken;
};

} // namespace

TEST(BankPrefetch, TakenOnlyWhileNothingChangedOtherwiseTheSameStartAsWithout) {
    const QList<Case> cases = {
        {"unchanged",
         [](const QString& p) {
             write(p, questions({5, 3, 9}));
         },
         [](const QString&) {}, true},
        {"rewritten",
         [](const QString& p) {
             write(p, questions({5, 3, 9}));
         },
         [](const QString& p) {
             write(p, questions({1, 2, 4, 8}));
             touchLater(p);
         },
         false},
        {"same size, saved again",
         [](const QString& p) {
             write(p, questions({5, 3, 9}));
         },
         [](const QString& p) {
             write(p, questions({6, 4, 7}));
             touchLater(p);
         },
         false},
        {"removed",
         [](const QString& p) {
             write(p, questions({5, 3, 9}));
         },
         [](const QString& p) { QFile::remove(p); }, false},
        {"appeared", [](const QString&) {},
         [](const QString& p) {
             write(p, questions({11, 12}));
         },
         false},
        {"password changed", [](const QString& p) { write(p, questions({5})); },
         [](const QString& p) {
             write(p, questions({5}), QStringLiteral("FMRTK20914"));
             touchLater(p);
         },
         false},
        {"table gone", [](const QString& p) { write(p, questions({5})); },
         [](const QString& p) {
             write(p, vq::jet::fixtureTables(QStringLiteral("other-table")));
             touchLater(p);
         },
         false},
        {"wrong password all along",
         [](const QString& p) { write(p, questions({5}), QStringLiteral("FMRTK20914")); },
         [](const QString&) {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vq::test::TempInstall install(true);
        const QString bank = install.file(QStringLiteral("db.DLL"));
        c.before(bank);
        std::optional<Start> withPrefetch;
        {
            vq::BankPrefetch prefetch(TADOConnection::designedConnectionString(),
                                      TDataModule2::designedSql());
            prefetch.wait();
            c.between(bank);
            withPrefetch = start(&prefetch);
            EXPECT_EQ(prefetch.databaseTaken() && prefetch.rowsTaken(), c.taken);
        }
        // The same bank, opened by the data module alone.
        const Start without = start();
        EXPECT_EQ(*withPrefetch, without);
        EXPECT_EQ(without.errors.isEmpty(), !without.pool.isEmpty() || c.taken);
    }
}

// What the cases above compare against, spelt out for the commonest failures.
TEST(BankPrefetch, RemovedBankGivesTheDataModulesTwoBoxesAndAnEmptyPool) {
    vq::test::TempInstall install(true);
    const QString bank = install.file(QStringLiteral("db.DLL"));
    write(bank, questions({5, 3, 9}));
    vq::BankPrefetch prefetch(TADOConnection::designedConnectionString(),
                              TDataModule2::designedSql());
    prefetch.wait();
    QFile::remove(bank);
    const Start s = start(&prefetch);
    const QString missing = QStringLiteral("找不到文件：%1.").arg(bank);
    EXPECT_EQ(s.errors, QStringList({missing, missing}));
    EXPECT_EQ(s.fillFailure, QStringLiteral("ADOQuery1: 数据集已关闭，不能执行此操作"));
    EXPECT_EQ(s.pool, QString());
}

TEST(BankPrefetch, RowsOnlyForTheSameQueryTextOnTheSameBank) {
    vq::test::TempInstall install(true);
    write(install.file(QStringLiteral("db.DLL")), questions({5, 3, 9}));
    vq::BankPrefetch prefetch(TADOConnection::designedConnectionString(),
                              TDataModule2::designedSql());
    TADOConnection connection;
    connection.setConnectionString(TADOConnection::designedConnectionString());
    connection.setPrefetch(&prefetch);
    TADOQuery query;
    query.setConnection(&connection);
    query.setSql(QStringLiteral("SELECT * from 题 where 编号=3"));
    query.open();
    EXPECT_TRUE(prefetch.databaseTaken());
    EXPECT_FALSE(prefetch.rowsTaken());
    EXPECT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.fieldByName(QStringLiteral("题目")).toString(), QStringLiteral("问题3"));
    // The designed text on the same, unchanged bank takes the rows read in the background.
    query.setSql(TDataModule2::designedSql());
    query.open();
    EXPECT_TRUE(prefetch.rowsTaken());
    EXPECT_EQ(query.recordCount(), 3);
    // Nothing is handed out twice.
    EXPECT_EQ(prefetch.takeDatabase(install.file(QStringLiteral("db.DLL")), vq::jet::kBankPassword),
              nullptr);
}
