#include "controls/rzcoloredit.h"
#include "controls/rzspinner.h"
#include "platform/ansi.h"
#include "platform/exception.h"
#include "settings/settings.h"
#include "settings/tform3.h"
#include "support/input.h"
#include "support/recording.h"
#include "support/skips.h"
#include "support/temp_install.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using vq::test::keyPress;
using vq::test::RecordingMessages;
using vq::test::TempInstall;

const QStringList kSavedKeys = {
    "biaoti_color",     "shijian_color",  "wenti_color",   "daan_color",    "biaoti_fontsize",
    "shijian_fontsize", "wenti_fontsize", "daan_fontsize", "shijian",       "biaoti",
    "wenti_width",      "daan_width",     "huanying",      "shijian_sound", "weizhishezhi"};

TEST(TForm3Save, WritesTheKeysInTheirOrderIntoAFileWithoutThem) {
    TempInstall install;
    install.writeSettings({"wenti_left=1"});
    RecordingMessages boxes;
    TForm3 f;
    f.Button1Click();
    // New keys go to the end of the section, so the file shows the order of the writes.
    const QString text = QString::fromUtf8(install.readFile("opt.ini"));
    qsizetype at = text.indexOf("wenti_left=1");
    ASSERT_GE(at, 0);
    for (const QString& key : kSavedKeys) {
        const qsizetype next = text.indexOf(u'\n' + key + u'=');
        EXPECT_GT(next, at) << key.toStdString();
        at = next;
    }
}

TEST(TForm3Save, TickedBoxesWriteOneAndUntickedZero) {
    TempInstall install;
    install.writeSettings(TempInstall::defaultSettings());
    RecordingMessages boxes;
    TForm3 f;
    EXPECT_FALSE(f.CheckBox4->isChecked());
    f.CheckBox4->setChecked(true);
    f.CheckBox3->setChecked(true);
    f.CheckBox1->setChecked(false);
    f.Button1Click();
    const vq::Settings s;
    EXPECT_EQ(s.text(vq::Key::weizhishezhi), "1");
    EXPECT_EQ(s.text(vq::Key::huanying), "1");
    EXPECT_EQ(s.text(vq::Key::shijian_sound), "0");
}

TEST(TForm3Save, EmptyNameSavesEmptyTitleAndLongNameUncut) {
    TempInstall install;
    install.writeSettings(TempInstall::defaultSettings());
    RecordingMessages boxes;
    TForm3 f;
    f.Edit1->setText("答题活动标题");
    f.Edit1->clear();
    f.Button1Click();
    EXPECT_EQ(vq::Settings().text(vq::Key::biaoti), "");
    EXPECT_EQ(vq::Settings().text(vq::Key::biaoti),
              QString()); // present and empty, not the key's name

    const QString longName(40000, u'题');
    f.Edit1->setText(longName);
    EXPECT_EQ(f.Edit1->text().size(), longName.size());
}

// The name is one line: a line break pasted or dropped into it shows as a blank, and is one, so
// that the title saved is the one the operator saw and no break reaches the settings file.
TEST(TForm3Title, PastedLineBreaksBecomeBlanksAndTheNameSavesAsShown) {
    TempInstall install;
    install.writeSettings(TempInstall::defaultSettings());
    RecordingMessages boxes;
    TForm3 f;
    f.show();
    f.activateWindow();
    f.Edit1->setFocus();
    const struct {
        const char* pasted;
        const char* shown;
    } cases[] = {
        {"a\nb", "a b"},
        {"a\r\nb", "a b"},
        {"a\rb", "a b"},
        {"a\n\nb\r\n", "a  b "},
        {"标题\nshijian=abc", "标题 shijian=abc"},
    };
    for (const auto& c : cases) {
        f.Edit1->clear();
        QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        keyPress(f.Edit1, Qt::Key_V, Qt::ControlModifier); // the platform's paste keys
        EXPECT_EQ(f.Edit1->text(), QString::fromUtf8(c.shown)) << c.pasted;
        EXPECT_EQ(f.Edit1->displayText(), f.Edit1->text()) << c.pasted;
        // The caret stands after the pasted text, where typing goes on.
        EXPECT_EQ(f.Edit1->cursorPosition(), f.Edit1->text().size()) << c.pasted;
    }
    // Into the middle of a typed name, as a drop or an input method inserts it.
    f.Edit1->setText(QStringLiteral("新年晚会"));
    f.Edit1->setCursorPosition(2);
    f.Edit1->insert(QStringLiteral("\r\n"));
    EXPECT_EQ(f.Edit1->text(), QStringLiteral("新年 晚会"));
    EXPECT_EQ(f.Edit1->cursorPosition(), 3);

    f.Edit1->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("标题\r\nshijian=abc"));
    keyPress(f.Edit1, Qt::Key_V, Qt::ControlModifier);
    f.Button1Click();
    ASSERT_EQ(boxes.messagesShown(), QStringList{"保存成功，程序关闭后请重新打开！"});
    const QByteArray file = install.readFile("opt.ini");
    EXPECT_TRUE(
        file.contains("\r\nbiaoti=" + vq::toAnsi(QStringLiteral("标题 shijian=abc")) + "\r\n"));
    EXPECT_FALSE(file.contains("\nshijian=abc"));
    // What the next start reads.
    const vq::Settings s;
    EXPECT_EQ(s.text(vq::Key::biaoti), f.Edit1->text());
    EXPECT_EQ(s.integer(vq::Key::shijian), f.RzSpinner2->value());
}

TEST(TForm3Save, AfterARefusedSaveTheOperatorCanSaveAgain) {
    TempInstall install;
    install.writeSettings(TempInstall::defaultSettings());
    const QByteArray before = install.readFile("opt.ini");
    const QByteArray path = QFile::encodeName(install.file("opt.ini"));
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    RecordingMessages boxes;
    TForm3 f;
    f.RzSpinner2->setValue(77);
    f.show();
    f.Button1Click();
    EXPECT_EQ(boxes.messagesShown(), QStringList{"对不起，保存失败！"});
    EXPECT_EQ(install.readFile("opt.ini"), before);
    EXPECT_TRUE(f.isVisible());

    ASSERT_EQ(::chmod(path.constData(), 0644), 0);
    boxes.clear();
    f.Button1Click();
    EXPECT_EQ(boxes.messagesShown(), QStringList{"保存成功，程序关闭后请重新打开！"});
    EXPECT_EQ(vq::Settings().text(vq::Key::shijian), "77");
    EXPECT_TRUE(f.programEnding());
}

TEST(TForm3Save, FailedSuccessBoxCountsAsFailedSave) {
    TempInstall install;
    install.writeSettings(TempInstall::defaultSettings());
    RecordingMessages boxes;
    boxes.onShow = [](const RecordingMessages::Shown& s) {
        if (s.text.startsWith(u"保存成功"))
            throw vq::Exception("box failed");
    };
    TForm3 f;
    f.RzSpinner2->setValue(42);
    f.CheckBox4->setChecked(true);
    f.show();
    f.Button1Click();
    EXPECT_EQ(boxes.messagesShown().last(), "对不起，保存失败！");
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.programEnding());
    // The keys written before the failure keep their new values.
    EXPECT_EQ(vq::Settings().text(vq::Key::shijian), "42");
    EXPECT_EQ(vq::Settings().text(vq::Key::weizhishezhi), "1");
}

TEST(TForm3Keys, EscapeAndEnterOutsideAButtonLeaveTheDialogOpen) {
    TempInstall install;
    install.writeSettings(TempInstall::defaultSettings());
    const QByteArray before = install.readFile("opt.ini");
    RecordingMessages boxes;
    TForm3 f;
    f.show();
    f.activateWindow();
    f.Edit1->setFocus();
    keyPress(f.Edit1, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    keyPress(f.Edit1, Qt::Key_Return);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(install.readFile("opt.ini"), before);
    EXPECT_FALSE(f.Button1->isDefault());
    EXPECT_FALSE(f.Button1->autoDefault());
    EXPECT_FALSE(f.Button2->autoDefault());

    // Enter on the focused 取消 button presses it.
    f.Button2->setFocus();
    keyPress(f.Button2, Qt::Key_Return);
    EXPECT_FALSE(f.isVisible());
}

TEST(TForm3Layout, FormBoxesAndControlsStandWhereDesigned) {
    TForm3 f;
    f.show();
    EXPECT_EQ(f.size(), QSize(691, 531));
    EXPECT_EQ(f.minimumSize(), QSize(691, 531));
    EXPECT_EQ(f.maximumSize(), QSize(691, 531));
    EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
    const QRect screen = f.screen()->geometry();
    EXPECT_LE(std::abs(f.geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(f.geometry().center().y() - screen.center().y()), 1);
    f.move(0, 0);
    f.hide();
    f.show();
    EXPECT_LE(std::abs(f.geometry().center().x() - screen.center().x()), 1); // at every showing

    struct Box {
        QGroupBox* box;
        int top, height;
        const char* caption;
    };
    for (const Box& b : {Box{f.GroupBox1, 0, 89, "活动标题"}, Box{f.GroupBox2, 89, 89, "倒计时"},
                         Box{f.GroupBox3, 178, 89, "问题"}, Box{f.GroupBox4, 267, 89, "答案"}}) {
        EXPECT_EQ(b.box->geometry(), QRect(0, b.top, 691, b.height)) << b.caption;
        EXPECT_EQ(b.box->title(), QString::fromUtf8(b.caption));
    }
    EXPECT_EQ(f.GroupBox5->geometry(), QRect(0, 356, 691, 45));
    EXPECT_TRUE(f.GroupBox5->title().startsWith(u"是否显示欢迎画面("));
    EXPECT_EQ(f.GroupBox6->geometry(), QRect(0, 401, 691, 80));
    EXPECT_TRUE(f.GroupBox6->title().endsWith(u"即可更改并自动保存位置。"));
    EXPECT_EQ(f.Panel1->geometry(), QRect(0, 481, 691, 50));

    struct At {
        QWidget* w;
        QWidget* box;
        QRect rect;
    };
    const At controls[] = {
        {f.Edit1, f.GroupBox1, {120, 24, 529, 21}},
        {f.RzSpinner1, f.GroupBox1, {120, 52, 85, 21}},
        {f.RzColorEdit1, f.GroupBox1, {360, 52, 289, 21}},
        {f.RzSpinner2, f.GroupBox2, {120, 28, 85, 21}},
        {f.CheckBox1, f.GroupBox2, {424, 30, 129, 17}},
        {f.RzSpinner3, f.GroupBox2, {120, 60, 85, 21}},
        {f.RzColorEdit2, f.GroupBox2, {360, 60, 289, 21}},
        {f.RzSpinner4, f.GroupBox3, {120, 25, 85, 21}},
        {f.RzColorEdit3, f.GroupBox3, {360, 25, 289, 21}},
        {f.RzSpinner6, f.GroupBox3, {120, 58, 85, 21}},
        {f.RzSpinner5, f.GroupBox4, {120, 25, 85, 21}},
        {f.RzColorEdit4, f.GroupBox4, {360, 25, 289, 21}},
        {f.RzSpinner7, f.GroupBox4, {120, 59, 85, 21}},
        {f.CheckBox3, f.GroupBox5, {23, 21, 57, 17}},
        {f.Label14, f.GroupBox5, {231, 21, 337, 13}},
        {f.CheckBox4, f.GroupBox6, {24, 31, 201, 17}},
        {f.RzLabel1, f.GroupBox6, {232, 24, 449, 44}},
        {f.Button1, f.Panel1, {224, 16, 75, 25}},
        {f.Button2, f.Panel1, {368, 16, 75, 25}},
    };
    for (const At& c : controls) {
        EXPECT_EQ(c.w->parentWidget(), c.box) << c.w->metaObject()->className();
        EXPECT_EQ(c.w->geometry(), c.rect) << c.w->metaObject()->className();
        EXPECT_TRUE(c.w->isVisible());
    }
    struct Caption {
        QLabel* label;
        QWidget* box;
        QPoint at;
        const char* text;
        int width;
    };
    for (const Caption& c : {Caption{f.Label1, f.GroupBox1, {24, 32}, "名         称：", 73},
                             Caption{f.Label2, f.GroupBox1, {24, 56}, "文字大小：", 0},
                             Caption{f.Label3, f.GroupBox1, {264, 56}, "文字颜色：", 0},
                             Caption{f.Label4, f.GroupBox2, {24, 32}, "倒计时时长：", 0},
                             Caption{f.Label5, f.GroupBox2, {24, 64}, "文字大小：", 0},
                             Caption{f.Label6, f.GroupBox2, {264, 64}, "文字颜色：", 0},
                             Caption{f.Label7, f.GroupBox3, {24, 29}, "文字大小：", 0},
                             Caption{f.Label8, f.GroupBox3, {264, 29}, "文字颜色：", 0},
                             Caption{f.Label9, f.GroupBox3, {24, 61}, "显示宽度：", 73},
                             Caption{f.Label10, f.GroupBox4, {24, 29}, "文字大小：", 0},
                             Caption{f.Label11, f.GroupBox4, {264, 29}, "文字颜色：", 0},
                             Caption{f.Label12, f.GroupBox4, {24, 62}, "显示宽度：", 73}}) {
        EXPECT_EQ(c.label->parentWidget(), c.box) << c.text;
        EXPECT_EQ(c.label->pos(), c.at) << c.text;
        EXPECT_EQ(c.label->text(), QString::fromUtf8(c.text));
        if (c.width) {
            EXPECT_EQ(c.label->width(), c.width) << c.text;
        }
        // A caption ends before its control starts.
        EXPECT_LE(c.label->geometry().right(), c.at.x() < 200 ? 119 : 359) << c.text;
    }
    EXPECT_EQ(f.Label1->text().count(u' '), 9);
    EXPECT_EQ(f.Label14->text(), "请根据自己的情况同名替换欢迎图片文件   welcome.jpg");
    EXPECT_TRUE(f.RzLabel1->text().startsWith("      标题、"));
    EXPECT_TRUE(f.RzLabel1->wordWrap());
    EXPECT_FALSE(f.CheckBox2->isVisible());
    EXPECT_EQ(f.CheckBox2->parentWidget(), f.GroupBox2);
    EXPECT_EQ(f.Button1->text(), "保存");
    EXPECT_EQ(f.Button2->text(), "取消");
}

TEST(TForm3Layout, DesignerValuesAndTabOrder) {
    TForm3 f;
    EXPECT_EQ(f.RzSpinner1->max(), 500);
    EXPECT_EQ(f.RzSpinner1->value(), 4);
    EXPECT_EQ(f.RzSpinner2->max(), 10000);
    for (TRzSpinner* s : {f.RzSpinner3, f.RzSpinner4, f.RzSpinner5})
        EXPECT_EQ(s->max(), 500);
    for (TRzSpinner* s : {f.RzSpinner6, f.RzSpinner7}) {
        EXPECT_EQ(s->max(), 2000);
        EXPECT_EQ(s->increment(), 10);
        EXPECT_EQ(s->value(), 0);
    }
    EXPECT_EQ(f.RzColorEdit1->selectedColor(), clBlack);
    EXPECT_EQ(f.RzColorEdit1->focusColor(), clMenuHighlight);
    EXPECT_EQ(f.RzColorEdit1->frameColor(), clActiveCaption);
    EXPECT_EQ(f.RzColorEdit2->selectedColor(), clNone);
    EXPECT_TRUE(f.Edit1->text().isEmpty());

    const QList<QWidget*> expected = {
        f.Edit1,        f.RzColorEdit1, f.RzSpinner1,   f.CheckBox1,  f.RzSpinner2, f.RzSpinner3,
        f.RzColorEdit2, f.RzSpinner4,   f.RzColorEdit3, f.RzSpinner6, f.RzSpinner5, f.RzColorEdit4,
        f.RzSpinner7,   f.Button1,      f.Button2,      f.CheckBox3,  f.CheckBox4};
    QList<QWidget*> chain;
    QWidget* w = f.Edit1;
    do {
        if (expected.contains(w))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != f.Edit1 && chain.size() < 100);
    EXPECT_EQ(chain, expected);
}

TEST(TForm3Look, RenderedDialogHasButtonFaceBackgroundAndRedNotes) {
    TForm3 f;
    f.show();
    const QImage img = f.grab().toImage();
    ASSERT_EQ(img.size(), QSize(691, 531) * img.devicePixelRatio());
    const QColor face = ColorToQColor(clBtnFace);
    // Empty spots of the form: inside a box, below the controls, and on the panel.
    for (QPoint p : {QPoint(10, 520), QPoint(600, 505), QPoint(100, 500)})
        EXPECT_EQ(img.pixelColor(p).rgb(), face.rgb()) << p.x() << "," << p.y();

    auto countRed = [&](QWidget* w) {
        const QRect r(w->mapTo(&f, QPoint(0, 0)), w->size());
        const QColor back = img.pixelColor(r.topLeft() + QPoint(0, r.height() - 1));
        int red = 0;
        int other = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.rgb() == back.rgb())
                    continue;
                // Text pixels are red blended into the face colour: red stays at or above the
                // face's red, green and blue fall together.
                if (c.red() >= c.green() + 40 && std::abs(c.green() - c.blue()) < 40)
                    ++red;
                else if (c.red() < c.green() + 10)
                    ++other;
            }
        return std::pair{red, other};
    };
    for (QWidget* note : {static_cast<QWidget*>(f.Label14), static_cast<QWidget*>(f.RzLabel1)}) {
        const auto [red, other] = countRed(note);
        EXPECT_GT(red, 50);
        EXPECT_GT(red, 2 * other) << red << " red, " << other << " other";
    }
    // A caption label is drawn in the window-text colour, not red.
    const auto [red, other] = countRed(f.Label2);
    EXPECT_EQ(red, 0);
    EXPECT_GT(other, 20);
}

TEST(TForm3Look, SpinnersAndColourEditsDrawClassicUnderTheThemedDefault) {
    ASSERT_EQ(vq::defaultLook(), TRzLook::Themed);
    TForm3 f;
    f.show();
    const QImage img = f.grab().toImage();
    const QColor shadow = ColorToQColor(clBtnShadow);
    for (TRzSpinner* s : {f.RzSpinner1, f.RzSpinner2, f.RzSpinner3, f.RzSpinner4, f.RzSpinner5,
                          f.RzSpinner6, f.RzSpinner7}) {
        EXPECT_FALSE(s->usesThemedLook());
        // Outline and the two button separators of the classic frame, at half height.
        const QPoint o = s->mapTo(&f, QPoint(0, 10));
        for (int x : {0, 17, 67, 84})
            EXPECT_EQ(img.pixelColor(o + QPoint(x, 0)).rgb(), shadow.rgb()) << x;
    }
    for (TRzColorEdit* c : {f.RzColorEdit1, f.RzColorEdit2, f.RzColorEdit3, f.RzColorEdit4}) {
        EXPECT_EQ(c->look(), TRzLook::Classic);
        // The two-ring sunken edge.
        const QPoint o = c->mapTo(&f, QPoint(0, 0));
        EXPECT_EQ(img.pixelColor(o + QPoint(100, 0)).rgb(), shadow.rgb());
        EXPECT_EQ(img.pixelColor(o + QPoint(100, 1)).rgb(), ColorToQColor(cl3DDkShadow).rgb());
        EXPECT_EQ(img.pixelColor(o + QPoint(100, 20)).rgb(), ColorToQColor(clBtnHighlight).rgb());
    }
    // The group boxes' etched frame starts half a line down; the caption breaks it.
    const int line = QFontMetrics(f.GroupBox1->font()).height() / 2 - 1;
    EXPECT_EQ(img.pixelColor(300, line).rgb(), shadow.rgb());
    EXPECT_EQ(img.pixelColor(300, line + 1).rgb(), ColorToQColor(clBtnHighlight).rgb());
    EXPECT_NE(img.pixelColor(300, 12).rgb(), shadow.rgb()) << "no second frame below a caption";
    // Panel1 raised: light top edge, dark bottom edge.
    EXPECT_EQ(img.pixelColor(300, 481).rgb(), ColorToQColor(clBtnHighlight).rgb());
    EXPECT_EQ(img.pixelColor(300, 530).rgb(), shadow.rgb());
}

// The dialog font stands in for the designed 8-point font: a 13-pixel line and letters about
// 6 pixels wide on average, so that every text fits the place the form gives it.
TEST(TForm3Font, DesignedMetricsAndEveryTextFitsItsPlace) {
    SKIP_WITHOUT_FONTS();
    TForm3 f;
    f.show();
    const QFontMetricsF fm(f.font());
    QString letters;
    for (char c = 'a'; c <= 'z'; ++c)
        letters += QChar(c);
    for (char c = 'A'; c <= 'Z'; ++c)
        letters += QChar(c);
    const double average = fm.horizontalAdvance(letters) / double(letters.size());
    EXPECT_GE(average, 5.5);
    EXPECT_LE(average, 6.5);
    EXPECT_LE(QFontMetrics(f.font()).lineSpacing(), 13);

    for (QLabel* caption : {f.Label1, f.Label2, f.Label3, f.Label4, f.Label5, f.Label6, f.Label7,
                            f.Label8, f.Label9, f.Label10, f.Label11, f.Label12}) {
        const int end = caption->x() + caption->sizeHint().width();
        EXPECT_LE(end, caption->x() < 200 ? 120 : 360) << caption->text().toStdString();
    }
    EXPECT_LE(f.Label1->sizeHint().width(), 73);
    EXPECT_LE(f.Label9->sizeHint().width(), 73);
    EXPECT_LE(f.Label14->sizeHint().width(), 337);
    EXPECT_LE(f.RzLabel1->heightForWidth(449), 44) << "the note needs more than its 44 pixels";
    for (QCheckBox* box : {f.CheckBox1, f.CheckBox3, f.CheckBox4})
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
    for (QGroupBox* box : {f.GroupBox5, f.GroupBox6})
        EXPECT_LE(8 + QFontMetrics(box->font()).horizontalAdvance(box->title()), box->width());
}

} // namespace
