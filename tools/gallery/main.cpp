// velquo-gallery: the settings dialog's custom controls (spinner, colour edit, palette grid)
// in the classic and the themed look side by side, so they can be looked at rather than read
// about. Not installed.
//
//   velquo-gallery                    shows the window
//   velquo-gallery --render out.png   renders it, with one palette dropped down per look, into
//                                     out.png and exits (works under QT_QPA_PLATFORM=offscreen)
#include "controls/application.h"
#include "controls/rzcoloredit.h"
#include "controls/rzcolorpicker.h"
#include "controls/rzpopup_testing.h"
#include "controls/rzspinner.h"

#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextStream>
#include <QWidget>

namespace {

constexpr TRzLook kLooks[2] = {TRzLook::Classic, TRzLook::Themed};

QLabel* heading(const QString& text) {
    auto* label = new QLabel(text);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QLabel* rowLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// One grabbed top-level or child window and where it goes in the picture.
struct Overlay {
    QPoint at;
    QImage image;
};

void addRowHeadings(QGridLayout* grid) {
    grid->addWidget(heading(QStringLiteral("Classic")), 0, 1);
    grid->addWidget(heading(QStringLiteral("Themed")), 0, 2);
    grid->addWidget(rowLabel(QStringLiteral("TRzSpinner")), 1, 0);
    grid->addWidget(rowLabel(QStringLiteral("TRzColorEdit, clNone")), 2, 0);
    grid->addWidget(rowLabel(QStringLiteral("TRzColorEdit, Red")), 3, 0);
    grid->addWidget(rowLabel(QStringLiteral("TRzColorEdit, dropped down")), 4, 0,
                    Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(rowLabel(QStringLiteral("TRzColorPicker")), 6, 0,
                    Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(rowLabel(QStringLiteral("TRzColorPicker, all rows")), 7, 0,
                    Qt::AlignRight | Qt::AlignTop);
}

// The two pickers of one look: the plain grid, and every optional row shown.
void addPickers(QWidget& window, QGridLayout* grid, int column) {
    const TRzLook look = kLooks[column];
    auto* picker = new TRzColorPicker(&window);
    picker->setLook(look);
    picker->setSelectedColor(0x00C0C0C0); // Gray 25%
    picker->setFixedSize(picker->size());
    grid->addWidget(picker, 6, column + 1, Qt::AlignLeft | Qt::AlignTop);

    auto* full = new TRzColorPicker(&window);
    full->setLook(look);
    full->setShowNoColor(true);
    full->setShowDefaultColor(true);
    full->setShowCustomColor(true);
    full->setShowSystemColors(true);
    full->setDefaultColor(clHighlight);
    full->setCustomColor(0x00336699);
    full->setSelectedColor(clWindowText); // marks "Window Text"
    full->setFixedSize(full->size());
    grid->addWidget(full, 7, column + 1, Qt::AlignLeft | Qt::AlignTop);
}

// One look's column of controls; returns the colour edit whose palette a render drops down.
TRzColorEdit* addColumn(QWidget& window, QGridLayout* grid, int column) {
    const TRzLook look = kLooks[column];
    auto* spinner = new TRzSpinner(&window);
    spinner->setThemeAware(look == TRzLook::Themed);
    spinner->setMax(500);
    spinner->setValue(42);
    spinner->setFixedSize(spinner->sizeHint());
    grid->addWidget(spinner, 1, column + 1, Qt::AlignLeft);

    const TColor closed[2] = {clNone, clRed};
    for (int i = 0; i < 2; ++i) {
        auto* edit = new TRzColorEdit(&window);
        edit->setLook(look);
        edit->setSelectedColor(closed[i]);
        edit->setFixedSize(edit->sizeHint());
        grid->addWidget(edit, 2 + i, column + 1);
    }

    auto* dropped = new TRzColorEdit(&window);
    dropped->setLook(look);
    dropped->setSelectedColor(0x00FF6633); // Light Blue
    dropped->setFixedSize(dropped->sizeHint());
    grid->addWidget(dropped, 4, column + 1);
    addPickers(window, grid, column);
    return dropped;
}

// Drops the edit's palette and grabs the edit, the popup and (classic) a hint where they stand
// on the screen: a popup and a hint are windows of their own, which the main window's grab
// leaves out.
QList<Overlay> droppedDownGrabs(QWidget& window, TRzColorEdit* edit, int column) {
    QList<Overlay> overlays;
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    const vq::PopupShownHook hook([&](TRzPopupPanel& panel, TRzPopup& popup) {
        QApplication::processEvents();
        auto* picker = popup.findChild<TRzColorPicker*>();
        if (picker && column == 0) {
            // Hover "Light Turquoise" for its highlight and its hint.
            const QPointF at = picker->cellRect(36).center();
            QMouseEvent move(QEvent::MouseMove, at, picker->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(picker, &move);
        }
        overlays.append({edit->mapTo(&window, QPoint(0, 0)), edit->grab().toImage()});
        overlays.append({popup.pos() - origin, popup.grab().toImage()});
        if (picker && picker->hintVisible())
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->windowType() == Qt::ToolTip &&
                    w->pos() == picker->hintPosition())
                    overlays.append({w->pos() - origin, w->grab().toImage()});
        panel.dismiss();
    });
    edit->dropDown();
    return overlays;
}

// The window's picture with each look's palette dropped down laid over it.
int render(QWidget& window, TRzColorEdit* const (&dropped)[2], const QString& output) {
    QApplication::processEvents();
    QList<Overlay> overlays;
    for (int column = 0; column < 2; ++column)
        overlays += droppedDownGrabs(window, dropped[column], column);
    QImage picture = window.grab().toImage();
    {
        QPainter p(&picture);
        for (const Overlay& o : overlays)
            p.drawImage(o.at, o.image);
    }
    if (!picture.save(output)) {
        QTextStream(stderr) << "velquo-gallery: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    vq::Application app(argc, argv);
    QString output;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--render") && i + 1 < args.size()) {
            output = args[++i];
        } else {
            QTextStream(stderr) << "usage: velquo-gallery [--render <file.png>]\n";
            return 2;
        }
    }
    // The themed column follows the platform style; the spinner takes the application-wide
    // look, so it is set here for this program only.
    vq::setDefaultLook(TRzLook::Themed);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Velquo controls"));
    window.setAutoFillBackground(true);
    auto* grid = new QGridLayout(&window);
    grid->setContentsMargins(16, 12, 16, 16);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(8);
    addRowHeadings(grid);
    TRzColorEdit* dropped[2] = {};
    for (int column = 0; column < 2; ++column)
        dropped[column] = addColumn(window, grid, column);
    // Room below the dropped-down edits for their palettes (palette plus the popup frame) and
    // the hint under the palette's bottom row.
    grid->setRowMinimumHeight(5, 98 + 2 * TRzPopupPanel::frameWidth() + 26);

    window.move(0, 0);
    window.adjustSize();
    // The window keeps the focus itself, so both columns show their controls' resting look.
    window.setFocusPolicy(Qt::StrongFocus);
    window.setFocus();
    window.show();
    if (output.isEmpty())
        return QApplication::exec();
    return render(window, dropped, output);
}
