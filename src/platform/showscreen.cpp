#include "platform/showscreen.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

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

} // namespace vq
