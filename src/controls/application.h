#pragma once

#include <QApplication>

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

} // namespace vq
