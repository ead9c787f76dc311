// Shows the spinner, the colour edit and the palette grid in the classic and the themed look.
// With "--png <file>" it renders the window into that file and exits.
#include "controls/rzcoloredit.h"
#include "controls/rzcolorpicker.h"
#include "controls/rzspinner.h"
#include "platform/application.h"

#include <QGridLayout>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    vq::Application app(argc, argv);
    QString png;
    const QStringList args = QCoreApplication::arguments();
    if (const qsizetype i = args.indexOf(QStringLiteral("--png")); i >= 0 && i + 1 < args.size())
        png = args[i + 1];

    QWidget window;
    window.setWindowTitle(QStringLiteral("Velquo controls"));
    auto* grid = new QGridLayout(&window);
    const TRzLook looks[2] = {TRzLook::Classic, TRzLook::Themed};
    for (int column = 0; column < 2; ++column) {
        const TRzLook look = looks[column];
        grid->addWidget(new QLabel(column == 0 ? QStringLiteral("Classic")
                                               : QStringLiteral("Themed")),
                        0, column);
        auto* spinner = new TRzSpinner(&window);
        spinner->setThemeAware(look == TRzLook::Themed);
        spinner->setValue(42);
        spinner->setFixedSize(spinner->sizeHint());
        grid->addWidget(spinner, 1, column);
        auto* none = new TRzColorEdit(&window);
        none->setLook(look);
        none->setFixedSize(none->sizeHint());
        grid->addWidget(none, 2, column);
        auto* red = new TRzColorEdit(&window);
        red->setLook(look);
        red->setSelectedColor(clRed);
        red->setFixedSize(red->sizeHint());
        grid->addWidget(red, 3, column);
        auto* picker = new TRzColorPicker(&window);
        picker->setLook(look);
        picker->setSelectedColor(0x00FF6633);
        picker->setFixedSize(picker->size());
        grid->addWidget(picker, 4, column, Qt::AlignLeft | Qt::AlignTop);
    }
    window.show();
    if (!png.isEmpty()) {
        window.adjustSize();
        return window.grab().save(png) ? 0 : 1;
    }
    return QApplication::exec();
}
