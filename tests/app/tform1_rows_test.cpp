// Main screen cases beyond the plain path: no question bank, set-up ending between the two
// answer placements, the pool running out, the preview's first step, a bank question that
// wraps to three lines.
#include "presenter_fixture.h"

#include "app/timage.h"
#include "controls/memo.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace vq::test {
namespace {

using MainScreenRows = Presenter;

TEST_F(MainScreenRows, WithoutBankTwoBoxesFromTheDataModuleAndOneFromSetUp) {
    installFiles();
    QFile::remove(inst.file("db.DLL"));
    create();
    EXPECT_EQ(msgs.errors().size(), 2) << msgs.errors().join(u'\n').toStdString();
    form->show();
    ASSERT_EQ(msgs.errors().size(), 3) << msgs.errors().join(u'\n').toStdString();
    EXPECT_EQ(msgs.errors().last(), QStringLiteral("ADOQuery1: 数据集已关闭，不能执行此操作."));
    EXPECT_EQ(form->Memo1->toPlainText(), QString());
    EXPECT_FALSE(form->Image3->hasPicture()) << "set-up ended at the pool";
    EXPECT_EQ(setting("weizhishezhi"), QStringLiteral("0"));

    // The screen works; every draw shows the message, the rotation goes on.
    msgs.clear();
    for (int i = 0; i < 6; ++i)
        form->Image3Click();
    EXPECT_EQ(msgs.messagesShown(),
              (QStringList{QStringLiteral("对不起，题库中是否没有题目了？"),
                           QStringLiteral("对不起，题库中是否没有题目了？")}));
    EXPECT_TRUE(msgs.errors().isEmpty());
    EXPECT_EQ(counter(), 6);
}

TEST_F(MainScreenRows, SetUpEndingAtTheAnswerLeftKeepsTheFirstAnswerPlacement) {
    // The answer's first top follows the question's designed place and measured height.
    const int designedHeight = TForm1().RzLabel1->height();
    installFiles(settingsWith({"daan_left=abc", "wenti_top=400"}));
    start();
    ASSERT_EQ(msgs.errors(), QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(256, 400));
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(264, 216 + designedHeight + 30));
    EXPECT_EQ(form->RzLabel2->width(), 600);
}

TEST_F(MainScreenRows, EmptyPoolMessageWithTheAnswerOffScreenThenBackBelowTheQuestion) {
    writeBank({{QStringLiteral("only question"), QStringLiteral("only answer")}});
    inst.writeSettings(TempInstall::defaultSettings());
    writePictures();
    start();
    ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    for (int i = 0; i < 3; ++i)
        form->Image3Click();
    ASSERT_TRUE(form->RzLabel2->isVisibleTo(form.get()));
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    QList<int> topsWhileUp;
    msgs.onShow = [&](const RecordingMessages::Shown&) { topsWhileUp << form->RzLabel2->y(); };
    form->Image3Click();
    form->Image3Click(); // countdown of the question still shown
    form->Image3Click(); // reveal
    form->Image3Click(); // draws again: the same message
    EXPECT_EQ(msgs.messagesShown().size(), 2);
    EXPECT_EQ(topsWhileUp,
              (QList<int>{screen->geometry().height() + 200, screen->geometry().height() + 200}));
    EXPECT_EQ(form->RzLabel1->text(), QStringLiteral("only question"));
    EXPECT_EQ(form->RzLabel2->text(), QStringLiteral("only answer"));
    EXPECT_TRUE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(form->RzLabel2->y(), form->RzLabel1->y() + form->RzLabel1->height() + 30);
}

TEST_F(MainScreenRows, PreviewFirstStepReplacesQuestionAndAnswerButKeepsTheCount) {
    installFiles(settingsWith({"weizhishezhi=1", "shijian=4"}));
    start();
    form->Image3Click();
    EXPECT_TRUE(form->RzLabel1->text().startsWith(QStringLiteral("question ")));
    EXPECT_TRUE(form->RzLabel2->text().startsWith(QStringLiteral("answer ")));
    EXPECT_FALSE(form->RzLabel2->isVisibleTo(form.get()));
    EXPECT_EQ(form->Label1->text(), QStringLiteral("10"));
    EXPECT_FALSE(form->Timer1->isActive());
    form->Image3Click();
    EXPECT_EQ(form->Label1->text(), QStringLiteral("4"));
}

TEST_F(MainScreenRows, BankQuestionOfThreeLinesPushesTheAnswerDown) {
    // Wide enough for three lines at 14 points and 300 pixels, not for two.
    QString question;
    {
        QFont f(QStringLiteral("黑体"));
        f.setBold(true);
        f.setPixelSize(qRound(14.0 * QWidget().logicalDpiY() / 72));
        const QFontMetrics fm(f);
        while (fm.horizontalAdvance(question) < 300 * 2 + 120)
            question += QStringLiteral("哪一个城市");
    }
    writeBank({{question, QStringLiteral("答案")}});
    inst.writeSettings(
        settingsWith({"wenti_width=300", "wenti_fontsize=14", "wenti_top=100", "daan_top=999"}));
    writePictures();
    start();
    ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
    form->Image3Click();
    ASSERT_EQ(form->RzLabel1->text(), question);
    const QFontMetrics fm(form->RzLabel1->font());
    const int lines = (form->RzLabel1->height() + fm.lineSpacing() / 2) / fm.lineSpacing();
    EXPECT_EQ(lines, 3);
    EXPECT_LE(form->RzLabel1->width(), 300);
    EXPECT_EQ(form->RzLabel2->y(), 100 + form->RzLabel1->height() + 30);
    EXPECT_GE(form->RzLabel2->y(), 100 + 3 * fm.height() - 2 + 30);
}

} // namespace
} // namespace vq::test
