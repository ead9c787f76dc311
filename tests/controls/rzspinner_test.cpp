#include "controls/rzspinner.h"
#include "support/input.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

using namespace vq::test;

// A spinner whose pointer position the test sets (the repeat tick reads it).
class ProbeSpinner : public TRzSpinner {
public:
    using TRzSpinner::TRzSpinner;
    QPoint pointer;

protected:
    QPoint pointerPosition() const override { return pointer; }
};

class SpinnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_look = vq::defaultLook();
        TRzSpinner::setVisualStylesActive(false);
    }
    void TearDown() override { vq::setDefaultLook(m_look); }
    TRzLook m_look = TRzLook::Themed;
};

QRgb rgbOf(TColor c) {
    return ColorToQColor(c).rgb();
}

bool showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    QElapsedTimer t;
    t.start();
    while (!w.isActiveWindow() && t.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return w.isActiveWindow();
}

struct Recorder {
    QList<int> changing, inc, dec;
    int changes = 0;
    bool allow = true;
    void attach(TRzSpinner& s) {
        QObject::connect(&s, &TRzSpinner::OnChanging, [this](int v, bool* ok) {
            changing << v;
            *ok = allow;
        });
        QObject::connect(&s, &TRzSpinner::OnChange, [this] { ++changes; });
        QObject::connect(&s, &TRzSpinner::OnIncrement, [this](int a) { inc << a; });
        QObject::connect(&s, &TRzSpinner::OnDecrement, [this](int a) { dec << a; });
    }
};

} // namespace

// ---- range rule and stepping events ----------------------------------------------------------

TEST_F(SpinnerTest, RangeRuleClampsToMaxAndMinAndLetsEverythingPassOnlyWhenMinEqualsMaxUnchecked) {
    TRzSpinner s;
    EXPECT_EQ(s.value(), 0);
    EXPECT_EQ(s.max(), 100);
    s.setMax(500);
    s.setValue(600);
    EXPECT_EQ(s.value(), 500);
    s.setValue(-3);
    EXPECT_EQ(s.value(), 0);

    TRzSpinner open;
    open.setMax(0);
    open.setValue(123456);
    EXPECT_EQ(open.value(), 123456);
    open.setValue(-7);
    open.DecValue(5);
    EXPECT_EQ(open.value(), -12);
    open.setCheckRange(true); // re-applies the rule at once
    EXPECT_EQ(open.value(), 0);
    open.IncValue(3);
    EXPECT_EQ(open.value(), 0);
}

TEST_F(SpinnerTest, StepReportsRequestedAmountAndStopsAtBoundWithoutEventsThere) {
    TRzSpinner s;
    s.setIncrement(10);
    s.setMax(2000);
    s.setValue(1995);
    Recorder r;
    r.attach(s);
    s.IncValue(s.increment());
    EXPECT_EQ(s.value(), 2000);
    EXPECT_EQ(r.inc, QList<int>{10});
    s.IncValue(10); // at the bound: nothing changes, nothing fires
    EXPECT_EQ(r.inc, QList<int>{10});
    EXPECT_EQ(r.changes, 1);

    TRzSpinner low;
    Recorder lr;
    lr.attach(low);
    press(&low, {5, 10});
    release(&low, {5, 10});
    EXPECT_EQ(low.value(), 0);
    EXPECT_TRUE(lr.dec.isEmpty());
    EXPECT_TRUE(lr.changing.isEmpty());
}

TEST_F(SpinnerTest, BoundSettersDragTheOtherBoundAndClampValueWithEvents) {
    TRzSpinner s;
    s.setValue(80);
    Recorder r;
    r.attach(s);
    s.setMax(50);
    EXPECT_EQ(s.value(), 50);
    EXPECT_EQ(r.changing, QList<int>{50});
    EXPECT_EQ(r.changes, 1);
    s.setMin(70); // Max follows; with Min = Max unchecked the value passes as it is
    EXPECT_EQ(s.max(), 70);
    EXPECT_EQ(s.value(), 50);
    s.setMax(100);
    EXPECT_EQ(s.value(), 70);
    s.setMax(10); // Min follows down
    EXPECT_EQ(s.min(), 10);
    s.setCheckRange(true);
    EXPECT_EQ(s.value(), 10);
}

TEST_F(SpinnerTest, ChangingVetoLeavesValueDisplayAndStepEventsUntouched) {
    TRzSpinner s;
    s.setValue(5);
    const QImage before = render(s);
    Recorder r;
    r.allow = false;
    r.attach(s);
    s.IncValue(1);
    s.setValue(9);
    EXPECT_EQ(s.value(), 5);
    EXPECT_EQ(r.changing, (QList<int>{6, 9}));
    EXPECT_EQ(r.changes, 0);
    EXPECT_TRUE(r.inc.isEmpty());
    EXPECT_EQ(render(s), before);
}

TEST_F(SpinnerTest, StepsNearIntegerLimitsSaturate) {
    TRzSpinner s;
    s.setMin(0);
    s.setMax(0);
    s.setValue(std::numeric_limits<int>::max() - 1);
    s.IncValue(10);
    EXPECT_EQ(s.value(), std::numeric_limits<int>::max());
}

// ---- mouse, wheel, keys ------------------------------------------------------------------------

TEST_F(SpinnerTest, HoldingMinusThenSlidingOntoPlusRepeatsByTheZoneUnderThePointer) {
    ProbeSpinner s;
    s.setValue(50);
    EXPECT_EQ(s.repeatTimer(), nullptr);
    press(&s, {5, 10});
    ASSERT_NE(s.repeatTimer(), nullptr);
    EXPECT_TRUE(s.repeatTimer()->isActive());
    EXPECT_EQ(s.repeatTimer()->interval(), 400);
    EXPECT_TRUE(s.isButtonDown(TRzSpinner::Button::Minus));
    EXPECT_EQ(s.value(), 50); // the press itself does not step

    s.pointer = {5, 10};
    s.repeatTick();
    EXPECT_EQ(s.repeatTimer()->interval(), 100);
    EXPECT_EQ(s.value(), 49);
    s.pointer = {40, 10}; // over the value: ticks do nothing
    s.repeatTick();
    EXPECT_EQ(s.value(), 49);
    s.pointer = {80, 10};
    s.repeatTick();
    s.repeatTick();
    EXPECT_EQ(s.value(), 51);
    release(&s, {80, 10});
    EXPECT_EQ(s.value(), 52);
    EXPECT_FALSE(s.repeatTimer()->isActive());
    EXPECT_FALSE(s.isButtonDown(TRzSpinner::Button::Minus));

    // A press on the value cell released over plus steps once.
    press(&s, {40, 10});
    release(&s, {80, 10});
    EXPECT_EQ(s.value(), 53);
}

TEST_F(SpinnerTest, FailingStepStopsTheRepeatAndTheRelease) {
    ProbeSpinner s;
    QObject::connect(&s, &TRzSpinner::OnChange, [] { throw std::runtime_error("boom"); });
    press(&s, {80, 10});
    s.pointer = {80, 10};
    EXPECT_THROW(s.repeatTick(), std::runtime_error);
    EXPECT_FALSE(s.repeatTimer()->isActive());
}

TEST_F(SpinnerTest, WheelStepsPerNotchWithPageSizeUnderCtrl) {
    TRzSpinner s;
    s.setValue(50);
    wheel(&s, {40, 10}, 120);
    EXPECT_EQ(s.value(), 51);
    wheel(&s, {40, 10}, -240);
    EXPECT_EQ(s.value(), 49);
    wheel(&s, {40, 10}, 120, Qt::ControlModifier);
    EXPECT_EQ(s.value(), 59);
    wheel(&s, {40, 10}, -120, Qt::ControlModifier);
    EXPECT_EQ(s.value(), 49);
    wheel(&s, {40, 10}, 60); // half a notch waits for the other half
    EXPECT_EQ(s.value(), 49);
    wheel(&s, {40, 10}, 60);
    EXPECT_EQ(s.value(), 50);
}

TEST_F(SpinnerTest, KeysStepByIncrementAndPageSizeOthersDoNothing) {
    TRzSpinner s;
    s.setValue(50);
    keyPress(&s, Qt::Key_Up);
    keyPress(&s, Qt::Key_Right, Qt::ShiftModifier);
    keyPress(&s, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(s.value(), 53);
    keyPress(&s, Qt::Key_Down);
    keyPress(&s, Qt::Key_Left, Qt::ControlModifier);
    keyPress(&s, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(s.value(), 50);
    keyPress(&s, Qt::Key_PageUp);
    EXPECT_EQ(s.value(), 60);
    keyPress(&s, Qt::Key_PageDown);
    keyPress(&s, Qt::Key_PageDown);
    EXPECT_EQ(s.value(), 40);
    keyPress(&s, Qt::Key_Plus); // the character key, not the keypad one
    keyPress(&s, Qt::Key_Home);
    keyPress(&s, Qt::Key_End);
    keyPress(&s, Qt::Key_5);
    EXPECT_EQ(s.value(), 40);
}

// The page size and the button width the dialog leaves at their defaults: Page Up and Down
// step by the page size set; wider buttons are drawn wider, the value between them; the minus
// button shows the picture its index names.
TEST_F(SpinnerTest, PageSizeButtonWidthAndMinusPictureTakeEffect) {
    TRzSpinner s;
    s.setValue(50);
    s.setPageSize(25);
    keyPress(&s, Qt::Key_PageUp);
    EXPECT_EQ(s.value(), 75);
    keyPress(&s, Qt::Key_PageDown);
    keyPress(&s, Qt::Key_PageDown);
    EXPECT_EQ(s.value(), 25);

    const QRect narrow = s.buttonFace(TRzSpinner::Button::Minus);
    const QImage before = render(s);
    s.setButtonWidth(narrow.width() + 12);
    const QRect wide = s.buttonFace(TRzSpinner::Button::Minus);
    EXPECT_GT(wide.width(), narrow.width());
    const QImage after = render(s);
    const QPoint inWideOnly(narrow.right() + 4, narrow.center().y());
    ASSERT_TRUE(wide.contains(inWideOnly));
    EXPECT_NE(after.pixel(inWideOnly), before.pixel(inWideOnly));
    EXPECT_EQ(after.pixel(inWideOnly), after.pixel(wide.center().x(), wide.top() + 2));

    QPixmap red(20, 24), green(20, 24);
    red.fill(Qt::red);
    green.fill(Qt::green);
    s.setImages({red, green});
    s.setImageIndexMinus(1);
    const QImage pictured = render(s);
    EXPECT_EQ(pictured.pixel(s.buttonFace(TRzSpinner::Button::Minus).center()), qRgb(0, 255, 0));
}

TEST_F(SpinnerTest, EnterMovesFocusOnOnlyWithTabOnEnter) {
    QWidget form;
    auto* a = new TRzSpinner(&form);
    auto* b = new TRzSpinner(&form);
    b->move(0, 30);
    ASSERT_TRUE(showActive(form));
    a->setFocus();
    keyPress(a, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(a->hasFocus());
    a->setTabOnEnter(true);
    keyPress(a, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(b->hasFocus());
}

TEST_F(SpinnerTest, HexDisplayShowsThe32BitPatternAfterThePrefix) {
    TRzSpinner s;
    s.setMax(0);
    s.setValue(-1);
    s.setShowHexValue(true);
    EXPECT_EQ(s.displayText(), "$FFFFFFFF");
    s.setValue(255);
    s.setHexValuePrefix("0x");
    EXPECT_EQ(s.displayText(), "0xFF");
    const QImage hex = render(s);
    s.setShowHexValue(false);
    EXPECT_EQ(s.displayText(), "255");
    EXPECT_NE(render(s), hex);
}

// ---- classic look
// --------------------------------------------------------------------------------

TEST_F(SpinnerTest, ClassicFrameSeparatorsFacesAndArrowsOddHeight) {
    TRzSpinner s;
    s.setButtonColor(clSilver);
    s.setFrameColor(clRed);
    const QImage img = render(s);
    const QRgb frame = qRgb(255, 0, 0), white = rgbOf(clWindow), face = qRgb(192, 192, 192),
               black = qRgb(0, 0, 0);
    for (QPoint p : {QPoint(0, 0), QPoint(84, 0), QPoint(0, 20), QPoint(84, 20), QPoint(40, 0),
                     QPoint(40, 20)})
        EXPECT_EQ(img.pixel(p), frame) << p.x() << "," << p.y();
    for (int y = 1; y <= 19; ++y) {
        EXPECT_EQ(img.pixel(17, y), frame) << y;
        EXPECT_EQ(img.pixel(67, y), frame) << y;
    }
    EXPECT_EQ(img.pixel(18, 1), white); // value cell
    EXPECT_EQ(img.pixel(1, 1), white);  // face's inner box
    EXPECT_EQ(img.pixel(16, 19), white);
    EXPECT_EQ(img.pixel(2, 2), face);
    EXPECT_EQ(img.pixel(15, 18), face);
    // Minus: tip at (7,10), columns of 1,3,5,7 pixels.
    EXPECT_EQ(img.pixel(7, 10), black);
    EXPECT_EQ(img.pixel(7, 9), face);
    EXPECT_EQ(img.pixel(8, 9), black);
    EXPECT_EQ(img.pixel(8, 8), face);
    EXPECT_EQ(img.pixel(10, 7), black);
    EXPECT_EQ(img.pixel(10, 13), black);
    EXPECT_EQ(img.pixel(10, 6), face);
    EXPECT_EQ(img.pixel(11, 10), face);
    // Plus: 7 pixels at x 74, tip at (77,10).
    EXPECT_EQ(img.pixel(74, 7), black);
    EXPECT_EQ(img.pixel(74, 13), black);
    EXPECT_EQ(img.pixel(77, 10), black);
    EXPECT_EQ(img.pixel(77, 9), face);
    EXPECT_EQ(img.pixel(73, 10), face);
}

TEST_F(SpinnerTest, ClassicArrowEvenHeightSitsOneRowHigher) {
    TRzSpinner s;
    s.setButtonColor(clSilver);
    s.resize(85, 22); // face height 20
    const QImage img = render(s);
    EXPECT_EQ(img.pixel(10, 7), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(10, 13), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(10, 14), qRgb(192, 192, 192));
    EXPECT_EQ(img.pixel(7, 10), qRgb(0, 0, 0));
}

TEST_F(SpinnerTest, NearBlackButtonGetsTheDarkShadowArrow) {
    const QPalette saved = QApplication::palette();
    QPalette pal = saved;
    pal.setColor(QPalette::Shadow, QColor(90, 60, 30));
    QApplication::setPalette(pal);
    TRzSpinner s;
    s.setButtonColor(0x101010);
    const QImage img = render(s);
    QApplication::setPalette(saved);
    EXPECT_EQ(img.pixel(7, 10), qRgb(90, 60, 30));
    EXPECT_EQ(img.pixel(74, 7), qRgb(90, 60, 30));
    EXPECT_EQ(img.pixel(2, 2), qRgb(16, 16, 16));
}

TEST_F(SpinnerTest, HotAndDownFacesAndDisabledLook) {
    TRzSpinner s;
    s.setButtonColor(clSilver);
    hover(&s, {80, 10});
    EXPECT_TRUE(s.isButtonHot(TRzSpinner::Button::Plus));
    QImage img = render(s);
    EXPECT_EQ(img.pixel(69, 2), rgbOf(HslDarken(clSilver, 20)));
    EXPECT_EQ(img.pixel(70, 3), rgbOf(HslLighten(clSilver, 10)));
    EXPECT_EQ(img.pixel(2, 2), qRgb(192, 192, 192)); // minus not hot
    press(&s, {5, 10});
    img = render(s);
    EXPECT_EQ(img.pixel(2, 2), rgbOf(HslDarken(clSilver, 20)));
    release(&s, {5, 10});

    s.setEnabled(false);
    img = render(s);
    EXPECT_EQ(img.pixel(0, 0), rgbOf(clBtnShadow));
    EXPECT_EQ(img.pixel(18, 1), rgbOf(clBtnFace));
    EXPECT_EQ(img.pixel(7, 10), rgbOf(clBtnShadow));
}

TEST_F(SpinnerTest, ValueIsCentredAndClippedToTheValueCell) {
    TRzSpinner s;
    s.setButtonColor(clSilver);
    s.setMax(0);
    s.setValue(7);
    const QImage shortText = render(s);
    s.setShowHexValue(true);
    s.setHexValuePrefix(QString(40, QChar('W')));
    const QImage longText = render(s);
    const QRect cell = s.valueCell();
    bool leftInk = false, rightInk = false;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            if (!cell.contains(x, y)) {
                ASSERT_EQ(longText.pixel(x, y), shortText.pixel(x, y)) << x << "," << y;
            }
        }
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        leftInk |= longText.pixel(cell.left(), y) != rgbOf(clWindow) ||
                   longText.pixel(cell.left() + 1, y) != rgbOf(clWindow);
        rightInk |= longText.pixel(cell.right(), y) != rgbOf(clWindow) ||
                    longText.pixel(cell.right() - 1, y) != rgbOf(clWindow);
    }
    EXPECT_TRUE(leftInk);
    EXPECT_TRUE(rightInk);
    // The short value's ink lies around the centre column.
    bool centreInk = false;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = 38; x <= 46; ++x)
            centreInk |= shortText.pixel(x, y) != rgbOf(clWindow);
    EXPECT_TRUE(centreInk);
}

TEST_F(SpinnerTest, FocusRectangleIsDottedAndOnlyWhileFocused) {
    TRzSpinner s;
    s.setShowHexValue(true);
    s.setHexValuePrefix("");
    s.setValue(0);
    ASSERT_TRUE(showActive(s));
    s.setFocus();
    ASSERT_TRUE(s.hasFocus());
    QImage img = render(s);
    const QRgb white = rgbOf(clWindow), inverted = white ^ 0x00FFFFFF;
    EXPECT_EQ(img.pixel(19, 2), inverted);
    EXPECT_EQ(img.pixel(20, 2), white);
    EXPECT_EQ(img.pixel(21, 2), inverted);
    EXPECT_EQ(img.pixel(19, 3), white);
    EXPECT_EQ(img.pixel(19, 4), inverted);
    s.setShowFocusRect(false);
    img = render(s);
    EXPECT_EQ(img.pixel(19, 2), white);
}

TEST_F(SpinnerTest, PicturesWidenTheButtonsAndReplaceTheArrow) {
    TRzSpinner s;
    QPixmap pm(20, 24);
    pm.fill(Qt::green);
    s.setImages({pm});
    EXPECT_EQ(s.buttonWidth(), 24);
    EXPECT_EQ(s.height(), 28);
    s.setImageIndexPlus(0);
    const QImage img = render(s);
    const QRect plus = s.buttonFace(TRzSpinner::Button::Plus);
    EXPECT_EQ(img.pixel(plus.center()), qRgb(0, 255, 0));
    EXPECT_NE(img.pixel(s.buttonFace(TRzSpinner::Button::Minus).center()), qRgb(0, 255, 0));
}

// ---- themed look
// ---------------------------------------------------------------------------------

namespace {
class RecordingStyle : public QProxyStyle {
public:
    std::set<PrimitiveElement> drawn;
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* w) const override {
        const_cast<RecordingStyle*>(this)->drawn.insert(pe);
        QProxyStyle::drawPrimitive(pe, opt, p, w);
    }
};
} // namespace

TEST_F(SpinnerTest, ThemedLookDrawsTheStylePartsOnlyWhenThemeAwareAndActive) {
    TRzSpinner s;
    RecordingStyle style;
    s.setStyle(&style);
    const QImage classic = render(s);
    EXPECT_FALSE(style.drawn.count(QStyle::PE_PanelLineEdit));

    TRzSpinner::setVisualStylesActive(true);
    EXPECT_TRUE(s.usesThemedLook());
    const QImage themed = render(s);
    EXPECT_TRUE(style.drawn.count(QStyle::PE_PanelLineEdit));
    EXPECT_TRUE(style.drawn.count(QStyle::PE_PanelButtonBevel));
    EXPECT_TRUE(style.drawn.count(QStyle::PE_IndicatorArrowLeft));
    EXPECT_TRUE(style.drawn.count(QStyle::PE_IndicatorArrowRight));
    EXPECT_NE(themed, classic);
    EXPECT_EQ(themed.pixel(16, 5), rgbOf(clWindow)); // the window-coloured line inside minus

    s.setThemeAware(false);
    EXPECT_EQ(render(s), classic);
    s.setStyle(nullptr);
}

namespace {
class CountingSpinner : public TRzSpinner {
public:
    using TRzSpinner::TRzSpinner;
    int frames = 0;

protected:
    void DrawSpinnerFrame(QPainter& p) override {
        ++frames;
        TRzSpinner::DrawSpinnerFrame(p);
    }
};
} // namespace

TEST_F(SpinnerTest, HotTrackingRepaintsOnlyWhenTheZoneChanges) {
    CountingSpinner s;
    ASSERT_TRUE(showActive(s));
    QCoreApplication::processEvents();
    auto paintsAfter = [&](auto&& action) {
        const int before = s.frames;
        action();
        QCoreApplication::processEvents();
        return s.frames - before;
    };
    EXPECT_GT(paintsAfter([&] { hover(&s, {80, 10}); }), 0);
    EXPECT_EQ(s.lastHotZone(), TRzSpinner::Zone::Plus);
    EXPECT_EQ(paintsAfter([&] {
                  hover(&s, {81, 12});
                  hover(&s, {70, 3});
              }),
              0);
    EXPECT_GT(paintsAfter([&] { hover(&s, {40, 10}); }), 0);
    EXPECT_EQ(paintsAfter([&] { hover(&s, {45, 10}); }), 0);
    hover(&s, {5, 10});
    EXPECT_TRUE(s.isButtonHot(TRzSpinner::Button::Minus));
    QEvent leave(QEvent::Leave);
    EXPECT_GT(paintsAfter([&] { QCoreApplication::sendEvent(&s, &leave); }), 0);
    EXPECT_FALSE(s.isButtonHot(TRzSpinner::Button::Minus));
    EXPECT_EQ(s.lastHotZone(), TRzSpinner::Zone::None);
    EXPECT_EQ(paintsAfter([&] { QCoreApplication::sendEvent(&s, &leave); }), 0);
}
