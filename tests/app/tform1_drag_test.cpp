// Dragging the four text items of the main screen. The mouse goes in through the main screen's
// window, so Qt's own routing (the widget under the pointer, its implicit grab, mouse tracking)
// is part of what is tested, as it would be with a real pointer.
#include "presenter_fixture.h"

#include "app/tcustomlabel.h"
#include "app/timage.h"
#include "app/trzlabel.h"

#include <QFile>
#include <QMenu>

namespace vq::test {
namespace {

class Drag : public Presenter {
protected:
    // Installation with the position preview on, so that all four labels show a text.
    void startPreview(const QStringList& changes = {}) {
        QStringList all{"weizhishezhi=1"};
        all << changes;
        installFiles(settingsWith(all));
        start();
        ASSERT_TRUE(msgs.errors().isEmpty()) << msgs.errors().join(u'\n').toStdString();
        ASSERT_TRUE(form->windowHandle());
        msgs.clear();
    }
    void TearDown() override {
        if (form && form->PopupMenu1->isVisible())
            form->PopupMenu1->close();
    }
};

TEST_F(Drag, TitleFollowsThePointerAndLandsInTheFile) {
    startPreview();
    ASSERT_EQ(form->Label2->pos(), QPoint(48, 72));
    const QPoint grab = at(form->Label2, {10, 10});
    press(window(), grab);
    moveTo(window(), grab + QPoint(25, 3));
    EXPECT_EQ(form->Label2->pos(), QPoint(73, 75));
    moveTo(window(), grab + QPoint(40, 10));
    release(window(), grab + QPoint(40, 10));
    EXPECT_EQ(form->Label2->pos(), QPoint(88, 82));
    EXPECT_EQ(setting("biaoti_left"), QStringLiteral("88"));
    EXPECT_EQ(setting("biaoti_top"), QStringLiteral("82"));
    // Released: moves over it now only write.
    moveTo(window(), grab + QPoint(45, 12));
    EXPECT_EQ(form->Label2->pos(), QPoint(88, 82));
    EXPECT_TRUE(msgs.shown.isEmpty());
}

TEST_F(Drag, HoverWritesThePlaceWithoutMoving) {
    startPreview();
    setSetting("shijian_left", "1");
    setSetting("shijian_top", "2");
    const QPoint pos = form->Label1->pos();
    moveTo(window(), at(form->Label1, {3, 4}));
    moveTo(window(), at(form->Label1, {9, 7}));
    EXPECT_EQ(form->Label1->pos(), pos);
    EXPECT_EQ(setting("shijian_left"), QString::number(pos.x()));
    EXPECT_EQ(setting("shijian_top"), QString::number(pos.y()));
    EXPECT_EQ(setting("biaoti_left"), QStringLiteral("48")) << "only the hovered label writes";
}

TEST_F(Drag, QuestionHoverReplacesTheAnswerPlaceStoredByDraggingTheAnswer) {
    startPreview();
    ASSERT_TRUE(form->RzLabel2->isVisible());
    // Dragging the answer stores its left edge only.
    const QPoint grab = at(form->RzLabel2, {2, 2});
    press(window(), grab);
    moveTo(window(), grab + QPoint(10, 20));
    release(window(), grab + QPoint(10, 20));
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(274, 300));
    EXPECT_EQ(setting("daan_left"), QStringLiteral("274"));
    EXPECT_EQ(setting("daan_top"), QStringLiteral("280"));

    moveTo(window(), at(form->RzLabel1, {3, 3}));
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(256, 216));
    EXPECT_EQ(setting("wenti_left"), QStringLiteral("256"));
    EXPECT_EQ(setting("wenti_top"), QStringLiteral("216"));
    EXPECT_EQ(setting("daan_left"), QStringLiteral("256"));
    EXPECT_EQ(setting("daan_top"), QStringLiteral("246"));

    // The answer's dragged height lasts until the next step: it goes below the question.
    form->Image3Click();
    EXPECT_EQ(form->RzLabel2->pos(),
              QPoint(256, form->RzLabel1->y() + form->RzLabel1->height() + 30));
}

TEST_F(Drag, LeftPressCapturesAcrossTheOtherLabelsAndOutsideTheScreen) {
    startPreview();
    const QPoint countdown = form->Label1->pos();
    const QPoint question = form->RzLabel1->pos();
    const QPoint grab = at(form->Label2, {4, 4});
    press(window(), grab);
    // Over the countdown label, the question label, then far outside the main screen.
    const QPoint overCountdown = at(form->Label1, {5, 5});
    moveTo(window(), overCountdown);
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72) + overCountdown - grab);
    moveTo(window(), at(form->RzLabel1, {2, 2}));
    moveTo(window(), QPoint(-40, -30));
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72) + QPoint(-40, -30) - grab);
    release(window(), QPoint(-40, -30));
    EXPECT_EQ(form->Label1->pos(), countdown);
    EXPECT_EQ(form->RzLabel1->pos(), question);
    // The labels passed over wrote nothing.
    EXPECT_EQ(setting("shijian_left"), QStringLiteral("792"));
    EXPECT_EQ(setting("wenti_left"), QStringLiteral("256"));
    EXPECT_EQ(setting("daan_top"), QStringLiteral("280"));
    // Negative places are written as negative decimal text.
    EXPECT_EQ(setting("biaoti_left"), QString::number(48 - 40 - grab.x()));
    EXPECT_EQ(setting("biaoti_top"), QString::number(72 - 30 - grab.y()));
    EXPECT_LT(form->Label2->x(), 0);
    EXPECT_LT(form->Label2->y(), 0);
}

TEST_F(Drag, PressOnTheBackgroundCapturesTheLabelsOut) {
    startPreview();
    const QPoint empty(20, 400);
    press(window(), empty);
    moveTo(window(), at(form->Label2, {5, 5}));
    release(window(), at(form->Label2, {5, 5}));
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72));
    setSetting("biaoti_left", "7");
    // With the capture gone, the title takes the hover again.
    moveTo(window(), at(form->Label2, {6, 6}));
    EXPECT_EQ(setting("biaoti_left"), QStringLiteral("48"));
}

TEST_F(Drag, RightAndMiddlePressesCaptureNothing) {
    startPreview();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        SCOPED_TRACE(button == Qt::RightButton ? "right" : "middle");
        const QPoint title = form->Label2->pos();
        const QPoint grab = at(form->Label2, {4, 4});
        press(window(), grab, button);
        // Off every label and outside the screen: nothing reaches the title.
        setSetting("biaoti_left", "7");
        moveTo(window(), QPoint(20, 400));
        moveTo(window(), QPoint(-50, -50));
        EXPECT_EQ(form->Label2->pos(), title);
        EXPECT_EQ(setting("biaoti_left"), QStringLiteral("7"));
        release(window(), QPoint(-50, -50), button);
        // The release did not reach a label, so the shared flag is still on: the next label
        // the pointer moves over is dragged by the pointer's distance from the grab point.
        setSetting("shijian_left", "7");
        const QPoint countdown = form->Label1->pos();
        moveTo(window(), at(form->Label1, {9, 8}));
        EXPECT_EQ(form->Label1->pos(), countdown + QPoint(9 - 4, 8 - 4));
        EXPECT_EQ(setting("shijian_left"), QString::number(countdown.x() + 5));
        EXPECT_EQ(form->Label2->pos(), title);
        // A release delivered to a label ends it.
        click(window(), at(form->Label1, {1, 1}));
        const QPoint after = form->Label1->pos();
        moveTo(window(), at(form->Label1, {12, 10}));
        EXPECT_EQ(form->Label1->pos(), after);
        form->Label1->move(countdown);
    }
    EXPECT_TRUE(msgs.shown.isEmpty());
}

TEST_F(Drag, RightClickEndsTheDragAndOpensTheMenu) {
    startPreview();
    click(window(), at(form->Label2, {5, 5}), Qt::RightButton);
    EXPECT_TRUE(form->PopupMenu1->isVisible());
    form->PopupMenu1->close();
    moveTo(window(), at(form->Label2, {15, 9}));
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72));
}

TEST_F(Drag, HiddenLabelReceivesNothing) {
    // The answer lies over the question; hidden by the hot spot, it gives way to the question.
    startPreview({"daan_left=256", "daan_top=216"});
    ASSERT_EQ(form->RzLabel2->pos(), form->RzLabel1->pos());
    form->Image4Click();
    ASSERT_FALSE(form->RzLabel2->isVisible());
    const QPoint grab = at(form->RzLabel1, {3, 3});
    press(window(), grab);
    moveTo(window(), grab + QPoint(30, 40));
    release(window(), grab + QPoint(30, 40));
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(286, 256));
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(256, 216));
    EXPECT_EQ(setting("wenti_left"), QStringLiteral("286"));

    // Over nothing but the hidden answer: no key is written.
    form->RzLabel2->move(600, 500);
    setSetting("daan_left", "1");
    moveTo(window(), QPoint(603, 503));
    press(window(), QPoint(603, 503));
    moveTo(window(), QPoint(640, 520));
    release(window(), QPoint(640, 520));
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(600, 500));
    EXPECT_EQ(setting("daan_left"), QStringLiteral("1"));
}

TEST_F(Drag, OverlappingLabelsGoByStackingOrder) {
    // Countdown over the title, question over the countdown, answer over the question.
    startPreview({"shijian_left=60", "shijian_top=80", "wenti_left=62", "wenti_top=84",
                  "daan_left=64", "daan_top=86"});
    const QPoint p(66, 90);
    ASSERT_TRUE(form->Label2->geometry().contains(p));
    ASSERT_TRUE(form->Label1->geometry().contains(p));
    ASSERT_TRUE(form->RzLabel1->geometry().contains(p));
    ASSERT_TRUE(form->RzLabel2->geometry().contains(p));

    const auto dragAt = [&](QPoint from) {
        press(window(), from);
        moveTo(window(), from + QPoint(0, 300));
        release(window(), from + QPoint(0, 300));
    };
    dragAt(p);
    EXPECT_EQ(form->RzLabel2->pos(), QPoint(64, 386));
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(62, 84));
    dragAt(p);
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(62, 384));
    EXPECT_EQ(form->Label1->pos(), QPoint(60, 80));
    dragAt(p);
    EXPECT_EQ(form->Label1->pos(), QPoint(60, 380));
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72));
    dragAt(p);
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 372));
    EXPECT_EQ(setting("biaoti_top"), QStringLiteral("372"));
}

TEST_F(Drag, ReadOnlyFileIsReportedAtEachMoveAndTheLabelMovesAnyway) {
    startPreview();
    const QString path = inst.file("opt.ini");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString failure = QStringLiteral("Unable to write to %1.").arg(path);
    const QPoint grab = at(form->RzLabel1, {2, 2});
    moveTo(window(), grab);
    EXPECT_EQ(msgs.errors(), QStringList{failure}) << "the pointer arriving is a move";
    msgs.clear();
    press(window(), grab);
    EXPECT_TRUE(msgs.errors().isEmpty()) << "a press writes nothing";
    moveTo(window(), grab + QPoint(10, 0));
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(266, 216));
    EXPECT_EQ(msgs.errors(), QStringList{failure});
    moveTo(window(), grab + QPoint(20, 5));
    release(window(), grab + QPoint(20, 5));
    EXPECT_EQ(form->RzLabel1->pos(), QPoint(276, 221));
    EXPECT_EQ(msgs.errors(), (QStringList{failure, failure}));
    moveTo(window(), at(form->Label2, {3, 3}));
    EXPECT_EQ(msgs.errors().size(), 3) << "hovering fails the same way";
    EXPECT_EQ(setting("wenti_left"), QStringLiteral("256"));
}

TEST_F(Drag, NextStepClickIsAPressAndReleaseOnThePicture) {
    startPreview();
    const QPoint on = at(form->Image3, {20, 20});
    click(window(), on);
    EXPECT_EQ(counter(), 1);
    // Pressed on it, released on a label: no step, and the label is not dragged.
    press(window(), on);
    moveTo(window(), at(form->Label2, {5, 5}));
    release(window(), at(form->Label2, {5, 5}));
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(form->Label2->pos(), QPoint(48, 72));
    // A right click there opens the menu and steps nothing.
    click(window(), on, Qt::RightButton);
    EXPECT_EQ(counter(), 1);
    EXPECT_TRUE(form->PopupMenu1->isVisible());
}

} // namespace
} // namespace vq::test
