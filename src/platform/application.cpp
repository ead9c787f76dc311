#include "platform/application.h"

#include "platform/guard.h"

#include <QFont>
#include <QFontDatabase>

namespace vq {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    installFontSubstitutes();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
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
