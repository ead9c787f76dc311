#pragma once

#include <QColor>

#include <cstdint>

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

constexpr bool isSystemColor(TColor c) { return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0xFF000000u; }

// The plain 0x00BBGGRR value of a colour; system colours resolved through the application
// palette (classic desktop values where the palette has no matching role).
TColor ColorToRGB(TColor color);
// The same as a QColor; clNone gives an invalid QColor (transparent).
QColor ColorToQColor(TColor color);
// A plain colour from a QColor (alpha ignored).
TColor QColorToColor(const QColor& color);
