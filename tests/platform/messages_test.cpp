#include "controls/application.h"
#include "platform/messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include <functional>

#include <gtest/gtest.h>

using vq::errorBoxText;

TEST(ErrorBoxText, AddsFullStopOnlyAfterCharactersSortingAfterDot) {
    EXPECT_EQ(errorBoxText(QStringLiteral("'wenti_width' is not a valid integer value")),
              QStringLiteral("'wenti_width' is not a valid integer value."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Unable to write to x.")),
              QStringLiteral("Unable to write to x."));
    // "!" (0x21) and "-" (0x2D) sort before "."; "/" and letters after it.
    EXPECT_EQ(errorBoxText(QStringLiteral("done!")), QStringLiteral("done!"));
    EXPECT_EQ(errorBoxText(QStringLiteral("a-")), QStringLiteral("a-"));
    EXPECT_EQ(errorBoxText(QStringLiteral("a/")), QStringLiteral("a/."));
    EXPECT_EQ(errorBoxText(QStringLiteral("题库")), QStringLiteral("题库."));
    EXPECT_EQ(errorBoxText(QString()), QString());
}

namespace {

// Runs `show` (which opens a modal box) and returns the texts of the box's buttons, read from
// the widget while it is up; the box is then closed with its first button.
QStringList buttonTextsOfBox(const std::function<void()>& show) {
    QStringList texts;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton* b : box->buttons())
            texts << b->text();
        if (!box->buttons().isEmpty())
            box->buttons().first()->click();
    });
    show();
    return texts;
}

struct QtTranslationsInstalled : ::testing::Test {
    QTranslator* translator = nullptr;
    void SetUp() override {
        translator = vq::installQtTranslations();
        ASSERT_NE(translator, nullptr) << "Qt's Chinese translations (scripts/install-deps.sh)";
    }
    void TearDown() override {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
};

TEST_F(QtTranslationsInstalled, StandardButtonsOfTheRealBoxesAreChinese) {
    EXPECT_EQ(buttonTextsOfBox([] { vq::showErrorBox(QStringLiteral("Unable to write to x")); }),
              QStringList{QStringLiteral("确定")});
    EXPECT_EQ(buttonTextsOfBox([] { vq::showMessageBox(QStringLiteral("对不起")); }),
              QStringList{QStringLiteral("确定")});
    QStringList question = buttonTextsOfBox(
        [] { vq::messages().question(nullptr, QStringLiteral("退出？"), QStringLiteral("提示")); });
    question.sort();
    EXPECT_EQ(question, (QStringList{QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")}));
}

TEST_F(QtTranslationsInstalled, ColourDialogIsChinese) {
    QColorDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("选择颜色"));
    QStringList labels;
    for (QLabel* l : dialog.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("基本颜色(&B)"))) << labels.join(u'|').toStdString();
}

} // namespace
