#include "controls/rzcoloredit.h"
#include "controls/rzcolorpicker_testing.h"
#include "controls/rzcustomcolors.h"
#include "controls/rzpopup_testing.h"
#include "support/input.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using vq::test::drag;
using vq::test::hover;
using vq::test::mouse;
using vq::test::press;
using vq::test::release;

QRgb rgbOf(TColor c) {
    return ColorToQColor(c).rgb();
}

void leave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

// Processes events until the condition holds or two seconds have gone by.
bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

struct RunnerScope {
    explicit RunnerScope(TRzColorPicker::ColorDialogRunner runner) {
        vq::setColorDialogRunner(std::move(runner));
    }
    ~RunnerScope() { vq::setColorDialogRunner({}); }
};

// The window colour (white on a default desktop scheme) set for the tests that rely on it.
struct WindowColourScope {
    QPalette saved = QApplication::palette();
    explicit WindowColourScope(const QColor& window = Qt::white) {
        QPalette p = saved;
        p.setColor(QPalette::Base, window);
        QApplication::setPalette(p);
    }
    ~WindowColourScope() { QApplication::setPalette(saved); }
};

struct PickerFixture : ::testing::Test {
    QWidget form;
    TRzColorPicker* picker = new TRzColorPicker(&form);
    int changes = 0;
    int clicks = 0;
    void SetUp() override {
        form.resize(400, 400);
        picker->move(10, 10);
        picker->setLook(TRzLook::Classic);
        QFont f = picker->font();
        f.setPixelSize(12); // row height 24
        picker->setFont(f);
        QObject::connect(picker, &TRzColorPicker::changed, [&] { ++changes; });
        QObject::connect(picker, &TRzColorPicker::clicked, [&] { ++clicks; });
    }
    // Centre of standard cell k in the classic grid with no top rows.
    static QPoint cell(int k) { return {4 + 18 * (k % 8) + 9, 4 + 18 * (k / 8) + 9}; }
    void showOptions() {
        picker->setShowNoColor(true);
        picker->setShowDefaultColor(true);
        picker->setShowCustomColor(true);
        picker->setShowSystemColors(true);
    }
    QImage image() const { return picker->grab().toImage(); }
    // Number of pixels of a colour inside a rectangle of the image.
    static int count(const QImage& img, const QRect& r, TColor c) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += img.pixel(x, y) == rgbOf(c);
        return n;
    }
};

// ---- size and layout -------------------------------------------------------------------------

TEST_F(PickerFixture, SizeInBothLooksAndWithEachOptionalRow) {
    EXPECT_EQ(picker->size(), QSize(152, 98));
    EXPECT_EQ(picker->innerRect(), QRect(4, 4, 144, 90));
    EXPECT_EQ(picker->cellRect(0), QRect(4, 4, 18, 18));
    EXPECT_EQ(picker->cellRect(39), QRect(130, 76, 18, 18));
    picker->setLook(TRzLook::Themed);
    EXPECT_EQ(picker->size(), QSize(150, 96));
    EXPECT_EQ(picker->cellRect(9), QRect(21, 21, 18, 18));
    picker->setLook(TRzLook::Classic);

    picker->setShowNoColor(true);
    EXPECT_EQ(picker->height(), 98 + 25);
    picker->setShowDefaultColor(true);
    EXPECT_EQ(picker->height(), 98 + 50);
    picker->setShowCustomColor(true);
    EXPECT_EQ(picker->height(), 98 + 74);
    picker->setShowSystemColors(true);
    EXPECT_EQ(picker->size(), QSize(152, 98 + 74 + 80));
    // Cells keep their 18 pixels with everything shown; the grid starts below the top rows.
    EXPECT_EQ(picker->cellRect(0), QRect(4, 54, 18, 18));
    EXPECT_EQ(picker->cellRect(40), QRect(4, 152, 18, 18));
    EXPECT_EQ(picker->cellRect(69), QRect(94, 206, 18, 18));
    picker->setShowNoColor(false);
    picker->setShowDefaultColor(false);
    picker->setShowCustomColor(false);
    EXPECT_EQ(picker->size(), QSize(152, 178));
    picker->setLook(TRzLook::Themed);
    EXPECT_EQ(picker->size(), QSize(150, 176));
    // A bigger font makes taller rows.
    picker->setShowCustomColor(true);
    QFont f = picker->font();
    f.setPixelSize(20);
    picker->setFont(f);
    EXPECT_EQ(picker->height(), 176 + 32);
}

TEST_F(PickerFixture, HitTestGivesTheRowCodes) {
    showOptions();
    // Frame and outside: nothing.
    EXPECT_EQ(picker->codeAt({1, 1}), TRzColorPicker::kNoColor);
    EXPECT_EQ(picker->codeAt({3, 60}), TRzColorPicker::kNoColor);
    EXPECT_EQ(picker->codeAt({300, 300}), TRzColorPicker::kNoColor);
    // No-colour row (RH + 1 = 25 pixels), then the default row, swatch included.
    EXPECT_EQ(picker->codeAt({10, 4}), TRzColorPicker::kNoColor);
    EXPECT_EQ(picker->codeAt({10, 28}), TRzColorPicker::kNoColor);
    EXPECT_EQ(picker->codeAt({10, 29}), TRzColorPicker::kDefaultColor);
    EXPECT_EQ(picker->codeAt({140, 53}), TRzColorPicker::kDefaultColor);
    EXPECT_EQ(picker->codeAt({10, 54}), 0);
    EXPECT_EQ(picker->codeAt({147, 143}), 39);
    // Separator band, system cells, the empty pair after the last one.
    EXPECT_EQ(picker->codeAt({10, 144}), TRzColorPicker::kDeadZone);
    EXPECT_EQ(picker->codeAt({10, 151}), TRzColorPicker::kDeadZone);
    EXPECT_EQ(picker->codeAt({10, 152}), 40);
    EXPECT_EQ(picker->codeAt({103, 215}), 69);
    EXPECT_EQ(picker->codeAt({121, 215}), TRzColorPicker::kDeadZone);
    EXPECT_EQ(picker->codeAt({147, 223}), TRzColorPicker::kDeadZone);
    // More-colours row: caption left, custom swatch in the rightmost 24 pixels.
    EXPECT_EQ(picker->codeAt({10, 224}), TRzColorPicker::kMoreColors);
    EXPECT_EQ(picker->codeAt({123, 247}), TRzColorPicker::kMoreColors);
    EXPECT_EQ(picker->codeAt({124, 247}), TRzColorPicker::kCustomSwatch);
    EXPECT_EQ(picker->codeAt({147, 224}), TRzColorPicker::kCustomSwatch);
    EXPECT_EQ(picker->codeAt({148, 224}), TRzColorPicker::kNoColor); // frame band
}

TEST(PickerTable, SystemEntriesSkipNumber25AndCarryTheirNames) {
    EXPECT_EQ(TRzColorPicker::paletteColor(40), clScrollBar);
    EXPECT_EQ(TRzColorPicker::paletteColor(64), clInfoBk);
    EXPECT_EQ(TRzColorPicker::paletteColor(65), clHotLight);
    EXPECT_EQ(TRzColorPicker::paletteColor(69), clMenuBar);
    EXPECT_EQ(TRzColorPicker::colorName(65), "Hot Light");
    EXPECT_EQ(TRzColorPicker::colorName(69), "Menu Bar");
    EXPECT_EQ(TRzColorPicker::colorName(36), "Light Turquoise");
    EXPECT_EQ(TRzColorPicker::paletteColor(25), 0x0000CCFF); // Gold
    EXPECT_EQ(TRzColorPicker::paletteColor(70), clNone);
    EXPECT_EQ(TRzColorPicker::paletteColor(-1), clNone);
}

// ---- painting --------------------------------------------------------------------------------

TEST_F(PickerFixture, ClassicFrameSwatchesAndWindowRing) {
    const QImage img = image();
    EXPECT_EQ(img.pixel(0, 0), rgbOf(clBtnShadow));
    EXPECT_EQ(img.pixel(0, 96), rgbOf(clBtnShadow));
    EXPECT_EQ(img.pixel(0, 97), rgbOf(clBtnHighlight)); // bottom line owns the corner
    EXPECT_EQ(img.pixel(151, 0), rgbOf(clBtnHighlight));
    EXPECT_EQ(img.pixel(1, 1), rgbOf(cl3DDkShadow));
    EXPECT_EQ(img.pixel(150, 96), rgbOf(cl3DLight));
    EXPECT_EQ(img.pixel(2, 50), rgbOf(clWindow));
    EXPECT_EQ(img.pixel(3, 3), rgbOf(clWindow));
    // Cell 9 (Orange) at (22, 22): window ring, one-pixel shadow edge, 10 x 10 swatch.
    EXPECT_EQ(img.pixel(22, 22), rgbOf(clWindow));
    EXPECT_EQ(img.pixel(24, 24), rgbOf(clWindow));
    EXPECT_EQ(img.pixel(25, 25), rgbOf(clBtnShadow));
    EXPECT_EQ(img.pixel(36, 36), rgbOf(clBtnShadow));
    EXPECT_EQ(count(img, QRect(26, 26, 10, 10), 0x000066FF), 100);
    EXPECT_EQ(img.pixel(37, 37), rgbOf(clWindow));
}

TEST_F(PickerFixture, ClassicSelectedAndHighlightedCells) {
    picker->setSelectedColor(0x000066FF); // Orange, cell 9 at (22, 22)
    hover(picker, cell(12));              // Teal, cell 12 at (76, 22)
    ASSERT_EQ(picker->selectedIndex(), 9);
    ASSERT_EQ(picker->highlightedIndex(), 12);
    const QImage img = image();
    // Selected: highlight box along the inside edge, window inside it, swatch untouched.
    for (const QPoint p :
         {QPoint(22, 22), QPoint(39, 22), QPoint(22, 39), QPoint(39, 39), QPoint(30, 22)})
        EXPECT_EQ(img.pixel(p), rgbOf(clHighlight)) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(23, 23), rgbOf(clWindow));
    EXPECT_EQ(img.pixel(24, 30), rgbOf(clWindow));
    EXPECT_EQ(img.pixel(25, 25), rgbOf(clBtnShadow));
    EXPECT_EQ(count(img, QRect(26, 26, 10, 10), 0x000066FF), 100);
    // Highlighted: shadow box and a button-face ring, the swatch still on top.
    for (const QPoint p : {QPoint(76, 22), QPoint(93, 22), QPoint(76, 39), QPoint(93, 39)})
        EXPECT_EQ(img.pixel(p), rgbOf(clBtnShadow)) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(77, 23), rgbOf(clBtnFace));
    EXPECT_EQ(img.pixel(78, 30), rgbOf(clBtnFace));
    EXPECT_EQ(img.pixel(79, 25), rgbOf(clBtnShadow));
    EXPECT_EQ(count(img, QRect(80, 26, 10, 10), 0x00808000), 100);
    // Nothing else marked.
    EXPECT_EQ(count(img, QRect(4, 4, 144, 90), clHighlight), 4 * 17);
    // Marking the highlighted cell as selected shows the selected look only.
    press(picker, cell(12));
    const QImage again = image();
    EXPECT_EQ(again.pixel(76, 22), rgbOf(clHighlight));
    EXPECT_EQ(again.pixel(77, 23), rgbOf(clWindow));
    EXPECT_EQ(again.pixel(22, 22), rgbOf(clWindow));
}

TEST_F(PickerFixture, ThemedMarksDrawSomethingAndKeepTheSwatch) {
    picker->setLook(TRzLook::Themed);
    const QImage plain = image();
    // Themed: one-pixel frame then the window band; cell 9 now at (21, 21).
    EXPECT_EQ(plain.pixel(1, 48), rgbOf(clWindow));
    EXPECT_NE(plain.pixel(0, 48), rgbOf(clWindow));
    const QRect ring(21, 21, 18, 18);
    EXPECT_EQ(count(plain, ring, clWindow), 18 * 18 - 12 * 12);
    picker->setSelectedColor(0x000066FF);
    const QImage selected = image();
    EXPECT_LT(count(selected, ring, clWindow), 18 * 18 - 12 * 12);
    EXPECT_EQ(count(selected, QRect(25, 25, 10, 10), 0x000066FF), 100);
    hover(picker, QPoint(21 + 18 * 3 + 9, 30)); // cell 12
    const QImage hot = image();
    const QRect ring12(75, 21, 18, 18);
    EXPECT_LT(count(hot, ring12, clWindow), 18 * 18 - 12 * 12);
    EXPECT_EQ(count(hot, QRect(79, 25, 10, 10), 0x00808000), 100);
}

TEST_F(PickerFixture, DefaultRowMarkCoversItsSwatch) {
    picker->setShowDefaultColor(true);
    picker->setDefaultColor(clRed);
    picker->setSelectedColor(clRed);
    ASSERT_EQ(picker->selectedIndex(), TRzColorPicker::kDefaultColor);
    const QImage img = image();
    const QRect row = picker->cellRect(TRzColorPicker::kDefaultColor);
    ASSERT_EQ(row, QRect(4, 4, 144, 25));
    EXPECT_EQ(img.pixel(row.topLeft()), rgbOf(clHighlight));
    EXPECT_EQ(img.pixel(row.bottomRight()), rgbOf(clHighlight));
    EXPECT_EQ(img.pixel(row.right() - 12, row.top() + 12), rgbOf(clRed)); // swatch centre
    EXPECT_EQ(count(img, QRect(128, 8, 16, 16), clRed), 16 * 16);
    EXPECT_EQ(picker->selectedColor(), clRed);
}

TEST_F(PickerFixture, UnmarkedCaptionRowsShowTheWindowRingAroundTheirBoxes) {
    showOptions();
    picker->setButtonColor(clBtnFace);
    picker->setSelectedColor(clBlack);
    const QImage img = image();
    // No-colour row (4, 4)-(147, 28), default row (4, 29)-(147, 53), more colours from y 224.
    for (const QPoint p :
         {QPoint(5, 5), QPoint(146, 27), QPoint(5, 30), QPoint(5, 225), QPoint(122, 246)})
        EXPECT_EQ(img.pixel(p), rgbOf(clWindow)) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(7, 7), rgbOf(clBtnShadow)); // caption box edge
    EXPECT_EQ(img.pixel(9, 9), rgbOf(clBtnFace));   // its face
    EXPECT_EQ(img.pixel(7, 227), rgbOf(clBtnShadow));
    // The separator line 4 pixels below the standard grid, 3 pixels in from the left.
    EXPECT_EQ(img.pixel(7, 54 + 90 + 4), rgbOf(clBtnShadow));
    EXPECT_EQ(img.pixel(6, 54 + 90 + 4), rgbOf(clWindow));
}

// ---- initial mark and the colour of the selection --------------------------------------------

TEST_F(PickerFixture, InitialMarkOfStandardColours) {
    picker->setSelectedColor(clBlack);
    EXPECT_EQ(picker->selectedIndex(), 0);
    picker->setSelectedColor(0x00C0C0C0);
    EXPECT_EQ(picker->selectedIndex(), 31);
    EXPECT_EQ(TRzColorPicker::colorName(31), "Gray 25%");
    picker->setSelectedColor(clNone);
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kNoColor);
    EXPECT_EQ(picker->selectedColor(), clNone);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(clicks, 0);
    picker->setSelectedColor(clNone); // same code: no event
    EXPECT_EQ(changes, 3);
}

TEST_F(PickerFixture, SystemWindowColourMarksWhiteOrWindow) {
    WindowColourScope white;
    picker->setSelectedColor(clWindow);
    EXPECT_EQ(picker->selectedIndex(), 39);
    // Picked as it stands, it comes back as the plain entry.
    EXPECT_EQ(picker->selectedColor(), clWhite);
    picker->setShowSystemColors(true);
    picker->setSelectedColor(clWindow);
    EXPECT_EQ(picker->selectedIndex(), 45);
    EXPECT_EQ(picker->selectedColor(), clWindow);
    EXPECT_EQ(TRzColorPicker::colorName(45), "Window");
    // Plain white still marks the standard entry: the system match is exact only.
    picker->setSelectedColor(clWhite);
    EXPECT_EQ(picker->selectedIndex(), 39);
    EXPECT_EQ(clicks, 0);
}

TEST_F(PickerFixture, ColourOutsideThePaletteMarksNoCellAndBecomesTheCustomColour) {
    picker->setCustomColor(clWhite);
    picker->setSelectedColor(0x00123456);
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kCustomSwatch);
    EXPECT_EQ(picker->customColor(), 0x00123456);
    EXPECT_EQ(picker->selectedColor(), 0x00123456);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1); // selecting the custom swatch is a click
    const QImage img = image();
    EXPECT_EQ(count(img, picker->innerRect(), clHighlight), 0);
    EXPECT_EQ(count(img, picker->innerRect(), 0x00123456), 0);
    // Shown, the custom swatch carries the mark and the colour.
    picker->setShowCustomColor(true);
    const QImage shown = image();
    const QRect swatch = picker->cellRect(TRzColorPicker::kCustomSwatch);
    EXPECT_EQ(shown.pixel(swatch.topLeft()), rgbOf(clHighlight));
    EXPECT_EQ(shown.pixel(swatch.center()), rgbOf(0x00123456));
}

TEST_F(PickerFixture, DefaultRowWinsByRgbBeforeTheTable) {
    picker->setDefaultColor(clRed);
    picker->setSelectedColor(0x000000FF);
    EXPECT_EQ(picker->selectedIndex(), 16); // row hidden: the table's Red
    picker->setShowDefaultColor(true);
    picker->setSelectedColor(0x000000FF);
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kDefaultColor);
    picker->setDefaultColor(clHighlight);
    picker->setSelectedColor(ColorToRGB(clHighlight));
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kDefaultColor);
    EXPECT_EQ(picker->selectedColor(), clHighlight);
}

// ---- mouse -----------------------------------------------------------------------------------

TEST_F(PickerFixture, DragAcrossCellsAndReleaseInsideSelectsTheLast) {
    press(picker, cell(0));
    drag(picker, cell(9));
    drag(picker, cell(18));
    EXPECT_EQ(clicks, 0);
    release(picker, cell(18));
    EXPECT_EQ(picker->selectedIndex(), 18);
    EXPECT_EQ(picker->selectedColor(), 0x0000CC99);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PickerFixture, DragOutAndReleaseOutsideIsNoClick) {
    picker->setSelectedColor(clBlack);
    changes = 0;
    press(picker, cell(1));
    drag(picker, cell(2));
    drag(picker, QPoint(200, 50));
    release(picker, QPoint(200, 50));
    EXPECT_EQ(clicks, 0);
    // Off the palette nothing is marked, and nothing was chosen.
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kNoColor);
    // Dragged onto the frame and released there: no click either.
    press(picker, cell(2));
    drag(picker, QPoint(151, 50)); // on the frame
    release(picker, QPoint(151, 50));
    EXPECT_EQ(clicks, 0);
}

TEST_F(PickerFixture, PressOnTheFrameSelectsNothingWithoutClick) {
    picker->setSelectedColor(clBlack);
    press(picker, QPoint(1, 40));
    release(picker, QPoint(1, 40));
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kNoColor);
    EXPECT_EQ(clicks, 0);
    // A right press does nothing at all.
    mouse(picker, QEvent::MouseButtonPress, cell(5), Qt::RightButton, Qt::RightButton);
    mouse(picker, QEvent::MouseButtonRelease, cell(5), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kNoColor);
    EXPECT_EQ(clicks, 0);
}

TEST_F(PickerFixture, ClickingTheMarkedCellClicksWithoutChange) {
    picker->setSelectedColor(0x00C0C0C0);
    changes = 0;
    press(picker, cell(31));
    release(picker, cell(31));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(clicks, 1);
    // A release without a press of our own (the press went elsewhere) is no click.
    release(picker, cell(31));
    EXPECT_EQ(clicks, 1);
}

TEST_F(PickerFixture, DeadZoneNeitherTakesAPressNorADrag) {
    picker->setShowSystemColors(true);
    const QPoint band(40, 4 + 90 + 3);
    ASSERT_EQ(picker->codeAt(band), TRzColorPicker::kDeadZone);
    picker->setSelectedColor(clBlack);
    press(picker, band);
    EXPECT_EQ(picker->selectedIndex(), 0);
    release(picker, band);
    press(picker, cell(3));
    drag(picker, band);
    EXPECT_EQ(picker->selectedIndex(), 3);
    release(picker, band);
    EXPECT_EQ(picker->selectedColor(), 0x00003300); // the last real cell, never "no colour"
    // An empty cell after the last system colour is dead as well.
    const QPoint empty(4 + 18 * 7 + 9, 4 + 98 + 18 * 3 + 9);
    ASSERT_EQ(picker->codeAt(empty), TRzColorPicker::kDeadZone);
    press(picker, cell(4));
    drag(picker, empty);
    EXPECT_EQ(picker->selectedIndex(), 4);
}

TEST_F(PickerFixture, HoverRepaintsOnlyWhenTheHighlightChanges) {
    form.show();
    int paints = 0;
    struct Counter : QObject {
        int* n;
        explicit Counter(int* c) : n(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                ++*n;
            return false;
        }
    } counter(&paints);
    picker->setShowColorHints(false);
    ASSERT_TRUE(waitFor([&] {
        return picker->isVisible() && form.windowHandle() && form.windowHandle()->isExposed();
    }));
    QApplication::processEvents();
    picker->installEventFilter(&counter);
    hover(picker, cell(3));
    QApplication::processEvents();
    const int first = paints;
    EXPECT_GE(first, 1);
    hover(picker, cell(3) + QPoint(3, 2));
    hover(picker, cell(3) - QPoint(4, 4));
    QApplication::processEvents();
    EXPECT_EQ(paints, first);
    hover(picker, QPoint(1, 1)); // frame: highlight becomes "nothing"
    QApplication::processEvents();
    EXPECT_GT(paints, first);
    const int onFrame = paints;
    hover(picker, QPoint(0, 2));
    QApplication::processEvents();
    EXPECT_EQ(paints, onFrame);
    picker->removeEventFilter(&counter);
}

// ---- more colours ----------------------------------------------------------------------------

TEST_F(PickerFixture, MoreColoursOkChoosesTheCustomSwatchAndItsReleaseIsNoClick) {
    TRzCustomColors custom;
    custom.setColor(0, 0x00336699);
    picker->setShowCustomColor(true);
    picker->setCustomColors(&custom);
    picker->setColorDlgOptions(QColorDialog::NoButtons);
    picker->setSelectedColor(0x000066FF);
    changes = 0;
    QColor initial;
    QColor firstSlot;
    QColorDialog::ColorDialogOptions options;
    int runs = 0;
    RunnerScope runner([&](QWidget*, const QColor& start,
                           QColorDialog::ColorDialogOptions o) -> std::optional<QColor> {
        ++runs;
        initial = start;
        options = o;
        firstSlot = QColorDialog::customColor(0);
        QColorDialog::setCustomColor(1, QColor(0xAB, 0xCD, 0xEF));
        return QColor(0x12, 0x34, 0x56);
    });
    const QPoint more(20, picker->height() - 10);
    ASSERT_EQ(picker->codeAt(more), TRzColorPicker::kMoreColors);
    press(picker, more);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(initial, QColor(0xFF, 0x66, 0x00));
    EXPECT_EQ(firstSlot, QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(options, QColorDialog::NoButtons);
    EXPECT_EQ(picker->customColor(), 0x00563412);
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kCustomSwatch);
    EXPECT_EQ(picker->selectedColor(), 0x00563412);
    EXPECT_EQ(custom.colors().at(1), "ColorB=EFCDAB");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    // The dialog took that press: no drag selection and no click come of it afterwards.
    drag(picker, cell(0));
    EXPECT_EQ(picker->selectedIndex(), TRzColorPicker::kCustomSwatch);
    release(picker, more);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PickerFixture, MoreColoursCancelChangesNothing) {
    picker->setShowCustomColor(true);
    picker->setCustomColor(clWhite);
    picker->setSelectedColor(clBlack);
    changes = 0;
    hover(picker, QPoint(20, picker->height() - 10));
    RunnerScope runner(
        [&](QWidget*, const QColor&, QColorDialog::ColorDialogOptions) -> std::optional<QColor> {
            EXPECT_EQ(picker->highlightedIndex(), TRzColorPicker::kNoHighlight);
            return std::nullopt;
        });
    press(picker, QPoint(20, picker->height() - 10));
    release(picker, QPoint(20, picker->height() - 10));
    EXPECT_EQ(picker->selectedIndex(), 0);
    EXPECT_EQ(picker->customColor(), clWhite);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(clicks, 0);
}

TEST(ColorEditMoreColours, OkClosesThePaletteAsAChoiceWithTheDialogsColour) {
    QWidget form;
    form.resize(400, 300);
    auto* edit = new TRzColorEdit(&form);
    edit->setLook(TRzLook::Classic);
    edit->setShowCustomColor(true);
    edit->setColorDlgOptions(QColorDialog::ShowAlphaChannel);
    edit->setSelectedColor(clBlack);
    form.show();
    int changes = 0;
    QObject::connect(edit, &TRzColorEdit::OnChange, [&] { ++changes; });
    QColorDialog::ColorDialogOptions seen;
    RunnerScope runner(
        [&](QWidget*, const QColor&, QColorDialog::ColorDialogOptions o) -> std::optional<QColor> {
            seen = o;
            return QColor(0x10, 0x20, 0x30);
        });
    vq::PopupShownHook hook([&](TRzPopupPanel&, TRzPopup& w) {
        auto* picker = w.findChild<TRzColorPicker*>();
        ASSERT_NE(picker, nullptr);
        const QPoint more(20, picker->height() - 10);
        ASSERT_EQ(picker->codeAt(more), TRzColorPicker::kMoreColors);
        press(picker, more);
        release(picker, more);
    });
    edit->dropDown();
    EXPECT_EQ(seen, QColorDialog::ShowAlphaChannel);
    EXPECT_EQ(edit->selectedColor(), 0x00302010);
    EXPECT_EQ(edit->customColor(), 0x00302010);
    EXPECT_EQ(changes, 1);
}

TEST(ColorEditDrag, ReleaseOutsideThePaletteKeepsItOpenAndTheColour) {
    QWidget form;
    form.resize(400, 300);
    auto* edit = new TRzColorEdit(&form);
    edit->setLook(TRzLook::Classic);
    edit->setSelectedColor(0x00C0C0C0);
    form.show();
    int changes = 0;
    QObject::connect(edit, &TRzColorEdit::OnChange, [&] { ++changes; });
    bool openAfterRelease = false;
    vq::PopupShownHook hook([&](TRzPopupPanel& panel, TRzPopup& w) {
        auto* picker = w.findChild<TRzColorPicker*>();
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->selectedIndex(), 31);
        press(picker, PickerFixture::cell(0));
        drag(picker, PickerFixture::cell(9));
        drag(picker, QPoint(-40, 200));
        release(picker, QPoint(-40, 200));
        openAfterRelease = panel.isPoppedUp();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&w, &esc);
    });
    edit->dropDown();
    EXPECT_TRUE(openAfterRelease);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(edit->selectedColor(), 0x00C0C0C0);
}

// ---- hints -----------------------------------------------------------------------------------

struct HintFixture : PickerFixture {
    void SetUp() override {
        PickerFixture::SetUp();
        form.show();
        form.activateWindow();
        active =
            waitFor([] { return QGuiApplication::applicationState() == Qt::ApplicationActive; });
    }
    bool active = false;
};

TEST_F(HintFixture, HintShowsTheNameAtTheCellsBottomLeftPlusFourTwelve) {
    ASSERT_TRUE(active);
    hover(picker, cell(36));
    ASSERT_TRUE(picker->hintVisible());
    EXPECT_EQ(picker->hintText(), "Light Turquoise");
    // Cell 36 spans (76, 76) to (93, 93): its bottom-left corner is (76, 94).
    EXPECT_EQ(picker->hintPosition(), picker->mapToGlobal(QPoint(76, 94)) + QPoint(4, 12));
    hover(picker, cell(0));
    EXPECT_EQ(picker->hintText(), "Black");
    EXPECT_EQ(picker->hintPosition(), picker->mapToGlobal(QPoint(4, 22)) + QPoint(4, 12));
    // The frame hides it; leaving hides it and clears the highlight.
    hover(picker, QPoint(2, 2));
    EXPECT_FALSE(picker->hintVisible());
    hover(picker, cell(36));
    EXPECT_TRUE(picker->hintVisible());
    leave(picker);
    EXPECT_FALSE(picker->hintVisible());
    EXPECT_EQ(picker->highlightedIndex(), TRzColorPicker::kNoHighlight);
}

TEST_F(HintFixture, SystemCellsHaveHintsRowsAndHiddenHintsDoNot) {
    ASSERT_TRUE(active);
    showOptions();
    hover(picker, picker->cellRect(45).center());
    EXPECT_EQ(picker->hintText(), "Window");
    hover(picker, picker->cellRect(TRzColorPicker::kCustomSwatch).center());
    EXPECT_FALSE(picker->hintVisible());
    hover(picker, picker->cellRect(TRzColorPicker::kDefaultColor).center());
    EXPECT_FALSE(picker->hintVisible());
    picker->setShowColorHints(false);
    hover(picker, picker->cellRect(3).center());
    EXPECT_FALSE(picker->hintVisible());
    EXPECT_EQ(picker->highlightedIndex(), 3);
}

TEST_F(HintFixture, EnteringOverACellShowsItsHint) {
    ASSERT_TRUE(active);
    QEnterEvent e(QPointF(cell(13)), QPointF(cell(13)), picker->mapToGlobal(QPointF(cell(13))));
    QApplication::sendEvent(picker, &e);
    EXPECT_EQ(picker->hintText(), "Blue");
}

// ---- custom colours --------------------------------------------------------------------------

TEST(CustomColors, SixteenWhiteSlotsToStartWith) {
    TRzCustomColors c;
    ASSERT_EQ(c.colors().size(), 16);
    EXPECT_EQ(c.colors().first(), "ColorA=FFFFFF");
    EXPECT_EQ(c.colors().last(), "ColorP=FFFFFF");
}

TEST(CustomColors, AssignedValuesAreNormalisedToSixUpperCaseDigits) {
    TRzCustomColors c;
    c.setColors({"ColorA=ff", "ColorB=abcdef", "ColorC=12FFEEDD", "colord=00000000000000123456",
                 "ColorE= 1a2b3c ", "ColorF=xyz", "ColorG=", "Junk=123456", "ColorH"});
    const QStringList& v = c.colors();
    ASSERT_EQ(v.size(), 16);
    EXPECT_EQ(v[0], "ColorA=0000FF");
    EXPECT_EQ(v[1], "ColorB=ABCDEF");
    EXPECT_EQ(v[2], "ColorC=FFEEDD"); // low 24 bits
    EXPECT_EQ(v[3], "ColorD=123456");
    EXPECT_EQ(v[4], "ColorE=1A2B3C");
    EXPECT_EQ(v[5], "ColorF=FFFFFF"); // unreadable
    EXPECT_EQ(v[6], "ColorG=FFFFFF");
    EXPECT_EQ(v[7], "ColorH=FFFFFF");
    EXPECT_EQ(v[15], "ColorP=FFFFFF");
    EXPECT_EQ(c.color(0), 0x0000FF);
    EXPECT_EQ(c.color(2), 0xFFEEDD);
    // Order of the list does not matter, each slot finds its own name.
    c.setColors({"ColorP=000001", "ColorA=000002"});
    EXPECT_EQ(c.colors()[0], "ColorA=000002");
    EXPECT_EQ(c.colors()[15], "ColorP=000001");
    EXPECT_EQ(c.colors()[1], "ColorB=FFFFFF");
}

TEST(CustomColors, SettingASlotStoresItsPlainColour) {
    WindowColourScope window(QColor(0x10, 0x20, 0x30));
    TRzCustomColors c;
    c.setColor(3, clWindow);
    EXPECT_EQ(c.colors()[3], "ColorD=302010");
    c.setColor(4, 0x00010203);
    EXPECT_EQ(c.colors()[4], "ColorE=010203");
    c.setColor(16, clBlack); // no such slot
    c.setColor(-1, clBlack);
    EXPECT_EQ(c.colors().size(), 16);
    EXPECT_EQ(c.color(99), 0xFFFFFF);
}

} // namespace
