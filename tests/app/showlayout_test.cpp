// The automatic layout of the main screen: the rule alone on the screens a hall meets, and
// "自动排版" on the main screen, which applies it and stores it.
#include "app/showlayout.h"

#include "presenter_fixture.h"

#include "app/timage.h"
#include "controls/rzspinner.h"

#include <QFile>
#include <QMenu>
#include <QRect>

#include <gtest/gtest.h>

namespace vq::test {
namespace {

// Items in the demo's fonts at 96 dpi (36 pt title of 11 characters, 66 pt countdown, 32 and
// 34 pt question and answer), measured roughly as the CJK font draws them.
LayoutMetrics demoMetrics(QSize screen) {
    LayoutMetrics m;
    m.screen = screen;
    m.title = {560, 56};
    m.countdown = {110, 100};
    m.questionLine = 50;
    m.answerLine = 53;
    m.nextStep = {49, 49};
    return m;
}

struct Placed {
    QRect title, countdown, questionLine, answerLine, nextStep;
};

Placed placed(const LayoutMetrics& m, const ShowLayout& l) {
    return {QRect(l.title, m.title), QRect(l.countdown, m.countdown),
            QRect(l.question, QSize(l.questionWidth, m.questionLine)),
            QRect(l.answer, QSize(l.answerWidth, m.answerLine)),
            QRect(QPoint(m.screen.width() - m.nextStep.width() - 30,
                         m.screen.height() - m.nextStep.height() - 60),
                  m.nextStep)};
}

class LayoutOnScreen : public ::testing::TestWithParam<QSize> {};

TEST_P(LayoutOnScreen, EveryItemInsideTheScreenAndApart) {
    const LayoutMetrics m = demoMetrics(GetParam());
    const ShowLayout l = layOut(m);
    const Placed p = placed(m, l);
    const QRect screen(QPoint(0, 0), m.screen);
    for (const QRect& r : {p.title, p.countdown, p.questionLine, p.answerLine})
        EXPECT_TRUE(screen.contains(r))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_FALSE(p.title.intersects(p.countdown));
    // The question starts below the title and the countdown; its lines end before the
    // next-step picture, so a long question never runs under it.
    EXPECT_GT(p.questionLine.top(), std::max(p.title.bottom(), p.countdown.bottom()));
    EXPECT_LT(p.questionLine.right(), p.nextStep.left());
    // The answer where a step puts it below a one-line question, at the question's left edge.
    EXPECT_EQ(l.answer, QPoint(l.question.x(), l.question.y() + m.questionLine + 30));
    EXPECT_EQ(l.answerWidth, l.questionWidth);
    // Some room for a question of several lines and its answer above the next-step picture.
    EXPECT_GT(p.nextStep.top() - p.questionLine.top(), 4 * m.questionLine + 30 + m.answerLine);
}

TEST_P(LayoutOnScreen, WidthsGrowWithTheScreen) {
    const QSize size = GetParam();
    const ShowLayout small = layOut(demoMetrics(size));
    const ShowLayout large = layOut(demoMetrics(size + QSize(400, 0)));
    EXPECT_GT(large.questionWidth, small.questionWidth);
    EXPECT_GT(large.countdown.x(), small.countdown.x());
}

INSTANTIATE_TEST_SUITE_P(HallScreens, LayoutOnScreen,
                         ::testing::Values(QSize(1024, 768), QSize(1280, 800), QSize(1366, 768),
                                           QSize(1920, 1080), QSize(3840, 2160)));

TEST(Layout, CountdownUnderATitleTooWideForOneRow) {
    LayoutMetrics m = demoMetrics({1024, 768});
    m.title = {900, 56};
    const ShowLayout l = layOut(m);
    const Placed p = placed(m, l);
    EXPECT_FALSE(p.title.intersects(p.countdown));
    EXPECT_GT(p.countdown.top(), p.title.bottom());
    EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(p.countdown));
    EXPECT_GT(p.questionLine.top(), p.countdown.bottom());
}

TEST(Layout, ATitleWiderThanTheScreenStartsAtItsLeftEdge) {
    LayoutMetrics m = demoMetrics({1024, 768});
    m.title = {1500, 56};
    const ShowLayout l = layOut(m);
    EXPECT_EQ(l.title.x(), 0);
    EXPECT_GE(l.title.y(), 0);
    EXPECT_TRUE(QRect(0, 0, 1024, 768).contains(QRect(l.countdown, m.countdown)));
}

TEST(Layout, FontsTooLargeForTheScreenStillStartOnIt) {
    LayoutMetrics m = demoMetrics({320, 240});
    m.countdown = {400, 300};
    m.questionLine = 200;
    m.answerLine = 260;
    const ShowLayout l = layOut(m);
    for (const QPoint& p : {l.title, l.countdown, l.question, l.answer}) {
        EXPECT_GE(p.x(), 0);
        EXPECT_GE(p.y(), 0);
        EXPECT_LT(p.x(), 320);
        EXPECT_LT(p.y(), 240);
    }
    EXPECT_GE(l.questionWidth, 1);
    EXPECT_LE(l.question.x() + l.questionWidth, 320);
}

// ---- 自动排版 on the main screen ----

class AutoLayout : public Presenter {
protected:
    void startAt(QSize screen, const QStringList& changes) {
        QStringList all{"weizhishezhi=1", "biaoti_fontsize=36", "shijian_fontsize=66",
                        "shijian=15",     "wenti_fontsize=32",  "daan_fontsize=34"};
        all << changes;
        installFiles(settingsWith(all));
        start();
        ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        form->setGeometry(QRect(QPoint(0, 0), screen));
        ASSERT_EQ(form->size(), screen);
    }
    QRect rectOf(const QWidget* w) const { return w->geometry(); }
};

TEST_F(AutoLayout, BringsBackItemsOffTheScreenAndStoresThePlaces) {
    // The demo's old layout for 1920 pixels on a 4:3 projector, the title wholly off it.
    startAt({1024, 768}, {"biaoti_left=3000", "shijian_left=1050", "shijian_top=28",
                          "wenti_width=1040", "wenti_left=120", "daan_width=1040"});
    form->RzLabel1->setText(QStringLiteral("下列哪一项不是中国古代四大发明之一？请在三十秒内"
                                           "作答，答对得十分，答错不扣分。"));
    form->N4->trigger();
    EXPECT_TRUE(msgs.shown.isEmpty());
    const QRect screen = form->rect();
    for (const QWidget* w :
         {static_cast<const QWidget*>(form->Label2), static_cast<const QWidget*>(form->Label1),
          static_cast<const QWidget*>(form->RzLabel1), static_cast<const QWidget*>(form->RzLabel2)})
        EXPECT_TRUE(screen.contains(rectOf(w)))
            << w->x() << "," << w->y() << " " << w->width() << "x" << w->height();
    // Wrapped anew at the new width: two lines, clear of the next-step picture.
    EXPECT_GT(form->RzLabel1->height(), form->RzLabel1->oneLineHeight());
    EXPECT_LT(rectOf(form->RzLabel1).right(), form->Image3->x());
    EXPECT_EQ(form->RzLabel2->y(), form->RzLabel1->y() + form->RzLabel1->height() + 30);

    // Stored as dragging would store them, the widths in the file and in the dialog.
    EXPECT_EQ(setting("biaoti_left"), QString::number(form->Label2->x()));
    EXPECT_EQ(setting("biaoti_top"), QString::number(form->Label2->y()));
    EXPECT_EQ(setting("shijian_left"), QString::number(form->Label1->x()));
    EXPECT_EQ(setting("shijian_top"), QString::number(form->Label1->y()));
    EXPECT_EQ(setting("wenti_left"), QString::number(form->RzLabel1->x()));
    EXPECT_EQ(setting("wenti_top"), QString::number(form->RzLabel1->y()));
    // The label takes its widest line's width after wrapping at the stored width.
    EXPECT_GE(setting("wenti_width").toInt(), form->RzLabel1->width());
    EXPECT_LT(form->RzLabel1->x() + setting("wenti_width").toInt(), form->Image3->x());
    EXPECT_EQ(setting("daan_left"), QString::number(form->RzLabel2->x()));
    EXPECT_EQ(setting("daan_width"), setting("wenti_width"));
    EXPECT_EQ(setting("daan_top"),
              QString::number(form->RzLabel1->y() + form->RzLabel1->oneLineHeight() + 30));
    EXPECT_EQ(QString::number(form3->RzSpinner6->value()), setting("wenti_width"));
    EXPECT_EQ(QString::number(form3->RzSpinner7->value()), setting("daan_width"));

    // The next start places them there again.
    restart();
    form->setGeometry(0, 0, 1024, 768);
    EXPECT_TRUE(screen.contains(rectOf(form->Label2)));
    EXPECT_TRUE(screen.contains(rectOf(form->Label1)));
}

// A picture area the operator dragged off a smaller screen comes back beside or below the new
// question, clear of its text and of the next-step picture; one never placed stays unwritten.
TEST_F(AutoLayout, BringsAPlacedPictureAreaBackBesideTheQuestion) {
    startAt({1024, 768}, {"tupian_left=2400", "tupian_top=900", "tupian_width=700",
                          "tupian_height=500", "wenti_width=1040", "wenti_left=120"});
    form->N4->trigger();
    EXPECT_TRUE(msgs.shown.isEmpty());
    const QRect area(setting("tupian_left").toInt(), setting("tupian_top").toInt(),
                     setting("tupian_width").toInt(), setting("tupian_height").toInt());
    EXPECT_TRUE(form->rect().contains(area))
        << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();
    EXPECT_GT(area.width(), 100);
    EXPECT_GT(area.height(), 100);
    const QRect question(form->RzLabel1->x(), form->RzLabel1->y(), setting("wenti_width").toInt(),
                         3 * form->RzLabel1->oneLineHeight() + 30 +
                             form->RzLabel2->oneLineHeight());
    EXPECT_FALSE(area.intersects(question));
    EXPECT_FALSE(area.intersects(form->Image3->geometry()));
}

TEST_F(AutoLayout, WritesNoPictureAreaWhereNoneWasPlaced) {
    startAt({1024, 768}, {});
    form->N4->trigger();
    for (const char* key : {"tupian_left", "tupian_top", "tupian_width", "tupian_height"})
        EXPECT_EQ(setting(QString::fromLatin1(key)), QString::fromLatin1(key)) << "absent";
}

TEST_F(AutoLayout, UsesTheWholeOfALargeScreen) {
    startAt({1920, 1080}, {});
    form->N4->trigger();
    EXPECT_GT(form->Label1->x(), 1600) << "the countdown at the top right";
    EXPECT_GT(setting("wenti_width").toInt(), 1500);
    EXPECT_TRUE(form->rect().contains(rectOf(form->Label1)));
}

TEST_F(AutoLayout, AReadOnlySettingsFileIsReported) {
    startAt({1024, 768}, {"shijian_left=1050"});
    QFile::setPermissions(inst.file("opt.ini"), QFile::ReadOwner);
    form->N4->trigger();
    QFile::setPermissions(inst.file("opt.ini"), QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(msgs.errors().size(), 1);
    EXPECT_TRUE(msgs.errors().front().startsWith(QStringLiteral("Unable to write to")))
        << msgs.errors().front().toStdString();
}

TEST_F(AutoLayout, MenuEntryStandsBeforeTheSettings) {
    startAt({1024, 768}, {});
    const QList<QAction*> actions = form->PopupMenu1->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("自动排版"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("系统设置"));
}

} // namespace
} // namespace vq::test
