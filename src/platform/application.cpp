#include "platform/application.h"

#include "platform/guard.h"

#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vq {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    installFontSubstitutes();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

QTranslator* installQtTranslations() {
    auto* app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

void installFontSubstitutes() {
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"),
                             QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                             QStringLiteral("SimHei")};
    QFont::insertSubstitutions(QStringLiteral("黑体"), cjk);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), cjk);
    // The dialog font, 8 points: of the installed sans fonts, DejaVu Sans Condensed comes
    // closest, with the same 13-pixel line and an average letter width of about 6 pixels at
    // that size, so the captions and notes fit the places the dialog was laid out for
    // (DejaVu Sans is a seventh wider, Nimbus Sans two pixels taller). Chinese text falls
    // back to the CJK font at the end of the list.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arial"), QStringLiteral("WenQuanYi Zen Hei")});
}

} // namespace vq
