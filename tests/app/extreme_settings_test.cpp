// Settings anywhere in the 32-bit range: the screen is laid out, drawn, stepped and dragged
// without overflowing anywhere (the sanitizer build stops at the first overflow), and the file
// keeps what it holds.
#include "presenter_fixture.h"

#include "app/tcustomlabel.h"
#include "app/timage.h"
#include "app/trzlabel.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <climits>

namespace vq::test {
namespace {

class ExtremeSettings : public Presenter {
protected:
    // Paints the whole main screen, as the desktop would show it.
    void draw() {
        const QPixmap shot = form->grab();
        EXPECT_FALSE(shot.isNull());
    }
};

TEST_F(ExtremeSettings, EveryIntegerKeyAtEitherLimit) {
    for (const qint64 value : {qint64(INT_MAX), qint64(INT_MIN)}) {
        const QString text = QString::number(value);
        SCOPED_TRACE(text.toStdString());
        // The position preview shows all four labels with a text.
        QStringList changes{"weizhishezhi=1", "huanying=0", "shijian_sound=1"};
        for (const SettingKey& key : kSettingKeys)
            if (key.kind == SettingKind::Integer)
                changes << QStringLiteral("%1=%2").arg(QLatin1StringView(key.name), text);
        installFiles(settingsWith(changes));
        restart();
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        draw();

        // A whole question: draw, countdown with two ticks, answer; then the next draw.
        for (int i = 0; i < 4; ++i) {
            form->Image3Click();
            if (i == 1) {
                form->Timer1Timer();
                form->Timer1Timer();
            }
            draw();
        }
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        EXPECT_EQ(counter(), 4);
        EXPECT_FALSE(form->RzLabel1->text().isEmpty());
        EXPECT_TRUE(sounds.played.size() >= 2);

        // Set-up and the steps applied the values but wrote nothing back but the one-shot flag.
        for (const SettingKey& key : kSettingKeys) {
            if (key.kind == SettingKind::Integer) {
                EXPECT_EQ(setting(QLatin1StringView(key.name)), text) << key.name;
            }
        }
        EXPECT_EQ(setting("weizhishezhi"), "0");

        // A drag of the question label: it moves from where it could be placed, and the answer's
        // top (30 below the question's) is written without overflowing.
        form->RzLabel1MouseDown(Qt::LeftButton, {}, 5, 5);
        form->RzLabel1MouseMove(Qt::LeftButton, {}, 25, 15);
        form->RzLabel1MouseUp(Qt::LeftButton, {}, 25, 15);
        form->Label2MouseMove({}, {}, 0, 0);
        EXPECT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        const int top = form->RzLabel1->y();
        EXPECT_EQ(setting("wenti_top"), QString::number(top));
        EXPECT_EQ(setting("daan_top"), QString::number(qint64(top) + 30));
        EXPECT_EQ(setting("wenti_left"), QString::number(form->RzLabel1->x()));
        // No label's size wrapped around.
        for (const QWidget* w :
             {static_cast<QWidget*>(form->Label1), static_cast<QWidget*>(form->Label2),
              static_cast<QWidget*>(form->RzLabel1), static_cast<QWidget*>(form->RzLabel2)}) {
            EXPECT_GE(w->width(), 0);
            EXPECT_GE(w->height(), 0);
        }
        draw();
    }
}

} // namespace
} // namespace vq::test
