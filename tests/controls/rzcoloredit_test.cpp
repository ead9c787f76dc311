#include "controls/rzcoloredit.h"
#include "controls/rzcolorpicker.h"
#include "controls/rzpopup_testing.h"
#include "support/input.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using vq::test::keyPress;
using vq::test::press;
using vq::test::release;

QRgb rgbOf(TColor c) {
    return ColorToQColor(c).rgb();
}

struct ColorEditFixture : ::testing::Test {
    QWidget form;
    TRzColorEdit* edit = new TRzColorEdit(&form);
    int changes = 0, drops = 0, closeUps = 0;
    void SetUp() override {
        form.resize(400, 300);
        edit->move(20, 20);
        edit->setLook(TRzLook::Classic);
        QObject::connect(edit, &TRzColorEdit::OnChange, [&] { ++changes; });
        QObject::connect(edit, &TRzColorEdit::OnDropDown, [&] { ++drops; });
        QObject::connect(edit, &TRzColorEdit::OnCloseUp, [&] { ++closeUps; });
        form.show();
    }
    static TRzColorPicker* pickerOf(TRzPopup& w) { return w.findChild<TRzColorPicker*>(); }
    // Centre of standard cell k in the classic picker (4-pixel frame, 18-pixel cells).
    static QPoint cell(int k) { return {4 + 18 * (k % 8) + 9, 4 + 18 * (k / 8) + 9}; }
};

TEST_F(ColorEditFixture, DefaultsAsConstructed) {
    EXPECT_EQ(edit->selectedColor(), clNone);
    EXPECT_EQ(edit->focusColor(), clWindow);
    EXPECT_EQ(edit->disabledColor(), clBtnFace);
    EXPECT_EQ(edit->frameColor(), clBtnShadow);
    EXPECT_EQ(edit->defaultColor(), clHighlight);
    EXPECT_EQ(edit->customColor(), clWhite);
    EXPECT_EQ(edit->readOnlyColor(), clInfoBk);
    EXPECT_FALSE(edit->showNoColor());
    EXPECT_TRUE(edit->showColorHints());
    EXPECT_TRUE(edit->dropButtonVisible());
    EXPECT_FALSE(edit->readOnly());
    EXPECT_EQ(edit->size(), QSize(289, 21));
    EXPECT_EQ(edit->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ColorEditFixture, NoColourIsAHatchedBoxNeverAFill) {
    const QImage img = edit->grab().toImage();
    // Box outline at the client's inset of 2 (client starts inside the 2-pixel border).
    EXPECT_EQ(img.pixel(4, 4), rgbOf(clBtnFace));
    EXPECT_EQ(img.pixel(100, 16), rgbOf(clBtnFace));
    // Rising hatch: client-local (3,4) is on a line, (3,3) is background.
    EXPECT_EQ(img.pixel(5, 6), rgbOf(clBtnFace));
    EXPECT_EQ(img.pixel(5, 5), rgbOf(clWindow));
    EXPECT_EQ(img.pixel(6, 5), rgbOf(clBtnFace));
}

TEST_F(ColorEditFixture, SwatchWithItsEdgeAndClassicDropButton) {
    edit->setSelectedColor(clRed);
    const QImage img = edit->grab().toImage();
    EXPECT_EQ(img.pixel(3, 3), rgbOf(clWindow));    // 2-pixel body ring
    EXPECT_EQ(img.pixel(4, 4), rgbOf(clBtnShadow)); // one-pixel edge
    EXPECT_EQ(img.pixel(5, 5), rgbOf(clRed));
    EXPECT_EQ(img.pixel(266, 15), rgbOf(clRed));
    EXPECT_EQ(img.pixel(267, 16), rgbOf(clBtnShadow));
    EXPECT_EQ(img.pixel(0, 0), rgbOf(clBtnShadow)); // sunken border
    EXPECT_EQ(img.pixel(1, 1), rgbOf(cl3DDkShadow));
    EXPECT_EQ(img.pixel(288, 20), rgbOf(clBtnHighlight));
    // Drop button: the rightmost 17 pixels inside the border, raised, arrow centred.
    EXPECT_EQ(edit->buttonRect(), QRect(270, 2, 17, 17));
    EXPECT_EQ(img.pixel(270, 2), rgbOf(cl3DLight));
    EXPECT_EQ(img.pixel(286, 18), rgbOf(cl3DDkShadow));
    EXPECT_EQ(img.pixel(271, 3), rgbOf(clBtnHighlight));
    EXPECT_EQ(img.pixel(285, 17), rgbOf(clBtnShadow));
    EXPECT_EQ(img.pixel(275, 8), rgbOf(clBtnText));
    EXPECT_EQ(img.pixel(281, 8), rgbOf(clBtnText));
    EXPECT_EQ(img.pixel(278, 11), rgbOf(clBtnText));
    EXPECT_EQ(img.pixel(277, 11), rgbOf(clBtnFace));
    EXPECT_EQ(img.pixel(278, 12), rgbOf(clBtnFace));
}

TEST_F(ColorEditFixture, DroppedDownShowsFocusRectanglePushedButtonAndDarkHatch) {
    edit->setSelectedColor(clRed);
    QImage red, none;
    vq::PopupShownHook hook([&](TRzPopupPanel& p, TRzPopup&) {
        red = edit->grab().toImage();
        edit->setSelectedColor(clNone);
        none = edit->grab().toImage();
        p.dismiss();
    });
    edit->dropDown();
    ASSERT_FALSE(red.isNull());
    EXPECT_EQ(red.pixel(5, 5), qRgb(0, 255, 255)); // dotted: inverted red
    EXPECT_EQ(red.pixel(6, 5), rgbOf(clRed));
    EXPECT_EQ(red.pixel(7, 5), qRgb(0, 255, 255));
    EXPECT_EQ(red.pixel(6, 6), rgbOf(clRed));          // inside untouched
    EXPECT_EQ(red.pixel(270, 2), rgbOf(clBtnShadow));  // pushed flat button
    EXPECT_EQ(red.pixel(276, 9), rgbOf(clBtnText));    // arrow one pixel down and right
    EXPECT_EQ(none.pixel(101, 4), rgbOf(clBtnShadow)); // dark outline while dropped down
    EXPECT_FALSE(edit->isDroppedDown());
}

TEST_F(ColorEditFixture, BodyColourFollowsFocusDisabledAndReadOnly) {
    edit->setFocusColor(clMenuHighlight);
    EXPECT_EQ(edit->bodyColor(), clWindow);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &in);
    EXPECT_EQ(edit->bodyColor(), clMenuHighlight);
    edit->setSelectedColor(clBlack);
    const QImage img = edit->grab().toImage();
    EXPECT_EQ(img.pixel(3, 3), rgbOf(clMenuHighlight)); // the ring around the swatch
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    edit->setReadOnly(true);
    EXPECT_EQ(edit->bodyColor(), clInfoBk);
    edit->setEnabled(false);
    EXPECT_EQ(edit->bodyColor(), clBtnFace);
    // A new normal colour takes the focus colour along only when they were equal.
    TRzColorEdit other;
    other.setColor(clYellow);
    EXPECT_EQ(other.focusColor(), clYellow);
}

TEST_F(ColorEditFixture, ChoosingTheMarkedCellFiresChangeWithTheSameColour) {
    edit->setSelectedColor(clBlack);
    vq::PopupShownHook hook([&](TRzPopupPanel&, TRzPopup& w) {
        TRzColorPicker* picker = pickerOf(w);
        ASSERT_NE(picker, nullptr);
        press(picker, cell(0));
        release(picker, cell(0));
    });
    press(edit, QPoint(30, 10)); // on the swatch, not the button
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(closeUps, 1);
    EXPECT_EQ(edit->selectedColor(), clBlack);
}

TEST_F(ColorEditFixture, ChoosingAnotherCellTakesItsColour) {
    vq::PopupShownHook hook([&](TRzPopupPanel&, TRzPopup& w) {
        TRzColorPicker* picker = pickerOf(w);
        ASSERT_NE(picker, nullptr);
        press(picker, cell(16));
        release(picker, cell(16));
    });
    keyPress(edit, Qt::Key_F4);
    EXPECT_EQ(edit->selectedColor(), 0x000000FF);
    EXPECT_EQ(changes, 1);
}

TEST_F(ColorEditFixture, EscapeAndOutsidePressDismissWithoutChange) {
    edit->setSelectedColor(0x00123456); // not among the palette's colours
    vq::PopupShownHook hook([&](TRzPopupPanel&, TRzPopup& w) { keyPress(&w, Qt::Key_Escape); });
    keyPress(edit, Qt::Key_Down, Qt::AltModifier);
    {
        vq::PopupShownHook outside([&](TRzPopupPanel&, TRzPopup& w) {
            TRzColorPicker* picker = pickerOf(w);
            press(picker, cell(5)); // marks a cell, no release yet
            press(&w, QPoint(-50, -50));
        });
        press(edit, QPoint(280, 10));
    }
    EXPECT_EQ(drops, 2);
    EXPECT_EQ(closeUps, 2);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(edit->selectedColor(), 0x00123456);
}

TEST_F(ColorEditFixture, TypingAndRightPressDoNothing) {
    vq::PopupShownHook hook([&](TRzPopupPanel& p, TRzPopup&) { p.dismiss(); });
    edit->setSelectedColor(clBlue);
    keyPress(edit, Qt::Key_A, Qt::NoModifier, "a");
    keyPress(edit, Qt::Key_5, Qt::NoModifier, "5");
    keyPress(edit, Qt::Key_Down);
    keyPress(edit, Qt::Key_F4, Qt::ShiftModifier);
    keyPress(edit, Qt::Key_Space, Qt::NoModifier, " ");
    press(edit, QPoint(30, 10), Qt::RightButton);
    EXPECT_EQ(drops, 0);
    EXPECT_EQ(edit->selectedColor(), clBlue);
}

TEST_F(ColorEditFixture, FreshPickerForEveryOpeningAndReadOnlyNeverOpens) {
    QList<QPointer<TRzColorPicker>> seen;
    vq::PopupShownHook hook([&](TRzPopupPanel& p, TRzPopup& w) {
        seen.append(pickerOf(w));
        p.dismiss();
    });
    edit->dropDown();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].isNull()); // destroyed on closing
    edit->dropDown();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[1].isNull());
    edit->setReadOnly(true);
    edit->dropDown();
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(drops, 3); // the sequence still runs, without a palette
    EXPECT_EQ(closeUps, 3);
}

TEST_F(ColorEditFixture, SecondOpenWhileUpReturnsDismissed) {
    TRzColorEdit second(&form);
    int secondChanges = 0;
    QObject::connect(&second, &TRzColorEdit::OnChange, [&] { ++secondChanges; });
    vq::PopupShownHook hook([&](TRzPopupPanel& p, TRzPopup&) {
        second.dropDown();
        p.close();
    });
    edit->dropDown();
    EXPECT_EQ(secondChanges, 0);
    EXPECT_EQ(changes, 1);
}

// The look properties the dialog leaves at their defaults still draw what they say: the
// disabled and read-only colours, the frame and its hot look, the drop button flat or hidden.
TEST_F(ColorEditFixture, LookPropertiesShowOnTheControl) {
    edit->setSelectedColor(clBlack);
    const auto at = [&](QPoint p) { return edit->grab().toImage().pixel(p); };
    edit->setDisabledColor(clRed);
    edit->setEnabled(false);
    EXPECT_EQ(at({3, 3}), rgbOf(clRed));
    edit->setEnabled(true);

    edit->setReadOnlyColor(clLime);
    edit->setReadOnly(true);
    EXPECT_EQ(at({3, 3}), rgbOf(clLime));
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &in);
    EXPECT_EQ(at({3, 3}), rgbOf(clWindow)); // focused: the focus colour
    edit->setReadOnlyColorOnFocus(true);
    EXPECT_EQ(at({3, 3}), rgbOf(clLime));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    edit->setReadOnly(false);

    // The frame: off by default (the sunken edge shows), in its colour when on, hot when the
    // pointer is over the control and hot tracking is on.
    const QRgb edge = at({0, 0});
    edit->setFrameColor(clRed);
    edit->setFrameVisible(true);
    EXPECT_EQ(at({0, 0}), rgbOf(clRed));
    EXPECT_NE(at({1, 1}), rgbOf(clRed)); // flat: one line
    edit->setFrameHotTrack(true);
    edit->setFrameHotColor(clBlue);
    edit->setFrameHotStyle(TRzFrameStyle::FlatBold);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(edit->mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(edit, &enter);
    EXPECT_EQ(at({0, 0}), rgbOf(clBlue));
    EXPECT_EQ(at({1, 1}), rgbOf(clBlue)); // bold: two lines
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(edit, &leave);
    EXPECT_EQ(at({0, 0}), rgbOf(clRed));
    edit->setFrameVisible(false);
    EXPECT_EQ(at({0, 0}), edge);

    // The drop button: flat, it takes its colour while the pointer is over the control; hidden,
    // its place belongs to the swatch.
    const QRect button(edit->width() - 19, 2, 17, edit->height() - 4);
    const auto count = [&](TColor c) {
        const QImage img = edit->grab().toImage();
        int n = 0;
        for (int y = button.top(); y <= button.bottom(); ++y)
            for (int x = button.left(); x <= button.right(); ++x)
                n += img.pixel(x, y) == rgbOf(c);
        return n;
    };
    EXPECT_GT(count(clBtnFace), 20);
    edit->setFlatButtons(true);
    edit->setFlatButtonColor(clRed);
    EXPECT_EQ(count(clRed), 0); // not hot
    QApplication::sendEvent(edit, &enter);
    EXPECT_GT(count(clRed), 20);
    QApplication::sendEvent(edit, &leave);
    edit->setFlatButtons(false);
    edit->setDropButtonVisible(false);
    EXPECT_EQ(count(clBtnFace), 0);
    EXPECT_GT(count(clBlack), 20);
}

} // namespace

namespace {

// The mouse as the desktop delivers it: through the windows, so Qt's popup routing, focus on
// press and the popup's grab are part of what is tested.
struct ColorEditMouse : ColorEditFixture {
    QLineEdit* other = new QLineEdit(&form);
    void SetUp() override {
        ColorEditFixture::SetUp();
        other->move(20, 100);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        other->setFocus();
        ASSERT_TRUE(other->hasFocus());
    }
    QPoint onEdit(QPoint local) const { return edit->mapTo(&form, local); }
};

TEST_F(ColorEditMouse, PressDraggedOntoACellAndReleasedThereChoosesIt) {
    TColor seen = clNone;
    vq::PopupShownHook hook([&](TRzPopupPanel& panel, TRzPopup& w) {
        TRzColorPicker* picker = pickerOf(w);
        ASSERT_TRUE(picker);
        // Still holding the button that opened the palette: over two cells, released on the
        // second.
        const QPoint first = picker->mapTo(&w, cell(3));
        const QPoint second = picker->mapTo(&w, cell(21));
        QTest::mouseMove(w.windowHandle(), first);
        QTest::mouseMove(w.windowHandle(), second);
        seen = picker->selectedColor();
        QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, second);
        // Whatever the release did, the palette goes away in the end.
        QTimer::singleShot(0, &panel, [&panel] { panel.dismiss(); });
    });
    QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, onEdit({40, 10}));
    EXPECT_EQ(seen, TColor(0x00FF6633)) << "the drag did not select the cell under the pointer";
    EXPECT_EQ(edit->selectedColor(), TColor(0x00FF6633)) << "the release did not choose";
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(closeUps, 1);
    EXPECT_FALSE(edit->isDroppedDown());
}

TEST_F(ColorEditMouse, ClickOnTheEditKeepsThePaletteOpenForAChoice) {
    int popups = 0;
    vq::PopupShownHook hook([&](TRzPopupPanel& panel, TRzPopup& w) {
        ++popups;
        // The release of the opening press lands on the edit: the palette stays up.
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, onEdit({40, 10}));
        EXPECT_TRUE(w.isVisible());
        TRzColorPicker* picker = pickerOf(w);
        // Moving in without a button only highlights; a click on a cell then chooses it.
        QTest::mouseMove(w.windowHandle(), picker->mapTo(&w, cell(9)));
        EXPECT_EQ(picker->selectedColor(), clNone);
        QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, picker->mapTo(&w, cell(9)));
        QTimer::singleShot(0, &panel, [&panel] { panel.dismiss(); });
    });
    QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, onEdit({40, 10}));
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(edit->selectedColor(), TColor(0x000066FF)) << "Orange";
    EXPECT_EQ(changes, 1);
}

TEST_F(ColorEditMouse, RightAndMiddlePressesNeitherOpenNorFocus) {
    vq::PopupShownHook hook([&](TRzPopupPanel& p, TRzPopup&) { p.dismiss(); });
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(form.windowHandle(), button, {}, onEdit({40, 10}));
        QTest::mouseClick(form.windowHandle(), button, {}, onEdit({280, 10})); // the button
    }
    EXPECT_EQ(drops, 0);
    EXPECT_TRUE(other->hasFocus()) << "a right or middle press took the focus";
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_EQ(edit->bodyColor(), edit->color());
    // A left press opens it.
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, onEdit({40, 10}));
    EXPECT_EQ(drops, 1);
}

} // namespace
