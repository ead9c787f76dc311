// The bank's optional columns as the fetch hands them to the show.
#include "data/adoquery.h"
#include "data/bankschema.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "support/recording.h"
#include "support/temp_install.h"

#include <gtest/gtest.h>

#include <optional>

using vq::QuestionExtras;
using vq::jet::Column;
using vq::jet::ColumnType;
using vq::jet::Table;
namespace schema = vq::bankschema;

namespace {

struct Bank {
    explicit Bank(const Table& table) {
        vq::jet::writeDatabase(install.file(QStringLiteral("db.DLL")), {table},
                               {vq::jet::kBankPassword});
    }
    vq::test::TempInstall install{true};
};

// The extras the fetch handed over for `number`; nothing where it handed none.
std::optional<QuestionExtras> fetchedExtras(TDataModule2& module, qint64 number,
                                            QString* question = nullptr) {
    std::optional<QuestionExtras> got;
    vq::FetchTargets targets;
    targets.setQuestion = [&](const QString& q) {
        if (question)
            *question = q;
    };
    targets.setExtras = [&](const QuestionExtras& e) { got = e; };
    vq::fetchQuestion(*module.ADOQuery1, QString::number(number), targets);
    return got;
}

// The columns in an order of their own, the optional ones typed as an Access user might.
Table richTable() {
    Table t;
    t.name = schema::kTable;
    t.columns = {
        {schema::kTime, ColumnType::Text, 20},   {schema::kPicture, ColumnType::Text, 255},
        {schema::kNumber, ColumnType::Long},     {schema::kQuestion, ColumnType::Memo},
        {schema::kAnswer, ColumnType::Memo},     {schema::kPoints, ColumnType::Long},
        {schema::kSound, ColumnType::Text, 255}, {schema::kAnswerPicture, ColumnType::Text, 255}};
    const auto row = [](QVariant time, QVariant pic, qint64 n, QVariant points, QVariant sound,
                        QVariant answerPic) {
        return QList<QVariant>{
            time,   pic,   n,        QStringLiteral("题%1").arg(n), QStringLiteral("答%1").arg(n),
            points, sound, answerPic};
    };
    t.rows = {
        row(QStringLiteral("30"), QStringLiteral("猫.jpg"), 1, 20, QStringLiteral("歌.wav"),
            QStringLiteral("答案/猫.png")),
        // Blanks typed around the values; a time written with blanks.
        row(QStringLiteral(" 45 "), QStringLiteral("  狗.png "), 2, QVariant(), QVariant(),
            QVariant()),
        // Nonsense in every cell: read as not given.
        row(QStringLiteral("半分钟"), QString(), 3, -5, QString(), QString()),
        row(QStringLiteral("0"), QVariant(), 4, 0, QVariant(), QVariant()),
        row(QStringLiteral("-20"), QVariant(), 5, vq::kMaxQuestionPoints + 1, QVariant(),
            QVariant()),
        row(QString::number(vq::kMaxQuestionSeconds + 1), QVariant(), 6, vq::kMaxQuestionPoints,
            QVariant(), QVariant()),
        row(QString::number(vq::kMaxQuestionSeconds), QVariant(), 7, 1, QVariant(), QVariant()),
        row(QStringLiteral("12.5"), QVariant(), 8, QVariant(), QVariant(), QVariant()),
    };
    return t;
}

} // namespace

TEST(QuestionExtras, ReadByNameInAnyOrderWithTheValuesTyped) {
    Bank bank(richTable());
    vq::test::RecordingMessages boxes;
    TDataModule2 module;

    QString question;
    const auto first = fetchedExtras(module, 1, &question);
    ASSERT_TRUE(first);
    EXPECT_EQ(question, QStringLiteral("题1"));
    EXPECT_EQ(first->picture, QStringLiteral("猫.jpg"));
    EXPECT_EQ(first->answerPicture, QStringLiteral("答案/猫.png"));
    EXPECT_EQ(first->sound, QStringLiteral("歌.wav"));
    EXPECT_EQ(first->seconds, 30);
    EXPECT_EQ(first->points, 20);

    const auto second = fetchedExtras(module, 2);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->picture, QStringLiteral("狗.png"));
    EXPECT_EQ(second->seconds, 45);
    EXPECT_EQ(second->points, std::nullopt);
    EXPECT_TRUE(second->answerPicture.isEmpty());
    EXPECT_TRUE(second->sound.isEmpty());

    // Not a length or points a round could mean: the settings' own then.
    for (qint64 n : {3, 4, 5, 8}) {
        const auto e = fetchedExtras(module, n);
        ASSERT_TRUE(e) << n;
        EXPECT_EQ(e->seconds, std::nullopt) << n;
        EXPECT_EQ(e->points, std::nullopt) << n;
        EXPECT_TRUE(e->picture.isEmpty()) << n;
    }
    const auto limits = fetchedExtras(module, 6);
    EXPECT_EQ(limits->seconds, std::nullopt);
    EXPECT_EQ(limits->points, vq::kMaxQuestionPoints);
    const auto edge = fetchedExtras(module, 7);
    EXPECT_EQ(edge->seconds, vq::kMaxQuestionSeconds);
    EXPECT_EQ(edge->points, 1);
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST(QuestionExtras, ABankOfThreeColumnsHasNone) {
    Bank bank(vq::jet::questionTable({{1, QStringLiteral("问"), QStringLiteral("答")}}));
    vq::test::RecordingMessages boxes;
    TDataModule2 module;
    const auto e = fetchedExtras(module, 1);
    ASSERT_TRUE(e);
    EXPECT_EQ(*e, QuestionExtras{});
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// The question left on the screen keeps its pictures and time: nothing is handed over where no
// question was read.
TEST(QuestionExtras, NoneHandedOverWhereNoQuestionWasRead) {
    Bank bank(richTable());
    vq::test::RecordingMessages boxes;
    TDataModule2 module;
    EXPECT_FALSE(fetchedExtras(module, 99)); // no such row
    EXPECT_TRUE(boxes.shown.isEmpty());

    vq::FetchTargets targets;
    bool handed = false;
    targets.setExtras = [&](const QuestionExtras&) { handed = true; };
    vq::fetchQuestion(*module.ADOQuery1, QString(), targets); // the pool used up
    EXPECT_FALSE(handed);
    EXPECT_EQ(boxes.messagesShown(), QStringList{vq::kEmptyBankMessage});
}
