// The settings dialog as the running program uses it: filled by the main screen's set-up,
// opened from the menu, saved or cancelled, and its effect on the next start.
#include "controls/memo.h"
#include "controls/rzcoloredit.h"
#include "controls/rzspinner.h"
#include "presenter_fixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include <sys/stat.h>

namespace vq::test {
namespace {

const QStringList kDialogKeys = {
    "biaoti_color",     "shijian_color",  "wenti_color",   "daan_color",    "biaoti_fontsize",
    "shijian_fontsize", "wenti_fontsize", "daan_fontsize", "shijian",       "biaoti",
    "wenti_width",      "daan_width",     "huanying",      "shijian_sound", "weizhishezhi"};

class SettingsDialog : public Presenter {
protected:
    // Opens the dialog from the menu and runs `inside` while it is up, modally.
    void whileOpen(const std::function<void()>& inside) {
        QTimer::singleShot(0, form3.get(), [&] {
            inside();
            if (form3->isVisible())
                form3->Button2->click(); // never leave the modal run hanging
        });
        form->N7Click();
    }

    // Opens the dialog from the menu inside the program's own event loop and clicks 保存;
    // returns the loop's exit code (99 when the loop was not ended within the bound).
    int saveFromTheMenu() {
        QTimer bound;
        bound.setSingleShot(true);
        QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        bound.start(10000);
        QTimer::singleShot(0, form.get(), [this] {
            QTimer::singleShot(0, form3->Button1, [this] { form3->Button1->click(); });
            form->N7Click();
        });
        return QCoreApplication::exec();
    }

    QMap<QString, QString> dialogKeys() const {
        QMap<QString, QString> out;
        for (const QString& k : kDialogKeys)
            out[k] = setting(k);
        return out;
    }
};

TEST_F(SettingsDialog, SaveAfterANormalStartRewritesTheStartValuesAndEndsWithoutTheExitQuestion) {
    installFiles(settingsWith({"biaoti_fontsize=900", "wenti_width=-5", "daan_width=2005",
                               "biaoti_color=-16777214", "wenti_color=536870911", "huanying=2",
                               "shijian_sound=1", "shijian=45"}));
    start();
    ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join('\n').toStdString();
    const QString titleOnScreen = form->Label2->text();
    const QMap<QString, QString> before = dialogKeys();

    EXPECT_EQ(saveFromTheMenu(), 0);
    EXPECT_EQ(msgs.messagesShown(), QStringList{"保存成功，程序关闭后请重新打开！"});
    EXPECT_TRUE(msgs.questions().isEmpty()) << "the exit question was asked";
    EXPECT_TRUE(msgs.errors().isEmpty());
    EXPECT_FALSE(form3->isVisible());
    EXPECT_TRUE(form3->programEnding());
    // Nothing saved is applied to the running screen.
    EXPECT_EQ(form->Label2->text(), titleOnScreen);

    QMap<QString, QString> expected = before;
    expected["biaoti_fontsize"] = "500"; // limited by the spinners
    expected["wenti_width"] = "0";
    expected["daan_width"] = "2000";
    expected["huanying"] = "0"; // "2" left the box unticked
    EXPECT_EQ(dialogKeys(), expected);
    EXPECT_EQ(setting("biaoti_color"), "-16777214");
    EXPECT_EQ(setting("wenti_color"), "536870911");
    EXPECT_EQ(setting("weizhishezhi"), "0");
    // The positions belong to dragging, not to the dialog.
    EXPECT_EQ(setting("wenti_left"), "256");
    EXPECT_EQ(setting("daan_top"), "280");
}

TEST_F(SettingsDialog, CountdownOf20000ShowsAndSavesTheSpinnersMaximum) {
    installFiles(settingsWith({"shijian=20000"}));
    start();
    EXPECT_EQ(form3->RzSpinner2->value(), 10000);
    ASSERT_EQ(saveFromTheMenu(), 0);
    EXPECT_EQ(setting("shijian"), "10000");
}

TEST_F(SettingsDialog, TickedPreviewShowsTheLabelsAtTheNextStartOnly) {
    installFiles();
    start();
    EXPECT_FALSE(form3->CheckBox4->isChecked());
    form3->CheckBox4->setChecked(true);
    ASSERT_EQ(saveFromTheMenu(), 0);
    ASSERT_EQ(setting("weizhishezhi"), "1");

    restart();
    EXPECT_EQ(form->Label1->text(), "10");
    EXPECT_EQ(form->RzLabel1->text(), "问");
    EXPECT_TRUE(form->RzLabel2->isVisible());
    EXPECT_EQ(form->RzLabel2->text(), "答");
    EXPECT_FALSE(form3->CheckBox4->isChecked()) << "never filled: unticked at every start";
    EXPECT_EQ(setting("weizhishezhi"), "0");

    restart();
    EXPECT_EQ(form->Label1->text(), QString());
    EXPECT_EQ(form->RzLabel1->text(), QString());
    EXPECT_FALSE(form->RzLabel2->isVisible());
}

TEST_F(SettingsDialog, EmptyNameGivesNoTitleAtTheNextStart) {
    installFiles();
    start();
    form3->Edit1->clear();
    ASSERT_EQ(saveFromTheMenu(), 0);
    restart();
    EXPECT_EQ(form->Label2->text(), QString());
    EXPECT_EQ(form3->Edit1->text(), QString());
}

// A title pasted with a line break in it and a second line that reads like a key: the name shows
// it on one line, the save writes that line, and the next start is a normal one with that title
// and the question pool filled.
TEST_F(SettingsDialog, PastedTwoLineTitleSavesOnOneLineAndTheNextStartIsNormal) {
    installFiles();
    start();
    ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join('\n').toStdString();
    const QString pool = form->Memo1->toPlainText();
    ASSERT_FALSE(pool.isEmpty());
    form3->Edit1->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("新年晚会\r\nshijian=abc"));
    keyPress(form3->Edit1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(form3->Edit1->text(), QStringLiteral("新年晚会 shijian=abc"));
    ASSERT_EQ(saveFromTheMenu(), 0);

    restart();
    EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join('\n').toStdString();
    EXPECT_EQ(form->Label2->text(), QStringLiteral("新年晚会 shijian=abc"));
    EXPECT_EQ(form3->Edit1->text(), form->Label2->text());
    EXPECT_EQ(form3->RzSpinner2->value(), 10);
    EXPECT_EQ(form->Memo1->toPlainText(), pool);
}

TEST_F(SettingsDialog, CancelWritesNothingKeepsTheEditsAndGivesTheFocusBack) {
    installFiles();
    start();
    const QByteArray before = inst.readFile("opt.ini");
    whileOpen([&] {
        form3->Edit1->setText("改过的标题");
        form3->RzSpinner2->setValue(33);
        form3->RzColorEdit2->setSelectedColor(clLime);
        form3->CheckBox1->setChecked(false);
        form3->CheckBox4->setChecked(true);
        form3->Button2->click();
    });
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(inst.readFile("opt.ini"), before);
    EXPECT_TRUE(msgs.shown.isEmpty());
    EXPECT_EQ(form->focusWidget(), form->Button1);
    EXPECT_EQ(form->Label2->text(), "答题活动标题") << "the main screen is left as it was";

    QString title;
    int countdown = -1;
    TColor colour = 0;
    bool sound = true, preview = false;
    whileOpen([&] {
        title = form3->Edit1->text();
        countdown = form3->RzSpinner2->value();
        colour = form3->RzColorEdit2->selectedColor();
        sound = form3->CheckBox1->isChecked();
        preview = form3->CheckBox4->isChecked();
    });
    EXPECT_EQ(title, "改过的标题");
    EXPECT_EQ(countdown, 33);
    EXPECT_EQ(colour, clLime);
    EXPECT_FALSE(sound);
    EXPECT_TRUE(preview);
    EXPECT_EQ(inst.readFile("opt.ini"), before);
}

TEST_F(SettingsDialog, StartWithoutTheSettingsFileLeavesTheDesignerValuesAndSavesThem) {
    installFiles();
    QFile::remove(inst.file("opt.ini"));
    start();
    ASSERT_FALSE(msgs.errors().isEmpty());
    EXPECT_EQ(msgs.errors().first(), "'wenti_width' is not a valid integer value.");
    msgs.clear();

    ASSERT_EQ(saveFromTheMenu(), 0);
    EXPECT_EQ(msgs.messagesShown(), QStringList{"保存成功，程序关闭后请重新打开！"});
    const QMap<QString, QString> expected = {{"biaoti_color", "0"},
                                             {"shijian_color", "536870911"},
                                             {"wenti_color", "536870911"},
                                             {"daan_color", "536870911"},
                                             {"biaoti_fontsize", "4"},
                                             {"shijian_fontsize", "0"},
                                             {"wenti_fontsize", "0"},
                                             {"daan_fontsize", "0"},
                                             {"shijian", "0"},
                                             {"biaoti", ""},
                                             {"wenti_width", "0"},
                                             {"daan_width", "0"},
                                             {"huanying", "0"},
                                             {"shijian_sound", "0"},
                                             {"weizhishezhi", "0"}};
    EXPECT_EQ(dialogKeys(), expected);
}

TEST_F(SettingsDialog, ReadOnlySettingsFileFailsTheSaveChangesNoKeyAndKeepsTheDialogOpen) {
    installFiles();
    start();
    const QByteArray before = inst.readFile("opt.ini");
    const QByteArray path = QFile::encodeName(inst.file("opt.ini"));
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    bool openAfterFailure = false;
    whileOpen([&] {
        form3->RzSpinner2->setValue(77);
        form3->Button1->click();
        openAfterFailure = form3->isVisible();
    });
    ::chmod(path.constData(), 0644);
    EXPECT_TRUE(openAfterFailure);
    EXPECT_EQ(msgs.messagesShown(), QStringList{"对不起，保存失败！"});
    EXPECT_TRUE(msgs.errors().isEmpty()) << "the framework's own message is not shown";
    EXPECT_EQ(inst.readFile("opt.ini"), before);
    EXPECT_FALSE(form3->programEnding());
    EXPECT_EQ(form3->RzSpinner2->value(), 77);
    EXPECT_EQ(form->focusWidget(), form->Button1);
}

// The dialog as an operator finds it after a start with a typical installation's settings.
// VELQUO_DIALOG_PNG=<file> also writes the picture (docs/settings-dialog.png comes from here).
TEST_F(SettingsDialog, FilledDialogShowsTheStartValues) {
    installFiles(
        settingsWith({"biaoti=2026新春联欢晚会有奖竞猜", "biaoti_fontsize=36", "biaoti_color=65535",
                      "shijian=30", "shijian_fontsize=72", "shijian_color=255", "shijian_sound=1",
                      "wenti_fontsize=28", "wenti_color=16777215", "wenti_width=900",
                      "daan_fontsize=24", "daan_color=65280", "daan_width=880", "huanying=1"}));
    start();
    form5->hide();
    form3->show();
    const QImage img = form3->grab().toImage();
    form3->hide();
    if (qEnvironmentVariableIsSet("VELQUO_DIALOG_PNG"))
        img.save(qEnvironmentVariable("VELQUO_DIALOG_PNG"));

    struct Swatch {
        TRzColorEdit* edit;
        QColor colour;
        const char* name;
    };
    for (const Swatch& s : {Swatch{form3->RzColorEdit1, QColor(255, 255, 0), "RzColorEdit1"},
                            Swatch{form3->RzColorEdit2, QColor(255, 0, 0), "RzColorEdit2"},
                            Swatch{form3->RzColorEdit3, QColor(255, 255, 255), "RzColorEdit3"},
                            Swatch{form3->RzColorEdit4, QColor(0, 255, 0), "RzColorEdit4"}}) {
        const QPoint centre = s.edit->mapTo(form3.get(), s.edit->clientRect().center());
        EXPECT_EQ(img.pixelColor(centre).rgb(), s.colour.rgb()) << s.name;
    }
    EXPECT_EQ(form3->Edit1->text(), "2026新春联欢晚会有奖竞猜");
    EXPECT_EQ(form3->RzSpinner1->displayText(), "36");
    EXPECT_EQ(form3->RzSpinner2->displayText(), "30");
    EXPECT_EQ(form3->RzSpinner6->displayText(), "900");
    EXPECT_TRUE(form3->CheckBox1->isChecked());
    EXPECT_TRUE(form3->CheckBox3->isChecked());
    EXPECT_FALSE(form3->CheckBox4->isChecked());
}

} // namespace
} // namespace vq::test
