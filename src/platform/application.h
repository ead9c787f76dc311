#pragma once

#include <QApplication>

namespace vq {

// The application object. Handlers guard themselves (guard.h); this is the last net for a
// failure that escapes any event anyway, so that the show never stops in front of an audience.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Maps the designed font names ("黑体", "MS Sans Serif") to installed fonts.
void installFontSubstitutes();

} // namespace vq
