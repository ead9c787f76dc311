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
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("Noto Sans SC"), QStringLiteral("SimHei")};
    QFont::insertSubstitutions(QStringLiteral("黑体"), cjk);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), cjk);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arial"), QStringLiteral("WenQuanYi Zen Hei")});
}

} // namespace vq
