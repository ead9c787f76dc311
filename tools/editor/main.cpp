// velquo-bank-editor: the question-bank editor ("题库编辑").
#include "editorwindow.h"

#include "controls/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The check lays questions out in the presenter's fonts, found as the presenter finds them.
    vq::installFontSubstitutes();
    QApplication::setOrganizationName(QStringLiteral("Velquo"));
    QApplication::setApplicationName(QStringLiteral("velquo-bank-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("题库编辑"));
    QApplication::setDesktopFileName(QStringLiteral("org.velquo.Velquo.BankEditor"));
    // The menu entry's drawing, rendered (packaging/org.velquo.Velquo.BankEditor.svg).
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/editor/velquo-bank-editor.png")));
    // Qt's own Chinese texts for the standard buttons and the file dialogs.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    vq::editor::EditorWindow window(vq::sounds());
    window.show();
    const QStringList args = QApplication::arguments().mid(1);
    if (!args.isEmpty())
        window.openFile(args.front());
    return QApplication::exec();
}
