#include "controls/rzcommon.h"

#include <QGuiApplication>
#include <QPalette>

#include <optional>

namespace {

constexpr TColor rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// Classic desktop values of the system colours, by index.
constexpr TColor kClassicSystemColors[31] = {
    rgb(200, 200, 200), rgb(0, 0, 0),       rgb(10, 36, 106),   rgb(128, 128, 128),
    rgb(212, 208, 200), rgb(255, 255, 255), rgb(0, 0, 0),       rgb(0, 0, 0),
    rgb(0, 0, 0),       rgb(255, 255, 255), rgb(212, 208, 200), rgb(212, 208, 200),
    rgb(128, 128, 128), rgb(10, 36, 106),   rgb(255, 255, 255), rgb(212, 208, 200),
    rgb(128, 128, 128), rgb(128, 128, 128), rgb(0, 0, 0),       rgb(212, 208, 200),
    rgb(255, 255, 255), rgb(64, 64, 64),    rgb(212, 208, 200), rgb(0, 0, 0),
    rgb(255, 255, 225), rgb(181, 181, 181), rgb(0, 0, 128),     rgb(166, 202, 240),
    rgb(192, 192, 192), rgb(49, 106, 197),  rgb(236, 233, 216),
};

std::optional<QPalette::ColorRole> paletteRole(int index) {
    switch (index) {
    case 5: return QPalette::Base;          // window
    case 8: return QPalette::Text;          // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;       // button face
    case 16: return QPalette::Dark;         // button shadow
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;        // button highlight
    case 21: return QPalette::Shadow;       // 3D dark shadow
    case 22: return QPalette::Midlight;     // 3D light
    case 23: return QPalette::ToolTipText;  // info text
    case 24: return QPalette::ToolTipBase;  // info background
    default: return std::nullopt;
    }
}

} // namespace

TColor QColorToColor(const QColor& color) { return rgb(color.red(), color.green(), color.blue()); }

TColor ColorToRGB(TColor color) {
    if (!isSystemColor(color))
        return color & 0x00FFFFFF;
    const int index = color & 0xFF;
    if (const auto role = paletteRole(index); role && qGuiApp)
        return QColorToColor(QGuiApplication::palette().color(QPalette::Active, *role));
    if (index >= 0 && index < 31)
        return kClassicSystemColors[index];
    return 0;
}

QColor ColorToQColor(TColor color) {
    if (color == clNone)
        return QColor();
    const TColor c = ColorToRGB(color);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
