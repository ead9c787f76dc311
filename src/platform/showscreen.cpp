#include "platform/showscreen.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace vq {
namespace {

// Cleared by Qt itself when the screen goes away, so an unplugged screen falls back to the
// primary one.
QPointer<QScreen> g_showScreen;

} // namespace

QScreen* showScreen() {
    if (g_showScreen)
        return g_showScreen;
    return QGuiApplication::primaryScreen();
}

void setShowScreen(QScreen* screen) {
    g_showScreen = screen;
}

void centreOnShowScreen(QWidget& window) {
    QScreen* screen = showScreen();
    if (!screen)
        return;
    QRect r = window.frameGeometry();
    r.moveCenter(screen->geometry().center());
    window.move(r.topLeft());
}

} // namespace vq
