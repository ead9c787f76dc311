#pragma once

#include <QApplication>
#include <QFont>
#include <QStringList>

class QTranslator;

namespace vq {

// The application object. Handlers guard themselves (guard.h); this is the last net for a
// failure that escapes any event anyway, so that the show never stops in front of an audience.
// It gives the program its message boxes (messages.h) and its font substitutes.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;
    bool notify(QObject* receiver, QEvent* event) override;
};

// Loads Qt's own Chinese texts (standard buttons such as 确定, 是, 否; the colour dialog) for
// the whole program, whatever the desktop's language: the interface is Chinese throughout.
// Returns the installed translator (owned by the application), or nullptr where Qt's
// translations are not installed, in which case Qt's English texts remain.
QTranslator* installQtTranslations();

// Maps the designed font names ("黑体", "MS Sans Serif") to installed fonts.
void installFontSubstitutes();

// The fonts a designed font name stands for, in the order Qt tries them: the name where that
// font is installed, then its installed substitutes; the name alone where none is installed.
// Widgets are given these names rather than the designed one: Qt tries the same fonts in the
// same order, but first asks fontconfig for two sorted fallback lists per script for each name
// that is not installed.
QStringList installedFamilies(const QString& designed);

// A font of the installed families a designed name stands for, otherwise the default font.
QFont installedFont(const QString& designed);

} // namespace vq
