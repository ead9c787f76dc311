#include "app/screenpixels.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace vq {
namespace {

double g_fontScale = 1.0;

} // namespace

void keepScreenPixels() {
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    g_fontScale = ok && factor > 0 ? factor : 1.0;
    // Read by Qt when the application object is made; a scale of its own for every screen, or
    // for each one, would scale the windows again.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", QByteArrayLiteral("0"));
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
}

double fontScale() {
    return g_fontScale;
}

} // namespace vq
