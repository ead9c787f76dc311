#include "controls/rzpopup_testing.h"
#include "support/input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

const QRect kScreen(0, 0, 1024, 768);

TEST(PopupPlacement, BelowAndRightAlignedWithTheControl) {
    const QRect control(100, 200, 289, 21);
    EXPECT_EQ(vq::popupPlacement(control, {158, 104}, kScreen, TRzPopupAlignment::Right),
              QPoint(100 + 289 - 158, 221));
    EXPECT_EQ(vq::popupPlacement(control, {158, 104}, kScreen, TRzPopupAlignment::Left),
              QPoint(100, 221));
    EXPECT_EQ(vq::popupPlacement(control, {159, 104}, kScreen, TRzPopupAlignment::Center),
              QPoint((100 + 389 - 159) / 2, 221));
    EXPECT_EQ(
        vq::popupPlacement(control, {158, 104}, kScreen, TRzPopupAlignment::Right, QPoint(5, -3)),
        QPoint(105, 197));
}

TEST(PopupPlacement, PushedInsideAtTheRightEdgeAndOpensUpwardsAtTheBottom) {
    // Left-aligned popup wider than the room to the right edge: pushed left.
    const QRect nearRight(950, 100, 60, 21);
    EXPECT_EQ(vq::popupPlacement(nearRight, {158, 104}, kScreen, TRzPopupAlignment::Left),
              QPoint(1024 - 158, 121));
    // Near the bottom: above the control.
    const QRect nearBottom(300, 700, 289, 21);
    EXPECT_EQ(vq::popupPlacement(nearBottom, {158, 104}, kScreen, TRzPopupAlignment::Right),
              QPoint(300 + 289 - 158, 700 - 104));
    // Just fits below: stays below.
    const QRect fits(300, 768 - 21 - 104, 289, 21);
    EXPECT_EQ(vq::popupPlacement(fits, {158, 104}, kScreen, TRzPopupAlignment::Right).y(),
              768 - 104);
    // Off the left edge of a second monitor's work area: clamped to it.
    const QRect area(1024, 0, 800, 600);
    EXPECT_EQ(
        vq::popupPlacement(QRect(1000, 50, 40, 21), {158, 104}, area, TRzPopupAlignment::Right),
        QPoint(1024, 71));
}

struct PopupFixture : ::testing::Test {
    QWidget form;
    QWidget* control = new QWidget(&form);
    TRzPopupPanel* panel = new TRzPopupPanel(&form);
    QWidget* content = new QWidget(panel);
    void SetUp() override {
        form.resize(400, 300);
        control->setGeometry(10, 10, 200, 21);
        content->resize(100, 50);
        panel->adjustToChildren();
        form.show();
    }
};

TEST_F(PopupFixture, EscapeDismissesAndCloseIsAChoice) {
    int popups = 0, closes = 0;
    QObject::connect(panel, &TRzPopupPanel::OnPopup, [&] { ++popups; });
    QObject::connect(panel, &TRzPopupPanel::OnClose, [&] { ++closes; });
    {
        vq::PopupShownHook hook([&](TRzPopupPanel&, TRzPopup& w) {
            EXPECT_EQ(content->parentWidget(), &w);
            EXPECT_EQ(w.size(), QSize(106, 56));
            vq::test::keyPress(&w, Qt::Key_Escape);
        });
        EXPECT_FALSE(panel->popup(control));
    }
    EXPECT_EQ(content->parentWidget(), panel);
    EXPECT_FALSE(panel->isPoppedUp());
    {
        vq::PopupShownHook hook([&](TRzPopupPanel& p, TRzPopup& w) {
            vq::test::keyPress(&w, Qt::Key_A, Qt::NoModifier, "a");
            EXPECT_TRUE(p.isPoppedUp()); // other keys do nothing
            p.close();
        });
        EXPECT_TRUE(panel->popup(control));
    }
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(closes, 2);
}

TEST_F(PopupFixture, PressOutsideDismissesPressInsideDoesNot) {
    vq::PopupShownHook hook([&](TRzPopupPanel& p, TRzPopup& w) {
        vq::test::press(&w, QPoint(1, 1));
        EXPECT_TRUE(p.isPoppedUp());
        QMouseEvent outside(QEvent::MouseButtonPress, QPointF(-20, 5),
                            w.mapToGlobal(QPointF(-20, 5)), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(&w, &outside);
        EXPECT_TRUE(outside.isAccepted()); // swallowed
    });
    EXPECT_FALSE(panel->popup(control));
}

TEST_F(PopupFixture, ApplicationDeactivationDismissesAndASecondOpenReturnsAtOnce) {
    TRzPopupPanel other(&form);
    bool secondResult = true;
    vq::PopupShownHook hook([&](TRzPopupPanel&, TRzPopup&) {
        vq::PopupShownHook inner([](TRzPopupPanel& p, TRzPopup&) { p.close(); });
        secondResult = other.popup(control);
        QEvent deactivate(QEvent::ApplicationDeactivate);
        QApplication::sendEvent(qApp, &deactivate);
    });
    EXPECT_FALSE(panel->popup(control));
    EXPECT_FALSE(secondResult);
    EXPECT_FALSE(TRzPopupPanel::isAnyPopupOpen());
}

} // namespace
