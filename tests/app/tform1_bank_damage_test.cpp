// A damaged bank: set-up fills the pool with the rows that can be read, the show goes on, and
// the operator is told once, after set-up.
#include "controls/memo.h"
#include "presenter_fixture.h"
#include "support/little_endian.h"

#include <QFile>
#include <QSet>

#include <cstring>

namespace vq::test {
namespace {

using MainScreenDamagedBank = Presenter;

constexpr int kPage = 4096;

QSet<QString> poolOf(const TForm1& form) {
    const QStringList lines = form.Memo1->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    return {lines.begin(), lines.end()};
}

// How the tenth data page of the table is damaged.
enum class PageDamage { Zeroed, Noise };

class MainScreenDamagedPage : public Presenter, public ::testing::WithParamInterface<PageDamage> {};

TEST_P(MainScreenDamagedPage, PoolHoldsTheReadableRowsAndTheOperatorIsToldOnce) {
    QList<QPair<QString, QString>> rows;
    for (int i = 1; i <= 10000; ++i)
        rows.append({QStringLiteral("问题 %1 %2").arg(i).arg(QString(i % 30, u'字')),
                     QStringLiteral("答 %1").arg(i)});
    writeBank(rows);
    inst.writeSettings(TempInstall::defaultSettings());
    writePictures();

    // The tenth data page of the table (its definition is page 3) is zeroed, or all of it after
    // its kind and owner is noise; the numbers on it are the ones the pool must lack.
    QFile file(inst.file("db.DLL"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    int seen = 0;
    qsizetype damaged = -1;
    QSet<QString> lost;
    for (qsizetype at = kPage; at < bytes.size() && damaged < 0; at += kPage) {
        if (bytes[at] != 1 || le32(bytes, at + 4) != 3 || ++seen < 10)
            continue;
        damaged = at;
        for (int r = 0; r < le16(bytes, at + 12); ++r)
            lost.insert(
                QString::number(le32(bytes, at + (le16(bytes, at + 14 + 2 * r) & 0x1FFF) + 2)));
    }
    ASSERT_GT(damaged, 0);
    ASSERT_FALSE(lost.isEmpty());
    if (GetParam() == PageDamage::Zeroed) {
        bytes.replace(damaged, kPage, QByteArray(kPage, '\0'));
    } else {
        putNoise(bytes, damaged + 8, damaged + kPage);
    }
    ASSERT_TRUE(file.seek(0));
    file.write(bytes);
    file.close();

    start();
    const int readable = 10000 - int(lost.size());
    EXPECT_EQ(msgs.messagesShown(),
              QStringList{
                  QStringLiteral("题库文件已损坏：只能读出 10000 道题中的 %1 道。").arg(readable)});
    EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    QSet<QString> expected;
    for (int i = 1; i <= 10000; ++i)
        if (!lost.contains(QString::number(i)))
            expected.insert(QString::number(i));
    EXPECT_EQ(form->Memo1->toPlainText().count(u'\n'), readable);
    EXPECT_EQ(poolOf(*form), expected);

    // The show goes on without telling again: three steps, one question.
    msgs.clear();
    for (int i = 0; i < 3; ++i)
        form->Image3Click();
    EXPECT_TRUE(msgs.messagesShown().isEmpty()) << msgs.messagesShown().join(u'\n').toStdString();
    EXPECT_TRUE(form->RzLabel1->text().startsWith(QStringLiteral("问题 ")));
    EXPECT_EQ(form->Memo1->toPlainText().count(u'\n'), readable - 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MainScreenDamagedPage,
                         ::testing::Values(PageDamage::Zeroed, PageDamage::Noise));

TEST_F(MainScreenDamagedBank, SoundBankSaysNothing) {
    writeBank({{QStringLiteral("q"), QStringLiteral("a")}});
    inst.writeSettings(TempInstall::defaultSettings());
    writePictures();
    start();
    EXPECT_TRUE(msgs.messagesShown().isEmpty());
    EXPECT_EQ(form->Memo1->toPlainText(), QStringLiteral("1\n"));
}

} // namespace
} // namespace vq::test
