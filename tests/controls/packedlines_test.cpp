// The pool store's lines: what goes in comes out as the same text at the same position, through
// any mix of numbers and other texts and any order of removals.
#include "controls/packedlines.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <random>

namespace {

QStringList linesOf(const vq::PackedLines& p) {
    QStringList out;
    for (qsizetype i = 0; i < p.count(); ++i)
        out << p.at(i);
    return out;
}

// Texts that look like numbers but are not a number's own text stay exactly as written.
TEST(PackedLines, EveryLineComesBackAsWritten) {
    const QStringList texts = {
        QStringLiteral("17"),          QStringLiteral("-3"),          QStringLiteral("0"),
        QStringLiteral("007"),         QStringLiteral("-0"),          QStringLiteral("+5"),
        QStringLiteral(" 5"),          QStringLiteral("5 "),          QStringLiteral(""),
        QStringLiteral("2147483647"),  QStringLiteral("-2147483647"), QStringLiteral("-2147483648"),
        QStringLiteral("2147483648"),  QStringLiteral("99999999999"), QStringLiteral("-"),
        QStringLiteral("第3题"),       QStringLiteral("１２"),        QStringLiteral("1e3"),
        QStringLiteral("12345678901"), QStringLiteral("4294967296")};
    vq::PackedLines p;
    for (const QString& t : texts)
        p.append(t);
    EXPECT_EQ(linesOf(p), texts);
    EXPECT_EQ(p.at(-1), QString());
    EXPECT_EQ(p.at(texts.size()), QString());
}

// Random removals over several blocks, numbers and texts mixed, against a plain list.
TEST(PackedLines, RemovalsKeepTheOrderOfTheRest) {
    std::mt19937 random(7);
    vq::PackedLines p;
    QStringList model;
    for (int i = 0; i < 3000; ++i) {
        const QString line = i % 7 == 3 ? QStringLiteral("题%1").arg(i)
                                        : QString::number(int(random() % 20000) - 500);
        p.append(line);
        model << line;
    }
    p.removeAt(-1);
    p.removeAt(model.size());
    ASSERT_EQ(p.count(), model.size());
    while (!model.isEmpty()) {
        const auto at = qsizetype(random() % quint32(model.size()));
        ASSERT_EQ(p.at(at), model[at]);
        p.removeAt(at);
        model.removeAt(at);
        ASSERT_EQ(p.count(), model.size());
        if (model.size() % 499 == 0) {
            ASSERT_EQ(linesOf(p), model);
        }
    }
    p.append(QStringLiteral("8"));
    EXPECT_EQ(linesOf(p), QStringList{QStringLiteral("8")});
    p.clear();
    EXPECT_EQ(p.count(), 0);
}

} // namespace
