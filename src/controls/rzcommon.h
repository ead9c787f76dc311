#pragma once

#include <QColor>
#include <QPoint>

#include <cstdint>

class QWidget;

// Colour values as the framework keeps them: a plain colour is 0x00BBGGRR (red in the lowest
// byte), a system colour 0xFF0000nn (nn the system-colour index, negative as a signed number),
// and clNone 0x1FFFFFFF means no colour.
using TColor = std::int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor systemColor(int index) {
    return static_cast<TColor>(0xFF000000u | static_cast<std::uint32_t>(index));
}
inline constexpr TColor clScrollBar = systemColor(0);
inline constexpr TColor clBackground = systemColor(1);
inline constexpr TColor clActiveCaption = systemColor(2);
inline constexpr TColor clInactiveCaption = systemColor(3);
inline constexpr TColor clMenu = systemColor(4);
inline constexpr TColor clWindow = systemColor(5);
inline constexpr TColor clWindowFrame = systemColor(6);
inline constexpr TColor clMenuText = systemColor(7);
inline constexpr TColor clWindowText = systemColor(8);
inline constexpr TColor clCaptionText = systemColor(9);
inline constexpr TColor clActiveBorder = systemColor(10);
inline constexpr TColor clInactiveBorder = systemColor(11);
inline constexpr TColor clAppWorkSpace = systemColor(12);
inline constexpr TColor clHighlight = systemColor(13);
inline constexpr TColor clHighlightText = systemColor(14);
inline constexpr TColor clBtnFace = systemColor(15);
inline constexpr TColor clBtnShadow = systemColor(16);
inline constexpr TColor clGrayText = systemColor(17);
inline constexpr TColor clBtnText = systemColor(18);
inline constexpr TColor clInactiveCaptionText = systemColor(19);
inline constexpr TColor clBtnHighlight = systemColor(20);
inline constexpr TColor cl3DDkShadow = systemColor(21);
inline constexpr TColor cl3DLight = systemColor(22);
inline constexpr TColor clInfoText = systemColor(23);
inline constexpr TColor clInfoBk = systemColor(24);
inline constexpr TColor clHotLight = systemColor(26);
inline constexpr TColor clGradientActiveCaption = systemColor(27);
inline constexpr TColor clGradientInactiveCaption = systemColor(28);
inline constexpr TColor clMenuHighlight = systemColor(29);
inline constexpr TColor clMenuBar = systemColor(30);

constexpr bool isSystemColor(TColor c) {
    return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u;
}

// The plain 0x00BBGGRR value of a colour; system colours resolved through the application
// palette (classic desktop values where the palette has no matching role).
TColor ColorToRGB(TColor color);
// The same as a QColor; clNone gives an invalid QColor (transparent).
QColor ColorToQColor(TColor color);
// A plain colour from a QColor (alpha ignored).
TColor QColorToColor(const QColor& color);

// Hue, saturation and lightness on the 0..240 scale of the platform's colour dialog. Values
// outside 0..240 are allowed on the way back (HslLighten can go to 255); they saturate there.
struct THsl {
    int h = 0;
    int s = 0;
    int l = 0;
    bool operator==(const THsl&) const = default;
};

// HSL of a colour, system colours resolved to RGB first.
THsl RgbToHsl(TColor color);
// Plain colour of an HSL triple. The hue is scaled by 239, not 240, as the rest of the
// controls' drawing expects, so hue 240 lands a little past red.
TColor HslToRgb(int h, int s, int l);
inline TColor HslToRgb(const THsl& hsl) {
    return HslToRgb(hsl.h, hsl.s, hsl.l);
}
// The colour with its lightness lowered by n (floor 0).
TColor HslDarken(TColor color, int n);
// The colour with its lightness raised by n (cap 255, so above 240 the result saturates).
TColor HslLighten(TColor color, int n);
// True when the two colours are close in hue (< 20) and lightness (< 60).
bool HslNear(TColor a, TColor b);

// Drawing style of the custom-drawn controls: Classic is the controls' own pixel-exact
// painting, Themed what the current QStyle draws for the corresponding parts. Default follows
// the application-wide choice.
enum class TRzLook { Default, Classic, Themed };
namespace vq {
// The application-wide look that controls set to TRzLook::Default use (Themed at start).
TRzLook defaultLook();
void setDefaultLook(TRzLook look);
// Classic or Themed: the look a control with the given setting draws in.
TRzLook resolvedLook(TRzLook look);

// A look property's setter: stores the value and repaints the control, only when it changed.
template <class Control, class T> void setAndRepaint(Control& control, T& field, const T& value) {
    if (field == value)
        return;
    field = value;
    control.update();
}

// Where a control really is on the screen, and where the pointer is over it, as the display
// server answers: a window manager's move of the control's window may not have reached the
// toolkit yet (a dialog the manager placed after mapping it), and a place worked out from the
// toolkit's record would then be off by the move.
QPoint screenTopLeft(const QWidget& control);
QPoint pointerOver(const QWidget& control);
} // namespace vq
