#include "language.h"

#include "controls/application.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace vq::bank {

bool userReadsChinese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value.startsWith(QLatin1String("zh"));
    }
    return QLocale::system().language() == QLocale::Chinese;
}

void installToolLanguage() {
    if (userReadsChinese()) {
        vq::installQtTranslations();
        return;
    }
    auto* english = new QTranslator(QCoreApplication::instance());
    if (english->load(QStringLiteral(":/translations/velquo-bank_en.qm")))
        QCoreApplication::installTranslator(english);
    else
        delete english;
}

} // namespace vq::bank
