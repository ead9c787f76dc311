#include "controls/rzcommon.h"

#include "platform/nativewindow.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPalette>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

constexpr TColor rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

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
    case 5:
        return QPalette::Base; // window
    case 8:
        return QPalette::Text; // window text
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15:
        return QPalette::Button; // button face
    case 16:
        return QPalette::Dark; // button shadow
    case 18:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light; // button highlight
    case 21:
        return QPalette::Shadow; // 3D dark shadow
    case 22:
        return QPalette::Midlight; // 3D light
    case 23:
        return QPalette::ToolTipText; // info text
    case 24:
        return QPalette::ToolTipBase; // info background
    default:
        return std::nullopt;
    }
}

} // namespace

TColor QColorToColor(const QColor& color) {
    return rgb(color.red(), color.green(), color.blue());
}

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

THsl RgbToHsl(TColor color) {
    const TColor c = ColorToRGB(color);
    const double r = (c & 0xFF) / 255.0;
    const double g = ((c >> 8) & 0xFF) / 255.0;
    const double b = ((c >> 16) & 0xFF) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0;
    double s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx)
            h = (g - b) / d;
        else if (g == mx)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    const auto scale = [](double v) { return static_cast<int>(std::lround(v * 240)); };
    return {scale(h), scale(s), scale(l)};
}

TColor HslToRgb(int h, int s, int l) {
    const double lf = l / 240.0;
    const double sf = s / 240.0;
    const double m2 = lf < 0.5 ? lf * (1 + sf) : lf + sf - lf * sf;
    if (m2 <= 0)
        return 0;
    const double h6 = h / 239.0 * 6;
    const int sextant = static_cast<int>(h6);
    const double f = h6 - sextant;
    const double m1 = 2 * lf - m2;
    const double up = m1 + (m2 - m1) * f;
    const double down = m2 - (m2 - m1) * f;
    double r = m2, g = up, b = m1;
    switch (sextant) {
    case 1:
        r = down;
        g = m2;
        b = m1;
        break;
    case 2:
        r = m1;
        g = m2;
        b = up;
        break;
    case 3:
        r = m1;
        g = down;
        b = m2;
        break;
    case 4:
        r = up;
        g = m1;
        b = m2;
        break;
    case 5:
        r = m2;
        g = m1;
        b = down;
        break;
    default:
        break;
    }
    // Capped at 1 as the lightness may exceed 240; also floored at 0 so an out-of-range
    // saturation can never wrap into a neighbouring colour byte.
    const auto byte = [](double v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    return rgb(byte(r), byte(g), byte(b));
}

TColor HslDarken(TColor color, int n) {
    THsl hsl = RgbToHsl(color);
    hsl.l = std::max(hsl.l - n, 0);
    return HslToRgb(hsl);
}

TColor HslLighten(TColor color, int n) {
    THsl hsl = RgbToHsl(color);
    hsl.l = std::min(hsl.l + n, 255);
    return HslToRgb(hsl);
}

bool HslNear(TColor a, TColor b) {
    const THsl ha = RgbToHsl(a);
    const THsl hb = RgbToHsl(b);
    return std::abs(ha.h - hb.h) < 20 && std::abs(ha.l - hb.l) < 60;
}

namespace {
TRzLook g_defaultLook = TRzLook::Themed;
}

namespace vq {

TRzLook defaultLook() {
    return g_defaultLook;
}

void setDefaultLook(TRzLook look) {
    g_defaultLook = look == TRzLook::Default ? TRzLook::Themed : look;
}

TRzLook resolvedLook(TRzLook look) {
    return look == TRzLook::Default ? g_defaultLook : look;
}

QPoint screenTopLeft(const QWidget& control) {
    const QWidget* top = control.window();
    if (const QWindow* w = top->windowHandle())
        return windowOrigin(*w) + control.mapTo(top, QPoint(0, 0));
    return control.mapToGlobal(QPoint(0, 0));
}

QPoint pointerOver(const QWidget& control) {
    const QWidget* top = control.window();
    if (const QWindow* w = top->windowHandle())
        return control.mapFrom(top, pointerInWindow(*w));
    return control.mapFromGlobal(QCursor::pos());
}

} // namespace vq
